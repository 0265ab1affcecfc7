#include "drawings.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "structure.h"

namespace informe {

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
  const ModelFrame f = modelFrame(model);
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
  std::map<int, int> levels;  // loads already drawn on each bar
  for (const LoadOnBar& entry : model.loads) {
    const BarInput& bar = model.bars[entry.bar];
    // Forces are stacked above the bar; moments and temperatures sit on it.
    const bool stacked = entry.load.ltype != 2 && entry.load.ltype != 6;
    drawBarLoad(*pic, f, bar, model.nodes[bar.nodeI], entry, stacked ? levels[entry.bar]++ : 0);
  }
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
