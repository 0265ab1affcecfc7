// The bar's true line: diagrams from its end forces and loads, the deflection
// from M/EI integrated exactly. Between the places where a load starts, ends or
// acts the moment is a cubic at most (point actions, uniform and triangular
// loads), so the constructor cuts the bar into pieces there and gives each the
// cubic of its moment (and the quadratic of its axial force) about its start,
// and on the flexible part the deflection and section rotation at its start.
// The work grows as k log k with the number k of loads, an evaluation as log k:
// a search for the piece, a Horner sum, and for the point actions near the
// abscissa a difference of running sums.
#include "calcest/elastic_curve.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace calcest {

using namespace common;

namespace {

// A cubic in t = x - x0 about a start x0, lowest power first.
using Cubic = std::array<double, 4>;

double valueAt(const Cubic& p, double t) { return p[0] + t * (p[1] + t * (p[2] + t * p[3])); }
double slopeAt(const Cubic& p, double t) { return p[1] + t * (2 * p[2] + t * 3 * p[3]); }

// The same cubic about x0 + h.
Cubic shifted(const Cubic& p, double h) { return {valueAt(p, h), slopeAt(p, h), p[2] + 3 * p[3] * h, p[3]}; }

void add(Cubic& sum, const Cubic& p, double weight = 1.0) {
  for (size_t k = 0; k < 4; ++k) sum[k] += weight * p[k];
}

bool isDistributed(int ltype) { return ltype == kUniform || ltype == kRising || ltype == kFalling; }
bool isPointAction(int ltype) { return ltype == kPointForce || ltype == kPointMoment; }

// What a distributed load adds to the moment per unit of its intensity inside
// its stretch [a, a + c) (diagramTermsAt's moment part), as a cubic about
// x0 >= a. Taken about a start inside the stretch its terms stay as small as
// the value, however short the stretch: a short triangle's 1/c never meets a
// long distance.
Cubic insidePart(const LocalLoad& load, double x0) {
  const double d = x0 - load.a, c = load.c;
  // A stretch too short for 1/c to be a number adds nothing a double holds.
  const double cubic = std::isfinite(1 / (6 * c)) ? 1 / (6 * c) : 0.0;
  switch (load.ltype) {
    case kUniform: return {d * d / 2, d, 0.5, 0.0};
    case kRising: return {d * d * d * cubic, d * d / (2 * c), d / (2 * c), cubic};
    default: return {d * d / 2 - d * d * d * cubic, d - d * d / (2 * c), 0.5 - d / (2 * c), -cubic};
  }
}

// Past its stretch a load's moment part is w (x - z): its slope and the
// abscissa where it vanishes. A point force's is (x - a) from its place.
struct LinearPart {
  double slope = 0, zero = 0;
};

LinearPart linearPart(const LocalLoad& load) {
  const double a = load.a, c = load.c;
  switch (load.ltype) {
    case kUniform: return {c, a + c / 2};
    case kRising: return {c / 2, a + 2 * c / 3};
    case kFalling: return {c / 2, a + c / 3};
    default: return {1.0, a};
  }
}

// The inside parts of the distributed loads summed piece by piece: each part
// goes to the few nodes of a segment tree whose pieces its stretch covers,
// about the node's start, and a piece's sum collects the nodes above it. No
// part is added and then taken away again, which would leave rounding of a
// short stretch's large terms behind for the rest of the bar.
class StretchSums {
 public:
  explicit StretchSums(const std::vector<double>& starts) : starts_(starts), nodes_(2 * starts.size() - 1) {}

  void clear() { std::fill(nodes_.begin(), nodes_.end(), Cubic{}); }

  // The part of `load` times `weight` on pieces [from, to).
  void add(size_t from, size_t to, const LocalLoad& load, double weight) {
    add(0, 0, starts_.size(), from, to, load, weight);
  }

  // Calls take(piece, sum) with each piece's sum about its start.
  template <class Take>
  void collect(Take&& take) const {
    collect(0, 0, starts_.size(), Cubic{}, take);
  }

