#include "armado/shear.h"

#include <algorithm>
#include <cmath>

namespace armado {

double shearLeverArm(double d) { return 0.9 * d; }

double concreteShearResistance(double bw, double d, double Asl, const Materials& m) {
  const double k = std::min(2.0, 1 + std::sqrt(200.0 / d));
  const double ratio = std::min(0.02, Asl / (bw * d));
  const double cRdc = 0.18 / m.factors.gammaC;
  const double vMin = 0.035 * std::pow(k, 1.5) * std::sqrt(m.fck);
  return std::max(cRdc * k * std::cbrt(100 * ratio * m.fck), vMin) * bw * d;
}

double strutStrengthReduction(double fck) { return 0.6 * (1 - fck / 250.0); }

double strutResistance(double bw, double z, double cotTheta, const Materials& m) {
  return bw * z * strutStrengthReduction(m.fck) * m.fcd / (cotTheta + 1 / cotTheta);
}

std::optional<double> strutCotTheta(double VEd, double bw, double z, const Materials& m) {
  if (VEd <= strutResistance(bw, z, kLargestCotTheta, m)) return kLargestCotTheta;
  // cot + 1/cot = K has its larger root (cot >= 1) where K >= 2.
  const double K = bw * z * strutStrengthReduction(m.fck) * m.fcd / VEd;
  if (K < 2) return std::nullopt;
  return std::clamp((K + std::sqrt(K * K - 4)) / 2, kLeastCotTheta, kLargestCotTheta);
}

double requiredStirrups(double VEd, double z, double cotTheta, double fywd) { return VEd / (z * fywd * cotTheta); }

double stirrupResistance(double stirrupsPerLength, double z, double cotTheta, double fywd) {
  return stirrupsPerLength * z * fywd * cotTheta;
}

double minimumShearRatio(const Materials& m) { return 0.08 * std::sqrt(m.fck) / m.fyk; }

double maximumStirrupSpacing(double d) { return 0.75 * d; }

double maximumLegSpacing(double d) { return std::min(0.75 * d, 600.0); }

double maximumSpacingHoldingCompressionBars(double diameter) { return 15 * diameter; }

}  // namespace armado
