// informe: the report of one analysed beam (model, diagrams, modes) as a page.
#include "informe/run.h"
#include "common/process_start.h"
#include "common/program_help.h"

namespace {
constexpr common::ProgramHelp kHelp{
    "informe",
    "uso: informe PROYECTO [FICHERO_DE_MODOS]\n"
    "Informe de un proyecto calculado: lee PROYECTO.dat, .caf, .res y .fmc (y los modos de\n"
    "calcdin, si se dan) y escribe la p\xE1gina PROYECTO.html con sus dibujos SVG.\n"};
}  // namespace

int main(int argc, char** argv) {
  common::hardenProcess();
  if (common::answeredHelpOrVersion(argc, argv, kHelp)) return 0;
  return common::runConsoleProgram(argc, argv, informe::kInforme);
}
