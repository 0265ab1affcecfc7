#pragma once
// The shear design of a beam whose longitudinal bars are laid: at every
// station the strut angle, VRd,c and the stirrups needed; then per span
// stirrup zones of one spacing each.
#include "armado/design.h"
#include "common/run_error.h"

namespace armado {

// 6.2.1(8): within d of a support's axis the stirrups are designed for the
// shear at d from the axis (nearer than the face EC2 measures from), unless a
// point load acts within 2d of the support; the strut is checked with the
// shear at the station itself. Throws RunError where the strut fails.
void designShear(Design& design);

// The refusal of a design whose strut fails at x: VEd against VRd,max at
// cot theta = 1.
common::RunError strutCrushes(const Design& design, double x, double VEd, double resistance);

}  // namespace armado
