#include <malloc.h>

#include "envolventes/cli/batch.h"

int main(int argc, char** argv) {
  // Every project's tables are as large as the one's before: the memory of one
  // is taken again for the next, not given back to the system and zeroed anew.
  mallopt(M_MMAP_THRESHOLD, 32 << 20);
  mallopt(M_TRIM_THRESHOLD, 256 << 20);
  return common::runConsoleProgram(argc, argv, envelope::kBatch);
}
