#pragma once
// Generalized eigenproblem S·phi = lambda·Q·phi by the generalized Jacobi method:
// plane rotations of the upper triangles by diagonals, thresholds taken once from
// the starting diagonals, at most kMaxSweeps sweeps.
#include <functional>
#include <vector>

#include "calcdin/pair_matrix.h"
#include "calcdin/rotation_kernels.h"

namespace calcdin {

// Irregular beams of a few hundred bars may need more than twenty sweeps; a run
// that converges sooner is not changed by the limit.
constexpr int kMaxSweeps = 100;

enum class JacobiStatus {
  kOk,                    // a rotation done; for the whole solution, every mode found and normalised
  kNotConverged,          // still off-diagonal after kMaxSweeps sweeps
  kNegativeDiscriminant,  // a rotation of the pair (k, j) has no real solution
  kZeroStiffness,         // a rotation of the pair (k, j) would divide by S(diagonal, diagonal) = 0
  kZeroMass,              // mode `diagonal` cannot be normalised: Q(diagonal, diagonal) = 0
};

struct ModalSolution {
  JacobiStatus status = JacobiStatus::kOk;
  int diagonal = 0, k = 0, j = 0;  // where a failure happened
  int n = 0;
  int sweeps = 0;
  std::vector<double> lambda;  // 1..n, in the order of the system's rows
  std::vector<int> order;      // 1..n: modes by ascending eigenvalue
  DenseBuffer phiT;            // mode i at phiT[i*(n+1) + m], m = 1..n

  double phi(int m, int i) const { return phiT[static_cast<std::size_t>(i) * (n + 1) + m]; }
};

// Copies the rows and columns of the kept directions (keep[d] true, d = 1..N)
// into a system of order nf.
PairMatrix reduceSystem(const PairMatrix& full, const std::vector<bool>& keep, int nf);

// Called with the number of each sweep as it starts.
using SweepReport = std::function<void(int sweep)>;

// Solves in place (the matrices end diagonal), normalises the modes to unit mass
// and sorts them. On a failure the status says which, and the solution holds no
// modes.
ModalSolution solveGeneralizedJacobi(PairMatrix& system, const SweepReport& onSweep = nullptr,
                                     kernels::KernelSet kernelSet = kernels::KernelSet::kFastest);

// Selection sort of the permutation by ascending eigenvalue: the first smallest of
// the rest is moved to the front of the rest, so equal eigenvalues keep their order.
std::vector<int> ascendingOrder(const std::vector<double>& lambda, int n);

}  // namespace calcdin
