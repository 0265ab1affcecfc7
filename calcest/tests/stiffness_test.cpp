// Element matrices, band assembly and penalty supports against values worked
// out by hand from beam theory.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cmath>
#include <cstdio>

#include "calcest/phases.h"
#include "calcest/trace_files.h"
#include "calcest/tests/sample_bar.h"
#include "common/testing/test_support.h"
#include "common/file_names.h"

using namespace common;

using namespace calcest;

namespace {
Bar horizontalBar(double L, int type, double E = 2.0, double A = 5.0, double I = 3.0) {
  Bar b = sampleBar(type, L);
  b.E = E;
  b.A = A;
  b.I = I;
  return b;
}

void expectMatrixNear(const Mat6& actual, const Mat6& expected, double tol, const char* what) {
  for (int i = 1; i <= 6; ++i)
    for (int j = 1; j <= 6; ++j)
      EXPECT_NEAR(actual[i][j], expected[i][j], tol * std::max(1.0, std::fabs(expected[i][j])))
          << what << " (" << i << "," << j << ")";
}

// Runs a phase with the scratch directory as working directory (traces land there).
struct InScratch {
  testsupport::ScratchDir dir;
  char previous[4096];
  InScratch() {
    if (!getcwd(previous, sizeof previous)) previous[0] = 0;
    if (chdir(dir.path().c_str()) != 0) ADD_FAILURE() << "chdir";
  }
  ~InScratch() {
    if (chdir(previous) != 0) ADD_FAILURE() << "chdir back";
  }
};
}  // namespace

TEST(ElementMatrix, BernoulliEntriesWithoutShear) {
  // E = 2, A = 5, I = 3, L = 4: EA/L 2.5, 12EI/L^3 1.125, 6EI/L^2 2.25, 4EI/L 6, 2EI/L 3.
  Mat6 k = fullLocalMatrix(horizontalBar(4.0, 1));
  Mat6 expected{};
  double rows[6][6] = {{2.5, 0, 0, -2.5, 0, 0}, {0, 1.125, 2.25, 0, -1.125, 2.25},   {0, 2.25, 6, 0, -2.25, 3},
                       {-2.5, 0, 0, 2.5, 0, 0}, {0, -1.125, -2.25, 0, 1.125, -2.25}, {0, 2.25, 3, 0, -2.25, 6}};
  for (int i = 0; i < 6; ++i)
    for (int j = 0; j < 6; ++j) expected[i + 1][j + 1] = rows[i][j];
  expectMatrixNear(k, expected, 1e-14, "Bernoulli");
}

TEST(ElementMatrix, ShearDeformationSoftensByOnePlusPhi) {
  Bar b = horizontalBar(4.0, 1);
  b.shear = 1;
  b.G = 0.9;  // phi = 12 EI / (l^2 G A) = 72 / 72 = 1
  Mat6 k = fullLocalMatrix(b);
  EXPECT_NEAR(k[2][2], 1.125 / 2, 1e-14);
  EXPECT_NEAR(k[3][3], 5.0 * 1.5 / 2, 1e-14);  // (4 + phi) EI / (l d)
  EXPECT_NEAR(k[3][6], 1.0 * 1.5 / 2, 1e-14);  // (2 - phi) EI / (l d)
}

TEST(ElementMatrix, CondensedHingeMatricesEqualTheClosedForms) {
  for (int shear : {0, 1}) {
    Bar b = horizontalBar(4.0, 1);
    b.shear = shear;
    b.G = 0.45;
    for (int type : {2, 3, 4}) {
      Mat6 condensed = condense(fullLocalMatrix(b), type);
      expectMatrixNear(condensed, closedFormHinged(b, type), 1e-12, "condensed vs closed form");
    }
  }
  // Hinge at J without shear: 3EI/l^3 = 0.28125, 3EI/l = 4.5, nothing at row 6.
  Mat6 hingeJ = condense(fullLocalMatrix(horizontalBar(4.0, 3)), 3);
  EXPECT_NEAR(hingeJ[2][2], 0.28125, 1e-14);
  EXPECT_NEAR(hingeJ[3][3], 4.5, 1e-14);
  EXPECT_NEAR(hingeJ[2][3], 1.125, 1e-14);
  for (int k = 1; k <= 6; ++k) {
    EXPECT_EQ(hingeJ[6][k], 0.0);
    EXPECT_EQ(hingeJ[k][6], 0.0);
  }
}

