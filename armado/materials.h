#pragma once
// The materials of a reinforced concrete beam and their design values, to
// EN 1992-1-1 with the values the Spanish structural code sets (gamma_c = 1.5,
// gamma_s = 1.15, alpha_cc = 1.0). Units: N and mm (stresses in MPa).
#include <optional>
#include <string>

namespace armado {

// Normal-weight concrete named by its characteristic strength: HA-25 ... HA-50.
struct Concrete {
  std::string name;
  double fck = 0;
};

// Ribbed weldable bars: B400S, B500S.
struct Steel {
  std::string name;
  double fyk = 0;
};

struct SafetyFactors {
  double gammaC = 1.5, gammaS = 1.15, alphaCC = 1.0;
};

// "HA-25" ... "HA-50" in steps of 5 MPa; nullopt for any other name.
std::optional<Concrete> concreteNamed(const std::string& name);
// "B400S" or "B500S"; nullopt for any other name.
std::optional<Steel> steelNamed(const std::string& name);

// 3.1.6(1): fcd = alpha_cc * fck / gamma_c.
double designCompressiveStrength(double fck, const SafetyFactors& factors);
// Table 3.1: fctm = 0.30 fck^(2/3) for fck <= 50.
double meanTensileStrength(double fck);
// 3.1.6(2) with Table 3.1: fctd = alpha_ct * 0.7 fctm / gamma_c, alpha_ct = 1.
double designTensileStrength(double fck, const SafetyFactors& factors);
// Table 3.1: Ecm = 22000 ((fck + 8) / 10)^0.3.
double meanElasticModulus(double fck);
// 3.2.7(2): fyd = fyk / gamma_s.
double designYieldStrength(double fyk, const SafetyFactors& factors);

// 3.2.7(4): Es.
inline constexpr double kSteelModulus = 200000.0;
// Table 3.1: eps_cu2 = eps_cu3 = 3.5 per mille and eps_c2 = 2 per mille for fck <= 50.
inline constexpr double kUltimateConcreteStrain = 0.0035;
inline constexpr double kParabolaPeakStrain = 0.002;
// The density of steel the schedule weighs bars with (kg/m3).
inline constexpr double kSteelDensity = 7850.0;

// Every value the rules use, worked out once.
struct Materials {
  Concrete concrete;
  Steel steel;
  SafetyFactors factors;
  double fck = 0, fcd = 0, fctm = 0, fctd = 0, Ecm = 0;
  double fyk = 0, fyd = 0, Es = kSteelModulus;
};
Materials materialsOf(const Concrete& concrete, const Steel& steel, const SafetyFactors& factors);

// The cross-section area of a bar of diameter `diameter` (mm2).
double barArea(double diameter);

}  // namespace armado
