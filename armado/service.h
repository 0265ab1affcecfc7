#pragma once
// The serviceability of a designed beam with the bars it has: stresses under
// the characteristic and quasi-permanent combinations (7.2), crack widths
// (7.3.4), the long-term deflection of the cracked beam (7.4.3) and the
// span/depth ratio (7.4.2).
#include "armado/deflection.h"
#include "armado/design.h"

namespace armado {

// The concrete's state for the long-term deflection at the final age; and at
// the age the finishes are laid, under the permanent load alone (the share
// of the variable load in the quasi-permanent combination taken as coming
// after them: the deflection after them is the larger).
LongTermState finalState(const Design& design);
LongTermState finishesState(const Design& design);

// Fills the stations' serviceability values and design.service.
void checkService(Design& design);

}  // namespace armado
