#include "drawings.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace informe {

namespace {
constexpr double kWidth = 1000;
constexpr double kPi = 3.14159265358979323846;

struct Vec {
  double x = 0, y = 0;
};
Vec operator+(Vec a, Vec b) { return {a.x + b.x, a.y + b.y}; }
Vec operator-(Vec a, Vec b) { return {a.x - b.x, a.y - b.y}; }
Vec operator*(double k, Vec a) { return {k * a.x, k * a.y}; }

// Screen direction along a bar (I to J) and its normal (below a horizontal bar).
Vec along(const BarInput& bar) { return {bar.cos, -bar.sin}; }
Vec normal(const BarInput& bar) { return {bar.sin, bar.cos}; }

std::string attr(const std::string& name, const std::string& value) {
  return " " + name + "=\"" + escapeText(value) + "\"";
}
std::string translate(double X, double Y) { return " transform=\"translate(" + px(X) + "," + px(Y) + ")\""; }
std::string pointList(const std::vector<Vec>& list) {
  std::string out;
  for (const Vec& p : list) out += (out.empty() ? "" : " ") + px(p.x) + "," + px(p.y);
  return out;
}

// ---- supports -------------------------------------------------------------

void groundLine(std::ostringstream& o, double x1, double y1, double x2, double y2) {
  o << "<line x1=\"" << px(x1) << "\" y1=\"" << px(y1) << "\" x2=\"" << px(x2) << "\" y2=\"" << px(y2) << "\"/>";
  // Hatching on the far side of the ground.
  const bool horizontal = y1 == y2;
  for (int i = 0; i <= 4; ++i) {
    double t = i / 4.0, x = x1 + t * (x2 - x1), y = y1 + t * (y2 - y1);
    if (horizontal) o << "<line x1=\"" << px(x) << "\" y1=\"" << px(y) << "\" x2=\"" << px(x - 5) << "\" y2=\"" << px(y + 6) << "\"/>";
    else o << "<line x1=\"" << px(x) << "\" y1=\"" << px(y) << "\" x2=\"" << px(x - 6) << "\" y2=\"" << px(y + 5) << "\"/>";
  }
}

void springSymbol(std::ostringstream& o, bool vertical) {
  const char* path = vertical ? "0,0 0,6 -6,9 6,13 -6,17 6,21 -6,25 0,28 0,32" : "0,0 -6,0 -9,-6 -13,6 -17,-6 -21,6 -25,-6 -28,0 -32,0";
  o << "<polyline points=\"" << path << "\"/>";
  if (vertical) groundLine(o, -14, 32, 14, 32);
  else groundLine(o, -32, -14, -32, 14);
}

void triangleSymbol(std::ostringstream& o, bool pinned) {
  o << "<polygon points=\"0,0 -10,16 10,16\"/>";
  if (pinned) {
    groundLine(o, -16, 16, 16, 16);
  } else {
    o << "<circle cx=\"-5\" cy=\"19\" r=\"3\"/><circle cx=\"5\" cy=\"19\" r=\"3\"/>";
    groundLine(o, -16, 22, 16, 22);
  }
}

void rotationMark(std::ostringstream& o, int digit) {
  if (digit == 1) o << "<rect x=\"-7\" y=\"-7\" width=\"14\" height=\"14\"/>";
  if (digit == 2) o << "<path d=\"M 0 -12 A 12 12 0 1 1 -12 0 M -12 0 l -3 -5 m 3 5 l 4 -4\"/>";
}

// Notes of the values the code carries: prescribed displacements and springs.
std::string supportNote(const Support& s) {
  std::string note;
  auto add = [&note](const char* name, double value) {
    if (value != 0.0) note += (note.empty() ? "" : " ") + std::string(name) + "=" + modelValue(value);
  };
  if (s.code == 4) {
    add("d", s.rz);
  } else if (s.code == 14) {
    add("d", s.dx);
    add("rz", s.rz);
  } else {
    add("dx", s.dx);
    add("dy", s.dy);
    add("rz", s.rz);
  }
  add("kx", s.kx);
  add("ky", s.ky);
  add("kz", s.kz);
  return note;
}

// A fixed end: a wall on the side away from the beam (wallSide -1 left, +1
// right), or a hatched base below the node when bars leave it both ways.
void fixedSymbol(std::ostringstream& o, int wallSide) {
  if (wallSide == 0) {
    o << "<line x1=\"-16\" y1=\"0\" x2=\"16\" y2=\"0\" stroke-width=\"3\"/>";
    groundLine(o, -16, 0, 16, 0);
    return;
  }
  o << "<line x1=\"0\" y1=\"-18\" x2=\"0\" y2=\"18\" stroke-width=\"3\"/>";
  for (int i = 0; i <= 4; ++i) {
    const double y = -18 + 9 * i;
    o << "<line x1=\"0\" y1=\"" << px(y) << "\" x2=\"" << px(7 * wallSide) << "\" y2=\"" << px(y + 6) << "\"/>";
  }
}

void supportSymbol(std::ostringstream& o, const Support& s, int wallSide) {
  const int code = s.code;
  if (code == 4 || code == 14 || code == 54 || code == 64) {
    // Inclined: the symbol of the vertical support turned by the angle.
    o << "<g transform=\"rotate(" << px(-s.angle * 180 / kPi) << ")\">";
    if (code == 4 || code == 14) triangleSymbol(o, false);
    else springSymbol(o, true);
    o << "</g>";
    rotationMark(o, code == 14 ? 1 : code == 64 ? 2 : 0);
    return;
  }
  int h = 1, v = 1, r = 0;  // any other code prescribes both translations
  if (isDigitSupportCode(code)) h = code / 100, v = (code / 10) % 10, r = code % 10;
  if (h == 1 && v == 1 && r == 1) {
    fixedSymbol(o, wallSide);
    return;
  }
  if (v == 1) triangleSymbol(o, h == 1);
  if (v == 2) springSymbol(o, true);
  if (v != 1 && h == 1) {
    o << "<polygon points=\"0,0 -16,-10 -16,10\"/>";
    groundLine(o, -16, -14, -16, 14);
  }
  if (h == 2) springSymbol(o, false);
  rotationMark(o, r);
}

// Which side of a node its bars leave from: -1 all to the right (a wall goes
// on the left), +1 all to the left, 0 both ways or vertically.
int wallSide(const Model& model, int node) {
  bool left = false, right = false;
  for (size_t i = 1; i < model.bars.size(); ++i) {
    const BarInput& bar = model.bars[i];
    if (bar.nodeI != node && bar.nodeJ != node) continue;
    const double away = model.nodes[bar.nodeI == node ? bar.nodeJ : bar.nodeI].x - model.nodes[node].x;
    if (away > 0) right = true;
    else if (away < 0) left = true;
    else left = right = true;
  }
  return left == right ? 0 : right ? -1 : 1;
}

void drawSupports(SvgPicture& pic, const Model& model, const ModelFrame& f, bool withNotes) {
  for (size_t k = 1; k < model.supports.size(); ++k) {
    const Support& s = model.supports[k];
    const Node& node = model.nodes[s.index];
    auto& o = pic.body();
    o << "<g class=\"apoyo\" id=\"apoyo-" << k << "\"" << attr("data-nodo", std::to_string(node.label))
      << attr("data-codigo", std::to_string(s.code)) << attr("data-x", modelValue(node.x))
      << attr("data-y", modelValue(node.y)) << translate(f.X(node.x), f.Y(node.y)) << ">";
    supportSymbol(o, s, wallSide(model, s.index));
    std::string note = supportNote(s);
    if (withNotes && !note.empty())
      o << "<text x=\"0\" y=\"48\" text-anchor=\"middle\">" << escapeText(note) << "</text>";
    o << "</g>\n";
  }
}

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

void momentArc(std::ostringstream& o, double value, double r) {
  // Counter-clockwise for a positive moment, as the beam is seen.
  if (value >= 0)
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

void labelAt(std::ostringstream& o, Vec at, const std::string& text) {
  o << "<text x=\"" << px(at.x) << "\" y=\"" << px(at.y) << "\" text-anchor=\"middle\">" << escapeText(text) << "</text>";
}

const char* const kLoadNames[] = {"", "fuerza", "momento", "uniforme", "triangular creciente", "triangular decreciente",
                                  "temperatura"};

void drawBarLoad(std::ostringstream& o, const ModelFrame& f, const BarInput& bar, const Node& nodeI,
                 const LoadOnBar& entry, int level) {
  const BarLoad& load = entry.load;
  const double factor = projectionFactor(bar, load);
  double start = load.a / factor, end = (load.a + load.c) / factor;
  if (load.ltype == 1 || load.ltype == 2) end = start;  // c is the distance to J
  if (load.ltype == 6) start = end = bar.L / 2;
  const double x1 = nodeI.x + start * bar.cos, y1 = nodeI.y + start * bar.sin;
  const double x2 = nodeI.x + end * bar.cos, y2 = nodeI.y + end * bar.sin;
  o << "<g class=\"carga\"" << attr("data-barra", std::to_string(bar.label)) << attr("data-tipo", std::to_string(load.ltype))
    << attr("data-nombre", kLoadNames[load.ltype]) << attr("data-q", modelValue(load.q))
    << attr("data-dir", std::string(1, load.dir)) << attr("data-x", modelValue(x1)) << attr("data-y", modelValue(y1))
    << attr("data-x2", modelValue(x2)) << attr("data-y2", modelValue(y2)) << translate(f.X(x1), f.Y(y1)) << ">";
  const Vec d = pushDirection(load);
  const Vec span{f.X(x2) - f.X(x1), f.Y(y2) - f.Y(y1)};
  const double lift = 44.0 * level;  // loads of one bar are stacked
  const std::string value = modelValue(load.q);
  switch (load.ltype) {
    case 1: {
      const double length = 42 + lift;
      arrowMarkup(o, (-length) * d, {0, 0});
      labelAt(o, (-(length + 8)) * d + Vec{0, d.y > 0 ? 0.0 : 10.0}, "P=" + value);
      break;
    }
    case 2:
      momentArc(o, load.q, 14);
      o << "<text x=\"18\" y=\"-8\">M=" << escapeText(value) << "</text>";
      break;
    case 6:
      o << "<text x=\"0\" y=\"" << px(-10 - lift) << "\" text-anchor=\"middle\">&#916;T=" << escapeText(value) << "</text>";
      break;
    default: {
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
      const double at = load.ltype == 4 ? 1.0 : load.ltype == 5 ? 0.0 : 0.5;
      labelAt(o, at * span - (lift + 38) * d + Vec{0, d.y > 0 ? 0.0 : 10.0}, "q=" + value);
      break;
    }
  }
  o << "</g>\n";
}

void drawNodalLoads(SvgPicture& pic, const Model& model, const ModelFrame& f) {
  for (size_t k = 1; k < model.nodalLoads.size(); ++k) {
    const NodalLoad& load = model.nodalLoads[k];
    const Node& node = model.nodes[load.index];
    auto& o = pic.body();
    o << "<g class=\"carga-nodal\"" << attr("data-nodo", std::to_string(node.label))
      << attr("data-fx", modelValue(load.value[0])) << attr("data-fy", modelValue(load.value[1]))
      << attr("data-m", modelValue(load.value[2])) << attr("data-x", modelValue(node.x))
      << attr("data-y", modelValue(node.y)) << translate(f.X(node.x), f.Y(node.y)) << ">";
    if (load.value[0] != 0) {
      Vec d{load.value[0] > 0 ? 1.0 : -1.0, 0};
      arrowMarkup(o, (-40) * d, {0, 0});
      labelAt(o, (-48) * d + Vec{0, -6}, "Fx=" + modelValue(load.value[0]));
    }
    if (load.value[1] != 0) {
      Vec d{0, load.value[1] > 0 ? -1.0 : 1.0};
      arrowMarkup(o, (-40) * d, {0, 0});
      labelAt(o, (-48) * d + Vec{0, d.y > 0 ? 0.0 : 10.0}, "Fy=" + modelValue(load.value[1]));
    }
    if (load.value[2] != 0) {
      momentArc(o, load.value[2], 18);
      labelAt(o, {0, -24}, "M=" + modelValue(load.value[2]));
    }
    o << "</g>\n";
  }
}

// ---- bars -----------------------------------------------------------------

void drawBar(SvgPicture& pic, const ModelFrame& f, const BarInput& bar, const Node& I, const Node& J) {
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
  // End releases: a hinge is a circle, a shear release two short strokes.
  auto hinge = [&](Vec at) { o << "<circle class=\"rotula\" cx=\"" << px(at.x) << "\" cy=\"" << px(at.y) << "\" r=\"4.5\"/>"; };
  auto shear = [&](Vec at) {
    for (double s : {-2.5, 2.5}) {
      Vec p = at + s * e;
      o << "<line class=\"liberacion\" x1=\"" << px((p + 7 * n).x) << "\" y1=\"" << px((p + 7 * n).y) << "\" x2=\""
        << px((p - 7 * n).x) << "\" y2=\"" << px((p - 7 * n).y) << "\"/>";
    }
  };
  const Vec nearI = a + 12 * e, nearJ = b - 12 * e;
  if (bar.type == 2 || bar.type == 4) hinge(nearI);
  if (bar.type == 3 || bar.type == 4) hinge(nearJ);
  if (bar.type == 7) shear(nearI);
  if (bar.type == 8) shear(nearJ);
  o << "</g>\n";
  const Vec middle = 0.5 * (a + b);
  std::string label = "B" + std::to_string(bar.label);
  if (bar.type == 0 || bar.type == 5 || bar.type == 6) label += " (tipo " + std::to_string(bar.type) + ")";
  if (bar.taper != 1.0) label += " cartela " + modelValue(bar.taper);
  pic.text(middle.x + 16 * n.x, middle.y + 16 * n.y + 4, label, "etiqueta-barra", "middle");
  // Span dimension, below the supports.
  const Vec c1 = a + 78 * n, c2 = b + 78 * n;
  o << "<g class=\"cota\"" << attr("data-barra", std::to_string(bar.label)) << attr("data-longitud", modelValue(bar.L))
    << ">";
  pic.line(c1.x, c1.y, c2.x, c2.y, "cota");
  pic.line((c1 - 5 * n).x, (c1 - 5 * n).y, (c1 + 5 * n).x, (c1 + 5 * n).y, "cota");
  pic.line((c2 - 5 * n).x, (c2 - 5 * n).y, (c2 + 5 * n).x, (c2 + 5 * n).y, "cota");
  const Vec t = 0.5 * (c1 + c2) + 14 * n;
  pic.text(t.x, t.y + 4, modelValue(bar.L), "texto-cota", "middle");
  o << "</g>\n";
}

void drawNodes(SvgPicture& pic, const Model& model, const ModelFrame& f, bool labels) {
  for (size_t k = 1; k < model.nodes.size(); ++k) {
    const Node& node = model.nodes[k];
    pic.body() << "<circle class=\"nodo\"" << attr("data-nodo", std::to_string(node.label)) << " cx=\""
               << px(f.X(node.x)) << "\" cy=\"" << px(f.Y(node.y)) << "\" r=\"3.5\"/>\n";
    if (labels) pic.text(f.X(node.x) + 7, f.Y(node.y) - 8, "N" + std::to_string(node.label), "etiqueta-nodo");
  }
}

void frameAttributes(SvgPicture& pic, const ModelFrame& f) {
  pic.rootAttribute("data-escala", modelValue(f.scale));
  pic.rootAttribute("data-x0", modelValue(f.x0));
  pic.rootAttribute("data-y0", modelValue(f.y0));
}
}  // namespace

std::string sourceAttributes(const char* file, const SourceValue& value) {
  return " data-fuente=\"" + std::string(file) + "\" data-linea=\"" + std::to_string(value.line) +
         "\" data-campo=\"" + std::to_string(value.field) + "\"";
}

ModelFrame modelFrame(const Model& model) {
  double xmin = model.nodes[1].x, xmax = xmin, ymin = model.nodes[1].y, ymax = ymin;
  for (size_t k = 2; k < model.nodes.size(); ++k) {
    xmin = std::min(xmin, model.nodes[k].x);
    xmax = std::max(xmax, model.nodes[k].x);
    ymin = std::min(ymin, model.nodes[k].y);
    ymax = std::max(ymax, model.nodes[k].y);
  }
  const double dx = xmax - xmin, dy = ymax - ymin;
  const double top = 140, bottom = 130, side = 90;
  ModelFrame f;
  f.scale = dx > 0 ? (kWidth - 2 * side) / dx : 1.0;
  if (dy > 0 && (dx == 0 || dy * f.scale > 420)) f.scale = 420 / dy;
  f.width = kWidth;
  f.height = dy * f.scale + top + bottom;
  f.x0 = (kWidth - dx * f.scale) / 2 - xmin * f.scale;
  f.y0 = top + dy * f.scale + ymin * f.scale;
  return f;
}

std::unique_ptr<SvgPicture> modelPicture(const Model& model) {
  const ModelFrame f = modelFrame(model);
  auto pic = std::make_unique<SvgPicture>("modelo", f.width, f.height);
  frameAttributes(*pic, f);
  const UnitLabels units = unitLabels(model.header.unitCode);
  pic->text(10, 20, "Modelo " + model.header.title, "titulo");
  pic->text(10, 38,
            "Unidades: fuerza " + units.force + ", longitud " + units.length + ".  Peso propio " +
                (model.header.selfWeight == 1 ? "incluido en el c\xE1lculo" : "no incluido"),
            "nota");
  for (size_t i = 1; i < model.bars.size(); ++i)
    drawBar(*pic, f, model.bars[i], model.nodes[model.bars[i].nodeI], model.nodes[model.bars[i].nodeJ]);
  drawSupports(*pic, model, f, true);
  drawNodes(*pic, model, f, true);
  std::map<int, int> levels;  // loads already drawn on each bar
  for (const LoadOnBar& entry : model.loads) {
    const BarInput& bar = model.bars[entry.bar];
    // Forces are stacked above the bar; moments and temperatures sit on it.
    const bool stacked = entry.load.ltype != 2 && entry.load.ltype != 6;
    drawBarLoad(pic->body(), f, bar, model.nodes[bar.nodeI], entry, stacked ? levels[entry.bar]++ : 0);
  }
  drawNodalLoads(*pic, model, f);
  return pic;
}

// ---- diagrams along the beam ------------------------------------------------

namespace {
// One ordinate of a diagram and where its value and abscissa were read.
struct Ordinate {
  double X = 0, value = 0;
  const SourceValue* source = nullptr;
  const char* file = "fmc";
  const SourceValue* abscissa = nullptr;
};

struct DiagramSpec {
  const char* id;
  const char* caption;
  const char* curveClass;
  double sign;  // +1: positive values drawn upward
  std::string unit;
};

DiagramSpec diagramSpec(DiagramKind kind, const UnitLabels& units) {
  switch (kind) {
    case DiagramKind::Deflection: return {"flecha", "Deformada (flecha)", "curva-flecha", 1, units.deflection};
    case DiagramKind::Moment: return {"momento", "Momentos flectores", "curva-momento", -1, units.moment};
    default: return {"corte", "Esfuerzos de corte", "curva-corte", 1, units.force};
  }
}

const SourceValue& pointValue(const FmcPoint& p, DiagramKind kind) {
  return kind == DiagramKind::Deflection ? p.deflection : kind == DiagramKind::Moment ? p.M : p.V;
}

// The value of the results file at a bar's first or last station: its line
// runs from left to right, so a bar drawn from right to left lists J first.
const SourceValue& barEndValue(const ResBar& bar, const BarInput& input, DiagramKind kind, bool atStart) {
  const bool first = (input.orient == kInclinedLeft) != atStart;
  if (kind == DiagramKind::Moment) return first ? bar.Mleft : bar.Mright;
  return first ? bar.Vleft : bar.Vright;
}
}  // namespace

namespace {
std::string sourceSpan(const char* file, const SourceValue& value) {
  return "<tspan class=\"valor\"" + sourceAttributes(file, value) + ">" + escapeText(value.text) + "</tspan>";
}

// One diagram along the developed beam: abscissae from the diagram file,
// ordinates scaled so the largest reaches `kReach` pixels from the axis.
class DiagramDrawer {
 public:
  DiagramDrawer(const ReportData& data, DiagramKind kind)
      : data_(data), kind_(kind), spec_(diagramSpec(kind, unitLabels(data.model.header.unitCode))),
        points_(data.fmc.points), nb_(static_cast<int>(data.model.bars.size()) - 1),
        pic_(std::make_unique<SvgPicture>(spec_.id, kWidth, kHeight)) {
    const double Xmin = points_.front().X.value, Xmax = points_.back().X.value;
    x0_ = Xmin;
    sx_ = Xmax > Xmin ? (kWidth - kLeft - kRight) / (Xmax - Xmin) : 1.0;
    buildCurve();
  }

