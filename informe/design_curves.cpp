#include "informe/design_curves.h"

#include <algorithm>
#include <cmath>

#include "common/format.h"
#include "pictures/drawing.h"

namespace informe {

using pictures::Anchor;
using pictures::Point;

namespace {

constexpr double kLeft = 70, kRight = 30;

// A panel: its band of the picture and the scale of its values, the zero
// line where the values' range puts it.
struct Panel {
  double top = 0, bottom = 0, zero = 0, scale = 0;
  Panel(double bandTop, double bandBottom, double low, double high) : top(bandTop), bottom(bandBottom) {
    low = std::min(low, 0.0);
    high = std::max(high, 0.0);
    if (high - low <= 0) high = 1;
    scale = (bottom - top) / (high - low);
    zero = top + high * scale;
  }
  double y(double value) const { return zero - value * scale; }
};

class CurvesPainter {
 public:
  CurvesPainter(pictures::Canvas& canvas, const ServiceCurves& c)
      : drawing_(canvas, kServiceCurvesWidth, kServiceCurvesHeight), c_(c) {
    const auto [low, high] = std::minmax_element(c.x.begin(), c.x.end());
    x0_ = *low;
    scale_ = (kServiceCurvesWidth - kLeft - kRight) / std::max(*high - *low, 1e-9);
  }
  void paint();

 private:
  double px(double x) const { return kLeft + (x - x0_) * scale_; }
  void axis(const Panel& p, const char* title);
  // The curve as a band to the zero line (`filled`) or a line; each span's
  // largest value either way labelled.
  void curve(const Panel& p, const std::vector<double>& values, const char* cls, bool filled, int decimals);
  pictures::Drawing drawing_;
  const ServiceCurves& c_;
  double x0_ = 0, scale_ = 1;
};

void CurvesPainter::axis(const Panel& p, const char* title) {
  pictures::Canvas& c = drawing_.canvas();
  pictures::Group axis;
  axis.cls = "estructura";
  c.beginGroup(axis);
  c.line({px(c_.x.front()), p.zero}, {px(c_.x.back()), p.zero}, {"eje"});
  c.endGroup();
  pictures::Group supports;
  supports.cls = "apoyo";
  c.beginGroup(supports);
  for (double x : c_.supports) c.polygon({{px(x), p.zero}, {px(x) - 6, p.zero + 9}, {px(x) + 6, p.zero + 9}}, {});
  c.endGroup();
  drawing_.text(kLeft, p.top - 22, title, "titulo");
}

void CurvesPainter::curve(const Panel& p, const std::vector<double>& values, const char* cls, bool filled,
                          int decimals) {
  std::vector<Point> line;
  if (filled) line.push_back({px(c_.x.front()), p.zero});
  for (size_t k = 0; k < values.size(); ++k) line.push_back({px(c_.x[k]), p.y(values[k])});
  if (filled) line.push_back({px(c_.x.back()), p.zero});
  pictures::Canvas& c = drawing_.canvas();
  if (filled)
    c.polygon(line, {cls});
  else
    c.polyline(line, {cls});
  // Between two supports (and past the end ones), the largest value each way.
  std::vector<double> cuts = c_.supports;
  cuts.insert(cuts.begin(), -HUGE_VAL);
  cuts.push_back(HUGE_VAL);
  std::vector<int> labelled;
  for (size_t s = 0; s + 1 < cuts.size(); ++s)
    for (double sign : {1.0, -1.0}) {
      int best = -1;
      for (size_t k = 0; k < values.size(); ++k)
        if (c_.x[k] >= cuts[s] - 1e-9 && c_.x[k] <= cuts[s + 1] + 1e-9 &&
            (best < 0 || sign * values[k] > sign * values[best]))
          best = static_cast<int>(k);
      // A support's value is the spans' on both sides: labelled once.
      if (best < 0 || sign * values[best] < 0.5 * std::pow(10.0, -decimals) ||
          std::find(labelled.begin(), labelled.end(), best) != labelled.end())
        continue;
      labelled.push_back(best);
      const double y = p.y(values[best]), below = values[best] < 0 ? 14 : -5;
      drawing_.label(pictures::Label(px(c_.x[best]), y + below, pictures::pictureNumber(values[best], decimals),
                                     "valor", Anchor::middle, {}, 1, {{0, below > 0 ? 12 : -12}, {30, 0}, {-30, 0}}));
    }
}

void CurvesPainter::paint() {
  double low = 0, high = 0;
  for (double v : c_.curvature) low = std::min(low, v), high = std::max(high, v);
  const Panel bend(70, 175, low, high);
  low = high = 0;
  for (const std::vector<double>* v : {&c_.elastic, &c_.longTerm})
    for (double w : *v) low = std::min(low, w), high = std::max(high, w);
  const Panel sag(255, kServiceCurvesHeight - 40, low, high);
  drawing_.text(kLeft, 20, "ARMADO EN SERVICIO: CURVATURA Y FLECHAS", "titulo");
  axis(bend, "curvatura diferida 1/r (1/km), cuasipermanente con fisuraci\xF3n");
  curve(bend, c_.curvature, "curva-momento", true, 3);
  axis(sag, "flechas (mm): diferida (verde) y el\xE1stica de la caracter\xEDstica (a trazos)");
  curve(sag, c_.longTerm, "curva-flecha", true, 2);
  curve(sag, c_.elastic, "indeformada", false, 2);
  drawing_.text(kLeft, kServiceCurvesHeight - 12, common::formatText("x de %.2f a %.2f m", c_.x.front(), c_.x.back()),
                "texto-cota");
  drawing_.placeLabels();
}

}  // namespace

void drawServiceCurves(pictures::Canvas& canvas, const ServiceCurves& curves) {
  if (curves.x.size() < 2) return;
  CurvesPainter(canvas, curves).paint();
}

}  // namespace informe
