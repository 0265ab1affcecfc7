#include "pictures/bar_line.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <limits>

namespace pictures {

using namespace common;

namespace {
// A bar draws each of its point loads' jumps while it has at most this many;
// beyond, its diagrams are drawn through this many points evenly spread.
constexpr size_t kMostJumpsDrawn = 20;
constexpr int kSpreadPoints = 200;

// Point forces and moments inside the bar, where the engine places them (a
// force on an inclined bar is given by its projection), each place once.
std::vector<double> jumpsOf(const calcest::ElasticCurve& curve) {
  std::vector<double> out;
  for (double x : curve.pointActionPlaces())
    // At a node the load acts at the node: the bar's end values show it.
    if (x > kSameAbscissa && x < curve.length() - kSameAbscissa && (out.empty() || x - out.back() > kSameAbscissa))
      out.push_back(x);
  return out;
}

// Adds x to the ascending `points` unless one of them is the same abscissa:
// the first given (a station, a load) keeps its place.
void addApart(std::vector<double>& points, double x) {
  auto next = std::lower_bound(points.begin(), points.end(), x);
  if (next != points.end() && *next - x <= kSameAbscissa) return;
  if (next != points.begin() && x - *(next - 1) <= kSameAbscissa) return;
  points.insert(next, x);
}
}  // namespace

BarLine::BarLine(const calcest::ElasticCurve& curve, const BarInput& bar)
    : curve_(curve), stations_(std::begin(bar.xs), std::end(bar.xs)), jumps_(jumpsOf(curve_)) {}

bool BarLine::actsAtEnd(bool atJ) const {
  const std::vector<double>& places = curve_.pointActionPlaces();
  if (places.empty()) return false;
  return atJ ? places.back() > length() - kSameAbscissa : places.front() < kSameAbscissa;
}

bool BarLine::jumpsAt(double x) const {
  const auto next = std::lower_bound(jumps_.begin(), jumps_.end(), x - kSameAbscissa);
  return next != jumps_.end() && *next <= x + kSameAbscissa;
}

std::vector<double> BarLine::samplePoints() const {
  std::vector<double> out = stations_;
  if (jumps_.size() > kMostJumpsDrawn) {
    for (int k = 1; k <= kSpreadPoints; ++k) addApart(out, length() * k / (kSpreadPoints + 1));
  } else {
    for (double x : jumps_) addApart(out, x);
  }
  return out;
}

// Where a curve of the bar is largest and smallest, found on the curve itself
// (between stations, under loads, at their edges), inside the bar.
std::vector<double> BarLine::truePeaks(const calcest::PiecewiseCurve& curve) const {
  std::vector<double> out;
  for (bool largest : {true, false}) {
    const double x = calcest::trueExtreme(curve, 0.0, length(), largest).x;
    if (x > kSameAbscissa && x < length() - kSameAbscissa) out.push_back(x);
  }
  return out;
}

std::vector<BarLine::DiagramPoint> BarLine::diagramPoints(bool moment) const {
  std::vector<DiagramPoint> out;
  const std::vector<double> peaks = moment ? truePeaks(calcest::momentCurve(curve_)) : std::vector<double>{};
  if (jumps_.size() <= kMostJumpsDrawn) {
    std::vector<double> points = samplePoints();
    for (double x : peaks) addApart(points, x);
    for (double x : points) out.push_back({x, jumpsAt(x)});
    return out;
  }
  double high = -std::numeric_limits<double>::infinity(), low = -high, highAt = 0, lowAt = 0;
  for (double x : jumps_)
    for (bool right : {false, true}) {
      const double value = moment ? curve_.moment(x, right) : curve_.shear(x, right);
      if (value > high) high = value, highAt = x;
      if (value < low) low = value, lowAt = x;
    }
  std::vector<double> points = stations_;
  addApart(points, highAt);
  addApart(points, lowAt);
  for (double x : peaks) addApart(points, x);
  for (int k = 1; k <= kSpreadPoints; ++k) addApart(points, length() * k / (kSpreadPoints + 1));
  for (double x : points)
    out.push_back({x, std::fabs(x - highAt) <= kSameAbscissa || std::fabs(x - lowAt) <= kSameAbscissa});
  return out;
}

std::vector<double> BarLine::shapePoints(int extra) const {
  std::vector<double> out = samplePoints();
  for (int k = 1; k <= extra; ++k) addApart(out, length() * k / (extra + 1));
  std::vector<double> turns;
  for (size_t k = 0; k + 1 < out.size(); ++k) {
    const double x = turningPoint(out[k], out[k + 1]);
    if (!std::isnan(x)) turns.push_back(x);
  }
  for (double x : turns) addApart(out, x);
  for (double x : truePeaks(calcest::deflectionCurve(curve_))) addApart(out, x);
  return out;
}

// Where the slope changes sign between `from` and `to` (NaN if it does not),
// by halving: the deflection's extreme there. The slope at `to` is taken just
// left of it, where a point load with shear strain may turn it at once.
double BarLine::turningPoint(double from, double to) const {
  double a = from, b = to - 1e-9 * (to - from);
  const double slopeA = curve_.rotation(a), slopeB = curve_.rotation(b);
  if (!(slopeA * slopeB < 0)) return std::numeric_limits<double>::quiet_NaN();
  while (b - a > 1e-12 * length()) {
    const double middle = (a + b) / 2, slope = curve_.rotation(middle);
    if (middle <= a || middle >= b) break;
    if ((slope < 0) == (slopeA < 0))
      a = middle;
    else
      b = middle;
  }
  return (a + b) / 2;
}

}  // namespace pictures
