// The spans view: a beam typed by its spans is the beam of closed-form
// statics once made into bars; made, read back and made again it gives the
// same files; a span's new length moves its loads with it; a model that is
// no continuous beam says why; both views edit one document.
#include <gtest/gtest.h>

#include <cmath>

#include "common/model_writer.h"
#include "vigas/analysis.h"
#include "vigas/span_cells.h"
#include "vigas/tests/test_beams.h"

using namespace vigas;
using namespace vigastest;

namespace {

CellPlace span(int row, int column) { return {Table::spans, row, column, 0}; }
CellPlace load(int row, int column, int loadCase = 0) { return {Table::spanLoads, row, column, loadCase}; }

void type(Document& d, const CellPlace& place, const std::string& text) {
  const EditResult result = d.setCell(place, text);
  ASSERT_TRUE(result.done) << text << ": " << result.reason;
}

// Spans typed into an empty beam's spans view: rows are the left overhang,
// the spans and the right overhang.
Document typedBeam(const std::vector<double>& spans, double left, double right) {
  Document d;
  for (size_t k = 0; k < spans.size(); ++k) EXPECT_TRUE(d.insertRow(Table::spans, static_cast<int>(k) + 2).done);
  for (size_t k = 0; k < spans.size(); ++k)
    type(d, span(static_cast<int>(k) + 2, kSpanLength), std::to_string(spans[k]));
  type(d, span(1, kSpanLength), std::to_string(left));
  type(d, span(static_cast<int>(spans.size()) + 2, kSpanLength), std::to_string(right));
  return d;
}

// A load row: piece, kind, x1, x2, q1, q2 (the cells a kind takes).
void typeLoad(Document& d, int loadCase, const std::vector<std::string>& cells) {
  const int row = d.rowCount(Table::spanLoads, loadCase) + 1;
  ASSERT_TRUE(d.insertRow(Table::spanLoads, row, loadCase).done);
  const int columns[] = {kOnPiece, kLoadKind, kLoadX1, kLoadX2, kLoadQ1, kLoadQ2};
  for (size_t k = 0; k < cells.size(); ++k)
    if (!cells[k].empty()) type(d, load(row, columns[k], loadCase), cells[k]);
}

std::string filesOf(const Content& content) {
  std::string text = common::modelText(content.model);
  for (const LoadCase& c : content.cases) text += "[" + c.name + "]\n" + common::loadsText(c.loads);
  return text;
}

// A 6 m span on a pin and a roller with a 2 m overhang, loaded by hand's
// favourite loads: P = 10 down at 2, a counter-clockwise moment of 4 at 3, a
// trapezoid from 2 down at 1 to 5 down at 5, and 3 down at the overhang's tip.
Document loadedSpanWithOverhang() {
  Document d = typedBeam({6.0}, 0, 2.0);
  typeLoad(d, 0, {"1", "puntual", "2", "", "-10"});
  typeLoad(d, 0, {"1", "momento", "3", "", "4"});
  typeLoad(d, 0, {"1", "repartida", "1", "5", "-2", "-5"});
  typeLoad(d, 0, {"vd", "p", "2", "", "-3"});
  return d;
}

}  // namespace

TEST(Spans, ASpanWithAnOverhangTypedBySpansGivesTheReactionsOfStatics) {
  const Document d = loadedSpanWithOverhang();
  ASSERT_TRUE(d.errors().empty()) << d.errors().front().reason;
  // Moments about the left support, upward reactions positive.
  const double L = 6;
  const double W = (2 + 5) / 2.0 * 4, xc = 1 + 4 * (2 + 2 * 5) / (3.0 * (2 + 5));
  const double right = (10 * 2 - 4 + W * xc + 3 * (L + 2)) / L;
  const double left = 10 + W + 3 - right;
  const CaseResults results = analyseCase(d.content(), 0);
  ASSERT_EQ(results.error, "");
  ASSERT_EQ(results.reactions.size(), 2u);
  EXPECT_NEAR(results.reactions[0].Ry, left, 1e-5);
  EXPECT_NEAR(results.reactions[1].Ry, right, 1e-5);
}