 private:
  // Node `node` holds pieces [lo, hi); its left half follows it, its right
  // half comes after the left half's 2 (mid - lo) - 1 nodes.
  void add(size_t node, size_t lo, size_t hi, size_t from, size_t to, const LocalLoad& load, double weight) {
    if (from <= lo && hi <= to) {
      calcest::add(nodes_[node], insidePart(load, starts_[lo]), weight);
      return;
    }
    const size_t mid = lo + (hi - lo) / 2;
    if (from < mid) add(node + 1, lo, mid, from, to, load, weight);
    if (to > mid) add(node + 2 * (mid - lo), mid, hi, from, to, load, weight);
  }

  template <class Take>
  void collect(size_t node, size_t lo, size_t hi, Cubic sum, Take& take) const {
    calcest::add(sum, nodes_[node]);
    if (hi - lo == 1) {
      take(lo, sum);
      return;
    }
    const size_t mid = lo + (hi - lo) / 2;
    collect(node + 1, lo, mid, sum, take);
    collect(node + 2 * (mid - lo), mid, hi, shifted(sum, starts_[mid] - starts_[lo]), take);
  }

  const std::vector<double>& starts_;
  std::vector<Cubic> nodes_;
};

// Running sums of the point actions in the order of their abscissae: the
// transverse forces, their moments about the origin, the couples and the
// forces along the bar.
struct PointSums {
  double force = 0, forceArm = 0, couple = 0, axial = 0;
};

}  // namespace

struct ElasticCurve::Impl {
  struct Piece {
    Cubic moment{};                       // the diagram's M, end forces included
    std::array<double, 3> axial{};        // the diagram's N
    double deflection = 0, rotation = 0;  // at the start, on the flexible part
  };

  double L = 0;
  Vec6 ends{}, forces{};
  double sign = 1.0;  // the engine's diagram sign: -1 on a bar drawn right to left

  bool straight = true;   // no bending stiffness: the chord between the end deflections
  double ai = 0, aj = 0;  // rigid end zones
  double EI = 0, shearFlexibility = 0, thermal = 0;
  std::vector<double> starts;  // of the pieces, ascending from 0; the last ends at L
  std::vector<Piece> pieces;
  size_t firstFlexible = 0, endFlexible = 0;  // the pieces of [ai, L - aj]
  std::vector<double> pointAt;                // the point actions' abscissae, ascending
  std::vector<PointSums> pointSums;           // of the first k of them, k = 0..n

  double clamp(double x) const { return std::min(std::max(x, 0.0), L); }
  double pieceEnd(size_t j) const { return j + 1 < starts.size() ? starts[j + 1] : L; }
  // The piece that holds x (and a load acting at x), 0 <= x < L.
  size_t pieceAt(double x) const {
    const auto next = std::upper_bound(starts.begin(), starts.end(), x);
    return next == starts.begin() ? 0 : static_cast<size_t>(next - starts.begin()) - 1;
  }

  struct Span {
    size_t from = 0, to = 0;
  };

  DiagramTerms diagramAt(double x, bool rightSide) const;
  DiagramTerms atEnd(bool rightSide) const;
  void cut(const std::vector<LocalLoad>& loads);
  std::vector<Span> spansOf(const std::vector<LocalLoad>& loads) const;
  void addStretches(const std::vector<LocalLoad>& loads, const std::vector<Span>& spans);
  void addLinearParts(const std::vector<LocalLoad>& loads, const std::vector<Span>& spans);
  void addPointActions(const std::vector<LocalLoad>& loads);
  void build(const BarInput& bar);
  void integrateParticular(double& endDeflection, double& endRotation);
  void fitEnds(int type, double endDeflection, double endRotation);
};

