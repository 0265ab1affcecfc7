#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "jacobi.h"
#include "run_error.h"

using calcdin::PairMatrix;
using calcdin::RecordingConsole;
using calcdin::solveGeneralizedJacobi;

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

std::string failureOf(PairMatrix& m, RecordingConsole& console) {
  try {
    solveGeneralizedJacobi(m, console);
  } catch (const RunError& e) {
    EXPECT_TRUE(e.waitForKey);
    EXPECT_EQ(e.status, 1);
    return e.text;
  }
  return "";
}
}  // namespace

TEST(GeneralizedJacobi, TwoByTwoExampleGivesOneAndThreeWithUnitMassModes) {
  PairMatrix m = systemOf({{2, -1}, {-1, 2}}, {{1, 0}, {0, 1}});
  RecordingConsole console;
  calcdin::ModalSolution sol = solveGeneralizedJacobi(m, console);
  EXPECT_EQ(console.text, "NSW: 1\n");
  EXPECT_EQ(console.keyWaits, 0);
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
  RecordingConsole console;
  calcdin::ModalSolution sol = solveGeneralizedJacobi(m, console);
  EXPECT_EQ(console.text, "NSW: 1\n");
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
  RecordingConsole console;
  calcdin::ModalSolution sol = solveGeneralizedJacobi(m, console);
  EXPECT_EQ(console.text, "NSW: 1\n");
  EXPECT_EQ(sol.lambda[1], 4.0);
  EXPECT_DOUBLE_EQ(sol.phi(1, 1), 1.0 / std::sqrt(1.5));
}

TEST(GeneralizedJacobi, MassBelowThresholdIsRaisedToIt) {
  PairMatrix m = systemOf({{2, 0}, {0, 3}}, {{1, 0}, {0, 0}});
  RecordingConsole console;
  calcdin::ModalSolution sol = solveGeneralizedJacobi(m, console);
  EXPECT_DOUBLE_EQ(sol.lambda[2], 3.0e6);  // tolM = 1e-6 · largest mass diagonal
  EXPECT_NEAR(sol.phi(2, 2), 1000.0, 1e-9);
}

TEST(GeneralizedJacobi, NumericalFailuresStopWithAMessageAndAKeyWait) {
  RecordingConsole console;
  {  // Negative stiffness diagonal: the threshold is negative, nothing ever passes.
    PairMatrix m = systemOf({{-1, 0}, {0, -2}}, {{1, 0}, {0, 1}});
    EXPECT_EQ(failureOf(m, console), "NO HAY CONVERGENCIA\n");
    std::string sweeps;
    for (int i = 1; i <= calcdin::kMaxSweeps; ++i) sweeps += "NSW: " + std::to_string(i) + "\n";
    EXPECT_EQ(console.text, sweeps);
  }
  {  // Indefinite pair: a1·a2 = -4, a3 = 2, so d = 1 - 4 < 0.
    PairMatrix m = systemOf({{1, 0}, {0, -1}}, {{1, 2}, {2, 1}});
    EXPECT_EQ(failureOf(m, console), "ERROR cab menor que CERO\n");
  }
  {  // a1 = 0 with S(1,1) = 0: the rotation would divide by zero.
    PairMatrix m = systemOf({{0, 0}, {0, 1}}, {{1, 0.5}, {0.5, 1}});
    EXPECT_EQ(failureOf(m, console), "ERROR: RIGIDEZ NULA EN LA DIAGONAL 1 AL GIRAR EL PAR (1,2)\n");
  }
  {  // a2 = 0 with S(2,2) = 0.
    PairMatrix m = systemOf({{1, 0}, {0, 0}}, {{1, 0.5}, {0.5, 1}});
    EXPECT_EQ(failureOf(m, console), "ERROR: RIGIDEZ NULA EN LA DIAGONAL 2 AL GIRAR EL PAR (1,2)\n");
  }
  {  // No mass at all: tolM is 0 and the first mode cannot be normalised.
    PairMatrix m = systemOf({{1, 0}, {0, 2}}, {{0, 0}, {0, 0}});
    EXPECT_EQ(failureOf(m, console), "ERROR: MASA NULA EN LA DIAGONAL 1: EL MODO NO SE PUEDE NORMALIZAR\n");
  }
}

namespace {
// The method written out plainly on three separate 1-based matrices (row stride
// n+1), S, then Q, then Phi, to check that the solver's packed layout and fused
// loops give bit for bit the same numbers and the same number of sweeps.
struct Reference {
  int n;
  std::vector<double> S, Q, Phi;
  int sweeps = 0;
  double& s(int r, int c) { return S[r * (n + 1) + c]; }
  double& q(int r, int c) { return Q[r * (n + 1) + c]; }
  double& phi(int r, int c) { return Phi[r * (n + 1) + c]; }

