// calcest: static analysis of a continuous beam under one load case.
#include "calcest/phases.h"

int main(int argc, char** argv) { return common::runConsoleProgram(argc, argv, calcest::kCalcest); }