// The diagrams at 0 <= x < L as the engine's stations have them: a point
// action within kSameAbscissa of x counts on the right side only. The piece
// holds the point actions left of its end; those that count otherwise at x are
// added or taken away as differences of the running sums.
DiagramTerms ElasticCurve::Impl::diagramAt(double x, bool rightSide) const {
  const size_t j = pieceAt(x);
  const Piece& piece = pieces[j];
  const double t = x - starts[j];
  DiagramTerms out{piece.axial[0] + t * (piece.axial[1] + t * piece.axial[2]), slopeAt(piece.moment, t),
                   valueAt(piece.moment, t)};
  const auto counts = [x, rightSide](double a) {
    const double d = x - a;
    const bool atX = d == 0.0 || std::fabs(d) < kSameAbscissa;
    return rightSide ? !(d < 0.0 && !atX) : !(d <= 0.0 || atX);
  };
  const auto first = pointAt.begin();
  const size_t held = static_cast<size_t>(std::lower_bound(first, pointAt.end(), pieceEnd(j)) - first);
  const size_t counted = static_cast<size_t>(std::partition_point(first, pointAt.end(), counts) - first);
  if (held != counted) {
    const double more = counted > held ? 1.0 : -1.0;
    const PointSums &high = pointSums[std::max(held, counted)], &low = pointSums[std::min(held, counted)];
    out.M0 += more * ((high.force - low.force) * x - (high.forceArm - low.forceArm) + (high.couple - low.couple));
    out.V0 += more * (high.force - low.force);
    out.N0 -= more * (high.axial - low.axial);
  }
  return out;
}

// The pieces: cut at 0, wherever a load starts, ends or acts inside the bar,
// and at the ends of the flexible part. Places closer than 1e-12 of the bar
// are one: a piece starts at the first of them and holds the loads of all.
void ElasticCurve::Impl::cut(const std::vector<LocalLoad>& loads) {
  std::vector<double> places;
  for (const LocalLoad& load : loads) {
    if (load.ltype == kTemperature) continue;
    places.push_back(load.a);
    if (isDistributed(load.ltype)) places.push_back(load.a + load.c);
  }
  std::sort(places.begin(), places.end());
  starts = {0.0};
  for (double x : places)
    if (x < L && x - starts.back() > 1e-12 * L) starts.push_back(x);
  for (double edge : {ai, L - aj}) {
    auto at = std::lower_bound(starts.begin(), starts.end(), edge);
    if (edge > 0.0 && edge < L && (at == starts.end() || *at != edge)) starts.insert(at, edge);
  }
  pieces.assign(starts.size(), Piece{});
}

// The pieces each load covers: a distributed load's stretch [from, to); the
// piece a point action acts from in `from`. `to` is past the last piece where
// a stretch reaches L; a load from L on has `from` past it too.
std::vector<ElasticCurve::Impl::Span> ElasticCurve::Impl::spansOf(const std::vector<LocalLoad>& loads) const {
  auto pieceOf = [this](double x) { return x >= L ? starts.size() : pieceAt(x); };
  std::vector<Span> spans(loads.size());
  for (size_t k = 0; k < loads.size(); ++k) {
    const LocalLoad& load = loads[k];
    if (load.ltype == kTemperature) continue;
    spans[k].from = pieceOf(load.a);
    spans[k].to = isDistributed(load.ltype) ? pieceOf(load.a + load.c) : spans[k].from;
  }
  return spans;
}

// Each piece's moment and axial force from what the distributed loads give
// inside their stretches, summed through the segment tree.
void ElasticCurve::Impl::addStretches(const std::vector<LocalLoad>& loads, const std::vector<Span>& spans) {
  StretchSums stretches(starts);
  for (const bool axial : {false, true}) {
    stretches.clear();
    for (size_t k = 0; k < loads.size(); ++k)
      if (isDistributed(loads[k].ltype) && loads[k].c > 0.0 && spans[k].from < spans[k].to)
        stretches.add(spans[k].from, spans[k].to, loads[k], axial ? loads[k].qn : loads[k].qt);
    // N is the axial intensity's part differentiated, with its sign turned.
    stretches.collect([this, axial](size_t j, const Cubic& sum) {
      if (axial) {
        for (size_t k = 0; k < 3; ++k) pieces[j].axial[k] -= static_cast<double>(k + 1) * sum[k + 1];
      } else {
        add(pieces[j].moment, sum);
      }
    });
  }
}

