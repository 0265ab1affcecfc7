#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "common/model.h"
#include "common/run_error.h"
#include "common/testing/test_support.h"

using namespace common;

// Models are read from in-memory texts through temporary files, as the
// calculation programs read them.
using testsupport::runErrorText;
using testsupport::TempFile;

TEST(NodeSort, LabelsTenThreeSevenGetIndicesThreeOneTwo) {
  TempFile f("10 0 0\n3 5 0\n7 2.5 0\n");
  Scanner scanner(f.file, "m.dat");
  ModelReader reader(scanner);
  auto nodes = reader.readNodes(3);
  ASSERT_EQ(nodes.size(), 4u);
  EXPECT_EQ(nodes[1].label, 3);
  EXPECT_EQ(nodes[2].label, 7);
  EXPECT_EQ(nodes[3].label, 10);
  EXPECT_DOUBLE_EQ(nodes[3].x, 0.0);
  EXPECT_EQ(findNodeIndex(nodes, 10), 3);
  EXPECT_EQ(findNodeIndex(nodes, 3), 1);
  EXPECT_EQ(findNodeIndex(nodes, 4), 0);
}

TEST(NodeSort, DuplicateLabelIsRejected) {
  TempFile f("1 0 0\n2 5 0\n1 9 0\n");
  Scanner scanner(f.file, "m.dat");
  ModelReader reader(scanner);
  EXPECT_EQ(runErrorText([&] { reader.readNodes(3); }), "ERROR: DOS NODOS CON LA ETIQUETA 1\n");
}

class BarReading : public ::testing::Test {
 protected:
  std::vector<Node> nodes() {
    TempFile f("1 0 0\n2 4 0\n3 4 3\n4 4 -2\n");
    Scanner scanner(f.file, "m.dat");
    ModelReader reader(scanner);
    return reader.readNodes(4);
  }
  std::vector<BarInput> read(const std::string& text, int nb, int& maxw) {
    TempFile f(text);
    Scanner scanner(f.file, "viga.dat");
    ModelReader reader(scanner);
    return reader.readBars(nb, nodes(), maxw);
  }
  std::string failure(const std::string& text) {
    int maxw = 0;
    return runErrorText([&] { read(text, 1, maxw); });
  }
};

TEST_F(BarReading, FractionsAddingExactlyToOneAreAccepted) {
  int maxw = 0;
  auto bars = read("1 1 2 1 1 1 0\n0.1 0.2 0.7 0 1.0\n", 1, maxw);
  EXPECT_EQ(bars[1].nodeI, 1);
  EXPECT_EQ(bars[1].nodeJ, 2);
  EXPECT_EQ(maxw, 6);
}

TEST_F(BarReading, FractionsThatRoundBelowOneAreRejectedWithTheDcbLines) {
  EXPECT_EQ(failure("1 1 2 1 1 1 0\n0.7 0.2 0.1 0 1.0\n"),
            "ERROR dcb\nI=1\naclx= 0.700000  adlx= 0.200000  ablx= 0.100000\naclx+adlx+ablx= 1.000000  \n");
}

TEST_F(BarReading, ZeroFlexibleFractionIsRejected) {
  EXPECT_EQ(failure("1 1 2 1 1 1 0\n0 0.5 0.5 0 1.0\n"), "ERROR dcbi=1");
}

TEST_F(BarReading, UnknownNodeAndSameNodeAtBothEndsAreRejected) {
  EXPECT_EQ(failure("1 1 9 1 1 1 0\n1 0 0 0 1.0\n"), "ERROR EN NODOS/ELEMENTO");
  EXPECT_EQ(failure("1 2 2 1 1 1 0\n1 0 0 0 1.0\n"), "ERROR EN NODOS/ELEMENTO");
}

TEST_F(BarReading, RightToLeftHorizontalAndDownwardVerticalBarsAreRejected) {
  EXPECT_NE(failure("1 2 1 1 1 1 0\n1 0 0 0 1.0\n").find("IZQUIERDA A DERECHA"), std::string::npos);
  EXPECT_NE(failure("1 3 2 1 1 1 0\n1 0 0 0 1.0\n").find("ABAJO HACIA ARRIBA"), std::string::npos);
}

