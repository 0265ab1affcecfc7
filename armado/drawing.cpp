#include "armado/drawing.h"

#include <algorithm>
#include <cmath>

#include "armado/outputs.h"
#include "pictures/script_canvas.h"
#include "common/format.h"
#include "pictures/svg_picture.h"
#include "pictures/drawing.h"

namespace armado {

using common::formatText;
using pictures::Anchor;
using pictures::Point;

namespace {

pictures::Group groupOf(const char* cls) {
  pictures::Group group;
  group.cls = cls;
  return group;
}

constexpr double kMargin = 70;          // px left and right of the beam
constexpr double kRow = 30;             // px per piece drawn apart
constexpr double kElevation = 100;      // px of the beam's depth
constexpr double kSectionHeight = 150;  // px of a cross section's depth at most
constexpr double kTitle = 40;

// Where the parts of the drawing go, top to bottom.
struct Places {
  double topRows = 0, elevation = 0, zones = 0, bottomRows = 0, sections = 0;
};

// The pieces drawn apart above (top bars) and below (bottom bars) the elevation.
std::vector<const BarGroup*> rowsOf(const Design& d, int face) {
  std::vector<const BarGroup*> rows;
  for (const BarGroup& g : d.bars)
    if (g.face == face) rows.push_back(&g);
  return rows;
}

Places placesOf(const Design& d, const DesignFrame& f) {
  Places p;
  p.topRows = kTitle + 10;
  p.elevation = p.topRows + kRow * rowsOf(d, kTop).size() + 20 + f.scale * d.h * 0;
  // Top bars bent down into a support go below the elevation's top edge.
  p.zones = p.elevation + kElevation + 30;
  p.bottomRows = p.zones + 50;
  p.sections = p.bottomRows + kRow * rowsOf(d, kBottom).size() + 30;
  return p;
}

// The stations the cross sections are drawn at: each span's largest sagging
// demand, and every support.
std::vector<double> sectionPlaces(const Design& d) {
  std::vector<double> places;
  for (const DemandSpan& span : d.demand.spans) {
    double most = -1, at = (span.start + span.end) / 2;
    for (int i = span.firstStation; i <= span.lastStation; ++i)
      if (d.stations[i].Tbottom > most) most = d.stations[i].Tbottom, at = d.stations[i].x;
    places.push_back(at);
  }
  places.insert(places.end(), d.demand.supports.begin(), d.demand.supports.end());
  std::sort(places.begin(), places.end());
  places.erase(std::unique(places.begin(), places.end(), [](double a, double b) { return std::fabs(a - b) < 1; }),
               places.end());
  return places;
}

class Painter {
 public:
  Painter(pictures::Canvas& canvas, const Design& d, const Schedule& s, const DesignFrame& f)
      : c_(canvas), d_(d), s_(s), f_(f), p_(placesOf(d, f)) {}
  void paint(const std::string& name);

