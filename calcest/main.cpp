// calcest: static analysis of a continuous beam under one load case.
#include <string>
#include <vector>

#include "calcest/phases.h"

using namespace common;

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  return calcest::runCalcest(args);
}
