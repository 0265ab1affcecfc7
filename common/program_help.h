#pragma once
// --help and --version, alike on every program of the suite: asked as the
// first argument, the usage or the version goes to stdout and the program
// ends with status 0 before doing anything else (a window program needs no
// display for them). Any other command line is the program's own, usage
// errors included.
namespace common {

struct ProgramHelp {
  const char* name;   // the program's name, as installed
  const char* usage;  // what --help prints: usage lines first (Windows-1252)
};

// True when argv[1] is --help or --version and its answer was printed; the
// caller then returns 0.
bool answeredHelpOrVersion(int argc, char** argv, const ProgramHelp& help);

}  // namespace common
