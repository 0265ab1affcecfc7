// Bar loads: equivalent nodal loads checked against fixed-end forces of beam
// theory and against statics, load diagrams against resultants and lever arms.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "calcest/loads.h"
#include "calcest/tests/sample_bar.h"
#include "common/run_error.h"
#include "common/testing/test_support.h"

using namespace common;

using namespace calcest;

namespace {

constexpr double kTol = 1e-9;

BarLoad makeLoad(int ltype, double a, double c, double b, double q, char dir = 'y') {
  return loadOn(1, ltype, a, c, b, q, dir);
}

// Loaded bar of the given type: eqLocal as (N, V, M at I, N, V, M at J).
Vec6 eqOf(int type, const BarLoad& load, double L) {
  Bar bar = sampleBar(type, L);
  applyBarLoad(bar, load);
  return bar.eqLocal;
}

void expectVec(const Vec6& actual, std::vector<double> expected, double tol = kTol) {
  for (int i = 1; i <= 6; ++i) EXPECT_NEAR(actual[i], expected[i - 1], tol) << "component " << i;
}

struct Failure {
  std::string text;
  int status = 0;
  bool thrown = false;
};

Failure failureOf(const std::function<void()>& action) {
  Failure f;
  try {
    action();
  } catch (const RunError& e) {
    f.text = e.text;
    f.status = e.status;
    f.thrown = true;
  }
  return f;
}

}  // namespace

// ------------------------------------------------------ equivalent nodal loads

TEST(PointForce, MidSpanOnFixedBarGivesHalfTheForceAndPLOverEight) {
  Bar bar = sampleBar(1, 4);
  applyBarLoad(bar, makeLoad(1, 2, 2, 0, -10));
  expectVec(bar.eqLocal, {0, -5, -5, 0, -5, 5});
  expectVec(bar.fixedEnd, {0, 5, 5, 0, 5, -5});
  expectVec(bar.eqGlobal, {0, -5, -5, 0, -5, 5});
}

