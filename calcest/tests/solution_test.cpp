// Closed-form checks of whole runs: reactions, deflections and end moments read
// back from the binary's result files and compared with beam theory.
#include <gtest/gtest.h>

#include <cmath>

#include "calcest/tests/beam_models.h"

using namespace beams;
using testsupport::ScratchDir;

namespace {
constexpr double kRel = 1e-5;  // the penalty method's precision

void expectClose(double actual, double expected, const char* what) {
  EXPECT_NEAR(actual, expected, kRel * std::max(1.0, std::fabs(expected))) << what;
}

struct Solved {
  Results res;
  std::string bar;
};

Solved solve(const Model& m, const std::string& loads) {
  ScratchDir dir;
  auto run = runCalcest(dir, m, loads);
  EXPECT_EQ(run.status, 0) << run.output;
  Solved s;
  s.res = parseResults(dir.read("m.res"), static_cast<int>(m.nodes.size()), static_cast<int>(m.bars.size()),
                       static_cast<int>(m.supports.size()));
  s.bar = dir.read("m.bar");
  return s;
}

constexpr double EI = 1000.0;      // straightBeam's E = 1000, I = 1
constexpr double kScale = 1000.0;  // unit code 0
}  // namespace

TEST(ClosedForm, TwoSpanBeamMiddleReactionIsFiveQuartersWL) {
  Model m = straightBeam({0.0, 5.0, 10.0});
  m.supports = {"1  110 0.0 0.0", "2  10 0.0", "3  10 0.0"};
  const double w = 10.0, l = 5.0;
  auto s = solve(m, "1  3  0.0  5.0  0.0  -10.0 y\n2  3  0.0  5.0  0.0  -10.0 y\n");
  ASSERT_EQ(s.res.supports.size(), 3u);
  expectClose(s.res.supports[0][1], 0.375 * w * l, "outer");
  expectClose(s.res.supports[1][1], 1.25 * w * l, "middle");
  expectClose(s.res.supports[2][1], 0.375 * w * l, "outer");
  // Moment over the middle support: -w l^2 / 8.
  expectClose(s.res.bars[0][4], -w * l * l / 8, "moment at the middle support");
}

TEST(ClosedForm, SimpleSpanMidDeflectionIsFiveWLFourOver384EIScaled) {
  Model m = straightBeam({0.0, 3.0, 6.0});
  m.supports = {"1  110 0.0 0.0", "3  10 0.0"};
  const double w = 2.0, L = 6.0;
  auto s = solve(m, "1  3  0.0  3.0  0.0  -2.0 y\n2  3  0.0  3.0  0.0  -2.0 y\n");
  expectClose(s.res.nodeUy[1], -kScale * 5 * w * std::pow(L, 4) / (384 * EI), "mid-span deflection");
  expectClose(s.res.bars[0][4], w * L * L / 8, "mid-span moment");
  expectClose(s.res.bars[0][5], w * L / 2, "end shear");
}

TEST(ClosedForm, FixedEndMomentsAreWLSquaredOverTwelve) {
  Model m = straightBeam({0.0, 6.0});
  m.supports = {"1  111 0.0 0.0 0.0", "2  111 0.0 0.0 0.0"};
  const double w = 2.0, L = 6.0;
  auto s = solve(m, "1  3  0.0  6.0  0.0  -2.0 y\n");
  const auto& line = s.res.bars[0];
  expectClose(line[3], -w * L * L / 12, "Mstart");
  expectClose(line[4], -w * L * L / 12, "Mend");
  expectClose(line[5], w * L / 2, "Vstart");
  expectClose(line[6], -w * L / 2, "Vend");
  // Reported support moments P.(rot - rz): the penalty's own moment.
  expectClose(s.res.supports[0][2], -w * L * L / 12, "left support moment");
  expectClose(s.res.supports[1][2], w * L * L / 12, "right support moment");
  // Mid-span station (10) of the moment diagram: +w L^2 / 24.
  expectClose(RecordBytes(s.bar, 1).real(688 + 8 * 10), w * L * L / 24, "mid-span moment");
}

