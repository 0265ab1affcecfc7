// Layout, the three diagrams and their CAD scripts.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "envolventes/engine/diagram.h"
#include "envolventes/engine/tests/engine_runner.h"
#include "envolventes/engine/layout.h"
#include "envolventes/engine/tests/project_files.h"
#include "pictures/recording_canvas.h"

using namespace common;

using namespace envelope;
using pictures::Element;
using pictures::RecordingCanvas;
using testsupport::ScratchDir;
using testsupport::splitLines;

namespace {

// The script of one diagram, drawn into a temporary file.
std::vector<std::string> scriptLines(const EnvelopeState& state, int selector) {
  pictures::ScriptCanvas canvas = diagramScript();
  drawDiagram(state, selector, canvas, LabelForm::Script);
  return splitLines(canvas.script());
}

// A recorded element at whole pixels: a line from (x1, y1) to (x2, y2), a text at (x1, y1).
bool at(const Element& e, int x1, int y1, int x2 = 0, int y2 = 0) {
  const bool end = e.kind != Element::line || (e.points[1].x == x2 && e.points[1].y == y2);
  return e.points[0].x == x1 && e.points[0].y == y1 && end;
}

bool hasLine(const std::vector<std::string>& lines, const std::string& wanted) {
  return std::find(lines.begin(), lines.end(), wanted) != lines.end();
}

// A 10 m beam of two equal bars, supports at the three nodes.
HandProject twoBars() {
  HandProject p;
  p.nodeX = {0.0f, 5.0f, 10.0f};
  p.supports = {{1, 110}, {2, 10}, {3, 10}};
  return p;
}

}  // namespace

// One bar from xI to xJ of a beam of the given length in a drawing area:
// where the axis and the labels go, the pixels of the beam and of the bar (even,
// truncated) and its steps of 20 pixels (up when at most 10 short of the next).
TEST(Layout, AreaAndBarGiveAxisLabelsPixelsAndSteps) {
  struct Row {
    int width, height;
    float xI, xJ, beamLength;
    int beamPixels, axisY, labelY, pixels, steps;
  } rows[] = {
      {3000, 400, 0, 5, 10, 2440, 200, 280, 1220, 61},  // 40 * (1 + trunc(3000 * 0.02))
      {300, 201, 0, 3, 10, 280, 100, 140, 84, 4},       // 2 * trunc(50.25), 2 * trunc(70.35); 84 is 16 short of 100
      {3000, 400, 0, 1210, 2440, 2440, 200, 280, 1210, 61},  // 10 short of 1220: up
      {3000, 400, 0, 1212, 2440, 2440, 200, 280, 1212, 61},
      {3000, 400, 0, 1208, 2440, 2440, 200, 280, 1208, 60},  // 12 short: down to 1200
      {3000, 400, 0, 1202, 2440, 2440, 200, 280, 1202, 60},
      {3000, 400, 0, 1190, 2440, 2440, 200, 280, 1190, 60},
      {3000, 400, 1000, 1010, 2440, 2440, 200, 280, 10, 1},  // from the bar's start, not the beam's
      {3000, 400, 0, 8, 2440, 2440, 200, 280, 8, 0},         // shorter than 10 pixels: no step
      {1500, 400, 0, 125, 1240, 1240, 200, 280, 124, 6},     // 125 made even
      {3000, 400, 0, 1, 0, 2440, 200, 280, 0, 0},            // no beam length: no pixels
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(testing::Message() << r.width << "x" << r.height << " bar " << r.xI << ".." << r.xJ);
    EXPECT_EQ(beamPixelsFor(r.width), r.beamPixels);
    EXPECT_EQ(axisYFor(r.height), r.axisY);
    EXPECT_EQ(labelYFor(r.height), r.labelY);
    const int pixels = evenPixelLength(r.xI, r.xJ, beamPixelsFor(r.width), r.beamLength);
    EXPECT_EQ(pixels, r.pixels);
    EXPECT_EQ(segmentCountFor(pixels), r.steps);
  }
}