  std::unique_ptr<SvgPicture> draw() {
    pic_->rootAttribute("data-tipo", spec_.id);
    std::vector<Vec> outline{{X(curve_.front().X), kAxis}};
    for (const Ordinate& o : curve_) outline.push_back({X(o.X), Y(o.value)});
    outline.push_back({X(curve_.back().X), kAxis});
    pic_->body() << "<polygon class=\"" << spec_.curveClass << "\" points=\"" << pointList(outline) << "\"/>\n";
    pic_->line(kLeft - 20, kAxis, kWidth - kRight + 20, kAxis, "eje");
    drawNodes();
    for (int i = 1; i <= nb_; ++i) {
      labelBarEnds(i);
      labelInnerExtremes(i);
    }
    caption();
    return std::move(pic_);
  }

 private:
  static constexpr double kHeight = 360, kAxis = 190, kLeft = 70, kRight = 50, kReach = 120;

  double X(double x) const { return kLeft + (x - x0_) * sx_; }
  double Y(double v) const { return kAxis - spec_.sign * v * sy_; }

  // Ordinates bar by bar: the first station of each bar from the results file
  // (a shear or moment may jump at a node), the others from the diagram file.
  void buildCurve() {
    double largest = 0;
    for (int i = 1; i <= nb_; ++i) {
      for (int k = 0; k <= 20; ++k) {
        const FmcPoint& p = points_[20 * (i - 1) + k];
        Ordinate o{p.X.value, 0, &pointValue(p, kind_), "fmc", &p.X};
        if (k == 0 && kind_ != DiagramKind::Deflection) {
          o.source = &barEndValue(data_.res.bars[i], data_.model.bars[i], kind_, true);
          o.file = "res";
        }
        o.value = o.source->value;
        curve_.push_back(o);
        largest = std::max(largest, std::fabs(o.value));
      }
    }
    sy_ = largest > 0 ? kReach / largest : 0.0;
  }

