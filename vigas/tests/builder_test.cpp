// The new-beam builder: the beam it makes, analysed, against the three-moment
// equation worked by hand; its materials against the standards' values; the
// choices it refuses.
#include <gtest/gtest.h>

#include <cmath>

#include "vigas/analysis.h"
#include "vigas/checks.h"
#include "vigas/tests/test_beams.h"

using namespace vigas;
using namespace vigastest;

namespace {

// Support moments (sagging positive) of spans L1, L2, L3 under a uniform q,
// pinned at the left end, with a cantilever of length c past the right end
// support: M_A = 0, M_D = -q c²/2 and, at B and C, Clapeyron's equation
//   M_{i-1} L_i + 2 M_i (L_i + L_{i+1}) + M_{i+1} L_{i+1} = -q (L_i³ + L_{i+1}³) / 4.
struct SupportMoments {
  double A, B, C, D;
};
SupportMoments threeMoments(double L1, double L2, double L3, double c, double q) {
  const double MD = -q * c * c / 2;
  const double a11 = 2 * (L1 + L2), a12 = L2, b1 = -q * (L1 * L1 * L1 + L2 * L2 * L2) / 4;
  const double a21 = L2, a22 = 2 * (L2 + L3), b2 = -q * (L2 * L2 * L2 + L3 * L3 * L3) / 4 - MD * L3;
  const double det = a11 * a22 - a12 * a21;
  return {0.0, (b1 * a22 - a12 * b2) / det, (a11 * b2 - a21 * b1) / det, MD};
}

}  // namespace

TEST(Builder, ThreeSpansWithAnOverhangGiveTheReactionsOfTheThreeMomentEquation) {
  const Content beam = threeSpanBeam();
  ASSERT_TRUE(checkContent(beam).empty());
  const double L1 = 6, L2 = 8, L3 = 5, c = 2;
  for (int loadCase : {0, 1}) {
    const double q = loadCase == 0 ? 10.0 : 5.0;
    const SupportMoments M = threeMoments(L1, L2, L3, c, q);
    // Each span's share: q L / 2 plus the difference of its end moments over L.
    const double expected[] = {q * L1 / 2 + (M.B - M.A) / L1, q * (L1 + L2) / 2 + (M.A - M.B) / L1 + (M.C - M.B) / L2,
                               q * (L2 + L3) / 2 + (M.B - M.C) / L2 + (M.D - M.C) / L3,
                               q * L3 / 2 + (M.C - M.D) / L3 + q * c};
    const CaseResults results = analyseCase(beam, loadCase);
    ASSERT_EQ(results.error, "");
    ASSERT_EQ(results.reactions.size(), 4u);
    for (size_t k = 0; k < 4; ++k) {
      // Rigid supports are penalty springs: they yield by about a millionth.
      EXPECT_NEAR(results.reactions[k].Ry, expected[k], 1e-5 * q * (L1 + L2 + L3 + c)) << "support " << k + 1;
      EXPECT_NEAR(results.reactions[k].Rx, 0.0, 1e-9);
    }
  }
}

namespace {

// A beam of the given spans and supports, the three-span beam's section and
// material (EI = 3e7 * 0.3 * 0.6^3 / 12), no overhang.
BeamChoices beamOf(std::vector<double> spans, std::vector<SupportChoice> supports) {
  BeamChoices c = threeSpanChoices();
  c.spans = std::move(spans);
  c.rightOverhang = 0;
  c.supports = std::move(supports);
  return c;
}

constexpr double kEI = 3e7 * 0.3 * 0.6 * 0.6 * 0.6 / 12;
constexpr double kSpringStiffness = 1e4;
// Two spans of 5 m, a spring under the middle: the midspan sag of the 10 m
// span under q, 5 q (10)^4 / 384 EI, shared between the spring and the beam's
// own stiffness against a point load, 48 EI / 10^3.
const double kSpringShare = (5 * 1e4 / (384 * kEI)) / (1 / kSpringStiffness + 1e3 / (48 * kEI));

struct ClosedForm {
  const char* what;
  BeamChoices choices;
  int loadCase;
  double q;                // the load of the case, per metre
  std::vector<double> Ry;  // the reactions, in multiples of q
  double firstMoment;      // the first support's moment M, in multiples of q
};

const SupportChoice kPin{SupportKind::pinned, 0}, kRoller{SupportKind::roller, 0}, kFixed{SupportKind::fixed, 0},
    kSpring{SupportKind::spring, kSpringStiffness};

const ClosedForm kClosedForms[] = {
    // 3/8 qL, 10/8 qL, 3/8 qL.
    {"two equal spans", beamOf({5, 5}, {kPin, kRoller, kRoller}), 0, 10, {15.0 / 8, 50.0 / 8, 15.0 / 8}, 0},
    {"two equal spans, variable case",
     beamOf({5, 5}, {kPin, kRoller, kRoller}),
     1,
     5,
     {15.0 / 8, 50.0 / 8, 15.0 / 8},
     0},
    // Propped cantilever: 5/8 qL at the fixed end, 3/8 qL at the roller, and
    // the wall's qL²/8 counter-clockwise, which calcest gives with the sign of
    // the turn it holds back (clockwise): -qL²/8.
    {"fixed and roller", beamOf({6}, {kFixed, kRoller}), 0, 10, {30.0 / 8, 18.0 / 8}, -36.0 / 8},
    {"spring in the middle",
     beamOf({5, 5}, {kPin, kSpring, kRoller}),
     0,
     10,
     {5 - kSpringShare / 2, kSpringShare, 5 - kSpringShare / 2},
     0},
};

}  // namespace

