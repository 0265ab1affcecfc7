// calcest: static analysis of a continuous beam under one load case.
#include "calcest/phases.h"
#include "common/process_start.h"
#include "common/program_help.h"

namespace {
constexpr common::ProgramHelp kHelp{
    "calcest",
    "uso: calcest MODELO RESULTADOS CARGAS DIAGRAMA BARRAS 0\n"
    "An\xE1lisis est\xE1tico de una viga bajo un caso de carga: lee el modelo MODELO y las cargas\n"
    "CARGAS y escribe los resultados RESULTADOS, el diagrama DIAGRAMA, el registro de barras\n"
    "BARRAS (para calcdin), los ficheros auxiliares junto al modelo y los de traza en la\n"
    "carpeta actual, o en la que nombre la variable VIGAS_TRACES. El sexto dato es\n"
    "obligatorio: escriba 0.\n"};
}  // namespace

int main(int argc, char** argv) {
  common::hardenProcess();
  if (common::answeredHelpOrVersion(argc, argv, kHelp)) return 0;
  return common::runConsoleProgram(argc, argv, calcest::kCalcest);
}
