// The diagrams of deflection, moment and shear, drawn on the structure: each
// bar's values perpendicular to it at its place in the model (a continuous
// beam's diagrams run along the beam), the deflection as the displaced shape.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>
#include <set>

#include "common/file_names.h"
#include "pictures/bar_line.h"
#include "pictures/diagrams.h"

namespace pictures {

using namespace common;
using projectfiles::UnitLabels;
using projectfiles::unitLabels;

namespace {
// The files a diagram's values come from, as their data attributes name them:
// the extension without the dot.
constexpr const char* kFromResults = kResultsExt + 1;
constexpr const char* kFromDiagram = kDiagramExt + 1;

// Beyond this many bars only the supports and the extremes are labelled.
constexpr int kManyBars = 30;
constexpr double kLargestReach = 120, kLeastReach = 50;
// Points of the deflected shape along a bar besides its stations, loads and
// extremes: drawn straight between them, the curve looks smooth.
constexpr int kShapePoints = 40;

struct DiagramSpec {
  const char* id;
  const char* caption;
  const char* curveClass;
  std::string unit;
};

DiagramSpec diagramSpec(DiagramKind kind, const UnitLabels& units) {
  switch (kind) {
    case DiagramKind::Deflection: return {"flecha", "Deformada (flecha)", "curva-flecha", units.deflection};
    case DiagramKind::Moment: return {"momento", "Momentos flectores", "curva-momento", units.moment};
    default: return {"corte", "Esfuerzos de corte", "curva-corte", units.force};
  }
}

// One value drawn on a bar: where, what, and where the files have it.
struct Ordinate {
  int bar = 0;
  double x = 0;  // from node I
  double value = 0;
  Vec at;  // the curve's point on screen
  const SourceValue* source = nullptr;
  const char* file = kFromDiagram;
};

bool hasBarsOffTheHorizontal(const Model& m) {
  for (size_t i = 1; i < m.bars.size(); ++i)
    if (m.bars[i].orient != kHorizontal) return true;
  return false;
}

// The diagram's room: its largest ordinate (`reach`) beside every bar.
ModelFrame diagramFrame(const Model& m, double& reach) {
  const ModelFrame plain = modelFrame(m);
  double extent = 0;
  for (size_t k = 1; k < m.nodes.size(); ++k)
    for (size_t j = 1; j < m.nodes.size(); ++j)
      extent = std::max({extent, std::fabs(m.nodes[k].x - m.nodes[j].x) * plain.scale,
                         std::fabs(m.nodes[k].y - m.nodes[j].y) * plain.scale});
  reach = std::clamp(0.15 * extent, kLeastReach, kLargestReach);
  Margins room;
  room.top = 60 + reach + 20;
  room.bottom = reach + 60;
  room.side = hasBarsOffTheHorizontal(m) ? reach + 60 : 70;
  return modelFrame(m, room);
}

class DiagramDrawer {
 public:
  DiagramDrawer(Canvas& canvas, const Model& model, const std::vector<calcest::ElasticCurve>& curves, DiagramKind kind,
                const DiagramSources& sources)
      : sources_(sources),
        m_(model),
        kind_(kind),
        spec_(diagramSpec(kind, unitLabels(m_.header.unitCode))),
        nb_(static_cast<int>(m_.bars.size()) - 1),
        f_(diagramFrame(m_, reach_)),
        canvas_(canvas),
        drawing_(canvas, f_.width, f_.height) {
    lines_.emplace_back(curves[0], m_.bars[1]);  // slot 0 unused
    for (int i = 1; i <= nb_; ++i) lines_.emplace_back(curves[static_cast<size_t>(i - 1)], m_.bars[i]);
    supported_.assign(m_.nodes.size(), false);
    for (size_t s = 1; s < m_.supports.size(); ++s) supported_[m_.supports[s].index] = true;
    for (int i = 1; i <= nb_; ++i) ordinates_.push_back(barOrdinates(i));
    placeOrdinates();
    findExtremes();
  }

  void draw() {
    frameAttributes(canvas_, f_);
    canvas_.attribute("data-tipo", spec_.id);
    canvas_.attribute("data-escala-valor", modelValue(valueScale_));
    for (int i = 1; i <= nb_; ++i) drawBar(i);
    drawSupports(drawing_, m_, f_, false);
    drawNodes(drawing_, m_, f_, false);
    nodeLabels();
    if (kind_ == DiagramKind::Deflection)
      deflectionLabels();
    else
      endLabels();
    extremeLabels();
    caption();
    drawing_.placeLabels();
  }

