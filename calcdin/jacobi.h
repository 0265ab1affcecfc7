#pragma once
// Generalized eigenproblem S·phi = lambda·Q·phi by the generalized Jacobi method:
// plane rotations of the upper triangles by diagonals, thresholds taken once from
// the starting diagonals, at most kMaxSweeps sweeps.
#include <vector>

#include "modal_console.h"
#include "pair_matrix.h"

namespace calcdin {

// Irregular beams of a few hundred bars may need more than twenty sweeps; a run
// that converges sooner is not changed by the limit.
constexpr int kMaxSweeps = 100;

struct ModalSolution {
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

// Solves in place (the matrices end diagonal), prints "NSW: %d\n" per sweep,
// normalises the modes to unit mass and sorts them. Numerical failures throw
// RunError (with a key wait).
ModalSolution solveGeneralizedJacobi(PairMatrix& system, Console& console);

// Selection sort of the permutation by ascending eigenvalue: the first smallest of
// the rest is moved to the front of the rest, so equal eigenvalues keep their order.
std::vector<int> ascendingOrder(const std::vector<double>& lambda, int n);

}  // namespace calcdin
