#include "informe/structure.h"

#include "common/support_code.h"

#include <algorithm>
#include <cmath>
#include <set>

namespace informe {

using namespace common;

namespace {
constexpr double kPi = 3.14159265358979323846;
constexpr double kWidth = 1000, kMostHeight = 420, kLeastSpanPixels = 40;
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

void rotationMark(std::ostringstream& o, Restraint restraint) {
  if (restraint == Restraint::rigid) o << "<rect x=\"-7\" y=\"-7\" width=\"14\" height=\"14\"/>";
  if (restraint == Restraint::spring) o << "<path d=\"M 0 -12 A 12 12 0 1 1 -12 0 M -12 0 l -3 -5 m 3 5 l 4 -4\"/>";
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
  const SupportCode code(s.code);
  const Restraint r = code.along(Direction::rotation);
  if (code.isInclined()) {
    // Inclined: the symbol of the vertical support turned by the angle.
    o << "<g transform=\"rotate(" << px(-s.angle * 180 / kPi) << ")\">";
    if (code.inclined() == Restraint::rigid) triangleSymbol(o, false);
    else springSymbol(o, true);
    o << "</g>";
    rotationMark(o, r);
    return;
  }
  const Restraint h = code.along(Direction::horizontal), v = code.along(Direction::vertical);
  if (h == Restraint::rigid && v == Restraint::rigid && r == Restraint::rigid) {
    fixedSymbol(o, wallSide);
    return;
  }
  if (v == Restraint::rigid) triangleSymbol(o, h == Restraint::rigid);
  if (v == Restraint::spring) springSymbol(o, true);
  if (v != Restraint::rigid && h == Restraint::rigid) {
    o << "<polygon points=\"0,0 -16,-10 -16,10\"/>";
    groundLine(o, -16, -14, -16, 14);
  }
  if (h == Restraint::spring) springSymbol(o, false);
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

}  // namespace

std::string sourceAttributes(const char* file, const SourceValue& value) {
  return " data-fuente=\"" + std::string(file) + "\" data-linea=\"" + std::to_string(value.line) +
         "\" data-campo=\"" + std::to_string(value.field) + "\"";
}

std::string attr(const std::string& name, const std::string& value) {
  return " " + name + "=\"" + escapeText(value) + "\"";
}
std::string translate(double X, double Y) { return " transform=\"translate(" + px(X) + "," + px(Y) + ")\""; }
std::string pointList(const std::vector<Vec>& list) {
  std::string out;
  for (const Vec& p : list) out += (out.empty() ? "" : " ") + px(p.x) + "," + px(p.y);
  return out;
}

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

void frameAttributes(SvgPicture& pic, const ModelFrame& f) {
  pic.rootAttribute("data-escala", modelValue(f.scale));
  pic.rootAttribute("data-x0", modelValue(f.x0));
  pic.rootAttribute("data-y0", modelValue(f.y0));
}

void drawSupports(SvgPicture& pic, const Model& model, const ModelFrame& f, bool withNotes) {
  const UnitLabels units = unitLabels(model.header.unitCode);
  for (size_t k = 1; k < model.supports.size(); ++k) {
    const Support& s = model.supports[k];
    const Node& node = model.nodes[s.index];
    auto& o = pic.body();
    o << "<g class=\"apoyo\" id=\"apoyo-" << k << "\"" << attr("data-nodo", std::to_string(node.label))
      << attr("data-codigo", std::to_string(s.code)) << attr("data-x", modelValue(node.x))
      << attr("data-y", modelValue(node.y)) << translate(f.X(node.x), f.Y(node.y)) << ">";
    supportSymbol(o, s, wallSide(model, s.index));
    o << "</g>\n";
    const std::string note = supportNote(s, units);
    if (withNotes && !note.empty())
      pic.label({f.X(node.x), f.Y(node.y) + 48, note, "texto-apoyo", "middle", "", 55, {{0, 13}, {0, 26}, {0, -70}}});
  }
}

void drawNodes(SvgPicture& pic, const Model& model, const ModelFrame& f, bool labels) {
  for (size_t k = 1; k < model.nodes.size(); ++k) {
    const Node& node = model.nodes[k];
    pic.body() << "<circle class=\"nodo\"" << attr("data-nodo", std::to_string(node.label)) << " cx=\""
               << px(f.X(node.x)) << "\" cy=\"" << px(f.Y(node.y)) << "\" r=\"3\"/>\n";
    if (labels)
      pic.label({f.X(node.x) + 7, f.Y(node.y) - 8, "N" + std::to_string(node.label), "etiqueta-nodo", "start",
                 attr("data-nodo", std::to_string(node.label)), 50, {{-14, 0}, {0, 24}, {-14, 24}}});
  }
}

void drawReleases(std::ostringstream& o, const BarInput& bar, Vec a, Vec b) {
  const Vec e = along(bar), n = normal(bar);
  auto hinge = [&](Vec at) { o << "<circle class=\"rotula\" cx=\"" << px(at.x) << "\" cy=\"" << px(at.y) << "\" r=\"4\"/>"; };
  auto shear = [&](Vec at) {
    for (double s : {-2.5, 2.5}) {
      Vec p = at + s * e;
      o << "<line class=\"liberacion\" x1=\"" << px((p + 7 * n).x) << "\" y1=\"" << px((p + 7 * n).y) << "\" x2=\""
        << px((p - 7 * n).x) << "\" y2=\"" << px((p - 7 * n).y) << "\"/>";
    }
  };
  // On the bar, just clear of the node's dot, so it is seen which bar turns.
  const Vec nearI = a + 8 * e, nearJ = b - 8 * e;
  if (bar.type == 2 || bar.type == 4) hinge(nearI);
  if (bar.type == 3 || bar.type == 4) hinge(nearJ);
  if (bar.type == 7) shear(a + 12 * e);
  if (bar.type == 8) shear(b - 12 * e);
}

}  // namespace informe
