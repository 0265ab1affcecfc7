#include "alternancias/run.h"

int main(int argc, char** argv) { return common::runConsoleProgram(argc, argv, alternancias::kAlternancias); }
