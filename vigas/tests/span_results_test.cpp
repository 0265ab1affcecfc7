// The results span by span against closed-form statics: a simply supported
// span under a uniform load (qL²/8 at midspan, qL/2 at the ends, 5qL⁴/384EI)
// and the overhang of the three-span beam (-qa²/2 and qa at its support).
#include <gtest/gtest.h>

#include <cmath>

#include "vigas/span_results.h"
#include "vigas/tests/test_beams.h"

using namespace vigas;
using namespace vigastest;

TEST(SpanResults, ASimplySupportedSpanGivesItsClosedFormExtremes) {
  BeamChoices c = threeSpanChoices();  // 0.3 x 0.6, E = 3e7, 10 kN/m permanent
  c.spans = {6.0};
  c.rightOverhang = 0;
  c.supports = {{SupportKind::pinned, 0}, {}};
  const CaseResults results = analyseCase(buildContinuousBeam(c).content, 0);
  ASSERT_EQ(results.error, "");
  const std::vector<SpanSummary> spans = spanSummaries(results);
  ASSERT_EQ(spans.size(), 1u);
  const SpanSummary& s = spans[0];
  const double q = 10, L = 6, EI = 3e7 * 0.3 * 0.6 * 0.6 * 0.6 / 12;
  EXPECT_EQ(s.name, "vano 1");
  EXPECT_NEAR(s.maxMoment, q * L * L / 8, 1e-9);
  EXPECT_NEAR(s.maxMomentAt, L / 2, 1e-6);
  EXPECT_NEAR(s.minMoment, 0, 1e-9);
  EXPECT_NEAR(std::fabs(s.shear), q * L / 2, 1e-9);
  EXPECT_NEAR(s.shear, s.shearAt < L / 2 ? q * L / 2 : -q * L / 2, 1e-9);  // the left part pushed up at the left end
  const double delta = 5 * q * L * L * L * L / (384 * EI);
  EXPECT_NEAR(s.deflection, -delta, 1e-9 * delta);
  EXPECT_NEAR(s.deflectionAt, L / 2, 1e-6);
  EXPECT_NEAR(s.ratio, L / delta, 1e-6 * L / delta);
}

TEST(SpanResults, AnOverhangHoldsItsLoadAsACantilever) {
  const CaseResults results = analyseCase(threeSpanBeam(), 0);  // spans 6, 8, 5, a 2 m overhang, 10 kN/m
  ASSERT_EQ(results.error, "");
  const std::vector<SpanSummary> spans = spanSummaries(results);
  ASSERT_EQ(spans.size(), 4u);
  const char* names[] = {"vano 1", "vano 2", "vano 3", "voladizo derecho"};
  const double lengths[] = {6, 8, 5, 2};
  for (size_t k = 0; k < 4; ++k) {
    EXPECT_EQ(spans[k].name, names[k]);
    EXPECT_EQ(spans[k].kind, k < 3 ? SpanSummary::span : SpanSummary::rightOverhang);
    EXPECT_DOUBLE_EQ(spans[k].length, lengths[k]);
  }
  const SpanSummary& tip = spans[3];
  EXPECT_NEAR(tip.minMoment, -10 * 2 * 2 / 2.0, 1e-9);
  EXPECT_NEAR(tip.minMomentAt, 0, 1e-9);
  EXPECT_NEAR(tip.shear, 10 * 2, 1e-9);
  EXPECT_NEAR(tip.shearAt, 0, 1e-9);
  EXPECT_NEAR(tip.deflectionAt, 2, 1e-9);  // the tip, from the support's level
}
