#include "envolventes/engine/diagram.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "common/format.h"

#include "envolventes/engine/line_reader.h"

namespace envelope {

using namespace common;

Colour colourOf(const std::string& cls) {
  static const std::pair<const char*, Colour> kInks[] = {
      {kGreenInk, kGreen}, {kPurpleInk, kPurple}, {kOliveInk, kOlive}, {kRedInk, kRed}, {kBlueInk, kBlue}};
  for (const auto& ink : kInks)
    if (cls == ink.first) return ink.second;
  return {};
}

namespace {

constexpr int kSymbol = 6;  // half size of the support and node symbols

const char* const kDeflectionCaption = "Deformaci\xF3n de la viga  ";
const char* const kMomentCaption = "Momentos flexores de la viga  ";
const char* const kShearCaption = "Esfuerzos de Corte y Reacciones de Apoyo en la Viga ";
const char* const kProjectWord = "Proyecto:  ";
const char* const kBlankUnit = "[      ]";
const char* const kDeflectionUnits[3] = {"[mm]     ", "[mm]     ", "[pie/1000]"};
const char* const kMomentUnits[3] = {"[Ton.m]  ", "[kN.m]  ", "[pie.klb]"};
const char* const kForceUnits[3] = {"[Ton] ", "[kN]   ", "[klb]  "};

// Draws one diagram; holds what every step needs.
class DiagramPainter {
 public:
  DiagramPainter(const EnvelopeState& state, const EnvelopeOrdinates& ordinates, pictures::Canvas& canvas,
                 LabelForm form)
      : s_(state),
        c_(canvas),
        L_(state.layout),
        env_(state.points),
        y_(ordinates),
        last_(std::min<int>(state.lastPoint, static_cast<int>(state.layout.pointX.size()) - 1)),
        script_(form == LabelForm::Script) {}

  void deflections();
  void moments();
  void shear();

 private:
  // A pass is a group whose class names its pen.
  void beginPass(const char* ink) {
    pictures::Group pass;
    pass.cls = ink;
    c_.beginGroup(pass);
  }
  void line(int x1, int y1, int x2, int y2) { c_.line({x1, y1}, {x2, y2}, {}); }
  void text(int x, int y, const std::string& words, const char* ink) {
    c_.text({x, y}, words, pictures::Style(ink), pictures::Anchor::start, {});
  }
  int px(int P) const { return L_.pointX[P]; }
  int labelX(int P) const { return P == last_ ? px(P) - 30 : px(P); }
  const char* unit(const char* const (&table)[3]) const {
    int u = s_.current.unitSystem;
    return u >= 0 && u <= 2 ? table[u] : kBlankUnit;
  }
  void title(const char* format, const char* caption, const char* unitText, int y, const char* ink);
  void support(int x);
  void nodeTick(int x);
  void beamFrame();
  // Support (position in the table) whose current record names this node; 0 if none.
  int supportAt(int node) const;
  // Ordinates: deflections and shear upward (sign -1), moments downward (+1).
  void ordinate(int P, int v, int sign) { line(px(P), L_.axisY, px(P), L_.axisY + sign * v); }
  void leftClosing(int v0, int sign) { line(20, L_.axisY, px(0), L_.axisY + sign * v0); }
  void rightClosing(int vLast, int sign) { line(px(last_), L_.axisY + sign * vLast, L_.rightEnd, L_.axisY); }
  void abscissa(int P, int dy) { text(labelX(P), L_.labelY + dy, valueText(s_.current.points[P].x), kGreenInk); }
  void reactionLabel(int P, int support, bool maximum);
  // A label's value, in a string kept for the next label.
  const std::string& valueText(float v) {
    label_ = formatText("%6.2f", v);
    return label_;
  }

