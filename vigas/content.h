#pragma once
// What the beam editor edits: the model as typed (common::ModelData read
// without checks: nodes in the order typed, nothing found or computed) and its
// load cases. Every table is 1-based, as the files count their items; slot 0
// is never used.
#include <string>
#include <vector>

#include "common/bar_load.h"
#include "common/model.h"

namespace vigas {

using common::BarLoad;
using common::ModelData;

// One load case: a name and its bar loads. The first case is the project's
// own loads file (PROJECT.caf); each further case is a project of its own
// beside it (PROJECT_NAME.dat and PROJECT_NAME.caf), as the envelope programs
// take load cases of one beam. The model's own weight belongs to the first
// case only: the further cases' copies of the model are written with the
// self-weight switch at 0.
struct LoadCase {
  std::string name;
  std::vector<BarLoad> loads;  // 0-based, in file order
};

struct Content {
  ModelData model;
  std::vector<LoadCase> cases;  // the first one always exists
};

// An empty model (one empty row in no table, unit code 1) with one empty case.
Content emptyContent();

}  // namespace vigas
