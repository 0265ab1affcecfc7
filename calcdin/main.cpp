// calcdin: free vibrations of a beam model analysed by calcest.
#include "calcdin/driver.h"
#include "common/process_start.h"

int main(int argc, char** argv) {
  common::hardenProcess();
  return common::runConsoleProgram(argc, argv, calcdin::kCalcdin);
}
