#include "calcdin/jacobi.h"

#include <algorithm>
#include <cmath>

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

// Rotations taken together from one diagonal of a sweep. They pair the rows
// (k, k+d), (k+1, k+1+d), ..., at most d of them, so no two share an index: each
// rotation's parameters come from cells the others do not touch, and a cell
// outside the rows and columns of the group is changed by one rotation at most.
// Walking the columns once for the whole group instead of once per rotation is
// what this buys: the cells of the group's columns in one row are neighbours.
constexpr int kGroupWidth = 8;

// The column walks go down the rows with a stride of a whole row and several
// cells a row, a pattern the processor's own prefetching does not follow: the
// cells a few rows ahead are asked for by hand.
constexpr int kPrefetchRows = 8;
inline void fetchCells(const double* row, int first, int last) {
  constexpr int kCellsPerLine = 64 / (PairMatrix::kCellWidth * sizeof(double));
  for (int c = first; c <= last; c += kCellsPerLine) __builtin_prefetch(row + PairMatrix::kCellWidth * c, 1);
  __builtin_prefetch(row + PairMatrix::kCellWidth * last + 1, 1);
}

// The eigenvectors are turned a list of rotations at a time (kPendingTurns at
// most), over bands of components of about kEigenvectorBandBytes for all modes.
constexpr std::size_t kPendingTurns = 8192;
constexpr int kEigenvectorBandBytes = 256 * 1024;

struct Turn {
  int k, j;
  double gamma, alpha;
  double skk, sjj, skj, qkk, qjj, qkj;  // the pivots before the rotation
};

