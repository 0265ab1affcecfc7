// The bar's true line: diagrams from its end forces and loads, the deflection
// from M/EI integrated exactly. Between load discontinuities the moment is a
// cubic at most (point actions, uniform and triangular loads), so each piece of
// the flexible part holds the deflection as a polynomial of degree five and the
// constructor does all the work; an evaluation is a search and a Horner sum.
#include "elastic_curve.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "phases.h"

namespace calcest {

namespace {

// A polynomial in s = (x - x0) / h on a piece [x0, x0 + h], lowest power first.
using Poly = std::array<double, 6>;

double valueAt(const Poly& p, double s) {
  double sum = 0.0;
  for (int k = 5; k >= 0; --k) sum = sum * s + p[k];
  return sum;
}

// Integral from the piece's start, in x: each power of s gains h / (k + 1).
Poly integral(const Poly& p, double h) {
  Poly out{};
  for (int k = 0; k < 5; ++k) out[k + 1] = p[k] * h / (k + 1);
  return out;
}

Poly derivative(const Poly& p, double h) {
  Poly out{};
  for (int k = 1; k < 6; ++k) out[k - 1] = k * p[k] / h;
  return out;
}

Poly combined(const Poly& p, double a, const Poly& q, double b) {
  Poly out{};
  for (int k = 0; k < 6; ++k) out[k] = a * p[k] + b * q[k];
  return out;
}

// Chebyshev points of [0, 1], (1 - cos((2i + 1) pi / 8)) / 2: inside the piece,
// away from the point actions at its ends, and well conditioned for a cubic.
constexpr double kSamples[4] = {0.03806023374435663, 0.3086582838174551, 0.6913417161825449, 0.9619397662556434};

// The cubic through values at kSamples (Newton's divided differences, expanded).
Poly cubicThrough(const std::array<double, 4>& values) {
  std::array<double, 4> c = values;
  for (int j = 1; j < 4; ++j)
    for (int i = 3; i >= j; --i) c[i] = (c[i] - c[i - 1]) / (kSamples[i] - kSamples[i - j]);
  Poly p{};
  p[0] = c[3];
  for (int k = 2; k >= 0; --k) {
    // p <- p * (s - s_k) + c_k
    for (int m = 5; m >= 1; --m) p[m] = p[m - 1] - kSamples[k] * p[m];
    p[0] = c[k] - kSamples[k] * p[0];
  }
  return p;
}

bool allFinite(const Poly& p) {
  return std::all_of(p.begin(), p.end(), [](double v) { return std::isfinite(v); });
}

}  // namespace

struct ElasticCurve::Impl {
  struct Piece {
    double x0 = 0, h = 0;
    Poly deflection{}, slope{};
  };

  double L = 0;
  Vec6 ends{}, forces{};
  double sign = 1.0;  // the engine's diagram sign: -1 on a bar drawn right to left
  std::vector<LocalLoad> loads;

  bool straight = true;       // no bending stiffness: the chord between the end deflections
  double ai = 0, aj = 0;      // rigid end zones
  std::vector<Piece> pieces;  // the flexible part [ai, L - aj], in order

  double clamp(double x) const { return std::min(std::max(x, 0.0), L); }

  // Local diagram values: M = -f3 + f2 x + M0, V = f2 + V0, N = -f1 + N0.
  DiagramTerms localValues(double x, bool rightSide, double sameAbscissa) const {
    DiagramTerms sum{-forces[1], forces[2], -forces[3] + forces[2] * x};
    for (const LocalLoad& load : loads) {
      const DiagramTerms t = diagramTermsAt(load, x, rightSide, sameAbscissa);
      sum.N0 += t.N0;
      sum.V0 += t.V0;
      sum.M0 += t.M0;
    }
    return sum;
  }

  const Piece& pieceAt(double x) const {
    auto next = std::upper_bound(pieces.begin(), pieces.end(), x,
                                 [](double value, const Piece& p) { return value < p.x0; });
    return next == pieces.begin() ? pieces.front() : *(next - 1);
  }