TEST(ClosedForm, CantileverTipDeflectionIsPLCubedOverThreeEI) {
  Model m = straightBeam({0.0, 4.0});
  m.supports = {"1  111 0.0 0.0 0.0"};
  m.nodalLoads = {"2 0 0.0 0 -3.0 0 0.0"};
  const double P = 3.0, L = 4.0;
  auto s = solve(m, "");
  expectClose(s.res.nodeUy[1], -kScale * P * L * L * L / (3 * EI), "tip deflection");
  expectClose(s.res.supports[0][1], P, "support shear");
  expectClose(std::fabs(s.res.supports[0][2]), P * L, "support moment");
  // Tip rotation P L^2 / (2 EI) in the bar record (giro[20]).
  expectClose(RecordBytes(s.bar, 1).real(1192 + 8 * 20), -P * L * L / (2 * EI), "tip rotation");
}

TEST(ClosedForm, MiddleSupportSettlementPullsWithSixEIDeltaOverLCubed) {
  Model m = straightBeam({0.0, 5.0, 10.0});
  m.supports = {"1  110 0.0 0.0", "2  10 -0.01", "3  10 0.0"};
  const double delta = 0.01, l = 5.0;
  auto s = solve(m, "");
  expectClose(s.res.nodeUy[1], -kScale * delta, "settled node");
  expectClose(s.res.supports[1][1], -6 * EI * delta / (l * l * l), "middle reaction");
  expectClose(s.res.supports[0][1], 3 * EI * delta / (l * l * l), "end reaction");
}

// Cantilever of length 4 fixed at node 1, with a spring support at its tip
// loaded by Fx = 2, Fy = -3, M = 1.5. Tip stiffness (EI = 1000, EA = 1000):
// axial 250, transverse [[187.5, -375], [-375, 1000]] on (v, th).
struct SpringCase {
  const char* support;
  double kx, ky, kz;  // springs; a negative value marks a rigid direction
};

void PrintTo(const SpringCase& c, std::ostream* out) { *out << c.support; }

class SpringSupports : public ::testing::TestWithParam<SpringCase> {};

TEST_P(SpringSupports, ReactionsFollowEachDigit) {
  const SpringCase& c = GetParam();
  Model m = straightBeam({0.0, 4.0});
  m.supports = {"1  111 0.0 0.0 0.0", c.support};
  m.nodalLoads = {"2 0 2.0 0 -3.0 0 1.5"};
  auto s = solve(m, "");
  const double Fy = -3.0, Mz = 1.5;
  double v, th, M;
  if (c.kz < 0) {  // rotation held: v from the transverse row alone
    v = Fy / (187.5 + c.ky);
    th = 0.0;
    M = Mz + 375.0 * v;  // the moment the penalty takes, P.rot
  } else {
    double a = 187.5 + c.ky, b = -375.0, d = 1000.0 + c.kz, det = a * d - b * b;
    v = (Fy * d - b * Mz) / det;
    th = (a * Mz - b * Fy) / det;
    M = -c.kz * th;
  }
  expectClose(s.res.nodeUy[1], kScale * v, "tip deflection");
  expectClose(s.res.supports[1][1], -c.ky * v, "Ry");
  expectClose(s.res.supports[1][2], M, "M");
  expectClose(RecordBytes(s.bar, 1).real(1192 + 8 * 20), th, "tip rotation");
  double ux = c.kx < 0 ? 0.001 : 2.0 / (250.0 + c.kx);
  expectClose(RecordBytes(s.bar, 1).real(856 + 8 * 20), ux, "tip axial displacement");
}