TEST_F(BarReading, GeometryOfVerticalAndInclinedBars) {
  int maxw = 0;
  auto bars = read("1 2 3 1 1 1 0\n1 0 0 0 1.0\n2 1 3 1 1 1 0\n1 0 0 0 1.0\n3 4 1 1 1 1 0\n1 0 0 0 1.0\n", 3, maxw);
  EXPECT_EQ(bars[1].orient, kVertical);
  EXPECT_DOUBLE_EQ(bars[1].L, 3.0);
  EXPECT_DOUBLE_EQ(bars[1].sin, 1.0);
  EXPECT_EQ(bars[2].orient, kInclinedRight);
  EXPECT_DOUBLE_EQ(bars[2].L, 5.0);
  EXPECT_DOUBLE_EQ(bars[2].cos, 0.8);
  EXPECT_DOUBLE_EQ(bars[2].sin, 0.6);
  EXPECT_EQ(bars[3].orient, kInclinedLeft);
  EXPECT_DOUBLE_EQ(bars[3].cos, -4.0 / std::sqrt(20.0));
  EXPECT_DOUBLE_EQ(bars[2].xs[20], 5.0);
  EXPECT_DOUBLE_EQ(bars[2].xs[10], 2.5);
  EXPECT_EQ(maxw, 12);  // bar from node 1 to node 3... and 4 to 1 spans four nodes
}

TEST_F(BarReading, MissingValueNamesFileAndItem) {
  std::string text = failure("1 1 2 1 1 1 0\n1 0 x 0 1.0\n");
  EXPECT_NE(text.find("viga.dat"), std::string::npos);
  EXPECT_NE(text.find("barra 1, segunda l\xEDnea"), std::string::npos);
}

TEST_F(BarReading, NanAndInfinityAreRejected) {
  EXPECT_NE(failure("1 1 2 1 1 1 0\n1 0 0 0 nan\n").find("barra 1"), std::string::npos);
  EXPECT_NE(failure("1 1 2 1 1 1 0\ninf 0 0 0 1\n").find("barra 1"), std::string::npos);
}

TEST(BarProperties, TaperTwoGivesOneAndHalfHeightAndThreeQuarterTimesFiveInertia) {
  BarInput bar;
  bar.taper = 2.0;
  Material mat{30e6, 12e6, 2.5, 2.5 / 9.806, 1e-5, 1};
  Section sec{0.12, 0.0016, 0.3, 0.4, 1};
  applyBarProperties(bar, mat, sec);
  EXPECT_DOUBLE_EQ(bar.h, 0.6);
  EXPECT_DOUBLE_EQ(bar.A, 0.18);
  EXPECT_DOUBLE_EQ(bar.I, 3.75 * 0.0016);
  EXPECT_DOUBLE_EQ(bar.w, 2.5 * 0.18);
  bar.taper = 1.0;
  applyBarProperties(bar, mat, sec);
  EXPECT_DOUBLE_EQ(bar.A, 0.12);
  EXPECT_DOUBLE_EQ(bar.I, 0.0016);
}

TEST(Header, TitleCountsAndChecks) {
  TempFile good("VIGA   1    0\n2 3 3 0 1 1 0 0 1\n0.0\n");
  Scanner s1(good.file, "m.dat");
  ModelHeader h = ModelReader(s1).readHeader();
  EXPECT_EQ(h.title, "VIGA");
  EXPECT_EQ(h.nb, 2);
  EXPECT_EQ(h.selfWeight, 1);

  TempFile longTitle("ABCDEFGHIJKLMNOPQRSTUVWXY 1 0\n1 2 2 0 1 1 0 0 0\n0\n");
  Scanner s2(longTitle.file, "m.dat");
  EXPECT_NE(runErrorText([&] { ModelReader(s2).readHeader(); }).find("23"), std::string::npos);

  TempFile negative("V 1 0\n1 -2 2 0 1 1 0 0 0\n0\n");
  Scanner s3(negative.file, "m.dat");
  EXPECT_NE(runErrorText([&] { ModelReader(s3).readHeader(); }).find("NEGATIVA"), std::string::npos);

  TempFile huge("V 1 0\n1 900000000 2 0 1 1 0 0 0\n0\n");
  Scanner s4(huge.file, "m.dat");
  EXPECT_NE(runErrorText([&] { ModelReader(s4).readHeader(); }).find("NO CABEN"), std::string::npos);
}

