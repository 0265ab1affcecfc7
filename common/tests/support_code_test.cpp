// Every support code 0..999: what the code type says against what the
// programs do with such a support. The static engine is solved in memory on a
// node held by nothing but the support tried (and weak background springs), so
// each direction's stiffness shows in its displacement; the modal engine's
// removals and the spans of pattern loading are asked for the same code.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "calcdin/modal_model.h"
#include "alternancias/patterns.h"
#include "common/run_error.h"
#include "calcest/static_solution.h"
#include "common/support_code.h"
#include "common/testing/test_support.h"

using namespace common;

namespace {

constexpr int kLastCode = 999;
constexpr double kBackground = 1.0;              // each spring of the 222 support beside the one tried
constexpr double kSprings[3] = {3.0, 5.0, 7.0};  // kx, ky, kz of the support tried
constexpr double kAngleDegrees = 30.0;

// Node 1 carries no bar: only its supports hold it. The bar between the fixed
// nodes 2 and 3 gives the stiffness the penalty of rigid supports is scaled by.
const char* const kProbeModel =
    "PROBE   1    0\n"
    "1 3 2 0 1 1 0 0 0 0.0\n"
    "1 0.0 0.0\n2 10.0 0.0\n3 11.0 0.0\n"
    "1 2 3 1 1 1 0\n1.0 0.0 0.0 0 1.0\n"
    "1  1.0 1.0  0.3  0.6\n"
    "1 1000.0 400.0 0.0  0.0\n"
    "2  111 0 0 0\n"
    "3  111 0 0 0\n";

ModelData probeModel() {
  testsupport::TempFile file(kProbeModel);
  Scanner scanner(file.file, "probe.dat");
  ModelData model = ModelReader(scanner).readModel();
  Support background;
  background.label = background.index = 1;
  background.code = 222;
  background.kx = background.ky = background.kz = kBackground;
  model.supports.push_back(background);
  return model;
}

Support supportTried(int code) {
  Support s;
  s.label = s.index = 1;
  s.code = code;
  s.kx = kSprings[0], s.ky = kSprings[1], s.kz = kSprings[2];
  s.angle = kAngleDegrees * kDegreesToRadians;
  return s;
}

// One way of pushing the node: a unit load along `direction` (x, y, rotation
// components), and how the code says the node is held along it.
struct Probe {
  const char* name;
  double direction[3];
  Restraint restraint;
  double spring;
};

std::vector<Probe> probesOf(const SupportCode& code) {
  const Restraint rotation = code.along(Direction::rotation);
  if (!code.isInclined())
    return {{"horizontal", {1, 0, 0}, code.along(Direction::horizontal), kSprings[0]},
            {"vertical", {0, 1, 0}, code.along(Direction::vertical), kSprings[1]},
            {"rotation", {0, 0, 1}, rotation, kSprings[2]}};
  // An inclined support acts along (sin a, -cos a) with its kx, not across it.
  const double a = kAngleDegrees * kDegreesToRadians, s = std::sin(a), c = std::cos(a);
  return {{"along the incline", {s, -c, 0}, code.inclined(), kSprings[0]},
          {"across the incline", {c, s, 0}, Restraint::free, 0.0},
          {"rotation", {0, 0, 1}, rotation, kSprings[2]}};
}

class EverySupportCode : public ::testing::Test {
 protected:
  const ModelData base = probeModel();
};

// A rigid direction stays put (the penalty lets it yield about a millionth of
// the free move), a spring moves by force over its stiffness (plus the
// background's), a free direction by the background springs alone. The
// support's reaction takes the part of the load the background does not. The
// penalty's rounding reaches across a rigid incline: 1e-5 allows for it.
TEST_F(EverySupportCode, HoldsTheNodeAsTheStaticEngineDoes) {
  for (int value = 0; value <= kLastCode; ++value) {
    const SupportCode code(value);
    ModelData model = base;
    model.supports.push_back(supportTried(value));
    for (const Probe& probe : probesOf(code)) {
      SCOPED_TRACE(std::to_string(value) + " " + probe.name);
      NodalLoad load;
      load.index = 1;
      for (int d = 0; d < 3; ++d) load.value[d] = probe.direction[d];
      model.nodalLoads = {NodalLoad{}, load};
      const calcest::StaticSolution solution = calcest::solveStatic(model, calcest::StaticCase{});
      const Node& node = solution.nodes[1];
      const double move = probe.direction[0] * node.ux + probe.direction[1] * node.uy + probe.direction[2] * node.rot;
      if (probe.restraint == Restraint::rigid)
        EXPECT_NEAR(move, 0.0, 1e-6 / kBackground);
      else
        EXPECT_NEAR(move, 1.0 / ((probe.restraint == Restraint::spring ? probe.spring : 0.0) + kBackground), 1e-5);
      const calcest::NodeResult& r = solution.reactions.back();
      const double taken = 1.0 - kBackground * move;
      if (probe.direction[2] != 0.0)
        EXPECT_NEAR(std::fabs(r.M), std::fabs(taken), 1e-5);  // a rigid rotation's moment is listed the other way round
      else
        EXPECT_NEAR(probe.direction[0] * r.Rx + probe.direction[1] * r.Ry, -taken, 1e-5);
    }
  }
}

TEST_F(EverySupportCode, IsRemovedByTheModalEngineAsTheTypeSays) {
  for (int value = 0; value <= kLastCode; ++value) {
    SCOPED_TRACE(value);
    const SupportCode code(value);
    const std::vector<Support> supports = {Support{}, supportTried(value)};
    for (bool springsToo : {false, true}) {
      std::vector<int> expected;
      for (Direction d : code.modalRemovals(springsToo)) expected.push_back(1 + static_cast<int>(d));
      const int option = springsToo ? calcdin::kOptionAllSupports : calcdin::kOptionSupports;
      EXPECT_EQ(calcdin::eliminateSupports(supports, 1, option).eliminated, expected);
    }
    EXPECT_EQ(calcdin::verticalSprings(supports, calcdin::kOptionSupports).size(),
              code.hasModalVerticalSpring() ? 1u : 0u);
  }
}

// Two bars on three supports: the middle one splits the beam into two spans
// exactly when it holds the beam up.
TEST_F(EverySupportCode, EndsASpanOfPatternLoadingWhenItHoldsTheBeamUp) {
  projectfiles::Model beam;
  beam.header.nb = 2;
  Support end;
  end.code = 110;
  beam.supports = {Support{}, end, supportTried(0), end};
  beam.supports[1].index = 1, beam.supports[2].index = 2, beam.supports[3].index = 3;
  for (int value = 0; value <= kLastCode; ++value) {
    SCOPED_TRACE(value);
    beam.supports[2].code = value;
    EXPECT_EQ(alternancias::spansOf(beam, "m.dat").size(), SupportCode(value).holdsBeamUp() ? 2u : 1u);
  }
}

}  // namespace

// A kind's name says what the code does: every named code is checked against
// the type's reading of it, so a name cannot drift from its code.
TEST(SupportKindName, SaysWhatTheCodeDoes) {
  int named = 0;
  for (int code = 0; code <= kLastCode; ++code) {
    const char* name = supportKindName(code);
    if (!name) continue;
    ++named;
    const std::string words(name);
    const SupportCode support(code);
    auto says = [&](const char* word) { return words.find(word) != std::string::npos; };
    SCOPED_TRACE(code);
    EXPECT_EQ(says("inclinado"), support.isInclined());
    EXPECT_EQ(says("resorte") || says("muelle"), support.isElastic());
    EXPECT_EQ(says("empotrado") || says("sin giro") || says("de giro"),
              support.along(Direction::rotation) != Restraint::free);
    if (support.isInclined()) continue;
    EXPECT_TRUE(support.isDigitCode());
    EXPECT_EQ(says("deslizante") || says("muelle"), support.along(Direction::horizontal) == Restraint::free);
    EXPECT_NE(support.along(Direction::vertical), Restraint::free);
  }
  EXPECT_EQ(named, 9);  // the four inclined kinds, and 110, 10, 111, 11 and 20
}
