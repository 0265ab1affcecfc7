#include "jacobi.h"

#include <cmath>

#ifdef __SSE2__
#include <immintrin.h>
#endif

#include "run_error.h"

namespace calcdin {

PairMatrix reduceSystem(const PairMatrix& full, const std::vector<bool>& keep, int nf) {
  PairMatrix reduced(nf);
  const int N = full.order();
  int a = 0;
  for (int r = 1; r <= N; ++r) {
    if (!keep[r]) continue;
    ++a;
    int b = 0;
    for (int c = 1; c <= N; ++c) {
      if (!keep[c]) continue;
      ++b;
      reduced.S(a, b) = full.S(r, c);
      reduced.Q(a, b) = full.Q(r, c);
    }
  }
  return reduced;
}

std::vector<int> ascendingOrder(const std::vector<double>& lambda, int n) {
  std::vector<int> p(static_cast<std::size_t>(n) + 1, 0);
  for (int i = 1; i <= n; ++i) p[i] = i;
  for (int k = 1; k <= n; ++k) {
    int smallest = k;
    for (int l = k + 1; l <= n; ++l)
      if (lambda[p[l]] < lambda[p[smallest]]) smallest = l;
    // Moving the chosen mode forward (rather than swapping it with the mode at k)
    // keeps modes of equal eigenvalue in their original order.
    if (smallest != k) {
      const int chosen = p[smallest];
      for (int l = smallest; l > k; --l) p[l] = p[l - 1];
      p[k] = chosen;
    }
  }
  return p;
}

namespace {

// Two doubles updated together: (x, y) <- (x + gamma·y, y + alpha·x) lane by lane.
// The lanes are independent, so the results are those of the scalar formulas.
#ifdef __SSE2__
using Lanes = __m128d;
inline Lanes broadcast(double v) { return _mm_set1_pd(v); }
inline void turnCells(double* x, double* y, Lanes gamma, Lanes alpha) {
  const __m128d oldX = _mm_loadu_pd(x), oldY = _mm_loadu_pd(y);
  _mm_storeu_pd(x, _mm_add_pd(oldX, _mm_mul_pd(gamma, oldY)));
  _mm_storeu_pd(y, _mm_add_pd(oldY, _mm_mul_pd(alpha, oldX)));
}
#else
using Lanes = double;
inline Lanes broadcast(double v) { return v; }
inline void turnCells(double* x, double* y, Lanes gamma, Lanes alpha) {
  for (int lane = 0; lane < 2; ++lane) {
    const double oldX = x[lane], oldY = y[lane];
    x[lane] = oldX + gamma * oldY;
    y[lane] = oldY + alpha * oldX;
  }
}
#endif

// A run of `count` doubles of two rows: x[i] <- x[i] + gamma·y[i], y[i] <- y[i] +
// alpha·old x[i]. Wider vectors where the processor has them; the arithmetic of
// each element is the same.
void turnRunPortable(double* x, double* y, int count, double gamma, double alpha) {
  const Lanes g = broadcast(gamma), a = broadcast(alpha);
  int i = 0;
  for (; i + 2 <= count; i += 2) turnCells(x + i, y + i, g, a);
  for (; i < count; ++i) {
    const double oldX = x[i];
    x[i] = oldX + gamma * y[i];
    y[i] = y[i] + alpha * oldX;
  }
}

#if defined(__x86_64__) && defined(__GNUC__)
__attribute__((target("avx"))) void turnRunAvx(double* x, double* y, int count, double gamma, double alpha) {
  const __m256d g = _mm256_set1_pd(gamma), a = _mm256_set1_pd(alpha);
  int i = 0;
  for (; i + 4 <= count; i += 4) {
    const __m256d oldX = _mm256_loadu_pd(x + i), oldY = _mm256_loadu_pd(y + i);
    _mm256_storeu_pd(x + i, _mm256_add_pd(oldX, _mm256_mul_pd(g, oldY)));
    _mm256_storeu_pd(y + i, _mm256_add_pd(oldY, _mm256_mul_pd(a, oldX)));
  }
  for (; i < count; ++i) {
    const double oldX = x[i];
    x[i] = oldX + gamma * y[i];
    y[i] = y[i] + alpha * oldX;
  }
}
using TurnRun = void (*)(double*, double*, int, double, double);
TurnRun chooseTurnRun() {
  __builtin_cpu_init();  // may run before the library's own start-up code
  return __builtin_cpu_supports("avx") ? turnRunAvx : turnRunPortable;
}
const TurnRun turnRun = chooseTurnRun();
#else
const auto turnRun = turnRunPortable;
#endif

// The working state of one solution. Cells hold (S, Q) pairs; the eigenvectors
// are kept transposed so a column of Phi is one contiguous row.
class JacobiSolver {
 public:
  JacobiSolver(PairMatrix& system, DenseBuffer& phiT)
      : n_(system.order()), s_(system.stride()), cells_(system.data()), phiT_(phiT.data()) {}

