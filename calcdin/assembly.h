#pragma once
// Global stiffness K and mass M of the whole structure from the bar records.
#include "calcdin/bar_record.h"
#include "calcdin/element.h"
#include "common/console.h"
#include "calcdin/modal_model.h"
#include "calcdin/pair_matrix.h"

namespace calcdin {

// Adds the bar's global matrices into K and M. With a removal mask (options 0
// and 2), entries in a removed row or column are dropped first.
void assembleBar(PairMatrix& system, const BarRecord& bar, const ElementMatrices& element,
                 const std::vector<bool>* isEliminated);

// Reads the record of every bar of the model (bars[1..nb]) by position and
// assembles it. A bar of unknown type is reported ("tipob= %d \n"), waits for a
// key and adds nothing. A record that cannot be read, is not that of the model's
// bar, or gives non-finite matrices stops the run.
void assembleAll(PairMatrix& system, const BarRecordFile& records, const std::vector<common::BarInput>& bars,
                 int option, const Elimination& elimination, common::Console& console);

// Option 0: the vertical springs of codes 120 and 121 act on K.
void addVerticalSprings(PairMatrix& system, const std::vector<VerticalSpring>& springs);

}  // namespace calcdin
