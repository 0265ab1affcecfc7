// The bundled examples run and balance: the support reactions add up to the
// loads of the loads file and the self-weight, totalled here by hand.
#include <gtest/gtest.h>

#include "calcest/tests/beam_models.h"

using namespace beams;
using testsupport::ScratchDir;

namespace {
Results runExample(const std::string& stem, int nn, int nb, int nsup) {
  ScratchDir dir;
  testsupport::copyProject(EXAMPLES_DIR, stem, dir);
  auto run = runCalcestOn(dir, stem);
  EXPECT_EQ(run.status, 0) << run.output;
  EXPECT_EQ(testsupport::splitLines(dir.read(common::fileOf(stem, common::kDiagramExt)))[0].substr(0, 1), " ");
  return parseResults(dir.read(common::fileOf(stem, common::kResultsExt)), nn, nb, nsup);
}

double totalReaction(const Results& r) {
  double sum = 0;
  for (const auto& s : r.supports) sum += s.at(1);
  return sum;
}
}  // namespace

TEST(Examples, ThreeSpanGirderCarriesSeventyFiveTonnes) {
  // 2.5 t/m over 20 m, 10 t and 6 t point loads, self-weight 2.5 t/m3 * 0.18 m2 * 20 m.
  Results r = runExample("viga3", 4, 3, 4);
  EXPECT_NEAR(totalReaction(r), 50.0 + 16.0 + 9.0, 1e-4);
}

TEST(Examples, HaunchedTwoSpanBeamBalancesAndItsSpringCarriesItsShare) {
  // 20 kN/m over 12 m, 60 kN, a 15 kN/m triangle over 3 m, self-weight
  // 25 * 0.2625 * 7 (haunch: 1.25 h) + 25 * 0.21 * 5.
  Results r = runExample("viga2h", 3, 2, 3);
  EXPECT_NEAR(totalReaction(r), 240.0 + 60.0 + 22.5 + 45.9375 + 26.25, 1e-4);
  // Spring of 50000 kN/m at node 3: its reaction is -k * uy (uy printed in mm).
  EXPECT_NEAR(r.supports[2][1], -50000.0 * r.nodeUy[2] / 1000.0, 1e-3);
}
