#include "lanzador/launch_sequence.h"

#include <initializer_list>

#include "common/child_process.h"

namespace lanzador {

pid_t startProgram(const char* name) {
  // The child keeps none of the launcher's descriptors (its window has to
  // vanish when the launcher ends) nor the signal settings the GUI toolkit
  // made for itself.
  return common::startChild({{name}, "", nullptr});
}

void waitForProgram(pid_t pid) { common::waitForChild(pid); }

pid_t runPrograms() {
  for (const char* name : {kConnectionProgram, kLibraryUpdater}) {
    pid_t pid = startProgram(name);
    if (pid > 0) waitForProgram(pid);
  }
  return startProgram(kMainProgram);
}

}  // namespace lanzador
