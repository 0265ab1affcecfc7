#include "informe/drawings.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "informe/structure.h"

namespace informe {

using namespace common;

namespace {
// The analysis's files as the diagrams' sources.
class ReportSources : public pictures::DiagramSources {
 public:
  explicit ReportSources(const ReportData& data) : data_(data) {}
  // A bar's line of the results file runs from left to right, so a bar drawn
  // from right to left lists J first.
  const SourceValue* barEnd(int bar, DiagramKind kind, bool atStart) const override {
    const ResBar& res = data_.res.bars[static_cast<size_t>(bar)];
    const bool first = (data_.model.bars[static_cast<size_t>(bar)].orient == kInclinedLeft) != atStart;
    if (kind == DiagramKind::Moment) return first ? &res.Mi : &res.Mj;
    return first ? &res.Qi : &res.Qj;
  }
  const SourceValue* station(int bar, int k, DiagramKind kind) const override {
    const FmcPoint& p = data_.fmc.points[static_cast<size_t>(20 * (bar - 1) + k)];
    return kind == DiagramKind::Moment ? &p.moment : &p.shear;
  }
  const SourceValue* nodeDeflection(int node) const override {
    return static_cast<size_t>(node) < data_.res.nodes.size() ? &data_.res.nodes[static_cast<size_t>(node)].value
                                                              : nullptr;
  }

 private:
  const ReportData& data_;
};
}  // namespace

std::unique_ptr<SvgPicture> diagramPicture(const ReportData& data, DiagramKind kind) {
  const ModelFrame f = pictures::diagramFrame(data.model);
  auto pic = std::make_unique<SvgPicture>(pictures::diagramId(kind), f.width, f.height);
  pictures::drawDiagram(*pic, data.model, data.curves, kind, ReportSources(data));
  return pic;
}

std::unique_ptr<SvgPicture> modelPicture(const Model& model) {
  const ModelFrame f = pictures::modelPictureFrame(model);
  auto pic = std::make_unique<SvgPicture>("modelo", f.width, f.height);
  Drawing drawing(*pic, f.width, f.height);
  pictures::drawModel(drawing, model, f);
  return pic;
}

double transverseShape(int barType, double xi, double length, double v1, double theta1, double v2, double theta2) {
  const double x2 = xi * xi, x3 = x2 * xi;
  switch (barType) {
    case 2:  // free to turn at I
      return (1 - 1.5 * xi + 0.5 * x3) * v1 + (1.5 * xi - 0.5 * x3) * v2 + length * (x3 - xi) / 2 * theta2;
    case 3:  // free to turn at J
      return (1 - 1.5 * x2 + 0.5 * x3) * v1 + length * xi * (1 - 1.5 * xi + 0.5 * x2) * theta1 +
             (1.5 * x2 - 0.5 * x3) * v2;
    case 1:
    case 7:
    case 8:
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
  Drawing drawing(*pic, pic->width(), pic->height());
  frameAttributes(*pic, f);
  const int nn = static_cast<int>(model.nodes.size()) - 1;
  const std::vector<NodeMotion> motion = modeAtNodes(modes, mode, nn);
  std::vector<std::vector<std::pair<Vec, Vec>>> shapes;
  double largest = 0;
  for (size_t i = 1; i < model.bars.size(); ++i) {
    const BarInput& bar = model.bars[i];
    shapes.push_back(
        barModeShape(bar, model.nodes[bar.nodeI], model.nodes[bar.nodeJ], motion[bar.nodeI], motion[bar.nodeJ]));
    for (const auto& point : shapes.back()) largest = std::max(largest, std::hypot(point.second.x, point.second.y));
  }
  // The shape's size is arbitrary: its largest displacement is drawn 60 pixels long.
  double amplitude = largest > 0 ? 60.0 / (f.scale * largest) : 0.0;
  if (!std::isfinite(amplitude)) amplitude = 0.0;  // components too small to draw
  for (size_t i = 1; i < model.bars.size(); ++i) {
    const BarInput& bar = model.bars[i];
    const Node &I = model.nodes[bar.nodeI], &J = model.nodes[bar.nodeJ];
    pic->line(Vec{f.X(I.x), f.Y(I.y)}, Vec{f.X(J.x), f.Y(J.y)}, {"indeformada"});
    std::vector<Vec> line;
    for (const auto& [at, d] : shapes[i - 1])
      line.push_back({f.X(at.x + amplitude * d.x), f.Y(at.y + amplitude * d.y)});
    pic->polyline(points(line), {"modo", {{"data-barra", std::to_string(bar.label)}}});
  }
  drawSupports(drawing, model, f, false);
  drawNodes(drawing, model, f, true);
  const std::string head = "Modo " + std::to_string(number) + ": ";
  drawing.text(10, 22, head + mode.frequency.text + " ciclos/seg. (autovalor " + mode.eigenvalue.text + ")", "titulo",
               Anchor::start, {},
               escapeText(head) + pictures::sourceSpan("modos", mode.frequency, mode.frequency.text) +
                   " ciclos/seg. (autovalor " + pictures::sourceSpan("modos", mode.eigenvalue, mode.eigenvalue.text) +
                   ")");
  drawing.placeLabels();
  return pic;
}

}  // namespace informe