// Equivalent nodal loads of one load on a bar of each type, (N, V, M at I,
// N, V, M at J), against the fixed-end forces of beam theory.
TEST(EquivalentLoads, MatchTheFixedEndForcesOfBeamTheory) {
  struct Case {
    const char* what;
    int type;
    BarLoad load;
    double L;
    std::vector<double> eq;
  };
  const Case cases[] = {
      {"point force at mid-span, two hinges: shears only", 4, makeLoad(1, 2, 2, 0, -10), 4, {0, -5, 0, 0, -5, 0}},
      // P = 9 down, a = 1, b = 2, L = 3: M_A = Pab^2/L^2 = 4, M_B = Pa^2b/L^2 = 2,
      // R_A = Pb^2(3a + b)/L^3 = 20/3, R_B = 7/3.
      {"point force off centre, fixed", 1, makeLoad(1, 1, 2, 0, -9), 3, {0, -20.0 / 3, -4, 0, -7.0 / 3, 2}},
      // P = 16 down, L = 4: fixed-end moment 3PL/16 = 12, reactions 11P/16 and 5P/16.
      {"point force at mid-span, hinge at J", 3, makeLoad(1, 2, 2, 0, -16), 4, {0, -11, -12, 0, -5, 0}},
      {"point force at mid-span, hinge at I", 2, makeLoad(1, 2, 2, 0, -16), 4, {0, -5, 0, 0, -11, 12}},
      // 10 down at 1 from I on a bar of 4: held at I, moment 10*1; held at J, 10*3.
      {"point force, cantilever held at I", 6, makeLoad(1, 1, 3, 0, -10), 4, {0, -10, -10, 0, 0, 0}},
      {"point force, cantilever held at J", 5, makeLoad(1, 1, 3, 0, -10), 4, {0, 0, 0, 0, -10, 30}},
      // P = 6 down, a = 1, b = 2, L = 3. Guided at I: all the force at J, moment at
      // the guided end Pb^2/(2L) = 4, at the fixed end Pb(L + a)/(2L) = 8.
      {"point force, guided at I", 7, makeLoad(1, 1, 2, 0, -6), 3, {0, 0, 4, 0, -6, 8}},
      // Guided at J: moments Pa(L + b)/(2L) = 5 at I and Pa^2/(2L) = 1 at J.
      {"point force, guided at J", 8, makeLoad(1, 1, 2, 0, -6), 3, {0, -6, -5, 0, 0, -1}},
      // q = 2 down, L = 6: shears qL/2 = 6, moments qL^2/12 = 6.
      {"uniform over the span, fixed", 1, makeLoad(3, 0, 6, 0, -2), 6, {0, -6, -6, 0, -6, 6}},
      // w = 3 over the left half of L = 8: M_A = 11wL^2/192 = 11, M_B = 5wL^2/192 = 5,
      // R_A = 13wL/32 = 9.75, R_B = 3wL/32 = 2.25.
      {"uniform over the left half, fixed", 1, makeLoad(3, 0, 4, 4, -3), 8, {0, -9.75, -11, 0, -2.25, 5}},
      // q = 2 down, L = 4: wL^2/8 = 4 at the fixed end, reactions 5wL/8 = 5 and 3wL/8 = 3.
      {"uniform, hinge at J", 3, makeLoad(3, 0, 4, 0, -2), 4, {0, -5, -4, 0, -3, 0}},
      {"uniform, hinge at I", 2, makeLoad(3, 0, 4, 0, -2), 4, {0, -3, 0, 0, -5, 4}},
      {"uniform, two hinges", 4, makeLoad(3, 0, 4, 0, -2), 4, {0, -4, 0, 0, -4, 0}},
      // Cantilevers: the whole qL = 8 and qL^2/2 = 16 at the held end.
      {"uniform, cantilever held at I", 6, makeLoad(3, 0, 4, 0, -2), 4, {0, -8, -16, 0, 0, 0}},
      {"uniform, cantilever held at J", 5, makeLoad(3, 0, 4, 0, -2), 4, {0, 0, 0, 0, -8, 16}},
      // q = 3 down, L = 2: guided end wL^2/6 = 2, fixed end wL^2/3 = 4.
      {"uniform, guided at I", 7, makeLoad(3, 0, 2, 0, -3), 2, {0, 0, 2, 0, -6, 4}},
      {"uniform, guided at J", 8, makeLoad(3, 0, 2, 0, -3), 2, {0, -6, -4, 0, 0, -2}},
      // Peak 60 down, L = 2: at the zero end 3wL/20 = 18 and wL^2/30 = 8,
      // at the peak end 7wL/20 = 42 and wL^2/20 = 12.
      {"triangle rising to J, fixed", 1, makeLoad(4, 0, 2, 0, -60), 2, {0, -18, -8, 0, -42, 12}},
      {"triangle falling to J, fixed", 1, makeLoad(5, 0, 2, 0, -60), 2, {0, -42, -12, 0, -18, 8}},
      // Fixed at I, hinge at J, L = 2, peak 60. Peak at the hinge: M = 7wL^2/120 = 14,
      // reactions 9wL/40 = 27 and 11wL/40 = 33. Peak at the fixed end: M = wL^2/15 = 16,
      // reactions 2wL/5 = 48 and wL/10 = 12.
      {"triangle rising to the hinge", 3, makeLoad(4, 0, 2, 0, -60), 2, {0, -27, -14, 0, -33, 0}},
      {"triangle falling to the hinge", 3, makeLoad(5, 0, 2, 0, -60), 2, {0, -48, -16, 0, -12, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    expectVec(eqOf(c.type, c.load, c.L), c.eq);
  }
}

TEST(PointForce, HorizontalLoadOnHorizontalBarGivesOnlyTheAxialSplit) {
  Bar bar = sampleBar(1, 4);
  applyBarLoad(bar, makeLoad(1, 1, 3, 0, 8, 'x'));
  // Simple-beam shares 8*3/4 and 8*1/4 along the bar, nothing across it.
  expectVec(bar.eqLocal, {6, 0, 0, 2, 0, 0});
  expectVec(bar.eqGlobal, {6, 0, 0, 2, 0, 0});
  EXPECT_DOUBLE_EQ(bar.N0[10], -8.0);
  EXPECT_DOUBLE_EQ(bar.N0[4], 0.0);
  EXPECT_DOUBLE_EQ(bar.V0[10], 0.0);
  EXPECT_DOUBLE_EQ(bar.M0[10], 0.0);
}

TEST(PointForce, SideLoadOnVerticalShearReleasedBarKeepsMomentsConsistentWithShear) {
  // Column of type 7 (sin = 1), a horizontal force of 6 at 1 from I: local force
  // -6 across the bar; the end moments follow that same local force.
  Bar bar = sampleBar(7, 3, 0.0, 1.0, kVertical);
  applyBarLoad(bar, makeLoad(1, 1, 2, 0, 6, 'x'));
  expectVec(bar.eqLocal, {0, 0, 4, 0, -6, 8});
  expectVec(bar.eqGlobal, {0, 0, 4, 6, 0, 8});
}

TEST(PointForce, AxialForceOnShearReleasedBarReachesTheNodes) {
  // Column of type 7, 10 down at 1 above I on a height of 4: 7.5 to I, 2.5 to J.
  Bar bar = sampleBar(7, 4, 0.0, 1.0, kVertical);
  applyBarLoad(bar, makeLoad(1, 1, 3, 0, -10));
  expectVec(bar.eqGlobal, {0, -7.5, 0, 0, -2.5, 0});
}

// ----------------------------------------------------------- distributed loads

TEST(UniformLoad, IntegratedPointForceRowAgreesWithClosedFormOnFixedBar) {
  // The closed form applied to type 1 bars against the integral of the point-force row.
  const double a = 1.3, c = 2.1, b = 0.9, q = -1.7;
  Vec6 closed = eqOf(1, makeLoad(3, a, c, b, q), a + c + b);
  EndShearsMoments integral = distributedEndLoads(1, 3, q, a, c, b);
  EXPECT_NEAR(closed[2], integral.VI, 1e-12);
  EXPECT_NEAR(closed[3], integral.MI, 1e-12);
  EXPECT_NEAR(closed[5], integral.VJ, 1e-12);
  EXPECT_NEAR(closed[6], integral.MJ, 1e-12);
}

TEST(TriangularLoad, ZeroLoadedLengthGivesNothing) {
  Bar bar = sampleBar(1, 4);
  applyBarLoad(bar, makeLoad(4, 1, 0, 3, -5));
  applyBarLoad(bar, makeLoad(5, 1, 0, 3, -5));
  expectVec(bar.eqLocal, {0, 0, 0, 0, 0, 0}, 0.0);
  for (int k = 1; k <= 19; ++k) EXPECT_EQ(bar.M0[k], 0.0);
}

// --------------------------------------------------------------- statics check
// Whatever the bar type, the equivalent loads must have the resultant and the
// moment about node I of the load itself. Bar along (0.6, 0.8), length 5.

namespace {
struct Resultant {
  double fx = 0, fy = 0, momentAboutI = 0;
};

Resultant resultantOfEq(const Bar& bar) {
  const Vec6& g = bar.eqGlobal;
  const double xJ = bar.L * bar.cos, yJ = bar.L * bar.sin;
  return {g[1] + g[4], g[2] + g[5], g[3] + g[6] + xJ * g[5] - yJ * g[4]};
}
}  // namespace

TEST(Statics, ForceLoadsOnInclinedBarAreStaticallyEquivalentOnEveryBarType) {
  // Along the bar: a' = 1, c' = 2.5, b' = 1.5 (point force: a' = 2, c' = 3); the
  // file gives projections, by cos = 0.6 for vertical loads, sin = 0.8 for horizontal.
  for (char dir : {'y', 'x'}) {
    const double f = dir == 'y' ? 0.6 : 0.8;
    for (int ltype : {1, 3, 4, 5}) {
      const int highest = (ltype == 1 || ltype == 3) ? 8 : 6;
      for (int type = 1; type <= highest; ++type) {
        SCOPED_TRACE(testing::Message() << "dir " << dir << " load " << ltype << " bar " << type);
        Bar bar = sampleBar(type, 5, 0.6, 0.8, kInclinedRight);
        const double q = -3;
        double force = 0, centroid = 0;  // resultant and its distance from I along the bar
        if (ltype == 1) {
          applyBarLoad(bar, makeLoad(1, 2 * f, 3 * f, 0, q, dir));
          force = q;
          centroid = 2;
        } else {
          applyBarLoad(bar, makeLoad(ltype, 1 * f, 2.5 * f, 1.5 * f, q, dir));
          // q per unit of projection over a projection of 2.5 f.
          force = ltype == 3 ? q * 2.5 * f : q * 2.5 * f / 2;
          centroid = ltype == 3 ? 1 + 2.5 / 2 : ltype == 4 ? 1 + 2.5 * 2 / 3 : 1 + 2.5 / 3;
        }
        const double fx = dir == 'x' ? force : 0, fy = dir == 'y' ? force : 0;
        const Resultant r = resultantOfEq(bar);
        EXPECT_NEAR(r.fx, fx, 1e-9);
        EXPECT_NEAR(r.fy, fy, 1e-9);
        EXPECT_NEAR(r.momentAboutI, centroid * 0.6 * fy - centroid * 0.8 * fx, 1e-9);
      }
    }
  }
}

TEST(Statics, PointMomentIsEquivalentToAClockwiseCoupleOnEveryBarType) {
  for (int type = 1; type <= 6; ++type) {
    SCOPED_TRACE(type);
    Bar bar = sampleBar(type, 5, 0.6, 0.8, kInclinedRight);
    applyBarLoad(bar, makeLoad(2, 1.5, 3.5, 0, 7, 'z'));
    const Resultant r = resultantOfEq(bar);
    EXPECT_NEAR(r.fx, 0, 1e-12);
    EXPECT_NEAR(r.fy, 0, 1e-12);
    EXPECT_NEAR(r.momentAboutI, -7, 1e-12);
  }
}

namespace {
// The bar with E = 2e7, A = 0.1, I = 1e-3, h = 0.3, alpha = 1e-5 under a
// temperature load of 10.
Bar heatedBar(Bar bar) {
  bar.E = 2e7;
  bar.A = 0.1;
  bar.I = 1e-3;
  bar.h = 0.3;
  bar.alpha = 1e-5;
  applyBarLoad(bar, makeLoad(6, 0, 0, 0, 10));
  return bar;
}
}  // namespace

TEST(Statics, TemperatureLoadsAreSelfEquilibrated) {
  for (int type = 1; type <= 4; ++type) {
    SCOPED_TRACE(type);
    Bar bar = heatedBar(sampleBar(type, 5, 0.6, 0.8, kInclinedRight));
    const Resultant r = resultantOfEq(bar);
    EXPECT_NEAR(r.fx, 0, 1e-9);
    EXPECT_NEAR(r.fy, 0, 1e-9);
    EXPECT_NEAR(r.momentAboutI, 0, 1e-9);
  }
}

// ----------------------------------------------------------------- temperature

TEST(Temperature, FixedEndForcesOfAGradient) {
  // E alpha T A = 2e7 * 1e-5 * 10 * 0.1 = 200; E I alpha T / h = 2e7 * 1e-3 * 1e-5 * 10 / 0.3 = 20/3.
  auto eqFor = [](int type) { return heatedBar(sampleBar(type, 4)).eqLocal; };
  const double m = 20.0 / 3;
  expectVec(eqFor(1), {200, 0, -m, -200, 0, m});
  // One end hinged: 1.5 times the moment at the other, balanced by end shears.
  expectVec(eqFor(2), {200, 1.5 * m / 4, 0, -200, -1.5 * m / 4, 1.5 * m});
  expectVec(eqFor(3), {200, -1.5 * m / 4, -1.5 * m, -200, 1.5 * m / 4, 0});
  expectVec(eqFor(4), {200, 0, 0, -200, 0, 0});
  expectVec(eqFor(0), {0, 0, 0, 0, 0, 0});
}

// ------------------------------------------------------------------ projection

TEST(Projection, VerticalLoadOverHorizontalProjectionOnFortyFiveDegreeBar) {
  // 1 per horizontal metre over a projection of 4 becomes 0.7071 per bar metre
  // over 5.657 of bar: local components 0.5 across and 0.5 along the bar.
  const double r = std::sqrt(0.5), L = 4 / r;
  Bar bar = sampleBar(1, L, r, r, kInclinedRight);
  applyBarLoad(bar, makeLoad(3, 0, 4, 0, -1));
  const double qt = -0.5;
  expectVec(bar.eqLocal, {-L / 2 * 0.5, qt * L / 2, qt * L * L / 12, -L / 2 * 0.5, qt * L / 2, -qt * L * L / 12});
  EXPECT_NEAR(bar.eqGlobal[2] + bar.eqGlobal[5], -4, 1e-12);
  EXPECT_NEAR(bar.eqGlobal[1] + bar.eqGlobal[4], 0, 1e-12);
  EXPECT_NEAR(bar.V0[10], qt * L / 2, 1e-12);
  EXPECT_NEAR(bar.N0[10], 0.5 * L / 2, 1e-12);
}

TEST(Projection, LoadStartsAtTheProjectedDistanceAlongTheBar) {
  // a = 1.1 horizontal is 1.5556 along the bar; stations are 0.2828 apart.
  const double r = std::sqrt(0.5), L = 4 / r;
  Bar bar = sampleBar(1, L, r, r, kInclinedRight);
  applyBarLoad(bar, makeLoad(3, 1.1, 2, 0.9, -1));
  EXPECT_EQ(bar.V0[5], 0.0);
  EXPECT_NEAR(bar.V0[6], -0.5 * (bar.xs[6] - 1.1 / r), 1e-12);
}

TEST(Projection, HorizontalLoadOnLeftLeaningBarUsesTheVerticalProjection) {
  // Bar along (-0.6, 0.8), length 5: a horizontal load of 2 per vertical metre
  // over the whole height 4 totals 8.
  Bar bar = sampleBar(1, 5, -0.6, 0.8, kInclinedLeft);
  applyBarLoad(bar, makeLoad(3, 0, 4, 0, 2, 'x'));
  EXPECT_NEAR(bar.eqGlobal[1] + bar.eqGlobal[4], 8, 1e-12);
  EXPECT_NEAR(bar.eqGlobal[2] + bar.eqGlobal[5], 0, 1e-12);
  // 1.6 per bar metre, -0.8 * 1.6 across the bar: shears qt L / 2.
  EXPECT_NEAR(bar.eqLocal[2], -1.28 * 5 / 2, 1e-12);
}

// -------------------------------------------------------------------- diagrams

TEST(Diagrams, UniformLoadGivesSimpleBeamMomentQLSquaredOverEightAtMidSpan) {
  // q = 2 down, L = 4: simple-beam reaction 4, mid-span moment wL^2/8 = 4.
  Bar bar = sampleBar(1, 4);
  applyBarLoad(bar, makeLoad(3, 0, 4, 0, -2));
  EXPECT_NEAR(4 * 2 + bar.M0[10], 4, 1e-12);
  EXPECT_NEAR(bar.V0[5], -2, 1e-12);  // load on the first metre
  // Fully restrained: end moment and shear of the bar plus the diagram give wL^2/24.
  EXPECT_NEAR(-bar.fixedEnd[3] + 2 * bar.fixedEnd[2] + bar.M0[10], 4.0 / 3, 1e-12);
  EXPECT_EQ(bar.M0[0], 0.0);
  EXPECT_EQ(bar.M0[20], 0.0);
  EXPECT_EQ(bar.V0[20], 0.0);
}

// Load diagrams of the simple span at given stations (every twentieth of the
// bar), against the resultants and lever arms of the load left of them.
TEST(Diagrams, StationValuesAreTheLoadLeftOfTheStationTimesItsLever) {
  struct Check {
    StationArray Bar::*diagram;
    int station;
    double value, tol;
  };
  struct Case {
    const char* what;
    Bar bar;
    BarLoad load;
    std::vector<Check> checks;
  };
  const auto V0 = &Bar::V0, M0 = &Bar::M0;
  const Case cases[] = {
      // q = 3 down from 1 to 3 on L = 4; at x = 3.6 the resultant 6 acts 1.6 back;
      // inside, at x = 2, 3 over 1 metre acts 0.5 back.
      {"uniform, partial",
       sampleBar(1, 4),
       makeLoad(3, 1, 2, 1, -3),
       {{V0, 18, -6, 1e-12}, {M0, 18, -6 * 1.6, 1e-12}, {M0, 10, -1.5, 1e-12}, {V0, 4, 0, 0}}},
      // Peak 6 down over 1..3 of L = 4 (c = 2). Inside at x = 2 (d = 1): a triangle of
      // height 3 over 1 metre for the rising load, resultant 1.5, lever 1/3; beyond at
      // x = 3.6 the whole resultant 6 acts from 1 + 4/3 (rising) or 1 + 2/3 (falling).
      {"triangle, rising",
       sampleBar(1, 4),
       makeLoad(4, 1, 2, 1, -6),
       {{V0, 10, -1.5, 1e-12}, {M0, 10, -1.5 / 3, 1e-12}, {M0, 18, -6 * (3.6 - 1 - 4.0 / 3), 1e-12}}},
      // Falling, inside at d = 1: a rectangle 3 x 1 (lever 1/2) and a triangle of 3 (lever 2/3).
      {"triangle, falling",
       sampleBar(1, 4),
       makeLoad(5, 1, 2, 1, -6),
       {{V0, 10, -(3 + 1.5), 1e-12},
        {M0, 10, -(3 * 0.5 + 1.5 * 2.0 / 3), 1e-12},
        {M0, 18, -6 * (3.6 - 1 - 2.0 / 3), 1e-12}}},
      {"point force: a step at the force",
       sampleBar(1, 4),
       makeLoad(1, 1.1, 2.9, 0, -10),
       {{V0, 5, 0, 0}, {V0, 6, -10, 1e-12}, {M0, 15, -10 * (3 - 1.1), 1e-12}}},
      // The envelope viewer adds a concentrated action at its point to the value read
      // there, so a station on the action must hold the value left of it.
      {"point force on station 10",
       sampleBar(1, 4),
       makeLoad(1, 2, 2, 0, -10),
       {{V0, 10, 0, 0}, {M0, 10, 0, 0}, {V0, 11, -10, 1e-12}, {M0, 11, -10 * 0.2, 1e-12}}},
      {"point moment on station 10", sampleBar(1, 4), makeLoad(2, 2, 2, 0, 6), {{M0, 10, 0, 0}, {M0, 11, 6, 0}}},
      {"point force within 1e-5 of station 10",
       sampleBar(1, 4),
       makeLoad(1, 1.99999, 2.00001, 0, -10),
       {{V0, 10, 0, 0}, {V0, 11, -10, 1e-12}}},
      // A point moment on an inclined bar is not projected: stations 0.25 apart,
      // the moment at 1 along the bar starts at station 4.
      {"point moment, inclined bar",
       sampleBar(1, 5, 0.6, 0.8, kInclinedRight),
       makeLoad(2, 1, 4, 0, 3),
       {{M0, 3, 0, 0}, {M0, 5, 3, 0}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Bar bar = c.bar;
    applyBarLoad(bar, c.load);
    for (const Check& check : c.checks)
      EXPECT_NEAR((bar.*check.diagram)[check.station], check.value, check.tol) << "station " << check.station;
  }
}

TEST(Diagrams, PointMomentEntersTheMomentDiagramAlikeOnFixedAndHingedBars) {
  Bar fixed = sampleBar(1, 4), hinged = sampleBar(3, 4);
  applyBarLoad(fixed, makeLoad(2, 1.1, 2.9, 0, 6));
  applyBarLoad(hinged, makeLoad(2, 1.1, 2.9, 0, 6));
  for (int k = 1; k <= 19; ++k) {
    EXPECT_EQ(fixed.M0[k], hinged.M0[k]) << k;
    EXPECT_EQ(hinged.M0[k], fixed.xs[k] >= 1.1 ? 6.0 : 0.0) << k;
  }
  // Restrained bar: end moment, end shear and diagram close at J. The hinge
  // of the type 3 bar must come out at zero; the fixed end at its own end moment.
  EXPECT_NEAR(-hinged.fixedEnd[3] + 4 * hinged.fixedEnd[2] + hinged.M0[19], 0.0, 1e-12);
  EXPECT_NEAR(-fixed.fixedEnd[3] + 4 * fixed.fixedEnd[2] + fixed.M0[19], fixed.fixedEnd[6], 1e-12);
}

TEST(Diagrams, TypeZeroBarGetsDiagramsButNoEquivalentLoads) {
  Bar bar = sampleBar(0, 4);
  applyBarLoad(bar, makeLoad(3, 0, 4, 0, -2));
  expectVec(bar.eqLocal, {0, 0, 0, 0, 0, 0}, 0.0);
  EXPECT_NEAR(bar.M0[10], -4, 1e-12);
}

// ------------------------------------------------------ accumulation, self-weight

TEST(Accumulation, LoadsOfOneBarAddUp) {
  Bar bar = sampleBar(1, 4);
  applyBarLoad(bar, makeLoad(1, 2, 2, 0, -10));
  applyBarLoad(bar, makeLoad(3, 0, 4, 0, -3));
  // 10 at mid-span plus 3 per metre: shears 5 + 6, moments 5 + 4.
  expectVec(bar.eqLocal, {0, -11, -9, 0, -11, 9});
  expectVec(bar.fixedEnd, {0, 11, 9, 0, 11, -9});
  EXPECT_NEAR(bar.M0[10], -6, 1e-12);
}

TEST(SelfWeight, IsAUniformDownwardLoadOverTheWholeBar) {
  Bar bar = sampleBar(1, 4);
  bar.w = 3;
  applySelfWeight(bar);
  expectVec(bar.eqLocal, {0, -6, -4, 0, -6, 4});
}

TEST(SelfWeight, OnAnInclinedBarIsPerBarLengthAndNotProjected) {
  // w = 2 on a bar of length 5 weighs 10 whatever its slope.
  Bar bar = sampleBar(1, 5, 0.6, 0.8, kInclinedRight);
  bar.w = 2;
  applySelfWeight(bar);
  EXPECT_NEAR(bar.eqGlobal[2] + bar.eqGlobal[5], -10, 1e-12);
  EXPECT_NEAR(bar.eqGlobal[1] + bar.eqGlobal[4], 0, 1e-12);
  EXPECT_NEAR(bar.eqLocal[2], -1.2 * 5 / 2, 1e-12);
  EXPECT_NEAR(bar.eqLocal[1], -0.8 * 5, 1e-12);
}

// ---------------------------------------------------------------------- errors

TEST(LoadErrors, EachLoadTypeAcceptsItsBarTypesOnly) {
  const int highest[7] = {0, 8, 6, 8, 6, 6, 4};
  for (int ltype = 1; ltype <= 6; ++ltype) {
    for (int type = -1; type <= 10; ++type) {
      SCOPED_TRACE(testing::Message() << "load " << ltype << " bar " << type);
      Bar bar = sampleBar(type, 4);
      bar.h = 0.3;
      Failure f = failureOf([&] { applyBarLoad(bar, makeLoad(ltype, 1, 2, 1, -1)); });
      if (type >= 0 && type <= highest[ltype]) {
        EXPECT_FALSE(f.thrown) << f.text;
      } else {
        EXPECT_EQ(f.text, "ERROR TIPO DE BARRA");
        EXPECT_EQ(f.status, 1);
      }
    }
  }
}

TEST(LoadErrors, WrongDirectionLetterIsRejectedForForceLoadsOnly) {
  for (int ltype : {1, 3, 4, 5}) {
    Bar bar = sampleBar(1, 4);
    Failure f = failureOf([&] { applyBarLoad(bar, makeLoad(ltype, 1, 2, 1, -1, 'z')); });
    EXPECT_EQ(f.text, "ERROR EN DIRECCION DE CARGA");
    EXPECT_EQ(f.status, 1);
    expectVec(bar.eqGlobal, {0, 0, 0, 0, 0, 0}, 0.0);
  }
  for (char dir : {'X', 'Y'}) {
    Bar bar = sampleBar(1, 4);
    EXPECT_FALSE(failureOf([&] { applyBarLoad(bar, makeLoad(1, 2, 2, 0, -1, dir)); }).thrown);
  }
  Bar bar = sampleBar(1, 4);
  bar.h = 0.3;
  EXPECT_FALSE(failureOf([&] { applyBarLoad(bar, makeLoad(2, 1, 3, 0, 1, 'z')); }).thrown);
  EXPECT_FALSE(failureOf([&] { applyBarLoad(bar, makeLoad(6, 0, 0, 0, 1, 'z')); }).thrown);
}

TEST(LoadErrors, LoadTypeOutsideOneToSixIsRejected) {
  for (int ltype : {0, 7, -1}) {
    Bar bar = sampleBar(1, 4);
    Failure f = failureOf([&] { applyBarLoad(bar, makeLoad(ltype, 1, 2, 1, -1)); });
    EXPECT_EQ(f.text, "ERROR TIPO DE CARGA");
    EXPECT_EQ(f.status, 1);
  }
}

TEST(LoadErrors, LoadWithZeroSpanIsRejectedWithoutTouchingTheBar) {
  struct Case {
    BarLoad load;
    const char* sum;
  };
  const Case cases[] = {{makeLoad(1, 0, 0, 5, -1), "a + c"},
                        {makeLoad(2, 2, -2, 0, 1), "a + c"},
                        {makeLoad(3, 0, 0, 0, -1), "a + c + b"},
                        {makeLoad(4, 1, 1, -2, -1), "a + c + b"},
                        {makeLoad(5, 0, 0, 0, -1), "a + c + b"}};
  for (const Case& c : cases) {
    for (int type : {0, 1, 5}) {
      SCOPED_TRACE(testing::Message() << "load " << c.load.ltype << " bar " << type);
      Bar bar = sampleBar(type, 4);
      bar.label = 12;
      Failure f = failureOf([&] { applyBarLoad(bar, c.load); });
      EXPECT_EQ(f.text, std::string("ERROR: UNA CARGA DE LA BARRA 12 TIENE LUZ NULA (") + c.sum + " = 0)\n");
      EXPECT_EQ(f.status, 1);
      for (int i = 1; i <= 6; ++i) EXPECT_EQ(bar.eqGlobal[i], 0.0);
      for (int k = 1; k <= 19; ++k) EXPECT_EQ(bar.M0[k], 0.0);
    }
  }
}

TEST(LoadErrors, SpanTooShortForTheFormulasIsRejectedWithoutTouchingTheBar) {
  Bar bar = sampleBar(1, 4);
  bar.label = 4;
  Failure f = failureOf([&] { applyBarLoad(bar, makeLoad(1, 0.5e-200, 0.5e-200, 0, -1)); });
  EXPECT_EQ(f.text, "ERROR: UNA CARGA DE LA BARRA 4 DA VALORES NO FINITOS\n");
  EXPECT_EQ(f.status, 1);
  for (int i = 1; i <= 6; ++i) EXPECT_EQ(bar.fixedEnd[i], 0.0);
  for (int k = 1; k <= 19; ++k) EXPECT_EQ(bar.V0[k], 0.0);
}

TEST(LoadErrors, TemperatureOnBarWithoutHeightIsRejected) {
  Bar bar = sampleBar(1, 4);
  bar.label = 3;
  bar.E = 1;
  bar.I = 1;
  Failure f = failureOf([&] { applyBarLoad(bar, makeLoad(6, 0, 0, 0, 10)); });
  EXPECT_EQ(f.text, "ERROR: CARGA DE TEMPERATURA EN LA BARRA 3, CUYO CANTO ES NULO\n");
  EXPECT_EQ(f.status, 1);
}

// ------------------------------------------------------------------ loads file

namespace {
Bars threeBars() {
  Bars bars(4);
  bars[1] = sampleBar(1, 4);
  bars[1].label = 7;
  bars[2] = sampleBar(4, 4);
  bars[2].label = 9;
  bars[3] = sampleBar(1, 4);
  bars[3].label = 9;  // a repeated label: the first bar with it gets the load
  return bars;
}

Failure readFailure(const std::string& text, Bars& bars) {
  testsupport::TempFile f(text);
  Scanner scanner(f.file, "viga.caf");
  return failureOf([&] { readAndApplyBarLoads(scanner, bars); });
}
}  // namespace

TEST(LoadsFile, EveryLineGoesToTheFirstBarWithItsLabel) {
  Bars bars = threeBars();
  Failure f = readFailure("7  1  2  2  0  -10 y\r\n9 3 0 4 0 -2 Y\n7 3 0.0 4.0 0.0 -3.0 y\n\n", bars);
  ASSERT_FALSE(f.thrown) << f.text;
  expectVec(bars[1].eqLocal, {0, -11, -9, 0, -11, 9});
  expectVec(bars[2].eqLocal, {0, -4, 0, 0, -4, 0});
  expectVec(bars[3].eqLocal, {0, 0, 0, 0, 0, 0}, 0.0);
}

TEST(LoadsFile, EmptyOrBlankFileIsValid) {
  for (const char* text : {"", "\n  \n", "\r\n"}) {
    Bars bars = threeBars();
    EXPECT_FALSE(readFailure(text, bars).thrown) << '"' << text << '"';
  }
}

TEST(LoadsFile, CtrlZMarksTheEndOfAFileWrittenOnWindows) {
  for (const char* text :
       {"7  1  2  2  0  -10 y\r\n\x1A", "7  1  2  2  0  -10 y\x1A", "7 1 2 2 0 -10 y\r\n\x1A\x1A?? 7 1 2"}) {
    Bars bars = threeBars();
    Failure f = readFailure(text, bars);
    EXPECT_FALSE(f.thrown) << f.text;
    expectVec(bars[1].eqLocal, {0, -5, -5, 0, -5, 5});
  }
  Bars bars = threeBars();
  EXPECT_FALSE(readFailure("\x1A", bars).thrown);
}

TEST(LoadsFile, LoadOnAnInclinedBarFitsItsProjection) {
  // Bar along (0.6, 0.8), length 5: vertical loads are given over its horizontal
  // projection 3, horizontal loads over its vertical projection 4.
  Bars bars(2);
  bars[1] = sampleBar(1, 5, 0.6, 0.8, kInclinedRight);
  bars[1].label = 3;
  for (const char* fits : {"3 1 1.0 2.0 0 -1 y\n", "3 3 0 4 0 -1 x\n", "3 2 1.0 4.0 0 1 y\n"})
    EXPECT_FALSE(readFailure(fits, bars).thrown) << fits;
  EXPECT_EQ(
      readFailure("3 1 2.0 3.0 0 -1 y\n", bars).text,
      "ERROR: LA CARGA 1 DEL FICHERO viga.caf NO CABE EN LA BARRA 3: a + c = 5 Y LA BARRA MIDE 3 EN PROYECCI\xD3N "
      "HORIZONTAL\n");
  EXPECT_EQ(readFailure("3 5 0 3 0 -1 x\n", bars).text,
            "ERROR: LA CARGA 1 DEL FICHERO viga.caf NO CABE EN LA BARRA 3: a + c + b = 3 Y LA BARRA MIDE 4 EN "
            "PROYECCI\xD3N VERTICAL\n");
}

TEST(LoadsFile, UnreadableValueNamesTheFileAndTheLoad) {
  const char* texts[] = {"7 1 2 2 0 -10 y\n7 1 2 x 0 -10 y\n", "7 1 2 2 0 -10 y\n7 1 2 2 0 nan y\n",
                         "7 1 2 2 0 -10 y\n7 1 2 2 0 inf y\n", "7 1 2 2 0 -10 y\n7 1 2 2\n",
                         "7 1 2 2 0 -10 y\n7 1 2 2 0 -10\n"};
  for (const char* text : texts) {
    Bars bars = threeBars();
    Failure f = readFailure(text, bars);
    EXPECT_EQ(f.text, readErrorText("viga.caf", "carga 2")) << text;
    EXPECT_EQ(f.status, 1);
  }
}

TEST(LoadsFile, LoadNamingNoBarIsRejected) {
  Bars bars = threeBars();
  Failure f = readFailure("7 1 2 2 0 -10 y\n8 1 2 2 0 -10 y\n", bars);
  EXPECT_EQ(f.text, "ERROR: LA CARGA 2 DEL FICHERO viga.caf ES DE LA BARRA 8, QUE NO EXISTE\n");
  EXPECT_EQ(f.status, 1);
}

TEST(LoadsFile, UnknownLoadTypeIsRejected) {
  for (const char* text : {"7 0 2 2 0 -10 y\n", "7 7 2 2 0 -10 y\n"}) {
    Bars bars = threeBars();
    Failure f = readFailure(text, bars);
    EXPECT_EQ(f.text, "ERROR TIPO DE CARGA");
    EXPECT_EQ(f.status, 1);
  }
}

TEST(LoadsFile, BarTypeAndDirectionErrorsComeThroughTheReader) {
  Bars bars(2);
  bars[1] = sampleBar(8, 4);
  bars[1].label = 5;
  Failure f = readFailure("5 3 0 4 0 -1 y\n5 4 0 4 0 -1 y\n", bars);
  EXPECT_EQ(f.text, "ERROR TIPO DE BARRA");
  EXPECT_EQ(f.status, 1);
  EXPECT_EQ(readFailure("5 1 2 2 0 -1 w\n", bars).text, "ERROR EN DIRECCION DE CARGA");
}

TEST(LoadsFile, TheFirstLineAtFaultIsReportedThoughALaterOneCannotBeRead) {
  const std::pair<const char*, const char*> cases[] = {
      {"7 3 0 4 0 1e308 y\n7 1 2 x\n", "ERROR: UNA CARGA DE LA BARRA 7 DA VALORES NO FINITOS\n"},
      {"7 1 2 2 0 -10 y\n7 3 0 5 0 -1 y\n7 1 2 x\n",
       "ERROR: LA CARGA 2 DEL FICHERO viga.caf NO CABE EN LA BARRA 7: a + c + b = 5 Y LA BARRA MIDE 4\n"}};
  for (const auto& [text, message] : cases) {
    Bars bars = threeBars();
    EXPECT_EQ(readFailure(text, bars).text, message) << text;
  }
}
