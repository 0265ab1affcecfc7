#include "envolventes/cli/batch.h"

int main(int argc, char** argv) { return common::runConsoleProgram(argc, argv, envelope::kBatch); }
