#pragma once
// Every rule a model and its load cases must keep, checked on the content as
// typed: the engines' own rules (common/model_rules.h, calcest::loadFault)
// and the few the editor adds (a section with area and inertia, a material
// with stiffness, load case names that make file names). A content with any
// error is neither saved nor analysed.
#include <string>
#include <vector>

#include "vigas/cells.h"

namespace vigas {

struct CellError {
  CellPlace place;     // column -1: the row as a whole; row 0: the table as a whole
  std::string reason;  // Spanish, Windows-1252, for the status bar
};

// A model with nothing in it yet (no nodes, bars, supports, ties or nodal
// loads): it breaks no rule, and is not saved or analysed.
bool isEmptyModel(const ModelData& model);

// In table order, then row order.
std::vector<CellError> checkContent(const Content& content);

// The reason of the first error at this cell (or on its whole row), "" when none.
std::string reasonAt(const std::vector<CellError>& errors, const CellPlace& place);

// Whether a load case name makes a file name: letters, digits, '-' and '_'
// only, at most 20 characters, and not the name of an earlier case.
std::string caseNameFault(const Content& content, const std::string& name, int loadCase);

}  // namespace vigas
