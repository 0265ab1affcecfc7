// Fuzz target: the project's .dat file, read by the envelope engine.
#include "common/file_names.h"
#include "fuzz/project_target.h"

using namespace common;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzzProjectFile(kModelExt, data, size);
  return 0;
}
