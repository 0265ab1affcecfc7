#include "armado/run.h"
#include "common/process_start.h"
#include "common/program_help.h"

namespace {
constexpr common::ProgramHelp kHelp{
    "armado",
    "uso: armado NOMBRE MODELO.dat PERMANENTES.caf VARIABLES.caf [OPCIONES]\n"
    "Armado de una viga continua de hormig\xF3n (EN 1992-1-1 con los valores del c\xF3"
    "digo espa\xF1ol)\n"
    "desde la envolvente exacta de sus alternancias: escribe NOMBRE.arm, NOMBRE.des, el dibujo\n"
    "NOMBREa.svg y su guion NOMBREa.scr, e imprime las barras, los estribos y cada\n"
    "comprobaci\xF3n. Las opciones y sus valores por omisi\xF3n, en la ayuda de un error de uso.\n"};
}  // namespace

int main(int argc, char** argv) {
  common::hardenProcess();
  if (common::answeredHelpOrVersion(argc, argv, kHelp)) return 0;
  return common::runConsoleProgram(argc, argv, armado::kArmado);
}
