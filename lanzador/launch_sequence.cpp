#include "lanzador/launch_sequence.h"

#include <unistd.h>

#include <filesystem>
#include <initializer_list>

#include "common/child_process.h"
#include "common/fellow_program.h"
#include "lanzador/texts.h"

namespace lanzador {

Options parseOptions(const std::vector<std::string>& args) {
  Options options;
  for (size_t k = 0; k + 1 < args.size(); ++k)
    if (args[k] == kMainProgramFlag) options.suiteMainProgram = args[k + 1];
  return options;
}

pid_t startProgram(const char* name) {
  // The child keeps none of the launcher's descriptors (its window has to
  // vanish when the launcher ends) nor the signal settings the GUI toolkit
  // made for itself.
  return common::startChild({{name}, "", nullptr, {}});
}

void waitForProgram(pid_t pid) { common::waitForChild(pid); }

pid_t runPrograms(const Options& options) {
  for (const char* name : {kConnectionProgram, kLibraryUpdater}) {
    pid_t pid = startProgram(name);
    if (pid > 0) waitForProgram(pid);
  }
  if (options.suiteMainProgram.empty()) return startProgram(kMainProgram);
  const std::string program = common::fellowProgram(options.suiteMainProgram);
  return program.empty() ? -1 : startProgram(program.c_str());
}

std::string configuredNote(const Options& options) {
  if (options.suiteMainProgram.empty()) return "";
  std::string note;
  std::error_code error;
  const std::string folder = std::filesystem::current_path(error).string();
  for (const char* name : {kConnectionProgram, kLibraryUpdater})
    if (access(name, X_OK) != 0) note += std::string("\n") + name + " no est\xE1 en " + folder + ": no se ejecuta.";
  const std::string program = common::fellowProgram(options.suiteMainProgram);
  note += "\nPrograma principal: " + (program.empty() ? options.suiteMainProgram : program) + ".";
  return "\n" + note;
}

std::string noticeText(const Options& options) {
  if (options.suiteMainProgram.empty()) return kNotice;
  const std::string program = common::fellowProgram(options.suiteMainProgram);
  const std::string why = program.empty() ? common::fellowNotFoundText() : "no se pudo ejecutar " + program;
  return "No se puede ejecutar " + options.suiteMainProgram + " (" + why + ")[Pulse File->Exit para continuar]";
}

}  // namespace lanzador
