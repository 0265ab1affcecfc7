#include "alternancias/exact_envelope.h"

#include <algorithm>
#include <cmath>

#include "alternancias/force_table.h"

namespace alternancias {

using namespace common;

namespace {

void resize(CaseValues& v, size_t points, size_t supports, size_t bars, size_t nodes) {
  for (int q : {kMomentLeft, kMomentRight, kShearLeft, kShearRight, kDeflection}) v.of[q].assign(points, 0.0);
  for (int q : {kReaction, kSupportMoment}) v.of[q].assign(supports, 0.0);
  for (int q : {kBarMi, kBarMj, kBarQi, kBarQj}) v.of[q].assign(bars, 0.0);
  v.of[kNodeDeflection].assign(nodes, 0.0);
}

}  // namespace

double pointDeflection(const projectfiles::Model& model, const std::vector<calcest::ElasticCurve>& bars, int p) {
  const int bar = std::max(1, (p + kGridIntervals - 1) / kGridIntervals);
  return bars[bar - 1].deflection(model.bars[bar].xs[p - kGridIntervals * (bar - 1)]);
}

CaseValues analyseCase(const projectfiles::Model& model, const calcest::StaticCase& loadCase) {
  const calcest::StaticSolution solution = calcest::solveStatic(model, loadCase);
  const int nb = model.header.nb;
  std::vector<std::vector<calcest::BarLoad>> barLoads(static_cast<size_t>(nb) + 1);
  for (const calcest::LoadOnBar& load : loadCase.loads) barLoads[load.bar].push_back(load.load);
  std::vector<calcest::ElasticCurve> bars;
  bars.reserve(static_cast<size_t>(nb));
  for (int k = 1; k <= nb; ++k)
    bars.emplace_back(model.bars[k], barLoads[k], loadCase.selfWeight, solution.bars[k].localEnds,
                      solution.bars[k].endForces);
  const std::vector<ForceRow> rows = forceRows(model, bars);

  CaseValues v;
  resize(v, rows.size(), model.supports.size(), model.bars.size(), model.nodes.size());
  const double scale = unitConstantsFor(model.header.unitCode).scale;
  for (size_t p = 0; p < rows.size(); ++p) {
    v.of[kMomentLeft][p] = rows[p].Mfi;
    v.of[kMomentRight][p] = rows[p].Mfd;
    v.of[kShearLeft][p] = rows[p].Qi;
    v.of[kShearRight][p] = rows[p].Qd;
    v.of[kDeflection][p] = scale * pointDeflection(model, bars, static_cast<int>(p));
  }
  for (size_t k = 1; k < model.supports.size(); ++k) {
    v.of[kReaction][k] = solution.reactions[k].Ry;
    v.of[kSupportMoment][k] = solution.reactions[k].M;
  }
  // A bar's own values at its ends, just right of node I and just left of
  // node J: a point action written at a bar's end acts at the node, whichever
  // bar it is written on (the end forces of the engine hold it on that bar).
  for (int k = 1; k <= nb; ++k) {
    const calcest::ElasticCurve& bar = bars[k - 1];
    v.of[kBarMi][k] = bar.moment(0, true);
    v.of[kBarMj][k] = bar.moment(bar.length(), false);
    v.of[kBarQi][k] = bar.shear(0, true);
    v.of[kBarQj][k] = bar.shear(bar.length(), false);
  }
  for (size_t k = 1; k < model.nodes.size(); ++k) v.of[kNodeDeflection][k] = scale * solution.nodes[k].uy;
  for (int k = 1; k <= nb; ++k) {
    const double origin = model.nodes[model.bars[k].nodeI].x;
    v.moment.push_back(calcest::momentCurve(bars[k - 1], origin));
    v.deflection.push_back(calcest::deflectionCurve(bars[k - 1], origin, scale));
  }
  return v;
}

ExactEnvelope::ExactEnvelope(CaseValues permanent, std::vector<CaseValues> spans, const Factors& factors)
    : permanent_(std::move(permanent)), spans_(std::move(spans)), factors_(factors) {
  for (int q = 0; q < kQuantityCount; ++q) {
    double largest = 0;
    for (double v : permanent_.of[q]) largest = std::max(largest, std::fabs(v));
    for (const CaseValues& span : spans_)
      for (double v : span.of[q]) largest = std::max(largest, std::fabs(v));
    negligible_[q] = 1e-6 * largest;
  }
}

Governing ExactEnvelope::governing(int quantity, double g, const std::vector<double>& q, bool largest) const {
  const bool characteristic = isDeflection(quantity);
  const double unfavourable = characteristic ? 1.0 : factors_.gG, favourable = characteristic ? 1.0 : factors_.gGinf;
  const double variable = characteristic ? 1.0 : factors_.gQ;
  Governing result;
  const bool favourableGives = largest ? favourable * g > unfavourable * g : favourable * g < unfavourable * g;
  const double permanent = (favourableGives ? favourable : unfavourable) * g;
  // Where the permanent load has no effect (to rounding) the unfavourable
  // factor is named: it is the one a single factor would use.
  result.permanentFactor = favourableGives && std::fabs(g) > negligible_[quantity] ? favourable : unfavourable;
  double sum = 0;
  for (size_t j = 0; j < q.size(); ++j) {
    if (largest ? q[j] > 0 : q[j] < 0) {
      sum += q[j];
      if (std::fabs(q[j]) > negligible_[quantity]) result.spans.push_back(static_cast<int>(j));
    }
  }
  result.value = permanent + variable * sum;
  return result;
}

Governing ExactEnvelope::extreme(int quantity, size_t i, bool largest) const {
  std::vector<double> q(spans_.size());
  for (size_t j = 0; j < spans_.size(); ++j) q[j] = spans_[j].of[quantity][i];
  return governing(quantity, permanent_.of[quantity][i], q, largest);
}

namespace {

// One case's curve over a span: bar after bar; a relative deflection less the
// chord between the span's ends, or an overhang's less the tangent at its support.
calcest::PiecewiseCurve spanCurve(const CaseValues& c, const Span& span, ExactEnvelope::Curve what) {
  const bool moment = what == ExactEnvelope::Curve::moment;
  calcest::PiecewiseCurve out;
  for (int k = span.firstBar; k <= span.lastBar; ++k) {
    const calcest::PiecewiseCurve& bar = (moment ? c.moment : c.deflection)[static_cast<size_t>(k - 1)];
    out.insert(out.end(), bar.begin(), bar.end());
  }
  if (what != ExactEnvelope::Curve::relativeDeflection || out.empty()) return out;
  const double from = out.front().from, to = out.back().to;
  if (span.overhang) {
    // A left overhang (the beam's first bars) hangs from its right end.
    const bool heldAtRight = span.firstBar == 1;
    const double at = heldAtRight ? to : from;
    return calcest::plusLine(out, at, -calcest::valueAt(out, at, !heldAtRight),
                             -calcest::slopeAt(out, at, !heldAtRight));
  }
  const double start = calcest::valueAt(out, from, true), end = calcest::valueAt(out, to, false);
  return calcest::plusLine(out, from, -start, -(end - start) / (to - from));
}

}  // namespace

ExactEnvelope::Peak ExactEnvelope::peak(Curve what, const Span& span, bool largest) const {
  // The envelope as a switching sum: the permanent case with the factor that
  // gives more (or less), each span's case with its factor where it adds.
  const bool deflection = what != Curve::moment;
  const int quantity = deflection ? kDeflection : kMomentLeft;
  const double gG = deflection ? 1.0 : factors_.gG, gGinf = deflection ? 1.0 : factors_.gGinf;
  const double gQ = deflection ? 1.0 : factors_.gQ;
  auto curve = [&](const CaseValues& c) { return spanCurve(c, span, what); };
  std::vector<calcest::SwitchingTerm> terms{{curve(permanent_), largest ? gG : gGinf, largest ? gGinf : gG}};
  for (const CaseValues& loaded : spans_) terms.push_back({curve(loaded), largest ? gQ : 0.0, largest ? 0.0 : gQ});
  const double from = terms.front().curve.front().from, to = terms.front().curve.back().to;
  const calcest::TrueExtreme found = calcest::trueExtreme(terms, from, to, largest);
  const std::vector<double> q(found.terms.begin() + 1, found.terms.end());
  return {governing(quantity, found.terms.front(), q, largest), found.x, found.rightSide};
}

ExactEnvelope exactEnvelope(const projectfiles::Model& model, const std::vector<calcest::LoadOnBar>& variable,
                            const std::vector<Span>& spans, const Factors& factors) {
  calcest::StaticCase permanentCase;
  permanentCase.loads = model.loads;
  permanentCase.selfWeight = model.header.selfWeight == 1;
  CaseValues permanent = analyseCase(model, permanentCase);

  const std::vector<int> spanOfBar = spanOfBars(spans);
  std::vector<calcest::StaticCase> spanCases(spans.size());
  for (calcest::StaticCase& c : spanCases) c.nodalLoads = c.prescribed = false;
  for (const calcest::LoadOnBar& load : variable) spanCases[spanOfLoad(spans, spanOfBar, load)].loads.push_back(load);
  std::vector<CaseValues> spanValues;
  spanValues.reserve(spans.size());
  for (const calcest::StaticCase& c : spanCases) {
    if (!c.loads.empty()) {
      spanValues.push_back(analyseCase(model, c));
      continue;
    }
    // A span without variable load changes nothing anywhere.
    CaseValues none = permanent;
    for (std::vector<double>& values : none.of) std::fill(values.begin(), values.end(), 0.0);
    for (auto* curves : {&none.moment, &none.deflection})
      for (calcest::PiecewiseCurve& curve : *curves)
        for (calcest::PolynomialPiece& piece : curve) piece.c = {};
    spanValues.push_back(std::move(none));
  }
  return ExactEnvelope(std::move(permanent), std::move(spanValues), factors);
}

}  // namespace alternancias
