#pragma once
// What the editor's tests share: the calcest binary of the build, the
// project files of the repository (examples, the tests' data, the fuzz
// corpora), a three-span beam to edit, and a project written into a folder.
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "common/testing/test_support.h"
#include "vigas/builder.h"

namespace vigastest {

inline std::string calcestBinary() { return std::string(CALCEST_FOLDER) + "/calcest"; }

// The suite's programs of this build, linked into one folder that VIGAS_BIN
// names, as an installation holds them side by side.
inline void useSuitePrograms(const testsupport::ScratchDir& bin) {
  const std::string programs = SUITE_PROGRAMS;
  for (size_t start = 0; start < programs.size();) {
    const size_t end = std::min(programs.find(':', start), programs.size());
    const std::string path = programs.substr(start, end - start);
    std::filesystem::create_symlink(path, bin.file(std::filesystem::path(path).filename().string()));
    start = end + 1;
  }
  setenv("VIGAS_BIN", bin.path().c_str(), 1);
}

inline std::string sourceFile(const std::string& relative) { return std::string(SOURCE_ROOT) + "/" + relative; }

// Three spans of 6, 8 and 5 m on a pin and three rollers, a right overhang of
// 2 m, two bars per span; a 0.3 x 0.6 rectangle of E = 3e7, G = 1.2e7,
// γ = 25 in kN and m; 10 kN/m permanent and 5 kN/m variable, no own weight.
inline vigas::BeamChoices threeSpanChoices() {
  vigas::BeamChoices c;
  c.title = "TRES";
  c.unitCode = 1;
  c.spans = {6.0, 8.0, 5.0};
  c.rightOverhang = 2.0;
  c.supports = {{vigas::SupportKind::pinned, 0}, {}, {}, {}};
  c.section.b = 0.3;
  c.section.h = 0.6;
  c.material = {3e7, 1.2e7, 25.0, 1e-5};
  c.selfWeight = false;
  c.barsPerSpan = 2;
  c.permanentLoad = 10.0;
  c.variableLoad = 5.0;
  return c;
}

inline vigas::Content threeSpanBeam() { return vigas::buildContinuousBeam(threeSpanChoices()).content; }

}  // namespace vigastest
