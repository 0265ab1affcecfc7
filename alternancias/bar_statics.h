#pragma once
// Shear and moment along a horizontal bar by statics, from its end forces at
// node I and the transverse loads on it: the one statics of a bar the force
// tables and the exact envelope share.
#include <algorithm>
#include <cmath>
#include <vector>

#include "loads.h"

namespace alternancias {

// Shear and moment at a section, both sides of it.
struct SectionForces {
  double V = 0, M = 0;
};

// The transverse loads of one horizontal bar, measured from its node I.
class BarStatics {
 public:
  BarStatics(double length, double Mi, double Vi) : L_(length), Mi_(Mi), Vi_(Vi) {}

  void add(const calcest::BarLoad& load) {
    if (load.dir != 'y' && load.dir != 'Y') return;  // along the bar: no shear, no bending
    if (load.ltype >= 3 && load.ltype <= 5 && !(load.c > 0)) return;  // spread over no length: carries nothing
    switch (load.ltype) {
      case 1: forces_.push_back({load.a, load.q}); break;
      case 2: couples_.push_back({load.a, load.q}); break;
      case 3: spread_.push_back({load.a, load.c, load.q, 0.0}); break;
      case 4: spread_.push_back({load.a, load.c, 0.0, load.q / load.c}); break;
      case 5: spread_.push_back({load.a, load.c, load.q, -load.q / load.c}); break;
      default: break;  // temperature: its effect is already in the end forces
    }
  }

  // Forces at x from node I; `rightSide` counts what acts exactly at x.
  SectionForces at(double x, bool rightSide) const {
    SectionForces f{Vi_, Mi_ + Vi_ * x};
    const double eps = 1e-7 * L_;
    auto acts = [&](double a) { return rightSide ? a <= x + eps : a < x - eps; };
    for (const Point& p : forces_)
      if (acts(p.a)) {
        f.V += p.value;
        f.M += p.value * (x - p.a);
      }
    for (const Point& p : couples_)
      if (acts(p.a)) f.M += p.value;
    for (const Spread& s : spread_) {
      const double t = std::min(x, s.a + s.length) - s.a;
      if (t <= 0) continue;
      // Intensity w0 + k·u over u = 0..t from the start of the load.
      const double resultant = s.w0 * t + s.k * t * t / 2;
      const double firstMoment = s.w0 * t * t / 2 + s.k * t * t * t / 3;
      f.V += resultant;
      f.M += resultant * (x - s.a) - firstMoment;
    }
    return f;
  }

  // How far the far end, past every load, is from the results file's values.
  double imbalance(double Mj, double Vj) const {
    const SectionForces end = at(L_, true);
    return std::max(std::fabs(end.M - Mj), std::fabs(end.V - Vj) * std::max(1.0, L_));
  }

  // A size of the bar's forces, to judge that imbalance by.
  double scale(double Mj, double Vj) const {
    double s = std::max({std::fabs(Mi_), std::fabs(Mj), (std::fabs(Vi_) + std::fabs(Vj)) * L_});
    for (const Point& p : forces_) s = std::max(s, std::fabs(p.value) * L_);
    for (const Point& p : couples_) s = std::max(s, std::fabs(p.value));
    for (const Spread& w : spread_) s = std::max(s, (std::fabs(w.w0) + std::fabs(w.k) * w.length) * w.length * L_);
    return s;
  }

 private:
  struct Point {
    double a, value;
  };
  struct Spread {
    double a, length, w0, k;
  };
  double L_, Mi_, Vi_;
  std::vector<Point> forces_, couples_;
  std::vector<Spread> spread_;
};

}  // namespace alternancias