 private:
  Vec end(int i, bool atJ) const {
    const Node& n = m_.nodes[atJ ? m_.bars[i].nodeJ : m_.bars[i].nodeI];
    return {f_.X(n.x), f_.Y(n.y)};
  }
  // The screen side on which a bar's positive values are drawn: a moment on
  // the side its positive value stretches (below a horizontal bar), a shear
  // above it (the engine turns the signs of a bar drawn from right to left),
  // a deflection where the bar's local y points (up from a horizontal bar).
  Vec positiveSide(int i) const {
    const BarInput& bar = m_.bars[i];
    if (kind_ == DiagramKind::Moment) return normal(bar);
    if (kind_ == DiagramKind::Deflection) return -1 * normal(bar);
    return bar.orient == kInclinedLeft ? normal(bar) : -1 * normal(bar);
  }

  using Where = std::pair<int, size_t>;  // (bar, ordinate)

  std::vector<Ordinate> barOrdinates(int i) const;
  void placeOrdinates();
  void drawBar(int i);
  void valueLabel(const Ordinate& o, Vec out, int lean, int priority);
  void nodeLabels();
  void endLabels();
  void deflectionLabels();
  void findExtremes();
  bool endLabelShows(Where where) const;
  void extremeLabels();
  void caption();

  const DiagramSources& sources_;
  const Model& m_;
  DiagramKind kind_;
  DiagramSpec spec_;
  int nb_;
  double reach_ = kLargestReach;
  ModelFrame f_;
  Canvas& canvas_;
  Drawing drawing_;
  std::vector<BarLine> lines_;
  std::vector<bool> supported_;
  std::vector<std::vector<Ordinate>> ordinates_;  // per bar, 0-based
  Where high_{1, 0}, low_{1, 0};                  // of the whole structure
  double valueScale_ = 0;                         // pixels per unit of the drawn value
  int decimals_ = 2;
};

// The bar's values at its stations and, where a point load acts, on both
// sides of it; a moment or shear at a station keeps where the files have it.
// The deflected shape is sampled finely, with its extremes: its values between
// the nodes are not the diagram file's.
std::vector<Ordinate> DiagramDrawer::barOrdinates(int i) const {
  const BarLine& line = lines_[i];
  const BarInput& bar = m_.bars[i];
  if (kind_ == DiagramKind::Deflection) {
    const double printScale = unitConstantsFor(m_.header.unitCode).scale;
    std::vector<Ordinate> out;
    for (double x : line.shapePoints(kShapePoints))
      out.push_back({i, x, line.displacement(x).transverse * printScale, {}, nullptr, kFromDiagram});
    return out;
  }
  std::vector<Ordinate> out;
  for (const BarLine::DiagramPoint& point : line.diagramPoints(kind_ == DiagramKind::Moment)) {
    const double x = point.x;
    const int k = static_cast<int>(std::lround(20 * x / bar.L));
    const bool station = std::fabs(x - bar.xs[k]) <= kSameAbscissa;
    // The bar's first value is the one just right of node I (a point action
    // at the node in it), its last the one just left of node J. The files
    // hold a bar's end force, and a station its value, where no point action
    // acts at that end.
    const bool start = station && k == 0, atEnd = start || (station && k == kStations - 1);
    const bool filed = !(atEnd && line.actsAtEnd(!start));
    for (bool right : {false, true}) {
      if (right && !point.jump) break;
      Ordinate o{i, x, 0, {}, nullptr, kFromDiagram};
      o.value = kind_ == DiagramKind::Moment ? line.moment(x, right || start) : line.shear(x, right || start);
      if (start && filed) {
        o.source = sources_.barEnd(i, kind_, true);
        o.file = kFromResults;
      } else if (station && !right && filed) {
        o.source = sources_.station(i, k, kind_);
      }
      out.push_back(o);
    }
  }
  return out;
}

// Screen points of every ordinate, the largest drawn `reach_` pixels from its bar.
void DiagramDrawer::placeOrdinates() {
  double largest = 0;
  for (const auto& bar : ordinates_)
    for (const Ordinate& o : bar) largest = std::max(largest, std::fabs(o.value));
  for (size_t n = 1; n < m_.nodes.size() && kind_ == DiagramKind::Deflection; ++n)
    if (const SourceValue* value = sources_.nodeDeflection(static_cast<int>(n)))
      largest = std::max(largest, std::fabs(value->value));
  decimals_ = decimalsFor(largest);
  if (kind_ != DiagramKind::Deflection) {
    valueScale_ = largest > 0 ? reach_ / largest : 0.0;
    for (auto& bar : ordinates_)
      for (Ordinate& o : bar) {
        const Vec a = end(o.bar, false), b = end(o.bar, true);
        o.at = a + (o.x / m_.bars[o.bar].L) * (b - a) + (o.value * valueScale_) * positiveSide(o.bar);
      }
    return;
  }
  // The displaced shape: each point of a bar moved by the bar's own
  // displacement there, in the plane.
  double farthest = 0;
  for (const auto& bar : ordinates_)
    for (const Ordinate& o : bar) {
      const LocalDisplacement d = lines_[o.bar].displacement(o.x);
      farthest = std::max(farthest, std::hypot(d.axial, d.transverse));
    }
  const double amplitude = farthest > 0 ? reach_ / (f_.scale * farthest) : 0.0;
  valueScale_ = amplitude * f_.scale / unitConstantsFor(m_.header.unitCode).scale;
  for (auto& bar : ordinates_)
    for (Ordinate& o : bar) {
      const BarInput& b = m_.bars[o.bar];
      const Node& I = m_.nodes[b.nodeI];
      const LocalDisplacement d = lines_[o.bar].displacement(o.x);
      const double mx = I.x + o.x * b.cos + amplitude * (d.axial * b.cos - d.transverse * b.sin);
      const double my = I.y + o.x * b.sin + amplitude * (d.axial * b.sin + d.transverse * b.cos);
      o.at = {f_.X(mx), f_.Y(my)};
    }
}

void DiagramDrawer::drawBar(int i) {
  const Vec a = end(i, false), b = end(i, true);
  std::vector<Vec> outline{a};
  for (const Ordinate& o : ordinates_[i - 1]) outline.push_back(o.at);
  outline.push_back(b);
  const Data bar{{"data-barra", std::to_string(m_.bars[i].label)}};
  canvas_.line(a, b, {"eje", bar});
  canvas_.polygon(points(outline), {spec_.curveClass, bar});
  pictures::Group releases;
  releases.cls = "estructura";
  canvas_.beginGroup(releases);
  drawReleases(canvas_, m_.bars[i], a, b);
  canvas_.endGroup();
}

// A value beside its point of the curve, away from the bar (`out`), leaning
// towards node I (−1) or J (+1) or centred (0) along a bar that is not steep.
void DiagramDrawer::valueLabel(const Ordinate& o, Vec out, int lean, int priority) {
  const Vec e = along(m_.bars[o.bar]);
  Vec p = o.at + 4 * out + (3.0 * lean) * e;
  Anchor anchor = out.x >= 0 ? Anchor::start : Anchor::end;
  if (std::fabs(e.x) >= 0.5)
    anchor = lean == 0 ? Anchor::middle : (lean > 0) == (e.x > 0) ? Anchor::start : Anchor::end;
  p.y += out.y < -0.5 ? -2 : out.y > 0.5 ? 11 : 4;
  const Data attributes = o.source ? sourceData(o.file, *o.source) : Data{};
  drawing_.label({p.x,
                  p.y,
                  pictureNumber(o.value, decimals_),
                  "valor",
                  anchor,
                  attributes,
                  priority,
                  {{13 * out.x, 13 * out.y}, {26 * out.x, 26 * out.y}, {-16 * out.x, -16 * out.y}}});
}

// Node labels beside their nodes, below a support's symbol.
void DiagramDrawer::nodeLabels() {
  for (size_t k = 1; k < m_.nodes.size(); ++k) {
    const Node& n = m_.nodes[k];
    const double X = f_.X(n.x), Y = f_.Y(n.y);
    const std::string label = "N" + std::to_string(n.label);
    if (supported_[k])
      drawing_.label({X,
                      Y + 44,
                      label,
                      "etiqueta-nodo",
                      Anchor::middle,
                      {{"data-nodo", std::to_string(n.label)}},
                      50,
                      {{0, 13}, {-30, 0}, {30, 0}}});
    else
      drawing_.label({X + 8,
                      Y + 18,
                      label,
                      "etiqueta-nodo",
                      Anchor::start,
                      {{"data-nodo", std::to_string(n.label)}},
                      50,
                      {{-16, 0}, {0, -26}, {-16, -26}}});
  }
}

// Moment or shear at the bar ends from the results file; a node shows each
// distinct value once (a continuous moment once, a jump of shear both sides).
void DiagramDrawer::endLabels() {
  std::map<int, std::set<std::string>> shown;
  for (int i = 1; i <= nb_; ++i) {
    for (bool atJ : {false, true}) {
      const int node = atJ ? m_.bars[i].nodeJ : m_.bars[i].nodeI;
      if (nb_ > kManyBars && !supported_[node]) continue;
      const Ordinate& o = atJ ? ordinates_[i - 1].back() : ordinates_[i - 1].front();
      Ordinate labelled = o;
      labelled.source = lines_[i].actsAtEnd(atJ) ? nullptr : sources_.barEnd(i, kind_, !atJ);
      labelled.file = kFromResults;
      const std::string text = pictureNumber(o.value, decimals_);
      if (std::strtod(text.c_str(), nullptr) == 0.0 || !shown[node].insert(text).second) continue;
      valueLabel(labelled, (o.value >= 0 ? 1.0 : -1.0) * positiveSide(i), atJ ? -1 : 1, 40);
    }
  }
}

// The deflection of every node that moves, from the results file, at its
// displaced place.
void DiagramDrawer::deflectionLabels() {
  std::vector<bool> done(m_.nodes.size(), false);
  for (int i = 1; i <= nb_; ++i) {
    for (bool atJ : {false, true}) {
      const int node = atJ ? m_.bars[i].nodeJ : m_.bars[i].nodeI;
      if (done[node] || (nb_ > kManyBars && !supported_[node])) continue;
      done[node] = true;
      Ordinate o = atJ ? ordinates_[i - 1].back() : ordinates_[i - 1].front();
      // The results file's value where there is one, else the line's own.
      const SourceValue* value = sources_.nodeDeflection(node);
      const double deflection = value ? value->value : o.value;
      if (std::strtod(pictureNumber(deflection, decimals_).c_str(), nullptr) == 0.0) continue;
      o.value = deflection;
      o.source = value;
      o.file = kFromResults;
      valueLabel(o, {0, deflection >= 0 ? -1.0 : 1.0}, 0, 40);
    }
  }
}

// The extremes of the whole structure: each at a bar's end or at the bar's
// largest or smallest value inside; of values that read the same, the first
// (a value the files round differently is not a second extreme).
void DiagramDrawer::findExtremes() {
  const double shown = 0.5 * std::pow(10.0, -decimals_);
  auto value = [this](Where w) { return ordinates_[w.first - 1][w.second].value; };
  for (int i = 1; i <= nb_; ++i) {
    const auto& list = ordinates_[i - 1];
    size_t top = 0, bottom = 0;
    for (size_t p = 1; p < list.size(); ++p) {
      if (list[p].value > list[top].value) top = p;
      if (list[p].value < list[bottom].value) bottom = p;
    }
    for (size_t p : {size_t{0}, list.size() - 1, top, bottom}) {
      if (list[p].value > value(high_) + shown) high_ = {i, p};
      if (list[p].value < value(low_) - shown) low_ = {i, p};
    }
  }
}

// Whether the label at a bar's end shows the value there. Moments and shears
// are labelled at every end; a deflection only as its node's (vertical) one,
// which is not a column's sway or the end a transverse release lets part
// from its node.
bool DiagramDrawer::endLabelShows(Where where) const {
  if (kind_ != DiagramKind::Deflection) return true;
  const BarInput& bar = m_.bars[where.first];
  const int node = where.second == 0 ? bar.nodeI : bar.nodeJ;
  if (nb_ > kManyBars && !supported_[node]) return false;
  const SourceValue* value = sources_.nodeDeflection(node);
  if (!value) return true;  // the node's label is the ordinate's own value
  const std::string labelled = pictureNumber(value->value, decimals_);
  return pictureNumber(ordinates_[where.first - 1][where.second].value, decimals_) == labelled;
}

// Extremes inside each bar that pass both its ends (span moments, the largest
// deflection of a span), both sides of every point load, and the extremes of
// the whole structure (unless at a bar end, which has its label).
void DiagramDrawer::extremeLabels() {
  std::map<Where, int> chosen;  // (bar, ordinate) -> priority
  auto at = [this](Where where) -> const Ordinate& { return ordinates_[where.first - 1][where.second]; };
  // Passing another value by less than the labels show is the files' rounding.
  const double shown = 0.5 * std::pow(10.0, -decimals_);
  for (int i = 1; i <= nb_; ++i) {
    const auto& list = ordinates_[i - 1];
    size_t top = 1, bottom = 1;
    for (size_t p = 1; p + 1 < list.size(); ++p) {
      if (list[p].value > list[top].value) top = p;
      if (list[p].value < list[bottom].value) bottom = p;
      if (list[p].x != list[p - 1].x || nb_ > kManyBars) continue;
      // A point load: both sides where they differ, one value where they do not.
      const std::string left = pictureNumber(list[p - 1].value, decimals_);
      if (left != pictureNumber(list[p].value, decimals_))
        chosen[{i, p - 1}] = chosen[{i, p}] = 35;
      else if (std::strtod(left.c_str(), nullptr) != 0.0)
        chosen[{i, p - 1}] = 35;
    }
    if (nb_ > kManyBars || list.size() < 3) continue;
    if (list[top].value > std::max(list.front().value, list.back().value) + shown) chosen[{i, top}] = 30;
    if (list[bottom].value < std::min(list.front().value, list.back().value) - shown) chosen[{i, bottom}] = 30;
  }
  for (const Where& where : {high_, low_}) {
    const bool barEnd = where.second == 0 || where.second + 1 == ordinates_[where.first - 1].size();
    if (at(where).value != 0.0 && (!barEnd || !endLabelShows(where))) chosen[where] = 45;
  }
  for (const auto& [where, priority] : chosen) {
    const Ordinate& o = at(where);
    const auto& list = ordinates_[where.first - 1];
    // The two sides of a jump lean apart.
    int lean = 0;
    if (where.second + 1 < list.size() && list[where.second + 1].x == o.x &&
        chosen.count({where.first, where.second + 1}))
      lean = -1;
    if (where.second > 0 && list[where.second - 1].x == o.x && chosen.count({where.first, where.second - 1})) lean = 1;
    canvas_.circle(o.at, pictures::whole(3), {"extremo"});
    valueLabel(o, (o.value >= 0 ? 1.0 : -1.0) * positiveSide(o.bar), lean, priority);
  }
}

// Title, and the extremes of the whole structure with where they are.
void DiagramDrawer::caption() {
  const Ordinate* high = &ordinates_[high_.first - 1][high_.second];
  const Ordinate* low = &ordinates_[low_.first - 1][low_.second];
  drawing_.text(10, 22, std::string(spec_.caption) + " [" + spec_.unit + "]", "titulo");
  const std::string length = unitLabels(m_.header.unitCode).length;
  std::string visible, markup;
  for (const Ordinate* o : {high, low}) {
    const BarInput& bar = m_.bars[o->bar];
    const std::string value = pictureNumber(o->value, decimals_);
    const std::string where = " en B" + std::to_string(bar.label) + ", a " + pictureNumber(o->x, 2) + " " + length +
                              " de N" + std::to_string(m_.nodes[bar.nodeI].label);
    const std::string head = o == high ? "m\xE1ximo " : ";  m\xEDnimo ";
    visible += head + value + where;
    markup +=
        escapeText(head) + (o->source ? sourceSpan(o->file, *o->source, value) : escapeText(value)) + escapeText(where);
  }
  drawing_.text(10, 42, visible, "nota", Anchor::start, {}, markup);
}
}  // namespace

Data sourceData(const char* file, const SourceValue& value) {
  return {
      {"data-fuente", file}, {"data-linea", std::to_string(value.line)}, {"data-campo", std::to_string(value.field)}};
}

std::string sourceSpan(const char* file, const SourceValue& value, const std::string& text) {
  return "<tspan class=\"valor\"" + markupAttributes(sourceData(file, value)) + ">" + escapeText(text) + "</tspan>";
}

const char* diagramId(DiagramKind kind) { return diagramSpec(kind, UnitLabels{}).id; }

ModelFrame diagramFrame(const Model& model) {
  double reach = 0;
  return diagramFrame(model, reach);
}

void drawDiagram(Canvas& canvas, const Model& model, const std::vector<calcest::ElasticCurve>& curves, DiagramKind kind,
                 const DiagramSources& sources) {
  DiagramDrawer(canvas, model, curves, kind, sources).draw();
}

}  // namespace pictures
