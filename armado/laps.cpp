#include "armado/laps.h"

#include <algorithm>
#include <cmath>

#include "armado/detailing.h"
#include "armado/layout.h"
#include "common/format.h"

namespace armado {

namespace {

constexpr double kTiny = 1e-6;

// The first layer's width taken at x on face f: its bars and the clear gaps.
double layerWidth(const Design& d, int f, double x) {
  double bars = 0, largest = 0;
  int n = 0;
  for (const BarGroup& g : d.bars) {
    if (g.face != f || !covers(g, x)) continue;
    const int first = g.count - g.inner;
    bars += first * g.diameter;
    n += first;
    if (first > 0) largest = std::max(largest, g.diameter);
  }
  return bars + std::max(0, n - 1) * minimumClearSpacing(largest, d.data.aggregate);
}

struct LapPlace {
  double end = 0, length = 0, stress = HUGE_VAL;
  bool found = false;
};

class Lapper {
 public:
  Lapper(const Design& d, const BarGroup& g, const std::vector<double>& stress)
      : d_(d), g_(g), stress_(stress), good_(goodBond(g.face == kTop, d.h)) {
    longest_ = lapLength(g.diameter, d.materials.fyd, good_, 1.0, d.materials);
  }
  // The lap that closes the stock bar starting at `start` (its straight
  // part; `leg` its bend there).
  LapPlace place(double start, double leg) const {
    LapPlace best;
    const double last = std::min(start + kStockLength - leg, g_.end - kLengthStep);
    for (double end = start + kStockLength / 2; end <= last + kTiny; end += kLengthStep) {
      const LapPlace p = at(end);
      if (p.found && (!best.found || p.stress <= best.stress + 1e-9)) best = p;
    }
    return best;
  }
  // The first station of the stretch a failed lap was looked for in.
  size_t stationAt(double x) const {
    const std::vector<Station>& st = d_.demand.stations;
    size_t i = 0;
    while (i + 1 < st.size() && st[i + 1].x <= x) ++i;
    return i;
  }

 private:
  // A lap ending at `end`: over the longest lap before it (and the stations
  // just outside), the bars' largest stress and share of the face, and
  // whether the lapped bars fit.
  LapPlace at(double end) const {
    LapPlace p;
    p.end = end;
    double stress = 0, share = 0;
    const std::vector<Station>& st = d_.demand.stations;
    const double width = widthInsideStirrups(d_.data, d_.b), lapped = (g_.count - g_.inner) * g_.diameter;
    for (size_t i = 0; i < st.size(); ++i) {
      const bool inside = st[i].x >= end - longest_ - kTiny && st[i].x <= end + kTiny;
      const bool beside = (i + 1 < st.size() && st[i + 1].x > end - longest_ && st[i].x < end - longest_) ||
                          (i > 0 && st[i - 1].x < end && st[i].x > end);
      if (!inside && !beside) continue;
      stress = std::max(stress, stress_[i]);
      share = std::max(share, g_.count * barArea(g_.diameter) / faceSteelAt(d_.bars, g_.face, st[i].x).area);
      if (inside && layerWidth(d_, g_.face, st[i].x) + lapped > width + kTiny) return p;
    }
    p.found = true;
    p.stress = stress;
    p.length = roundUpToStep(lapLength(g_.diameter, stress, good_, share, d_.materials), kLengthStep);
    return p;
  }

  const Design& d_;
  const BarGroup& g_;
  const std::vector<double>& stress_;
  bool good_;
  double longest_ = 0;
};

}  // namespace

bool lapLongBars(Design& d, const std::vector<double> stress[2], size_t& failed, std::string& why) {
  for (BarGroup& g : d.bars) {
    g.laps.clear();
    const Lapper lapper(d, g, stress[g.face]);
    double start = g.start, leg = g.legStart;
    while (g.end - start + leg + g.legEnd > kStockLength + kTiny) {
      const LapPlace p = lapper.place(start, leg);
      if (!p.found) {
        failed = lapper.stationAt(start + kStockLength / 2);
        why = common::formatText(
            "LAS BARRAS DE %.0f mm NO SE PUEDEN SOLAPAR: NO CABEN EN EL ANCHO JUNTO A LAS DEM\xC1S ENTRE x = %.2f Y "
            "%.2f",
            g.diameter, (start + kStockLength / 2) / 1000, (start + kStockLength - leg) / 1000);
        return false;
      }
      g.laps.push_back({p.end - p.length, p.end});
      start = p.end - p.length;
      leg = 0;
    }
  }
  return true;
}

}  // namespace armado
