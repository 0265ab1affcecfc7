// informe: the report of one analysed beam (model, diagrams, modes) as a page.
#include "informe/run.h"
#include "common/process_start.h"

int main(int argc, char** argv) {
  common::hardenProcess();
  return common::runConsoleProgram(argc, argv, informe::kInforme);
}