TEST(Layout, TwoEqualBarsOfATenMetreBeam_Take1220PixelsIn61PixelSteps) {
  ScratchDir dir;
  writeProject(dir, "a", twoBars());
  EngineRun r;
  r.run(dir, {"a"});
  ASSERT_EQ(r.outcome, RunOutcome::Completed);
  const DiagramLayout& L = r.state.layout;
  for (int b = 1; b <= 2; ++b) {
    EXPECT_EQ(r.state.current.bars[b].pixelLength, 1220);
    EXPECT_EQ(r.state.current.bars[b].segmentCount, 61);
    EXPECT_EQ(r.state.current.bars[b].drawnLength, 1220);
  }
  EXPECT_EQ(L.rightEnd, 2460);
  ASSERT_EQ(L.pointX.size(), 41u);
  EXPECT_EQ(L.pointX[0], 20);
  EXPECT_EQ(L.pointX[1], 81);
  EXPECT_EQ(L.pointX[20], 1240);
  EXPECT_EQ(L.pointX[40], 2460);
  auto script = scriptLines(r.state, 1);
  ASSERT_GE(script.size(), 4u);
  EXPECT_EQ(script[3], "line 20,200 2460,200 ");
  EXPECT_EQ(script[2], "text 2,-310 6 0.0  x");
}

TEST(Diagrams, DeflectionOrdinateOf37AtX81_IsDrawnUpwardAndWrittenMirrored) {
  ScratchDir dir;
  writeProject(dir, "a", twoBars());
  EngineRun r;
  r.run(dir, {"a"});
  r.state.ordinates.DeflectionMaxY[1] = 37;
  RecordingCanvas screen;
  drawDiagram(r.state, 1, screen);
  bool found = false;
  for (const Element& e : screen.elements)
    if (e.kind == Element::line && at(e, 81, 200, 81, 163)) found = colourOf(e.groupCls) == kGreen;
  EXPECT_TRUE(found);
  EXPECT_TRUE(hasLine(scriptLines(r.state, 1), "line 81,200 81,237 "));
  // Moments grow downward on the screen, so the same ordinate goes the other way.
  r.state.ordinates.MomentMaxLeftY[1] = 37;
  EXPECT_TRUE(hasLine(scriptLines(r.state, 2), "line 81,200 81,163 "));
}

