// The beam's own frequencies: the model refined until they converge, against
// the closed form of a simple span; the refined model against the model it
// comes from (the same statics at the nodes they share).
#include <gtest/gtest.h>

#include <cmath>

#include "calcest/static_solution.h"
#include "common/model_writer.h"
#include "common/scan.h"
#include "projectfiles/model_input.h"
#include "vigas/beam_modes.h"
#include "vigas/tests/test_beams.h"

namespace {

using testsupport::ScratchDir;

// The model file as typed, as the editor holds it.
common::ModelData typed(const std::string& text) {
  testsupport::TempFile file(text);
  common::Scanner scanner(file.file, "m.dat");
  return common::ModelReader(scanner, common::ModelReader::Checks::none).readModel();
}

// A simple span of 8 m pinned at both ends in one bar (kN, m): E = 3e7,
// A = 0.18, I = 0.00135, gamma = 25, so m = 25·0.18/g per metre; the
// bending modes f_n = (n² π / 2L²)·sqrt(EI/m) stay below the first axial
// one, c/2L. One bar gives the lowest 16 % high; refined, each of the four
// lowest is within 1 % of the closed form and marked converged.
TEST(BeamModes, SimpleSpan_FirstFourFrequenciesOfTheClosedForm) {
  ScratchDir bin;
  vigastest::useSuitePrograms(bin);
  const double L = 8, E = 3e7, A = 0.18, I = 0.00135, m = 25 * A / common::unitConstantsFor(1).g;
  const common::ModelData model = typed(
      "SIMPLE 1 1\n1 2 2 0 1 1 0 0 0 0.0\n1 0.0 0.0\n2 8.0 0.0\n1 1 2 1 1 1 0\n1.0 0.0 0.0 0 1.0\n"
      "1 0.18 0.00135 0.3 0.6\n1 3e7 1.25e7 25.0 1.0e-5\n1 110 0.0 0.0\n2 110 0.0 0.0\n");
  const vigas::BeamModes modes = vigas::beamModes(model, 0, 4);
  ASSERT_EQ(modes.error, "");
  ASSERT_EQ(modes.frequencies.size(), 4u);
  for (int n = 1; n <= 4; ++n) {
    const double exact = n * n * M_PI / (2 * L * L) * std::sqrt(E * I / m);
    EXPECT_NEAR(modes.frequencies[n - 1], exact, 0.01 * exact) << "mode " << n;
    EXPECT_TRUE(modes.converged[n - 1]) << "mode " << n;
  }
  EXPECT_GT(modes.parts, 1);
  EXPECT_EQ(modes.bars, modes.parts);
  EXPECT_FALSE(modes.limited);
  EXPECT_NE(vigas::beamModesNote(modes).find("convergidas al 1 %"), std::string::npos) << vigas::beamModesNote(modes);
}

// A model of 200 bars cannot be cut in two within the 250 bars of a model
// file: its frequencies are its own, and the note says the limit stopped it.
TEST(BeamModes, TheBarLimitStopsTheRefinementAndSaysSo) {
  ScratchDir bin;
  vigastest::useSuitePrograms(bin);
  std::string text = "LARGA 1 1\n200 201 2 0 1 1 0 0 0 0.0\n";
  for (int k = 0; k <= 200; ++k) text += std::to_string(k + 1) + " " + std::to_string(0.1 * k) + " 0.0\n";
  for (int k = 1; k <= 200; ++k)
    text += std::to_string(k) + " " + std::to_string(k) + " " + std::to_string(k + 1) + " 1 1 1 0\n1.0 0.0 0.0 0 1.0\n";
  text += "1 0.18 0.00135 0.3 0.6\n1 3e7 1.25e7 25.0 1.0e-5\n1 110 0.0 0.0\n201 110 0.0 0.0\n";
  const vigas::BeamModes modes = vigas::beamModes(typed(text), 0, 2);
  ASSERT_EQ(modes.error, "");
  EXPECT_TRUE(modes.limited);
  EXPECT_EQ(modes.bars, 200);
  EXPECT_EQ(modes.frequencies.size(), 2u);
  EXPECT_NE(vigas::beamModesNote(modes).find("l\xEDmite de 250 barras"), std::string::npos)
      << vigas::beamModesNote(modes);
}

// A haunched bar cannot be cut (its properties are its mean height's): a span
// of one keeps its own frequencies, not marked converged, and the note names it.
TEST(BeamModes, AHaunchedBarStaysWholeAndIsNamed) {
  ScratchDir bin;
  vigastest::useSuitePrograms(bin);
  const vigas::BeamModes modes = vigas::beamModes(
      typed("CARTELA 1 1\n1 2 2 0 1 1 0 0 0 0.0\n1 0.0 0.0\n2 8.0 0.0\n1 1 2 1 1 1 0\n1.0 0.0 0.0 0 1.5\n"
            "1 0.18 0.00135 0.3 0.6\n1 3e7 1.25e7 25.0 1.0e-5\n1 110 0.0 0.0\n2 110 0.0 0.0\n"),
      0, 2);
  ASSERT_EQ(modes.error, "");
  EXPECT_EQ(modes.parts, 1);
  EXPECT_EQ(modes.wholeBars, std::vector<int>{1});
  ASSERT_FALSE(modes.converged.empty());
  EXPECT_FALSE(modes.converged[0]);
  EXPECT_NE(vigas::beamModesNote(modes).find("por su cartela o su tipo, las barras 1"), std::string::npos)
      << vigas::beamModesNote(modes);
}

// Cut bars keep their stiffness exactly: a fixed end, a bar hinged at its
// start with rigid zones and shear deformation, a haunched bar (kept whole),
// and a bar hinged at its end on a guided roller, under loads at the original nodes,
// move those nodes as the model itself does.
TEST(SplitBars, CutBarsKeepTheModelsStiffnessAndAHaunchStaysWhole) {
  const std::string model =
      "CORTES 1 1\n3 4 2 2 1 1 0 0 0 0.0\n1 0.0 0.0\n2 5.0 0.0\n3 9.0 0.0\n4 12.0 0.0\n"
      "1 1 2 1 1 2 0\n0.85 0.1 0.05 1 1.0\n2 2 3 1 1 1 0\n1.0 0.0 0.0 0 1.5\n3 3 4 1 1 3 0\n1.0 0.0 0.0 0 1.0\n"
      "1 0.18 0.0054 0.3 0.6\n1 3e7 1.25e7 25.0 1.0e-5\n1 111 0.0 0.0 0.0\n4 11 0.0 0.0\n"
      "2\n1 0.0\n1 -40.0\n1 0.0\n3\n1 0.0\n1 -25.0\n1 15.0\n";
  std::vector<int> whole;
  const common::ModelData split = vigas::splitBars(typed(model), 4, &whole);
  EXPECT_EQ(whole, std::vector<int>{2});
  ASSERT_EQ(split.bars.size() - 1, 4u + 1 + 4);
  EXPECT_EQ(split.bars[1].type, 2);
  EXPECT_EQ(split.bars[4].type, 1);
  EXPECT_EQ(split.bars[9].type, 3);
  ScratchDir dir;
  dir.write("a.dat", model);
  dir.write("b.dat", common::modelText(split));
  dir.write("a.caf", "");
  dir.write("b.caf", "");
  // The split model has no nodal loads: the same ones, at the same nodes.
  projectfiles::Model a = projectfiles::readModel(dir.file("a.dat"), dir.file("a.caf"));
  projectfiles::Model b = projectfiles::readModel(dir.file("b.dat"), dir.file("b.caf"));
  b.nodalLoads = a.nodalLoads;
  for (size_t k = 1; k < b.nodalLoads.size(); ++k)
    for (size_t n = 1; n < b.nodes.size(); ++n)
      if (b.nodes[n].label == b.nodalLoads[k].label) b.nodalLoads[k].index = static_cast<int>(n);
  const calcest::StaticSolution sa = calcest::solveStatic(a, {}), sb = calcest::solveStatic(b, {});
  for (size_t n = 1; n < a.nodes.size(); ++n)
    for (size_t m = 1; m < b.nodes.size(); ++m)
      if (b.nodes[m].label == a.nodes[n].label) {
        EXPECT_NEAR(sb.nodes[m].uy, sa.nodes[n].uy, 1e-9 + 1e-7 * std::fabs(sa.nodes[n].uy)) << "node " << n;
        EXPECT_NEAR(sb.nodes[m].rot, sa.nodes[n].rot, 1e-9 + 1e-7 * std::fabs(sa.nodes[n].rot)) << "node " << n;
      }
}

}  // namespace