  void build(const BarInput& bar);
  std::vector<double> breakpoints(double from, double to) const;
  double freeCurvature(const BarInput& bar) const;
  void integrateParticular(const BarInput& bar, double& endDeflection, double& endRotation);
  void fitEnds(int type, double endDeflection, double endRotation);
};

// Where the moment changes its formula inside (from, to): the ends of every
// loaded stretch and every point action.
std::vector<double> ElasticCurve::Impl::breakpoints(double from, double to) const {
  std::vector<double> points{from, to};
  for (const LocalLoad& load : loads) {
    if (load.ltype == kTemperature) continue;
    const bool pointAction = load.ltype == kPointForce || load.ltype == kPointMoment;
    for (double p : {load.a, pointAction ? load.a : load.a + load.c})
      if (p > from && p < to) points.push_back(p);
  }
  std::sort(points.begin(), points.end());
  const double merge = 1e-12 * (to - from);
  std::vector<double> kept;
  for (double p : points)
    if (kept.empty() || p - kept.back() > merge) kept.push_back(p);
  kept.back() = to;
  return kept;
}

// The curvature a temperature difference gives a free bar; its sign is the one
// that the engine's fixed-end moments -T.E.I.alpha/h, +T.E.I.alpha/h cancel, so
// a bar held at both ends stays straight.
double ElasticCurve::Impl::freeCurvature(const BarInput& bar) const {
  if (bar.h == 0.0) return 0.0;
  double kappa = 0.0;
  for (const LocalLoad& load : loads)
    if (load.ltype == kTemperature) kappa += load.value * bar.alpha / bar.h;
  return kappa;
}

// The line of the flexible part with zero deflection and section rotation at its
// start; returns both at its end. The slope is the section's rotation plus the
// shear strain -V/(G.A) (a positive V pushes the part left of the section up).
void ElasticCurve::Impl::integrateParticular(const BarInput& bar, double& endDeflection, double& endRotation) {
  const double EI = bar.E * bar.I;
  const double shearFlexibility = bar.shear != 0 && bar.G * bar.A > 0.0 ? 1.0 / (bar.G * bar.A) : 0.0;
  const double thermal = freeCurvature(bar);
  const std::vector<double> points = breakpoints(ai, L - aj);
  double rotation = 0.0, deflection = 0.0;
  pieces.clear();
  for (size_t k = 0; k + 1 < points.size(); ++k) {
    Piece piece;
    piece.x0 = points[k];
    piece.h = points[k + 1] - points[k];
    std::array<double, 4> moments{};
    for (int i = 0; i < 4; ++i) moments[i] = localValues(piece.x0 + piece.h * kSamples[i], false, 0.0).M0;
    const Poly moment = cubicThrough(moments);
    Poly curvature = combined(moment, 1.0 / EI, Poly{}, 0.0);
    curvature[0] += thermal;
    Poly sectionRotation = integral(curvature, piece.h);
    sectionRotation[0] += rotation;
    piece.slope = combined(sectionRotation, 1.0, derivative(moment, piece.h), -shearFlexibility);
    piece.deflection = integral(piece.slope, piece.h);
    piece.deflection[0] += deflection;
    rotation = valueAt(sectionRotation, 1.0);
    deflection = valueAt(piece.deflection, 1.0);
    pieces.push_back(piece);
  }
  endDeflection = deflection;
  endRotation = rotation;
}

// Adds the free line vA + thA (x - ai) that meets the end conditions: the
// deflections of both flexible ends (a rigid zone carries its node's deflection
// and rotation to them), or, at a transverse release, the section rotation there.
void ElasticCurve::Impl::fitEnds(int type, double endDeflection, double endRotation) {
  const double v1 = ends[2], th1 = ends[3], v2 = ends[5], th2 = ends[6];
  const double length = (L - aj) - ai;
  const double startDeflection = v1 + ai * th1, finalDeflection = v2 - aj * th2;
  double vA = startDeflection, thA = 0.0;
  if (type == 7) {
    thA = th1;
    vA = finalDeflection - endDeflection - thA * length;
  } else if (type == 8) {
    thA = th2 - endRotation;
  } else {
    thA = (finalDeflection - startDeflection - endDeflection) / length;
  }
  for (Piece& piece : pieces) {
    piece.deflection[0] += vA + thA * (piece.x0 - ai);
    piece.deflection[1] += thA * piece.h;
    piece.slope[0] += thA;
  }
}

void ElasticCurve::Impl::build(const BarInput& bar) {
  // The engine's own E.I and flexible length (a haunched bar's equivalent
  // properties are in the bar already): the line then leaves and meets the
  // ends with the rotations the engine found for them.
  ai = bar.adlx * L;
  aj = bar.ablx * L;
  const double length = (L - aj) - ai;
  const double EI = bar.E * bar.I;
  straight = stiffSlot(bar.type) < 0 || !(EI > 0.0) || !std::isfinite(EI) || !(length > 1e-12 * L);
  if (straight) return;
  double endDeflection = 0.0, endRotation = 0.0;
  integrateParticular(bar, endDeflection, endRotation);
  fitEnds(bar.type, endDeflection, endRotation);
  for (const Piece& piece : pieces)
    if (!allFinite(piece.deflection) || !allFinite(piece.slope)) straight = true;
  if (straight) pieces.clear();
}

ElasticCurve::ElasticCurve(const BarInput& bar, const std::vector<BarLoad>& loads, bool selfWeight,
                           const Vec6& localEnds, const Vec6& endForces) {
  auto impl = std::make_shared<Impl>();
  impl->L = bar.L;
  impl->ends = localEnds;
  impl->forces = endForces;
  impl->sign = bar.orient == kInclinedLeft ? -1.0 : 1.0;
  for (const BarLoad& load : loads) impl->loads.push_back(localLoad(bar, load));
  if (selfWeight) impl->loads.push_back(localSelfWeight(bar));
  impl->build(bar);
  impl_ = impl;
}

// At node J the bar's end forces themselves, as the engine's last station.
double ElasticCurve::moment(double x, bool rightSide) const {
  const Impl& c = *impl_;
  x = c.clamp(x);
  return x >= c.L ? c.forces[6] : c.localValues(x, rightSide, kSameAbscissa).M0;
}

double ElasticCurve::shear(double x, bool rightSide) const {
  const Impl& c = *impl_;
  x = c.clamp(x);
  return c.sign * (x >= c.L ? -c.forces[5] : c.localValues(x, rightSide, kSameAbscissa).V0);
}

double ElasticCurve::axialForce(double x, bool rightSide) const {
  const Impl& c = *impl_;
  x = c.clamp(x);
  return c.sign * (x >= c.L ? c.forces[4] : c.localValues(x, rightSide, kSameAbscissa).N0);
}

double ElasticCurve::deflection(double x) const {
  const Impl& c = *impl_;
  x = c.clamp(x);
  const double v1 = c.ends[2], v2 = c.ends[5];
  if (c.straight) return c.L > 0.0 ? v1 + (v2 - v1) * x / c.L : v1;
  if (x < c.ai) return v1 + c.ends[3] * x;
  if (x > c.L - c.aj) return v2 - c.ends[6] * (c.L - x);
  const Impl::Piece& piece = c.pieceAt(x);
  return valueAt(piece.deflection, (x - piece.x0) / piece.h);
}

double ElasticCurve::rotation(double x) const {
  const Impl& c = *impl_;
  x = c.clamp(x);
  if (c.straight) return c.L > 0.0 ? (c.ends[5] - c.ends[2]) / c.L : 0.0;
  if (x < c.ai) return c.ends[3];
  if (x > c.L - c.aj) return c.ends[6];
  const Impl::Piece& piece = c.pieceAt(x);
  return valueAt(piece.slope, (x - piece.x0) / piece.h);
}

double ElasticCurve::axialDisplacement(double x) const {
  const Impl& c = *impl_;
  x = c.clamp(x);
  return c.L > 0.0 ? c.ends[1] + (c.ends[4] - c.ends[1]) * x / c.L : c.ends[1];
}

double ElasticCurve::length() const { return impl_->L; }

}  // namespace calcest
