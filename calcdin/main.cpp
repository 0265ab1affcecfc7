// calcdin: free vibrations of a beam model analysed by calcest.
#include <cstdio>

#include "calcdin/driver.h"
#include "common/console.h"

using namespace common;

int main(int argc, char** argv) {
  TerminalConsole console;
  int status = calcdin::runCalcdin(argc, argv, console);
  std::fflush(stdout);
  return status;
}
