#pragma once
// alternancias NAME MODEL.dat PERMANENT.caf VARIABLE.caf [--gG F] [--gQ F]
//              [--ancho W] [--alto H]
//   writes one project per arrangement of the variable load (NAME_01 ...),
//   analyses each with calcest, writes each force table, builds the envelope
//   NAME and prints which arrangement governs each support and span.
// alternancias --tabla PROJECT...
//   writes the force table (.esf) of projects calcest has analysed, and a .car
//   where there is none.
#include <string>

#include "common/console_program.h"

namespace alternancias {

extern const common::ConsoleProgram kAlternancias;

// The calcest the program runs: the one beside its own executable, else the
// one of the build it comes from.
std::string calcestProgram();

}  // namespace alternancias
