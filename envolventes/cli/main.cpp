#include <malloc.h>

#include "common/process_start.h"
#include "envolventes/cli/batch.h"

int main(int argc, char** argv) {
  common::hardenProcess();
  // Every project's tables are as large as the one's before: the memory of one
  // is taken again for the next, not given back to the system and zeroed anew.
  // Pieces of a megabyte and more (the pictures' text) are mapped apart, so
  // that they grow without a copy.
  mallopt(M_MMAP_THRESHOLD, 1 << 20);
  mallopt(M_TRIM_THRESHOLD, 256 << 20);
  return common::runConsoleProgram(argc, argv, envelope::kBatch);
}