TEST(UnitConstants, CodesThreeAndFourUseCentimetreGravity) {
  EXPECT_DOUBLE_EQ(unitConstantsFor(3).g, 980.6);
  EXPECT_DOUBLE_EQ(unitConstantsFor(4).scale, 10.0);
  EXPECT_DOUBLE_EQ(unitConstantsFor(0).g, 9.806);
  EXPECT_DOUBLE_EQ(unitConstantsFor(1).scale, 1000.0);
}

class SupportReading : public ::testing::Test {
 protected:
  Support read(const std::string& text) {
    TempFile nodesFile("5 0 0\n");
    Scanner ns(nodesFile.file, "m.dat");
    auto nodes = ModelReader(ns).readNodes(1);
    TempFile f(text + "\n999\n");
    Scanner s(f.file, "m.dat");
    Support support = ModelReader(s).readSupport(1, nodes);
    int next = 0;
    s.read("next", "%d", &next);
    EXPECT_EQ(next, 999) << "support reading left the file out of step";
    return support;
  }
};

TEST_F(SupportReading, EachCodeReadsItsValuesIntoItsFields) {
  using Field = double Support::*;
  struct Case {
    const char* line;
    std::vector<std::pair<Field, double>> fields;
  } cases[] = {
      // Code 222: three springs.
      {"5  222 100 200 300", {{&Support::kx, 100}, {&Support::ky, 200}, {&Support::kz, 300}}},
      // Codes of the digit set: one value per non-zero digit.
      {"5 21 1500 0.002", {{&Support::ky, 1500}, {&Support::rz, 0.002}}},
      {"5 121 0.01 800 0.003", {{&Support::dx, 0.01}, {&Support::ky, 800}, {&Support::rz, 0.003}}},
      {"5 10 -0.01", {{&Support::dy, -0.01}}},
      // Inclined codes: the angle is given in degrees.
      {"5 14 0.5 90 0.25", {{&Support::dx, 0.5}, {&Support::angle, 90 * 0.017453292522222223}, {&Support::rz, 0.25}}},
      {"5 64 1000 30 50", {{&Support::kx, 1000}, {&Support::kz, 50}}},
      // An unlisted code: two values into dx and dy.
      {"5 333 0.1 0.2", {{&Support::dx, 0.1}, {&Support::dy, 0.2}}},
  };
  for (const Case& c : cases) {
    Support s = read(c.line);
    EXPECT_EQ(s.index, 1) << c.line;
    for (auto [field, value] : c.fields) EXPECT_DOUBLE_EQ(s.*field, value) << c.line;
  }
}

// Whatever the code, the reader takes the values its type names, in order,
// and no more (the next line stays in step).
TEST_F(SupportReading, EveryCodeReadsTheFieldsItsTypeNames) {
  for (int code = 0; code <= 999; ++code) {
    const std::vector<SupportField> fields = SupportCode(code).fields();
    std::string line = "5 " + std::to_string(code);
    for (size_t k = 0; k < fields.size(); ++k) line += " " + std::to_string(k + 1) + ".5";
    const Support s = read(line);
    for (size_t k = 0; k < fields.size(); ++k) {
      const double angleFactor = fields[k] == SupportField::angle ? kDegreesToRadians : 1.0;
      EXPECT_DOUBLE_EQ(supportValue(s, fields[k]), (k + 1.5) * angleFactor) << line;
    }
  }
}

TEST(SupportCodes, DigitCodeSet) {
  EXPECT_TRUE(isDigitSupportCode(12));
  EXPECT_TRUE(isDigitSupportCode(221));
  EXPECT_FALSE(isDigitSupportCode(2));
  EXPECT_FALSE(isDigitSupportCode(54));
  EXPECT_FALSE(isDigitSupportCode(230));
}
