// Sections by their dimensions and materials by their names: b × h and a T's
// flange give A and I (checked against the parts' inertias about the
// centroid, worked apart), a typed A or I that is not b × h's is shown with
// both values, a material's name gives its values; and a decimal comma.
#include <gtest/gtest.h>

#include "vigas/document.h"
#include "vigas/sections.h"
#include "vigas/tests/test_beams.h"

using namespace vigas;
using namespace vigastest;

namespace {

CellPlace section(int column) { return {Table::sections, 1, column, 0}; }

double number(const Document& d, const CellPlace& place) { return std::stod(d.cellText(place)); }

// A flange bf × hf on top of a web b × (h - hf): each part's own inertia and
// its area times the square of its distance to the centroid.
struct Tee {
  double A, I;
};
Tee teeByParts(double b, double h, double bf, double hf) {
  const double Af = bf * hf, Aw = b * (h - hf);
  const double yf = hf / 2, yw = hf + (h - hf) / 2;  // from the top
  const double y = (Af * yf + Aw * yw) / (Af + Aw);
  return {Af + Aw, bf * hf * hf * hf / 12 + Af * (y - yf) * (y - yf) + b * (h - hf) * (h - hf) * (h - hf) / 12 +
                       Aw * (yw - y) * (yw - y)};
}

}  // namespace

TEST(Sections, ANewDepthGivesTheRectangleItsAreaAndInertia) {
  Document d(threeSpanBeam());  // 0.3 x 0.6
  ASSERT_TRUE(d.setCell(section(4), "0.7").done);
  EXPECT_DOUBLE_EQ(number(d, section(1)), 0.3 * 0.7);
  EXPECT_DOUBLE_EQ(number(d, section(2)), 0.3 * 0.7 * 0.7 * 0.7 / 12);
  EXPECT_EQ(d.cellText(section(2)), "0.008575");  // in the digits a person writes
  ASSERT_TRUE(d.undo());
  EXPECT_DOUBLE_EQ(number(d, section(2)), 0.3 * 0.6 * 0.6 * 0.6 / 12);
}

TEST(Sections, AFlangeMakesATeeThatReadsBackFromItsAreaAndInertia) {
  Document d(threeSpanBeam());
  ASSERT_TRUE(d.setCell(section(kFlangeWidth), "1.2").done);
  ASSERT_TRUE(d.setCell(section(kFlangeDepth), "0,15").done);
  const Tee expected = teeByParts(0.3, 0.6, 1.2, 0.15);
  EXPECT_NEAR(number(d, section(1)), expected.A, 1e-12);
  EXPECT_NEAR(number(d, section(2)), expected.I, 1e-12 * expected.I);
  // The file holds A, I, b and h: the flange is read back from them.
  Document opened(d.content());
  EXPECT_EQ(opened.cellText(section(kFlangeWidth)), "1.2");
  EXPECT_EQ(opened.cellText(section(kFlangeDepth)), "0.15");
  // A deeper web keeps the flange.
  ASSERT_TRUE(opened.setCell(section(4), "0.8").done);
  EXPECT_NEAR(number(opened, section(2)), teeByParts(0.3, 0.8, 1.2, 0.15).I, 1e-12);
  EXPECT_TRUE(opened.notices().empty());
  // No flange: the rectangle again.
  ASSERT_TRUE(opened.setCell(section(kFlangeWidth), "").done);
  EXPECT_DOUBLE_EQ(number(opened, section(1)), 0.3 * 0.8);
}

TEST(Sections, ATypedInertiaThatIsNotThatOfBTimesHIsShownWithBoth) {
  Document d(threeSpanBeam());
  ASSERT_TRUE(d.setCell(section(2), "0.0054").done);  // b h^3 / 12 itself
  EXPECT_TRUE(d.notices().empty());
  ASSERT_TRUE(d.setCell(section(2), "0.005449").done);  // within 1 %
  EXPECT_TRUE(d.notices().empty());
  ASSERT_TRUE(d.setCell(section(2), "0.0062").done);
  const std::string notice = d.noticeAt(section(2));
  EXPECT_NE(notice.find("0.0062"), std::string::npos) << notice;
  EXPECT_NE(notice.find("0.0054"), std::string::npos) << notice;
  EXPECT_EQ(d.noticeAt(section(1)), notice);
  EXPECT_TRUE(d.errors().empty());  // a notice is no error: the beam saves
}

TEST(Materials, ANameGivesTheStandardValues) {
  Document d(threeSpanBeam());
  const CellPlace name{Table::materials, 1, kMaterialName, 0};
  EXPECT_EQ(d.cellText(name), "");
  ASSERT_TRUE(d.setCell(name, "ha-30").done);
  EXPECT_EQ(d.cellText(name), "HA-30");
  // 8500 (30 + 8)^(1/3) MPa in kN/m², to five digits; G = E / 2.4.
  EXPECT_EQ(d.content().model.materials[1].E, 2.8577e7);
  EXPECT_EQ(d.content().model.materials[1].G, 1.1907e7);
  EXPECT_EQ(d.content().model.materials[1].gamma, 25);
  const EditResult unknown = d.setCell(name, "HA-22");
  EXPECT_FALSE(unknown.done);
  EXPECT_NE(unknown.reason.find("HA-50"), std::string::npos);
}

TEST(CellRules, ADecimalCommaIsADecimalPoint) {
  Document d(threeSpanBeam());
  ASSERT_TRUE(d.setCell({Table::nodes, 2, 1, 0}, "6,5").done);
  EXPECT_EQ(d.content().model.nodes[2].x, 6.5);
  ASSERT_TRUE(d.setCell({Table::loads, 1, 5, 0}, "-1,25e1").done);
  EXPECT_EQ(d.content().cases[0].loads[0].q, -12.5);
}
