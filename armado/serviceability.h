#pragma once
// Serviceability of a reinforced concrete section (EN 1992-1-1, section 7 and
// annex B): creep and shrinkage, the uncracked and the cracked section with
// its bars, the cracking moment, stresses, crack widths, the curvature of
// 7.4.3 and the span/depth ratio of 7.4.2. Units: N, mm, MPa; ages in days.
#include <string>
#include <vector>

#include "armado/bending.h"
#include "armado/materials.h"

namespace armado {

// The concrete's environment and the beam's loading history, for creep and
// shrinkage.
struct Exposure {
  double humidity = 50;     // relative humidity of the air around (%)
  double notionalSize = 0;  // h0 = 2 Ac / u (mm)
  double loadingAge = 28;   // t0: age at which the load starts to act
  char cement = 'N';        // class S, N or R
};

// 3.1.4(5), B.6: h0 = 2 Ac / u, the whole perimeter of a b x h section drying.
double notionalSize(double b, double h);
// B.1 to B.9 (at 20 degrees): the creep coefficient phi(t, t0) at age `age`
// (HUGE_VAL: the final value phi(inf, t0)).
double creepCoefficient(double fck, const Exposure& e, double age);
// 3.1.4(6), (3.8) to (3.13), B.11, B.12, table 3.3: the total shrinkage
// strain eps_cs = eps_cd + eps_ca (positive: shortening) reached at age
// `age` (HUGE_VAL: the final value), drying counted from the age at loading.
double shrinkageStrain(double fck, const Exposure& e, double age);

// A section whose bars are layers below its compressed face, transformed to
// concrete with the modular ratio alpha (each bar counts alpha - 1 times its
// area where it takes the place of concrete).
struct TransformedSection {
  double neutralAxis = 0;  // x: depth of the centroid (uncracked) or the neutral axis (cracked)
  double inertia = 0;      // second moment about it, in concrete (mm4)
  double steelMoment = 0;  // S: first moment of the bars' own area about it (mm3), positive below
};
// 7.4.3: the whole concrete section b x h with its bars.
TransformedSection uncrackedSection(double b, double h, const std::vector<SteelLayer>& layers, double alpha);
// 7.4.3: the section with the concrete in tension left out: the neutral axis
// from b x^2 / 2 = sum alpha_i As_i (d_i - x), the closed-form root of the
// quadratic for the layers above and below it.
TransformedSection crackedSection(double b, const std::vector<SteelLayer>& layers, double alpha);
// The moment that brings the face opposite the compressed one to fctm, on
// the uncracked section: Mcr = fctm I_I / (h - x_I).
double crackingMoment(const TransformedSection& uncracked, double h, const Materials& m);

// 7.4.3(3) (7.19): zeta = 1 - beta (Mcr / M)^2 above Mcr, 0 below; beta =
// 0.5 for sustained or repeated loads.
inline constexpr double kSustainedLoadBeta = 0.5;
double distributionCoefficient(double M, double Mcr, double beta);
// 7.4.3(6) (7.21): the curvature shrinkage gives, eps_cs alpha_e S / I.
double shrinkageCurvature(double epsCs, double alpha, const TransformedSection& section);

// 7.3.4: what gives a crack width at a face in tension.
struct CrackData {
  double sigmaS = 0;    // stress of the tension bars, cracked section (MPa)
  double d = 0, x = 0;  // effective depth and neutral axis (mm)
  double h = 0, b = 0;
  double area = 0;                // tension bars (mm2)
  double equivalentDiameter = 0;  // (7.12)
  double cover = 0;               // c: clear cover to the longitudinal bars (mm)
  double spacing = 0;             // centre to centre of the bars across (mm)
};
struct CrackWidth {
  double hEffective = 0, rho = 0, strain = 0, srMax = 0, wk = 0;  // mm, -, -, mm, mm
  bool wideSpacing = false;                                       // sr,max = 1.3 (h - x)
};
// 7.3.4 (7.8), (7.9), (7.11), (7.14) with kt = 0.4 (long term), k1 = 0.8
// (ribbed bars), k2 = 0.5 (bending), k3 = 3.4, k4 = 0.425, fct,eff = fctm
// and alpha_e = Es / Ecm.
inline constexpr double kLongTermKt = 0.4;
CrackWidth crackWidth(const CrackData& c, const Materials& m);

// 7.2(2), (3), (5): the stress limits: k1 fck under the characteristic
// combination where the exposure class is XD, XF or XS (0 elsewhere: none),
// k2 fck under the quasi-permanent one (linear creep), k3 fyk for the bars.
double characteristicConcreteStressLimit(const std::string& exposure, double fck);
inline constexpr double kLinearCreepShare = 0.45;
inline constexpr double kSteelStressShare = 0.8;

// 7.4.2(2) (7.16a, b): the basic span/effective depth ratio for the tension
// steel ratio rho and compression steel ratio rhoPrime required at mid-span
// (at the support for a cantilever), the structural system's K.
double basicSpanDepthRatio(double K, double rho, double rhoPrime, double fck);

}  // namespace armado
