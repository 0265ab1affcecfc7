#include "bar_line.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <limits>

#include "analysis.h"

namespace informe {

namespace {
// Point forces and moments inside the bar, where the engine places them (a
// force on an inclined bar is given by its projection).
std::vector<double> jumpsOf(const Model& m, int i) {
  const BarInput& bar = m.bars[static_cast<size_t>(i)];
  std::vector<double> out;
  for (const LoadOnBar& entry : m.loads) {
    if (entry.bar != i || (entry.load.ltype != 1 && entry.load.ltype != 2)) continue;
    const double x = calcest::localLoad(bar, entry.load).a;
    // At a node the bar's end values hold the load already.
    if (x > kSameAbscissa && x < bar.L - kSameAbscissa) out.push_back(x);
  }
  std::sort(out.begin(), out.end());
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

BarLine::BarLine(const ReportData& data, int bar)
    : curve_(barCurve(data.model, data.solution, bar)),
      stations_(std::begin(data.model.bars[static_cast<size_t>(bar)].xs),
                std::end(data.model.bars[static_cast<size_t>(bar)].xs)),
      jumps_(jumpsOf(data.model, bar)) {}

bool BarLine::jumpsAt(double x) const {
  return std::any_of(jumps_.begin(), jumps_.end(), [x](double j) { return std::fabs(j - x) <= kSameAbscissa; });
}

std::vector<double> BarLine::samplePoints() const {
  std::vector<double> out = stations_;
  for (double x : jumps_) addApart(out, x);
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
    if ((slope < 0) == (slopeA < 0)) a = middle;
    else b = middle;
  }
  return (a + b) / 2;
}

}  // namespace informe
