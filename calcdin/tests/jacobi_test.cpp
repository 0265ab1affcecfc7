#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "calcdin/driver.h"
#include "calcdin/jacobi.h"
#include "calcdin/tests/reference_jacobi.h"
#include "calcdin/rotation_kernels.h"
#include "calcdin/vector_turner.h"

using namespace common;

using calcdin::JacobiStatus;
using calcdin::PairMatrix;
using calcdin::solveGeneralizedJacobi;
namespace kernels = calcdin::kernels;

namespace {
PairMatrix systemOf(const std::vector<std::vector<double>>& s, const std::vector<std::vector<double>>& q) {
  const int n = static_cast<int>(s.size());
  PairMatrix m(n);
  for (int r = 1; r <= n; ++r)
    for (int c = 1; c <= n; ++c) {
      m.S(r, c) = s[r - 1][c - 1];
      m.Q(r, c) = q[r - 1][c - 1];
    }
  return m;
}

// The sweeps a solution reports, as the console shows them.
struct SweepLog {
  std::string text;
  calcdin::SweepReport report() {
    return [this](int sweep) { text += "NSW: " + std::to_string(sweep) + "\n"; };
  }
};
}  // namespace

TEST(GeneralizedJacobi, TwoByTwoExampleGivesOneAndThreeWithUnitMassModes) {
  PairMatrix m = systemOf({{2, -1}, {-1, 2}}, {{1, 0}, {0, 1}});
  SweepLog log;
  calcdin::ModalSolution sol = solveGeneralizedJacobi(m, log.report());
  EXPECT_EQ(sol.status, JacobiStatus::kOk);
  EXPECT_EQ(log.text, "NSW: 1\n");
  // Rotated diagonals: mode 1 is (1,-1)/sqrt2 with eigenvalue 3, mode 2 is (1,1)/sqrt2 with 1.
  EXPECT_NEAR(sol.lambda[1], 3.0, 1e-14);
  EXPECT_NEAR(sol.lambda[2], 1.0, 1e-14);
  const double h = 1.0 / std::sqrt(2.0);
  EXPECT_NEAR(sol.phi(1, 1), h, 1e-15);
  EXPECT_NEAR(sol.phi(2, 1), -h, 1e-15);
  EXPECT_NEAR(sol.phi(1, 2), h, 1e-15);
  EXPECT_NEAR(sol.phi(2, 2), h, 1e-15);
  EXPECT_EQ(sol.order[1], 2);
  EXPECT_EQ(sol.order[2], 1);
  EXPECT_EQ(m.S(1, 2), 0.0);
  EXPECT_EQ(m.Q(1, 2), 0.0);
}

TEST(GeneralizedJacobi, DiagonalSystemTakesOneSweepAndEqualEigenvaluesKeepTheirOrder) {
  PairMatrix m = systemOf({{4, 0, 0}, {0, 9, 0}, {0, 0, 1}}, {{1, 0, 0}, {0, 4, 0}, {0, 0, 0.25}});
  SweepLog log;
  calcdin::ModalSolution sol = solveGeneralizedJacobi(m, log.report());
  EXPECT_EQ(log.text, "NSW: 1\n");
  EXPECT_EQ(sol.lambda[1], 4.0);
  EXPECT_EQ(sol.lambda[2], 2.25);
  EXPECT_EQ(sol.lambda[3], 4.0);
  EXPECT_EQ(sol.phi(1, 1), 1.0);
  EXPECT_EQ(sol.phi(2, 2), 0.5);
  EXPECT_EQ(sol.phi(3, 3), 2.0);
  EXPECT_EQ(sol.phi(2, 1), 0.0);
  ASSERT_EQ(sol.order.size(), 4u);
  EXPECT_EQ(sol.order[1], 2);
  EXPECT_EQ(sol.order[2], 1);  // 4.0 of mode 1 stays before 4.0 of mode 3
  EXPECT_EQ(sol.order[3], 3);
}

TEST(GeneralizedJacobi, SelectionSortIsStableAndSigned) {
  // A swap of mode 1 behind mode 3 (both 5) would break their order.
  std::vector<double> lambda = {0, 5, -1, 5, 2, -1, 5};
  std::vector<int> p = calcdin::ascendingOrder(lambda, 6);
  EXPECT_EQ(p, (std::vector<int>{0, 2, 5, 4, 1, 3, 6}));
}

TEST(GeneralizedJacobi, OrderOneSystemConvergesAtOnce) {
  PairMatrix m = systemOf({{6}}, {{1.5}});
  SweepLog log;
  calcdin::ModalSolution sol = solveGeneralizedJacobi(m, log.report());
  EXPECT_EQ(log.text, "NSW: 1\n");
  EXPECT_EQ(sol.lambda[1], 4.0);
  EXPECT_DOUBLE_EQ(sol.phi(1, 1), 1.0 / std::sqrt(1.5));
}

