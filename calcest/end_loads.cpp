// Equivalent end loads of one bar load, per bar type: what the load gives at the
// restrained ends I and J, in local axes.
#include "calcest/end_loads.h"

namespace calcest {

using namespace common;

namespace {

Vec6 withoutAxialParts(const EndShearsMoments& e) {
  Vec6 eq{};
  eq[2] = e.VI;
  eq[3] = e.MI;
  eq[5] = e.VJ;
  eq[6] = e.MJ;
  return eq;
}

// Uniform load on the shear-released bars: the guided end carries no shear.
Vec6 uniformOnShearReleased(int barType, double q, double a, double c, double b) {
  const double L = a + c + b;
  const double X = 3 * c * L * L - 6 * c * L * a - 3 * L * c * c + 3 * (a * c * c + c * a * a) + c * c * c;
  const double Y = 3 * c * L * L - 6 * c * L * b - 3 * L * c * c + 3 * (b * c * c + c * b * b) + c * c * c;
  Vec6 eq{};
  if (barType == 7) {
    eq[5] = q * c;
    eq[3] = -q * X / (6 * L);
    eq[6] = q * X / (6 * L) - c * q * (c / 2 + b);
  } else {
    eq[2] = q * c;
    eq[6] = q * Y / (6 * L);
    eq[3] = c * q * (c / 2 + a) - q * Y / (6 * L);
  }
  return eq;
}

// Uniform load on a fixed-ended bar, the commonest case, in closed form (the
// integral of distributedEndLoads gives the same values to rounding).
EndShearsMoments uniformOnFixedBar(double qt, double a, double c, double b) {
  const double L = a + c + b;
  EndShearsMoments total;
  const double L2 = L * L, L3 = L2 * L, L4 = L2 * L2;
  const double a2 = a * a, a3 = a2 * a, a4 = a2 * a2, b2 = b * b, b3 = b2 * b, b4 = b2 * b2;
  total.VI = qt / L3 * ((b4 + L4 - 2 * b3 * L) / 2 - (L3 * a - L * a3 + a4 / 2));
  total.VJ = qt / L3 * ((L4 + a4 - 2 * L * a3) / 2 - (L3 * b - b3 * L + b4 / 2));
  total.MI = qt / L2 * ((L4 + 3 * b4 - 4 * b3 * L) - (3 * a4 + 6 * L2 * a2 - 8 * L * a3)) / 12;
  total.MJ = -qt / L2 * ((L4 + 3 * a4 - 4 * L * a3) - (3 * b4 + 6 * L2 * b2 - 8 * b3 * L)) / 12;
  return total;
}

// Three-point Gauss-Legendre rule on [-1, 1]: exact for polynomials of degree
// five, and every integrand below (a point-force row times a linear intensity)
// has degree four at most.
constexpr double kGaussPoint = 0.7745966692414834;  // sqrt(3/5)
constexpr double kGaussNodes[3] = {-kGaussPoint, 0.0, kGaussPoint};
constexpr double kGaussWeights[3] = {5.0 / 9.0, 8.0 / 9.0, 5.0 / 9.0};

}  // namespace

EndShearsMoments pointForceEndLoads(int barType, double P, double a, double b) {
  const double L = a + b, L2 = L * L, L3 = L2 * L;
  EndShearsMoments e;
  switch (barType) {
    case 1:
      e.VI = P * b * b * (3 * a + b) / L3;
      e.MI = P * a * b * b / L2;
      e.VJ = P * a * a * (a + 3 * b) / L3;
      e.MJ = -P * a * a * b / L2;
      break;
    case 2:
      e.VI = P * b * b * (3 * L - b) / (2 * L3);
      e.VJ = P * a * (3 * L2 - a * a) / (2 * L3);
      e.MJ = -P * a * (L2 - a * a) / (2 * L2);
      break;
    case 3:
      e.VI = P * b * (3 * L2 - b * b) / (2 * L3);
      e.MI = P * b * (L2 - b * b) / (2 * L2);
      e.VJ = P * a * a * (3 * L - a) / (2 * L3);
      break;
    case 4:
      e.VI = P * b / L;
      e.VJ = P * a / L;
      break;
    case 5:
      e.VJ = P;
      e.MJ = -P * b;
      break;
    case 6:
      e.VI = P;
      e.MI = P * a;
      break;
    case 7:
      // The transverse force all goes to J; the moments are those of a beam
      // guided at I and fixed at J, with the same local force as the shear.
      e.MI = -P * b * b / (2 * L);
      e.VJ = P;
      e.MJ = -P * (L2 - a * a) / (2 * L);
      break;
    case 8:
      e.VI = P;
      e.MI = P * (L2 - b * b) / (2 * L);
      e.MJ = P * a * a / (2 * L);
      break;
    default: break;  // type 0: diagrams only
  }
  return e;
}

EndShearsMoments distributedEndLoads(int barType, int ltype, double qt, double a, double c, double b) {
  const double L = a + c + b;
  EndShearsMoments total;
  if (c == 0.0) return total;  // nothing loaded (and the triangles' slope is undefined)
  const double half = c / 2, middle = a + c / 2;
  for (int i = 0; i < 3; ++i) {
    const double s = middle + half * kGaussNodes[i];  // distance from I
    const double d = s - a;
    double intensity = qt;
    if (ltype == kRising) intensity = qt * d / c;
    if (ltype == kFalling) intensity = qt * (1 - d / c);
    const EndShearsMoments row = pointForceEndLoads(barType, intensity, s, L - s);
    const double weight = kGaussWeights[i] * half;
    total.VI += weight * row.VI;
    total.MI += weight * row.MI;
    total.VJ += weight * row.VJ;
    total.MJ += weight * row.MJ;
  }
  return total;
}

SimpleSplit simpleBeamSplit(int barType, int ltype, double q, double a, double c, double b, double L) {
  double resultant = ltype == kPointForce ? q : ltype == kUniform ? q * c : q * c / 2.0;
  SimpleSplit s;
  if (barType == 5) {
    s.RJ = resultant;
  } else if (barType == 6) {
    s.RI = resultant;
  } else if (ltype == kPointForce) {
    s.RI = q * c / L;
    s.RJ = q * a / L;
  } else if (ltype == kUniform) {
    s.RI = c * q * (c + 2 * b) / (2 * L);
    s.RJ = c * q * (c + 2 * a) / (2 * L);
  } else if (ltype == kRising) {
    s.RI = c * q * (c + 3 * b) / (6 * L);
    s.RJ = c * q * (2 * c + 3 * a) / (6 * L);
  } else {
    s.RI = c * q * (2 * c + 3 * b) / (6 * L);
    s.RJ = c * q * (c + 3 * a) / (6 * L);
  }
  return s;
}

Vec6 pointMomentVector(int barType, double M, double a, double b) {
  const double L = a + b, L2 = L * L, L3 = L2 * L;
  Vec6 eq{};
  switch (barType) {
    case 1:
      eq[2] = 6 * a * b * M / L3;
      eq[3] = 4 * a * M / L - 3 * a * a * M / L2 - M;
      eq[5] = -6 * a * b * M / L3;
      eq[6] = 2 * a * M / L - 3 * a * a * M / L2;
      break;
    case 2:
      eq[2] = 3 * (L2 - a * a) * M / (2 * L3);
      eq[5] = -3 * (L2 - a * a) * M / (2 * L3);
      eq[6] = M * (1.5 * (1 - a * a / L2) - 1);
      break;
    case 3:
      eq[2] = 3 * (L2 - b * b) * M / (2 * L3);
      eq[3] = M * (1.5 * (1 - b * b / L2) - 1);
      eq[5] = -3 * (L2 - b * b) * M / (2 * L3);
      break;
    case 4:
      eq[2] = M / L;
      eq[5] = -M / L;
      break;
    case 5: eq[6] = -M; break;
    case 6: eq[3] = -M; break;
    default: break;  // type 0: diagrams only
  }
  return eq;
}

Vec6 temperatureVector(const BarInput& bar, double T) {
  Vec6 eq{};
  if (bar.type < 1 || bar.type > 4) return eq;
  eq[1] = bar.A * bar.alpha * bar.E * T;
  eq[4] = -eq[1];
  const double moment = T * bar.I * bar.alpha * bar.E / bar.h;
  // With one end hinged the restrained bar needs a pair of end shears to balance
  // its single end moment; without them the loads would not be self-equilibrated.
  if (bar.type == 1) {
    eq[3] = -moment;
    eq[6] = moment;
  } else if (bar.type == 2) {
    eq[6] = 1.5 * moment;
    eq[2] = eq[6] / bar.L;
    eq[5] = -eq[2];
  } else if (bar.type == 3) {
    eq[3] = -1.5 * moment;
    eq[2] = eq[3] / bar.L;
    eq[5] = -eq[2];
  }
  return eq;
}

// Shears and moments of a force load from its intensity across the bar (the
// shear-released bars too: their moments must follow the same force as their shear).
Vec6 forceLoadVector(int barType, int ltype, double qt, double a, double c, double b) {
  if (barType == 0) return Vec6{};
  if (ltype == kPointForce) return withoutAxialParts(pointForceEndLoads(barType, qt, a, c));
  if (barType == 7 || barType == 8) return uniformOnShearReleased(barType, qt, a, c, b);
  if (barType == 1 && ltype == kUniform) return withoutAxialParts(uniformOnFixedBar(qt, a, c, b));
  return withoutAxialParts(distributedEndLoads(barType, ltype, qt, a, c, b));
}

}  // namespace calcest
