#pragma once
// One run of informe: reads a project's files and writes its report page and
// pictures.
#include "common/console_program.h"

namespace informe {

// Arguments: PROJECT [MODES_FILE].
extern const common::ConsoleProgram kInforme;

}  // namespace informe