 private:
  double px(double x) const { return kMargin + (x - d_.beamStart) * f_.scale; }
  void elevation();
  void barPieces(const BarGroup& g, double y);
  void rows();
  void zones();
  void sections();
  void sectionBars(double left, double top, int face, double x);
  void stirrupPiece(double x, double y);
  pictures::Canvas& c_;
  const Design& d_;
  const Schedule& s_;
  const DesignFrame& f_;
  Places p_;
};

void Painter::elevation() {
  const double top = p_.elevation, ey = f_.elevationScale;
  c_.beginGroup(groupOf("estructura"));
  c_.rect({px(d_.beamStart), top}, (d_.beamEnd - d_.beamStart) * f_.scale, d_.h * ey, {});
  c_.endGroup();
  // The stirrups, one stroke a set.
  c_.beginGroup(groupOf("estribos"));
  const double cover = d_.data.cover * ey;
  for (const StirrupZone& z : d_.stirrups)
    for (int k = 0; k < z.count; ++k) {
      const double x = px(z.start + (k + 0.5) * (z.end - z.start) / z.count);
      c_.line({x, top + cover}, {x, top + d_.h * ey - cover}, {"marca"});
    }
  c_.endGroup();
  // The bars at their depths, the second layer a little further in (a group
  // without fill around them: they are strokes).
  c_.beginGroup(groupOf("estructura"));
  for (const BarGroup& g : d_.bars) {
    // Extra bars a little inside the continuous ones, so that both show; the
    // pieces of lapped bars a little apart, so that the laps show.
    const double depth = (g.count > g.inner ? g.depth : g.innerDepth) * ey + (g.continuous ? 0 : 3);
    const double turn = g.face == kTop ? 1 : -1;
    const std::vector<BarPiece> pieces = g.pieces();
    for (size_t k = 0; k < pieces.size(); ++k) {
      const BarPiece& p = pieces[k];
      const double y = (g.face == kTop ? top + depth : top + d_.h * ey - depth) + turn * 2.0 * (k % 2);
      std::vector<Point> line;
      if (p.legStart > 0) line.push_back({px(p.start), y + turn * std::min(p.legStart * ey, d_.h * ey - 2 * depth)});
      line.push_back({px(p.start), y});
      line.push_back({px(p.end), y});
      if (p.legEnd > 0) line.push_back({px(p.end), y + turn * std::min(p.legEnd * ey, d_.h * ey - 2 * depth)});
      pictures::Style look("barra");
      look.strokeWidth = 2;
      c_.polyline(line, look);
    }
  }
  c_.endGroup();
  c_.beginGroup(groupOf("apoyo"));
  for (double x : d_.demand.supports) {
    const double y = top + d_.h * ey;
    c_.polygon({{px(x), y}, {px(x) - 8, y + 12}, {px(x) + 8, y + 12}}, {});
  }
  c_.endGroup();
}

// The pieces of a group at their place, as the schedule has them: the
// straight part along the beam and its bends, to the pieces' scale; the
// pieces of lapped bars a little apart, so that the laps show.
void Painter::barPieces(const BarGroup& g, double y) {
  const double turn = g.face == kTop ? 1 : -1;  // top bars bend down, bottom bars up
  const std::vector<BarPiece> pieces = g.pieces();
  for (size_t k = 0; k < pieces.size(); ++k) {
    const BarPiece& p = pieces[k];
    const double at = y + 5.0 * (k % 2);
    std::vector<Point> line;
    if (p.legStart > 0) line.push_back({px(p.start), at + turn * p.legStart * f_.scale});
    line.push_back({px(p.start), at});
    line.push_back({px(p.end), at});
    if (p.legEnd > 0) line.push_back({px(p.end), at + turn * p.legEnd * f_.scale});
    c_.beginItem(pictures::ItemKind::bar, p.mark);
    pictures::Style look("barra", {{"data-marca", std::to_string(p.mark)}});
    look.strokeWidth = 2;
    c_.polyline(line, look);
    c_.endItem();
    c_.text({px(p.start), at - 5}, formatText("(%d) %d\xD8%.0f L=%.2f", p.mark, g.count, g.diameter, p.length() / 1000),
            {"valor"}, Anchor::start, "");
  }
}

void Painter::rows() {
  c_.beginGroup(groupOf("estructura"));
  double y = p_.topRows + kRow - 8;
  for (const BarGroup* g : rowsOf(d_, kTop)) barPieces(*g, y), y += kRow;
  y = p_.bottomRows + kRow - 8;
  for (const BarGroup* g : rowsOf(d_, kBottom)) barPieces(*g, y), y += kRow;
  c_.endGroup();
}

// The stirrup zones and the spans' lengths under the elevation.
void Painter::zones() {
  const double y = p_.zones;
  c_.beginGroup(groupOf("cota"));
  for (const StirrupZone& z : d_.stirrups) {
    c_.line({px(z.start), y - 8}, {px(z.start), y + 2}, {"cota"});
    c_.line({px(z.end), y - 8}, {px(z.end), y + 2}, {"cota"});
    c_.line({px(z.start), y - 3}, {px(z.end), y - 3}, {"cota"});
    c_.text({(px(z.start) + px(z.end)) / 2, y + 12}, formatText("c\xD8%.0f/%g", d_.stirrup.diameter, z.spacing / 10),
            {"texto-cota"}, Anchor::middle, "");
  }
  const double ys = y + 30;
  for (const DemandSpan& span : d_.demand.spans) {
    c_.line({px(span.start), ys - 6}, {px(span.start), ys + 6}, {"cota"});
    c_.line({px(span.end), ys - 6}, {px(span.end), ys + 6}, {"cota"});
    c_.line({px(span.start), ys}, {px(span.end), ys}, {"cota"});
    c_.text({(px(span.start) + px(span.end)) / 2, ys - 3}, formatText("%.2f", (span.end - span.start) / 1000),
            {"texto-cota"}, Anchor::middle, "");
  }
  c_.endGroup();
}

void Painter::stirrupPiece(double x, double y) {
  const StirrupShape& st = d_.stirrup;
  const double w = st.width * f_.scale, h = st.height * f_.scale, hook = st.hook * f_.scale / std::sqrt(2.0);
  int mark = 0;
  for (const SchedulePiece& p : s_.pieces)
    if (p.shape == Shape::stirrup) mark = p.mark;
  c_.beginGroup(groupOf("estructura"));
  c_.beginItem(pictures::ItemKind::bar, mark);
  pictures::Style look("barra", {{"data-marca", std::to_string(mark)}});
  look.strokeWidth = 1;
  c_.polyline({{x + hook, y + hook}, {x, y}, {x + w, y}, {x + w, y + h}, {x, y + h}, {x, y}, {x + hook, y + hook}},
              look);
  c_.endItem();
  c_.text({x, y - 5}, formatText("(%d) %d c\xD8%.0f L=%.2f", mark, stirrupSets(d_), st.diameter, st.length() / 1000),
          {"valor"}, Anchor::start, "");
  for (const SchedulePiece& p : s_.pieces) {
    if (p.shape != Shape::tie) continue;
    const double tx = x + w + 40;
    c_.beginItem(pictures::ItemKind::bar, p.mark);
    pictures::Style tie("barra", {{"data-marca", std::to_string(p.mark)}});
    tie.strokeWidth = 1;
    c_.polyline({{tx + hook, y + hook}, {tx, y}, {tx, y + h}, {tx + hook, y + h - hook}}, tie);
    c_.endItem();
    c_.text({tx, y + h + 14}, formatText("(%d) %d c\xD8%.0f", p.mark, p.count, p.diameter), {"valor"}, Anchor::start,
            "");
  }
  c_.endGroup();
}

// The bars of a face in a cross section: each layer's bars spread evenly
// across the width inside the stirrups, the continuous ones at the corners.
void Painter::sectionBars(double left, double top, int face, double x) {
  const double ss = f_.sectionScale, inner = d_.b - 2 * (d_.data.cover + d_.data.stirrupDiameter);
  for (int layer = 0; layer < 2; ++layer) {
    std::vector<double> diameters;
    double depth = 0;
    for (const BarGroup& g : d_.bars) {
      if (g.face != face || !covers(g, x)) continue;
      const int n = layer == 0 ? g.count - g.inner : g.inner;
      if (n == 0) continue;
      depth = std::max(depth, layer == 0 ? g.depth : g.innerDepth);
      // The continuous bars go first and last.
      if (g.continuous && layer == 0) {
        diameters.insert(diameters.begin(), (n + 1) / 2, g.diameter);
        diameters.insert(diameters.end(), n / 2, g.diameter);
      } else {
        diameters.insert(diameters.begin() + static_cast<long>(diameters.size() / 2), n, g.diameter);
      }
    }
    const size_t n = diameters.size();
    for (size_t j = 0; j < n; ++j) {
      const double along = n == 1 ? inner / 2 : diameters[j] / 2 + j * (inner - diameters[j]) / (n - 1);
      const double cx = left + (d_.data.cover + d_.data.stirrupDiameter + along) * ss;
      const double cy = face == kTop ? top + depth * ss : top + (d_.h - depth) * ss;
      c_.circle({cx, cy}, std::max(1.5, diameters[j] / 2 * ss), {"nodo"});
    }
  }
}

void Painter::sections() {
  const std::vector<double> places = sectionPlaces(d_);
  const double ss = f_.sectionScale, top = p_.sections + 20;
  double x = kMargin;
  for (size_t k = 0; k < places.size(); ++k) {
    const std::string letter(1, static_cast<char>('A' + k % 26));
    // Where the section is cut, on the elevation.
    c_.beginGroup(groupOf("cota"));
    c_.line({px(places[k]), p_.elevation - 12}, {px(places[k]), p_.elevation + kElevation + 12}, {"cota"});
    c_.text({px(places[k]) + 3, p_.elevation - 4}, letter, {"texto-cota"}, Anchor::start, "");
    c_.endGroup();
    c_.beginGroup(groupOf("estructura"));
    c_.rect({x, top}, d_.b * ss, d_.h * ss, {});
    const double cv = d_.data.cover * ss;
    c_.rect({x + cv, top + cv}, (d_.b - 2 * d_.data.cover) * ss, (d_.h - 2 * d_.data.cover) * ss, {"eje"});
    c_.endGroup();
    for (int face : {kBottom, kTop}) sectionBars(x, top, face, places[k]);
    c_.text({x + d_.b * ss / 2, top + d_.h * ss + 16}, letter + "-" + letter + formatText(" x=%.2f", places[k] / 1000),
            {"texto-cota"}, Anchor::middle, "");
    x += d_.b * ss + 60;
  }
  stirrupPiece(x + 20, top + 10);
}

void Painter::paint(const std::string& name) {
  c_.text({kMargin, 24},
          "ARMADO DE LA VIGA " + name + " (" + d_.data.concrete.name + ", " + d_.data.steel.name +
              formatText(", secci\xF3n %.0f x %.0f mm)", d_.b, d_.h),
          {"titulo"}, Anchor::start, "");
  elevation();
  rows();
  zones();
  sections();
}

}  // namespace

DesignFrame designFrame(const Design& d, const Schedule& /*schedule*/) {
  DesignFrame f;
  const double length = d.beamEnd - d.beamStart;
  f.scale = std::clamp(1000.0 / length, 0.06, 0.25);
  f.elevationScale = kElevation / d.h;
  f.sectionScale = std::min(0.3, kSectionHeight / d.h);
  const Places p = placesOf(d, f);
  const double sectionsWidth =
      (sectionPlaces(d).size()) * (d.b * f.sectionScale + 60) + 2 * kMargin + d.stirrup.width * f.scale * 2 + 120;
  f.width = std::max(2 * kMargin + length * f.scale, sectionsWidth);
  f.height = p.sections + d.h * f.sectionScale + 60;
  return f;
}

void drawDesign(pictures::Canvas& canvas, const std::string& name, const Design& design, const Schedule& schedule,
                const DesignFrame& frame) {
  Painter(canvas, design, schedule, frame).paint(name);
}

DesignPictures designPictures(const std::string& name, const Design& design, const Schedule& schedule) {
  const DesignFrame frame = designFrame(design, schedule);
  pictures::SvgPicture svg("armado", frame.width, frame.height);
  drawDesign(svg, name, design, schedule, frame);
  // The script in metres along the beam.
  pictures::ScriptCanvas script(pictures::ScriptForm::units, 1 / frame.scale / 1000);
  drawDesign(script, name, design, schedule, frame);
  return {svg.document(true), script.script()};
}

}  // namespace armado
