// informe: the report of one analysed beam (model, diagrams, modes) as a page.
#include "informe/run.h"

int main(int argc, char** argv) { return common::runConsoleProgram(argc, argv, informe::kInforme); }
