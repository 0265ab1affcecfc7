#pragma once
// The beam as typed, made fit for the shared model picture: what can be drawn
// of it (nodes with a label of their own and finite coordinates, bars between
// two distinct places, supports and nodal loads on a node, the shown case's
// loads of a known kind on a drawn bar), with the row each came from, so that
// a click on the picture names its row.
#include <vector>

#include "projectfiles/model_input.h"
#include "vigas/cells.h"

namespace vigas {

struct DrawableModel {
  projectfiles::Model model;  // nodes sorted by label, bars placed
  // The row of the editor's table of each item, by its position (slot 0
  // unused), and the tables those rows are of.
  std::vector<int> barRow, supportRow, nodalLoadRow, loadRow;
  Table barTable = Table::bars, supportTable = Table::supports, loadTable = Table::loads;
};

// Empty `model.nodes` beyond slot 0 when no node can be drawn.
DrawableModel drawableModel(const Content& content, int loadCase);

// The beam of the spans view as it is drawn: one bar per stretch between
// load points (not the finer bars of the model), each item with its row of
// the spans view (a bar's piece, the span right of a support, a load's row).
DrawableModel drawableSpans(const Content& content, const SpanBeam& beam, int loadCase);

}  // namespace vigas