// ...and from the end forces and what follows a stretch or a point action
// (linear in x, and a couple's constant), through running sums.
void ElasticCurve::Impl::addLinearParts(const std::vector<LocalLoad>& loads, const std::vector<Span>& spans) {
  struct Linear {
    double slope = 0, arm = 0, couple = 0, axialSlope = 0;
  };
  std::vector<Linear> startingAt(starts.size());
  for (size_t k = 0; k < loads.size(); ++k) {
    const LocalLoad& load = loads[k];
    if (!isDistributed(load.ltype) && !isPointAction(load.ltype)) continue;
    if (spans[k].to >= starts.size()) continue;  // acts from L on
    Linear& part = startingAt[spans[k].to];
    if (load.ltype == kPointMoment) {
      part.couple += load.value;
      continue;
    }
    const LinearPart line = linearPart(load);
    part.slope += load.qt * line.slope;
    part.arm += load.qt * line.slope * line.zero;
    part.axialSlope += load.qn * line.slope;
  }
  Linear sum;
  for (size_t j = 0; j < pieces.size(); ++j) {
    sum.slope += startingAt[j].slope;
    sum.arm += startingAt[j].arm;
    sum.couple += startingAt[j].couple;
    sum.axialSlope += startingAt[j].axialSlope;
    const double x0 = starts[j];
    Piece& piece = pieces[j];
    piece.moment[0] += sum.slope * x0 - sum.arm + sum.couple - forces[3] + forces[2] * x0;
    piece.moment[1] += sum.slope + forces[2];
    piece.axial[0] += -sum.axialSlope - forces[1];
  }
}

// The point actions in the order of their abscissae, with running sums.
void ElasticCurve::Impl::addPointActions(const std::vector<LocalLoad>& loads) {
  std::vector<const LocalLoad*> points;
  for (const LocalLoad& load : loads)
    if (isPointAction(load.ltype)) points.push_back(&load);
  std::stable_sort(points.begin(), points.end(), [](const LocalLoad* p, const LocalLoad* q) { return p->a < q->a; });
  pointAt.clear();
  pointSums.assign(1, PointSums{});
  for (const LocalLoad* load : points) {
    PointSums next = pointSums.back();
    if (load->ltype == kPointMoment) {
      next.couple += load->value;
    } else {
      next.force += load->qt;
      next.forceArm += load->qt * load->a;
      next.axial += load->qn;
    }
    pointAt.push_back(load->a);
    pointSums.push_back(next);
  }
}

