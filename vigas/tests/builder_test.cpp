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
    const double expected[] = {q * L1 / 2 + (M.B - M.A) / L1,
                               q * (L1 + L2) / 2 + (M.A - M.B) / L1 + (M.C - M.B) / L2,
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
    {"spring without stiffness", [](BeamChoices& c) { c.supports[1] = {SupportKind::spring, 0}; }, "muelle"},
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