INSTANTIATE_TEST_SUITE_P(Codes, SpringSupports,
                         ::testing::Values(SpringCase{"2  20 100.0", 0, 100, 0},
                                           SpringCase{"2  22 100.0 500.0", 0, 100, 500},
                                           SpringCase{"2  220 750.0 100.0", 750, 100, 0},
                                           SpringCase{"2  222 750.0 100.0 500.0", 750, 100, 500},
                                           SpringCase{"2  21 100.0 0.0", 0, 100, -1},
                                           SpringCase{"2  121 0.001 100.0 0.0", -1, 100, -1}));

TEST(ClosedForm, HingeAtJGivesZeroEndMomentAndPropppedCantileverValues) {
  Model m = straightBeam({0.0, 6.0});
  m.bars = {bar(1, 1, 2, 3)};
  m.supports = {"1  111 0.0 0.0 0.0", "2  111 0.0 0.0 0.0"};
  const double w = 2.0, L = 6.0;
  auto s = solve(m, "1  3  0.0  6.0  0.0  -2.0 y\n");
  const auto& line = s.res.bars[0];
  expectClose(line[3], -w * L * L / 8, "Mstart");
  EXPECT_NEAR(line[4], 0.0, 1e-5) << "Mend at the hinge";
  expectClose(line[5], 5 * w * L / 8, "Vstart");
  expectClose(s.res.supports[1][1], 3 * w * L / 8, "Ry at the hinge");
}

TEST(ClosedForm, RigidEndZonesShortenTheFlexibleCantilever) {
  // L = 10 with rigid zones 2 at each end: flexible l = 6, arm aj = 2 at the tip.
  Model m = straightBeam({0.0, 10.0});
  m.bars = {bar(1, 1, 2, 1, "0.6 0.2 0.2 0 1.0")};
  m.supports = {"1  111 0.0 0.0 0.0"};
  m.nodalLoads = {"2 0 0.0 0 -3.0 0 0.0"};
  const double P = 3.0, l = 6.0, aj = 2.0;
  auto s = solve(m, "");
  expectClose(s.res.nodeUy[1], -kScale * P / EI * (l * l * l / 3 + aj * l * l + aj * aj * l), "tip deflection");
  expectClose(std::fabs(s.res.supports[0][2]), P * 10.0, "support moment");
}

TEST(ClosedForm, InclinedSpringAlongAVerticalBarReactsWithMagnitudeTwo) {
  Model m = straightBeam({0.0});
  m.nodes = {"1 0.0 0.0", "2 0.0 4.0"};
  m.bars = {bar(1, 1, 2)};
  m.sections = {"1  4.0 1.0  0.3  0.6"};  // EA / L = 1000
  m.supports = {"1  111 0.0 0.0 0.0", "2  54 1000.0 0.0"};
  m.nodalLoads = {"2 0 0.0 0 -4.0 0 0.0"};
  auto s = solve(m, "");
  // Bar and spring share the load: displacement 0.002 along (0, -1).
  expectClose(s.res.nodeUy[1], -kScale * 0.002, "top displacement");
  expectClose(s.res.supports[1][1], 2.0, "spring reaction");
}

TEST(ClosedForm, TieBeyondTheBarBandMakesTwoCantileversShareTheLoad) {
  // Cantilevers 1-2 and 5-6 tied vertically at 2 and 5 (freedoms 5 and 14, ten
  // apart, wider than any bar's band); bar 3-4 is held at both ends.
  Model m = straightBeam({0.0});
  m.nodes = {"1 0.0 0.0", "2 4.0 0.0", "3 10.0 0.0", "4 12.0 0.0", "5 4.0 0.0", "6 8.0 0.0"};
  m.bars = {bar(1, 1, 2), bar(2, 3, 4), bar(3, 5, 6)};
  m.supports = {"1  111 0.0 0.0 0.0", "3  111 0.0 0.0 0.0", "4  111 0.0 0.0 0.0", "6  111 0.0 0.0 0.0"};
  m.ties = {"2 5 2 2 0.0"};
  m.nodalLoads = {"2 0 0.0 0 -6.0 0 0.0"};
  auto s = solve(m, "");
  const double half = 3.0, L = 4.0;
  expectClose(s.res.nodeUy[1], -kScale * half * L * L * L / (3 * EI), "tip A");
  expectClose(s.res.nodeUy[4], -kScale * half * L * L * L / (3 * EI), "tip B");
  ASSERT_EQ(s.res.tieLines.size(), 2u);
  auto a = numbers(s.res.tieLines[0]), b = numbers(s.res.tieLines[1]);
  ASSERT_EQ(a.size(), 5u);
  EXPECT_EQ(a[2], 5);
  EXPECT_EQ(b[2], 14);
  expectClose(a[4], half, "FA");
  expectClose(b[4], -half, "FB");
}