TEST(Spans, EveryPieceIsCutIntoItsEqualBarsAndAtEveryLoadPoint) {
  Document d = typedBeam({6.0}, 0, 0);
  type(d, span(2, kSpanBars), "4");
  typeLoad(d, 0, {"1", "puntual", "1", "", "-10"});
  // 0 to 1 takes one bar; 1 to 6, five sixths of the span, ceil(4 * 5 / 6) = 4.
  const double expected[] = {0, 1, 2.25, 3.5, 4.75, 6};
  const ModelData& m = d.content().model;
  ASSERT_EQ(m.nodes.size(), 7u);
  for (size_t k = 0; k < 6; ++k) EXPECT_DOUBLE_EQ(m.nodes[k + 1].x, expected[k]);
  EXPECT_EQ(m.supports[1].label, 1);
  EXPECT_EQ(m.supports[2].label, 6);
}

TEST(Spans, ABeamMadeBySpansReadBackAndMadeAgainGivesTheSameFiles) {
  Document d = typedBeam({5.0, 6.5, 5.0}, 1.25, 1.5);
  ASSERT_TRUE(d.addLoadCase("variable").done);
  typeLoad(d, 0, {"vi", "repartida", "0", "1.25", "-12", "-12"});
  typeLoad(d, 0, {"2", "repartida", "0.5", "6", "-3", "-8"});
  typeLoad(d, 0, {"2", "momento", "6.5", "", "7"});
  typeLoad(d, 0, {"3", "temperatura", "1", "4", "15"});
  typeLoad(d, 1, {"1", "puntual", "1.7", "", "-40"});
  typeLoad(d, 1, {"vd", "repartida", "0", "1.5", "0", "-6"});
  type(d, span(3, kSpanRight), "muelle 25000");
  type(d, span(2, kSpanLeft), "empotrado");
  ASSERT_TRUE(d.errors().empty()) << d.errors().front().reason;
  const SpanBeam typed = *d.content().spans;

  Content opened = d.content();
  opened.spans.reset();  // as opened from the files: the model alone
  const SpanReading read = readSpans(opened);
  ASSERT_EQ(read.reason, "");
  ASSERT_EQ(read.beam.pieces.size(), typed.pieces.size());
  for (size_t p = 0; p < typed.pieces.size(); ++p) {
    EXPECT_EQ(read.beam.pieces[p].length, typed.pieces[p].length) << p;
    // The fewest bars that cut the piece as the model does (the files below agree).
    EXPECT_LE(read.beam.pieces[p].bars, typed.pieces[p].bars) << p;
  }
  for (size_t s = 0; s < typed.supports.size(); ++s) EXPECT_EQ(read.beam.supports[s].code, typed.supports[s].code);
  for (size_t c = 0; c < 2; ++c) {
    ASSERT_EQ(read.beam.loads[c].size(), typed.loads[c].size()) << "case " << c;
    for (size_t k = 0; k < typed.loads[c].size(); ++k) {
      const SpanLoad &a = read.beam.loads[c][k], &b = typed.loads[c][k];
      EXPECT_EQ(a.piece, b.piece) << k;
      EXPECT_EQ(a.kind, b.kind) << k;
      EXPECT_EQ(a.x1, b.x1) << k;
      EXPECT_EQ(a.q1, b.q1) << k;
      if (a.kind == SpanLoadKind::distributed || a.kind == SpanLoadKind::temperature) {
        EXPECT_EQ(a.x2, b.x2) << k;
      }
      if (a.kind == SpanLoadKind::distributed) {
        EXPECT_EQ(a.q2, b.q2) << k;
      }
    }
  }
  Content again = opened;
  again.spans = read.beam;
  makeBars(again);
  EXPECT_EQ(filesOf(again), filesOf(d.content()));
}

TEST(Spans, ALongerSpanTakesItsLoadsAlongAndThoseGivenByXStay) {
  Document d = typedBeam({6.0, 8.0}, 0, 0);
  typeLoad(d, 0, {"1", "repartida", "0", "6", "-10", "-10"});
  typeLoad(d, 0, {"1", "puntual", "2", "", "-5"});
  typeLoad(d, 0, {"viga", "puntual", "10", "", "-7"});
  typeLoad(d, 0, {"viga", "puntual", "13", "", "-1"});
  type(d, span(2, kSpanLength), "9");
  const std::vector<SpanLoad>& loads = d.content().spans->loads[0];
  EXPECT_EQ(loads[0].x1, 0);
  EXPECT_EQ(loads[0].x2, 9);  // still over the whole span
  EXPECT_EQ(loads[1].x1, 3);  // a third of the span, as before
  EXPECT_EQ(loads[2].x1, 10);
  EXPECT_TRUE(d.errors().empty());
  // Shortened: the beam ends at 11, the load at 13 is off it.
  type(d, span(3, kSpanLength), "2");
  ASSERT_EQ(d.errors().size(), 1u);
  EXPECT_EQ(d.errors()[0].place.table, Table::spanLoads);
  EXPECT_EQ(d.errors()[0].place.row, 4);
  EXPECT_EQ(d.errors()[0].place.column, kLoadX1);
  EXPECT_NE(d.errors()[0].reason.find("fuera de la viga"), std::string::npos);
}

