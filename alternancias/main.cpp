#include "alternancias/run.h"
#include "common/process_start.h"
#include "common/program_help.h"

namespace {
constexpr common::ProgramHelp kHelp{
    "alternancias",
    "uso: alternancias NOMBRE MODELO.dat PERMANENTES.caf VARIABLES.caf [--gG 1.35] [--gGinf 1.0]\n"
    "                  [--gQ 1.5] [--ancho 3000] [--alto 400] [--casos]\n"
    "     alternancias --tabla PROYECTO...\n"
    "Envolvente exacta de las alternancias de la carga variable de una viga continua (la\n"
    "variable en cualquier conjunto de tramos): escribe NOMBRE.res, NOMBRE.esf, los guiones\n"
    "y dibujos NOMBREd/m/c.scr y .svg, e imprime los valores de c\xE1lculo. Con --tabla,\n"
    "las tablas de esfuerzos de proyectos que calcest ha calculado.\n"};
}  // namespace

int main(int argc, char** argv) {
  common::hardenProcess();
  if (common::answeredHelpOrVersion(argc, argv, kHelp)) return 0;
  return common::runConsoleProgram(argc, argv, alternancias::kAlternancias);
}