  double& S(int r, int c) { return cells_[2 * (r * s_ + c)]; }
  double& Q(int r, int c) { return cells_[2 * (r * s_ + c) + 1]; }

  void takeThresholds() {
    double smallestS = S(1, 1), largestQ = Q(1, 1);
    for (int i = 2; i <= n_; ++i) {
      if (S(i, i) < smallestS) smallestS = S(i, i);
      if (Q(i, i) > largestQ) largestQ = Q(i, i);
    }
    tolK_ = 1.0e-6 * smallestS;
    tolM_ = 1.0e-6 * largestQ;
  }

  double tolM() const { return tolM_; }

  // One sweep from (t0, k0): diagonals t = t0..n-1, rows k = k0..t of each.
  void sweep(int t0, int k0) {
    for (int t = t0; t <= n_ - 1; ++t)
      for (int k = k0; k <= t; ++k) {
        const int j = k + n_ - t;
        if (std::fabs(S(k, j)) > tolK_ || std::fabs(Q(k, j)) > tolM_) rotate(k, j);
      }
  }

  // Scans in sweep order; on the first entry over a threshold returns false and
  // leaves there the start of the next sweep.
  bool isDiagonal(int& t0, int& k0) {
    for (int t = 1; t <= n_ - 1; ++t)
      for (int k = 1; k <= t; ++k) {
        const int j = k + n_ - t;
        if (std::fabs(S(k, j)) > tolK_ || std::fabs(Q(k, j)) > tolM_) {
          t0 = t;
          k0 = k;
          return false;
        }
      }
    return true;
  }

 private:
  void rotate(int k, int j);

