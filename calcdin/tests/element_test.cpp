#include <gtest/gtest.h>

#include <cmath>

#include "calcdin/element.h"
#include "calcdin/tests/fixtures.h"

using namespace common;

using calcdin::BarRecord;
using calcdin::buildElementMatrices;
using fixtures::sampleBar;

namespace {
constexpr double EI = 600.0, L = 4.0;

void expectSymmetric(const Mat6& m) {
  for (int r = 1; r <= 6; ++r)
    for (int c = 1; c <= 6; ++c) EXPECT_DOUBLE_EQ(m[r][c], m[c][r]) << r << "," << c;
}
}  // namespace

TEST(ModalElementStiffness, TypeOneWithoutShearIsTheClassicalBeamMatrix) {
  Mat6 k = buildElementMatrices(sampleBar(1)).stiffness;
  EXPECT_DOUBLE_EQ(k[1][1], 250.0);  // EA/L = 1000/4
  EXPECT_DOUBLE_EQ(k[1][4], -250.0);
  EXPECT_DOUBLE_EQ(k[2][2], 12 * EI / (L * L * L));
  EXPECT_DOUBLE_EQ(k[2][5], -12 * EI / (L * L * L));
  EXPECT_DOUBLE_EQ(k[2][3], 6 * EI / (L * L));
  EXPECT_DOUBLE_EQ(k[5][6], -6 * EI / (L * L));
  EXPECT_DOUBLE_EQ(k[3][3], 4 * EI / L);
  EXPECT_DOUBLE_EQ(k[3][6], 2 * EI / L);
  EXPECT_DOUBLE_EQ(k[1][2], 0.0);
  expectSymmetric(k);
}

TEST(ModalElementStiffness, ShearParameterTwoCancelsTheCarryOverMoment) {
  BarRecord b = sampleBar(1, 1);
  b.G = EI * 6.0 / (b.A * L * L);  // phi = 12EI/(GA L^2) = 2
  Mat6 k = buildElementMatrices(b).stiffness;
  EXPECT_NEAR(k[3][6], 0.0, 1e-12);
  EXPECT_DOUBLE_EQ(k[3][3], 2 * EI / L);
  EXPECT_DOUBLE_EQ(k[2][2], 4 * EI / (L * L * L));
}

TEST(ModalElementStiffness, HingedEndsHaveThreeEiTermsAndEmptyRotationRows) {
  Mat6 k3 = buildElementMatrices(sampleBar(3)).stiffness;
  EXPECT_DOUBLE_EQ(k3[2][2], 3 * EI / (L * L * L));
  EXPECT_DOUBLE_EQ(k3[3][3], 3 * EI / L);
  EXPECT_DOUBLE_EQ(k3[3][5], -3 * EI / (L * L));
  for (int i = 1; i <= 6; ++i) EXPECT_EQ(k3[6][i], 0.0);

  // Hinge at I with shear: 3·kappa·EI/L with kappa = 1/(1+phi), phi = 12EI/(GA L^2) = 7200/6400.
  Mat6 k2 = buildElementMatrices(sampleBar(2, 1)).stiffness;
  const double kappa = 1.0 / (1.0 + 7200.0 / 6400.0);
  EXPECT_DOUBLE_EQ(k2[6][6], 3 * kappa * EI / L);
  EXPECT_DOUBLE_EQ(k2[2][6], 3 * kappa * EI / (L * L));
  for (int i = 1; i <= 6; ++i) EXPECT_EQ(k2[3][i], 0.0);

  Mat6 k4 = buildElementMatrices(sampleBar(4)).stiffness;
  EXPECT_DOUBLE_EQ(k4[1][1], 250.0);
  for (int i = 2; i <= 6; ++i)
    for (int j = 2; j <= 6; ++j) {
      if (i != 4 && j != 4) {
        EXPECT_EQ(k4[i][j], 0.0);
      }
    }
}