// The working state of one solution: the cells of the system and the
// eigenvectors, kept transposed so a column of Phi is one contiguous row.
class JacobiSolver {
 public:
  JacobiSolver(PairMatrix& system, DenseBuffer& phiT, kernels::TurnRun turnRun)
      : system_(system), n_(system.order()), s_(system.stride()), phiT_(phiT.data()), turnRun_(turnRun) {
    const std::size_t rotationsPerSweep = static_cast<std::size_t>(n_) * static_cast<std::size_t>(n_ - 1) / 2;
    pending_.reserve(std::min(kPendingTurns, rotationsPerSweep));
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
    Turn group[kGroupWidth];
    for (int t = t0; t <= n_ - 1; ++t) {
      const int d = n_ - t;
      for (int k = k0; k <= t;) {
        const int width = std::min({kGroupWidth, d, t - k + 1});
        int count = 0;
        for (int kk = k; kk < k + width; ++kk) {
          const int j = kk + d;
          if (!overThreshold(kk, j)) continue;
          const JacobiStatus status = plan(kk, j, group[count], out);
          if (status != JacobiStatus::kOk) {
            apply(group, count);
            turnEigenvectors();
            out.k = kk;
            out.j = j;
            return status;
          }
          ++count;
        }
        apply(group, count);
        k += width;
      }
    }
    turnEigenvectors();
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
  JacobiStatus plan(int k, int j, Turn& turn, ModalSolution& out);
  void apply(const Turn* group, int count);
  void turnEigenvectors();

  // The cell of (r, c) in the upper triangle.
  double* cell(int r, int c) {
    return r <= c ? system_.row(r) + PairMatrix::kCellWidth * c : system_.row(c) + PairMatrix::kCellWidth * r;
  }

  PairMatrix& system_;
  const int n_;
  const std::size_t s_;
  double* const phiT_;
  const kernels::TurnRun turnRun_;
  double tolK_ = 0, tolM_ = 0;
  // Rotations done on the system and not yet on the eigenvectors.
  struct PendingTurn {
    int k, j;
    double gamma, alpha;
  };
  std::vector<PendingTurn> pending_;
};

JacobiStatus JacobiSolver::plan(int k, int j, Turn& turn, ModalSolution& out) {
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
  turn = Turn{k, j, gamma, alpha, skk, sjj, skj, qkk, qjj, qkj};
  return JacobiStatus::kOk;
}

// Each cell (m, k) and (m, j) of a rotation (k, j) is updated from the old
// values of both, in the order the rotations come; the cells where two
// rotations of the group meet (both indices among the group's rows) get them
// in that order, every other cell gets one rotation only.
void JacobiSolver::apply(const Turn* group, int count) {
  if (count == 0) return;
  constexpr std::size_t w = PairMatrix::kCellWidth;
  const int kLo = group[0].k, kHi = group[count - 1].k;
  const int jLo = group[0].j, jHi = group[count - 1].j;
  kernels::Lanes g[kGroupWidth], a[kGroupWidth];
  double* rowK[kGroupWidth];
  double* rowJ[kGroupWidth];
  for (int i = 0; i < count; ++i) {
    g[i] = kernels::broadcast(group[i].gamma);
    a[i] = kernels::broadcast(group[i].alpha);
    rowK[i] = system_.row(group[i].k);
    rowJ[i] = system_.row(group[i].j);
  }

  // Rows above the group: columns k and j of each rotation, one walk.
  for (int m = 1; m < kLo; ++m) {
    double* const row = system_.row(m);
    if (m + kPrefetchRows < kLo) {
      fetchCells(system_.row(m + kPrefetchRows), kLo, kHi);
      fetchCells(system_.row(m + kPrefetchRows), jLo, jHi);
    }
    for (int i = 0; i < count; ++i) kernels::turnPair(row + w * group[i].k, row + w * group[i].j, g[i], a[i]);
  }
  // Rows between the k's and the j's: row k (contiguous) against column j.
  for (int m = kHi + 1; m < jLo; ++m) {
    double* const row = system_.row(m);
    if (m + kPrefetchRows < jLo) fetchCells(system_.row(m + kPrefetchRows), jLo, jHi);
    for (int i = 0; i < count; ++i) kernels::turnPair(rowK[i] + w * m, row + w * group[i].j, g[i], a[i]);
  }
  // Columns beyond the group: rows k and j, contiguous.
  if (jHi < n_)
    for (int i = 0; i < count; ++i)
      turnRun_(rowK[i] + w * (jHi + 1), rowJ[i] + w * (jHi + 1), static_cast<int>(w) * (n_ - jHi), group[i].gamma,
               group[i].alpha);
  // Inside the group's span, one rotation after another.
  for (int i = 0; i < count; ++i) {
    const Turn& r = group[i];
    for (int part = 0; part < 2; ++part)
      for (int m = part == 0 ? kLo : jLo, last = part == 0 ? kHi : jHi; m <= last; ++m)
        if (m != r.k && m != r.j) kernels::turnPair(cell(m, r.k), cell(m, r.j), g[i], a[i]);
    const double gamma = r.gamma, alpha = r.alpha;
    rowK[i][w * r.k] = gamma * gamma * r.sjj + 2.0 * gamma * r.skj + r.skk;
    rowJ[i][w * r.j] = alpha * alpha * r.skk + 2.0 * alpha * r.skj + r.sjj;
    rowK[i][w * r.j] = 0.0;
    rowK[i][w * r.k + 1] = gamma * gamma * r.qjj + 2.0 * gamma * r.qkj + r.qkk;
    rowJ[i][w * r.j + 1] = alpha * alpha * r.qkk + 2.0 * alpha * r.qkj + r.qjj;
    rowK[i][w * r.j + 1] = 0.0;
  }

  for (int i = 0; i < count; ++i) {
    if (pending_.size() == kPendingTurns) turnEigenvectors();
    pending_.push_back({group[i].k, group[i].j, group[i].gamma, group[i].alpha});
  }
}

// Columns k and j of Phi (rows of phiT) for the pending rotations, in their
// order. Each component of a mode is turned on its own, so the rotations can
// go over Phi a band of components at a time: the band of every mode stays in
// cache for the whole list instead of two whole rows coming in per rotation.
void JacobiSolver::turnEigenvectors() {
  const int band = std::max(8, std::min(64, (kEigenvectorBandBytes / static_cast<int>(sizeof(double)) / n_) / 4 * 4));
  for (int first = 1; first <= n_; first += band) {
    const int width = std::min(band, n_ + 1 - first);
    for (const PendingTurn& r : pending_)
      turnRun_(phiT_ + static_cast<std::size_t>(r.k) * s_ + first, phiT_ + static_cast<std::size_t>(r.j) * s_ + first,
               width, r.gamma, r.alpha);
  }
  pending_.clear();
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

  JacobiSolver solver(system, out.phiT, kernels::turnRunFor(kernelSet));
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
