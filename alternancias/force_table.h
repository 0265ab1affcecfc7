#pragma once
// The force table of one project (its .esf file): shear and moment left and
// right of every point of the beam's grid, from each bar's true line (its end
// forces in the results file and the loads that act on it).
#include <string>
#include <vector>

#include "calcest/elastic_curve.h"
#include "projectfiles/model_input.h"

namespace alternancias {

using projectfiles::Model;
using projectfiles::ResultsFile;

// A beam the envelope can take: bar k runs horizontally from node k to node
// k + 1 (nodes in label order). Throws RunError naming `datPath` otherwise.
void checkContinuousBeam(const Model& model, const std::string& datPath);

// Each bar is divided into this many intervals of the grid (21 stations).
constexpr int kGridIntervals = common::kStations - 1;

struct ForceRow {
  int index = 0;
  double x = 0;
  double Qi = 0, Qd = 0;    // shear left and right of the point
  double Mfi = 0, Mfd = 0;  // moment left and right of the point
  double Mf() const { return Mfi; }
};

// One row per grid point from each bar's true line (`bars[k - 1]` is bar k): a
// node's left side from the bar before it, its right side from the bar after
// it; nothing left of the first point or right of the last.
std::vector<ForceRow> forceRows(const Model& model, const std::vector<calcest::ElasticCurve>& bars);

// One row per grid point (21 stations per bar, shared at the nodes). `loads`
// are every load the analysis applied, self-weight included. Throws RunError
// when the bar end forces of `res` do not balance those loads (results of
// other loads or another model).
std::vector<ForceRow> forceTable(const Model& model, const ResultsFile& res,
                                 const std::vector<calcest::LoadOnBar>& loads, const std::string& resPath);

// The .esf text: the highest point index, then "i x Qi Qd Mfi Mfd CC Mf" per row.
std::string formatForceTable(const std::vector<ForceRow>& rows);

// Everything one analysed project holds, read from NAME.dat, NAME.caf, NAME.res
// and (with self-weight switched on) NAME.kar.
struct AnalysedProject {
  Model model;
  ResultsFile res;
  std::vector<calcest::LoadOnBar> appliedLoads;  // loads file, then self-weight
  std::vector<ForceRow> table;
};
AnalysedProject readAnalysedProject(const std::string& name);

}  // namespace alternancias