TEST(ClosedForm, BarOfTypeZeroShowsOnlyItsLoadDiagram) {
  // A type-0 bar adds no stiffness (reported, the run goes on) and no end
  // forces; its moment is the load's own diagram, -q d^2 / 2 from node I.
  // Bar 2 gives the penalty its size.
  ScratchDir dir;
  Model m = straightBeam({0.0, 4.0, 8.0});
  m.bars[0] = bar(1, 1, 2, 0);
  m.supports = {"1  111 0.0 0.0 0.0", "2  111 0.0 0.0 0.0", "3  111 0.0 0.0 0.0"};
  auto run = runCalcest(dir, m, "1  3  0.0  4.0  0.0  -2.0 y\n");
  ASSERT_EQ(run.status, 0) << run.output;
  EXPECT_EQ(run.output, "  Presione una tecla para continuar\ntipob= 0 \n");
  auto res = parseResults(dir.read("m.res"), 3, 2, 3);
  for (int k = 3; k <= 6; ++k) EXPECT_EQ(res.bars[0][k], 0.0);
  std::string bytes = dir.read("m.bar");
  EXPECT_DOUBLE_EQ(RecordBytes(bytes, 1).real(688 + 8 * 10), -2.0 * 2.0 * 2.0 / 2);  // M[10]
  EXPECT_DOUBLE_EQ(RecordBytes(bytes, 1).real(688 + 8 * 5), -2.0 * 1.0 * 1.0 / 2);   // M[5]
}

TEST(ClosedForm, InclinedSpanUnderLoadPerHorizontalMetreMomentIsWASquaredOverEight) {
  // Bar from (0, 0) up to (4, 3), pinned at both ends, 1 per horizontal metre:
  // each end carries 2 vertically and mid-span bends w a^2 / 8 = 2.
  ScratchDir dir;
  auto run = runCalcest(dir, inclinedSpan(1, 2), kInclinedLoad);
  ASSERT_EQ(run.status, 0) << run.output;
  auto res = parseResults(dir.read("m.res"), 2, 1, 2);
  expectClose(res.supports[0][1], 2.0, "Ry at I");
  expectClose(res.supports[1][1], 2.0, "Ry at J");
  std::string bytes = dir.read("m.bar");
  expectClose(RecordBytes(bytes, 1).real(688 + 8 * 10), 2.0, "mid-span moment");
  EXPECT_DOUBLE_EQ(RecordBytes(bytes, 1).real(152), 5.0);  // L
  EXPECT_DOUBLE_EQ(RecordBytes(bytes, 1).real(168), 0.6);  // sin
}

TEST(ClosedForm, ColumnUnderHorizontalTipLoadSwaysPLCubedOverThreeEI) {
  // Vertical cantilever 3 high, fixed at the foot, 2 pushing along +x at the
  // top: the local transverse axis points to -x, so defy[20] = -P L^3 / (3 EI).
  ScratchDir dir;
  Model m = straightBeam({0.0});
  m.nodes = {"1 0.0 0.0", "2 0.0 3.0"};
  m.bars = {bar(1, 1, 2)};
  m.supports = {"1  111 0.0 0.0 0.0"};
  m.nodalLoads = {"2 0 2.0 0 0.0 0 0.0"};
  auto run = runCalcest(dir, m, "");
  ASSERT_EQ(run.status, 0) << run.output;
  std::string bytes = dir.read("m.bar");
  expectClose(RecordBytes(bytes, 1).real(1024 + 8 * 20), -2.0 * 27.0 / (3 * EI), "top sway");
  auto res = parseResults(dir.read("m.res"), 2, 1, 1);
  expectClose(std::fabs(res.supports[0][2]), 2.0 * 3.0, "foot moment");
}

