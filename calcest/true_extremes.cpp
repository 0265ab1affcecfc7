#include "calcest/true_extremes.h"

#include <algorithm>
#include <cmath>

namespace calcest {

namespace {

using Coefficients = std::array<double, 6>;

double evaluate(const Coefficients& c, double t) {
  double value = 0;
  for (size_t k = c.size(); k-- > 0;) value = value * t + c[k];
  return value;
}

Coefficients derivative(const Coefficients& c) {
  Coefficients d{};
  for (size_t k = 1; k < c.size(); ++k) d[k - 1] = static_cast<double>(k) * c[k];
  return d;
}

// The same polynomial in powers of (t - h): each coefficient is the k-th
// derivative at h over k!.
Coefficients shifted(Coefficients c, double h) {
  Coefficients out{};
  for (size_t k = 0; k < out.size(); ++k) {
    out[k] = evaluate(c, h);
    c = derivative(c);
    for (double& v : c) v /= static_cast<double>(k + 1);
  }
  return out;
}

// The root in [u, v] of a polynomial of opposite signs at u and v, halved down
// to the last bit.
double bisect(const Coefficients& c, double u, double v) {
  const bool negativeAtU = evaluate(c, u) < 0;
  for (;;) {
    const double middle = u + (v - u) / 2;
    if (middle <= u || middle >= v) return middle;
    const double value = evaluate(c, middle);
    if (value == 0) return middle;
    ((value < 0) == negativeAtU ? u : v) = middle;
  }
}

// The piece of `curve` that holds the stretch around x (the nearest one
// where the curve does not reach x).
const PolynomialPiece& pieceAround(const PiecewiseCurve& curve, double x) {
  auto next =
      std::upper_bound(curve.begin(), curve.end(), x, [](double v, const PolynomialPiece& p) { return v < p.from; });
  return next == curve.begin() ? curve.front() : *(next - 1);
}

struct Found {
  TrueExtreme best;
  bool any = false;
};

// E at t of a stretch that starts at x0, its terms' polynomials about x0.
void consider(const std::vector<SwitchingTerm>& terms, const std::vector<Coefficients>& at, double x0, double t,
              bool rightSide, bool largest, Found& found) {
  double sum = 0;
  std::vector<double> values(terms.size());
  for (size_t j = 0; j < terms.size(); ++j) {
    values[j] = evaluate(at[j], t);
    sum += (values[j] > 0 ? terms[j].whenPositive : terms[j].whenNegative) * values[j];
  }
  if (found.any && !(largest ? sum > found.best.value : sum < found.best.value)) return;
  found.best = {x0 + t, rightSide, sum, std::move(values)};
  found.any = true;
}

// The extremes over one stretch [x0, x0 + h] where every term is one polynomial.
void searchStretch(const std::vector<SwitchingTerm>& terms, double x0, double h, bool largest, Found& found) {
  std::vector<Coefficients> at;
  at.reserve(terms.size());
  for (const SwitchingTerm& term : terms) {
    const PolynomialPiece& piece = pieceAround(term.curve, x0 + h / 2);
    at.push_back(shifted(piece.c, x0 - piece.from));
  }
  // Where a term changes sign its weight changes: E is one polynomial between.
  std::vector<double> cuts{0.0, h};
  for (size_t j = 0; j < terms.size(); ++j)
    if (terms[j].whenPositive != terms[j].whenNegative)
      for (double t : polynomialRoots(at[j], 0.0, h)) cuts.push_back(t);
  std::sort(cuts.begin(), cuts.end());
  consider(terms, at, x0, 0.0, true, largest, found);
  for (size_t k = 0; k + 1 < cuts.size(); ++k) {
    const double u = cuts[k], v = cuts[k + 1];
    if (!(v > u)) continue;
    Coefficients sum{};
    for (size_t j = 0; j < terms.size(); ++j) {
      const double weight = evaluate(at[j], u + (v - u) / 2) > 0 ? terms[j].whenPositive : terms[j].whenNegative;
      for (size_t p = 0; p < sum.size(); ++p) sum[p] += weight * at[j][p];
    }
    for (double t : polynomialRoots(derivative(sum), u, v)) consider(terms, at, x0, t, false, largest, found);
    consider(terms, at, x0, v, false, largest, found);
  }
}

}  // namespace

double PolynomialPiece::at(double x) const { return evaluate(c, x - from); }

std::vector<double> polynomialRoots(const std::array<double, 6>& c, double a, double b) {
  size_t degree = c.size() - 1;
  while (degree > 0 && c[degree] == 0) --degree;
  if (degree == 0 || !(b >= a)) return {};
  if (degree == 1) {
    const double t = -c[0] / c[1];
    return t >= a && t <= b ? std::vector<double>{t} : std::vector<double>{};
  }
  // Between the derivative's roots the polynomial is monotone: one root at most each.
  std::vector<double> ends{a};
  for (double t : polynomialRoots(derivative(c), a, b))
    if (t > ends.back()) ends.push_back(t);
  if (b > ends.back()) ends.push_back(b);
  std::vector<double> roots;
  for (size_t k = 0; k < ends.size(); ++k) {
    const double u = ends[k], pu = evaluate(c, u);
    if (pu == 0) {
      if (roots.empty() || roots.back() < u) roots.push_back(u);
      continue;
    }
    if (k + 1 == ends.size()) break;
    const double pv = evaluate(c, ends[k + 1]);
    if ((pu < 0) != (pv < 0) && pv != 0) roots.push_back(bisect(c, u, ends[k + 1]));
  }
  return roots;
}

PiecewiseCurve momentCurve(const ElasticCurve& bar, double origin) {
  PiecewiseCurve out;
  for (const ElasticCurve::Piece& piece : bar.pieces()) {
    PolynomialPiece p{origin + piece.from, origin + piece.to, {}};
    std::copy(piece.moment.begin(), piece.moment.end(), p.c.begin());
    out.push_back(p);
  }
  return out;
}

PiecewiseCurve deflectionCurve(const ElasticCurve& bar, double origin, double scale) {
  PiecewiseCurve out;
  for (const ElasticCurve::Piece& piece : bar.pieces()) {
    PolynomialPiece p{origin + piece.from, origin + piece.to, piece.deflection};
    for (double& v : p.c) v *= scale;
    out.push_back(p);
  }
  return out;
}

namespace {
// The piece whose value counts at x on that side (the nearest one beyond the ends).
const PolynomialPiece& pieceOn(const PiecewiseCurve& curve, double x, bool rightSide) {
  auto holds = [&](const PolynomialPiece& p) { return rightSide ? x < p.to : x <= p.to; };
  auto piece = std::find_if(curve.begin(), curve.end(), holds);
  return piece == curve.end() ? curve.back() : *piece;
}
}  // namespace

double valueAt(const PiecewiseCurve& curve, double x, bool rightSide) {
  return curve.empty() ? 0.0 : pieceOn(curve, x, rightSide).at(x);
}

double slopeAt(const PiecewiseCurve& curve, double x, bool rightSide) {
  if (curve.empty()) return 0.0;
  const PolynomialPiece& piece = pieceOn(curve, x, rightSide);
  return evaluate(derivative(piece.c), x - piece.from);
}

PiecewiseCurve plusLine(PiecewiseCurve curve, double x0, double a, double b) {
  for (PolynomialPiece& p : curve) {
    p.c[0] += a + b * (p.from - x0);
    p.c[1] += b;
  }
  return curve;
}

TrueExtreme trueExtreme(const std::vector<SwitchingTerm>& terms, double from, double to, bool largest) {
  // The places where any curve changes form; places closer than rounding are one.
  std::vector<double> places{from, to};
  for (const SwitchingTerm& term : terms)
    for (const PolynomialPiece& p : term.curve)
      for (double x : {p.from, p.to})
        if (x > from && x < to) places.push_back(x);
  std::sort(places.begin(), places.end());
  const double apart = 1e-12 * std::max(1.0, std::fabs(to - from) + std::fabs(from));
  std::vector<double> cuts{places.front()};
  for (double x : places)
    if (x - cuts.back() > apart) cuts.push_back(x);
  if (cuts.size() > 1) cuts.back() = to;
  Found found;
  if (cuts.size() == 1) {
    searchStretch(terms, from, 0.0, largest, found);
    return found.best;
  }
  for (size_t k = 0; k + 1 < cuts.size(); ++k) searchStretch(terms, cuts[k], cuts[k + 1] - cuts[k], largest, found);
  return found.best;
}

TrueExtreme trueExtreme(const PiecewiseCurve& curve, double from, double to, bool largest) {
  return trueExtreme(std::vector<SwitchingTerm>{{curve, 1.0, 1.0}}, from, to, largest);
}

}  // namespace calcest