TEST(Builder, ReactionsAreThoseOfClosedFormBeamTheory) {
  for (const ClosedForm& c : kClosedForms) {
    const Content beam = buildContinuousBeam(c.choices).content;
    ASSERT_TRUE(checkContent(beam).empty()) << c.what;
    const CaseResults results = analyseCase(beam, c.loadCase);
    ASSERT_EQ(results.error, "") << c.what;
    ASSERT_EQ(results.reactions.size(), c.Ry.size()) << c.what;
    const double tolerance = 1e-5 * c.q * 10;  // rigid supports are penalty springs
    for (size_t k = 0; k < c.Ry.size(); ++k)
      EXPECT_NEAR(results.reactions[k].Ry, c.Ry[k] * c.q, tolerance) << c.what << ", support " << k + 1;
    EXPECT_NEAR(results.reactions[0].M, c.firstMoment * c.q, tolerance * 6) << c.what;
  }
}

TEST(Builder, TheTrueLinesGiveTheMomentsOfTheTwoSpanBeam) {
  const Content beam = buildContinuousBeam(beamOf({5, 5}, {kPin, kRoller, kRoller})).content;
  const CaseResults results = analyseCase(beam, 0);
  ASSERT_EQ(results.error, "");
  ASSERT_EQ(results.curves.size(), 4u);  // two bars per span
  // qL²/8 over the middle support; 9qL²/128 of the other sign at 3L/8 of each
  // end, whatever the sign convention.
  const double q = 10, L = 5;
  const double overSupport = results.curves[1].moment(L / 2);
  const double inSpan = results.curves[0].moment(3 * L / 8);
  EXPECT_NEAR(std::fabs(overSupport), q * L * L / 8, 1e-3);
  EXPECT_NEAR(inSpan / overSupport, -9.0 / 16, 1e-5);
  // The shear just left of the middle support is its share of the span, 5qL/8.
  EXPECT_NEAR(std::fabs(results.curves[1].shear(L / 2)), 5 * q * L / 8, 1e-3);
}

TEST(Builder, TheOwnWeightLoadsThePermanentCaseOnly) {
  BeamChoices choices = beamOf({5, 5}, {kPin, kRoller, kRoller});
  choices.selfWeight = true;
  const Content beam = buildContinuousBeam(choices).content;
  const double weight = 25.0 * 0.3 * 0.6;  // γ b h per metre
  const double perCase[] = {10 + weight, 5};
  for (int loadCase : {0, 1}) {
    const CaseResults results = analyseCase(beam, loadCase);
    ASSERT_EQ(results.error, "");
    EXPECT_NEAR(results.reactions[1].Ry, 10.0 / 8 * 5 * perCase[loadCase], 1e-4) << "case " << loadCase;
  }
}

TEST(Builder, NodesSupportsAndLoadsLieWhereTheChoicesSay) {
  const Content beam = threeSpanBeam();
  const ModelData& m = beam.model;
  // Four pieces (three spans, one overhang) of two bars each.
  ASSERT_EQ(m.nodes.size() - 1, 9u);
  ASSERT_EQ(m.bars.size() - 1, 8u);
  EXPECT_DOUBLE_EQ(m.nodes[9].x, 21.0);
  const int supportNodes[] = {1, 3, 5, 7};
  const double supportXs[] = {0.0, 6.0, 14.0, 19.0};
  const int codes[] = {110, 10, 10, 10};
  for (size_t k = 0; k < 4; ++k) {
    EXPECT_EQ(m.supports[k + 1].label, supportNodes[k]);
    EXPECT_DOUBLE_EQ(m.nodes[static_cast<size_t>(supportNodes[k])].x, supportXs[k]);
    EXPECT_EQ(m.supports[k + 1].code, codes[k]);
  }
  ASSERT_EQ(beam.cases.size(), 2u);
  EXPECT_EQ(beam.cases[0].name, "permanente");
  EXPECT_EQ(beam.cases[1].name, "variable");
  EXPECT_EQ(beam.cases[0].loads.size(), 8u);
  EXPECT_DOUBLE_EQ(beam.cases[1].loads[7].q, -5.0);
  EXPECT_DOUBLE_EQ(m.sections[1].I, 0.3 * 0.6 * 0.6 * 0.6 / 12);
}