TEST(ElementMatrix, TransverseReleaseLeavesOnlyTheRotationCoupling) {
  // Releasing v1 (type 7): the rotations keep EI/l and -EI/l, the transverse
  // freedoms lose their stiffness; EI/l = 1.5.
  Mat6 k7 = condense(fullLocalMatrix(horizontalBar(4.0, 7)), 7);
  EXPECT_NEAR(k7[3][3], 1.5, 1e-13);
  EXPECT_NEAR(k7[3][6], -1.5, 1e-13);
  EXPECT_NEAR(k7[6][6], 1.5, 1e-13);
  EXPECT_NEAR(k7[5][5], 0.0, 1e-13);
  EXPECT_EQ(k7[2][2], 0.0);
  EXPECT_NEAR(k7[1][1], 2.5, 1e-14);
  Mat6 k8 = condense(fullLocalMatrix(horizontalBar(4.0, 8)), 8);
  EXPECT_NEAR(k8[3][6], -1.5, 1e-13);
  EXPECT_EQ(k8[5][5], 0.0);
}

TEST(ElementMatrix, ReleasingAFreedomWithoutStiffnessLeavesNoNan) {
  // I = 0: the released rotation has no stiffness to pass on (0/0 otherwise).
  Mat6 k = condense(fullLocalMatrix(horizontalBar(4.0, 2, 2.0, 5.0, 0.0)), 2);
  for (int i = 1; i <= 6; ++i)
    for (int j = 1; j <= 6; ++j) EXPECT_TRUE(std::isfinite(k[i][j])) << i << "," << j;
  EXPECT_DOUBLE_EQ(k[1][1], 2.5);
}

TEST(ElementMatrix, RigidZonesUseTheFlexibleLengthAndTheirOffsets) {
  // L = 10 with zones of 1 at each end: l = 8, ai = aj = 1; EI = 6.
  Bar b = horizontalBar(10.0, 1);
  b.aclx = 0.8, b.adlx = 0.1, b.ablx = 0.1;
  computeElementMatrices(b);
  const double l = 8.0, EI = 6.0;
  const double k22 = 12 * EI / (l * l * l), k23 = 6 * EI / (l * l), k33 = 4 * EI / l;
  EXPECT_DOUBLE_EQ(b.C[2][3], 1.0);
  EXPECT_DOUBLE_EQ(b.C[5][6], -1.0);
  EXPECT_NEAR(b.local[0][2][2], k22, 1e-14);
  const Mat6& z = b.withZones[0];
  EXPECT_NEAR(z[2][2], k22, 1e-14);
  EXPECT_NEAR(z[2][3], k22 * 1.0 + k23, 1e-14);
  EXPECT_NEAR(z[3][3], k22 + 2 * k23 + k33, 1e-13);
  EXPECT_NEAR(z[6][6], k33 + 2 * k23 + k22, 1e-13);  // K66 - 2 aj K56 + aj^2 K55
  EXPECT_NEAR(z[1][1], 2.0 * 5.0 / l, 1e-14);
}

TEST(ElementMatrix, VerticalBarTurnsBendingIntoTheHorizontalFreedom) {
  Bar b = horizontalBar(4.0, 1);
  b.cos = 0.0, b.sin = 1.0, b.orient = kVertical;
  computeElementMatrices(b);
  EXPECT_NEAR(b.global[1][1], 1.125, 1e-14);  // transverse stiffness along x
  EXPECT_NEAR(b.global[2][2], 2.5, 1e-14);    // axial stiffness along y
  EXPECT_NEAR(b.global[1][3], -2.25, 1e-14);
  EXPECT_NEAR(b.global[3][3], 6.0, 1e-14);
}

namespace {
void setNodes(AnalysisContext& ctx, int nn) {
  ctx.nodes.assign(static_cast<size_t>(nn) + 1, Node{});
  for (int k = 1; k <= nn; ++k) ctx.nodes[k].index = ctx.nodes[k].label = k;
  ctx.bars.resize(1);
}

double bandEntry(const AnalysisContext& ctx, const ZeroArray& m, int r, int c) {
  if (c < r) std::swap(r, c);
  if (c - r + 1 > ctx.maxw) return 0.0;
  return m[ctx.band(r, c - r + 1)];
}
}  // namespace

