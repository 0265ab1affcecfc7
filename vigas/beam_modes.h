#pragma once
// The beam's own natural frequencies, not those of its coarse model. A model
// of one bar per span gives the lowest frequency some 16 % high and the next
// ones further off (the bar's cubic cannot bend as the beam does), so the
// modes are analysed on copies of the model with every bar cut into 2, 4, 8,
// ... equal parts, until one more cut changes none of the frequencies asked
// for by more than 1 %, or the 250 bars of a model stop it. The suite's own
// calcest and calcdin run on each copy, in a scratch folder; nothing here
// needs a window, so a console program can use it as well.
#include <string>
#include <vector>

#include "common/model.h"

namespace vigas {

using common::ModelData;

// The model (as typed) with every bar that can be cut exactly cut into `parts`
// bars of equal flexible length: each keeps the bar's section, material and
// shear switch, so stiffness and mass per metre are the bar's; a hinge or a
// transverse release goes to the part at its end, a rigid zone stays with the
// first or last part. A haunched bar (analysed with the properties of its mean
// height) and a bar of type 0, 5 or 6 stay whole, and their labels are added
// to `whole`. New nodes and bars take labels past the largest ones; supports
// and ties stay; loads on nodes are left out (they do not enter the modes).
ModelData splitBars(const ModelData& model, int parts, std::vector<int>* whole = nullptr);

// The relative change |b - a| / |b| within which a frequency counts as converged.
inline constexpr double kModesConvergence = 0.01;

struct BeamModes {
  std::string error;                // why there are none (calcest or calcdin refused a copy)
  std::vector<double> frequencies;  // the lowest ones, ascending, of the finest copy analysed
  std::vector<bool> converged;      // each: the last cut changed it by kModesConvergence at most
  int parts = 1;                    // each bar that can be cut, cut into this many
  int bars = 0;                     // bars of that copy
  bool limited = false;             // a finer copy would pass the 250 bars of a model file
  std::vector<int> wholeBars;       // labels of the bars kept whole
};

// The `count` lowest frequencies of the beam with calcdin's option `option`
// (fellowProgram("calcest"), ("calcdin")), found as said above.
BeamModes beamModes(const ModelData& model, int option, int count);

// What the results say of the copy analysed (Windows-1252): how each bar was
// cut and into how many bars, the bars kept whole, and whether the 250 bars
// stopped the refinement before every frequency converged.
std::string beamModesNote(const BeamModes& modes);

}  // namespace vigas
