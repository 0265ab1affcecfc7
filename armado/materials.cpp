#include "armado/materials.h"

#include <cmath>

namespace armado {

std::optional<Concrete> concreteNamed(const std::string& name) {
  for (int fck = 25; fck <= 50; fck += 5)
    if (name == "HA-" + std::to_string(fck)) return Concrete{name, static_cast<double>(fck)};
  return std::nullopt;
}

std::optional<Steel> steelNamed(const std::string& name) {
  if (name == "B400S") return Steel{name, 400.0};
  if (name == "B500S") return Steel{name, 500.0};
  return std::nullopt;
}

double designCompressiveStrength(double fck, const SafetyFactors& factors) {
  return factors.alphaCC * fck / factors.gammaC;
}

double meanTensileStrength(double fck) { return 0.30 * std::pow(fck, 2.0 / 3.0); }

double designTensileStrength(double fck, const SafetyFactors& factors) {
  return 0.7 * meanTensileStrength(fck) / factors.gammaC;
}

double meanElasticModulus(double fck) { return 22000.0 * std::pow((fck + 8.0) / 10.0, 0.3); }

double designYieldStrength(double fyk, const SafetyFactors& factors) { return fyk / factors.gammaS; }

Materials materialsOf(const Concrete& concrete, const Steel& steel, const SafetyFactors& factors) {
  Materials m;
  m.concrete = concrete;
  m.steel = steel;
  m.factors = factors;
  m.fck = concrete.fck;
  m.fcd = designCompressiveStrength(m.fck, factors);
  m.fctm = meanTensileStrength(m.fck);
  m.fctd = designTensileStrength(m.fck, factors);
  m.Ecm = meanElasticModulus(m.fck);
  m.fyk = steel.fyk;
  m.fyd = designYieldStrength(m.fyk, factors);
  return m;
}

double barArea(double diameter) { return M_PI * diameter * diameter / 4.0; }

}  // namespace armado