TEST(GeneralizedJacobi, MassBelowThresholdIsRaisedToIt) {
  PairMatrix m = systemOf({{2, 0}, {0, 3}}, {{1, 0}, {0, 0}});
  calcdin::ModalSolution sol = solveGeneralizedJacobi(m);
  EXPECT_DOUBLE_EQ(sol.lambda[2], 3.0e6);  // tolM = 1e-6 · largest mass diagonal
  EXPECT_NEAR(sol.phi(2, 2), 1000.0, 1e-9);
}

// The solver says what failed and where; the driver words it for the console.
TEST(GeneralizedJacobi, NumericalFailuresAreReportedWithWhereTheyHappened) {
  struct Failure {
    const char* what;
    std::vector<std::vector<double>> s, q;
    JacobiStatus status;
    int diagonal, k, j, sweeps;
    const char* message;
  };
  const Failure failures[] = {
      // Negative stiffness diagonal: the threshold is negative, nothing ever passes.
      {"no convergence",
       {{-1, 0}, {0, -2}},
       {{1, 0}, {0, 1}},
       JacobiStatus::kNotConverged,
       0,
       0,
       0,
       calcdin::kMaxSweeps,
       "NO HAY CONVERGENCIA\n"},
      // Indefinite pair: a1·a2 = -4, a3 = 2, so d = 1 - 4 < 0.
      {"negative discriminant",
       {{1, 0}, {0, -1}},
       {{1, 2}, {2, 1}},
       JacobiStatus::kNegativeDiscriminant,
       0,
       1,
       2,
       1,
       "ERROR cab menor que CERO\n"},
      // a1 = 0 with S(1,1) = 0: the rotation would divide by zero.
      {"zero S(k,k)",
       {{0, 0}, {0, 1}},
       {{1, 0.5}, {0.5, 1}},
       JacobiStatus::kZeroStiffness,
       1,
       1,
       2,
       1,
       "ERROR: RIGIDEZ NULA EN LA DIAGONAL 1 AL GIRAR EL PAR (1,2)\n"},
      // a2 = 0 with S(2,2) = 0.
      {"zero S(j,j)",
       {{1, 0}, {0, 0}},
       {{1, 0.5}, {0.5, 1}},
       JacobiStatus::kZeroStiffness,
       2,
       1,
       2,
       1,
       "ERROR: RIGIDEZ NULA EN LA DIAGONAL 2 AL GIRAR EL PAR (1,2)\n"},
      // No mass at all: tolM is 0 and the first mode cannot be normalised.
      {"zero mass",
       {{1, 0}, {0, 2}},
       {{0, 0}, {0, 0}},
       JacobiStatus::kZeroMass,
       1,
       0,
       0,
       1,
       "ERROR: MASA NULA EN LA DIAGONAL 1: EL MODO NO SE PUEDE NORMALIZAR\n"},
  };
  for (const Failure& f : failures) {
    PairMatrix m = systemOf(f.s, f.q);
    SweepLog log;
    calcdin::ModalSolution sol = solveGeneralizedJacobi(m, log.report());
    EXPECT_EQ(sol.status, f.status) << f.what;
    EXPECT_EQ(sol.diagonal, f.diagonal) << f.what;
    EXPECT_EQ(sol.k, f.k) << f.what;
    EXPECT_EQ(sol.j, f.j) << f.what;
    EXPECT_EQ(log.text.substr(log.text.rfind("NSW:")), "NSW: " + std::to_string(f.sweeps) + "\n") << f.what;
    EXPECT_EQ(calcdin::jacobiFailureText(sol), f.message) << f.what;
  }
}

// Both sets of rotation kernels (AVX where the processor has it, and the
// portable one every build can fall back on) against the plain method; at
// order 150 the eigenvectors are turned on a second thread, below it in line.
TEST(GeneralizedJacobi, PackedSolverMatchesThePlainMethodBitForBitWithEveryKernel) {
  std::mt19937 random(20261208);
  std::uniform_real_distribution<double> value(-1.0, 1.0);
  for (int n : {3, 9, 16, 31, 150}) {
    // Diagonally dominant stiffness and mass of very different scales.
    PairMatrix start(n);
    for (int r = 1; r <= n; ++r)
      for (int c = r; c <= n; ++c) {
        start.S(r, c) = start.S(c, r) = r == c ? n * (2.0 + value(random)) * 1e4 : value(random) * 1e4;
        start.Q(r, c) = start.Q(c, r) = r == c ? n * (2.0 + value(random)) : value(random);
      }
    fixtures::PlainJacobi ref(start);
    ref.solve();
    ASSERT_TRUE(ref.converged);
    for (kernels::KernelSet set : {kernels::KernelSet::kFastest, kernels::KernelSet::kPortable}) {
      SCOPED_TRACE(set == kernels::KernelSet::kFastest ? "fastest kernels" : "portable kernels");
      PairMatrix m = start;
      calcdin::ModalSolution sol = solveGeneralizedJacobi(m, nullptr, set);
      EXPECT_EQ(sol.sweeps, ref.sweeps) << n;
      EXPECT_GT(sol.sweeps, 1) << n;
      for (int i = 1; i <= n; ++i) {
        EXPECT_EQ(sol.lambda[i], ref.s(i, i) / ref.q(i, i)) << n << " mode " << i;
        for (int r = 1; r <= n; ++r) {
          EXPECT_EQ(sol.phi(r, i), ref.phi(r, i)) << n << " mode " << i << " row " << r;
          if (r < i) {
            EXPECT_EQ(m.S(r, i), ref.s(r, i));
          }
        }
      }
    }
  }
}

