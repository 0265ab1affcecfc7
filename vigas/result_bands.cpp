#include "vigas/result_bands.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "common/format.h"
#include "vigas/span_results.h"

namespace vigas {

namespace {

// Samples of a piece of a curve: enough for a smooth line a few pixels apart.
constexpr int kSamplesPerPiece = 24;
// The least height of a band's curve, in pixels.
constexpr int kLeastCurve = 20;

// A value drawn upward (-1: shear, deflection) or downward (+1: moments on
// the side they stretch).
int sideOf(BandKind kind) { return kind == BandKind::Moment ? +1 : -1; }

std::string valueText(double v) { return common::formatText("%.2f", std::fabs(v) < 5e-3 ? 0.0 : v); }

bool overlap(const BandLabel& a, const BandLabel& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

class BandMaker {
 public:
  BandMaker(const BeamCurves& beam, int width, const TextMetrics& m) : beam_(beam), width_(width), m_(m) {
    margin_ = 4 * m.charWidth;
  }

  // The band's curve (in the deflection unit for the deflection) and its scale.
  ResultBand make(BandKind kind, const calcest::PiecewiseCurve& curve, double factor, int top, int height) {
    ResultBand band;
    band.kind = kind;
    band.top = top;
    band.height = height;
    curve_ = &curve;
    factor_ = factor;
    side_ = sideOf(kind);
    double up = 0, down = 0;
    for (const calcest::PolynomialPiece& piece : curve)
      for (int k = 0; k <= kSamplesPerPiece; ++k) {
        const double drawn = side_ * factor * piece.at(piece.from + (piece.to - piece.from) * k / kSamplesPerPiece);
        up = std::max(up, -drawn), down = std::max(down, drawn);
      }
    // A title line, then a line of labels each side of the curve, 2 pixels off it.
    const int room = m_.lineHeight + 2, areaTop = top + m_.lineHeight + room;
    const int area = std::max(1, height - m_.lineHeight - 2 * room);
    scale_ = up + down > 0 ? area / (up + down) : 0;
    axis_ = band.axisY = areaTop + static_cast<int>(std::lround(up * scale_));
    band.curve.push_back({pixelX(0), axis_});
    for (const calcest::PolynomialPiece& piece : curve)
      for (int k = 0; k <= kSamplesPerPiece; ++k) {
        const double x = piece.from + (piece.to - piece.from) * k / kSamplesPerPiece;
        band.curve.push_back({pixelX(x), pixelY(piece.at(x) * factor)});
      }
    band.curve.push_back({pixelX(beam_.length), axis_});
    for (double s : beam_.supports) band.supports.push_back(pixelX(s));
    return band;
  }

  int pixelX(double x) const {
    const double usable = std::max(1, width_ - 2 * margin_);
    return margin_ + static_cast<int>(std::lround(beam_.length > 0 ? x / beam_.length * usable : 0));
  }
  int pixelY(double value) const { return axis_ + static_cast<int>(std::lround(side_ * value * scale_)); }

  // `value` written beside the curve's point at x (`drawnValue` where it is
  // drawn): beyond it on the side the curve takes there, moved away from
  // the labels already written, kept inside the band.
  void label(ResultBand& band, double x, double value, double drawnValue) {
    const std::string text = valueText(value);
    if (std::strtod(text.c_str(), nullptr) == 0.0) return;
    const int px = pixelX(x), py = pixelY(drawnValue);
    for (const BandLabel& l : band.labels)
      if (l.text == text && std::abs((l.left + l.right) / 2 - px) <= m_.charWidth) return;  // a support's, once
    const int w = m_.charWidth * static_cast<int>(text.size()), h = m_.lineHeight;
    BandLabel b;
    b.text = text;
    b.left = std::clamp(px - w / 2, 0, std::max(0, width_ - w));
    b.right = b.left + w;
    const bool above = py < axis_ || (py == axis_ && side_ * value < 0);
    const int step = above ? -h : h;
    b.top = above ? py - 2 - h : py + 2;
    const int highest = band.top + m_.lineHeight, lowest = std::max(highest, band.top + band.height - h);
    for (int tries = 0; tries < 8; ++tries) {
      b.top = std::clamp(b.top, highest, lowest);
      b.bottom = b.top + h;
      const bool clear =
          std::none_of(band.labels.begin(), band.labels.end(), [&b](const BandLabel& l) { return overlap(l, b); });
      if (clear) break;
      b.top += step;
      if (b.top < highest || b.top > lowest) b.top = above ? py + 2 : py - 2 - h;  // the other side
    }
    band.labels.push_back(b);
  }

  double at(double x) const { return calcest::valueAt(*curve_, x, x <= 0) * factor_; }

 private:
  const BeamCurves& beam_;
  int width_;
  TextMetrics m_;
  int margin_ = 0, side_ = 1, axis_ = 0;
  double scale_ = 0, factor_ = 1;
  const calcest::PiecewiseCurve* curve_ = nullptr;
};

}  // namespace

std::vector<ResultBand> resultBands(const CaseResults& results, int width, int height, const TextMetrics& metrics) {
  std::vector<ResultBand> bands;
  const std::vector<SpanSummary> spans = spanSummaries(results);
  BeamCurves beam;
  if (spans.empty() || !beamCurves(results, beam)) return bands;
  const projectfiles::UnitLabels u = projectfiles::unitLabels(results.model.header.unitCode);
  const double factor = deflectionFactor(results.model.header.unitCode);
  // Too small a window: the bands keep a curve's room, the page scrolls.
  const TextMetrics m{std::max(1, metrics.charWidth), std::max(1, metrics.lineHeight)};
  BandMaker maker(beam, std::max(width, 16 * m.charWidth), m);
  const int h = std::max(height / 3, 3 * m.lineHeight + 4 + kLeastCurve);
  // Each span's place along the beam, as spanSummaries gives them in order.
  std::vector<double> starts{0};
  for (const SpanSummary& s : spans) starts.push_back(starts.back() + s.length);

  ResultBand moment = maker.make(BandKind::Moment, beam.moment, 1, 0, h);
  moment.title = "Momentos flectores (" + u.moment + ")";
  for (size_t k = 0; k < spans.size(); ++k) {
    const SpanSummary& s = spans[k];
    maker.label(moment, starts[k] + s.maxMomentAt, s.maxMoment, s.maxMoment);
    maker.label(moment, starts[k] + s.minMomentAt, s.minMoment, s.minMoment);
  }
  ResultBand shear = maker.make(BandKind::Shear, beam.shear, 1, h, h);
  shear.title = "Cortantes (" + u.force + ")";
  for (size_t k = 0; k < spans.size(); ++k)
    maker.label(shear, starts[k] + spans[k].shearAt, spans[k].shear, spans[k].shear);
  ResultBand deflection = maker.make(BandKind::Deflection, beam.deflection, factor, 2 * h, h);
  deflection.title = "Flechas (" + u.deflection + ")";
  for (size_t k = 0; k < spans.size(); ++k) {
    const SpanSummary& s = spans[k];
    const double x = starts[k] + s.deflectionAt;
    maker.label(deflection, x, s.deflection * factor, maker.at(x));
    // An overhang's tip, from its support's level, where its extreme is not.
    const bool left = s.kind == SpanSummary::leftOverhang, right = s.kind == SpanSummary::rightOverhang;
    if (!left && !right) continue;
    const double tip = left ? 0 : beam.length, support = left ? starts[k] + s.length : starts[k];
    maker.label(deflection, tip, maker.at(tip) - maker.at(support), maker.at(tip));
  }
  bands = {moment, shear, deflection};
  return bands;
}

}  // namespace vigas
