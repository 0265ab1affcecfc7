#include "armado/run.h"

int main(int argc, char** argv) { return common::runConsoleProgram(argc, argv, armado::kArmado); }
