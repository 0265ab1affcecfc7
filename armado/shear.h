#pragma once
// Shear of a beam with vertical stirrups (ultimate limit state), EN 1992-1-1
// 6.2 and 9.2.2. Units: N, mm.
#include <optional>

#include "armado/materials.h"

namespace armado {

// 6.2.3(1): the lever arm z = 0.9 d of a member without axial force.
double shearLeverArm(double d);

// 6.2.2(1): VRd,c of a member without shear reinforcement, no axial force:
// [CRd,c k (100 rho_l fck)^(1/3)] bw d, not less than vmin bw d, with
// CRd,c = 0.18 / gamma_c, k = 1 + sqrt(200 / d) <= 2, rho_l = Asl / (bw d) <=
// 0.02 and vmin = 0.035 k^(3/2) fck^(1/2) (6.3N). Asl: the tension steel that
// runs on at least lbd + d past the section.
double concreteShearResistance(double bw, double d, double Asl, const Materials& m);

// 6.2.3(3) note 1 with 6.6N: nu1 = 0.6 (1 - fck / 250).
double strutStrengthReduction(double fck);

// 6.2.3(3) (6.9), vertical stirrups, alpha_cw = 1: VRd,max = bw z nu1 fcd /
// (cot theta + tan theta).
double strutResistance(double bw, double z, double cotTheta, const Materials& m);

// 6.2.3(2): cot theta within [1, 2.5].
inline constexpr double kLeastCotTheta = 1.0;
inline constexpr double kLargestCotTheta = 2.5;
// The largest cot theta of [1, 2.5] whose strut still carries VEd (the fewest
// stirrups); nullopt when not even theta = 45 degrees does.
std::optional<double> strutCotTheta(double VEd, double bw, double z, const Materials& m);

// 6.2.3(3) (6.8): the stirrups Asw / s (mm2 per mm) that carry VEd.
double requiredStirrups(double VEd, double z, double cotTheta, double fywd);
// 6.2.3(3) (6.8): VRd,s of stirrups Asw / s.
double stirrupResistance(double stirrupsPerLength, double z, double cotTheta, double fywd);

// 9.2.2(5) (9.5N): rho_w,min = 0.08 sqrt(fck) / fyk.
double minimumShearRatio(const Materials& m);
// 9.2.2(6) (9.6N), alpha = 90 degrees: sl,max = 0.75 d.
double maximumStirrupSpacing(double d);
// 9.2.2(8) (9.8N): st,max = 0.75 d, at most 600 mm, across the width.
double maximumLegSpacing(double d);
// 9.2.1.2(3): compression bars counted in the resistance are held by
// transverse reinforcement at most 15 diameters apart.
double maximumSpacingHoldingCompressionBars(double diameter);

}  // namespace armado
