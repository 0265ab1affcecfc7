// True extremes of a bar's curves against closed-form beam theory, and the
// polynomial pieces they are found on against the bar's own line.
#include <gtest/gtest.h>

#include <cmath>

#include "calcest/elastic_curve.h"
#include "calcest/tests/sample_bar.h"
#include "calcest/true_extremes.h"

using namespace calcest;

namespace {

constexpr double kEI = 6.0;  // the sample bar's

// A simple span of 6 under 5 per metre and 100 at 2.85, between the stations
// 2.7 and 3.0: the largest moment is under the force, P a b / L + w a b / 2.
TEST(TrueExtremes, SimpleSpan_PointLoadBetweenStations_PeakIsPabOverLUnderTheLoad) {
  const double L = 6, w = 5, P = 100, a = 2.85, b = L - a;
  const Bar bar = sampleBar(1, L);
  const ElasticCurve curve(bar, {loadOn(1, 3, 0, L, 0, -w), loadOn(1, 1, a, b, 0, -P)}, false, {},
                           {0, 0, P * b / L + w * L / 2, 0, 0, P * a / L + w * L / 2, 0});
  const TrueExtreme peak = trueExtreme(momentCurve(curve), 0, L, true);
  EXPECT_NEAR(peak.value, P * a * b / L + w * a * b / 2, 1e-9);
  EXPECT_NEAR(peak.x, a, 1e-12);
  // The largest at a station is short of it.
  double stations = -INFINITY;
  for (double x : bar.xs) stations = std::max(stations, curve.moment(x));
  EXPECT_LT(stations, peak.value - 1);
}

// A propped cantilever, pinned at node I and fixed at J, under w: the span
// moment 9wL^2/128 at 3L/8 from the pin, the deflection's peak where
// L^3 - 9 L x^2 + 8 x^3 = 0, x = (1 + sqrt 33)/16 L = 0.4215 L, of
// w L^4 / 48EI (xi - 3 xi^3 + 2 xi^4), about w L^4 / 185 EI.
TEST(TrueExtremes, ProppedCantilever_SpanMomentAndDeflectionPeaksOfTheirClosedForms) {
  const double L = 8, w = 3;
  const double rotation = -w * L * L * L / (48 * kEI);
  const ElasticCurve curve(sampleBar(1, L), {loadOn(1, 3, 0, L, 0, -w)}, false, {0, 0, 0, rotation, 0, 0, 0},
                           {0, 0, 3 * w * L / 8, 0, 0, 5 * w * L / 8, -w * L * L / 8});
  const TrueExtreme moment = trueExtreme(momentCurve(curve), 0, L, true);
  EXPECT_NEAR(moment.value, 9 * w * L * L / 128, 1e-9);
  EXPECT_NEAR(moment.x, 3 * L / 8, 1e-9);
  const TrueExtreme hogging = trueExtreme(momentCurve(curve), 0, L, false);
  EXPECT_NEAR(hogging.value, -w * L * L / 8, 1e-9);
  EXPECT_EQ(hogging.x, L);
  const double xi = (1 + std::sqrt(33.0)) / 16;
  const TrueExtreme sag = trueExtreme(deflectionCurve(curve, 0, 1000), 0, L, false);
  EXPECT_NEAR(sag.x, xi * L, 1e-7);
  EXPECT_NEAR(sag.value, -1000 * w * std::pow(L, 4) / (48 * kEI) * (xi - 3 * std::pow(xi, 3) + 2 * std::pow(xi, 4)),
              1e-9 * std::fabs(sag.value));
  EXPECT_NEAR(sag.value, -1000 * w * std::pow(L, 4) / (185 * kEI), 3e-3 * std::fabs(sag.value));
}

// A step is taken on both sides: the smaller side of a couple's jump is the
// smallest moment, at the couple's place, on its left.
TEST(TrueExtremes, CoupleJump_BothSidesAreCandidates) {
  const double L = 7, C = 9, a = 3;
  const ElasticCurve curve(sampleBar(1, L), {loadOn(1, 2, a, L - a, 0, C)}, false, {}, {0, 0, -C / L, 0, 0, C / L, 0});
  const TrueExtreme low = trueExtreme(momentCurve(curve), 0, L, false),
                    high = trueExtreme(momentCurve(curve), 0, L, true);
  EXPECT_NEAR(low.value, -C * a / L, 1e-12);
  EXPECT_NEAR(high.value, C * (L - a) / L, 1e-12);
  EXPECT_NEAR(low.x, a, 1e-12);
  EXPECT_NEAR(high.x, a, 1e-12);
  EXPECT_NE(low.rightSide, high.rightSide);
}

// A switching sum: max(0, 1 - 4t^2) + 0.1 t on [-1, 1] is largest at
// t = 0.0125 (where -8t + 0.1 = 0) and smallest at -1, where the first term
// is switched off.
TEST(TrueExtremes, SwitchingSum_PeakOfTheTermsThatCount) {
  const PiecewiseCurve hill{{-1, 1, {-3, 8, -4}}};  // 1 - 4t^2 in powers of (t + 1)
  const PiecewiseCurve slope{{-1, 1, {-0.1, 0.1}}};
  const std::vector<SwitchingTerm> terms{{hill, 1, 0}, {slope, 1, 1}};
  const TrueExtreme top = trueExtreme(terms, -1, 1, true), bottom = trueExtreme(terms, -1, 1, false);
  EXPECT_NEAR(top.x, 0.0125, 1e-12);
  EXPECT_NEAR(top.value, 1 - 4 * 0.0125 * 0.0125 + 0.00125, 1e-12);
  EXPECT_NEAR(bottom.x, -1, 1e-12);
  EXPECT_NEAR(bottom.value, -0.1, 1e-12);
  EXPECT_LT(bottom.terms[0], 0);
}

TEST(PolynomialRoots, AreTheRootsInsideTheStretch) {
  // (t - 0.2)(t - 0.5)(t - 0.9)(t + 1)(t - 3), expanded.
  const std::array<double, 6> c{0.27, -2.01, 3.25, 0.93, -3.6, 1};
  const std::vector<double> roots = polynomialRoots(c, 0, 1);
  ASSERT_EQ(roots.size(), 3u);
  EXPECT_NEAR(roots[0], 0.2, 1e-14);
  EXPECT_NEAR(roots[1], 0.5, 1e-14);
  EXPECT_NEAR(roots[2], 0.9, 1e-14);
  EXPECT_TRUE(polynomialRoots({0, 0, 0, 0, 0, 0}, 0, 1).empty());
}

}  // namespace
