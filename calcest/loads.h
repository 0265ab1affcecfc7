#pragma once
// Bar loads: each line of the loads file becomes equivalent nodal loads and load
// diagrams of its bar. All loads act together; a bar accumulates them.
#include <functional>
#include <vector>

#include "calcest/bar.h"
#include "calcest/end_loads.h"
#include "common/bar_load.h"
#include "common/model_rules.h"
#include "common/scan.h"

namespace calcest {

using common::BarLoad;

// Applies one load to its bar: eq added to eqLocal, subtracted from fixedEnd,
// T-transposed eq added to eqGlobal, and the diagrams N0, V0, M0 accumulated.
// Throws RunError for a bar type the load type does not cover, a wrong direction
// letter, or a load whose span is zero.
void applyBarLoad(Bar& bar, const common::BarLoad& load);

// The bar's self-weight as a uniform load -w over its whole length (no projection).
void applySelfWeight(Bar& bar);

// A load as it acts on its bar, in the bar's axes: distances along the bar from
// I, the intensity along (qn) and across (qt) it of a force load (of a triangle,
// its peak; of a point force, the force), the moment of a point moment or the
// difference T of a temperature load in `value`.
struct LocalLoad {
  int ltype = 0;
  double a = 0, c = 0, b = 0;
  double qn = 0, qt = 0;
  double value = 0;
};

// The load as applyBarLoad projects it, and the self-weight as applySelfWeight
// applies it. The load is taken as checked.
LocalLoad localLoad(const common::BarInput& bar, const common::BarLoad& load);
LocalLoad localSelfWeight(const common::BarInput& bar);

// Abscissae closer than this are one point of the beam: loads are placed on the
// envelope viewer's point grid to 1e-5.
constexpr double kSameAbscissa = 2e-5;

// What one load alone gives at x from I: the terms N0, V0, M0 of the diagrams.
// A point force or moment at x (within `sameAbscissa` of it) counts on the right
// side only; the left side is the value the bar's stations keep.
struct DiagramTerms {
  double N0 = 0, V0 = 0, M0 = 0;
};
DiagramTerms diagramTermsAt(const LocalLoad& load, double x, bool rightSide, double sameAbscissa = kSameAbscissa);

// A line of the loads file and the bar it acts on.
struct LoadOnBar {
  common::BarLoad load;
  int bar = 0;  // position of the loaded bar in the bar table
};

// The fields of a line of the loads file, in file order.
enum LoadField { kLoadBar, kLoadType, kLoadA, kLoadC, kLoadB, kLoadValue, kLoadDirection };

// Every line of a loads file as typed, no bar looked at.
std::vector<common::BarLoad> readLoadLines(common::Scanner& loads);

// Why the engine refuses load `line` of `file` on its bar (found, placed and
// furnished as the model reader leaves it): a load type or direction it does
// not know, a bar type the load type has no formulas for, a zero span, a
// temperature load on a bar without height, a negative distance, a span that
// differs from the bar's (projected) length by more than 1e-3 of it, values
// that overflow. No fault when it takes the load.
common::Fault loadFault(const common::BarInput& bar, const common::BarLoad& load, int line, const std::string& file);

// A load whose bar label no bar has.
common::Fault unknownBarFault(const common::BarLoad& load, int line, const std::string& file);

// Reads the loads file to its end (or to a Ctrl-Z): every load with the bar whose
// label it names (first match among bars[1..], slot 0 unused), in file order.
// Throws RunError, at the first line at fault, for a value that cannot be read, an
// unknown bar, anything applyBarLoad refuses, and a load that does not lie on its
// bar (a negative distance, or a span that differs from the bar's length, as
// projected for the load, by more than 1e-3 of it).
std::vector<LoadOnBar> readBarLoads(common::Scanner& loads, size_t barCount,
                                    const std::function<const common::BarInput&(size_t)>& barAt);
template <class BarTable>
std::vector<LoadOnBar> readBarLoads(common::Scanner& loads, const BarTable& bars) {
  return readBarLoads(loads, bars.size(), [&bars](size_t k) -> const common::BarInput& { return bars[k]; });
}

// readBarLoads, then every load applied to its bar.
void readAndApplyBarLoads(common::Scanner& loads, Bars& bars);

}  // namespace calcest