TEST(BandAssembly, TwoSpanBeamEqualsTheMatrixAssembledByHand) {
  InScratch scratch;
  AnalysisContext ctx;
  setNodes(ctx, 3);
  // Spans 4 and 6, E = 2, A = 5, I = 3.
  Bar first = horizontalBar(4.0, 1), second = horizontalBar(6.0, 1);
  second.index = 2, second.nodeI = 2, second.nodeJ = 3;
  for (Bar* b : {&first, &second}) computeElementMatrices(*b), ctx.bars.push_back(*b);
  ctx.maxw = 6;
  allocateBand(ctx);
  EXPECT_EQ(ctx.bw, 7);
  EXPECT_EQ(ctx.neq, 9);
  ctx.rigidez.open(kAssemblyTrace);
  ctx.rigidez1.open(kAssemblyTrace1);
  RecordingConsole console;
  TraceFiles traces(ctx, console);
  assembleStiffness(ctx, &traces);
  ASSERT_TRUE(ctx.rigidez.commit() && ctx.rigidez1.commit());
  // By hand: span 4 -> EA/L 2.5, 12EI/L^3 1.125, 6EI/L^2 2.25, 4EI/L 6, 2EI/L 3;
  // span 6 -> EA/L 5/3, 12EI/L^3 1/3, 6EI/L^2 1, 4EI/L 4, 2EI/L 2.
  double K[10][10] = {};
  auto set = [&](int r, int c, double v) { K[r][c] = K[c][r] = v; };
  set(1, 1, 2.5), set(1, 4, -2.5);
  set(2, 2, 1.125), set(2, 3, 2.25), set(2, 5, -1.125), set(2, 6, 2.25);
  set(3, 3, 6), set(3, 5, -2.25), set(3, 6, 3);
  set(4, 4, 2.5 + 5.0 / 3), set(4, 7, -5.0 / 3);
  set(5, 5, 1.125 + 1.0 / 3), set(5, 6, -2.25 + 1), set(5, 8, -1.0 / 3), set(5, 9, 1);
  set(6, 6, 6 + 4), set(6, 8, -1), set(6, 9, 2);
  set(7, 7, 5.0 / 3), set(8, 8, 1.0 / 3), set(8, 9, -1), set(9, 9, 4);
  for (int r = 1; r <= 9; ++r)
    for (int c = r; c <= 9; ++c) {
      EXPECT_NEAR(bandEntry(ctx, ctx.s, r, c), K[r][c], 1e-13) << r << "," << c;
      EXPECT_EQ(bandEntry(ctx, ctx.sr, r, c), bandEntry(ctx, ctx.s, r, c));
    }
  EXPECT_DOUBLE_EQ(ctx.maxEntry, 10.0);
  // One trace line per stored addition: 21 per bar.
  EXPECT_EQ(testsupport::splitLines(scratch.dir.read(kAssemblyTrace)).size(), 42u);
  EXPECT_EQ(testsupport::splitLines(scratch.dir.read(kAssemblyTrace1)).size(), 9u * 7);
}

TEST(BandAssembly, WidthFollowsTheFarthestBarAndTie) {
  AnalysisContext ctx;
  setNodes(ctx, 4);
  ctx.maxw = 12;  // a bar from node 1 to node 4 spans 3 * (3 + 1) freedoms
  allocateBand(ctx);
  EXPECT_EQ(ctx.bw, 13);
  AnalysisContext tied;
  setNodes(tied, 6);
  tied.maxw = 6;
  Tie tie;
  tie.dofA = 2, tie.dofB = 17;  // 16 freedoms from first to last
  tied.ties = {Tie{}, tie};
  allocateBand(tied);
  EXPECT_EQ(tied.maxw, 16);
  EXPECT_EQ(tied.bw, 17);
}

namespace {
void setUpSupports(AnalysisContext& ctx) {
  setNodes(ctx, 2);
  ctx.maxw = 6;
  allocateBand(ctx);
  ctx.maxEntry = 3.0;
  ctx.P = 3.0e6;
}
}  // namespace

TEST(Supports, DigitCodesTwentyOneAndOneTwentyOneActWithTheirSprings) {
  AnalysisContext ctx;
  setUpSupports(ctx);
  Support s21;
  s21.index = 2, s21.code = 21, s21.ky = 100.0, s21.rz = 0.002;
  applySupport(ctx, s21);
  EXPECT_EQ(ctx.s[ctx.band(4, 1)], 0.0);    // horizontal free
  EXPECT_EQ(ctx.s[ctx.band(5, 1)], 100.0);  // vertical spring
  EXPECT_EQ(ctx.s[ctx.band(6, 1)], 3.0e6);  // rotation rigid
  EXPECT_DOUBLE_EQ(ctx.f[6], 3.0e6 * 0.002);
  EXPECT_EQ(ctx.f[5], 0.0);
  Support s121;
  s121.index = 1, s121.code = 121, s121.dx = 0.01, s121.ky = 50.0;
  applySupport(ctx, s121);
  EXPECT_EQ(ctx.sr[ctx.band(1, 1)], 3.0e6);
  EXPECT_DOUBLE_EQ(ctx.f[1], 3.0e6 * 0.01);
  EXPECT_EQ(ctx.sr[ctx.band(2, 1)], 50.0);
  EXPECT_EQ(ctx.sr[ctx.band(3, 1)], 3.0e6);
}

