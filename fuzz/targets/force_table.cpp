// Fuzz target: a project's results file turned into its force table by
// alternancias --tabla (model and loads fixed and valid).
#include <cstdlib>

#include "fuzz/fuzz_scratch.h"
#include "alternancias/run.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  InScratchDir here;
  static const bool projectWritten = [] {
    for (const char* ext : {".dat", ".caf", ".kar"})
      fuzzScratch().write(std::string("env_a") + ext, fixtureFile(std::string(FUZZ_FIXTURE_DIR "/env_a") + ext));
    return true;
  }();
  (void)projectWritten;
  fuzzScratch().write("env_a.res", bytesOf(data, size));
  common::RecordingConsole console;
  const int status = common::runConsoleProgram({"--tabla", "env_a"}, console, alternancias::kAlternancias);
  if (status != 0 && status != 1) std::abort();
  return 0;
}
