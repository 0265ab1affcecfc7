#include "calcdin/tests/reference_jacobi.h"

#include <cmath>

#include "calcdin/jacobi.h"

namespace fixtures {

namespace {
void turn(std::vector<double>& A, int n, int k, int j, double al, double ga) {
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
}  // namespace

PlainJacobi::PlainJacobi(const calcdin::PairMatrix& system)
    : n(system.order()), S((n + 1) * (n + 1)), Q(S.size()), Phi(S.size()) {
  for (int r = 1; r <= n; ++r)
    for (int c = 1; c <= n; ++c) {
      s(r, c) = system.S(r, c);
      q(r, c) = system.Q(r, c);
    }
}

void PlainJacobi::solve() {
  for (int i = 1; i <= n; ++i) phi(i, i) = 1.0;
  double minS = s(1, 1), maxQ = q(1, 1);
  for (int i = 2; i <= n; ++i) {
    if (s(i, i) < minS) minS = s(i, i);
    if (q(i, i) > maxQ) maxQ = q(i, i);
  }
  const double tolK = 1.0e-6 * minS, tolM = 1.0e-6 * maxQ;
  int t0 = 1, k0 = 1;
  for (int nsw = 1; nsw <= calcdin::kMaxSweeps && !converged; ++nsw) {
    sweeps = nsw;
    for (int t = t0; t <= n - 1; ++t)
      for (int k = k0; k <= t; ++k) {
        int j = k + n - t;
        if (std::fabs(s(k, j)) <= tolK && std::fabs(q(k, j)) <= tolM) continue;
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
    converged = true;
    for (int t = 1; t <= n - 1 && converged; ++t)
      for (int k = 1; k <= t; ++k) {
        int j = k + n - t;
        if (std::fabs(s(k, j)) > tolK || std::fabs(q(k, j)) > tolM) {
          t0 = t;
          k0 = k;
          converged = false;
          break;
        }
      }
  }
  for (int i = 1; i <= n; ++i)
    if (std::fabs(q(i, i)) < tolM) q(i, i) = tolM;
  for (int i = 1; i <= n; ++i)
    for (int m = 1; m <= n; ++m) phi(m, i) = phi(m, i) / std::sqrt(std::fabs(q(i, i)));
}

}  // namespace fixtures
