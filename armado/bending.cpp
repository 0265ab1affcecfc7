#include "armado/bending.h"

#include <algorithm>
#include <cmath>

namespace armado {

BendingSteel requiredBendingSteel(double M, double b, double d, double d2, const Materials& m) {
  BendingSteel steel;
  if (M <= 0) return steel;
  const double strength = kBlockStrengthFactor * m.fcd;
  const double mu = M / (b * d * d * strength);
  const double limitBlock = kBlockDepthFactor * kDuctilityDepthRatio;  // block depth / d at the limit
  const double muLimit = limitBlock * (1 - limitBlock / 2);
  if (mu <= muLimit) {
    const double block = 1 - std::sqrt(1 - 2 * mu);  // block depth / d
    steel.tension = strength * b * block * d / m.fyd;
    steel.depthRatio = block / kBlockDepthFactor;
    return steel;
  }
  const double x = kDuctilityDepthRatio * d;
  const double compressionStress = std::min(m.fyd, m.Es * kUltimateConcreteStrain * (x - d2) / x);
  steel.depthRatio = kDuctilityDepthRatio;
  if (compressionStress <= 0 || d2 >= d) {
    steel.feasible = false;
    return steel;
  }
  const double rest = M - muLimit * b * d * d * strength;
  steel.compression = rest / ((d - d2) * compressionStress);
  steel.tension = (strength * b * limitBlock * d + steel.compression * compressionStress) / m.fyd;
  return steel;
}

double minimumTensionSteel(double b, double d, const Materials& m) {
  return std::max(0.26 * m.fctm / m.fyk * b * d, 0.0013 * b * d);
}

double maximumSteel(double b, double h) { return 0.04 * b * h; }

namespace {

// Resultant of the concrete (compression, N) and its depth below the
// compressed face for a neutral axis x.
struct ConcreteForce {
  double force = 0, depth = 0;
};

ConcreteForce concreteForce(double b, double x, const Materials& m, ConcreteModel model) {
  if (model == ConcreteModel::rectangularBlock)
    return {kBlockStrengthFactor * m.fcd * b * kBlockDepthFactor * x, kBlockDepthFactor * x / 2};
  // Parabola to eps_c2 then constant to eps_cu2: the area and centroid of the
  // diagram over x in closed form.
  const double r = kParabolaPeakStrain / kUltimateConcreteStrain;
  const double fill = 1 - r / 3;                      // 17/21
  const double centroid = (0.5 - r * r / 12) / fill;  // from the neutral axis, over x
  return {fill * m.fcd * b * x, (1 - centroid) * x};
}

double steelStress(double strain, const Materials& m) { return std::clamp(m.Es * strain, -m.fyd, m.fyd); }

// Compression positive: the concrete's force and the bars' forces for x.
double axialForce(double b, double x, const std::vector<SteelLayer>& layers, const Materials& m, ConcreteModel model) {
  double force = concreteForce(b, x, m, model).force;
  for (const SteelLayer& layer : layers)
    force += layer.area * steelStress(kUltimateConcreteStrain * (x - layer.depth) / x, m);
  return force;
}

}  // namespace

Resistance momentResistance(double b, const std::vector<SteelLayer>& layers, const Materials& m, ConcreteModel model) {
  double deepest = 0;
  for (const SteelLayer& layer : layers)
    if (layer.area > 0) deepest = std::max(deepest, layer.depth);
  if (deepest <= 0) return {};
  // The axial force grows with x: negative near x = 0 (the bars in tension),
  // positive at the deepest bar (every bar compressed). Bisection to zero.
  double low = 1e-9 * deepest, high = deepest;
  for (int i = 0; i < 100 && high - low > 1e-10 * deepest; ++i) {
    const double mid = (low + high) / 2;
    (axialForce(b, mid, layers, m, model) < 0 ? low : high) = mid;
  }
  const double x = (low + high) / 2;
  // Moment about the compressed face of the forces, tension giving a positive
  // moment.
  const ConcreteForce c = concreteForce(b, x, m, model);
  double moment = -c.force * c.depth;
  for (const SteelLayer& layer : layers)
    moment -= layer.area * steelStress(kUltimateConcreteStrain * (x - layer.depth) / x, m) * layer.depth;
  return {std::max(0.0, moment), x};
}

double designMomentResistance(double b, const std::vector<SteelLayer>& layers, const Materials& m) {
  return std::min(momentResistance(b, layers, m, ConcreteModel::rectangularBlock).moment,
                  momentResistance(b, layers, m, ConcreteModel::parabolaRectangle).moment);
}

}  // namespace armado
