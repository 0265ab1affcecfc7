// How finely a model follows its modes, and the shape functions that join a
// mode's node values along the bars.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "informe/drawings.h"
#include "informe/mode_mesh.h"
#include "common/run_error.h"
#include "common/testing/test_support.h"
#include "informe/structure.h"

namespace informe {

using namespace common;
namespace {

// ---- how finely a model follows its modes -------------------------------------------

// A simple span of 8 m in n equal bars: its n-th bending frequency's
// half-wave, L/n long, spans bars/n bars whatever E, I and the mass are.
TEST(BarsPerHalfWave, OfASimpleSpansModeIsItsBarsOverTheModeNumber) {
  for (int bars : {1, 4}) {
    testsupport::ScratchDir dir;
    std::string dat = "SIMPLE 1 1\n" + std::to_string(bars) + " " + std::to_string(bars + 1) + " 2 0 1 1 0 0 0 0.0\n";
    for (int k = 0; k <= bars; ++k) dat += std::to_string(k + 1) + " " + std::to_string(8.0 * k / bars) + " 0.0\n";
    for (int k = 1; k <= bars; ++k)
      dat +=
          std::to_string(k) + " " + std::to_string(k) + " " + std::to_string(k + 1) + " 1 1 1 0\n1.0 0.0 0.0 0 1.0\n";
    dat += "1 0.18 0.00135 0.3 0.6\n1 3e7 1.25e7 25.0 1.0e-5\n1 110 0.0 0.0\n" + std::to_string(bars + 1) +
           " 110 0.0 0.0\n";
    dir.write("m.dat", dat);
    dir.write("m.caf", "");
    const projectfiles::Model model = projectfiles::readModel(dir.file("m.dat"), dir.file("m.caf"));
    const double m = 25 * 0.18 / unitConstantsFor(1).g, EI = 3e7 * 0.00135;  // kN and m: the suite's g
    for (int n = 1; n <= 4; ++n) {
      const double frequency = n * n * M_PI / (2 * 64.0) * std::sqrt(EI / m);
      EXPECT_NEAR(barsPerHalfWave(model, frequency), static_cast<double>(bars) / n, 1e-9)
          << bars << " bars, mode " << n;
    }
    EXPECT_TRUE(std::isinf(barsPerHalfWave(model, 0.0)));
  }
}

// ---- mode shapes between nodes ------------------------------------------------

struct ShapeCase {
  int type;
  bool turnsWithNodeI, turnsWithNodeJ;  // false: the end is a hinge (no moment)
};

class TransverseShape : public testing::TestWithParam<ShapeCase> {};

// The cubic takes the end displacements, follows the node rotation where the
// bar is joined rigidly and carries no curvature (moment) at a hinge.
TEST_P(TransverseShape, MatchesEndValuesAndReleases) {
  const ShapeCase c = GetParam();
  const double L = 3.0, v1 = 0.2, t1 = -0.15, v2 = -0.4, t2 = 0.35, h = 1e-5;
  auto v = [&](double xi) { return transverseShape(c.type, xi, L, v1, t1, v2, t2); };
  auto slope = [&](double xi) { return (v(xi + h) - v(xi - h)) / (2 * h * L); };
  auto curvature = [&](double xi) { return (v(xi + h) - 2 * v(xi) + v(xi - h)) / (h * h * L * L); };
  EXPECT_NEAR(v(0), v1, 1e-12);
  EXPECT_NEAR(v(1), v2, 1e-12);
  if (c.turnsWithNodeI)
    EXPECT_NEAR(slope(0), t1, 1e-6);
  else
    EXPECT_NEAR(curvature(0), 0.0, 1e-3);
  if (c.turnsWithNodeJ)
    EXPECT_NEAR(slope(1), t2, 1e-6);
  else
    EXPECT_NEAR(curvature(1), 0.0, 1e-3);
}

INSTANTIATE_TEST_SUITE_P(BarTypes, TransverseShape,
                         testing::Values(ShapeCase{1, true, true}, ShapeCase{2, false, true},
                                         ShapeCase{3, true, false}));

TEST(TransverseShapeOfDoubleHinge, IsTheStraightLineBetweenTheEnds) {
  EXPECT_NEAR(transverseShape(4, 0.25, 2.0, 1.0, 7.0, 3.0, -7.0), 1.5, 1e-12);
}

}  // namespace
}  // namespace informe