  // Nodes along the beam, with the supported ones marked.
  void drawNodes() {
    const Model& m = data_.model;
    for (int i = 0; i <= nb_; ++i) {
      const double x = X(points_[20 * i].X.value);
      const int node = i == 0 ? m.bars[1].nodeI : m.bars[i].nodeJ;
      pic_->line(x, kAxis - 5, x, kAxis + 5, "marca");
      pic_->text(x, kHeight - 12, "N" + std::to_string(m.nodes[node].label), "etiqueta-nodo", "middle");
      bool supported = false;
      for (size_t s = 1; s < m.supports.size(); ++s) supported = supported || m.supports[s].index == node;
      if (supported)
        pic_->body() << "<polygon class=\"apoyo-eje\"" << attr("data-nodo", std::to_string(m.nodes[node].label))
                     << " points=\"" << pointList({{x, kAxis}, {x - 7, kAxis + 11}, {x + 7, kAxis + 11}}) << "\"/>\n";
    }
  }

  void label(double x, double v, const char* file, const SourceValue& value, const char* anchor) {
    const double y = Y(v);
    pic_->text(x, y <= kAxis ? y - 6 : y + 15, value.text, "valor", anchor, sourceAttributes(file, value));
  }

  void labelBarEnds(int i) {
    const int first = 20 * (i - 1);
    const double xs = X(points_[first].X.value), xe = X(points_[first + 20].X.value);
    if (kind_ == DiagramKind::Deflection) {
      // Node deflections from the results file, once per node.
      const auto& nodes = data_.res.nodes;
      if (i == 1) label(xs + 3, points_[first].deflection.value, "res", nodes[data_.model.bars[1].nodeI].deflection, "start");
      label(xe - 3, points_[first + 20].deflection.value, "res", nodes[data_.model.bars[i].nodeJ].deflection, "end");
      return;
    }
    const SourceValue& s = barEndValue(data_.res.bars[i], data_.model.bars[i], kind_, true);
    const SourceValue& e = barEndValue(data_.res.bars[i], data_.model.bars[i], kind_, false);
    label(xs + 3, s.value, "res", s, "start");
    label(xe - 3, e.value, "res", e, "end");
  }

