#pragma once
// The generalized Jacobi method written out plainly on three separate 1-based
// matrices (row stride n+1): each rotation turns S, then Q, then Phi, entry by
// entry. The tests hold the solver's packed cells and vector kernels to it bit
// for bit; the benchmark times it as the baseline.
#include <vector>

#include "calcdin/pair_matrix.h"

namespace fixtures {

struct PlainJacobi {
  explicit PlainJacobi(const calcdin::PairMatrix& system);

  int n;
  std::vector<double> S, Q, Phi;
  int sweeps = 0;
  bool converged = false;

  double& s(int r, int c) { return S[r * (n + 1) + c]; }
  double& q(int r, int c) { return Q[r * (n + 1) + c]; }
  double& phi(int r, int c) { return Phi[r * (n + 1) + c]; }

  // Sweeps until diagonal (at most calcdin::kMaxSweeps), then raises the mass
  // diagonals below the threshold to it and normalises the modes.
  void solve();
};

}  // namespace fixtures
