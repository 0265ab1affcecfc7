#include <malloc.h>

#include "common/process_start.h"
#include "common/program_help.h"
#include "envolventes/cli/batch.h"

namespace {
constexpr common::ProgramHelp kHelp{
    "envolventes-batch",
    "uso: envolventes-batch NOMBRE ANCHO ALTO [PROYECTO...]\n"
    "Envolventes de hasta 50 proyectos calculados de una viga, sin pantalla: escribe\n"
    "NOMBRE.esf, NOMBRE.res, los guiones NOMBREd.scr, NOMBREm.scr y NOMBREc.scr y sus dibujos\n"
    "NOMBREd.svg, NOMBREm.svg y NOMBREc.svg. ANCHO de 300 a 20000 y ALTO de 200 a 2000 p\xEDxeles.\n"};
}  // namespace

int main(int argc, char** argv) {
  common::hardenProcess();
  if (common::answeredHelpOrVersion(argc, argv, kHelp)) return 0;
  // Every project's tables are as large as the one's before: the memory of one
  // is taken again for the next, not given back to the system and zeroed anew.
  // Pieces of a megabyte and more (the pictures' text) are mapped apart, so
  // that they grow without a copy.
  mallopt(M_MMAP_THRESHOLD, 1 << 20);
  mallopt(M_TRIM_THRESHOLD, 256 << 20);
  return common::runConsoleProgram(argc, argv, envelope::kBatch);
}
