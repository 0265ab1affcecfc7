#pragma once
// Bending of a rectangular section (ultimate limit state): the steel a moment
// needs by the rectangular stress block, the minimum and maximum areas, and the
// moment the bars of a section resist by strain compatibility. Units: N, mm.
#include <vector>

#include "armado/materials.h"

namespace armado {

// 3.1.7(3): the rectangular block, lambda = 0.8 and eta = 1 for fck <= 50.
inline constexpr double kBlockDepthFactor = 0.8;
inline constexpr double kBlockStrengthFactor = 1.0;
// 5.5(4) with delta = 1 (no redistribution), fck <= 50: x/d <= 0.45. Beyond
// it the section takes compression steel instead of a deeper neutral axis.
inline constexpr double kDuctilityDepthRatio = 0.45;

// The steel a positive moment M needs on a section of width b, effective
// depth d (tension steel) and depth d2 of the compression steel below the
// compressed face. `depthRatio` is x/d of the block (at most 0.45);
// `feasible` is false when compression steel at d2 would not be compressed.
struct BendingSteel {
  double tension = 0, compression = 0, depthRatio = 0;
  bool feasible = true;
};
BendingSteel requiredBendingSteel(double M, double b, double d, double d2, const Materials& m);

// 9.2.1.1(1): As,min = 0.26 fctm / fyk * bt * d, not less than 0.0013 bt d.
double minimumTensionSteel(double b, double d, const Materials& m);
// 9.2.1.1(3): As,max = 0.04 Ac, for the tension and the compression steel each.
double maximumSteel(double b, double h);

// Bars at one depth below the compressed face.
struct SteelLayer {
  double area = 0, depth = 0;
};

// 3.1.7: the concrete stress-strain diagrams a section's resistance may be
// worked out with: the rectangular block (3.1.7(3)) and the parabola-rectangle
// (3.1.7(1), eps_c2 = 2, eps_cu2 = 3.5 per mille).
enum class ConcreteModel { rectangularBlock, parabolaRectangle };

// 6.1(2), (3): the moment a section of width b resists with the concrete at
// eps_cu = 3.5 per mille on the compressed face, plane sections, and the bars
// elastic-plastic (3.2.7(2) b, no strain limit); x is the neutral axis depth.
struct Resistance {
  double moment = 0, neutralAxis = 0;
};
Resistance momentResistance(double b, const std::vector<SteelLayer>& layers, const Materials& m, ConcreteModel model);

// The resistance the design relies on: the smaller of the two diagrams, so
// that the bars hold whichever one is taken.
double designMomentResistance(double b, const std::vector<SteelLayer>& layers, const Materials& m);

}  // namespace armado