TEST(Diagrams, SelectorOutsideOneToThree_DrawsNothingAndWritesNoScript) {
  ScratchDir dir;
  EnvelopeState state;
  state.setEnvelopeName(dir.file("E"));
  RecordingMessageSink sink;
  for (int selector : {0, 4, -1}) {
    RecordingCanvas screen;
    EXPECT_EQ(paintDiagram(state, selector, screen, sink), DrawOutcome::NothingToDraw);
    EXPECT_TRUE(screen.elements.empty());
  }
  EXPECT_TRUE(sink.messages.empty());
  EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

TEST(Diagrams, ScriptThatCannotBeCreated_ShowsItsErrorAndNothingIsDrawn) {
  EnvelopeState unnamed;  // no envelope chosen yet: the script names are empty
  RecordingMessageSink sink;
  const char* expected[] = {"", "ERROR SCRD", "ERROR SCRM", "ERROR SCRC"};
  for (int selector = 1; selector <= 3; ++selector) {
    RecordingCanvas screen;
    EXPECT_EQ(paintDiagram(unnamed, selector, screen, sink), DrawOutcome::ScriptError);
    EXPECT_TRUE(screen.elements.empty());
    EXPECT_EQ(sink.messages.back(), expected[selector]);
  }
  EnvelopeState state;
  state.setEnvelopeName("/nonexistent-directory/E");
  RecordingCanvas screen;
  EXPECT_EQ(writeScript(state, 3, sink), DrawOutcome::ScriptError);
  EXPECT_EQ(paintDiagram(state, 2, screen, sink), DrawOutcome::ScriptError);
  EXPECT_EQ(sink.messages.back(), "ERROR SCRM");
  EXPECT_EQ(sink.messages.size(), 5u);
}

TEST(Diagrams, PaintRewritesTheScriptAndDrawsTheSameElementsOnTheScreen) {
  ScratchDir dir;
  writeProject(dir, "a", twoBars());
  EngineRun r;
  r.run(dir, {"a"});
  dir.write("Ed.scr", "old content that must go\n");
  RecordingCanvas screen;
  ASSERT_EQ(paintDiagram(r.state, 1, screen, r.sink), DrawOutcome::Drawn);
  auto lines = splitLines(dir.read("Ed.scr"));
  EXPECT_FALSE(hasLine(lines, "old content that must go"));
  int screenLines = 0, screenTexts = 0, scriptLines = 0, scriptTexts = 0;
  for (const Element& e : screen.elements)
    screenLines += e.kind == Element::line, screenTexts += e.kind == Element::words;
  for (auto& l : lines) scriptLines += l.rfind("line ", 0) == 0, scriptTexts += l.rfind("text ", 0) == 0;
  EXPECT_EQ(screenLines, scriptLines);
  EXPECT_EQ(screenTexts, scriptTexts);
  EXPECT_EQ(screenLines + screenTexts, static_cast<int>(lines.size()));
}

namespace {

// One 10 m bar supported at both ends: deflection -2 inside, moment 4 inside,
// shear 2 on the left half and -2 on the right; reactions 2 and 2.
EngineRun smallEnvelope(const ScratchDir& dir) {
  HandProject p;
  p.reactions = {{2.0f, 0}, {2.0f, 0}};
  p.point = [](int P, float) {
    bool inside = P > 0 && P < 20;
    return std::array<float, 3>{inside ? -2.0f : 0.0f, inside ? 4.0f : 0.0f, P <= 10 ? 2.0f : -2.0f};
  };
  writeProject(dir, "a", p);
  EngineRun r;
  r.run(dir, {"a"});
  r.state.setEnvelopeName("E");
  return r;
}

// Frame of a beam from x 20 to 2460 with supports at both ends (script form).
const std::vector<std::string> kFrame = {
    "line 20,200 2460,200 ",   "line 20,200 14,194 ",     "line 14,194 26,194 ",     "line 26,194 20,200 ",
    "line 20,200 20,194 ",     "line 20,194 20,206 ",     "line 2460,200 2454,194 ", "line 2454,194 2466,194 ",
    "line 2466,194 2460,200 ", "line 2460,200 2460,194 ", "line 2460,194 2460,206 "};

std::vector<std::string> concat(std::vector<std::string> a, const std::vector<std::string>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

}  // namespace

// Ranges: deflection 2 (scale 50), moment 4 (scale 50), shear 4 (scale 50);
// ordinates use half: 25 pixels per unit. Bar of 10 m: 2440 pixels, 122 per step.
TEST(Scripts, FirstLinesOfEachScriptOfASmallEnvelope_FollowTheLayoutRules) {
  ScratchDir dir;
  EngineRun r = smallEnvelope(dir);
  ASSERT_EQ(r.outcome, RunOutcome::Completed);

  auto deflection = scriptLines(r.state, 1);
  auto wantDeflection = concat(
      concat({"text 20,-115 6 0.0  Deformaci\xF3n de la viga  [mm]     .Proyecto:   E", "text 2,-235 6 0.0  y",
              "text 2,-310 6 0.0  x"},
             kFrame),
      {"text 20,-235 6 0.0   0.00", "text 20,-310 6 0.0   0.00", "line 20,200 20,200 ", "line 142,200 142,200 "});
  ASSERT_GE(deflection.size(), wantDeflection.size());
  EXPECT_EQ(std::vector<std::string>(deflection.begin(), deflection.begin() + wantDeflection.size()), wantDeflection);
  // The minimum pass: -2 * 25 = -50 pixels, drawn downward, written below the axis.
  EXPECT_TRUE(hasLine(deflection, "line 142,200 142,150 "));
  EXPECT_EQ(deflection.back(), "text 2430,-250 6 0.0   0.00");  // label of the last point, 30 left

  auto moment = scriptLines(r.state, 2);
  auto wantMoment = concat(concat({"text 20,-70 6 0.0  Momentos flexores de la viga   [Ton.m]  .Proyecto:   E",
                                   "text 2,-250 6 0.0  Mi", "text 2,-280 6 0.0  Md", "text 2,-310 6 0.0  x"},
                                  kFrame),
                           {"line 20,200 20,200 ", "line 20,200 20,200 ", "text 20,-250 6 0.0   0.00",
                            "text 20,-310 6 0.0   0.00", "line 142,200 142,100 ", "line 142,200 142,200 "});
  ASSERT_GE(moment.size(), wantMoment.size());
  EXPECT_EQ(std::vector<std::string>(moment.begin(), moment.begin() + wantMoment.size()), wantMoment);

  auto shear = scriptLines(r.state, 3);
  auto wantShear =
      concat(concat({"text 20,-50 6 0.0  Esfuerzos de Corte y Reacciones de Apoyo en la Viga  [Ton] . Proyecto:   E",
                     "text 2,-265 6 0.0  Qi", "text 2,-280 6 0.0  Qd", "text 2,-295 6 0.0  R", "text 2,-310 6 0.0  R",
                     "text 2,-325 6 0.0  x"},
                    kFrame),
             {"line 20,200 20,250 ", "line 20,200 20,250 ", "text 20,-265 6 0.0   2.00", "text 20,-310 6 0.0   0.00",
              "text 20,-310 6 0.0   2.00", "line 142,200 142,200 ", "line 142,200 142,250 "});
  ASSERT_GE(shear.size(), wantShear.size());
  EXPECT_EQ(std::vector<std::string>(shear.begin(), shear.begin() + wantShear.size()), wantShear);
}

TEST(Scripts, ShearPasses_LeaveOutTheRightSideLabelsThatTheScreenShows) {
  ScratchDir dir;
  EngineRun r = smallEnvelope(dir);
  RecordingCanvas screen, script;
  drawDiagram(r.state, 3, screen, LabelForm::Screen);
  drawDiagram(r.state, 3, script, LabelForm::Script);
  auto textsAt = [](const RecordingCanvas& c, int x, int y) {
    int n = 0;
    for (const Element& e : c.elements) n += e.kind == Element::words && at(e, x, y);
    return n;
  };
  const int ly = 280;
  // Point 0: maximum pass right label (ly) and abscissa (ly + 45) on the screen only;
  // the script puts the abscissa at ly + 30, where the reaction label also goes.
  EXPECT_EQ(textsAt(screen, 20, ly), 1);
  EXPECT_EQ(textsAt(script, 20, ly), 0);
  EXPECT_EQ(textsAt(screen, 20, ly + 45), 1);
  EXPECT_EQ(textsAt(script, 20, ly + 45), 0);
  EXPECT_EQ(textsAt(screen, 20, ly + 30), 1);
  EXPECT_EQ(textsAt(script, 20, ly + 30), 2);
  // Minimum pass right label (ly - 30): screen only.
  EXPECT_EQ(textsAt(screen, 20, ly - 30), 1);
  EXPECT_EQ(textsAt(script, 20, ly - 30), 0);
  // Last point (x 2460 - 30): the same exceptions.
  EXPECT_EQ(textsAt(screen, 2430, ly), 1);
  EXPECT_EQ(textsAt(script, 2430, ly), 0);
  // The lines are the same; the support triangles only run the other way round.
  auto lines = [](const RecordingCanvas& c) {
    int n = 0;
    for (const Element& e : c.elements) n += e.kind == Element::line;
    return n;
  };
  EXPECT_EQ(lines(screen), lines(script));
  // Pens: blue maximum pass, olive minimum pass (each pass a group).
  std::vector<Colour> pens;
  for (size_t k = 0; k < screen.elements.size(); ++k)
    if (k == 0 || screen.elements[k].groupCls != screen.elements[k - 1].groupCls)
      pens.push_back(colourOf(screen.elements[k].groupCls));
  ASSERT_EQ(pens.size(), 2u);
  EXPECT_EQ(pens[0], kBlue);
  EXPECT_EQ(pens[1], kOlive);
}

TEST(Scripts, MomentRightLabels_OnlyWhereAConcentratedMomentActs) {
  ScratchDir dir;
  HandProject p;
  p.cafLines = {"1  2  5.0  5.0  0.0  10.0 y"};
  p.point = [](int P, float) { return std::array<float, 3>{0, P == 10 ? 25.0f : 5.0f, 0}; };
  writeProject(dir, "a", p);
  EngineRun r;
  r.run(dir, {"a"});
  RecordingCanvas screen;
  drawDiagram(r.state, 2, screen);
  std::vector<std::string> rightLabels;
  for (const Element& e : screen.elements)
    if (e.kind == Element::words && e.points[0].y == 280 && e.points[0].x > 2) rightLabels.push_back(e.text);
  ASSERT_EQ(rightLabels.size(), 1u);
  EXPECT_EQ(rightLabels[0], " 35.00");
}
