#include "common/program_help.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "common/console.h"

namespace common {

bool answeredHelpOrVersion(int argc, char** argv, const ProgramHelp& help) {
  if (argc < 2) return false;
  if (std::strcmp(argv[1], "--help") == 0) {
    consoleWrite(help.usage);
    consoleWrite("  --help     muestra esta ayuda\n  --version  muestra la versi\xF3n\n");
    consoleWrite(std::string("M\xE1s en: man ") + help.name + "\n");
  } else if (std::strcmp(argv[1], "--version") == 0) {
    consoleWrite(std::string(help.name) + " (vigas) " VIGAS_VERSION "\n");
  } else {
    return false;
  }
  std::fflush(stdout);
  return true;
}

}  // namespace common
