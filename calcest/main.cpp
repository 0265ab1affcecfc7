// calcest: static analysis of a continuous beam under one load case.
#include "calcest/phases.h"
#include "common/process_start.h"

int main(int argc, char** argv) {
  common::hardenProcess();
  return common::runConsoleProgram(argc, argv, calcest::kCalcest);
}