// The eigenvectors take their rotations in batches, on a second thread or in
// line: every entry must end as one rotation at a time leaves it, for any
// number of rotations (none, part of a batch, several rounds of the ring) and
// rows whose length is not a whole number of the stretches turned at once.
TEST(VectorTurner, BatchesGiveTheBitsOfOneRotationAtATime) {
  std::mt19937 random(9);
  std::uniform_real_distribution<double> value(-1.0, 1.0), factor(-0.05, 0.05);
  const int n = 203;
  const std::size_t stride = n + 1;
  const kernels::TurnRun turnRun = kernels::turnRunFor(kernels::KernelSet::kFastest);
  const int batch = static_cast<int>(calcdin::VectorTurner::kBatch);
  for (int count : {0, 1, batch - 1, batch + 1, 9 * batch + 5}) {
    std::vector<double> start(stride * stride);
    for (double& v : start) v = value(random);
    struct Turn {
      int k, j;
      double gamma, alpha;
    };
    std::vector<Turn> turns(count);
    for (Turn& t : turns) {
      t.k = 1 + static_cast<int>(random() % (n - 1));
      t.j = t.k + 1 + static_cast<int>(random() % (n - t.k));
      t.gamma = factor(random);
      t.alpha = factor(random);
    }
    std::vector<double> expected = start;
    for (const Turn& t : turns) turnRun(&expected[t.k * stride + 1], &expected[t.j * stride + 1], n, t.gamma, t.alpha);
    for (bool alongside : {false, true}) {
      std::vector<double> phiT = start;
      {
        calcdin::VectorTurner turner(phiT.data(), stride, n, turnRun, alongside);
        for (const Turn& t : turns) turner.turn(t.k, t.j, t.gamma, t.alpha);
        turner.finish();
        turner.finish();  // a second finish changes nothing
      }
      EXPECT_EQ(phiT, expected) << count << (alongside ? " rotations, second thread" : " rotations, in line");
    }
  }
}

// Every kernel variant, the plain cell update of builds without SSE2 included,
// gives the bits of the scalar formula, on runs of every length.
TEST(RotationKernels, EveryVariantGivesTheScalarResult) {
  std::mt19937 random(7);
  std::uniform_real_distribution<double> value(-1e3, 1e3);
  const double gamma = -0.3712, alpha = 1.618;
  for (int count : {0, 1, 2, 3, 4, 5, 7, 8, 33}) {
    std::vector<double> x(count), y(count);
    for (int i = 0; i < count; ++i) x[i] = value(random), y[i] = value(random);
    std::vector<double> xs = x, ys = y;
    for (int i = 0; i < count; ++i) {
      const double old = xs[i];
      xs[i] = old + gamma * ys[i];
      ys[i] = ys[i] + alpha * old;
    }
    for (kernels::KernelSet set : {kernels::KernelSet::kFastest, kernels::KernelSet::kPortable}) {
      std::vector<double> xr = x, yr = y;
      kernels::turnRunFor(set)(xr.data(), yr.data(), count, gamma, alpha);
      EXPECT_EQ(xr, xs) << count;
      EXPECT_EQ(yr, ys) << count;
    }
    std::vector<double> xp = x, yp = y, xl = x, yl = y;
    for (int i = 0; i + 2 <= count; i += 2) {
      kernels::turnPairPlain(&xp[i], &yp[i], gamma, alpha);
      kernels::turnPair(&xl[i], &yl[i], kernels::broadcast(gamma), kernels::broadcast(alpha));
    }
    const int paired = count / 2 * 2;
    for (int i = 0; i < paired; ++i) {
      EXPECT_EQ(xp[i], xs[i]) << count;
      EXPECT_EQ(yp[i], ys[i]) << count;
      EXPECT_EQ(xl[i], xs[i]) << count;
      EXPECT_EQ(yl[i], ys[i]) << count;
    }
  }
  if (!kernels::fastestDiffersFromPortable()) std::printf("note: this processor has no AVX; one kernel set ran\n");
}
