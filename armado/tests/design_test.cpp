// The design of whole beams at its limits: the minimum area governs, the
// compression steel appears, the strut or the width refuses the design.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "armado/tests/test_beams.h"
#include "common/run_error.h"

namespace armado {
namespace {

using testing::TestBeam;

class BeamDesign : public ::testing::Test {
 protected:
  // The station of the design nearest x (mm).
  static const StationDesign& at(const Design& d, double x) {
    const StationDesign* best = &d.stations.front();
    for (const StationDesign& s : d.stations)
      if (std::fabs(s.x - x) < std::fabs(best->x - x)) best = &s;
    return *best;
  }
  // The message of the refusal of the design, "" when it is made.
  std::string refusal(const TestBeam& beam, const DesignData& data = {}) {
    try {
      testing::designTestBeam(dir, beam, data);
    } catch (const common::RunError& e) {
      return e.text;
    }
    return "";
  }
  testsupport::ScratchDir dir;
};

// 6 m under 2 + 1 kN/m: 18.9 kN m at mid-span asks about 80 mm2, and the
// minimum 0.26 fctm / fyk b d = 0.26 * 2.565 / 500 * 300 * d governs.
TEST_F(BeamDesign, MinimumAreaGovernsALightlyLoadedBeam) {
  TestBeam beam;
  beam.bars = {6.0};
  beam.g = 2;
  beam.q = 1;
  const Design d = testing::designTestBeam(dir, beam);
  const StationDesign& mid = at(d, 3000);
  EXPECT_NEAR(mid.Mmax, (1.35 * 2 + 1.5 * 1) * 36 / 8 * 1e6, 1e3);
  const double fctm = 0.3 * std::pow(25.0, 2.0 / 3.0);
  EXPECT_NEAR(mid.requiredBottom, 0.26 * fctm / 500 * 300 * mid.dBottom, 1e-6);
  EXPECT_GE(mid.providedBottom, mid.requiredBottom);
  // Nothing asks for steel on top: the hangers only.
  EXPECT_EQ(mid.requiredTop, 0);
}

// 250 x 450, 6 m under 30 + 20 kN/m: 317 kN m passes Mlim = 0.2952 b d^2
// fcd, so the top takes compression steel at mid-span, and the stirrups
// holding it stay within 15 diameters.
TEST_F(BeamDesign, CompressionSteelAppearsPastTheDuctilityLimit) {
  TestBeam beam;
  beam.bars = {6.0};
  beam.b = 0.25;
  beam.h = 0.45;
  beam.g = 30;
  beam.q = 20;
  const Design d = testing::designTestBeam(dir, beam);
  const StationDesign& mid = at(d, 3000);
  const double mu = mid.Tbottom / (250 * mid.dBottom * mid.dBottom * 25 / 1.5);
  ASSERT_GT(mu, 0.36 * (1 - 0.18));
  EXPECT_GT(mid.requiredTop, 0);
  EXPECT_EQ(mid.Ttop, 0);
  EXPECT_GE(mid.providedTop, mid.requiredTop);
  double smallestTop = 1e9;
  for (const BarGroup& g : d.bars)
    if (g.face == kTop && g.start <= 3000 && g.end >= 3000) smallestTop = std::min(smallestTop, g.diameter);
  for (const StirrupZone& z : d.stirrups) {
    if (z.start <= 3000 && z.end >= 3000) {
      EXPECT_LE(z.spacing, 15 * smallestTop);
    }
  }
}

// 1.2 m under 900 kN/m: 729 kN at the supports against VRd,max = 668 kN
// at 45 degrees (300 x 600, d about 550).
// 100 kN (permanent) at 2.1 m of a 5 m span, between the stations at 2.0 and
// 2.25 m, with 20 + 10 kN/m: the shear changes sign under the load, where
// M = 1.35 (20 a b / 2 + 100 a b / L) + 1.5 (10 a b / 2) = 292.32 kN m
// (a = 2.1, b = 2.9). Both stations about it are designed for it, none for
// more. A peak on a station (mid-span, uniform load alone) raises no other:
// every station keeps 1.35 x 20 + 1.5 x 10 = 42 kN/m times x (L - x) / 2.
TEST_F(BeamDesign, APeakBetweenStationsIsTakenByTheStationsAboutIt) {
  TestBeam beam;
  beam.bars = {5.0};
  beam.points = {{1, 2.1, 100.0, false}};
  const DesignData data;
  const auto demandOf = [&] {
    return beamDemand(testing::readTestBeam(dir, beam), data.factors, data.shares(), "viga.dat");
  };
  const double peak = 292.32e6;  // N mm
  double largest = 0;
  for (const Station& s : demandOf().stations) {
    largest = std::max(largest, s.Mmax);
    if (std::fabs(s.x - 2100.0) < 200.0) {
      EXPECT_NEAR(s.Mmax, peak, 1e-9 * peak) << s.x;
    }
  }
  EXPECT_NEAR(largest, peak, 1e-9 * peak);
  beam.points.clear();
  for (const Station& s : demandOf().stations) EXPECT_NEAR(s.Mmax, 21.0 * s.x * (5000.0 - s.x), 1e-9 * 131.25e6) << s.x;
}

TEST_F(BeamDesign, StrutCrushingRefusesNamingThePlace) {
  TestBeam beam;
  beam.bars = {1.2};
  beam.g = 900;
  beam.q = 0;
  const std::string why = refusal(beam);
  EXPECT_NE(why.find("LA BIELA DE HORMIG\xD3N NO RESISTE"), std::string::npos) << why;
  EXPECT_NE(why.find("x = 0.00 m (TRAMO 1)"), std::string::npos) << why;
}

// 200 x 500 with bars of 12 only: two layers take 8 bars (9.05 cm2), and 243
// kN m asks for about 15 cm2.
TEST_F(BeamDesign, BarsThatDoNotFitRefuseNamingThePlace) {
  TestBeam beam;
  beam.bars = {6.0};
  beam.b = 0.20;
  beam.h = 0.50;
  beam.g = 40;
  beam.q = 0;
  DesignData data;
  data.diameters = {12};
  const std::string why = refusal(beam, data);
  EXPECT_NE(why.find("LA ARMADURA INFERIOR EN x = "), std::string::npos) << why;
  EXPECT_NE(why.find("CABEN"), std::string::npos) << why;
  // The same beam with bars of 25 is designed.
  data.diameters = {25};
  EXPECT_EQ(refusal(beam, data), "");
}

TEST_F(BeamDesign, ACoverTheSectionCannotTakeIsRefused) {
  TestBeam beam;
  beam.b = 0.20;
  beam.h = 0.30;
  DesignData data;
  data.cover = 80;
  EXPECT_NE(refusal(beam, data).find("EL RECUBRIMIENTO DE 80 mm"), std::string::npos);
}

TEST_F(BeamDesign, ASectionWithoutWidthAndDepthIsRefusedByName) {
  TestBeam beam;
  beam.sizes = false;
  EXPECT_NE(refusal(beam).find("LA SECCI\xD3N 1 (DE LA BARRA 1) NO TIENE ANCHO B Y CANTO H"), std::string::npos);
}

}  // namespace
}  // namespace armado
