#include "calcdin/jacobi.h"

#include <array>
#include <cmath>
#include <utility>

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

// Rotations that follow one another on a diagonal of a sweep, (k, k+d),
// (k+1, k+1+d), ..., at most d of them, share no index: none of them changes the
// cells another one is decided and computed from, and the cells a group
// changes fall into closed sets, each turned by its rotations in their order.
// A cell with one index in the group belongs to one rotation only; the cells
// of row m (m outside the group) in the group's columns are neighbours, so one
// walk down the columns serves the whole group.
constexpr int kGroupWidth = kernels::kMaxBandCells;

struct Rotation {
  int k, j;
  double gamma, alpha;
  double skk, sjj, skj, qkk, qjj, qkj;  // the pivots before the rotation
};

// The working state of one solution: the cells of the system and the
// eigenvectors, kept transposed so a column of Phi is one contiguous row.
class JacobiSolver {
 public:
  JacobiSolver(PairMatrix& system, VectorTurner& vectors, kernels::KernelSet kernelSet)
      : system_(system), n_(system.order()), vectors_(vectors), turnRun_(kernels::turnRunFor(kernelSet)) {
    for (int c = 1; c <= kGroupWidth; ++c) bands_[c - 1] = kernels::turnBandFor(kernelSet, c);
  }

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
  // Stops at a pair that cannot be rotated and says why; the rotations before
  // it are all done.
  JacobiStatus sweep(int t0, int k0, ModalSolution& out) {
    Rotation group[kGroupWidth];
    for (int t = t0; t <= n_ - 1; ++t) {
      const int d = n_ - t;
      const int widest = d < kGroupWidth ? d : kGroupWidth;
      int count = 0;
      for (int k = k0; k <= t; ++k) {
        const int j = k + d;
        if (!overThreshold(k, j)) {
          apply(group, count);
          count = 0;
          continue;
        }
        const JacobiStatus status = plan(k, j, group[count], out);
        if (status != JacobiStatus::kOk) {
          apply(group, count);
          out.k = k;
          out.j = j;
          return status;
        }
        if (++count == widest) {
          apply(group, count);
          count = 0;
        }
      }
      apply(group, count);
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
  bool overThreshold(int k, int j) { return std::fabs(system_.S(k, j)) > tolK_ || std::fabs(system_.Q(k, j)) > tolM_; }
  JacobiStatus plan(int k, int j, Rotation& r, ModalSolution& out) const;
  void apply(const Rotation* group, int count);
  template <int C>
  void turnCells(const Rotation* group);
  // turnCells<c> at [c - 1].
  template <int... C>
  static constexpr std::array<void (JacobiSolver::*)(const Rotation*), sizeof...(C)> turnersFor(
      std::integer_sequence<int, C...>) {
    return {&JacobiSolver::turnCells<C + 1>...};
  }

  PairMatrix& system_;
  const int n_;
  VectorTurner& vectors_;
  const kernels::TurnRun turnRun_;
  kernels::TurnBand bands_[kGroupWidth];  // a group of c rotations: bands_[c - 1]
  double tolK_ = 0, tolM_ = 0;
};

JacobiStatus JacobiSolver::plan(int k, int j, Rotation& r, ModalSolution& out) const {
  constexpr std::size_t w = PairMatrix::kCellWidth;
  const double* const rowK = system_.row(k);
  const double* const rowJ = system_.row(j);
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
  r = Rotation{k, j, gamma, alpha, skk, sjj, skj, qkk, qjj, qkj};
  return JacobiStatus::kOk;
}

// The group's rotations are (k+i, j+i), i < count. Each cell is updated from
// the old values of its pair exactly as the rotation prescribes, S and Q in
// one 2-lane step; a cell two rotations share gets them in their order.
void JacobiSolver::apply(const Rotation* group, int count) {
  if (count == 0) return;
  static constexpr auto turners = turnersFor(std::make_integer_sequence<int, kGroupWidth>{});
  (this->*turners[count - 1])(group);
  constexpr std::size_t w = PairMatrix::kCellWidth;
  for (int i = 0; i < count; ++i) {
    const Rotation& r = group[i];
    const double gamma = r.gamma, alpha = r.alpha;
    double* const rowK = system_.row(r.k);
    double* const rowJ = system_.row(r.j);
    rowK[w * r.k] = gamma * gamma * r.sjj + 2.0 * gamma * r.skj + r.skk;
    rowJ[w * r.j] = alpha * alpha * r.skk + 2.0 * alpha * r.skj + r.sjj;
    rowK[w * r.j] = 0.0;
    rowK[w * r.k + 1] = gamma * gamma * r.qjj + 2.0 * gamma * r.qkj + r.qkk;
    rowJ[w * r.j + 1] = alpha * alpha * r.qkk + 2.0 * alpha * r.qkj + r.qjj;
    rowK[w * r.j + 1] = 0.0;
    // Eigenvectors: columns k and j of Phi, stored as rows.
    vectors_.turn(r.k, r.j, gamma, alpha);
  }
}

// Every cell of the group's rows and columns but the pivots (k+i, k+i),
// (j+i, j+i) and (k+i, j+i), which the caller sets.
template <int C>
void JacobiSolver::turnCells(const Rotation* group) {
  constexpr std::size_t w = PairMatrix::kCellWidth;
  const int k = group[0].k, j = group[0].j;
  const std::size_t rowStride = w * system_.stride();
  double* const base = system_.row(0);
  kernels::Lanes g[C], a[C];
  double* rowK[C];
  double* rowJ[C];
  for (int i = 0; i < C; ++i) {
    g[i] = kernels::broadcast(group[i].gamma);
    a[i] = kernels::broadcast(group[i].alpha);
    rowK[i] = base + static_cast<std::size_t>(k + i) * rowStride;
    rowJ[i] = base + static_cast<std::size_t>(j + i) * rowStride;
  }
  // Rows above the group: columns k+i against j+i, side by side in each row.
  if (k > 1) {
    double gammas[C], alphas[C];
    for (int i = 0; i < C; ++i) gammas[i] = group[i].gamma, alphas[i] = group[i].alpha;
    bands_[C - 1](base + rowStride + w * k, base + rowStride + w * j, rowStride, k - 1, gammas, alphas);
  }
  // Rows between the group's halves: row k+i (contiguous) against column j+i.
  double* row = base + static_cast<std::size_t>(k + C) * rowStride;
  for (int m = k + C; m < j; ++m, row += rowStride)
    for (int i = 0; i < C; ++i) kernels::turnPair(rowK[i] + w * m, row + w * (j + i), g[i], a[i]);
  // Columns beyond the group: rows k+i and j+i (contiguous).
  const int past = j + C;
  if (past <= n_)
    for (int i = 0; i < C; ++i)
      turnRun_(rowK[i] + w * past, rowJ[i] + w * past, static_cast<int>(w) * (n_ + 1 - past), group[i].gamma,
               group[i].alpha);
  // Cells whose both indices are rotated: rotation i, then rotation l.
  for (int i = 0; i < C; ++i)
    for (int l = i + 1; l < C; ++l) {
      double* const kiKl = rowK[i] + w * (k + l);
      double* const kiJl = rowK[i] + w * (j + l);
      double* const klJi = rowK[l] + w * (j + i);
      double* const jiJl = rowJ[i] + w * (j + l);
      kernels::turnPair(kiKl, klJi, g[i], a[i]);
      kernels::turnPair(kiJl, jiJl, g[i], a[i]);
      kernels::turnPair(kiKl, kiJl, g[l], a[l]);
      kernels::turnPair(klJi, jiJl, g[l], a[l]);
    }
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
  JacobiSolver solver(system, vectors, kernelSet);
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
