// Fuzz target: the bar record file, read by whole modal runs (record checks,
// assembly, eigen solution, results) of a small two-bar model, with the
// supports removed (option 0) and with the free structure (option 1).
#include <cstdlib>

#include "calcdin/driver.h"
#include "fuzz/fuzz_scratch.h"

using namespace common;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string model = fixtureFile(FUZZ_FIXTURE_DIR "/env_a.dat");
  InScratchDir here;
  static const bool modelWritten = (fuzzScratch().write("m.dat", model), true);
  (void)modelWritten;
  fuzzScratch().write("m.bar", bytesOf(data, size));
  for (const char* option : {"0", "1"}) {
    RecordingConsole console;
    int status = runConsoleProgram({"m.dat", "m.bar", "m.din", option}, console, calcdin::kCalcdin);
    if (status != 0 && status != 1) std::abort();
  }
  return 0;
}
