// The rules against values worked out by hand (HA-25, B500S, a 300 x 600
// section with d = 550 mm unless said otherwise), in N and mm.
#include <gtest/gtest.h>

#include <cmath>

#include "armado/bending.h"
#include "armado/detailing.h"
#include "armado/materials.h"
#include "armado/shear.h"

namespace armado {
namespace {

Materials ha25b500() { return materialsOf(*concreteNamed("HA-25"), *steelNamed("B500S"), SafetyFactors{}); }

TEST(Materials, NamesGiveTheCharacteristicStrengths) {
  EXPECT_EQ(concreteNamed("HA-30")->fck, 30);
  EXPECT_EQ(concreteNamed("HA-50")->fck, 50);
  EXPECT_FALSE(concreteNamed("HA-55"));
  EXPECT_FALSE(concreteNamed("HA-27"));
  EXPECT_EQ(steelNamed("B400S")->fyk, 400);
  EXPECT_FALSE(steelNamed("B500SD"));
}

TEST(Materials, DesignValuesOfHa25AndB500s) {
  const Materials m = ha25b500();
  EXPECT_NEAR(m.fcd, 25 / 1.5, 1e-9);
  EXPECT_NEAR(m.fctm, 2.5650, 1e-4);  // 0.3 * 25^(2/3)
  EXPECT_NEAR(m.fctd, 1.1970, 1e-4);  // 0.7 * 2.565 / 1.5
  EXPECT_NEAR(m.Ecm, 31476, 1);       // 22000 * 3.3^0.3
  EXPECT_NEAR(m.fyd, 434.78, 0.01);
}

// 200 kN m: mu = 2e8 / (300 * 550^2 * 16.667) = 0.13223, block depth
// 1 - sqrt(1 - 2 mu) = 0.14236 d, As = 16.667 * 300 * 0.14236 * 550 / 434.78.
TEST(Bending, StressBlockGivesTheHandWorkedArea) {
  const BendingSteel s = requiredBendingSteel(2e8, 300, 550, 50, ha25b500());
  EXPECT_NEAR(s.tension, 900.46, 0.01);
  EXPECT_EQ(s.compression, 0);
  EXPECT_NEAR(s.depthRatio, 0.17796, 1e-5);
}

// 500 kN m passes mu_lim = 0.36 (1 - 0.18) = 0.2952 (Mlim = 446.49 kN m):
// x = 0.45 d = 247.5, the compression bars at 50 mm yield (2.79 per mille),
// As2 = 53.51e6 / (500 * 434.78), As1 = (16.667 * 300 * 0.36 * 550 + As2 fyd) / fyd.
TEST(Bending, CompressionSteelAppearsPastTheDuctilityLimit) {
  const BendingSteel s = requiredBendingSteel(5e8, 300, 550, 50, ha25b500());
  EXPECT_NEAR(s.compression, 246.15, 0.01);
  EXPECT_NEAR(s.tension, 2523.15, 0.01);
  EXPECT_NEAR(s.depthRatio, 0.45, 1e-12);
  // Compression bars deeper than the limit's neutral axis would not be compressed.
  EXPECT_FALSE(requiredBendingSteel(5e8, 300, 550, 260, ha25b500()).feasible);
}

TEST(Bending, MinimumAndMaximumAreas) {
  EXPECT_NEAR(minimumTensionSteel(300, 550, ha25b500()), 220.07, 0.01);  // 0.26 * 2.565 / 500 * 300 * 550
  // B400S: 0.26 fctm / fyk = 0.00167 > 0.0013 as well; HA-25 with fyk 600 would take 0.0013.
  EXPECT_NEAR(maximumSteel(300, 600), 7200, 1e-9);
}

// The resistance by compatibility of the areas the block asked for: the block
// gives the moment back; the parabola-rectangle's deeper centroid gives a
// little less: x = T / (17/21 fcd b) = 96.72 mm, M = T (550 - 0.41597 x).
TEST(Bending, ResistanceOfTheDesignedBarsByBothDiagrams) {
  const Materials m = ha25b500();
  const std::vector<SteelLayer> single = {{900.4608, 550}};
  EXPECT_NEAR(momentResistance(300, single, m, ConcreteModel::rectangularBlock).moment, 2e8, 2e8 * 1e-6);
  EXPECT_NEAR(momentResistance(300, single, m, ConcreteModel::parabolaRectangle).moment, 1.995757e8, 1e3);
  EXPECT_NEAR(designMomentResistance(300, single, m), 1.995757e8, 1e3);
  const std::vector<SteelLayer> doubly = {{2523.146, 550}, {246.146, 50}};
  EXPECT_NEAR(momentResistance(300, doubly, m, ConcreteModel::rectangularBlock).moment, 5e8, 5e8 * 1e-6);
  EXPECT_NEAR(momentResistance(300, doubly, m, ConcreteModel::rectangularBlock).neutralAxis, 247.5, 1e-3);
}

TEST(Shear, ConcreteResistanceWithThreeBarsOf20) {
  // k = 1 + sqrt(200/550) = 1.603, rho = 942.5 / 165000, 0.12 k (100 rho 25)^(1/3) = 0.4667 MPa.
  EXPECT_NEAR(concreteShearResistance(300, 550, 3 * barArea(20), ha25b500()), 77004, 1);
  // Without anchored bars the floor vmin = 0.035 k^1.5 sqrt(fck) holds.
  EXPECT_NEAR(concreteShearResistance(300, 550, 0, ha25b500()), 58605, 1);
}

TEST(Shear, StrutAndStirrups) {
  const Materials m = ha25b500();
  const double z = shearLeverArm(550);  // 495
  // 300 * 495 * 0.54 * 16.667 / (2.5 + 0.4) and / 2.
  EXPECT_NEAR(strutResistance(300, z, 2.5, m), 460862, 1);
  EXPECT_NEAR(strutResistance(300, z, 1.0, m), 668250, 1);
  EXPECT_EQ(*strutCotTheta(400e3, 300, z, m), 2.5);
  // 600 kN: cot + tan = 1336500 / 600000 = 2.2275, cot = 1.6041.
  EXPECT_NEAR(*strutCotTheta(600e3, 300, z, m), 1.60410, 1e-5);
  EXPECT_NEAR(strutResistance(300, z, *strutCotTheta(600e3, 300, z, m), m), 600e3, 1e-3);
  EXPECT_FALSE(strutCotTheta(669e3, 300, z, m));
  EXPECT_NEAR(requiredStirrups(300e3, z, 2.5, m.fyd), 0.55758, 1e-5);
  EXPECT_NEAR(stirrupResistance(0.55758, z, 2.5, m.fyd), 300e3, 10);
  EXPECT_NEAR(minimumShearRatio(m), 0.0008, 1e-12);
  EXPECT_NEAR(maximumStirrupSpacing(550), 412.5, 1e-12);
  EXPECT_NEAR(maximumLegSpacing(900), 600, 1e-12);
}

TEST(Anchorage, DesignLengthsOfABarOf16) {
  const Materials m = ha25b500();
  // fbd = 2.25 * 1.197 = 2.693 (good) and x0.7 (poor): lb,rqd = 4 * 434.78 / fbd.
  EXPECT_NEAR(designAnchorageLength(16, m.fyd, true, m), 645.75, 0.01);
  EXPECT_NEAR(designAnchorageLength(16, m.fyd, false, m), 922.49, 0.01);
  // A small stress leaves lb,min = max(0.3 lb,rqd, 10 diameters, 100 mm).
  EXPECT_NEAR(designAnchorageLength(16, 50, true, m), 160, 1e-9);
  EXPECT_NEAR(designAnchorageLength(8, 50, true, m), 100, 1e-9);
  EXPECT_TRUE(goodBond(false, 600));
  EXPECT_FALSE(goodBond(true, 600));
  EXPECT_TRUE(goodBond(true, 250));
  EXPECT_NEAR(shiftLength(495, 2.5), 618.75, 1e-12);
}

TEST(Spacing, ClearSpacingAndCrackTable) {
  EXPECT_EQ(minimumClearSpacing(16, 20), 25);
  EXPECT_EQ(minimumClearSpacing(32, 20), 32);
  EXPECT_EQ(minimumClearSpacing(10, 12), 20);
  // Table 7.3N between its rows, wk = 0.3: 208.18 MPa -> 239.8 mm, 167.09 -> 291.1.
  EXPECT_NEAR(*crackSpacingLimit(208.18, 0.3), 239.775, 1e-3);
  EXPECT_NEAR(*crackSpacingLimit(167.09, 0.3), 291.1375, 1e-3);
  EXPECT_EQ(*crackSpacingLimit(100, 0.4), 300);
  EXPECT_EQ(*crackSpacingLimit(280, 0.2), 50);
  EXPECT_FALSE(crackSpacingLimit(290, 0.2));
  EXPECT_EQ(*crackSpacingLimit(360, 0.4), 100);
  EXPECT_FALSE(crackSpacingLimit(361, 0.4));
  EXPECT_EQ(*crackWidthLimit("XC1"), 0.4);
  EXPECT_EQ(*crackWidthLimit("XC3"), 0.3);
  EXPECT_EQ(*crackWidthLimit("XS1"), 0.2);
  EXPECT_FALSE(crackWidthLimit("XF1"));
}

// 100 kN m on 3 bars of 20 at d = 550: n = 6.354, x from b x^2 / 2 = n As
// (d - x) = 129.56 mm, sigma = M / (As (d - x/3)).
TEST(Spacing, CrackedSteelStress) {
  EXPECT_NEAR(crackedSteelStress(1e8, 300, 550, 3 * barArea(20), 0, 0, ha25b500()), 209.354, 1e-3);
  EXPECT_NEAR(crackingMoment(300, 600, ha25b500()), 2.565 * 300 * 600 * 600 / 6, 1e3);
}

TEST(Rounding, LengthsUpAndSpacingsDown) {
  EXPECT_EQ(roundUpToStep(4301, kLengthStep), 4350);
  EXPECT_EQ(roundUpToStep(4350, kLengthStep), 4350);
  EXPECT_EQ(roundDownToStep(174, kSpacingStep), 150);
  EXPECT_EQ(roundDownToStep(175, kSpacingStep), 175);
}

}  // namespace
}  // namespace armado
