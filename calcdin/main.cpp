// calcdin: free vibrations of a beam model analysed by calcest.
#include "calcdin/driver.h"
#include "common/process_start.h"
#include "common/program_help.h"

namespace {
constexpr common::ProgramHelp kHelp{
    "calcdin",
    "uso: calcdin MODELO BARRAS MODOS OPCION\n"
    "Vibraciones libres de un modelo que calcest ha calculado: lee MODELO y el registro de\n"
    "barras BARRAS que calcest escribi\xF3 y escribe los modos en MODOS. OPCION: 0 sin las\n"
    "direcciones de los apoyos (quedan los muelles verticales), 2 sin ellas ni los muelles\n"
    "verticales, 1 estructura libre, -1 solo monta las matrices.\n"};
}  // namespace

int main(int argc, char** argv) {
  common::hardenProcess();
  if (common::answeredHelpOrVersion(argc, argv, kHelp)) return 0;
  return common::runConsoleProgram(argc, argv, calcdin::kCalcdin);
}
