// calcdin: free vibrations of a beam model analysed by calcest.
#include <cstdio>

#include "driver.h"
#include "modal_console.h"

int main(int argc, char** argv) {
  calcdin::TerminalConsole console;
  int status = calcdin::runCalcdin(argc, argv, console);
  std::fflush(stdout);
  return status;
}
