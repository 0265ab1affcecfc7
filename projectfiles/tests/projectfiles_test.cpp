// The readers of the project's files: whole-word numbers, the word splitter,
// calcdin's modes file and calcest's results file.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "common/run_error.h"
#include "common/testing/test_support.h"
#include "projectfiles/modes_file.h"
#include "projectfiles/result_files.h"
#include "projectfiles/token_file.h"

namespace projectfiles {
namespace {

using namespace common;

// ---- whole-word numbers ---------------------------------------------------------

// Words from_chars does not take whole go to strtod/strtol: their values and
// refusals are those of the C library.
TEST(WholeWordNumbers, PlainWordsAndTheLibrarysOtherFormsGiveTheLibrarysValues) {
  const struct {
    const char* text;
    bool real;
    double value;
  } reals[] = {{"-4.4850", true, -4.485},
               {"+1.5", true, 1.5},
               {"1.", true, 1.0},
               {".5", true, 0.5},
               {"3.895646989e6", true, 3895646.989},
               {"1E-3", true, 1e-3},
               {"0x1p3", true, 8.0},
               {"1e-400", true, 0.0},
               {"1e400", false, 0},
               {"inf", false, 0},
               {"nan", false, 0},
               {"1.5x", false, 0},
               {"", false, 0},
               {"+", false, 0}};
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
  } integers[] = {{"007", true, 7},         {"+7", true, 7},   {"-2147483648", true, INT_MIN},
                  {"2147483648", false, 0}, {"1e3", false, 0}, {"7 ", false, 0},
                  {"-", false, 0}};
  for (const auto& c : integers) {
    SCOPED_TRACE(c.text);
    int value = -7;
    EXPECT_EQ(projectfiles::parseInteger(c.text, value), c.integer);
    EXPECT_EQ(value, c.integer ? c.value : -7);
  }
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
const std::string kTwoModes =
    block(1, 5, "9.0", "0.477465", {"1.0", "2.0"}) + block(2, 6, "4.0", "0.318310", {"3.0", "-4.0"}) +
    block(1, 6, "4.0", "0.318310", {"3.0", "-4.0"}) + block(2, 5, "9.0", "0.477465", {"1.0", "2.0"});

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
  const std::string text =
      "  ab\x01"
      "cdefghij   \t k\xE9lmnopqrstu\n\n" +
      std::string(20, ' ') + "12345678 \r\n" + "x\fy" + std::string(17, ' ') + "z\v" + std::string(9, ' ') + "0.000000";
  const std::vector<Word> expected = {{"ab\x01"
                                       "cdefghij",
                                       1, 1},
                                      {"k\xE9lmnopqrstu", 1, 2},
                                      {"12345678", 3, 1},
                                      {"x", 4, 1},
                                      {"y", 4, 2},
                                      {"z", 4, 3},
                                      {"0.000000", 4, 4}};
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
  for (const char* text :
       {"   T   1    0 \n 1       0.000000       \n 2       -1.250000       \n"
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
}  // namespace projectfiles
