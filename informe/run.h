#pragma once
// One run of informe: reads a project's files and writes its report page and
// pictures. Returns the exit status; prints its messages through the console.
#include <string>
#include <vector>

namespace informe {

// args: PROJECT [MODES_FILE] (the program name not included).
int runInforme(const std::vector<std::string>& args);

}  // namespace informe
