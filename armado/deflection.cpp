#include "armado/deflection.h"

#include <algorithm>
#include <cmath>

#include "armado/serviceability.h"

namespace armado {

namespace {

constexpr double kTiny = 1e-6;     // mm
constexpr int kCrackSamples = 16;  // where a piece is looked at for the cracking moment
constexpr int kStepsPerPiece = 2;  // Simpson's steps of a piece

// The moment at x within a span, by the parabola through three of its
// stations (exact under uniform loads): the pair of intervals it lies in,
// counted from the span's first, or the other three about it where a point
// load lies inside those; in an interval with a point load inside, each side
// of it from the three stations on its side. `kinks` are the point loads.
class MomentLine {
 public:
  MomentLine(const std::vector<Station>& st, int first, int last, double Station::*moment,
             const std::vector<double>& kinks)
      : st_(st), first_(first), last_(last), moment_(moment) {
    for (double k : kinks)
      if (k > st[first].x + kTiny && k < st[last].x - kTiny) kinks_.push_back(k);
  }
  double at(double x, int interval) const {
    const int i = interval;
    const double kink = kinkWithin(st_[i].x, st_[i + 1].x);
    if (!std::isnan(kink)) {
      const int base = x <= kink ? i - 2 : i + 1;
      if (fits(base)) return parabola(x, base);
    }
    const int pair = i - (i - first_) % 2, other = pair == i ? i - 1 : i;
    for (int base : {pair, other})
      if (fits(base)) return parabola(x, base);
    const double t = (x - st_[i].x) / (st_[i + 1].x - st_[i].x);
    return value(i) + t * (value(i + 1) - value(i));
  }
  // A point load strictly between a and b, or NaN.
  double kinkWithin(double a, double b) const {
    for (double k : kinks_)
      if (k > a + kTiny && k < b - kTiny) return k;
    return NAN;
  }

