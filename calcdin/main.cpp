// calcdin: free vibrations of a beam model analysed by calcest.
#include "calcdin/driver.h"

int main(int argc, char** argv) { return common::runConsoleProgram(argc, argv, calcdin::kCalcdin); }