TEST(Builder, SupportKindsAreTheirCodes) {
  EXPECT_EQ(supportCodeOf(SupportKind::pinned), 110);
  EXPECT_EQ(supportCodeOf(SupportKind::roller), 10);
  EXPECT_EQ(supportCodeOf(SupportKind::fixed), 111);
  EXPECT_EQ(supportCodeOf(SupportKind::spring), 20);
  BeamChoices c = threeSpanChoices();
  c.supports[3] = {SupportKind::spring, 5000.0};
  const Content beam = buildContinuousBeam(c).content;
  EXPECT_DOUBLE_EQ(beam.model.supports[4].ky, 5000.0);
}

TEST(Builder, AShearAreaIsCarriedByTheShearModulus) {
  BeamChoices c = threeSpanChoices();
  c.section = {false, 0, 0, 0.2, 0.004, 0.15};
  const Content beam = buildContinuousBeam(c).content;
  // G·A in the file equals G·As of the choice.
  EXPECT_DOUBLE_EQ(beam.model.materials[1].G * beam.model.sections[1].A, 1.2e7 * 0.15);
  EXPECT_EQ(beam.model.bars[1].shear, 1);
}

struct PresetCase {
  int unitCode;
  const char* name;
  double E, gamma;  // expected, in the unit system
  double tolerance;
};

// HA-25: Ej = 27 264 N/mm² (the concrete code's 8500·∛(25 + 8)); steel
// 210 000 N/mm² and 78.5 kN/m³. 1 t = 9.80665 kN; 1 kip = 4.448222 kN, 1 ft = 0.3048 m.
const PresetCase kPresets[] = {
    {1, "HA-25", 2.7264e7, 25.0, 1e3},
    {0, "HA-25", 2.7264e7 / 9.80665, 25.0 / 9.80665, 1e2},
    {1, "S275", 2.1e8, 78.5, 1.0},
    {2, "S355", 4.3860e6, 0.49972, 1e3},
};

TEST(Builder, MaterialPresetsAreTheStandardsValuesInEachUnitSystem) {
  for (const PresetCase& p : kPresets) {
    bool found = false;
    for (const MaterialPreset& preset : materialPresets(p.unitCode)) {
      if (preset.name != p.name) continue;
      found = true;
      EXPECT_NEAR(preset.values.E, p.E, p.tolerance) << p.name << " in unit code " << p.unitCode;
      EXPECT_NEAR(preset.values.gamma, p.gamma, 1e-4 * p.gamma) << p.name;
    }
    EXPECT_TRUE(found) << p.name;
  }
  EXPECT_TRUE(materialPresets(3).empty());  // centimetres and no known force unit
}

struct Refusal {
  const char* what;
  void (*change)(BeamChoices&);
  const char* reason;
};

const Refusal kRefusals[] = {
    {"no span", [](BeamChoices& c) { c.spans.clear(); }, "vano"},
    {"zero span", [](BeamChoices& c) { c.spans[1] = 0; }, "luz"},
    {"negative overhang", [](BeamChoices& c) { c.leftOverhang = -1; }, "voladizo"},
    {"a support missing", [](BeamChoices& c) { c.supports.pop_back(); }, "apoyo"},
    {"nothing holds it along", [](BeamChoices& c) { c.supports[0] = {}; }, "horizontal"},
    {"spring without stiffness",
     [](BeamChoices& c) {
       c.supports[1] = {SupportKind::spring, 0};
     },
     "muelle"},
    {"flat section", [](BeamChoices& c) { c.section.h = 0; }, "secci\xF3n"},
    {"no modulus", [](BeamChoices& c) { c.material.E = 0; }, "elasticidad"},
    {"too many bars", [](BeamChoices& c) { c.barsPerSpan = 63; }, "252 barras"},
};

TEST(Builder, ChoicesThatMakeNoBeamAreRefusedWithTheirReason) {
  for (const Refusal& r : kRefusals) {
    BeamChoices c = threeSpanChoices();
    r.change(c);
    const BuiltBeam built = buildContinuousBeam(c);
    EXPECT_NE(built.reason.find(r.reason), std::string::npos) << r.what << ": " << built.reason;
  }
}
