#pragma once
// The modal results file: every mode in row order, then again by ascending
// eigenvalue. Windows-1252 text, "\n" line ends, 2·n·(n+3) lines.
#include <cstddef>
#include <cstdio>
#include <vector>

#include "calcdin/jacobi.h"

namespace calcdin {

// direction[i] (i = 1..n) is the global direction of row i of the solved system.
void writeModalResults(FILE* out, const ModalSolution& solution, const std::vector<int>& direction);

}  // namespace calcdin
