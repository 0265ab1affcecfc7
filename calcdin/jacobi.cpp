#include "calcdin/jacobi.h"

#include <cmath>

#include "calcdin/vector_turner.h"

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

// From this order on the eigenvectors are turned on a second processor.
constexpr int kVectorsAlongsideFrom = 64;

// The working state of one solution: the cells of the system and the
// eigenvectors, kept transposed so a column of Phi is one contiguous row.
class JacobiSolver {
 public:
  JacobiSolver(PairMatrix& system, VectorTurner& vectors, kernels::TurnRun turnRun)
      : system_(system), n_(system.order()), vectors_(vectors), turnRun_(turnRun) {}

  void takeThresholds() {
    double smallestS = system_.S(1, 1), largestQ = system_.Q(1, 1);
    for (int i = 2; i <= n_; ++i) {
      if (system_.S(i, i) < smallestS) smallestS = system_.S(i, i);
      if (system_.Q(i, i) > largestQ) largestQ = system_.Q(i, i);
    }
    tolK_ = 1.0e-6 * smallestS;
    tolM_ = 1.0e-6 * largestQ;
  }

  double tolM() const { return tolM_; }

  // One sweep from (t0, k0): diagonals t = t0..n-1, rows k = k0..t of each.
  // Stops at a pair that cannot be rotated and says why.
  JacobiStatus sweep(int t0, int k0, ModalSolution& out) {
    for (int t = t0; t <= n_ - 1; ++t)
      for (int k = k0; k <= t; ++k) {
        const int j = k + n_ - t;
        if (!overThreshold(k, j)) continue;
        const JacobiStatus status = rotate(k, j, out);
        if (status != JacobiStatus::kOk) {
          out.k = k;
          out.j = j;
          return status;
        }
      }
    return JacobiStatus::kOk;
  }

  // Scans in sweep order; on the first entry over a threshold returns false and
  // leaves there the start of the next sweep.
  bool isDiagonal(int& t0, int& k0) {
    for (int t = 1; t <= n_ - 1; ++t)
      for (int k = 1; k <= t; ++k)
        if (overThreshold(k, k + n_ - t)) {
          t0 = t;
          k0 = k;
          return false;
        }
    return true;
  }

 private:
  bool overThreshold(int k, int j) {
    return std::fabs(system_.S(k, j)) > tolK_ || std::fabs(system_.Q(k, j)) > tolM_;
  }
  JacobiStatus rotate(int k, int j, ModalSolution& out);

  PairMatrix& system_;
  const int n_;
  VectorTurner& vectors_;
  const kernels::TurnRun turnRun_;
  double tolK_ = 0, tolM_ = 0;
};

JacobiStatus JacobiSolver::rotate(int k, int j, ModalSolution& out) {
  constexpr std::size_t w = PairMatrix::kCellWidth;
  double* const rowK = system_.row(k);
  double* const rowJ = system_.row(j);
  const double skk = rowK[w * k], qkk = rowK[w * k + 1];
  const double sjj = rowJ[w * j], qjj = rowJ[w * j + 1];
  const double skj = rowK[w * j], qkj = rowK[w * j + 1];

  const double a1 = qkj * skk - qkk * skj;
  const double a2 = qkj * sjj - skj * qjj;
  const double a3 = qjj * skk - qkk * sjj;
  const double d = a3 * a3 / 4.0 + a1 * a2;
  if (d < 0.0) return JacobiStatus::kNegativeDiscriminant;
  double alpha, gamma;
  if (a1 == 0.0) {
    if (skk == 0.0) {
      out.diagonal = k;
      return JacobiStatus::kZeroStiffness;
    }
    gamma = 0.0;
    alpha = -skj / skk;
  } else if (a2 == 0.0) {
    if (sjj == 0.0) {
      out.diagonal = j;
      return JacobiStatus::kZeroStiffness;
    }
    alpha = 0.0;
    gamma = -skj / sjj;
  } else {
    double root = std::sqrt(d);
    if (a3 < 0.0) root = -root;
    alpha = (root - a3 / 2.0) / a1;
    gamma = -(alpha * a1 / a2);
  }

  // Upper triangle of S and Q together; each cell is updated from its own old
  // values exactly as the rotation prescribes, both matrices in one 2-lane step.
  const kernels::Lanes g = kernels::broadcast(gamma), a = kernels::broadcast(alpha);
  // Rows m < k: columns k and j (strided).
  for (int m = 1; m < k; ++m) {
    double* const row = system_.row(m);
    kernels::turnPair(row + w * k, row + w * j, g, a);
  }
  // Rows k and j beyond column j (contiguous).
  if (j < n_) turnRun_(rowK + w * (j + 1), rowJ + w * (j + 1), static_cast<int>(w) * (n_ - j), gamma, alpha);
  // Between k and j: row k (contiguous) against column j (strided).
  for (int m = k + 1; m < j; ++m) kernels::turnPair(rowK + w * m, system_.row(m) + w * j, g, a);

  rowK[w * k] = gamma * gamma * sjj + 2.0 * gamma * skj + skk;
  rowJ[w * j] = alpha * alpha * skk + 2.0 * alpha * skj + sjj;
  rowK[w * j] = 0.0;
  rowK[w * k + 1] = gamma * gamma * qjj + 2.0 * gamma * qkj + qkk;
  rowJ[w * j + 1] = alpha * alpha * qkk + 2.0 * alpha * qkj + qjj;
  rowK[w * j + 1] = 0.0;

  // Eigenvectors: columns k and j of Phi, stored as rows.
  vectors_.turn(k, j, gamma, alpha);
  return JacobiStatus::kOk;
}

}  // namespace

ModalSolution solveGeneralizedJacobi(PairMatrix& system, const SweepReport& onSweep, kernels::KernelSet kernelSet) {
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

  const kernels::TurnRun turnRun = kernels::turnRunFor(kernelSet);
  // Small systems are done before a second thread would have started.
  VectorTurner vectors(out.phiT.data(), stride, n, turnRun, n >= kVectorsAlongsideFrom);
  JacobiSolver solver(system, vectors, turnRun);
  solver.takeThresholds();
  int t0 = 1, k0 = 1;
  for (int nsw = 1;; ++nsw) {
    if (nsw > kMaxSweeps) {
      out.status = JacobiStatus::kNotConverged;
      return out;
    }
    if (onSweep) onSweep(nsw);
    out.status = solver.sweep(t0, k0, out);
    if (out.status != JacobiStatus::kOk) return out;
    out.sweeps = nsw;
    // A system of order 1 has nothing off the diagonal and is done at once.
    if (solver.isDiagonal(t0, k0)) break;
  }

  vectors.finish();
  const double tolM = solver.tolM();
  for (int i = 1; i <= n; ++i) {
    double& qii = system.Q(i, i);
    if (std::fabs(qii) < tolM) qii = tolM;
    if (std::sqrt(std::fabs(qii)) == 0.0) {
      out.status = JacobiStatus::kZeroMass;
      out.diagonal = i;
      return out;
    }
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
