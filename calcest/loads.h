#pragma once
// Bar loads: each line of the loads file becomes equivalent nodal loads and load
// diagrams of its bar. All loads act together; a bar accumulates them.
#include <functional>
#include <vector>

#include "bar.h"
#include "end_loads.h"
#include "scan.h"

namespace calcest {

struct BarLoad {
  int barLabel = 0;
  int ltype = 0;            // 1 point force, 2 point moment, 3 uniform, 4 rising, 5 falling, 6 temperature
  double a = 0, c = 0, b = 0;
  double q = 0;
  char dir = 'y';           // 'x'/'X' horizontal, 'y'/'Y' vertical
};

// Applies one load to its bar: eq added to eqLocal, subtracted from fixedEnd,
// T-transposed eq added to eqGlobal, and the diagrams N0, V0, M0 accumulated.
// Throws RunError for a bar type the load type does not cover, a wrong direction
// letter, or a load whose span is zero.
void applyBarLoad(Bar& bar, const BarLoad& load);

// The bar's self-weight as a uniform load -w over its whole length (no projection).
void applySelfWeight(Bar& bar);

// A line of the loads file and the bar it acts on.
struct LoadOnBar {
  BarLoad load;
  int bar = 0;  // position of the loaded bar in the bar table
};

// Reads the loads file to its end (or to a Ctrl-Z): every load with the bar whose
// label it names (first match among bars[1..], slot 0 unused), in file order.
// Throws RunError, at the first line at fault, for a value that cannot be read, an
// unknown bar, anything applyBarLoad refuses, and a load that does not lie on its
// bar (a negative distance, or a span that differs from the bar's length, as
// projected for the load, by more than 1e-3 of it).
std::vector<LoadOnBar> readBarLoads(Scanner& loads, size_t barCount,
                                    const std::function<const BarInput&(size_t)>& barAt);
template <class BarTable>
std::vector<LoadOnBar> readBarLoads(Scanner& loads, const BarTable& bars) {
  return readBarLoads(loads, bars.size(), [&bars](size_t k) -> const BarInput& { return bars[k]; });
}

// readBarLoads, then every load applied to its bar.
void readAndApplyBarLoads(Scanner& loads, std::vector<Bar>& bars);

}  // namespace calcest
