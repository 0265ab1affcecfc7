#pragma once
// The true extremes of a beam's curves: the largest and smallest value of a
// piecewise-polynomial curve (a bar's moment or deflection, a span's), and of
// a switching sum of such curves, the pattern envelope
//
//     E(x) = sum over terms j of  w_j(c_j(x)) * c_j(x),
//     w_j(v) = whenPositive_j if v > 0, whenNegative_j otherwise
//
// (the permanent case with its unfavourable and favourable factors, each
// span's variable case with its factor or none). A value shown as an extreme
// is found where it truly is, not at the nearest station: between the places
// where any curve changes form, and where a term changes sign, E is one
// polynomial, whose extremes lie at the ends of that stretch or where its
// derivative vanishes. Every root is isolated exactly (between consecutive
// roots of its derivative a polynomial is monotone) and bisected to full
// precision; nothing is sampled.
//
// Plain data in, plain data out: the curves are given as pieces, so any
// program (the pattern envelope, the report's pictures, the concrete design)
// can build them from its own analyses.
#include <array>
#include <vector>

#include "calcest/elastic_curve.h"

namespace calcest {

// On [from, to): sum of c[k] * (x - from)^k. A curve is its pieces in order,
// each starting where the one before ends; it may step from one to the next
// (a point load): just left of `to` the left piece's value, just right of it
// the next piece's.
struct PolynomialPiece {
  double from = 0, to = 0;
  std::array<double, 6> c{};
  double at(double x) const;
};
using PiecewiseCurve = std::vector<PolynomialPiece>;

// A bar's moment, or deflection times `scale`, along the beam: x of the bar's
// node I is `origin` (a horizontal bar drawn left to right).
PiecewiseCurve momentCurve(const ElasticCurve& bar, double origin = 0);
PiecewiseCurve deflectionCurve(const ElasticCurve& bar, double origin = 0, double scale = 1);

// The curve's value at x, just left or just right of a step there.
double valueAt(const PiecewiseCurve& curve, double x, bool rightSide);

// Its slope there (the left piece's or the right one's).
double slopeAt(const PiecewiseCurve& curve, double x, bool rightSide);

// The curve plus the straight line a + b (x - x0): a deflection measured from
// a chord or a tangent instead of from the axis.
PiecewiseCurve plusLine(PiecewiseCurve curve, double x0, double a, double b);

struct SwitchingTerm {
  PiecewiseCurve curve;
  double whenPositive = 1, whenNegative = 1;
};

// Where an extreme is and what it is: at x, on the right side of a step
// there or on its left; the value; and each term's curve there (its sign says
// which weight it took: the spans loaded, the permanent factor).
struct TrueExtreme {
  double x = 0;
  bool rightSide = false;
  double value = 0;
  std::vector<double> terms;
};

// The largest (or smallest) of E over [from, to], both sides of every step
// inside and the inner sides of the ends (from's right, to's left). Of equal
// values the leftmost. Terms' curves must cover [from, to].
TrueExtreme trueExtreme(const std::vector<SwitchingTerm>& terms, double from, double to, bool largest);

// The same for one curve (a term of weight 1 both ways).
TrueExtreme trueExtreme(const PiecewiseCurve& curve, double from, double to, bool largest);

// The real roots of the polynomial sum c[k] t^k (degree 5 at most) with
// t in [a, b], ascending; a polynomial that is zero throughout has none.
std::vector<double> polynomialRoots(const std::array<double, 6>& c, double a, double b);

}  // namespace calcest
