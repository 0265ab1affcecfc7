// Fuzz target: the model file. The whole calcest run reads it (header, tables,
// supports, ties, nodal loads) and goes on through assembly, solution and the
// results, with an empty loads file; the modal engine's reading of the same
// file and its support elimination run on it as well.
#include <cstdlib>

#include "fuzz/fuzz_input.h"
#include "fuzz/fuzz_scratch.h"
#include "calcdin/modal_model.h"
#include "calcest/phases.h"
#include "common/run_error.h"

using namespace common;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  {
    InScratchDir here;
    fuzzScratch().write("m.dat", bytesOf(data, size));
    fuzzScratch().write("m.caf", "");
    RecordingConsole console;
    int status = runConsoleProgram({"m.dat", "m.res", "m.caf", "m.fmc", "m.bar", "0"}, console, calcest::kCalcest);
    if (status != 0 && status != 1) std::abort();
  }
  FuzzFile input(data, size);
  if (!input.get()) return 0;
  try {
    Scanner scanner(input.get(), "m.dat");
    calcdin::ModalModel model = calcdin::readModalModel(scanner);
    int nn = model.header.nn;
    for (int option : {calcdin::kOptionSupports, calcdin::kOptionFree, calcdin::kOptionAllSupports}) {
      calcdin::eliminateSupports(model.supports, nn, option);
      calcdin::verticalSprings(model.supports, option);
    }
  } catch (const RunError&) {
    // A clear message is the expected outcome for bad input.
  }
  return 0;
}