TEST(ModalElementStiffness, TransverseReleaseLeavesOnlyTheRelativeRotationStiffness) {
  // Releasing v1 (type 7) or v2 (type 8) of the Bernoulli beam: condensing
  // 12EI/L^3 out leaves EI/L on both rotations, -EI/L between them, and no
  // transverse stiffness at all.
  for (int type : {7, 8}) {
    Mat6 k = buildElementMatrices(sampleBar(type)).stiffness;
    EXPECT_NEAR(k[3][3], EI / L, 1e-9) << type;
    EXPECT_NEAR(k[6][6], EI / L, 1e-9) << type;
    EXPECT_NEAR(k[3][6], -EI / L, 1e-9) << type;
    EXPECT_NEAR(k[2][2], 0.0, 1e-9) << type;
    EXPECT_NEAR(k[5][5], 0.0, 1e-9) << type;
    EXPECT_NEAR(k[3][5], 0.0, 1e-9) << type;
    EXPECT_DOUBLE_EQ(k[1][1], 250.0);
    expectSymmetric(k);
  }
  // The mass is condensed over v1 with the full mass matrix's own pivot.
  Mat6 m = buildElementMatrices(sampleBar(7)).mass;
  const double mt = 8.0;
  EXPECT_EQ(m[2][2], 0.0);
  EXPECT_NEAR(m[5][5], mt * (13.0 / 35 - (9.0 / 70) * (9.0 / 70) / (13.0 / 35)), 1e-12);
}

TEST(ModalElementStiffness, RigidZonesBuildOnTheFlexibleLengthAndMoveToTheNodes) {
  BarRecord b = sampleBar(1);
  b.L = 10.0;
  b.aclx = 0.8;
  b.adlx = 0.1;
  b.ablx = 0.1;
  Mat6 k = buildElementMatrices(b).stiffness;
  const double l = 8.0, a = 1.0;  // flexible length and each rigid zone
  EXPECT_DOUBLE_EQ(k[1][1], 1000.0 / l);
  EXPECT_DOUBLE_EQ(k[2][2], 12 * EI / (l * l * l));
  // Theta at the node moves the flexible end by a: K33 + 2a·K23 + a²·K22.
  EXPECT_DOUBLE_EQ(k[3][3], 4 * EI / l + 2 * a * 6 * EI / (l * l) + a * a * 12 * EI / (l * l * l));
  EXPECT_DOUBLE_EQ(k[2][3], 6 * EI / (l * l) + a * 12 * EI / (l * l * l));
  // The mass is that of the whole length.
  Mat6 m = buildElementMatrices(b).mass;
  EXPECT_DOUBLE_EQ(m[2][2], 13.0 * 20.0 / 35.0);
  EXPECT_DOUBLE_EQ(m[3][3], 20.0 * 100.0 / 105.0);
}

TEST(ModalElementStiffness, RigidBodyMotionOfAnInclinedBarNeedsNoForce) {
  // Any bar type, with shear and rigid zones, on a 3-4-5 slope: translations
  // and a rotation about node I must produce zero nodal forces.
  for (int type : {1, 2, 3, 4, 7, 8}) {
    BarRecord b = sampleBar(type, 1);
    b.L = 5.0;
    b.cos = 0.6;
    b.sin = 0.8;
    b.aclx = 0.7;
    b.adlx = 0.2;
    b.ablx = 0.1;
    Mat6 k = buildElementMatrices(b).stiffness;
    const double motions[3][7] = {{0, 1, 0, 0, 1, 0, 0}, {0, 0, 1, 0, 0, 1, 0}, {0, 0, 0, 1, -4.0, 3.0, 1}};
    for (const auto& u : motions)
      for (int r = 1; r <= 6; ++r) {
        double force = 0;
        for (int c = 1; c <= 6; ++c) force += k[r][c] * u[c];
        EXPECT_NEAR(force, 0.0, 1e-9) << "type " << type << " row " << r;
      }
  }
}