  const int n_;
  const std::size_t s_;
  double* const cells_;
  double* const phiT_;
  double tolK_ = 0, tolM_ = 0;
};

void JacobiSolver::rotate(int k, int j) {
  const std::size_t rowStride = 2 * s_;
  double* const rowK = cells_ + k * rowStride;
  double* const rowJ = cells_ + j * rowStride;
  const double skk = rowK[2 * k], qkk = rowK[2 * k + 1];
  const double sjj = rowJ[2 * j], qjj = rowJ[2 * j + 1];
  const double skj = rowK[2 * j], qkj = rowK[2 * j + 1];

  const double a1 = qkj * skk - qkk * skj;
  const double a2 = qkj * sjj - skj * qjj;
  const double a3 = qjj * skk - qkk * sjj;
  const double d = a3 * a3 / 4.0 + a1 * a2;
  if (d < 0.0) throw RunError("ERROR cab menor que CERO\n", true);
  double alpha, gamma;
  if (a1 == 0.0) {
    if (skk == 0.0)
      throw RunError(formatText("ERROR: RIGIDEZ NULA EN LA DIAGONAL %d AL GIRAR EL PAR (%d,%d)\n", k, k, j), true);
    gamma = 0.0;
    alpha = -skj / skk;
  } else if (a2 == 0.0) {
    if (sjj == 0.0)
      throw RunError(formatText("ERROR: RIGIDEZ NULA EN LA DIAGONAL %d AL GIRAR EL PAR (%d,%d)\n", j, k, j), true);
    alpha = 0.0;
    gamma = -skj / sjj;
  } else {
    double w = std::sqrt(d);
    if (a3 < 0.0) w = -w;
    alpha = (w - a3 / 2.0) / a1;
    gamma = -(alpha * a1 / a2);
  }

  // Upper triangle of S and Q together; each cell is updated from its own old
  // values exactly as the rotation prescribes, both matrices in one 2-lane step.
  const Lanes g = broadcast(gamma), a = broadcast(alpha);
  // Rows m < k: columns k and j (strided).
  for (int m = 1; m < k; ++m) {
    double* const row = cells_ + m * rowStride;
    turnCells(row + 2 * k, row + 2 * j, g, a);
  }
  // Rows k and j beyond column j (contiguous).
  if (j < n_) turnRun(rowK + 2 * (j + 1), rowJ + 2 * (j + 1), 2 * (n_ - j), gamma, alpha);
  // Between k and j: row k (contiguous) against column j (strided).
  for (int m = k + 1; m < j; ++m) turnCells(rowK + 2 * m, cells_ + m * rowStride + 2 * j, g, a);

  rowK[2 * k] = gamma * gamma * sjj + 2.0 * gamma * skj + skk;
  rowJ[2 * j] = alpha * alpha * skk + 2.0 * alpha * skj + sjj;
  rowK[2 * j] = 0.0;
  rowK[2 * k + 1] = gamma * gamma * qjj + 2.0 * gamma * qkj + qkk;
  rowJ[2 * j + 1] = alpha * alpha * qkk + 2.0 * alpha * qkj + qjj;
  rowK[2 * j + 1] = 0.0;

  // Eigenvectors: columns k and j of Phi, stored as rows, two entries a step.
  double* const phiK = phiT_ + static_cast<std::size_t>(k) * s_;
  double* const phiJ = phiT_ + static_cast<std::size_t>(j) * s_;
  turnRun(phiK + 1, phiJ + 1, n_, gamma, alpha);
}

}  // namespace

ModalSolution solveGeneralizedJacobi(PairMatrix& system, Console& console) {
  ModalSolution out;
  const int n = system.order();
  out.n = n;
  const std::size_t stride = static_cast<std::size_t>(n) + 1;
  out.phiT = DenseBuffer(stride * stride);
  for (int i = 1; i <= n; ++i) out.phiT[i * stride + i] = 1.0;
  out.lambda.assign(stride, 0.0);
  if (n == 0) {
    out.order.assign(1, 0);
    return out;
  }

  JacobiSolver solver(system, out.phiT);
  solver.takeThresholds();
  int t0 = 1, k0 = 1;
  for (int nsw = 1;; ++nsw) {
    if (nsw > kMaxSweeps) throw RunError("NO HAY CONVERGENCIA\n", true);
    console.write(formatText("NSW: %d\n", nsw));
    solver.sweep(t0, k0);
    out.sweeps = nsw;
    // A system of order 1 has nothing off the diagonal and is done at once.
    if (solver.isDiagonal(t0, k0)) break;
  }

  const double tolM = solver.tolM();
  for (int i = 1; i <= n; ++i) {
    double& qii = system.Q(i, i);
    if (std::fabs(qii) < tolM) qii = tolM;
    if (std::sqrt(std::fabs(qii)) == 0.0)
      throw RunError(formatText("ERROR: MASA NULA EN LA DIAGONAL %d: EL MODO NO SE PUEDE NORMALIZAR\n", i), true);
    out.lambda[i] = system.S(i, i) / qii;
  }
  for (int i = 1; i <= n; ++i) {
    const double root = std::sqrt(std::fabs(system.Q(i, i)));
    double* const mode = out.phiT.data() + i * stride;
    for (int m = 1; m <= n; ++m) mode[m] = mode[m] / root;
  }
  out.order = ascendingOrder(out.lambda, n);
  return out;
}

}  // namespace calcdin
