#pragma once
// The exact envelope of a continuous beam whose variable load may stand on any
// set of spans. The analysis is linear, so every quantity under an arrangement
// is the permanent case's value times its factor plus the values of the loaded
// spans, each span's variable load analysed alone: the largest value over all
// 2^n arrangements loads exactly the spans whose value is positive there (and
// takes the permanent factor that gives more), the smallest those whose value
// is negative. n + 1 analyses give the extremes of all arrangements.
#include <array>
#include <string>
#include <vector>

#include "calcest/elastic_curve.h"
#include "calcest/true_extremes.h"
#include "projectfiles/model_input.h"
#include "alternancias/patterns.h"
#include "calcest/static_solution.h"

namespace alternancias {

// What the envelope records, per grid point (21 stations per bar, shared at the
// nodes), per support, per bar and per node. Moments and shears both sides of
// a point; deflections in the files' unit (scale · v), bar end forces as the
// results file lists them.
enum Quantity {
  kMomentLeft,
  kMomentRight,
  kShearLeft,
  kShearRight,
  kDeflection,  // per grid point
  kReaction,
  kSupportMoment,  // per support (1-based)
  kBarMi,
  kBarMj,
  kBarQi,
  kBarQj,           // per bar (1-based)
  kNodeDeflection,  // per node (1-based)
  kQuantityCount
};

// Deflections are combined at factors 1 (the characteristic combination).
inline bool isDeflection(int quantity) { return quantity == kDeflection || quantity == kNodeDeflection; }

// One load case's value of every quantity, and its curves: per bar (bar k at
// k - 1), along the beam, the moment and the deflection in the files' unit.
struct CaseValues {
  std::array<std::vector<double>, kQuantityCount> of;
  std::vector<calcest::PiecewiseCurve> moment, deflection;
};

// The transverse deflection at grid point `p` of a solved case, from its bars'
// true lines (`bars[k - 1]` is bar k), in the model's length unit (not
// scaled). Point 20k, shared by bars k and k + 1, is bar k's last station, as
// in the diagram file.
double pointDeflection(const projectfiles::Model& model, const std::vector<calcest::ElasticCurve>& bars, int p);

// Analyses one case with calcest's engine in memory and evaluates it at every
// grid point, support, bar end and node: moments, shears and deflections
// along each bar from its true line under the case's loads.
CaseValues analyseCase(const projectfiles::Model& model, const calcest::StaticCase& loadCase);

struct Factors {
  double gG = 1.35, gGinf = 1.0, gQ = 1.5;
};

// An extreme and what gives it: the spans loaded (0-based, ascending) and the
// permanent factor (the variable factor is the run's; both 1 for deflections).
struct Governing {
  double value = 0;
  double permanentFactor = 1;
  std::vector<int> spans;
};

class ExactEnvelope {
 public:
  ExactEnvelope(CaseValues permanent, std::vector<CaseValues> spans, const Factors& factors);

  // Extreme over every arrangement and both permanent factors.
  Governing largest(int quantity, size_t i) const { return extreme(quantity, i, true); }
  Governing smallest(int quantity, size_t i) const { return extreme(quantity, i, false); }
  size_t size(int quantity) const { return permanent_.of[quantity].size(); }

  // The true extreme of the envelope over a span, found where it is on the
  // curves (calcest::trueExtreme), not at the grid's points: where (x from
  // the beam's start, and the side of a step there), and what gives it. Of
  // the moment; of the deflection from the unloaded beam (absolute); or of
  // the deflection from the straight line between the span's support points
  // as each arrangement moves them (springs, settlements), an overhang's
  // from the tangent at its support, the bending that L/deflection limits
  // are about (relative), switching on the relative values.
  enum class Curve { moment, deflection, relativeDeflection };
  struct Peak {
    Governing governing;
    double x = 0;
    bool rightSide = false;
  };
  Peak peak(Curve curve, const Span& span, bool largest) const;
  size_t spanCount() const { return spans_.size(); }
  const Factors& factors() const { return factors_; }

 private:
  Governing extreme(int quantity, size_t i, bool largest) const;
  // What gives a value: the permanent factor taken and the spans loaded,
  // from the permanent value g and the spans' values q.
  Governing governing(int quantity, double g, const std::vector<double>& q, bool largest) const;

  CaseValues permanent_;
  std::vector<CaseValues> spans_;
  Factors factors_;
  // Per quantity, the size below which a span's value is rounding (a rigid
  // support's penalty displacement, say), not load:
  // such a span is not named as loaded (its value still counts).
  std::array<double, kQuantityCount> negligible_{};
};

// The permanent case (loads file, self-weight when switched on, nodal loads,
// prescribed values) and one case per span (its lines of `variable` alone),
// analysed and combined.
ExactEnvelope exactEnvelope(const projectfiles::Model& model, const std::vector<calcest::LoadOnBar>& variable,
                            const std::vector<Span>& spans, const Factors& factors);

}  // namespace alternancias
