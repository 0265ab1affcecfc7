#include "common/console_program.h"

#include <cerrno>
#include <cstdio>
#include <new>
#include <stdexcept>

namespace common {

namespace {
int report(const RunError& error, Console& console) {
  console.write(error.text);
  if (error.waitForKey) console.waitKey();
  return error.status;
}

int outOfMemory(const ConsoleProgram& program, Console& console) {
  console.write(program.outOfMemory);
  return 1;
}
}  // namespace

int runConsoleProgram(const std::vector<std::string>& args, Console& console, const ConsoleProgram& program) {
  int status = 0;
  try {
    status = program.run(args, console);
  } catch (const RunError& error) {
    status = report(error, console);
  } catch (const std::bad_alloc&) {
    if (!program.outOfMemory) throw;
    status = outOfMemory(program, console);
  } catch (const std::length_error&) {
    if (!program.outOfMemory) throw;
    status = outOfMemory(program, console);
  }
  std::fflush(stdout);
  return status;
}

int runConsoleProgram(int argc, char** argv, const ConsoleProgram& program) {
  TerminalConsole console;
  int status = runConsoleProgram(std::vector<std::string>(argv + 1, argv + argc), console, program);
  // A console whose reader has gone is lost, and the run ends as it earned;
  // one that took no more (a full disk, /dev/full) is a failure to report.
  const int failure = finishConsole();
  if (failure != 0 && failure != EPIPE) {
    consoleWriteError("ERROR: NO SE PUDO ESCRIBIR EN LA SALIDA EST\xC1NDAR: SUS MENSAJES SE HAN PERDIDO\n");
    status = 1;
  }
  return status;
}

}  // namespace common