 private:
  double value(int i) const { return st_[i].*moment_; }
  bool fits(int base) const {
    return base >= first_ && base + 2 <= last_ && std::isnan(kinkWithin(st_[base].x, st_[base + 2].x));
  }
  double parabola(double x, int base) const {
    double sum = 0;
    for (int k = 0; k < 3; ++k) {
      double weight = 1;
      for (int j = 0; j < 3; ++j)
        if (j != k) weight *= (x - st_[base + j].x) / (st_[base + k].x - st_[base + j].x);
      sum += weight * value(base + k);
    }
    return sum;
  }
  const std::vector<Station>& st_;
  int first_, last_;
  double Station::*moment_;
  std::vector<double> kinks_;
};

// A stretch of a span with the same bars and the same state (cracked or not).
struct Piece {
  double a = 0, b = 0;
  int interval = 0;                  // of the stations it lies in
  std::vector<SteelLayer> sag, hog;  // the bars below the top, and above the bottom
  double McrBottom = 0, McrTop = 0;  // short-term uncracked section
  std::vector<bool> cracked;         // under each of the moment lines it was cut for
};

// The piece's stiffness and shrinkage curvature at a state (sagging positive).
struct Stiffness {
  double EIu = 0, shrinkU = 0, EIs = 0, shrinkS = 0, EIh = 0, shrinkH = 0;
};

Stiffness stiffnessOf(const Design& d, const Piece& p, const LongTermState& s) {
  const double alpha = d.materials.Es / s.EcEff;
  const TransformedSection u = uncrackedSection(d.b, d.h, p.sag, alpha);
  const TransformedSection cs = crackedSection(d.b, p.sag, alpha), ch = crackedSection(d.b, p.hog, alpha);
  return {s.EcEff * u.inertia,  shrinkageCurvature(s.epsCs, alpha, u),
          s.EcEff * cs.inertia, shrinkageCurvature(s.epsCs, alpha, cs),
          s.EcEff * ch.inertia, -shrinkageCurvature(s.epsCs, alpha, ch)};
}

// (7.18) for the curvature: zeta between the fully cracked section of the
// moment's sign and the uncracked one.
double curvatureOf(const Piece& p, size_t line, const Stiffness& k, double M, const LongTermState& s) {
  const double uncracked = M / k.EIu + k.shrinkU;
  if (!p.cracked[line] && !s.alwaysCracked) return uncracked;
  const bool sagging = M >= 0;
  const double full = sagging ? M / k.EIs + k.shrinkS : M / k.EIh + k.shrinkH;
  const double Mcr = sagging ? p.McrBottom : p.McrTop;
  const double zeta = s.alwaysCracked ? 1.0 : std::max(0.0, 1 - s.beta * (Mcr / M) * (Mcr / M));
  return zeta * full + (1 - zeta) * uncracked;
}

bool crackedAt(const Piece& p, double M) { return M > p.McrBottom || -M > p.McrTop; }

// Where the bars change: the ends of the groups that end inside the beam.
std::vector<double> barEnds(const Design& d) {
  std::vector<double> ends;
  for (const BarGroup& g : d.bars) {
    if (!g.fromBeamStart) ends.push_back(g.start);
    if (!g.toBeamEnd) ends.push_back(g.end);
  }
  std::sort(ends.begin(), ends.end());
  return ends;
}

// The points inside [a, b] where the moment passes the piece's cracking
// moment, by bisection between samples.
std::vector<double> crackPoints(const Piece& p, const MomentLine& M, double a, double b) {
  std::vector<double> points;
  double before = a;
  for (int k = 1; k <= kCrackSamples; ++k) {
    const double x = a + (b - a) * k / kCrackSamples;
    const bool state = crackedAt(p, M.at(before, p.interval));
    if (crackedAt(p, M.at(x, p.interval)) != state) {
      double low = before, high = x;
      for (int n = 0; n < 60; ++n) {
        const double mid = (low + high) / 2;
        (crackedAt(p, M.at(mid, p.interval)) == state ? low : high) = mid;
      }
      points.push_back((low + high) / 2);
    }
    before = x;
  }
  return points;
}

// The pieces of stations [first, last]: cut at every station, every bar's
// end, every point load and every point where one of the moment lines
// passes the cracking moment.
std::vector<Piece> piecesOf(const Design& d, const BeamDemand& demand, int first, int last,
                            const std::vector<MomentLine>& lines) {
  const std::vector<Station>& st = demand.stations;
  const std::vector<double> ends = barEnds(d);
  const double shortAlpha = d.materials.Es / d.materials.Ecm;
  std::vector<Piece> pieces;
  for (int i = first; i < last; ++i) {
    std::vector<double> cuts = {st[i].x};
    for (double e : ends)
      if (e > st[i].x + kTiny && e < st[i + 1].x - kTiny) cuts.push_back(e);
    const double kink = lines.front().kinkWithin(st[i].x, st[i + 1].x);
    if (!std::isnan(kink)) cuts.push_back(kink);
    std::sort(cuts.begin(), cuts.end());
    cuts.push_back(st[i + 1].x);
    for (size_t c = 0; c + 1 < cuts.size(); ++c) {
      Piece p;
      p.interval = i;
      const double mid = (cuts[c] + cuts[c + 1]) / 2;
      p.sag = sectionLayers(d.bars, d.h, kBottom, mid);
      p.hog = sectionLayers(d.bars, d.h, kTop, mid);
      p.McrBottom = crackingMoment(uncrackedSection(d.b, d.h, p.sag, shortAlpha), d.h, d.materials);
      p.McrTop = crackingMoment(uncrackedSection(d.b, d.h, p.hog, shortAlpha), d.h, d.materials);
      std::vector<double> marks = {cuts[c], cuts[c + 1]};
      for (const MomentLine& M : lines)
        for (double x : crackPoints(p, M, cuts[c], cuts[c + 1])) marks.push_back(x);
      std::sort(marks.begin(), marks.end());
      for (size_t k = 0; k + 1 < marks.size(); ++k) {
        if (marks[k + 1] - marks[k] <= kTiny) continue;
        p.a = marks[k];
        p.b = marks[k + 1];
        p.cracked.clear();
        for (const MomentLine& M : lines) p.cracked.push_back(crackedAt(p, M.at((p.a + p.b) / 2, i)));
        pieces.push_back(p);
      }
    }
  }
  return pieces;
}

// w'' = curvature along the pieces, travelled from `from` (x) with w = 0
// and slope `slope` (dw/dx), forwards or backwards; Simpson's rule on the
// curvature for the slope and on the slope for w: exact where the curvature
// is a parabola. The points are the pieces' ends and steps.
struct Travel {
  std::vector<double> x, w, curvature;
  double startSlope = 0, slope = 0;  // dw/dx at the start and at the end of the travel
};

Travel travel(const Design& d, const std::vector<Piece>& pieces, const MomentLine& M, size_t line,
              const LongTermState& s, double slope, bool forwards) {
  Travel t;
  t.startSlope = slope;
  const double sign = forwards ? 1 : -1;
  double w = 0, theta = slope * sign;  // theta: dw/du, u the distance travelled
  const size_t n = pieces.size();
  for (size_t j = 0; j < n; ++j) {
    const Piece& p = pieces[forwards ? j : n - 1 - j];
    const Stiffness k = stiffnessOf(d, p, s);
    const double start = forwards ? p.a : p.b, step = (p.b - p.a) / kStepsPerPiece;
    auto curvature = [&](double x) { return curvatureOf(p, line, k, M.at(x, p.interval), s); };
    if (t.x.empty()) {
      t.x.push_back(start);
      t.w.push_back(0);
      t.curvature.push_back(curvature(start));
    }
    for (int q = 0; q < kStepsPerPiece; ++q) {
      const double x0 = start + sign * step * q, x1 = x0 + sign * step / 2, x2 = x0 + sign * step;
      const double k0 = curvature(x0), k1 = curvature(x1), k2 = curvature(x2);
      const double thetaMid = theta + step / 2 * (5 * k0 + 8 * k1 - k2) / 12;
      const double thetaEnd = theta + step * (k0 + 4 * k1 + k2) / 6;
      w += step * (theta + 4 * thetaMid + thetaEnd) / 6;
      theta = thetaEnd;
      t.x.push_back(x2);
      t.w.push_back(w);
      t.curvature.push_back(k2);
    }
  }
  t.slope = theta * sign;
  return t;
}

// The deflections of a span between its supports: w less the chord.
Travel betweenSupports(Travel t) {
  const double x0 = t.x.front(), length = t.x.back() - x0, drop = t.w.back();
  for (size_t k = 0; k < t.x.size(); ++k) t.w[k] -= drop * (t.x[k] - x0) / length;
  t.slope -= drop / length;
  t.startSlope -= drop / length;
  return t;
}

// The moments a state takes along a span: the quasi-permanent ones that
// bound the sag (the largest between supports, the smallest on an overhang
// and the span beside it), or the permanent load's alone.
double Station::*momentsOf(const DemandSpan& span, const LongTermState& s) {
  if (s.permanentOnly) return span.overhang ? &Station::MgMin : &Station::MgMax;
  return span.overhang ? &Station::MqpMin : &Station::MqpMax;
}

// Span `s` of the demand at each state, on the same points: between its
// supports, or an overhang from the slope its support takes in the span
// beside it (at the start of that span beside a left overhang, at its end
// beside a right one).
std::vector<Travel> spanTravels(const Design& d, const BeamDemand& demand, size_t s,
                                const std::vector<LongTermState>& states) {
  const DemandSpan& span = demand.spans[s];
  const std::vector<Station>& st = demand.stations;
  std::vector<MomentLine> lines;
  for (const LongTermState& state : states)
    lines.emplace_back(st, span.firstStation, span.lastStation, momentsOf(span, state), demand.pointLoads);
  const std::vector<Piece> pieces = piecesOf(d, demand, span.firstStation, span.lastStation, lines);
  std::vector<Travel> travels;
  for (size_t k = 0; k < states.size(); ++k) {
    if (!span.overhang) {
      travels.push_back(betweenSupports(travel(d, pieces, lines[k], k, states[k], 0, true)));
      continue;
    }
    const bool left = s == 0;
    const DemandSpan& next = demand.spans[left ? 1 : s - 1];
    const std::vector<MomentLine> beside = {
        MomentLine(st, next.firstStation, next.lastStation, momentsOf(span, states[k]), demand.pointLoads)};
    const Travel turn = betweenSupports(
        travel(d, piecesOf(d, demand, next.firstStation, next.lastStation, beside), beside[0], 0, states[k], 0, true));
    travels.push_back(travel(d, pieces, lines[k], k, states[k], left ? turn.startSlope : turn.slope, !left));
  }
  return travels;
}

}  // namespace

DeflectionLine deflectionLine(const Design& d, const BeamDemand& demand, const LongTermState& state,
                              const LongTermState* other) {
  DeflectionLine line;
  line.curvature.assign(demand.stations.size(), 0.0);
  line.deflection.assign(demand.stations.size(), 0.0);
  for (size_t s = 0; s < demand.spans.size(); ++s) {
    const DemandSpan& span = demand.spans[s];
    std::vector<LongTermState> states = {state};
    if (other) states.push_back(*other);
    std::vector<Travel> travels = spanTravels(d, demand, s, states);
    Travel& t = travels.front();
    if (other)
      for (size_t k = 0; k < t.w.size(); ++k) t.w[k] -= travels[1].w[k];
    DeflectionLine::Span result;
    for (size_t k = 0; k < t.x.size(); ++k)
      if (-t.w[k] > result.sag) result = {-t.w[k], t.x[k]};
    line.spans.push_back(result);
    // The stations' values: each is a point of the travel; a station shared
    // with the span on the left keeps that span's.
    for (int i = span.firstStation + (s > 0 ? 1 : 0); i <= span.lastStation; ++i) {
      const double x = demand.stations[i].x;
      size_t best = 0;
      for (size_t k = 0; k < t.x.size(); ++k)
        if (std::fabs(t.x[k] - x) < std::fabs(t.x[best] - x)) best = k;
      line.curvature[i] = t.curvature[best];
      line.deflection[i] = t.w[best];
    }
  }
  return line;
}

}  // namespace armado