  static void turn(std::vector<double>& A, int n, int k, int j, double al, double ga) {
    auto a = [&](int r, int c) -> double& { return A[r * (n + 1) + c]; };
    for (int m = 1; m <= k - 1; ++m) {
      double old = a(m, k);
      a(m, k) = a(m, k) + ga * a(m, j);
      a(m, j) = a(m, j) + al * old;
    }
    for (int m = j + 1; m <= n; ++m) {
      double old = a(k, m);
      a(k, m) = a(k, m) + ga * a(j, m);
      a(j, m) = a(j, m) + al * old;
    }
    for (int m = k + 1; m <= j - 1; ++m) {
      double old = a(k, m);
      a(k, m) = a(k, m) + ga * a(m, j);
      a(m, j) = a(m, j) + al * old;
    }
    double akk = a(k, k), ajj = a(j, j), akj = a(k, j);
    a(k, k) = ga * ga * ajj + 2.0 * ga * akj + akk;
    a(j, j) = al * al * akk + 2.0 * al * akj + ajj;
    a(k, j) = 0.0;
  }

  void solve() {
    Phi.assign((n + 1) * (n + 1), 0.0);
    for (int i = 1; i <= n; ++i) phi(i, i) = 1.0;
    double minS = s(1, 1), maxQ = q(1, 1);
    for (int i = 2; i <= n; ++i) {
      if (s(i, i) < minS) minS = s(i, i);
      if (q(i, i) > maxQ) maxQ = q(i, i);
    }
    const double tolK = 1.0e-6 * minS, tolM = 1.0e-6 * maxQ;
    int t0 = 1, k0 = 1;
    for (int nsw = 1; nsw <= 20; ++nsw) {
      sweeps = nsw;
      for (int t = t0; t <= n - 1; ++t)
        for (int k = k0; k <= t; ++k) {
          int j = k + n - t;
          if (std::fabs(s(k, j)) > tolK || std::fabs(q(k, j)) > tolM) {
            double a1 = q(k, j) * s(k, k) - q(k, k) * s(k, j);
            double a2 = q(k, j) * s(j, j) - s(k, j) * q(j, j);
            double a3 = q(j, j) * s(k, k) - q(k, k) * s(j, j);
            double d = a3 * a3 / 4.0 + a1 * a2;
            double al, ga;
            if (a1 == 0.0) {
              ga = 0.0;
              al = -s(k, j) / s(k, k);
            } else if (a2 == 0.0) {
              al = 0.0;
              ga = -s(k, j) / s(j, j);
            } else {
              double w = std::sqrt(d);
              if (a3 < 0.0) w = -w;
              al = (w - a3 / 2.0) / a1;
              ga = -(al * a1 / a2);
            }
            turn(S, n, k, j, al, ga);
            turn(Q, n, k, j, al, ga);
            for (int m = 1; m <= n; ++m) {
              double old = phi(m, k);
              phi(m, k) = phi(m, k) + ga * phi(m, j);
              phi(m, j) = phi(m, j) + al * old;
            }
          }
        }
      bool diagonal = true;
      for (int t = 1; t <= n - 1 && diagonal; ++t)
        for (int k = 1; k <= t; ++k) {
          int j = k + n - t;
          if (std::fabs(s(k, j)) > tolK || std::fabs(q(k, j)) > tolM) {
            t0 = t;
            k0 = k;
            diagonal = false;
            break;
          }
        }
      if (diagonal) break;
    }
    for (int i = 1; i <= n; ++i)
      if (std::fabs(q(i, i)) < tolM) q(i, i) = tolM;
    for (int i = 1; i <= n; ++i)
      for (int m = 1; m <= n; ++m) phi(m, i) = phi(m, i) / std::sqrt(std::fabs(q(i, i)));
  }
};
}  // namespace

TEST(GeneralizedJacobi, PackedSolverMatchesThePlainMethodBitForBit) {
  std::mt19937 random(20261208);
  std::uniform_real_distribution<double> value(-1.0, 1.0);
  for (int n : {3, 9, 16, 31}) {
    // Diagonally dominant stiffness and mass of very different scales.
    Reference ref{n, std::vector<double>((n + 1) * (n + 1)), std::vector<double>((n + 1) * (n + 1)), {}};
    for (int r = 1; r <= n; ++r)
      for (int c = r; c <= n; ++c) {
        double sv = r == c ? n * (2.0 + value(random)) * 1e4 : value(random) * 1e4;
        double qv = r == c ? n * (2.0 + value(random)) : value(random);
        ref.s(r, c) = ref.s(c, r) = sv;
        ref.q(r, c) = ref.q(c, r) = qv;
      }
    PairMatrix m(n);
    for (int r = 1; r <= n; ++r)
      for (int c = 1; c <= n; ++c) {
        m.S(r, c) = ref.s(r, c);
        m.Q(r, c) = ref.q(r, c);
      }
    ref.solve();
    RecordingConsole console;
    calcdin::ModalSolution sol = solveGeneralizedJacobi(m, console);
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
