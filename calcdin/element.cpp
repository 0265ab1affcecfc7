#include "calcdin/element.h"

namespace calcdin {

using namespace common;

namespace {

// The bending terms of a bar with one end's rotation released: the other
// end's rotation `held` (3 at I, 6 at J) and both deflections.
void setOneRotationHeld(Mat6& k, int held, double kappa, double EI1, double EI2, double EI3) {
  setSymmetric(k, 2, 2, 3.0 * kappa * EI3);
  setSymmetric(k, 5, 5, 3.0 * kappa * EI3);
  setSymmetric(k, 2, 5, -3.0 * kappa * EI3);
  setSymmetric(k, 2, held, 3.0 * kappa * EI2);
  setSymmetric(k, 5, held, -3.0 * kappa * EI2);
  setSymmetric(k, held, held, 3.0 * kappa * EI1);
}

}  // namespace

Mat6 closedFormStiffness(const BarRecord& bar, int type) {
  const double Lc = bar.aclx * bar.L;
  const double EA = bar.E * bar.A / Lc;
  const double EI1 = bar.E * bar.I / Lc;
  const double EI2 = bar.E * bar.I / (Lc * Lc);
  const double EI3 = bar.E * bar.I / (Lc * Lc * Lc);
  const double phi = bar.shear != 0 ? 12.0 * bar.E * bar.I / (bar.G * bar.A * Lc * Lc) : 0.0;
  const double kappa = 1.0 / (1.0 + phi);

  Mat6 k{};
  setSymmetric(k, 1, 1, EA);
  setSymmetric(k, 4, 4, EA);
  setSymmetric(k, 1, 4, -EA);
  switch (type) {
    case 1:
      setSymmetric(k, 2, 2, 12.0 * kappa * EI3);
      setSymmetric(k, 5, 5, 12.0 * kappa * EI3);
      setSymmetric(k, 2, 5, -12.0 * kappa * EI3);
      setSymmetric(k, 2, 3, 6.0 * kappa * EI2);
      setSymmetric(k, 2, 6, 6.0 * kappa * EI2);
      setSymmetric(k, 3, 5, -6.0 * kappa * EI2);
      setSymmetric(k, 5, 6, -6.0 * kappa * EI2);
      setSymmetric(k, 3, 3, (4.0 + phi) * kappa * EI1);
      setSymmetric(k, 6, 6, (4.0 + phi) * kappa * EI1);
      setSymmetric(k, 3, 6, (2.0 - phi) * kappa * EI1);
      break;
    case 2:  // rotation released at I
      setOneRotationHeld(k, 6, kappa, EI1, EI2, EI3);
      break;
    case 3:  // rotation released at J
      setOneRotationHeld(k, 3, kappa, EI1, EI2, EI3);
      break;
    default:  // 4: both rotations released, axial terms only
      break;
  }
  return k;
}

Mat6 consistentMass(const BarRecord& bar, int type) {
  const double L = bar.L;
  const double mt = bar.m * L;
  Mat6 m{};
  setSymmetric(m, 1, 1, mt / 3.0);
  setSymmetric(m, 4, 4, mt / 3.0);
  setSymmetric(m, 1, 4, mt / 6.0);
  switch (type) {
    case 1:
      setSymmetric(m, 2, 2, 13.0 * mt / 35.0);
      setSymmetric(m, 5, 5, 13.0 * mt / 35.0);
      setSymmetric(m, 2, 5, 9.0 * mt / 70.0);
      setSymmetric(m, 2, 3, 11.0 * mt * L / 210.0);
      setSymmetric(m, 2, 6, -13.0 * mt * L / 420.0);
      setSymmetric(m, 3, 5, 13.0 * mt * L / 420.0);
      setSymmetric(m, 5, 6, -11.0 * mt * L / 210.0);
      setSymmetric(m, 3, 3, mt * L * L / 105.0);
      setSymmetric(m, 6, 6, mt * L * L / 105.0);
      setSymmetric(m, 3, 6, -mt * L * L / 140.0);
      break;
    case 2:
      setSymmetric(m, 2, 2, 33.0 * mt / 140.0);
      setSymmetric(m, 5, 5, 17.0 * mt / 35.0);
      setSymmetric(m, 2, 5, 39.0 * mt / 280.0);
      setSymmetric(m, 2, 6, -11.0 * mt * L / 280.0);
      // Mirror image of type 3: the coupling of v2 with th2 is negative, as for
      // type 1; a positive value would make the matrix indefinite.
      setSymmetric(m, 5, 6, -3.0 * mt * L / 35.0);
      setSymmetric(m, 6, 6, 2.0 * mt * L * L / 105.0);
      break;
    case 3:
      setSymmetric(m, 2, 2, 17.0 * mt / 35.0);
      setSymmetric(m, 5, 5, 33.0 * mt / 140.0);
      setSymmetric(m, 2, 5, 39.0 * mt / 280.0);
      setSymmetric(m, 2, 3, 3.0 * mt * L / 35.0);
      setSymmetric(m, 3, 5, 11.0 * mt * L / 280.0);
      setSymmetric(m, 3, 3, 2.0 * mt * L * L / 105.0);
      break;
    default:  // 4
      setSymmetric(m, 2, 2, mt / 3.0);
      setSymmetric(m, 5, 5, mt / 3.0);
      setSymmetric(m, 2, 5, mt / 6.0);
      break;
  }
  return m;
}

Mat6 withRigidZones(const Mat6& stiffness, double ai, double aj) {
  const Mat6 C = rigidZoneMatrix(ai, aj);
  return multiply(multiply(transpose(C), stiffness), C);
}

Mat6 toGlobalAxes(const Mat6& local, double c, double s) {
  const Mat6 T = rotationMatrix(c, s);
  return multiply(multiply(transpose(T), local), T);
}

ElementMatrices buildElementMatrices(const BarRecord& bar) {
  ElementMatrices out;
  Mat6 stiffness{}, mass{};
  switch (bar.type) {
    case 1:
    case 2:
    case 3:
    case 4:
      stiffness = closedFormStiffness(bar, bar.type);
      mass = consistentMass(bar, bar.type);
      break;
    case 7:
    case 8: {
      // Transverse release at I (7) or J (8): condensed from the full matrices.
      const int released = bar.type == 7 ? 2 : 5;
      Mat6 full = closedFormStiffness(bar, 1);
      Mat6 fullMass = consistentMass(bar, 1);
      stiffness = condenseDirection(full, released, full[released][released]);
      mass = condenseDirection(fullMass, released, fullMass[released][released]);
      break;
    }
    default: return out;
  }
  out.knownType = true;
  // Rigid zones move the flexible part's stiffness to the node centres; the mass
  // already spans the whole length.
  stiffness = withRigidZones(stiffness, bar.adlx * bar.L, bar.ablx * bar.L);
  out.stiffness = toGlobalAxes(stiffness, bar.cos, bar.sin);
  out.mass = toGlobalAxes(mass, bar.cos, bar.sin);
  return out;
}

}  // namespace calcdin