TEST(ModalElementMass, TranslationalAndAxialTermsAddUpToTheBarMass) {
  for (int type : {1, 2, 3, 4}) {
    Mat6 m = buildElementMatrices(sampleBar(type)).mass;
    const double mt = 8.0;
    EXPECT_NEAR(m[2][2] + 2 * m[2][5] + m[5][5], mt, 1e-12) << type;
    EXPECT_NEAR(m[1][1] + 2 * m[1][4] + m[4][4], mt, 1e-12) << type;
    expectSymmetric(m);
  }
  Mat6 m1 = buildElementMatrices(sampleBar(1)).mass;
  EXPECT_DOUBLE_EQ(m1[3][6], -8.0 * 16.0 / 140.0);
  EXPECT_DOUBLE_EQ(m1[2][6], -13.0 * 8.0 * 4.0 / 420.0);
}

TEST(ModalElementAxes, VerticalBarCarriesItsAxialTermsOnTheGlobalVertical) {
  BarRecord b = sampleBar(1);
  b.cos = 0.0;
  b.sin = 1.0;
  calcdin::ElementMatrices e = buildElementMatrices(b);
  EXPECT_DOUBLE_EQ(e.stiffness[2][2], 250.0);
  EXPECT_DOUBLE_EQ(e.stiffness[2][5], -250.0);
  EXPECT_DOUBLE_EQ(e.stiffness[1][1], 12 * EI / (L * L * L));
  EXPECT_DOUBLE_EQ(e.mass[2][2], 8.0 / 3.0);
  EXPECT_DOUBLE_EQ(e.mass[1][1], 13.0 * 8.0 / 35.0);
  // Local transverse at I is minus global x for this bar: the coupling with the
  // rotation changes sign.
  EXPECT_DOUBLE_EQ(e.stiffness[1][3], -6 * EI / (L * L));
}

TEST(ModalElementAxes, UnknownTypeGivesNothing) {
  calcdin::ElementMatrices e = buildElementMatrices(sampleBar(5));
  EXPECT_FALSE(e.knownType);
  for (int r = 1; r <= 6; ++r)
    for (int c = 1; c <= 6; ++c) {
      EXPECT_EQ(e.stiffness[r][c], 0.0);
      EXPECT_EQ(e.mass[r][c], 0.0);
    }
}

TEST(ModalElementMass, RigidRotationAboutAnEndHasTheKineticEnergyOfTheBar) {
  // Turning the bar by a unit angle about node I moves v2 by L and turns both
  // ends (where a rotation is kept); u·M·u must be the bar's m·L³/3 = mt·L²/3.
  // Types 2 and 3 are mirror images; for type 2 this fixes the sign of (5,6).
  const double expected = 8.0 * 16.0 / 3.0;
  for (int type : {1, 2, 3, 4}) {
    Mat6 m = buildElementMatrices(sampleBar(type)).mass;
    const double aboutI[7] = {0, 0, 0, 1, 0, L, 1};
    const double aboutJ[7] = {0, 0, -L, 1, 0, 0, 1};
    for (const double* u : {aboutI, aboutJ}) {
      double energy = 0;
      for (int r = 1; r <= 6; ++r)
        for (int c = 1; c <= 6; ++c) energy += u[r] * m[r][c] * u[c];
      EXPECT_NEAR(energy, expected, 1e-12) << "type " << type;
    }
  }
  Mat6 m2 = buildElementMatrices(sampleBar(2)).mass, m3 = buildElementMatrices(sampleBar(3)).mass;
  EXPECT_DOUBLE_EQ(m2[5][6], -m3[2][3]);
  EXPECT_DOUBLE_EQ(m2[2][6], -m3[3][5]);
  EXPECT_DOUBLE_EQ(m2[6][6], m3[3][3]);
  EXPECT_DOUBLE_EQ(m2[2][2], m3[5][5]);
}
