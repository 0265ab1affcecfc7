// The results page's bands against hand figures: a simply supported 6 m span
// under 10 kN/m (qL²/8 = 45, qL/2 = 30, 5qL⁴/384EI = 1.04 mm) laid out in
// 600 × 450 pixels with a 7 × 15 font, and the three-span beam's overhang
// (-qa²/2 = -20 at its support, its tip's deflection labelled).
#include <gtest/gtest.h>

#include "vigas/result_bands.h"
#include "vigas/tests/test_beams.h"

using namespace vigas;
using namespace vigastest;

namespace {

const BandLabel* labelOf(const ResultBand& band, const std::string& text) {
  for (const BandLabel& l : band.labels)
    if (l.text == text) return &l;
  return nullptr;
}

CaseResults simpleSpan() {
  BeamChoices c = threeSpanChoices();
  c.spans = {6.0};
  c.rightOverhang = 0;
  c.supports = {{SupportKind::pinned, 0}, {}};
  return analyseCase(buildContinuousBeam(c).content, 0);
}

}  // namespace

TEST(ResultBands, ASimpleSpanIsLaidOutAsByHand) {
  const std::vector<ResultBand> bands = resultBands(simpleSpan(), 600, 450, {7, 15});
  ASSERT_EQ(bands.size(), 3u);
  // Each band 150 high: a title line, a line of labels each side
  // 2 pixels off the curve, 101 for the curve.
  struct Expected {
    int top, axis;
    const char* text;
    int left, labelTop;
  } expected[] = {
      {0, 32, "45.00", 283, 135},     // sagging drawn down, its label under it
      {300, 332, "-1.04", 283, 435},  // the sag below the axis
  };
  for (const Expected& e : expected) {
    const ResultBand& band = bands[e.top == 0 ? 0 : 2];
    SCOPED_TRACE(band.title);
    EXPECT_EQ(band.top, e.top);
    EXPECT_EQ(band.height, 150);
    EXPECT_EQ(band.axisY, e.axis);
    const BandLabel* l = labelOf(band, e.text);
    ASSERT_NE(l, nullptr);
    EXPECT_EQ(l->left, e.left);
    EXPECT_EQ(l->right, e.left + 35);
    EXPECT_EQ(l->top, e.labelTop);
    EXPECT_EQ(l->bottom, e.labelTop + 15);
  }
  EXPECT_EQ(bands[0].title, "Momentos flectores (kN\xB7m)");
  EXPECT_EQ(bands[1].axisY, 150 + 32 + 51);  // ±30 over 101 pixels, 50.5 rounded up
  EXPECT_TRUE(labelOf(bands[1], "30.00") || labelOf(bands[1], "-30.00"));
  EXPECT_EQ(bands[0].supports, (std::vector<int>{28, 572}));
}

TEST(ResultBands, TheOverhangTipAndSupportAreLabelled) {
  const CaseResults results = analyseCase(threeSpanBeam(), 0);  // spans 6, 8, 5, a 2 m overhang
  const std::vector<ResultBand> bands = resultBands(results, 1000, 480, {7, 15});
  ASSERT_EQ(bands.size(), 3u);
  const int tip = 28 + 944, support = 28 + 854;  // 21 m and 19 m over 944 pixels
  const BandLabel* hogging = labelOf(bands[0], "-20.00");
  ASSERT_NE(hogging, nullptr);
  EXPECT_LE(hogging->left, support);
  EXPECT_GE(hogging->right, support);
  const BandLabel* last = nullptr;
  for (const BandLabel& l : bands[2].labels)
    if (l.left <= tip && l.right >= tip) last = &l;
  ASSERT_NE(last, nullptr) << "no label at the overhang's tip";
  EXPECT_NE(last->text.find('.'), std::string::npos);
}

TEST(ResultBands, LabelsStayInTheirBandApartFromEachOther) {
  const CaseResults cases[] = {simpleSpan(), analyseCase(threeSpanBeam(), 0)};
  const int sizes[][2] = {{1000, 480}, {800, 420}, {600, 300}};
  for (const CaseResults& results : cases)
    for (const auto& size : sizes) {
      const std::vector<ResultBand> bands = resultBands(results, size[0], size[1], {7, 15});
      ASSERT_EQ(bands.size(), 3u);
      for (const ResultBand& band : bands) {
        SCOPED_TRACE(band.title + " at " + std::to_string(size[0]) + "x" + std::to_string(size[1]));
        EXPECT_FALSE(band.labels.empty());
        for (size_t a = 0; a < band.labels.size(); ++a) {
          const BandLabel& l = band.labels[a];
          EXPECT_GE(l.left, 0);
          EXPECT_LE(l.right, size[0]);
          EXPECT_GE(l.top, band.top + 15);  // under the title
          EXPECT_LE(l.bottom, band.top + band.height);
          for (size_t b = a + 1; b < band.labels.size(); ++b) {
            const BandLabel& o = band.labels[b];
            EXPECT_FALSE(l.left < o.right && o.left < l.right && l.top < o.bottom && o.top < l.bottom)
                << l.text << " over " << o.text;
          }
        }
      }
    }
}

TEST(ResultBands, ATinyWindowKeepsBandsOfThreeLinesAndACurve) {
  const int sizes[][2] = {{50, 30}, {0, 0}, {-5, -5}};
  for (const auto& size : sizes) {
    const std::vector<ResultBand> bands = resultBands(simpleSpan(), size[0], size[1], {7, 15});
    ASSERT_EQ(bands.size(), 3u);
    for (const ResultBand& band : bands) {
      EXPECT_EQ(band.height, 3 * 15 + 4 + 20);  // title, a line each side 2 pixels off, 20 for the curve
      for (const BandLabel& l : band.labels) {
        EXPECT_GE(l.top, band.top + 15);
        EXPECT_LE(l.bottom, band.top + band.height);
        EXPECT_GE(l.left, 0);
      }
    }
  }
}

TEST(ResultBands, NoBandsForAModelThatIsNoBeam) {
  CaseResults refused;
  refused.error = "no";
  EXPECT_TRUE(resultBands(refused, 800, 450, {7, 15}).empty());
}