struct NotABeam {
  const char* what;
  void (*change)(Content&);
  const char* reason;
};

const NotABeam kNotBeams[] = {
    {"a hinge", [](Content& c) { c.model.bars[2].type = 2; }, "r\xF3tulas"},
    {"a rigid zone", [](Content& c) { c.model.bars[2].aclx = 0.9, c.model.bars[2].adlx = 0.1; }, "zonas r\xEDgidas"},
    {"a haunch", [](Content& c) { c.model.bars[2].taper = 1.5; }, "cartela"},
    {"a node above the others", [](Content& c) { c.model.nodes[3].y = 0.5; }, "altura"},
    {"a tie",
     [](Content& c) {
       c.model.ties.push_back(common::Tie{1, 2, 2, 2});
     },
     "enlaces"},
    {"a nodal load",
     [](Content& c) {
       c.model.nodalLoads.push_back(common::NodalLoad{2, 0, {1, 2, 3}, {0, -1, 0}});
     },
     "cargas en nudos"},
    {"two sections in a span",
     [](Content& c) {
       c.model.sections.push_back(c.model.sections[1]);
       c.model.bars[2].section = 2;
     },
     "distinta secci\xF3n"},
};

TEST(Spans, AModelThatIsNoContinuousBeamSaysWhy) {
  for (const NotABeam& n : kNotBeams) {
    Content content = threeSpanBeam();
    ASSERT_EQ(readSpans(content).reason, "");
    n.change(content);
    Document d(content);
    EXPECT_NE(d.spans().reason.find(n.reason), std::string::npos) << n.what << ": " << d.spans().reason;
    EXPECT_FALSE(d.insertRow(Table::spans, 2).done) << n.what;
  }
}

TEST(Spans, TheBuildersBeamReadsAsItsSpansAndIsMadeAgainAsItWas) {
  const Content built = threeSpanBeam();
  const SpanReading read = readSpans(built);
  ASSERT_EQ(read.reason, "");
  ASSERT_EQ(read.beam.pieces.size(), 5u);
  EXPECT_EQ(read.beam.pieces[0].length, 0);
  EXPECT_EQ(read.beam.pieces[4].length, 2);
  for (size_t p = 1; p < 5; ++p) EXPECT_EQ(read.beam.pieces[p].bars, 2);
  // The uniform load over every bar: one uniform load per piece.
  ASSERT_EQ(read.beam.loads[0].size(), 4u);
  EXPECT_EQ(read.beam.loads[0][1].x2, 8);
  Content again = built;
  again.spans = read.beam;
  makeBars(again);
  EXPECT_EQ(filesOf(again), filesOf(built));
}

TEST(Spans, MoreBarsThanAModelHoldsIsAFaultOfTheSpans) {
  Document d = typedBeam({6.0, 6.0}, 0, 0);
  type(d, span(2, kSpanBars), "125");
  EXPECT_TRUE(d.errors().empty());
  type(d, span(3, kSpanBars), "126");
  ASSERT_FALSE(d.errors().empty());
  EXPECT_NE(reasonAt(d.errors(), span(0, -1)).find("251 barras"), std::string::npos);
}

TEST(Spans, EditsOfBothViewsAreOneHistory) {
  Document d = loadedSpanWithOverhang();
  const std::string made = filesOf(d.content());
  type(d, span(2, kSpanLength), "7");
  const std::string longer = filesOf(d.content());
  type(d, CellPlace{Table::nodes, 2, 1, 0}, "0.5");  // the bar view: spans read from the model again
  EXPECT_FALSE(d.content().spans.has_value());
  type(d, load(1, kLoadQ1), "-20");  // the spans view again
  ASSERT_TRUE(d.undo());
  ASSERT_TRUE(d.undo());
  EXPECT_EQ(filesOf(d.content()), longer);
  ASSERT_TRUE(d.undo());
  EXPECT_EQ(filesOf(d.content()), made);
  EXPECT_EQ(d.content().spans->loads[0][0].x1, 2);
  ASSERT_TRUE(d.redo());
  EXPECT_EQ(d.content().spans->loads[0][0].x1, tidy(2 * 7 / 6.0));
}
