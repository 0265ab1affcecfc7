#pragma once
// One static analysis done in memory, without any file: the model as read, the
// loads of one case, and what the engine finds. Programs that need many load
// cases of one model (pattern loading) or the full-precision results of a
// project run it instead of calcest.
#include <vector>

#include "calcest/bar.h"
#include "calcest/loads.h"
#include "common/model.h"

namespace calcest {

// The reaction of one support at its node.
struct NodeResult {
  double Rx = 0, Ry = 0, M = 0;
};

// End values of a bar: diagram values at stations 0 and 20, then the raw local
// end forces -f1, f4, f3, f6, f2, f5.
struct BarEnds {
  double Nstart = 0, Nend = 0, Mstart = 0, Mend = 0, Vstart = 0, Vend = 0;
  double raw[6] = {0, 0, 0, 0, 0, 0};
};

// What one case applies to the model.
struct StaticCase {
  std::vector<LoadOnBar> loads;  // bar loads, as read from a loads file
  bool selfWeight = false;       // each bar's own weight as a load
  bool nodalLoads = true;        // the model's nodal loads
  bool prescribed = true;        // supports' prescribed displacements and ties' values
};

struct BarSolution {
  Vec6 localEnds{};  // end displacements in the bar's axes
  Vec6 endForces{};  // local end forces f = K'.delta + fixedEnd
  BarEnds ends;      // as the results file lists them
};

struct StaticSolution {
  std::vector<common::Node> nodes;    // 1-based, ux, uy, rot solved
  std::vector<BarSolution> bars;      // 1-based
  std::vector<NodeResult> reactions;  // per support, 1-based
  std::vector<common::Tie> ties;      // FA, FB of each tie
};

// The whole analysis of calcest (same matrices, penalty supports, elimination
// and bar results), no file read or written. Throws RunError with calcest's
// words, but no key wait, where calcest stops (a zero pivot: a mechanism, or
// a bar of unknown type that leaves a node unheld).
StaticSolution solveStatic(const common::ModelData& model, const StaticCase& loadCase);

}  // namespace calcest
