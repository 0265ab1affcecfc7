#include "bar_line.h"

#include <algorithm>
#include <cmath>

namespace informe {

namespace {
constexpr int kLast = kStations - 1;

const FmcPoint& fmcPoint(const ReportData& data, int bar, int station) {
  return data.fmc.points[static_cast<size_t>(20 * (bar - 1) + station)];
}

double printScale(const ReportData& data) { return unitConstantsFor(data.model.header.unitCode).scale; }

// Where a point load of the loads file acts along its bar: the file gives
// projections for forces on inclined bars, as the engine reads them.
double loadAbscissa(const BarInput& bar, const BarLoad& load) {
  const bool inclined = bar.orient == kInclinedRight || bar.orient == kInclinedLeft;
  if (!inclined || load.ltype != 1) return load.a;
  return load.a / ((load.dir == 'y' || load.dir == 'Y') ? std::fabs(bar.cos) : std::fabs(bar.sin));
}

// The engine lists a bar drawn from right to left with the signs of its shear
// turned, so that its moment grows by −V.
double slopeSignOf(const BarInput& bar) { return bar.orient == kInclinedLeft ? -1.0 : 1.0; }

std::vector<Jump> jumpsOf(const ReportData& data, int i) {
  const BarInput& bar = data.model.bars[i];
  std::vector<Jump> out;
  for (const LoadOnBar& entry : data.model.loads) {
    const BarLoad& load = entry.load;
    if (entry.bar != i || (load.ltype != 1 && load.ltype != 2)) continue;
    const double x = loadAbscissa(bar, load);
    // At a node the bar end values of the results file hold the load already.
    if (x <= kSameAbscissa || x >= bar.L - kSameAbscissa) continue;
    Jump jump{x, 0, 0};
    if (load.ltype == 2) {
      jump.moment = load.q;
    } else {
      const bool horizontal = load.dir == 'x' || load.dir == 'X';
      const double transverse = horizontal ? -bar.sin * load.q : bar.cos * load.q;
      jump.shear = slopeSignOf(bar) * transverse;
    }
    out.push_back(jump);
  }
  std::stable_sort(out.begin(), out.end(), [](const Jump& a, const Jump& b) { return a.x < b.x; });
  return out;
}

double localTransverse(const BarInput& bar, const NodeShift& node) { return -bar.sin * node.ux + bar.cos * node.uy; }
double localAxial(const BarInput& bar, const NodeShift& node) { return bar.cos * node.ux + bar.sin * node.uy; }
}  // namespace

std::vector<NodeShift> nodeShifts(const ReportData& data) {
  const Model& m = data.model;
  const double scale = printScale(data);
  std::vector<NodeShift> shifts(m.nodes.size());
  std::vector<double> steepest(m.nodes.size(), 0.0);
  for (size_t n = 1; n < m.nodes.size(); ++n) shifts[n].uy = data.res.nodes[n].deflection.value / scale;
  // A bar end the diagram file gives (not a released transverse end, which
  // moves apart from its node) tells v = −sin·ux + cos·uy; the steepest bar
  // tells ux best.
  auto use = [&](const BarInput& bar, int node, const FmcPoint& p) {
    if (std::fabs(bar.sin) <= std::fabs(steepest[node])) return;
    steepest[node] = bar.sin;
    shifts[node].ux = (bar.cos * shifts[node].uy - p.deflection.value / scale) / bar.sin;
  };
  for (size_t i = 1; i < m.bars.size(); ++i) {
    const BarInput& bar = m.bars[i];
    if (bar.type != 8) use(bar, bar.nodeJ, fmcPoint(data, static_cast<int>(i), kLast));
    if (i == 1 && bar.type != 7) use(bar, bar.nodeI, fmcPoint(data, 1, 0));
  }
  return shifts;
}

BarLine::BarLine(const ReportData& data, int i, const std::vector<NodeShift>& shifts) {
  const BarInput& bar = data.model.bars[i];
  const ResBar& ends = data.res.bars[i];
  const bool reversed = bar.orient == kInclinedLeft;  // its results line starts at J
  const double scale = printScale(data);
  length_ = bar.L;
  slopeSign_ = slopeSignOf(bar);
  axialI_ = localAxial(bar, shifts[bar.nodeI]);
  axialJ_ = localAxial(bar, shifts[bar.nodeJ]);
  for (int k = 0; k <= kLast; ++k) {
    const FmcPoint& p = fmcPoint(data, i, k);
    stations_.push_back({bar.xs[k], p.M.value, p.V.value, p.deflection.value / scale});
  }
  // The first station of a bar after the first is the previous bar's last in
  // the diagram file: its own start values come from the results file, its
  // displacement from its node's (mirrored at a released transverse end, as
  // the engine draws it).
  Station& first = stations_.front();
  first.M = (reversed ? ends.Mright : ends.Mleft).value;
  first.V = (reversed ? ends.Vright : ends.Vleft).value;
  if (i > 1) first.v = (bar.type == 7 ? -1.0 : 1.0) * localTransverse(bar, shifts[bar.nodeI]);
  jumps_ = jumpsOf(data, i);
  // Between two stations the shear is taken straight apart from its jumps and
  // the moment as its integral, each fitted to both stations' values.
  for (int k = 0; k < kLast; ++k) {
    const double h = stations_[k + 1].x - stations_[k].x;
    double shearJumps = 0;
    for (const Jump& j : jumps_)
      if (j.x > stations_[k].x + kSameAbscissa && j.x < stations_[k + 1].x - kSameAbscissa) shearJumps += j.shear;
    const double startV = stations_[k].V + jumpsAt(k, stations_[k].x, true, false);
    shearSlope_.push_back((stations_[k + 1].V - startV - shearJumps) / h);
    momentDrift_.push_back(0.0);
    const double reached = momentIn(k, stations_[k + 1].x - kSameAbscissa / 2, false);
    momentDrift_.back() = (stations_[k + 1].M - reached) / h;
  }
}

double BarLine::jumpsAt(int k, double x, bool rightSide, bool moment) const {
  // Jumps of stretch k strictly left of x, and at x itself on its right side;
  // a jump on station k counts for the stretch's start.
  double sum = 0;
  for (const Jump& j : jumps_) {
    if (j.x < stations_[k].x - kSameAbscissa || j.x > stations_[k + 1].x - kSameAbscissa) continue;
    const bool at = std::fabs(j.x - x) <= kSameAbscissa;
    if ((at && rightSide) || (!at && j.x < x)) sum += moment ? j.moment : j.shear;
  }
  return sum;
}

int BarLine::stretchOf(double x) const {
  int k = 0;
  while (k < kLast - 1 && x >= stations_[k + 1].x - kSameAbscissa) ++k;
  return k;
}

double BarLine::shearIn(int k, double x, bool rightSide) const {
  return stations_[k].V + shearSlope_[k] * (x - stations_[k].x) + jumpsAt(k, x, rightSide, false);
}

double BarLine::momentIn(int k, double x, bool rightSide) const {
  const Station& s = stations_[k];
  const double d = x - s.x;
  const double startV = s.V + jumpsAt(k, s.x, true, false);
  double area = startV * d + shearSlope_[k] * d * d / 2;
  for (const Jump& j : jumps_)
    if (j.x > s.x + kSameAbscissa && j.x < x) area += j.shear * (x - j.x);
  return s.M + slopeSign_ * area + jumpsAt(k, x, rightSide, true) + momentDrift_[k] * d;
}

double BarLine::moment(double x, bool rightSide) const {
  if (std::fabs(x - length_) <= kSameAbscissa) return stations_[kLast].M;
  return momentIn(stretchOf(x), x, rightSide);
}

double BarLine::shear(double x, bool rightSide) const {
  if (std::fabs(x - length_) <= kSameAbscissa) return stations_[kLast].V;
  return shearIn(stretchOf(x), x, rightSide);
}

LocalDisplacement BarLine::displacement(double x) const {
  const int k = stretchOf(x);
  const Station &a = stations_[k], &b = stations_[k + 1];
  const double t = std::clamp((x - a.x) / (b.x - a.x), 0.0, 1.0);
  return {axialI_ + (axialJ_ - axialI_) * x / length_, a.v + (b.v - a.v) * t};
}

std::vector<double> BarLine::samplePoints() const {
  std::vector<double> out;
  for (const Station& s : stations_) out.push_back(s.x);
  for (const Jump& j : jumps_) out.push_back(j.x);
  std::sort(out.begin(), out.end());
  std::vector<double> distinct;
  for (double x : out)
    if (distinct.empty() || x - distinct.back() > kSameAbscissa) distinct.push_back(x);
  return distinct;
}

}  // namespace informe
