#pragma once
// Detailing of the bars: anchorage (8.4), curtailment (9.2.1.3), spacing
// (8.2), cover for bond (4.4.1.2), crack control by bar spacing (7.3.3) and the
// rounding of the schedule. Units: N, mm.
#include <optional>
#include <string>

#include "armado/materials.h"

namespace armado {

// 8.4.2(2), figure 8.2: bottom bars are in good bond; top bars of a member
// deeper than 250 mm are in poor bond (eta1 = 0.7).
bool goodBond(bool topBar, double h);
// 8.4.2(2): fbd = 2.25 eta1 eta2 fctd, eta2 = 1 for bars up to 32 mm, else
// (132 - diameter) / 100.
double bondStrength(double diameter, bool good, const Materials& m);
// 8.4.3(2): lb,rqd = (diameter / 4) (sigma_sd / fbd).
double basicAnchorageLength(double diameter, double stress, double fbd);
// 8.4.4(1) (8.6): lb,min = max(0.3 lb,rqd, 10 diameters, 100 mm), in tension.
double minimumAnchorageLength(double basic, double diameter);
// 8.4.4(1): lbd = alpha1..alpha5 lb,rqd >= lb,min, every alpha taken as 1
// (straight or bent bars alike, no credit for cover or transverse steel).
double designAnchorageLength(double diameter, double stress, bool good, const Materials& m);

// 8.7.3(1), table 8.3: alpha6 = (rho1 / 25)^0.5 within [1, 1.5], rho1 the
// percentage of the bars lapped within 0.65 l0 of the lap's centre.
double lapShareFactor(double lappedShare);
// 8.7.3(1) (8.10), (8.11): l0 = alpha6 lb,rqd (alpha1 to alpha5 taken as 1), at
// least max(0.3 alpha6 lb,rqd, 15 diameters, 200 mm).
double lapLength(double diameter, double stress, bool good, double lappedShare, const Materials& m);
// The length the bars come in: no piece is longer.
inline constexpr double kStockLength = 12000;

// 9.2.1.3(2): a_l = z (cot theta - cot alpha) / 2, vertical stirrups.
double shiftLength(double z, double cotTheta);

// 8.2(2): clear distance between bars >= max(k1 diameter, dg + k2, 20 mm),
// k1 = 1, k2 = 5 mm.
double minimumClearSpacing(double diameter, double aggregate);
// 4.4.1.2(3), table 4.2: the cover of a separate bar at least its diameter.
double bondCover(double diameter);

// Table 7.1N (with the Spanish code's values for chlorides): the largest crack
// width wmax (mm) for the exposure class; nullopt for a class not listed
// (X0, XC1 .. XC4, XD1 .. XD3, XS1 .. XS3).
std::optional<double> crackWidthLimit(const std::string& exposure);
// Table 7.3N: the largest bar spacing (mm) for the steel stress sigma_s (MPa)
// under the quasi-permanent load and wk (0.2, 0.3 or 0.4 mm), straight lines
// between the rows, the first row below 160 MPa; nullopt past the table.
std::optional<double> crackSpacingLimit(double stress, double wk);
// 7.1(2): the section cracks when the tension face's stress under the
// moment, uncracked, would pass fctm: Mcr = fctm b h^2 / 6.
double crackingMoment(double b, double h, const Materials& m);
// 7.2: the stress of the tension bars of a cracked section (concrete in
// tension left out, linear elastic, alpha_e = Es / Ecm), compression bars
// As2 at d2 counted.
double crackedSteelStress(double M, double b, double d, double As, double As2, double d2, const Materials& m);

// The schedule's steps: bar lengths up to whole 5 cm, stirrup spacings down
// to whole 2.5 cm.
inline constexpr double kLengthStep = 50.0;
inline constexpr double kSpacingStep = 25.0;
double roundUpToStep(double value, double step);
double roundDownToStep(double value, double step);

}  // namespace armado
