#include "pictures/model.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <string>

#include "common/support_code.h"

namespace pictures {

using namespace common;
using projectfiles::LoadOnBar;
using projectfiles::UnitLabels;
using projectfiles::unitLabels;

namespace {
constexpr double kPi = 3.14159265358979323846;
constexpr double kWidth = 1000, kMostHeight = 420, kLeastSpanPixels = 40;

Point at(double x, double y) { return {whole(x), whole(y)}; }
std::vector<Point> wholePoints(std::initializer_list<std::pair<double, double>> list) {
  std::vector<Point> out;
  for (const auto& [x, y] : list) out.push_back(at(x, y));
  return out;
}

const Style kPlain{};

// ---- supports ---------------------------------------------------------------

void groundLine(Canvas& c, double x1, double y1, double x2, double y2) {
  c.line({x1, y1}, {x2, y2}, kPlain);
  // Hatching on the far side of the ground.
  const bool horizontal = y1 == y2;
  for (int i = 0; i <= 4; ++i) {
    double t = i / 4.0, x = x1 + t * (x2 - x1), y = y1 + t * (y2 - y1);
    if (horizontal)
      c.line({x, y}, {x - 5, y + 6}, kPlain);
    else
      c.line({x, y}, {x - 6, y + 5}, kPlain);
  }
}

void springSymbol(Canvas& c, bool vertical) {
  if (vertical)
    c.polyline(wholePoints({{0, 0}, {0, 6}, {-6, 9}, {6, 13}, {-6, 17}, {6, 21}, {-6, 25}, {0, 28}, {0, 32}}), kPlain);
  else
    c.polyline(wholePoints({{0, 0}, {-6, 0}, {-9, -6}, {-13, 6}, {-17, -6}, {-21, 6}, {-25, -6}, {-28, 0}, {-32, 0}}),
               kPlain);
  if (vertical)
    groundLine(c, -14, 32, 14, 32);
  else
    groundLine(c, -32, -14, -32, 14);
}

void triangleSymbol(Canvas& c, bool pinned) {
  c.polygon(wholePoints({{0, 0}, {-10, 16}, {10, 16}}), kPlain);
  if (pinned) {
    groundLine(c, -16, 16, 16, 16);
  } else {
    c.circle(at(-5, 19), whole(3), kPlain);
    c.circle(at(5, 19), whole(3), kPlain);
    groundLine(c, -16, 22, 16, 22);
  }
}

void rotationMark(Canvas& c, Restraint restraint) {
  if (restraint == Restraint::rigid) c.rect(at(-7, -7), whole(14), whole(14), kPlain);
  if (restraint == Restraint::spring) {
    // Three quarters of a turn with its arrow head.
    c.path({{PathStep::moveTo, at(0, -12)},
            {PathStep::arcTo, at(-12, 0), whole(12), true, true},
            {PathStep::moveTo, at(-12, 0)},
            {PathStep::lineBy, at(-3, -5)},
            {PathStep::moveBy, at(3, 5)},
            {PathStep::lineBy, at(4, -4)}},
           kPlain);
  }
}

// Notes of the values the code carries: prescribed displacements and springs,
// each with its unit.
std::string supportNote(const Support& s, const UnitLabels& u) {
  std::string note;
  auto add = [&note](const char* name, double value, const std::string& unit) {
    if (value != 0.0) note += (note.empty() ? "" : " ") + std::string(name) + "=" + modelValue(value) + " " + unit;
  };
  const std::string length = u.length, turn = "rad", force = u.force + "/" + u.length, moment = u.moment + "/rad";
  const SupportCode code(s.code);
  if (code.inclined() == Restraint::rigid) {
    // The prescribed displacement along the incline is kept in rz (code 4) or dx (14).
    add("d", code.inclinedPrescribedField() == SupportField::rz ? s.rz : s.dx, length);
    if (code.along(Direction::rotation) == Restraint::rigid) add("rz", s.rz, turn);
  } else {
    add("dx", s.dx, length);
    add("dy", s.dy, length);
    add("rz", s.rz, turn);
  }
  add("kx", s.kx, force);
  add("ky", s.ky, force);
  add("kz", s.kz, moment);
  return note;
}

// A fixed end: a wall on the side away from the beam (wallSide -1 left, +1
// right), or a hatched base below the node when bars leave it both ways.
void fixedSymbol(Canvas& c, int wallSide) {
  Style thick;
  thick.strokeWidth = 3;
  if (wallSide == 0) {
    c.line(at(-16, 0), at(16, 0), thick);
    groundLine(c, -16, 0, 16, 0);
    return;
  }
  c.line(at(0, -18), at(0, 18), thick);
  for (int i = 0; i <= 4; ++i) {
    const double y = -18 + 9 * i;
    c.line({whole(0), y}, {7.0 * wallSide, y + 6}, kPlain);
  }
}

void supportSymbol(Canvas& c, const Support& s, int wallSide) {
  const SupportCode code(s.code);
  const Restraint r = code.along(Direction::rotation);
  if (code.isInclined()) {
    // Inclined: the symbol of the vertical support turned by the angle.
    Group turned;
    turned.rotated = true;
    turned.degrees = -s.angle * 180 / kPi;
    c.beginGroup(turned);
    if (code.inclined() == Restraint::rigid)
      triangleSymbol(c, false);
    else
      springSymbol(c, true);
    c.endGroup();
    rotationMark(c, r);
    return;
  }
  const Restraint h = code.along(Direction::horizontal), v = code.along(Direction::vertical);
  if (h == Restraint::rigid && v == Restraint::rigid && r == Restraint::rigid) {
    fixedSymbol(c, wallSide);
    return;
  }
  if (v == Restraint::rigid) triangleSymbol(c, h == Restraint::rigid);
  if (v == Restraint::spring) springSymbol(c, true);
  if (v != Restraint::rigid && h == Restraint::rigid) {
    c.polygon(wholePoints({{0, 0}, {-16, -10}, {-16, 10}}), kPlain);
    groundLine(c, -16, -14, -16, 14);
  }
  if (h == Restraint::spring) springSymbol(c, false);
  rotationMark(c, r);
}

// Which side of a node its bars leave from: -1 all to the right (a wall goes
// on the left), +1 all to the left, 0 both ways or vertically.
int wallSide(const Model& model, int node) {
  bool left = false, right = false;
  for (size_t i = 1; i < model.bars.size(); ++i) {
    const BarInput& bar = model.bars[i];
    if (bar.nodeI != node && bar.nodeJ != node) continue;
    const double away = model.nodes[bar.nodeI == node ? bar.nodeJ : bar.nodeI].x - model.nodes[node].x;
    if (away > 0)
      right = true;
    else if (away < 0)
      left = true;
    else
      left = right = true;
  }
  return left == right ? 0 : right ? -1 : 1;
}

Group translatedGroup(std::string cls, Data data, Vec origin) {
  Group g;
  g.cls = std::move(cls);
  g.data = std::move(data);
  g.translated = true;
  g.translate = origin;
  return g;
}

// ---- loads ------------------------------------------------------------------

// Lengths along the bar of a load's distances: the file gives projections for
// loads on inclined bars, as the static engine reads them.
double projectionFactor(const BarInput& bar, const BarLoad& load) {
  const bool inclined = bar.orient == kInclinedRight || bar.orient == kInclinedLeft;
  const bool projected = load.ltype == 1 || load.ltype == 3 || load.ltype == 4 || load.ltype == 5;
  if (!inclined || !projected) return 1.0;
  return (load.dir == 'y' || load.dir == 'Y') ? std::fabs(bar.cos) : std::fabs(bar.sin);
}

// Screen direction in which the load pushes.
Vec pushDirection(const BarLoad& load) {
  const double sign = load.q < 0 ? -1.0 : 1.0;
  if (load.dir == 'x' || load.dir == 'X') return {sign, 0};
  return {0, -sign};
}

// An arc with its arrow. A bar's point moment is positive clockwise, a node's
// counter-clockwise, as the input files read them.
void momentArc(Canvas& c, double value, double r, bool clockwisePositive) {
  const bool counterClockwise = clockwisePositive ? value < 0 : value >= 0;
  const Style head{"punta"};
  const double end = counterClockwise ? r : -r;
  c.path({{PathStep::moveTo, {r, whole(0)}}, {PathStep::arcTo, {whole(0), end}, r, true, !counterClockwise}}, kPlain);
  c.polygon({{whole(0), end}, {whole(-7), end - 4}, {whole(-7), end + 4}}, head);
}

void arrow(Canvas& c, Vec tail, Vec head) {
  Vec d = head - tail;
  double length = std::hypot(d.x, d.y);
  if (length < 1) return;
  Vec u = (1 / length) * d, n{-u.y, u.x};
  double size = std::min(7.0, length / 2);
  c.line(tail, head, kPlain);
  c.polygon(points({head, head - size * u + (0.45 * size) * n, head - size * u - (0.45 * size) * n}), {"punta"});
}

// A load's value, drawn where it covers no other text: farther out along the
// load, or beside it.
void loadLabel(Drawing& d, Vec at, Vec outward, const std::string& text, Anchor anchor = Anchor::middle,
               const std::string& markup = "") {
  d.label({at.x,
           at.y,
           text,
           "texto-carga",
           anchor,
           {},
           60,
           {{12 * outward.x, 12 * outward.y}, {24 * outward.x, 24 * outward.y}, {30, 0}, {-30, 0}},
           markup});
}

const char* const kLoadNames[] = {
    "", "fuerza", "momento", "uniforme", "triangular creciente", "triangular decreciente", "temperatura"};

void distributedArrows(Canvas& c, int ltype, Vec span, Vec d, double lift) {
  // Arrows every 25 pixels or so, their length following the intensity.
  const double screenLength = std::hypot(span.x, span.y);
  const int count = std::max(2, static_cast<int>(screenLength / 25)) + 1;
  std::vector<Vec> tails;
  for (int i = 0; i < count; ++i) {
    const double t = static_cast<double>(i) / (count - 1);
    const double share = ltype == 4 ? t : ltype == 5 ? 1 - t : 1.0;
    const Vec head = t * span - lift * d;
    const Vec tail = head - (30 * share) * d;
    tails.push_back(tail);
    if (share > 0.1) arrow(c, tail, head);
  }
  tails.insert(tails.begin(), (-lift) * d);
  tails.push_back(span - lift * d);
  c.polyline(points(tails), kPlain);
}

void drawBarLoad(Drawing& dr, const ModelFrame& f, const BarInput& bar, const Node& nodeI, const LoadOnBar& entry,
                 int level) {
  const BarLoad& load = entry.load;
  const double factor = projectionFactor(bar, load);
  double start = load.a / factor, end = (load.a + load.c) / factor;
  if (load.ltype == 1 || load.ltype == 2) end = start;  // c is the distance to J
  if (load.ltype == 6) start = end = bar.L / 2;
  const double x1 = nodeI.x + start * bar.cos, y1 = nodeI.y + start * bar.sin;
  const double x2 = nodeI.x + end * bar.cos, y2 = nodeI.y + end * bar.sin;
  const Vec origin{f.X(x1), f.Y(y1)};
  Canvas& c = dr.canvas();
  c.beginGroup(translatedGroup("carga",
                               {{"data-barra", std::to_string(bar.label)},
                                {"data-tipo", std::to_string(load.ltype)},
                                {"data-nombre", kLoadNames[load.ltype]},
                                {"data-q", modelValue(load.q)},
                                {"data-dir", std::string(1, load.dir)},
                                {"data-x", modelValue(x1)},
                                {"data-y", modelValue(y1)},
                                {"data-x2", modelValue(x2)},
                                {"data-y2", modelValue(y2)}},
                               origin));
  const Vec d = pushDirection(load);
  const Vec span{f.X(x2) - f.X(x1), f.Y(y2) - f.Y(y1)};
  const Vec textLift{0, d.y > 0 ? 0.0 : 10.0};  // a text below its arrow starts lower
  const double lift = 44.0 * level;             // loads of one bar are stacked
  const std::string value = modelValue(load.q);
  switch (load.ltype) {
    case 1: {
      const double length = 42 + lift;
      arrow(c, (-length) * d, {0, 0});
      loadLabel(dr, origin - (length + 8) * d + textLift, -1 * d, "P=" + value);
      break;
    }
    case 2:
      momentArc(c, load.q, 14, true);
      loadLabel(dr, origin + Vec{18, -8}, {0, -1}, "M=" + value, Anchor::start);
      break;
    case 6:
      // The file's encoding has no capital delta: the page gets it as a reference.
      loadLabel(dr, origin + Vec{0, -10 - lift}, {0, -1}, "DT=" + value, Anchor::middle,
                "&#916;T=" + escapeText(value));
      break;
    default: {
      distributedArrows(c, load.ltype, span, d, lift);
      const double where = load.ltype == 4 ? 1.0 : load.ltype == 5 ? 0.0 : 0.5;
      loadLabel(dr, origin + where * span - (lift + 38) * d + textLift, -1 * d, "q=" + value);
      break;
    }
  }
  c.endGroup();
}

// ---- many loads on one bar ------------------------------------------------

// A bar shows each of its loads while it has at most this many and they fit
// in this many rows above it; beyond, one symbol per kind of load (and
// direction) stands for all of that kind, with their number. The loads table
// lists every load.
constexpr size_t kMostLoadsDrawn = 20;
constexpr int kMostRows = 4;
constexpr double kRowHeight = 44;

// What is drawn of a bar's loads: one load, or the loads of one kind.
struct LoadSymbol {
  const LoadOnBar* load = nullptr;  // null: the loads of one kind
  int bar = 0, ltype = 0;           // of the kind: 1, 2, 3, 4 (both triangles) or 6
  char dir = 'y';
  double start = 0, end = 0;  // along the bar from node I
  int count = 1;
  double low = 0, high = 0, total = 0;  // the intensities' range and sum
  int row = 0;                          // forces are stacked above the bar
};

// Where a load acts along its bar, from node I.
std::pair<double, double> loadExtent(const BarInput& bar, const BarLoad& load) {
  const double factor = projectionFactor(bar, load);
  if (load.ltype == 6) return {bar.L / 2, bar.L / 2};
  const double start = load.a / factor;
  return {start, load.ltype == 1 || load.ltype == 2 ? start : (load.a + load.c) / factor};
}

// Screen direction in which a symbol pushes: down from above the bar, up
// from below it, or sideways.
Vec pushOf(const LoadSymbol& symbol) {
  BarLoad load;
  load.q = symbol.load ? symbol.load->load.q : symbol.total;
  load.dir = symbol.dir;
  return pushDirection(load);
}

// Rows for the symbols of one bar that push (moments and temperatures sit on
// it), on each side apart: each in the lowest row where it covers no other,
// its label's room around it. False when a side needs more than kMostRows.
bool stackInRows(std::vector<LoadSymbol>& symbols, double scale) {
  std::map<std::pair<double, double>, std::vector<std::vector<std::pair<double, double>>>> sides;
  for (LoadSymbol& symbol : symbols) {
    if (symbol.ltype == 2 || symbol.ltype == 6) continue;
    const Vec push = pushOf(symbol);
    auto& rows = sides[{push.x, push.y}];
    const double from = symbol.start * scale - 24, to = symbol.end * scale + 24;
    size_t row = 0;
    auto overlaps = [&](const std::pair<double, double>& taken) { return from < taken.second && taken.first < to; };
    while (row < rows.size() && std::any_of(rows[row].begin(), rows[row].end(), overlaps)) ++row;
    if (row == rows.size()) rows.emplace_back();
    rows[row].push_back({from, to});
    symbol.row = static_cast<int>(row);
  }
  for (const auto& side : sides)
    if (side.second.size() > static_cast<size_t>(kMostRows)) return false;
  return true;
}

// One symbol per kind of load and direction for all the loads of a bar.
std::vector<LoadSymbol> kindsOf(const BarInput& bar, const std::vector<const LoadOnBar*>& loads) {
  std::vector<LoadSymbol> kinds;
  for (const LoadOnBar* entry : loads) {
    const BarLoad& load = entry->load;
    const int ltype = load.ltype == 5 ? 4 : load.ltype;
    const char dir = load.dir == 'x' || load.dir == 'X' ? 'x' : 'y';
    auto same = [&](const LoadSymbol& k) { return k.ltype == ltype && k.dir == dir; };
    auto kind = std::find_if(kinds.begin(), kinds.end(), same);
    const auto [start, end] = loadExtent(bar, load);
    if (kind == kinds.end()) {
      kinds.push_back({nullptr, entry->bar, ltype, dir, start, end, 0, load.q, load.q, 0.0, 0});
      kind = kinds.end() - 1;
    }
    kind->start = std::min(kind->start, start);
    kind->end = std::max(kind->end, end);
    kind->low = std::min(kind->low, load.q);
    kind->high = std::max(kind->high, load.q);
    kind->total += load.q;
    ++kind->count;
  }
  return kinds;
}

// What the picture draws of every bar's loads.
std::vector<LoadSymbol> loadSymbols(const Model& model, double scale) {
  std::vector<std::vector<const LoadOnBar*>> byBar(model.bars.size());
  for (const LoadOnBar& entry : model.loads) byBar[static_cast<size_t>(entry.bar)].push_back(&entry);
  std::vector<LoadSymbol> all;
  for (size_t i = 1; i < model.bars.size(); ++i) {
    std::vector<LoadSymbol> symbols;
    if (byBar[i].size() <= kMostLoadsDrawn) {
      for (const LoadOnBar* entry : byBar[i]) {
        const auto [start, end] = loadExtent(model.bars[i], entry->load);
        symbols.push_back({entry, entry->bar, entry->load.ltype, entry->load.dir, start, end, 1, 0, 0, 0, 0});
      }
    }
    if (symbols.empty() || !stackInRows(symbols, scale)) {
      symbols = kindsOf(model.bars[i], byBar[i]);
      stackInRows(symbols, scale);
    }
    all.insert(all.end(), symbols.begin(), symbols.end());
  }
  // Loads drawn one by one in the order of the loads file, the kinds after them.
  auto order = [&model](const LoadSymbol& s) {
    return s.load ? static_cast<size_t>(s.load - model.loads.data()) : model.loads.size() + static_cast<size_t>(s.bar);
  };
  std::stable_sort(all.begin(), all.end(),
                   [&order](const LoadSymbol& p, const LoadSymbol& q) { return order(p) < order(q); });
  return all;
}

std::string kindLabel(const LoadSymbol& kind) {
  static const char* const names[] = {"", "fuerzas", "momentos", "uniformes", "triangulares", "", "temperaturas"};
  const std::string count = std::to_string(kind.count) + " " + names[kind.ltype];
  if (kind.ltype == 1 || kind.ltype == 2)
    return count + ", suma " + pictureNumber(kind.total, decimalsFor(std::fabs(kind.total)));
  const std::string name = kind.ltype == 6 ? "DT" : "q";
  if (kind.low == kind.high) return count + ", " + name + "=" + modelValue(kind.low);
  return count + ", " + name + " de " + modelValue(kind.low) + " a " + modelValue(kind.high);
}

// The loads of one kind on a bar: forces as an arrow at each end of where
// they act joined by a dashed line (one arrow where they all act at one
// place), moments as one arc, distributed loads as one row of arrows over
// where they act, the way their sum pushes; the label gives their number and
// their sum or the range of their intensities.
void drawLoadKind(Drawing& dr, const ModelFrame& f, const BarInput& bar, const Node& nodeI, const LoadSymbol& kind) {
  const Vec a{f.X(nodeI.x + kind.start * bar.cos), f.Y(nodeI.y + kind.start * bar.sin)};
  const Vec b{f.X(nodeI.x + kind.end * bar.cos), f.Y(nodeI.y + kind.end * bar.sin)};
  Canvas& c = dr.canvas();
  c.beginGroup(translatedGroup("carga resumen",
                               {{"data-barra", std::to_string(bar.label)},
                                {"data-tipo", std::to_string(kind.ltype)},
                                {"data-cuenta", std::to_string(kind.count)},
                                {"data-dir", std::string(1, kind.dir)},
                                {"data-x", modelValue(nodeI.x + kind.start * bar.cos)},
                                {"data-x2", modelValue(nodeI.x + kind.end * bar.cos)}},
                               a));
  BarLoad sign;
  sign.q = kind.total;
  sign.dir = kind.dir;
  const Vec d = pushDirection(sign), span = b - a, textLift{0, d.y > 0 ? 0.0 : 10.0};
  const double lift = kRowHeight * kind.row, length = 42 + lift;
  const std::string label = kindLabel(kind);
  if (kind.ltype == 1) {
    arrow(c, (-length) * d, {0, 0});
    if (std::hypot(span.x, span.y) >= 1) {
      arrow(c, span - length * d, span);
      c.polyline(points({(-length) * d, span - length * d}), {"enlace"});
    }
    loadLabel(dr, a + 0.5 * span - (length + 8) * d + textLift, -1 * d, label);
  } else if (kind.ltype == 2 || kind.ltype == 6) {
    const Vec middle = a + 0.5 * span;
    if (kind.ltype == 2) {
      c.beginGroup(translatedGroup("", {}, 0.5 * span));
      momentArc(c, kind.total, 14, true);
      c.endGroup();
    }
    const size_t delta = label.find("DT");
    loadLabel(
        dr, middle + Vec{0, -24}, {0, -1}, label, Anchor::middle,
        kind.ltype == 6 ? escapeText(label.substr(0, delta)) + "&#916;T" + escapeText(label.substr(delta + 2)) : "");
  } else {
    distributedArrows(c, 3, span, d, lift);
    loadLabel(dr, a + 0.5 * span - (lift + 38) * d + textLift, -1 * d, label);
  }
  c.endGroup();
}

void drawNodalLoads(Drawing& dr, const Model& model, const ModelFrame& f) {
  Canvas& c = dr.canvas();
  for (size_t k = 1; k < model.nodalLoads.size(); ++k) {
    const NodalLoad& load = model.nodalLoads[k];
    const Node& node = model.nodes[load.index];
    const Vec origin{f.X(node.x), f.Y(node.y)};
    c.beginItem(ItemKind::nodalLoad, static_cast<int>(k));
    c.beginGroup(translatedGroup("carga-nodal",
                                 {{"data-nodo", std::to_string(node.label)},
                                  {"data-fx", modelValue(load.value[0])},
                                  {"data-fy", modelValue(load.value[1])},
                                  {"data-m", modelValue(load.value[2])},
                                  {"data-x", modelValue(node.x)},
                                  {"data-y", modelValue(node.y)}},
                                 origin));
    if (load.value[0] != 0) {
      Vec d{load.value[0] > 0 ? 1.0 : -1.0, 0};
      arrow(c, (-40) * d, {0, 0});
      loadLabel(dr, origin - 48 * d + Vec{0, -6}, -1 * d, "Fx=" + modelValue(load.value[0]));
    }
    if (load.value[1] != 0) {
      Vec d{0, load.value[1] > 0 ? -1.0 : 1.0};
      arrow(c, (-40) * d, {0, 0});
      loadLabel(dr, origin - 48 * d + Vec{0, d.y > 0 ? 0.0 : 10.0}, -1 * d, "Fy=" + modelValue(load.value[1]));
    }
    if (load.value[2] != 0) {
      momentArc(c, load.value[2], 18, false);
      loadLabel(dr, origin + Vec{0, -24}, {0, -1}, "M=" + modelValue(load.value[2]));
    }
    c.endGroup();
    c.endItem();
  }
}

// ---- bars -------------------------------------------------------------------

// The span dimension: below a horizontal bar, on the outer side of any other.
void drawDimension(Drawing& dr, const BarInput& bar, Vec a, Vec b, Vec outward) {
  Canvas& c = dr.canvas();
  const Vec c1 = a + 78 * outward, c2 = b + 78 * outward;
  Group g;
  g.cls = "cota";
  g.data = {{"data-barra", std::to_string(bar.label)}, {"data-longitud", modelValue(bar.L)}};
  g.linesApart = true;
  c.beginGroup(g);
  const Style look{"cota"};
  c.line(c1, c2, look);
  c.line(c1 - 5 * outward, c1 + 5 * outward, look);
  c.line(c2 - 5 * outward, c2 + 5 * outward, look);
  c.endGroup();
  const Vec t = 0.5 * (c1 + c2) + 14 * outward;
  dr.label({t.x, t.y + 4, modelValue(bar.L), "texto-cota", Anchor::middle, {}, 25, {{0, 12}, {12, 0}, {-12, 0}}});
}

void drawBar(Drawing& dr, const ModelFrame& f, const BarInput& bar, const Node& I, const Node& J, Vec centre) {
  const Vec a{f.X(I.x), f.Y(I.y)}, b{f.X(J.x), f.Y(J.y)}, e = along(bar), n = normal(bar);
  const double screenLength = bar.L * f.scale;
  Canvas& c = dr.canvas();
  Group g;
  g.cls = "elemento";
  g.data = {{"data-barra", std::to_string(bar.label)}, {"data-tipo", std::to_string(bar.type)}};
  c.beginGroup(g);
  if (bar.taper != 1.0) {
    const double hI = 6, hJ = std::clamp(6 * bar.taper, 2.0, 24.0);
    c.polygon(points({a + hI * n, b + hJ * n, b - hJ * n, a - hI * n}), {"cartela"});
  }
  c.line(a, b, {"barra"});
  if (bar.adlx > 0) c.line(a, a + (bar.adlx * screenLength) * e, {"zona-rigida"});
  if (bar.ablx > 0) c.line(b - (bar.ablx * screenLength) * e, b, {"zona-rigida"});
  drawReleases(c, bar, a, b);
  c.endGroup();
  const Vec middle = 0.5 * (a + b);
  std::string label = "B" + std::to_string(bar.label);
  if (bar.type == 0 || bar.type == 5 || bar.type == 6) label += " (tipo " + std::to_string(bar.type) + ")";
  if (bar.taper != 1.0) label += " cartela " + modelValue(bar.taper);
  const Vec where = middle + 16 * n;
  dr.label({where.x, where.y + 4, label, "etiqueta-barra", Anchor::middle, {}, 20, {{0, 12}, {0, -36}}});
  const Vec away = middle - centre;
  const bool horizontal = bar.orient == kHorizontal;
  drawDimension(dr, bar, a, b, horizontal || away.x * n.x + away.y * n.y >= 0 ? n : -1 * n);
}

}  // namespace

std::vector<Point> points(const std::vector<Vec>& list) { return {list.begin(), list.end()}; }

ModelFrame modelFrame(const Model& model, const Margins& margins) {
  double xmin = model.nodes[1].x, xmax = xmin, ymin = model.nodes[1].y, ymax = ymin;
  std::set<double> abscissae;
  for (size_t k = 1; k < model.nodes.size(); ++k) {
    xmin = std::min(xmin, model.nodes[k].x);
    xmax = std::max(xmax, model.nodes[k].x);
    ymin = std::min(ymin, model.nodes[k].y);
    ymax = std::max(ymax, model.nodes[k].y);
    abscissae.insert(model.nodes[k].x);
  }
  const double dx = xmax - xmin, dy = ymax - ymin;
  ModelFrame f;
  f.scale = dx > 0 ? (kWidth - 2 * margins.side) / dx : 1.0;
  if (dy > 0 && (dx == 0 || dy * f.scale > kMostHeight)) f.scale = kMostHeight / dy;
  if (dx > 0) f.scale = std::max(f.scale, kLeastSpanPixels * static_cast<double>(abscissae.size() - 1) / dx);
  f.width = std::max(kWidth, dx * f.scale + 2 * margins.side);
  f.height = dy * f.scale + margins.top + margins.bottom;
  f.x0 = (f.width - dx * f.scale) / 2 - xmin * f.scale;
  f.y0 = margins.top + dy * f.scale + ymin * f.scale;
  return f;
}

void frameAttributes(Canvas& canvas, const ModelFrame& f) {
  canvas.attribute("data-escala", modelValue(f.scale));
  canvas.attribute("data-x0", modelValue(f.x0));
  canvas.attribute("data-y0", modelValue(f.y0));
}

void drawSupports(Drawing& d, const Model& model, const ModelFrame& f, bool withNotes) {
  const UnitLabels units = unitLabels(model.header.unitCode);
  Canvas& c = d.canvas();
  for (size_t k = 1; k < model.supports.size(); ++k) {
    const Support& s = model.supports[k];
    const Node& node = model.nodes[s.index];
    c.beginItem(ItemKind::support, static_cast<int>(k));
    c.beginGroup(translatedGroup("apoyo",
                                 {{"id", "apoyo-" + std::to_string(k)},
                                  {"data-nodo", std::to_string(node.label)},
                                  {"data-codigo", std::to_string(s.code)},
                                  {"data-x", modelValue(node.x)},
                                  {"data-y", modelValue(node.y)}},
                                 {f.X(node.x), f.Y(node.y)}));
    supportSymbol(c, s, wallSide(model, s.index));
    c.endGroup();
    c.endItem();
    const std::string note = supportNote(s, units);
    if (withNotes && !note.empty())
      d.label(
          {f.X(node.x), f.Y(node.y) + 48, note, "texto-apoyo", Anchor::middle, {}, 55, {{0, 13}, {0, 26}, {0, -70}}});
  }
}

void drawNodes(Drawing& d, const Model& model, const ModelFrame& f, bool labels) {
  for (size_t k = 1; k < model.nodes.size(); ++k) {
    const Node& node = model.nodes[k];
    const Data data{{"data-nodo", std::to_string(node.label)}};
    d.canvas().circle({f.X(node.x), f.Y(node.y)}, whole(3), {"nodo", data});
    if (labels)
      d.label({f.X(node.x) + 7,
               f.Y(node.y) - 8,
               "N" + std::to_string(node.label),
               "etiqueta-nodo",
               Anchor::start,
               data,
               50,
               {{-14, 0}, {0, 24}, {-14, 24}}});
  }
}

void drawReleases(Canvas& c, const BarInput& bar, Vec a, Vec b) {
  const Vec e = along(bar), n = normal(bar);
  auto hinge = [&](Vec at) { c.circle(at, whole(4), {"rotula"}); };
  auto shear = [&](Vec at) {
    for (double s : {-2.5, 2.5}) {
      Vec p = at + s * e;
      c.line(p + 7 * n, p - 7 * n, {"liberacion"});
    }
  };
  // On the bar, just clear of the node's dot, so it is seen which bar turns.
  const Vec nearI = a + 8 * e, nearJ = b - 8 * e;
  if (bar.type == 2 || bar.type == 4) hinge(nearI);
  if (bar.type == 3 || bar.type == 4) hinge(nearJ);
  if (bar.type == 7) shear(a + 12 * e);
  if (bar.type == 8) shear(b - 12 * e);
}

ModelFrame modelPictureFrame(const Model& model) {
  const std::vector<LoadSymbol> symbols = loadSymbols(model, modelFrame(model).scale);
  // Room above and below the beam for the farthest row of loads.
  Margins room;
  for (const LoadSymbol& symbol : symbols) {
    const double push = pushOf(symbol).y;
    if (push > 0) room.top = std::max(room.top, Margins{}.top + kRowHeight * symbol.row);
    if (push < 0) room.bottom = std::max(room.bottom, Margins{}.bottom + kRowHeight * symbol.row);
  }
  return modelFrame(model, room);
}

void drawModel(Drawing& d, const Model& model, const ModelFrame& f) {
  const std::vector<LoadSymbol> symbols = loadSymbols(model, modelFrame(model).scale);
  Canvas& c = d.canvas();
  frameAttributes(c, f);
  const UnitLabels units = unitLabels(model.header.unitCode);
  d.text(10, 20, "Modelo " + model.header.title, "titulo");
  d.text(10, 38,
         "Unidades: fuerza " + units.force + ", longitud " + units.length + ".  Peso propio " +
             (model.header.selfWeight == 1 ? "incluido en el c\xE1lculo" : "no incluido"),
         "nota");
  Vec low{f.X(model.nodes[1].x), f.Y(model.nodes[1].y)}, high = low;
  for (size_t k = 2; k < model.nodes.size(); ++k) {
    const Vec p{f.X(model.nodes[k].x), f.Y(model.nodes[k].y)};
    low = {std::min(low.x, p.x), std::min(low.y, p.y)};
    high = {std::max(high.x, p.x), std::max(high.y, p.y)};
  }
  for (size_t i = 1; i < model.bars.size(); ++i) {
    c.beginItem(ItemKind::bar, static_cast<int>(i));
    drawBar(d, f, model.bars[i], model.nodes[model.bars[i].nodeI], model.nodes[model.bars[i].nodeJ],
            0.5 * (low + high));
    c.endItem();
  }
  drawSupports(d, model, f, true);
  drawNodes(d, model, f, true);
  bool kinds = false;
  for (const LoadSymbol& symbol : symbols) {
    const BarInput& bar = model.bars[static_cast<size_t>(symbol.bar)];
    // A kind stands for its bar's loads: a click on it names the bar.
    if (symbol.load)
      c.beginItem(ItemKind::barLoad, static_cast<int>(symbol.load - model.loads.data()) + 1);
    else
      c.beginItem(ItemKind::bar, symbol.bar);
    if (symbol.load)
      drawBarLoad(d, f, bar, model.nodes[bar.nodeI], *symbol.load, symbol.row);
    else
      drawLoadKind(d, f, bar, model.nodes[bar.nodeI], symbol);
    c.endItem();
    kinds = kinds || !symbol.load;
  }
  if (kinds)
    d.text(10, 56,
           "Barras con muchas cargas: un s\xEDmbolo por clase de carga, con su n\xFAmero; la tabla de cargas las "
           "lista todas",
           "nota");
  drawNodalLoads(d, model, f);
  d.placeLabels();
}

}  // namespace pictures