TEST(Supports, UnlistedCodeActsAsRigidHorizontalAndVertical) {
  AnalysisContext ctx;
  setUpSupports(ctx);
  Support odd;
  odd.index = 1, odd.code = 333, odd.dx = 0.0, odd.dy = 0.01;
  applySupport(ctx, odd);
  EXPECT_EQ(ctx.s[ctx.band(1, 1)], 3.0e6);
  EXPECT_EQ(ctx.s[ctx.band(2, 1)], 3.0e6);
  EXPECT_EQ(ctx.s[ctx.band(3, 1)], 0.0);
  EXPECT_DOUBLE_EQ(ctx.f[2], 0.01 * 3.0e6);
}

TEST(Supports, InclinedSpringActsAlongSineMinusCosine) {
  AnalysisContext ctx;
  setUpSupports(ctx);
  Support s;
  s.index = 1, s.code = 64, s.kx = 1000.0, s.kz = 7.0, s.angle = 30.0 * kDegreesToRadians;
  applySupport(ctx, s);
  // The degree factor is 0.017453292522222223, a little over pi/180.
  EXPECT_NEAR(ctx.s[ctx.band(1, 1)], 250.0, 1e-6);                         // sin^2 30 = 1/4
  EXPECT_NEAR(ctx.s[ctx.band(1, 2)], -1000.0 * std::sqrt(3.0) / 4, 1e-6);  // -c s k
  EXPECT_NEAR(ctx.s[ctx.band(2, 1)], 750.0, 1e-6);
  EXPECT_EQ(ctx.s[ctx.band(3, 1)], 7.0);
  Support rigid;
  rigid.index = 2, rigid.code = 4, rigid.rz = 0.01, rigid.angle = 90.0 * kDegreesToRadians;
  applySupport(ctx, rigid);
  EXPECT_NEAR(ctx.s[ctx.band(4, 1)], 3.0e6, 1e-6);
  EXPECT_NEAR(ctx.f[4], 0.01 * 3.0e6, 1e-6);
}

TEST(Reactions, DigitCodesReportEachDirectionByItsDigit) {
  AnalysisContext ctx;
  setUpSupports(ctx);
  ctx.nodes[1].ux = 1e-8, ctx.nodes[1].uy = -0.02, ctx.nodes[1].rot = 2e-9;
  Support s;
  s.index = 1, s.code = 121, s.dx = 0.0, s.ky = 100.0, s.rz = 0.0;
  NodeResult r;
  supportReaction(ctx, s, r);
  EXPECT_NEAR(r.Rx, -3.0e6 * 1e-8, 1e-12);
  EXPECT_NEAR(r.Ry, 2.0, 1e-12);
  EXPECT_NEAR(r.M, 3.0e6 * 2e-9, 1e-12);
  s.code = 212, s.kx = 10.0, s.dy = 0.0, s.kz = 4.0;
  supportReaction(ctx, s, r);
  EXPECT_NEAR(r.Rx, -10.0 * 1e-8, 1e-15);
  EXPECT_NEAR(r.Ry, 3.0e6 * 0.02, 1e-6);
  EXPECT_NEAR(r.M, -4.0 * 2e-9, 1e-18);
  s.code = 110, s.dx = 0.0, s.dy = 0.0;
  supportReaction(ctx, s, r);
  EXPECT_EQ(r.M, 0.0);
}

TEST(Reactions, InclinedSpringOfStiffnessThousandAtTwoThousandthsGivesTwo) {
  AnalysisContext ctx;
  setUpSupports(ctx);
  double a = 30.0 * kDegreesToRadians, s = std::sin(a), c = std::cos(a);
  ctx.nodes[1].ux = 0.002 * s, ctx.nodes[1].uy = -0.002 * c;  // 0.002 along (s, -c)
  Support sup;
  sup.index = 1, sup.code = 54, sup.kx = 1000.0, sup.angle = a;
  NodeResult r;
  supportReaction(ctx, sup, r);
  EXPECT_NEAR(std::hypot(r.Rx, r.Ry), 2.0, 1e-12);
  EXPECT_NEAR(r.Rx, -2.0 * s, 1e-12);  // pushing back against the displacement
  EXPECT_NEAR(r.Ry, 2.0 * c, 1e-12);
}
