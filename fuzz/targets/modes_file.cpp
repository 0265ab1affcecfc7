// Fuzz target: calcdin's results file, read by a whole informe run of the first
// example's project (model, loads, results and diagram files fixed and valid),
// which checks the modes against the model and draws them.
#include <cstdlib>

#include "fuzz/fuzz_scratch.h"
#include "informe/run.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  InScratchDir here;
  static const bool projectWritten = [] {
    for (const char* ext : {".dat", ".caf", ".res", ".fmc"})
      fuzzScratch().write(std::string("env_a") + ext, fixtureFile(std::string(FUZZ_FIXTURE_DIR "/env_a") + ext));
    return true;
  }();
  (void)projectWritten;
  fuzzScratch().write("m.din", bytesOf(data, size));
  common::RecordingConsole console;
  int status = common::runConsoleProgram({"env_a", "m.din"}, console, informe::kInforme);
  if (status != 0 && status != 1) std::abort();
  return 0;
}
