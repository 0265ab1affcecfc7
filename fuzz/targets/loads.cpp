// Fuzz target: the loads file, read by a whole calcest run of the three-span
// example beam (loads, load vector, solution, diagrams and results).
#include <cstdlib>

#include "fuzz/fuzz_scratch.h"
#include "calcest/phases.h"

using namespace common;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string model = fixtureFile(FUZZ_EXAMPLES_DIR "/viga3.dat");
  InScratchDir here;
  static const bool modelWritten = (fuzzScratch().write("m.dat", model), true);
  (void)modelWritten;
  fuzzScratch().write("m.caf", bytesOf(data, size));
  RecordingConsole console;
  int status = runConsoleProgram({"m.dat", "m.res", "m.caf", "m.fmc", "m.bar", "0"}, console, calcest::kCalcest);
  if (status != 0 && status != 1) std::abort();
  return 0;
}