// The line of the flexible part with zero deflection and section rotation at its
// start; returns both at its end. The slope is the section's rotation plus the
// shear strain -V/(G.A) (a positive V pushes the part left of the section up).
void ElasticCurve::Impl::integrateParticular(double& endDeflection, double& endRotation) {
  double rotation = 0.0, deflection = 0.0;
  for (size_t j = firstFlexible; j < endFlexible; ++j) {
    Piece& piece = pieces[j];
    piece.deflection = deflection;
    piece.rotation = rotation;
    const double h = pieceEnd(j) - starts[j];
    const Cubic& m = piece.moment;
    const double bending = h * (m[0] + h * (m[1] / 2 + h * (m[2] / 3 + h * m[3] / 4)));
    const double bent = h * h * (m[0] / 2 + h * (m[1] / 6 + h * (m[2] / 12 + h * m[3] / 20)));
    deflection += rotation * h + bent / EI + thermal * h * h / 2 - shearFlexibility * (valueAt(m, h) - m[0]);
    rotation += bending / EI + thermal * h;
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
  for (size_t j = firstFlexible; j < endFlexible; ++j) {
    pieces[j].deflection += vA + thA * (starts[j] - ai);
    pieces[j].rotation += thA;
  }
}

void ElasticCurve::Impl::build(const BarInput& bar) {
  // The engine's own E.I and flexible length (a haunched bar's equivalent
  // properties are in the bar already): the line then leaves and meets the
  // ends with the rotations the engine found for them.
  const double length = (L - aj) - ai;
  EI = bar.E * bar.I;
  shearFlexibility = bar.shear != 0 && bar.G * bar.A > 0.0 ? 1.0 / (bar.G * bar.A) : 0.0;
  straight = stiffSlot(bar.type) < 0 || !(EI > 0.0) || !std::isfinite(EI) || !(length > 1e-12 * L);
  if (straight) return;
  firstFlexible = pieceAt(ai);
  endFlexible = L - aj < L ? pieceAt(L - aj) : starts.size();
  double endDeflection = 0.0, endRotation = 0.0;
  integrateParticular(endDeflection, endRotation);
  fitEnds(bar.type, endDeflection, endRotation);
  for (size_t j = firstFlexible; j < endFlexible; ++j)
    if (!std::isfinite(pieces[j].deflection) || !std::isfinite(pieces[j].rotation)) straight = true;
}

ElasticCurve::ElasticCurve(const BarInput& bar, const std::vector<BarLoad>& loads, bool selfWeight,
                           const Vec6& localEnds, const Vec6& endForces) {
  auto impl = std::make_shared<Impl>();
  impl->L = bar.L;
  impl->ends = localEnds;
  impl->forces = endForces;
  impl->sign = bar.orient == kInclinedLeft ? -1.0 : 1.0;
  impl->ai = bar.adlx * bar.L;
  impl->aj = bar.ablx * bar.L;
  std::vector<LocalLoad> local;
  local.reserve(loads.size() + 1);
  for (const BarLoad& load : loads) local.push_back(localLoad(bar, load));
  if (selfWeight) local.push_back(localSelfWeight(bar));
  // The curvature a temperature difference gives a free bar; its sign is the
  // one that the engine's fixed-end moments -T.E.I.alpha/h, +T.E.I.alpha/h
  // cancel, so a bar held at both ends stays straight.
  for (const LocalLoad& load : local)
    if (load.ltype == kTemperature && bar.h != 0.0) impl->thermal += load.value * bar.alpha / bar.h;
  impl->cut(local);
  {
    const std::vector<Impl::Span> spans = impl->spansOf(local);
    impl->addStretches(local, spans);
    impl->addLinearParts(local, spans);
  }
  impl->addPointActions(local);
  impl->build(bar);
  impl_ = impl;
}

// At node J, right side: the bar's end forces themselves, as the engine's last
// station has them (they hold the point actions at L). Left side: those
// actions taken away, the value just before the node.
DiagramTerms ElasticCurve::Impl::atEnd(bool rightSide) const {
  DiagramTerms out{forces[4], -forces[5], forces[6]};
  if (rightSide) return out;
  const auto first = std::upper_bound(pointAt.begin(), pointAt.end(), L - kSameAbscissa);
  const PointSums &all = pointSums.back(), &before = pointSums[static_cast<size_t>(first - pointAt.begin())];
  out.M0 -= (all.force - before.force) * L - (all.forceArm - before.forceArm) + (all.couple - before.couple);
  out.V0 -= all.force - before.force;
  out.N0 += all.axial - before.axial;
  return out;
}

double ElasticCurve::moment(double x, bool rightSide) const {
  const Impl& c = *impl_;
  x = c.clamp(x);
  return (x >= c.L ? c.atEnd(rightSide) : c.diagramAt(x, rightSide)).M0;
}

double ElasticCurve::shear(double x, bool rightSide) const {
  const Impl& c = *impl_;
  x = c.clamp(x);
  return c.sign * (x >= c.L ? c.atEnd(rightSide) : c.diagramAt(x, rightSide)).V0;
}

double ElasticCurve::axialForce(double x, bool rightSide) const {
  const Impl& c = *impl_;
  x = c.clamp(x);
  return c.sign * (x >= c.L ? c.atEnd(rightSide) : c.diagramAt(x, rightSide)).N0;
}

double ElasticCurve::deflection(double x) const {
  const Impl& c = *impl_;
  x = c.clamp(x);
  const double v1 = c.ends[2], v2 = c.ends[5];
  if (c.straight) return c.L > 0.0 ? v1 + (v2 - v1) * x / c.L : v1;
  if (x < c.ai) return v1 + c.ends[3] * x;
  if (x > c.L - c.aj) return v2 - c.ends[6] * (c.L - x);
  const size_t j = std::min(std::max(c.pieceAt(x), c.firstFlexible), c.endFlexible - 1);
  const Impl::Piece& piece = c.pieces[j];
  const Cubic& m = piece.moment;
  const double t = x - c.starts[j];
  const double bent = t * t * (m[0] / 2 + t * (m[1] / 6 + t * (m[2] / 12 + t * m[3] / 20)));
  return piece.deflection + piece.rotation * t + bent / c.EI + c.thermal * t * t / 2 -
         c.shearFlexibility * (valueAt(m, t) - m[0]);
}

double ElasticCurve::rotation(double x) const {
  const Impl& c = *impl_;
  x = c.clamp(x);
  if (c.straight) return c.L > 0.0 ? (c.ends[5] - c.ends[2]) / c.L : 0.0;
  if (x < c.ai) return c.ends[3];
  if (x > c.L - c.aj) return c.ends[6];
  const size_t j = std::min(std::max(c.pieceAt(x), c.firstFlexible), c.endFlexible - 1);
  const Impl::Piece& piece = c.pieces[j];
  const Cubic& m = piece.moment;
  const double t = x - c.starts[j];
  const double bending = t * (m[0] + t * (m[1] / 2 + t * (m[2] / 3 + t * m[3] / 4)));
  return piece.rotation + bending / c.EI + c.thermal * t - c.shearFlexibility * slopeAt(m, t);
}

double ElasticCurve::axialDisplacement(double x) const {
  const Impl& c = *impl_;
  x = c.clamp(x);
  return c.L > 0.0 ? c.ends[1] + (c.ends[4] - c.ends[1]) * x / c.L : c.ends[1];
}

double ElasticCurve::length() const { return impl_->L; }

std::vector<ElasticCurve::Piece> ElasticCurve::pieces() const {
  const Impl& c = *impl_;
  std::vector<Piece> out(c.starts.size());
  for (size_t j = 0; j < out.size(); ++j) {
    Piece& piece = out[j];
    piece.from = c.starts[j];
    piece.to = c.pieceEnd(j);
    piece.moment = c.pieces[j].moment;
    std::array<double, 6>& v = piece.deflection;
    if (c.straight) {
      const double slope = c.L > 0.0 ? (c.ends[5] - c.ends[2]) / c.L : 0.0;
      v = {c.ends[2] + slope * piece.from, slope};
    } else if (j < c.firstFlexible) {  // a rigid zone turns with its node
      v = {c.ends[2] + c.ends[3] * piece.from, c.ends[3]};
    } else if (j >= c.endFlexible) {
      v = {c.ends[5] - c.ends[6] * (c.L - piece.from), c.ends[6]};
    } else {
      // deflection(x) expanded in powers of t.
      const Cubic& m = piece.moment;
      const double s = c.shearFlexibility, EI = c.EI;
      v = {c.pieces[j].deflection,
           c.pieces[j].rotation - s * m[1],
           m[0] / (2 * EI) + c.thermal / 2 - s * m[2],
           m[1] / (6 * EI) - s * m[3],
           m[2] / (12 * EI),
           m[3] / (20 * EI)};
    }
  }
  return out;
}

const std::vector<double>& ElasticCurve::pointActionPlaces() const { return impl_->pointAt; }

}  // namespace calcest
