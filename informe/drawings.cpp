#include "informe/drawings.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "informe/structure.h"

namespace informe {

using namespace common;

namespace {

// ---- loads ----------------------------------------------------------------

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
void momentArc(std::ostringstream& o, double value, double r, bool clockwisePositive) {
  const bool counterClockwise = clockwisePositive ? value < 0 : value >= 0;
  if (counterClockwise)
    o << "<path d=\"M " << px(r) << " 0 A " << px(r) << " " << px(r) << " 0 1 0 0 " << px(r) << "\"/>"
      << "<polygon class=\"punta\" points=\"0," << px(r) << " -7," << px(r - 4) << " -7," << px(r + 4) << "\"/>";
  else
    o << "<path d=\"M " << px(r) << " 0 A " << px(r) << " " << px(r) << " 0 1 1 0 " << px(-r) << "\"/>"
      << "<polygon class=\"punta\" points=\"0," << px(-r) << " -7," << px(-r - 4) << " -7," << px(-r + 4) << "\"/>";
}

void arrowMarkup(std::ostringstream& o, Vec tail, Vec head) {
  Vec d = head - tail;
  double length = std::hypot(d.x, d.y);
  if (length < 1) return;
  Vec u = (1 / length) * d, n{-u.y, u.x};
  double size = std::min(7.0, length / 2);
  o << "<line x1=\"" << px(tail.x) << "\" y1=\"" << px(tail.y) << "\" x2=\"" << px(head.x) << "\" y2=\"" << px(head.y)
    << "\"/><polygon class=\"punta\" points=\""
    << pointList({head, head - size * u + (0.45 * size) * n, head - size * u - (0.45 * size) * n}) << "\"/>";
}

// A load's value, drawn where it covers no other text: farther out along the
// load, or beside it.
void loadLabel(SvgPicture& pic, Vec at, Vec outward, const std::string& text, const std::string& anchor = "middle") {
  pic.label({at.x, at.y, text, "texto-carga", anchor, "", 60,
             {{12 * outward.x, 12 * outward.y}, {24 * outward.x, 24 * outward.y}, {30, 0}, {-30, 0}}});
}

const char* const kLoadNames[] = {"", "fuerza", "momento", "uniforme", "triangular creciente", "triangular decreciente",
                                  "temperatura"};

void distributedArrows(std::ostringstream& o, const BarLoad& load, Vec span, Vec d, double lift) {
  // Arrows every 25 pixels or so, their length following the intensity.
  const double screenLength = std::hypot(span.x, span.y);
  const int count = std::max(2, static_cast<int>(screenLength / 25)) + 1;
  std::vector<Vec> tails;
  for (int i = 0; i < count; ++i) {
    const double t = static_cast<double>(i) / (count - 1);
    const double share = load.ltype == 4 ? t : load.ltype == 5 ? 1 - t : 1.0;
    const Vec head = t * span - lift * d;
    const Vec tail = head - (30 * share) * d;
    tails.push_back(tail);
    if (share > 0.1) arrowMarkup(o, tail, head);
  }
  tails.insert(tails.begin(), (-lift) * d);
  tails.push_back(span - lift * d);
  o << "<polyline points=\"" << pointList(tails) << "\"/>";
}

void drawBarLoad(SvgPicture& pic, const ModelFrame& f, const BarInput& bar, const Node& nodeI, const LoadOnBar& entry,
                 int level) {
  const BarLoad& load = entry.load;
  const double factor = projectionFactor(bar, load);
  double start = load.a / factor, end = (load.a + load.c) / factor;
  if (load.ltype == 1 || load.ltype == 2) end = start;  // c is the distance to J
  if (load.ltype == 6) start = end = bar.L / 2;
  const double x1 = nodeI.x + start * bar.cos, y1 = nodeI.y + start * bar.sin;
  const double x2 = nodeI.x + end * bar.cos, y2 = nodeI.y + end * bar.sin;
  auto& o = pic.body();
  o << "<g class=\"carga\"" << attr("data-barra", std::to_string(bar.label)) << attr("data-tipo", std::to_string(load.ltype))
    << attr("data-nombre", kLoadNames[load.ltype]) << attr("data-q", modelValue(load.q))
    << attr("data-dir", std::string(1, load.dir)) << attr("data-x", modelValue(x1)) << attr("data-y", modelValue(y1))
    << attr("data-x2", modelValue(x2)) << attr("data-y2", modelValue(y2)) << translate(f.X(x1), f.Y(y1)) << ">";
  const Vec origin{f.X(x1), f.Y(y1)};
  const Vec d = pushDirection(load);
  const Vec span{f.X(x2) - f.X(x1), f.Y(y2) - f.Y(y1)};
  const Vec textLift{0, d.y > 0 ? 0.0 : 10.0};  // a text below its arrow starts lower
  const double lift = 44.0 * level;              // loads of one bar are stacked
  const std::string value = modelValue(load.q);
  switch (load.ltype) {
    case 1: {
      const double length = 42 + lift;
      arrowMarkup(o, (-length) * d, {0, 0});
      loadLabel(pic, origin - (length + 8) * d + textLift, -1 * d, "P=" + value);
      break;
    }
    case 2:
      momentArc(o, load.q, 14, true);
      loadLabel(pic, origin + Vec{18, -8}, {0, -1}, "M=" + value, "start");
      break;
    case 6:
      // The file's encoding has no capital delta: the page gets it as a reference.
      loadLabel(pic, origin + Vec{0, -10 - lift}, {0, -1}, "DT=" + value);
      pic.relabelLast("&#916;T=" + escapeText(value));
      break;
    default: {
      distributedArrows(o, load, span, d, lift);
      const double at = load.ltype == 4 ? 1.0 : load.ltype == 5 ? 0.0 : 0.5;
      loadLabel(pic, origin + at * span - (lift + 38) * d + textLift, -1 * d, "q=" + value);
      break;
    }
  }
  o << "</g>\n";
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
void drawLoadKind(SvgPicture& pic, const ModelFrame& f, const BarInput& bar, const Node& nodeI,
                  const LoadSymbol& kind) {
  const Vec a{f.X(nodeI.x + kind.start * bar.cos), f.Y(nodeI.y + kind.start * bar.sin)};
  const Vec b{f.X(nodeI.x + kind.end * bar.cos), f.Y(nodeI.y + kind.end * bar.sin)};
  auto& o = pic.body();
  o << "<g class=\"carga resumen\"" << attr("data-barra", std::to_string(bar.label))
    << attr("data-tipo", std::to_string(kind.ltype)) << attr("data-cuenta", std::to_string(kind.count))
    << attr("data-dir", std::string(1, kind.dir)) << attr("data-x", modelValue(nodeI.x + kind.start * bar.cos))
    << attr("data-x2", modelValue(nodeI.x + kind.end * bar.cos)) << translate(a.x, a.y) << ">";
  BarLoad sign;
  sign.q = kind.total;
  sign.dir = kind.dir;
  const Vec d = pushDirection(sign), span = b - a, textLift{0, d.y > 0 ? 0.0 : 10.0};
  const double lift = kRowHeight * kind.row, length = 42 + lift;
  const std::string label = kindLabel(kind);
  if (kind.ltype == 1) {
    arrowMarkup(o, (-length) * d, {0, 0});
    if (std::hypot(span.x, span.y) >= 1) {
      arrowMarkup(o, span - length * d, span);
      o << "<polyline class=\"enlace\" points=\"" << pointList({(-length) * d, span - length * d}) << "\"/>";
    }
    loadLabel(pic, a + 0.5 * span - (length + 8) * d + textLift, -1 * d, label);
  } else if (kind.ltype == 2 || kind.ltype == 6) {
    const Vec middle = a + 0.5 * span;
    if (kind.ltype == 2) {
      o << "<g" << translate(0.5 * span.x, 0.5 * span.y) << ">";
      momentArc(o, kind.total, 14, true);
      o << "</g>";
    }
    loadLabel(pic, middle + Vec{0, -24}, {0, -1}, label);
    if (kind.ltype == 6) pic.relabelLast(escapeText(label.substr(0, label.find("DT"))) + "&#916;T" +
                                         escapeText(label.substr(label.find("DT") + 2)));
  } else {
    BarLoad row;
    row.ltype = 3;
    distributedArrows(o, row, span, d, lift);
    loadLabel(pic, a + 0.5 * span - (lift + 38) * d + textLift, -1 * d, label);
  }
  o << "</g>\n";
}

void drawNodalLoads(SvgPicture& pic, const Model& model, const ModelFrame& f) {
  for (size_t k = 1; k < model.nodalLoads.size(); ++k) {
    const NodalLoad& load = model.nodalLoads[k];
    const Node& node = model.nodes[load.index];
    const Vec origin{f.X(node.x), f.Y(node.y)};
    auto& o = pic.body();
    o << "<g class=\"carga-nodal\"" << attr("data-nodo", std::to_string(node.label))
      << attr("data-fx", modelValue(load.value[0])) << attr("data-fy", modelValue(load.value[1]))
      << attr("data-m", modelValue(load.value[2])) << attr("data-x", modelValue(node.x))
      << attr("data-y", modelValue(node.y)) << translate(origin.x, origin.y) << ">";
    if (load.value[0] != 0) {
      Vec d{load.value[0] > 0 ? 1.0 : -1.0, 0};
      arrowMarkup(o, (-40) * d, {0, 0});
      loadLabel(pic, origin - 48 * d + Vec{0, -6}, -1 * d, "Fx=" + modelValue(load.value[0]));
    }
    if (load.value[1] != 0) {
      Vec d{0, load.value[1] > 0 ? -1.0 : 1.0};
      arrowMarkup(o, (-40) * d, {0, 0});
      loadLabel(pic, origin - 48 * d + Vec{0, d.y > 0 ? 0.0 : 10.0}, -1 * d, "Fy=" + modelValue(load.value[1]));
    }
    if (load.value[2] != 0) {
      momentArc(o, load.value[2], 18, false);
      loadLabel(pic, origin + Vec{0, -24}, {0, -1}, "M=" + modelValue(load.value[2]));
    }
    o << "</g>\n";
  }
}

// ---- bars -----------------------------------------------------------------

// The span dimension: below a horizontal bar, on the outer side of any other.
void drawDimension(SvgPicture& pic, const BarInput& bar, Vec a, Vec b, Vec outward) {
  auto& o = pic.body();
  const Vec c1 = a + 78 * outward, c2 = b + 78 * outward;
  o << "<g class=\"cota\"" << attr("data-barra", std::to_string(bar.label)) << attr("data-longitud", modelValue(bar.L))
    << ">";
  pic.line(c1.x, c1.y, c2.x, c2.y, "cota");
  pic.line((c1 - 5 * outward).x, (c1 - 5 * outward).y, (c1 + 5 * outward).x, (c1 + 5 * outward).y, "cota");
  pic.line((c2 - 5 * outward).x, (c2 - 5 * outward).y, (c2 + 5 * outward).x, (c2 + 5 * outward).y, "cota");
  o << "</g>\n";
  const Vec t = 0.5 * (c1 + c2) + 14 * outward;
  pic.label({t.x, t.y + 4, modelValue(bar.L), "texto-cota", "middle", "", 25, {{0, 12}, {12, 0}, {-12, 0}}});
}

void drawBar(SvgPicture& pic, const ModelFrame& f, const BarInput& bar, const Node& I, const Node& J, Vec centre) {
  const Vec a{f.X(I.x), f.Y(I.y)}, b{f.X(J.x), f.Y(J.y)}, e = along(bar), n = normal(bar);
  const double screenLength = bar.L * f.scale;
  auto& o = pic.body();
  o << "<g class=\"elemento\"" << attr("data-barra", std::to_string(bar.label)) << attr("data-tipo", std::to_string(bar.type))
    << ">";
  if (bar.taper != 1.0) {
    const double hI = 6, hJ = std::clamp(6 * bar.taper, 2.0, 24.0);
    o << "<polygon class=\"cartela\" points=\"" << pointList({a + hI * n, b + hJ * n, b - hJ * n, a - hI * n}) << "\"/>";
  }
  o << "<line class=\"barra\" x1=\"" << px(a.x) << "\" y1=\"" << px(a.y) << "\" x2=\"" << px(b.x) << "\" y2=\""
    << px(b.y) << "\"/>";
  if (bar.adlx > 0) {
    const Vec end = a + (bar.adlx * screenLength) * e;
    o << "<line class=\"zona-rigida\" x1=\"" << px(a.x) << "\" y1=\"" << px(a.y) << "\" x2=\"" << px(end.x)
      << "\" y2=\"" << px(end.y) << "\"/>";
  }
  if (bar.ablx > 0) {
    const Vec start = b - (bar.ablx * screenLength) * e;
    o << "<line class=\"zona-rigida\" x1=\"" << px(start.x) << "\" y1=\"" << px(start.y) << "\" x2=\"" << px(b.x)
      << "\" y2=\"" << px(b.y) << "\"/>";
  }
  drawReleases(o, bar, a, b);
  o << "</g>\n";
  const Vec middle = 0.5 * (a + b);
  std::string label = "B" + std::to_string(bar.label);
  if (bar.type == 0 || bar.type == 5 || bar.type == 6) label += " (tipo " + std::to_string(bar.type) + ")";
  if (bar.taper != 1.0) label += " cartela " + modelValue(bar.taper);
  const Vec at = middle + 16 * n;
  pic.label({at.x, at.y + 4, label, "etiqueta-barra", "middle", "", 20, {{0, 12}, {0, -36}}});
  const Vec away = middle - centre;
  const bool horizontal = bar.orient == kHorizontal;
  drawDimension(pic, bar, a, b, horizontal || away.x * n.x + away.y * n.y >= 0 ? n : -1 * n);
}

}  // namespace

std::unique_ptr<SvgPicture> modelPicture(const Model& model) {
  const std::vector<LoadSymbol> symbols = loadSymbols(model, modelFrame(model).scale);
  // Room above and below the beam for the farthest row of loads.
  Margins room;
  for (const LoadSymbol& symbol : symbols) {
    const double push = pushOf(symbol).y;
    if (push > 0) room.top = std::max(room.top, Margins{}.top + kRowHeight * symbol.row);
    if (push < 0) room.bottom = std::max(room.bottom, Margins{}.bottom + kRowHeight * symbol.row);
  }
  const ModelFrame f = modelFrame(model, room);
  auto pic = std::make_unique<SvgPicture>("modelo", f.width, f.height);
  frameAttributes(*pic, f);
  const UnitLabels units = unitLabels(model.header.unitCode);
  pic->text(10, 20, "Modelo " + model.header.title, "titulo");
  pic->text(10, 38,
            "Unidades: fuerza " + units.force + ", longitud " + units.length + ".  Peso propio " +
                (model.header.selfWeight == 1 ? "incluido en el c\xE1lculo" : "no incluido"),
            "nota");
  Vec low{f.X(model.nodes[1].x), f.Y(model.nodes[1].y)}, high = low;
  for (size_t k = 2; k < model.nodes.size(); ++k) {
    const Vec p{f.X(model.nodes[k].x), f.Y(model.nodes[k].y)};
    low = {std::min(low.x, p.x), std::min(low.y, p.y)};
    high = {std::max(high.x, p.x), std::max(high.y, p.y)};
  }
  for (size_t i = 1; i < model.bars.size(); ++i)
    drawBar(*pic, f, model.bars[i], model.nodes[model.bars[i].nodeI], model.nodes[model.bars[i].nodeJ],
            0.5 * (low + high));
  drawSupports(*pic, model, f, true);
  drawNodes(*pic, model, f, true);
  bool kinds = false;
  for (const LoadSymbol& symbol : symbols) {
    const BarInput& bar = model.bars[static_cast<size_t>(symbol.bar)];
    if (symbol.load) drawBarLoad(*pic, f, bar, model.nodes[bar.nodeI], *symbol.load, symbol.row);
    else drawLoadKind(*pic, f, bar, model.nodes[bar.nodeI], symbol);
    kinds = kinds || !symbol.load;
  }
  if (kinds)
    pic->text(10, 56,
              "Barras con muchas cargas: un s\xEDmbolo por clase de carga, con su n\xFAmero; la tabla de cargas las "
              "lista todas",
              "nota");
  drawNodalLoads(*pic, model, f);
  return pic;
}

double transverseShape(int barType, double xi, double length, double v1, double theta1, double v2, double theta2) {
  const double x2 = xi * xi, x3 = x2 * xi;
  switch (barType) {
    case 2:  // free to turn at I
      return (1 - 1.5 * xi + 0.5 * x3) * v1 + (1.5 * xi - 0.5 * x3) * v2 + length * (x3 - xi) / 2 * theta2;
    case 3:  // free to turn at J
      return (1 - 1.5 * x2 + 0.5 * x3) * v1 + length * xi * (1 - 1.5 * xi + 0.5 * x2) * theta1 + (1.5 * x2 - 0.5 * x3) * v2;
    case 1: case 7: case 8:
      return (1 - 3 * x2 + 2 * x3) * v1 + length * (xi - 2 * x2 + x3) * theta1 + (3 * x2 - 2 * x3) * v2 +
             length * (x3 - x2) * theta2;
    default:  // hinged at both ends, or a bar without stiffness of its own
      return (1 - xi) * v1 + xi * v2;
  }
}

namespace {
// Points of one bar's mode shape (model coordinates, displacement per unit of
// the mode): rigid end zones move with the node, the flexible part follows
// the cubic of its end values; the axial displacement varies linearly.
std::vector<std::pair<Vec, Vec>> barModeShape(const BarInput& bar, const Node& I, const Node& J, const NodeMotion& mI,
                                              const NodeMotion& mJ) {
  const double c = bar.cos, s = bar.sin, L = bar.L;
  const double u1 = c * mI.ux + s * mI.uy, v1 = -s * mI.ux + c * mI.uy;
  const double u2 = c * mJ.ux + s * mJ.uy, v2 = -s * mJ.ux + c * mJ.uy;
  const double ai = bar.adlx * L, aj = bar.ablx * L, lc = bar.aclx * L;
  const double va = v1 + ai * mI.rot, vb = v2 - aj * mJ.rot;
  std::vector<std::pair<Vec, Vec>> out;  // (position on the bar, displacement)
  auto add = [&](double x, double v) {
    const double u = u1 + (u2 - u1) * x / L;
    out.push_back({{I.x + x * c, I.y + x * s}, {u * c - v * s, u * s + v * c}});
  };
  add(0, v1);
  const int steps = 24;
  for (int k = 0; k <= steps; ++k) {
    const double xi = static_cast<double>(k) / steps;
    add(ai + xi * lc, transverseShape(bar.type, xi, lc, va, mI.rot, vb, mJ.rot));
  }
  add(L, v2);
  (void)J;
  return out;
}
}  // namespace

namespace {
std::string sourceSpan(const char* file, const SourceValue& value) {
  return "<tspan class=\"valor\"" + sourceAttributes(file, value) + ">" + escapeText(value.text) + "</tspan>";
}
}  // namespace

std::unique_ptr<SvgPicture> modePicture(const ReportData& data, int number) {
  const Model& model = data.model;
  const ModesFile& modes = *data.modes;
  const Mode& mode = modes.ascending[number - 1];
  ModelFrame f = modelFrame(model);
  auto pic = std::make_unique<SvgPicture>("modo" + std::to_string(number), f.width, f.height - 60);
  frameAttributes(*pic, f);
  const int nn = static_cast<int>(model.nodes.size()) - 1;
  const std::vector<NodeMotion> motion = modeAtNodes(modes, mode, nn);
  std::vector<std::vector<std::pair<Vec, Vec>>> shapes;
  double largest = 0;
  for (size_t i = 1; i < model.bars.size(); ++i) {
    const BarInput& bar = model.bars[i];
    shapes.push_back(barModeShape(bar, model.nodes[bar.nodeI], model.nodes[bar.nodeJ], motion[bar.nodeI], motion[bar.nodeJ]));
    for (const auto& point : shapes.back()) largest = std::max(largest, std::hypot(point.second.x, point.second.y));
  }
  // The shape's size is arbitrary: its largest displacement is drawn 60 pixels long.
  double amplitude = largest > 0 ? 60.0 / (f.scale * largest) : 0.0;
  if (!std::isfinite(amplitude)) amplitude = 0.0;  // components too small to draw
  for (size_t i = 1; i < model.bars.size(); ++i) {
    const BarInput& bar = model.bars[i];
    const Node &I = model.nodes[bar.nodeI], &J = model.nodes[bar.nodeJ];
    pic->line(f.X(I.x), f.Y(I.y), f.X(J.x), f.Y(J.y), "indeformada");
    std::vector<Vec> line;
    for (const auto& [at, d] : shapes[i - 1]) line.push_back({f.X(at.x + amplitude * d.x), f.Y(at.y + amplitude * d.y)});
    pic->body() << "<polyline class=\"modo\"" << attr("data-barra", std::to_string(bar.label)) << " points=\""
                << pointList(line) << "\"/>\n";
  }
  drawSupports(*pic, model, f, false);
  drawNodes(*pic, model, f, true);
  const std::string head = "Modo " + std::to_string(number) + ": ";
  pic->richText(10, 22, head + mode.frequency.text + " ciclos/seg. (autovalor " + mode.eigenvalue.text + ")",
                escapeText(head) + sourceSpan("modos", mode.frequency) + " ciclos/seg. (autovalor " +
                    sourceSpan("modos", mode.eigenvalue) + ")",
                "titulo");
  return pic;
}

}  // namespace informe
