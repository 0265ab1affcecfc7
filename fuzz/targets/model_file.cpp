// Fuzz target: the shared model-file reader (header, nodes, bars, sections,
// materials, supports), as both calculation programs run it.
#include "fuzz_input.h"
#include "model.h"
#include "run_error.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzFile input(data, size);
  if (!input.get()) return 0;
  try {
    Scanner scanner(input.get(), "fuzz.dat");
    ModelReader reader(scanner);
    ModelHeader header = reader.readHeader();
    std::vector<Node> nodes = reader.readNodes(header.nn);
    int maxw = 0;
    std::vector<BarInput> bars = reader.readBars(header.nb, nodes, maxw);
    std::vector<Section> sections = reader.readSections(header.nsec);
    std::vector<Material> materials = reader.readMaterials(header.nmat, unitConstantsFor(header.unitCode).g);
    applyAllBarProperties(bars, materials, sections);
    for (int k = 1; k <= header.nsup; ++k) reader.readSupport(k, nodes);
  } catch (const RunError&) {
    // A clear message is the expected outcome for bad input.
  }
  return 0;
}