TEST(UnitConstants, CentimetreUnitsPrintDeflectionsTimesTenAndUseCentimetreGravity) {
  Model m = straightBeam({0.0, 4.0});
  m.unitCode = 3;
  m.materials = {"1 1000.0 400.0 2.0  0.0"};  // gamma 2, A 1
  m.supports = {"1  111 0.0 0.0 0.0"};
  m.nodalLoads = {"2 0 0.0 0 -3.0 0 0.0"};
  auto s = solve(m, "");
  expectClose(s.res.nodeUy[1], -10.0 * 3.0 * 64.0 / (3 * EI), "tip deflection at scale 10");
  EXPECT_DOUBLE_EQ(RecordBytes(s.bar, 1).real(112), 2.0 / 980.6);  // m = rho A
  EXPECT_DOUBLE_EQ(RecordBytes(s.bar, 1).real(120), 2.0);          // w = gamma A
}

namespace {
// n equal bars of length l along x, each under a uniform load w down.
Model loadedChain(int n, double l, std::string& loads, double w = 2.5) {
  std::vector<double> xs;
  for (int k = 0; k <= n; ++k) xs.push_back(k * l);
  Model m = straightBeam(xs);
  loads.clear();
  for (int k = 1; k <= n; ++k)
    loads += std::to_string(k) + "  3  0.0  " + std::to_string(l) + "  0.0  -" + std::to_string(w) + " y\n";
  return m;
}
}  // namespace

// A beam that can turn or fall as a whole: the penalty supports keep its
// pivots from vanishing exactly, but it is refused as a zero pivot is, with
// no result put in place.
TEST(Mechanisms, AreRefusedThoughRoundOffKeepsTheirPivotsFromZero) {
  struct Case {
    const char* what;
    int bars;
    double length;
    std::vector<std::string> supports;
  };
  const Case cases[] = {
      {"three spans on one pin", 3, 6.0, {"1  110 0.0 0.0"}},
      {"a pin and a vertical spring of 1e-12", 3, 6.0, {"1  110 0.0 0.0", "4  20 1e-12"}},
      {"250 short bars on one pin", 250, 0.05, {"1  110 0.0 0.0"}},
      {"a symmetric load on one pin at mid-length", 250, 1.0, {"126  110 0.0 0.0"}},
  };
  for (const Case& c : cases) {
    ScratchDir dir;
    std::string loads;
    Model m = loadedChain(c.bars, c.length, loads);
    m.supports = c.supports;
    auto run = runCalcest(dir, m, loads);
    EXPECT_EQ(run.status, 1) << c.what;
    EXPECT_NE(run.output.find("MODELO CON PROBLEMAS(VERIFICAR)\ns["), std::string::npos) << c.what << run.output;
    EXPECT_FALSE(dir.exists("m.res")) << c.what;
  }
}

TEST(Mechanisms, ASoftButSoundBeamIsSolved_250BarCantileverTipIsWLFourOver8EI) {
  ScratchDir dir;
  std::string loads;
  const int n = 250;
  const double l = 0.05, w = 2.5, L = n * l;
  Model m = loadedChain(n, l, loads, w);
  m.supports = {"1  111 0.0 0.0 0.0"};
  auto run = runCalcest(dir, m, loads);
  ASSERT_EQ(run.status, 0) << run.output;
  auto res = parseResults(dir.read("m.res"), n + 1, n, 1);
  expectClose(res.nodeUy[n], -kScale * w * std::pow(L, 4) / (8 * EI), "tip deflection");
  expectClose(res.supports[0][1], w * L, "support shear");
}
