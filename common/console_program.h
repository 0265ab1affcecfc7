#pragma once
// The one way a console program of the suite starts and ends: its run gets the
// arguments after the program's name and a console, and whatever ends the run
// early is reported here, in the program's own words.
#include <string>
#include <vector>

#include "common/console.h"

namespace common {

struct ConsoleProgram {
  // The run proper: returns the exit status of a run it ends itself, throws
  // RunError for whatever else ends it.
  int (*run)(const std::vector<std::string>& args, Console& console);
  // Printed, with status 1, when memory runs out (std::bad_alloc,
  // std::length_error). nullptr: the program has no words for it, and the
  // exception ends the process as it always did.
  const char* outOfMemory;
};

// Runs the program: a RunError prints its text, waits for a key when it asks
// for one and gives its status. Standard output is flushed before the status
// is returned.
int runConsoleProgram(const std::vector<std::string>& args, Console& console, const ConsoleProgram& program);

// The whole of a console program's main(): its arguments, the terminal.
int runConsoleProgram(int argc, char** argv, const ConsoleProgram& program);

}  // namespace common