  // Extremes inside a bar where they exceed both its ends (span moments, the
  // largest deflection of a span).
  void labelInnerExtremes(int i) {
    const int first = 20 * (i - 1);
    int high = first + 1, low = first + 1;
    for (int p = first + 1; p < first + 20; ++p) {
      if (pointValue(points_[p], kind_).value > pointValue(points_[high], kind_).value) high = p;
      if (pointValue(points_[p], kind_).value < pointValue(points_[low], kind_).value) low = p;
    }
    const double endA = curve_[21 * (i - 1)].value, endB = curve_[21 * (i - 1) + 20].value;
    for (int p : {high, low}) {
      const SourceValue& v = pointValue(points_[p], kind_);
      const bool isHigh = p == high;
      if (isHigh ? v.value <= std::max(endA, endB) + 1e-9 : v.value >= std::min(endA, endB) - 1e-9) continue;
      if (isHigh && high == low) continue;
      const double x = X(points_[p].X.value);
      pic_->body() << "<circle class=\"extremo\" cx=\"" << px(x) << "\" cy=\"" << px(Y(v.value)) << "\" r=\"3\"/>\n";
      label(x, v.value, "fmc", v, "middle");
    }
  }

  // Title, and the extremes of the whole beam with where they are.
  void caption() {
    size_t high = 0, low = 0;
    for (size_t p = 0; p < curve_.size(); ++p) {
      if (curve_[p].value > curve_[high].value) high = p;
      if (curve_[p].value < curve_[low].value) low = p;
    }
    pic_->text(10, 22, std::string(spec_.caption) + " [" + spec_.unit + "]", "titulo");
    pic_->body() << "<text class=\"nota\" x=\"10\" y=\"42\">m&#225;ximo " << sourceSpan(curve_[high].file, *curve_[high].source)
                 << " en x = " << sourceSpan("fmc", *curve_[high].abscissa) << ";  m&#237;nimo "
                 << sourceSpan(curve_[low].file, *curve_[low].source) << " en x = "
                 << sourceSpan("fmc", *curve_[low].abscissa) << "</text>\n";
  }

  const ReportData& data_;
  DiagramKind kind_;
  DiagramSpec spec_;
  const std::vector<FmcPoint>& points_;
  int nb_;
  std::unique_ptr<SvgPicture> pic_;
  double x0_ = 0, sx_ = 1, sy_ = 0;
  std::vector<Ordinate> curve_;
};
}  // namespace

std::unique_ptr<SvgPicture> diagramPicture(const ReportData& data, DiagramKind kind) {
  return DiagramDrawer(data, kind).draw();
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
  pic->body() << "<text class=\"titulo\" x=\"10\" y=\"22\">Modo " << number << ": " << sourceSpan("modos", mode.frequency)
              << " ciclos/seg. (autovalor " << sourceSpan("modos", mode.eigenvalue) << ")</text>\n";
  return pic;
}

}  // namespace informe
