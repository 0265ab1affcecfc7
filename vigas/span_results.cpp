#include "vigas/span_results.h"

#include <algorithm>
#include <cmath>

#include "calcest/true_extremes.h"

namespace vigas {

using calcest::PiecewiseCurve;
using calcest::trueExtreme;

double deflectionFactor(int unitCode) { return unitCode >= 0 && unitCode <= 2 ? 1000.0 : 10.0; }

namespace {

// The derivative of each piece's polynomial.
PiecewiseCurve derivative(const PiecewiseCurve& curve) {
  PiecewiseCurve slope = curve;
  for (calcest::PolynomialPiece& piece : slope) {
    for (size_t k = 0; k + 1 < piece.c.size(); ++k) piece.c[k] = static_cast<double>(k + 1) * piece.c[k + 1];
    piece.c.back() = 0;
  }
  return slope;
}

}  // namespace

bool beamCurves(const CaseResults& results, BeamCurves& beam) {
  const projectfiles::Model& m = results.model;
  if (!results.error.empty() || m.bars.size() < 2 || m.supports.size() < 2 || results.curves.size() + 1 < m.bars.size())
    return false;
  const double start = m.nodes[static_cast<size_t>(m.bars[1].nodeI)].x;
  double reach = start;
  for (size_t k = 1; k < m.bars.size(); ++k) {
    const common::BarInput& bar = m.bars[k];
    const common::Node &i = m.nodes[static_cast<size_t>(bar.nodeI)], &j = m.nodes[static_cast<size_t>(bar.nodeJ)];
    if (i.y != j.y || !(j.x > i.x) || std::fabs(i.x - reach) > 1e-9 * std::max(1.0, std::fabs(reach))) return false;
    reach = j.x;
    const calcest::ElasticCurve& curve = results.curves[k - 1];
    for (const calcest::PolynomialPiece& p : calcest::momentCurve(curve, i.x - start)) beam.moment.push_back(p);
    for (const calcest::PolynomialPiece& p : calcest::deflectionCurve(curve, i.x - start)) beam.deflection.push_back(p);
  }
  beam.shear = derivative(beam.moment);
  beam.length = reach - start;
  for (size_t k = 1; k < m.supports.size(); ++k)
    beam.supports.push_back(m.nodes[static_cast<size_t>(m.supports[k].index)].x - start);
  std::sort(beam.supports.begin(), beam.supports.end());
  return true;
}

namespace {

// The extreme of larger size of a curve over [a, b].
calcest::TrueExtreme largest(const PiecewiseCurve& curve, double a, double b) {
  const calcest::TrueExtreme high = trueExtreme(curve, a, b, true), low = trueExtreme(curve, a, b, false);
  return std::fabs(low.value) > std::fabs(high.value) ? low : high;
}

SpanSummary summaryOf(const BeamCurves& beam, double a, double b, int support) {
  SpanSummary s;
  s.length = b - a;
  const calcest::TrueExtreme high = trueExtreme(beam.moment, a, b, true), low = trueExtreme(beam.moment, a, b, false);
  s.maxMoment = high.value;
  s.maxMomentAt = high.x - a;
  s.minMoment = low.value;
  s.minMomentAt = low.x - a;
  const calcest::TrueExtreme shear = largest(beam.shear, a, b);
  s.shear = shear.value;
  s.shearAt = shear.x - a;
  // From the chord between the supports, or the level of the overhang's one.
  const double ya = calcest::valueAt(beam.deflection, a, true), yb = calcest::valueAt(beam.deflection, b, false);
  const double level = support == 0 ? ya : yb;
  const PiecewiseCurve relative = support < 0 ? calcest::plusLine(beam.deflection, a, -ya, -(yb - ya) / (b - a))
                                              : calcest::plusLine(beam.deflection, a, -level, 0);
  const calcest::TrueExtreme sag = largest(relative, a, b);
  s.deflection = sag.value;
  s.deflectionAt = sag.x - a;
  s.ratio = std::fabs(sag.value) > 0 ? s.length / std::fabs(sag.value) : 0;
  return s;
}

}  // namespace

std::vector<SpanSummary> spanSummaries(const CaseResults& results) {
  BeamCurves beam;
  std::vector<SpanSummary> summaries;
  if (!beamCurves(results, beam)) return summaries;
  const double near = 1e-9 * std::max(1.0, beam.length);
  const std::vector<double>& s = beam.supports;
  // support: -1 a span, 0 an overhang whose support is at its left, 1 at its right.
  if (s.front() > near) {
    summaries.push_back(summaryOf(beam, 0, s.front(), 1));
    summaries.back().kind = SpanSummary::leftOverhang;
    summaries.back().name = "voladizo izquierdo";
  }
  for (size_t k = 1; k < s.size(); ++k) {
    if (!(s[k] > s[k - 1] + near)) continue;
    summaries.push_back(summaryOf(beam, s[k - 1], s[k], -1));
    summaries.back().name = "vano " + std::to_string(k);
  }
  if (s.back() < beam.length - near) {
    summaries.push_back(summaryOf(beam, s.back(), beam.length, 0));
    summaries.back().kind = SpanSummary::rightOverhang;
    summaries.back().name = "voladizo derecho";
  }
  return summaries;
}

}  // namespace vigas
