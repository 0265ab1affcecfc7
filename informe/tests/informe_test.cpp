// Readers of the files the report is made from, the shape functions that join
// a mode's node values along the bars, and how the pictures write their
// values.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "informe/drawings.h"
#include "informe/mode_mesh.h"
#include "projectfiles/modes_file.h"
#include "projectfiles/result_files.h"
#include "common/run_error.h"
#include "common/testing/test_support.h"
#include "informe/structure.h"

namespace informe {

using namespace common;
namespace {
using projectfiles::Token;

// ---- how finely a model follows its modes -------------------------------------------

// A simple span of 8 m in n equal bars: its n-th bending frequency's
// half-wave, L/n long, spans bars/n bars whatever E, I and the mass are.
TEST(BarsPerHalfWave, OfASimpleSpansModeIsItsBarsOverTheModeNumber) {
  for (int bars : {1, 4}) {
    testsupport::ScratchDir dir;
    std::string dat = "SIMPLE 1 1\n" + std::to_string(bars) + " " + std::to_string(bars + 1) + " 2 0 1 1 0 0 0 0.0\n";
    for (int k = 0; k <= bars; ++k) dat += std::to_string(k + 1) + " " + std::to_string(8.0 * k / bars) + " 0.0\n";
    for (int k = 1; k <= bars; ++k)
      dat += std::to_string(k) + " " + std::to_string(k) + " " + std::to_string(k + 1) + " 1 1 1 0\n1.0 0.0 0.0 0 1.0\n";
    dat += "1 0.18 0.00135 0.3 0.6\n1 3e7 1.25e7 25.0 1.0e-5\n1 110 0.0 0.0\n" + std::to_string(bars + 1) + " 110 0.0 0.0\n";
    dir.write("m.dat", dat);
    dir.write("m.caf", "");
    const projectfiles::Model model = projectfiles::readModel(dir.file("m.dat"), dir.file("m.caf"));
    const double m = 25 * 0.18 / unitConstantsFor(1).g, EI = 3e7 * 0.00135;  // kN and m: the suite's g
    for (int n = 1; n <= 4; ++n) {
      const double frequency = n * n * M_PI / (2 * 64.0) * std::sqrt(EI / m);
      EXPECT_NEAR(barsPerHalfWave(model, frequency), static_cast<double>(bars) / n, 1e-9) << bars << " bars, mode " << n;
    }
    EXPECT_TRUE(std::isinf(barsPerHalfWave(model, 0.0)));
  }
}

// ---- whole-word numbers ---------------------------------------------------------

// Words from_chars does not take whole go to strtod/strtol: their values and
// refusals are those of the C library.
TEST(WholeWordNumbers, PlainWordsAndTheLibrarysOtherFormsGiveTheLibrarysValues) {
  const struct {
    const char* text;
    bool real;
    double value;
  } reals[] = {{"-4.4850", true, -4.485},   {"+1.5", true, 1.5},     {"1.", true, 1.0},     {".5", true, 0.5},
               {"3.895646989e6", true, 3895646.989}, {"1E-3", true, 1e-3}, {"0x1p3", true, 8.0},
               {"1e-400", true, 0.0},       {"1e400", false, 0},     {"inf", false, 0},     {"nan", false, 0},
               {"1.5x", false, 0},          {"", false, 0},          {"+", false, 0}};
  for (const auto& c : reals) {
    SCOPED_TRACE(c.text);
    double value = -7;
    EXPECT_EQ(projectfiles::parseReal(c.text, value), c.real);
    if (c.real) {
      EXPECT_EQ(value, c.value);
    }
  }
  const struct {
    const char* text;
    bool integer;
    int value;
  } integers[] = {{"007", true, 7}, {"+7", true, 7}, {"-2147483648", true, INT_MIN}, {"2147483648", false, 0},
                  {"1e3", false, 0}, {"7 ", false, 0}, {"-", false, 0}};
  for (const auto& c : integers) {
    SCOPED_TRACE(c.text);
    int value = -7;
    EXPECT_EQ(projectfiles::parseInteger(c.text, value), c.integer);
    EXPECT_EQ(value, c.integer ? c.value : -7);
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
  if (c.turnsWithNodeI) EXPECT_NEAR(slope(0), t1, 1e-6);
  else EXPECT_NEAR(curvature(0), 0.0, 1e-3);
  if (c.turnsWithNodeJ) EXPECT_NEAR(slope(1), t2, 1e-6);
  else EXPECT_NEAR(curvature(1), 0.0, 1e-3);
}

INSTANTIATE_TEST_SUITE_P(BarTypes, TransverseShape,
                         testing::Values(ShapeCase{1, true, true}, ShapeCase{2, false, true}, ShapeCase{3, true, false}));

TEST(TransverseShapeOfDoubleHinge, IsTheStraightLineBetweenTheEnds) {
  EXPECT_NEAR(transverseShape(4, 0.25, 2.0, 1.0, 7.0, 3.0, -7.0), 1.5, 1e-12);
}

// ---- values and labels of the pictures --------------------------------------------

struct NumberCase {
  double value;
  int decimals;
  const char* text;
};

TEST(PictureNumber, RoundsToItsDecimalsAndNeverShowsASignedZero) {
  const NumberCase cases[] = {{-20.691667, 2, "-20.69"}, {16.965278, 1, "17.0"}, {-0.0, 3, "0.000"},
                              {-0.0004, 3, "0.000"},     {-0.0005001, 3, "-0.001"}, {-0.4, 0, "0"},
                              {130.387371, 0, "130"}};
  for (const NumberCase& c : cases) EXPECT_EQ(pictureNumber(c.value, c.decimals), c.text) << c.value;
}

// Four significant digits for the largest value of a quantity, at most three decimals.
TEST(DecimalsFor, KeepsFourDigitsOfTheLargestValue) {
  const std::pair<double, int> cases[] = {{24.69, 2}, {5.4, 3}, {169.65, 1}, {1250.0, 0}, {99999.0, 0}, {0.063, 3}};
  for (const auto& [largest, decimals] : cases) EXPECT_EQ(decimalsFor(largest), decimals) << largest;
  EXPECT_EQ(decimalsFor(0.0), 2);  // nothing to show: any precision reads the same
}

// ---- calcdin's results file ------------------------------------------------------

std::string block(int q, int direction, const char* lambda, const char* f, std::initializer_list<const char*> phi) {
  std::string text = "AUTOVALOR  indice: " + std::to_string(q) + "   direcci\xF3n: " + std::to_string(direction) +
                     "   valor: " + lambda + " \nAUTOVALOR  ciclos/seg.:  " + f + " \nAUTOVECTORES\n";
  for (const char* value : phi) text += std::string("           ") + value + " \n";
  return text;
}

// Two rows (vertical displacement and rotation of node 2 of a two-node beam),
// second listing by ascending eigenvalue; Windows line ends are accepted.
const std::string kTwoModes = block(1, 5, "9.0", "0.477465", {"1.0", "2.0"}) +
                              block(2, 6, "4.0", "0.318310", {"3.0", "-4.0"}) +
                              block(1, 6, "4.0", "0.318310", {"3.0", "-4.0"}) +
                              block(2, 5, "9.0", "0.477465", {"1.0", "2.0"});

struct Word {
  std::string text;
  int line, field;
};

// The words of `in`, one by one, are `expected`, and then it is at its end.
void expectWords(TokenFile& in, const std::vector<Word>& expected) {
  for (const Word& e : expected) {
    const Token& token = in.word("una palabra");
    ASSERT_EQ(token.text, e.text);
    ASSERT_EQ(token.line, e.line) << e.text;
    ASSERT_EQ(token.field, e.field) << e.text;
  }
  EXPECT_TRUE(in.atEnd());
}

// Words are what lies between blanks and line ends, however long the runs of
// either; control bytes other than those and bytes above ASCII are part of them.
TEST(TokenFile, SplitsWordsAndCountsLinesWhateverTheirLengths) {
  const std::string text = "  ab\x01" "cdefghij   \t k\xE9lmnopqrstu\n\n" + std::string(20, ' ') + "12345678 \r\n" +
                           "x\fy" + std::string(17, ' ') + "z\v" + std::string(9, ' ') + "0.000000";
  const std::vector<Word> expected = {{"ab\x01" "cdefghij", 1, 1}, {"k\xE9lmnopqrstu", 1, 2}, {"12345678", 3, 1},
                                      {"x", 4, 1}, {"y", 4, 2}, {"z", 4, 3}, {"0.000000", 4, 4}};
  TokenFile held("t.din", text);
  expectWords(held, expected);
  // From a file read a piece at a time: a piece may end anywhere, within a
  // word, a run of blanks or a line end, and the word taken stays whole while
  // the next one is found.
  testsupport::ScratchDir dir;
  dir.write("t.din", text);
  for (size_t piece : {1, 2, 3, 5, 7, 8, 9, 13, 64}) {
    SCOPED_TRACE(piece);
    TokenFile read(dir.file("t.din"), piece);
    expectWords(read, expected);
  }
  EXPECT_THROW(TokenFile(dir.file("ninguno.din")), RunError);
}

// Random texts of runs of blanks, line ends and word bytes, held and read from
// a file in pieces of many sizes, give the words, lines and fields found by
// splitting the text at each separator byte.
TEST(TokenFile, RandomTextsGiveTheWordsOfASplitAtEverySeparator) {
  auto split = [](const std::string& text) {
    std::vector<Word> words;
    int line = 1, field = 0;
    for (size_t k = 0; k < text.size();) {
      const char c = text[k];
      if (c == '\n') ++line, field = 0;
      if (c == ' ' || (c >= '\t' && c <= '\r')) {
        ++k;
        continue;
      }
      const size_t start = k;
      while (k < text.size() && !(text[k] == ' ' || (text[k] >= '\t' && text[k] <= '\r'))) ++k;
      words.push_back({text.substr(start, k - start), line, ++field});
    }
    return words;
  };
  const std::string bytes[] = {" ", "\n", "\t", "\r", "\v\f", "0.304268", "-", "a", "\x01\x1F", "\xE9\xFF"};
  std::mt19937 random(7);
  testsupport::ScratchDir dir;
  for (int round = 0; round < 300; ++round) {
    std::string text;
    const int runs = static_cast<int>(random() % 40);
    for (int r = 0; r < runs; ++r) {
      const std::string& piece = bytes[random() % 10];
      for (size_t n = 1 + random() % 20; n > 0; --n) text += piece;
    }
    const std::vector<Word> expected = split(text);
    dir.write("r.din", text);
    TokenFile held("r.din", text);
    TokenFile read(dir.file("r.din"), 1 + random() % 40);
    SCOPED_TRACE("round " + std::to_string(round));
    for (TokenFile* in : {&held, &read}) {
      expectWords(*in, expected);
      if (HasFatalFailure()) return;
    }
  }
}

TEST(ModesFile, RowsAreMappedBackToTheirNodesDirections) {
  TokenFile in("m.din", kTwoModes);
  ModesFile modes = readModesFile(in, 2);
  ASSERT_EQ(modes.order, 2);
  EXPECT_EQ(modes.directions, (std::vector<int>{5, 6}));
  EXPECT_EQ(modes.ascending[0].eigenvalue.text, "4.0");
  EXPECT_EQ(modes.ascending[0].frequency.line, 12);  // second line of the third block
  std::vector<NodeMotion> nodes = modeAtNodes(modes, modes.ascending[0], 2);
  EXPECT_EQ(nodes[1].uy, 0.0);  // removed by a support
  EXPECT_EQ(nodes[2].ux, 0.0);
  EXPECT_EQ(nodes[2].uy, 3.0);
  EXPECT_EQ(nodes[2].rot, -4.0);
}

TEST(ModesFile, BadContentIsRefusedNamingTheFile) {
  std::string crlf;
  for (char c : kTwoModes) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  TokenFile windows("w.din", crlf);
  EXPECT_EQ(readModesFile(windows, 2).order, 2);
  const std::string bad[] = {
      "",
      kTwoModes.substr(0, kTwoModes.size() / 2),
      kTwoModes + "           1.0 \n",
      block(1, 6, "9.0", "0.4", {"1.0", "2.0"}) + block(2, 5, "4.0", "0.3", {"3.0", "-4.0"}),  // rows out of order
      block(1, 5, "nan", "0.4", {"1.0", "2.0"}),
      block(1, 5, "9.0", "0.4", {"1.0", "2.0", "3.0", "4.0", "5.0", "6.0", "7.0"}),  // more rows than directions
  };
  for (const std::string& text : bad) {
    TokenFile in("malo.din", text);
    try {
      readModesFile(in, 2);
      ADD_FAILURE() << "accepted:\n" << text;
    } catch (const RunError& error) {
      EXPECT_NE(error.text.find("malo.din"), std::string::npos) << error.text;
    }
  }
}

// ---- calcest's results file -----------------------------------------------------

// The reader goes by the order of the values, not by lines: a value keeps the
// exact text the file has and says where it stands.
TEST(ResultsFile, KeepsEachValuesTextAndPlaceWhateverTheLineBreaks) {
  ResultsShape shape;
  shape.title = "T";
  shape.nn = 2;
  shape.bars = {{}, {1, 2}};
  shape.supportNodes = {0, 1};
  for (const char* text : {"   T   1    0 \n 1       0.000000       \n 2       -1.250000       \n"
                           "    1      1   2          +0.000000     -3.500000        +2.000000        -2.000000 \n"
                           "     1  4.000000  0.000000\n",
                           "T 1 0\n1 0.000000 2\n-1.250000 1 1 2 +0.000000 -3.500000 +2.000000 -2.000000 1 4.000000\n0.000000"}) {
    TokenFile in("p.res", text);
    ResultsFile res = readResultsFile(in, shape);
    EXPECT_EQ(res.nodes[2].value.text, "-1.250000");
    EXPECT_EQ(res.bars[1].Mj.text, "-3.500000");
    EXPECT_EQ(res.supports[1].R.value, 4.0);
    const Token* none = in.peek();
    EXPECT_EQ(none, nullptr);
  }
  TokenFile first("p.res", "T 1 0\n1 0.0\n2 -1.25\n");
  try {
    readResultsFile(first, shape);
    ADD_FAILURE() << "a results file without its bar lines was accepted";
  } catch (const RunError& error) {
    EXPECT_NE(error.text.find("p.res"), std::string::npos);
  }
}

}  // namespace
}  // namespace informe