  const EnvelopeState& s_;
  pictures::Canvas& c_;
  const DiagramLayout& L_;
  const PointEnvelopes& env_;
  const EnvelopeOrdinates& y_;
  int last_;
  bool script_;
  std::string label_;
};

void DiagramPainter::title(const char* format, const char* caption, const char* unitText, int y, const char* ink) {
  std::string name = s_.envelopeName();
  text(20, y, formatText(format, caption, unitText, kProjectWord, name.c_str()), ink);
}

void DiagramPainter::support(int x) {
  int a = L_.axisY, s = kSymbol;
  // The script draws the triangle the other way round (left corner first).
  int first = script_ ? x - s : x + s, second = script_ ? x + s : x - s;
  line(x, a, first, a + s);
  line(first, a + s, second, a + s);
  line(second, a + s, x, a);
}

void DiagramPainter::nodeTick(int x) {
  line(x, L_.axisY, x, L_.axisY + kSymbol);
  line(x, L_.axisY + kSymbol, x, L_.axisY - kSymbol);
}

int DiagramPainter::supportAt(int node) const {
  const ProjectTables& p = s_.current;
  for (int j = 1; j <= p.supportCount && j < static_cast<int>(p.reactions.size()); ++j)
    if (p.reactions[j].node == node) return j;
  return 0;
}

bool supportOneAtNodeOne(const ProjectTables& p) {
  return p.supportCount >= 1 && p.reactions.size() > 1 && p.reactions[1].node == 1;
}

void DiagramPainter::beamFrame() {
  line(20, L_.axisY, L_.rightEnd, L_.axisY);
  if (supportOneAtNodeOne(s_.current)) support(px(0));
  nodeTick(px(0));
  for (int P = 20; P <= last_; P += 20)
    if (supportAt(P / 20 + 1)) support(px(P));
  for (int P = 20; P <= last_; P += 20) nodeTick(px(P));
}

void DiagramPainter::reactionLabel(int P, int support, bool maximum) {
  if (maximum)
    text(labelX(P), L_.labelY + 30, valueText(s_.reactionMax[support].R), kBlueInk);
  else
    text(labelX(P), L_.labelY + 15, valueText(s_.reactionMin[support].R), kBlueInk);
}

void DiagramPainter::deflections() {
  int ly = L_.labelY;
  auto maxLabels = [&](int P) {
    text(labelX(P), ly - 45, valueText(env_.DeflectionMax[P]), kGreenInk);
    abscissa(P, 30);
  };
  auto minLabels = [&](int P) { text(labelX(P), ly - 30, valueText(env_.DeflectionMin[P]), kGreenInk); };

  beginPass(kGreenInk);
  title(" %s%s.%s %s", kDeflectionCaption, unit(kDeflectionUnits), 115, kGreenInk);
  text(2, ly - 45, " y", kGreenInk);
  text(2, ly + 30, " x", kGreenInk);
  beamFrame();
  maxLabels(0);
  leftClosing(y_.DeflectionMaxY[0], -1);
  for (int P = 1; P <= last_; ++P) {
    if (P % 20 == 0) maxLabels(P);
    ordinate(P, y_.DeflectionMaxY[P], -1);
  }
  rightClosing(y_.DeflectionMaxY[last_], -1);
  maxLabels(last_);
  c_.endGroup();

  beginPass(kPurpleInk);
  text(2, ly - 30, " y", kGreenInk);
  minLabels(0);
  leftClosing(y_.DeflectionMinY[0], -1);
  for (int P = 1; P <= last_; ++P) {
    if (P % 20 == 0) minLabels(P);
    ordinate(P, y_.DeflectionMinY[P], -1);
  }
  rightClosing(y_.DeflectionMinY[last_], -1);
  minLabels(last_);
  c_.endGroup();
}

void DiagramPainter::moments() {
  int ly = L_.labelY;
  auto maxLabels = [&](int P) {
    text(labelX(P), ly - 30, valueText(env_.MomentMaxLeft[P]), kRedInk);
    abscissa(P, 30);
  };
  auto minLabels = [&](int P) { text(labelX(P), ly - 45, valueText(env_.MomentMinLeft[P]), kRedInk); };

  beginPass(kOliveInk);
  title(" %s %s.%s %s", kMomentCaption, unit(kMomentUnits), 70, kRedInk);
  text(2, ly - 30, " Mi", kRedInk);
  text(2, ly, " Md", kRedInk);
  text(2, ly + 30, " x", kGreenInk);
  beamFrame();
  leftClosing(y_.MomentMaxLeftY[0], +1);
  leftClosing(y_.MomentMaxRightY[0], +1);
  maxLabels(0);
  for (int P = 1; P <= last_; ++P) {
    if (P % 20 == 0) maxLabels(P);
    ordinate(P, y_.MomentMaxLeftY[P], +1);
    ordinate(P, y_.MomentMaxRightY[P], +1);
    if (y_.MomentMaxRightY[P] != 0) text(labelX(P), ly, valueText(env_.MomentMaxRight[P]), kRedInk);
  }
  rightClosing(y_.MomentMaxLeftY[last_], +1);
  rightClosing(y_.MomentMaxRightY[last_], +1);
  maxLabels(last_);
  c_.endGroup();

  beginPass(kRedInk);
  text(2, ly - 45, " Mi", kRedInk);
  text(2, ly - 15, " Md", kRedInk);
  leftClosing(y_.MomentMinRightY[0], +1);
  leftClosing(y_.MomentMinLeftY[0], +1);
  minLabels(0);
  for (int P = 1; P <= last_; ++P) {
    if (P % 20 == 0) minLabels(P);
    ordinate(P, y_.MomentMinLeftY[P], +1);
    ordinate(P, y_.MomentMinRightY[P], +1);
    if (y_.MomentMinRightY[P] != 0) text(labelX(P), ly - 15, valueText(env_.MomentMinRight[P]), kRedInk);
  }
  rightClosing(y_.MomentMinRightY[last_], +1);
  rightClosing(y_.MomentMinLeftY[last_], +1);
  minLabels(last_);
  c_.endGroup();
}

void DiagramPainter::shear() {
  int ly = L_.labelY;
  // The script leaves out the right-side shear labels and moves the abscissa up.
  auto maxLabels = [&](int P) {
    text(labelX(P), ly - 15, valueText(env_.ShearMaxLeft[P]), kBlueInk);
    if (script_) {
      abscissa(P, 30);
    } else {
      text(labelX(P), ly, valueText(env_.ShearMaxRight[P]), kBlueInk);
      abscissa(P, 45);
    }
  };
  auto minLabels = [&](int P) {
    text(labelX(P), ly - 45, valueText(env_.ShearMinLeft[P]), kBlueInk);
    if (!script_) text(labelX(P), ly - 30, valueText(env_.ShearMinRight[P]), kBlueInk);
  };
  bool firstSupportAtStart = supportOneAtNodeOne(s_.current);

  beginPass(kBlueInk);
  title(" %s %s. %s %s", kShearCaption, unit(kForceUnits), 50, kBlueInk);
  text(2, ly - 15, " Qi", kBlueInk);
  text(2, ly, " Qd", kBlueInk);
  text(2, ly + 15, " R", kBlueInk);
  text(2, ly + 30, " R", kBlueInk);
  text(2, ly + 45, " x", kGreenInk);
  beamFrame();
  leftClosing(y_.ShearMaxLeftY[0], -1);
  leftClosing(y_.ShearMaxRightY[0], -1);
  maxLabels(0);
  if (firstSupportAtStart) reactionLabel(0, 1, true);
  for (int P = 1; P <= last_; ++P) {
    ordinate(P, y_.ShearMaxRightY[P], -1);
    ordinate(P, y_.ShearMaxLeftY[P], -1);
    if (P % 20 == 0) {
      maxLabels(P);
      if (int j = supportAt(P / 20 + 1)) reactionLabel(P, j, true);
    }
  }
  c_.endGroup();

  beginPass(kOliveInk);
  text(2, ly - 45, " Qi", kBlueInk);
  text(2, ly - 30, " Qd", kBlueInk);
  leftClosing(y_.ShearMinLeftY[0], -1);
  leftClosing(y_.ShearMinRightY[0], -1);
  minLabels(0);
  if (firstSupportAtStart) reactionLabel(0, 1, false);
  for (int P = 1; P <= last_; ++P) {
    ordinate(P, y_.ShearMinRightY[P], -1);
    ordinate(P, y_.ShearMinLeftY[P], -1);
    if (P % 20 == 0) {
      minLabels(P);
      if (int j = supportAt(P / 20 + 1)) reactionLabel(P, j, false);
    }
  }
  c_.endGroup();
}

}  // namespace

void drawDiagram(const EnvelopeState& state, int selector, pictures::Canvas& canvas, LabelForm form) {
  drawDiagram(state, state.ordinates, selector, canvas, form);
}

void drawDiagram(const EnvelopeState& state, const EnvelopeOrdinates& ordinates, int selector, pictures::Canvas& canvas,
                 LabelForm form) {
  if (selector < 1 || selector > 3) return;
  const DiagramLayout& layout = state.layout;
  canvas.beginPicture(layout.areaWidth, layout.areaHeight, layout.axisY);
  DiagramPainter painter(state, ordinates, canvas, form);
  if (selector == 1) painter.deflections();
  if (selector == 2) painter.moments();
  if (selector == 3) painter.shear();
  canvas.endPicture();
}

std::string scriptErrorText(int selector) {
  switch (selector) {
    case 1: return "ERROR SCRD";
    case 2: return "ERROR SCRM";
    default: return "ERROR SCRC";
  }
}

namespace {

// `drawn`, when given, holds the script's commands already drawn.
DrawOutcome paint(const EnvelopeState& state, int selector, pictures::Canvas* screen,
                  const pictures::ScriptCanvas* drawn, MessageSink& sink, const OutputFiles& files) {
  if (selector < 1 || selector > 3) return DrawOutcome::NothingToDraw;
  std::string name = state.scriptName(selector);
  FILE* script = name.empty() ? nullptr : files.create(name);
  if (!script) {
    sink.showMessage(scriptErrorText(selector));
    return DrawOutcome::ScriptError;
  }
  if (screen) drawDiagram(state, selector, *screen);
  if (drawn) {
    drawn->writeTo(script);
  } else {
    pictures::ScriptCanvas scriptCanvas = diagramScript();
    drawDiagram(state, selector, scriptCanvas, LabelForm::Script);
    scriptCanvas.writeTo(script);
  }
  return files.finish(script, name, sink) ? DrawOutcome::Drawn : DrawOutcome::WriteError;
}

}  // namespace

DrawOutcome paintDiagram(const EnvelopeState& state, int selector, pictures::Canvas& screen, MessageSink& sink,
                         const OutputFiles& files) {
  return paint(state, selector, &screen, nullptr, sink, files);
}

DrawOutcome writeScript(const EnvelopeState& state, int selector, MessageSink& sink, const OutputFiles& files) {
  return paint(state, selector, nullptr, nullptr, sink, files);
}

DrawOutcome writeDrawnScript(const EnvelopeState& state, int selector, const pictures::ScriptCanvas& drawn,
                             MessageSink& sink, const OutputFiles& files) {
  return paint(state, selector, nullptr, &drawn, sink, files);
}

bool savePicture(const pictures::SvgPicture& picture, const std::string& path, MessageSink& sink,
                 const OutputFiles& files) {
  FILE* out = files.create(path);
  if (!out) {
    sink.showMessage("ERROR SVG " + path);
    return false;
  }
  const std::string document = picture.document(true);
  std::fwrite(document.data(), 1, document.size(), out);
  return files.finish(out, path, sink);
}

}  // namespace envelope
