// What the shared drawing code puts on a canvas: labels that give way to one
// another, and a model's symbols at their places, pointing the way they act.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <set>

#include "common/model_rules.h"
#include "pictures/model.h"
#include "pictures/diagrams.h"
#include "pictures/recording_canvas.h"
#include "pictures/script_canvas.h"
#include "pictures/svg_picture.h"
#include "projectfiles/analysis.h"
#include "common/testing/test_support.h"

namespace pictures {
namespace {

using namespace common;

const Element* findText(const RecordingCanvas& canvas, const std::string& text) {
  for (const Element& e : canvas.elements)
    if (e.kind == Element::words && e.text == text) return &e;
  return nullptr;
}

// A label goes to the first of its places that covers no text already there,
// the more important first; one with no free place is left out.
TEST(PictureLabels, GiveWayToFixedTextsAndToMoreImportantLabels) {
  RecordingCanvas canvas;
  Drawing drawing(canvas, 300, 100);
  drawing.text(10, 20, "TITULO", "titulo");
  drawing.label({10, 80, "menor", "valor", Anchor::start, {}, 10, {}});
  drawing.label({10, 20, "movida", "valor", Anchor::start, {}, 40, {{0, 60}}});
  drawing.label({250, 90, "libre", "valor", Anchor::start, {}, 5, {}});
  drawing.label({250, 90, "fuera", "valor", Anchor::start, {}, 1, {{100, 0}}});
  drawing.placeLabels();
  ASSERT_NE(findText(canvas, "TITULO"), nullptr);
  ASSERT_NE(findText(canvas, "movida"), nullptr);
  EXPECT_EQ(findText(canvas, "movida")->points[0].y, 80);
  EXPECT_EQ(findText(canvas, "menor"), nullptr) << "the less important label was drawn over the other";
  EXPECT_NE(findText(canvas, "libre"), nullptr);
  EXPECT_EQ(findText(canvas, "fuera"), nullptr) << "a label was drawn over another or out of the picture";
}

// Two spans 4 and 6 long on a pin (node 1) and a roller (node 3): a force of
// 10 down at the end of the first span, 5 per unit up along the second; on
// node 2 a force of 3 to the right and one of 7 down (whose value would sit
// where the first force's does).
Model twoSpans() {
  Model m;
  m.header.unitCode = 1;
  m.header.title = "dos vanos";
  m.nodes.resize(4);
  const double xs[] = {0, 0, 4, 10};
  for (int k = 1; k <= 3; ++k) m.nodes[k] = {k, k, xs[k], 0};
  m.bars.resize(3);
  for (int i = 1; i <= 2; ++i) {
    BarInput& bar = m.bars[i];
    bar.index = bar.label = i;
    bar.labelI = i;
    bar.labelJ = i + 1;
    bar.type = 1;
    bar.aclx = 1;
    EXPECT_FALSE(placeBar(bar, m.nodes));
  }
  m.supports.resize(3);
  m.supports[1] = {1, 1, 110};
  m.supports[2] = {3, 3, 10};
  BarLoad force, spread;
  force.ltype = 1, force.q = -10, force.dir = 'y', force.a = 4, force.c = 0;
  spread.ltype = 3, spread.q = 5, spread.dir = 'y', spread.a = 0, spread.c = 6;
  m.loads = {{force, 1}, {spread, 2}};
  m.nodalLoads.resize(3);
  for (int k : {1, 2}) m.nodalLoads[k].label = m.nodalLoads[k].index = 2;
  m.nodalLoads[1].value[0] = 3;
  m.nodalLoads[2].value[1] = -7;
  return m;
}

class TwoSpansPicture : public ::testing::Test {
 protected:
  TwoSpansPicture() : drawing(canvas, f.width, f.height) { drawModel(drawing, model, f); }
  std::vector<const Element*> of(ItemKind kind, int index) const {
    std::vector<const Element*> out;
    for (const Element& e : canvas.elements)
      if (e.inItem && e.item == kind && e.index == index) out.push_back(&e);
    return out;
  }
  Model model = twoSpans();
  ModelFrame f = modelPictureFrame(model);
  RecordingCanvas canvas;
  Drawing drawing;
};

TEST_F(TwoSpansPicture, SupportsHangFromTheirNodes) {
  for (int k : {1, 2}) {
    const Node& node = model.nodes[model.supports[k].index];
    const std::vector<const Element*> symbol = of(ItemKind::support, k);
    ASSERT_FALSE(symbol.empty()) << "support " << k;
    double top = INFINITY;
    for (const Element* e : symbol)
      for (const Spot& p : e->points) {
        top = std::min(top, p.y);
        EXPECT_LT(std::hypot(p.x - f.X(node.x), p.y - f.Y(node.y)), 40) << "support " << k;
      }
    EXPECT_NEAR(top, f.Y(node.y), 1e-9) << "support " << k << ": its apex is not on the node";
  }
}

// Every arrow head of a load points the way the load pushes on the picture,
// and the first touches the point where it acts.
TEST_F(TwoSpansPicture, LoadArrowsPointTheWayTheLoadsPush) {
  const struct {
    ItemKind kind;
    int index;
    Spot push, firstTip;
  } cases[] = {{ItemKind::barLoad, 1, {0, 1}, {f.X(4), f.Y(0)}},
               {ItemKind::barLoad, 2, {0, -1}, {f.X(4), f.Y(0)}},
               {ItemKind::nodalLoad, 1, {1, 0}, {f.X(4), f.Y(0)}},
               {ItemKind::nodalLoad, 2, {0, 1}, {f.X(4), f.Y(0)}}};
  for (const auto& c : cases) {
    int heads = 0;
    for (const Element* e : of(c.kind, c.index)) {
      if (e->cls != "punta") continue;
      const Spot tip = e->points[0];
      const Spot base{(e->points[1].x + e->points[2].x) / 2, (e->points[1].y + e->points[2].y) / 2};
      const double length = std::hypot(tip.x - base.x, tip.y - base.y);
      EXPECT_NEAR((tip.x - base.x) / length, c.push.x, 1e-9) << "load " << c.index;
      EXPECT_NEAR((tip.y - base.y) / length, c.push.y, 1e-9) << "load " << c.index;
      if (heads++ == 0) {
        EXPECT_NEAR(std::hypot(tip.x - c.firstTip.x, tip.y - c.firstTip.y), 0, 1e-9);
      }
    }
    EXPECT_GT(heads, 0) << "load " << c.index << " has no arrow";
  }
}

TEST_F(TwoSpansPicture, TextsCoverNoOtherText) {
  std::vector<std::pair<std::string, TextBox>> boxes;
  for (const Element& e : canvas.elements)
    if (e.kind == Element::words)
      boxes.push_back({e.text, textBox(e.points[0].x, e.points[0].y, e.text, fontSizeOf(e.cls), e.anchor)});
  for (const char* text : {"P=-10", "q=5", "Fx=3", "Fy=-7", "N2", "4", "6"})
    EXPECT_TRUE(std::any_of(boxes.begin(), boxes.end(), [&](const auto& b) { return b.first == text; })) << text;
  for (size_t a = 0; a < boxes.size(); ++a)
    for (size_t b = a + 1; b < boxes.size(); ++b)
      EXPECT_FALSE(boxes[a].second.overlaps(boxes[b].second)) << boxes[a].first << " / " << boxes[b].first;
}

// ---- diagrams of point actions at nodes -----------------------------------------

// Two spans of 5 m (pin, roller, roller) with node 2 in the middle of the
// first; `loads` a loads file, `nodal` the model's nodal loads (node, Fx, Fy,
// M lines). Each bar's true line, analysed in memory.
struct AnalysedBeam {
  projectfiles::Model model;
  std::vector<calcest::ElasticCurve> curves;
};
AnalysedBeam analysedModel(const std::string& model, const std::string& loads) {
  testsupport::ScratchDir dir;
  dir.write("b.dat", model);
  dir.write("b.caf", loads);
  AnalysedBeam beam;
  beam.model = projectfiles::readModel(dir.file("b.dat"), dir.file("b.caf"));
  beam.curves = projectfiles::barCurves(beam.model, projectfiles::analyseProject(beam.model, dir.file("b")));
  return beam;
}
AnalysedBeam analysedBeam(const std::string& loads, const std::string& nodal) {
  return analysedModel(std::string("NUDOS 1 1\n3 4 3 ") + (nodal.empty() ? "0" : "1") +
                           " 1 1 0 0 0 0.0\n1 0 0\n2 2.5 0\n3 5 0\n4 10 0\n"
                           "1 1 2 1 1 1 0\n1.0 0.0 0.0 0 1.0\n2 2 3 1 1 1 0\n1.0 0.0 0.0 0 1.0\n"
                           "3 3 4 1 1 1 0\n1.0 0.0 0.0 0 1.0\n1 0.18 0.0054 0.25 0.5\n1 3e7 1.25e7 2.4 1.0e-5\n"
                           "1 110 0.0 0.0\n3 10 0.0\n4 10 0.0\n" +
                           nodal,
                       loads);
}

// The labels of a diagram and its curve's points, bar by bar.
struct DrawnDiagram {
  std::multiset<std::string> labels;
  std::vector<std::vector<Spot>> curves;
};
DrawnDiagram drawn(const AnalysedBeam& beam, DiagramKind kind) {
  RecordingCanvas canvas;
  drawDiagram(canvas, beam.model, beam.curves, kind, DiagramSources{});
  DrawnDiagram out;
  for (const Element& e : canvas.elements) {
    if (e.kind == Element::words && (e.cls == "valor" || e.cls == "nota")) out.labels.insert(e.text);
    if (e.kind == Element::polygon) out.curves.push_back(e.points);
  }
  return out;
}

// A couple or a force at a node, written at the end of the bar on its left, at
// the start of the bar on its right and as a nodal load (whose moment turns
// the other way round), draws the same
// diagrams, labels and curves alike. The couple of 100 alone at the middle
// support puts -50 just left of it and +50 just right (by symmetry); the force
// of 100 alone on it goes into the support and leaves no shear.
TEST(DiagramsOfPointActionsAtNodes, AreTheSameWhicheverWayTheActionIsWritten) {
  const struct {
    const char* what;
    std::vector<std::pair<std::string, std::string>> ways;  // loads file, nodal loads
    const char* permanent;
    std::vector<std::string> labels;  // some labels the drawing must hold
  } cases[] = {
      {"couple at the support",
       {{"2 2 2.5 0 0 100 y\n", ""}, {"3 2 0 5 0 100 y\n", ""}, {"", "3\n1 0\n1 0\n1 -100\n"}},
       "",
       {"-50.00", "50.00"}},
      {"force on the support",
       {{"2 1 2.5 0 0 -100 y\n", ""}, {"3 1 0 5 0 -100 y\n", ""}, {"", "3\n1 0\n1 -100\n1 0\n"}},
       "1 3 0 2.5 0 -20 y\n2 3 0 2.5 0 -20 y\n3 3 0 5 0 -20 y\n",
       {"-62.50", "62.50"}},
      {"couple inside the span",
       {{"1 2 2.5 0 0 100 y\n", ""}, {"2 2 0 2.5 0 100 y\n", ""}, {"", "2\n1 0\n1 0\n1 -100\n"}},
       "3 3 0 5 0 -20 y\n",
       {}},
      {"force inside the span",
       {{"1 1 2.5 0 0 -40 y\n", ""}, {"2 1 0 2.5 0 -40 y\n", ""}, {"", "2\n1 0\n1 -40\n1 0\n"}},
       "3 3 0 5 0 -20 y\n",
       {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    for (DiagramKind kind : {DiagramKind::Moment, DiagramKind::Shear}) {
      std::optional<DrawnDiagram> first;
      for (const auto& [loads, nodal] : c.ways) {
        SCOPED_TRACE(loads + nodal);
        const DrawnDiagram d = drawn(analysedBeam(c.permanent + loads, nodal), kind);
        if (!first) first = d;
        EXPECT_EQ(d.labels, first->labels);
        ASSERT_EQ(d.curves.size(), first->curves.size());
        for (size_t b = 0; b < d.curves.size(); ++b) {
          ASSERT_EQ(d.curves[b].size(), first->curves[b].size()) << "bar " << b + 1;
          for (size_t k = 0; k < d.curves[b].size(); ++k)
            EXPECT_NEAR(std::hypot(d.curves[b][k].x - first->curves[b][k].x, d.curves[b][k].y - first->curves[b][k].y),
                        0, 1e-6)
                << "bar " << b + 1 << " point " << k;
        }
        const bool couple = std::string(c.what).find("couple") != std::string::npos;
        for (const std::string& label : c.labels) {
          if ((kind == DiagramKind::Moment) == couple) {
            EXPECT_EQ(d.labels.count(label), 1u) << label;
          }
        }
      }
    }
  }
}

// The extremes labelled are the curve's own, not the nearest station's: a
// propped cantilever of 8 m in one bar (fixed at node 1, on a roller at node
// 2) under 10 per metre peaks at 9wL^2/128 = 45 at 3L/8 from the roller, 5 m
// from node 1 (the stations give 44.80 at 4.80); its deflection's peak,
// wL^4/185EI at 0.4215 L from the roller, is labelled too.
TEST(DiagramExtremes, AreTheCurvesTruePeaks) {
  const AnalysedBeam beam = analysedModel(
      "UNA 1 1\n1 2 2 0 1 1 0 0 0 0.0\n1 0 0\n2 8 0\n1 1 2 1 1 1 0\n1.0 0.0 0.0 0 1.0\n"
      "1 0.18 0.0054 0.25 0.5\n1 3e7 1.25e7 2.4 1.0e-5\n1 111 0.0 0.0 0.0\n2 10 0.0\n",
      "1 3 0 8 0 -10 y\n");
  const DrawnDiagram moment = drawn(beam, DiagramKind::Moment);
  EXPECT_EQ(moment.labels.count("45.00"), 1u);
  const std::string caption = *std::find_if(moment.labels.begin(), moment.labels.end(),
                                            [](const std::string& t) { return t.rfind("m\xE1ximo", 0) == 0; });
  EXPECT_EQ(caption.substr(0, caption.find(';')), "m\xE1ximo 45.00 en B1, a 5.00 m de N1");
  const double xi = (1 + std::sqrt(33.0)) / 16;
  const double sag = 10 * std::pow(8.0, 4) / (48 * 3e7 * 0.0054) * (xi - 3 * std::pow(xi, 3) + 2 * std::pow(xi, 4));
  const DrawnDiagram deflection = drawn(beam, DiagramKind::Deflection);
  EXPECT_EQ(deflection.labels.count(pictureNumber(-1000 * sag, decimalsFor(1000 * sag))), 1u)
      << pictureNumber(-1000 * sag, decimalsFor(1000 * sag));
}

// ---- values and labels of the pictures --------------------------------------------

struct NumberCase {
  double value;
  int decimals;
  const char* text;
};

TEST(PictureNumber, RoundsToItsDecimalsAndNeverShowsASignedZero) {
  const NumberCase cases[] = {{-20.691667, 2, "-20.69"}, {16.965278, 1, "17.0"},    {-0.0, 3, "0.000"},
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

// A line and a text in each script form. A text with a line break would end
// its command and give the rest of the line to the CAD program as a command
// of its own: control characters become '?'.
TEST(ScriptCanvas, WritesEachFormAndTextsWithoutControlCharacters) {
  const struct {
    ScriptForm form;
    double unit;
    const char* script;
  } cases[] = {
      // Whole pixels, axis at 20: line ordinates 2 * 20 - y, text ordinates -y.
      {ScriptForm::pixels, 1, "line 3,36 5,30 \ntext 20,-30 6 0.0 A?ERASE ALL????\xD1\n"},
      // Half a unit per pixel; a 12-pixel text is 0.7 * 12 * 0.5 high.
      {ScriptForm::units, 0.5,
       "line 1.5000,-2.0000 2.5000,-5.0000 \ntext 10.0000,-15.0000 4.2000 0 A?ERASE ALL????\xD1\n"},
  };
  for (const auto& c : cases) {
    ScriptCanvas canvas(c.form, c.unit);
    canvas.beginPicture(100, 40, 20);
    canvas.line({3, 4}, {5, 10}, {});
    canvas.text({20, 30}, std::string("A\nERASE ALL\r\n\t\x7F\xD1\0rest", 20), Style(""), Anchor::start, {});
    EXPECT_EQ(canvas.script(), c.script) << static_cast<int>(c.form);
  }
}

// The report's markup is ASCII: the four markup characters as entities,
// control characters but line breaks and tabs as '?', and every other
// Windows-1252 byte as its Unicode code point (0x80 is the euro sign).
TEST(EscapeText, WritesWindows1252TextAsAsciiMarkup) {
  EXPECT_EQ(escapeText("a&b<c>\"d'\x01\n\t\xF1\x80"), "a&amp;b&lt;c&gt;&quot;d'?\n\t&#241;&#8364;");
}

Colour testInk(const std::string& cls) { return cls == "verde" ? Colour{0, 128, 0} : Colour{255, 0, 0}; }

// By whole pixels: lines at half-pixel offsets in their pass's pen, texts
// hanging from their top in UTF-8, a control character as a blank.
TEST(SvgPicture, ByWholePixelsWritesTheScreensLinesAndTexts) {
  SvgPicture svg(testInk);
  svg.beginPicture(40, 30, 10);
  Group pass;
  pass.cls = "verde";
  svg.beginGroup(pass);
  svg.line({3.7, 4}, {5, 6}, {});
  svg.text({7, 8}, "a<\xF1\t", Style("rojo"), Anchor::start, {});
  svg.endPicture();
  EXPECT_EQ(svg.document(true),
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"40\" height=\"30\" viewBox=\"0 0 40 30\">\n"
            "<rect x=\"0\" y=\"0\" width=\"100%\" height=\"100%\" fill=\"white\"/>\n"
            "<g font-family=\"DejaVu Sans Mono, monospace\" font-size=\"11\" stroke-width=\"1\">\n"
            "<line x1=\"3.5\" y1=\"4.5\" x2=\"5.5\" y2=\"6.5\" stroke=\"rgb(0,128,0)\"/>\n"
            "<text x=\"7\" y=\"8\" dominant-baseline=\"hanging\" fill=\"rgb(255,0,0)\" "
            "xml:space=\"preserve\">a&lt;\xC3\xB1 </text>\n"
            "</g>\n</svg>\n");
}

}  // namespace
}  // namespace pictures
