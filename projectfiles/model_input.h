#pragma once
// The project's model (.dat) and loads (.caf) files, read with the model reader
// the calculation programs use, into the tables the report draws.
#include <string>
#include <vector>

#include "calcest/loads.h"
#include "common/model.h"
#include "projectfiles/result_files.h"

namespace projectfiles {

using calcest::BarLoad;
using calcest::LoadOnBar;

struct Model : common::ModelData {
  std::vector<LoadOnBar> loads;  // file order
};

// Throws RunError whose text names the file at fault.
Model readModel(const std::string& datPath, const std::string& cafPath);

// A loads file (the layout of .caf and .kar files) for the bars of a model read
// before. Throws RunError whose text names the file.
std::vector<LoadOnBar> readLoadsFile(const std::string& path, const std::vector<common::BarInput>& bars);

// Unit labels of the unit code: force, length, moment, deflection (Windows-1252).
struct UnitLabels {
  std::string force, length, moment, deflection;
};
UnitLabels unitLabels(int unitCode);

// What the model's results file must hold: title, unit code, the bars' end nodes
// as the file lists them (left end first), the support nodes.
ResultsShape resultsShapeOf(const Model& model);

}  // namespace projectfiles
