#pragma once
// The modal results file: every mode in row order, then again by ascending
// eigenvalue. Windows-1252 text, "\n" line ends, 2·n·(n+3) lines.
#include <cstddef>
#include <cstdio>
#include <vector>

#include "calcdin/jacobi.h"

namespace calcdin {

// One mode shape line, "           %lf \n", into `line` (room for
// kComponentLineSize characters); returns its length.
constexpr std::size_t kComponentLineSize = 11 + 320 + 2;
std::size_t formatComponentLine(char* line, double value);

// direction[i] (i = 1..n) is the global direction of row i of the solved system.
void writeModalResults(FILE* out, const ModalSolution& solution, const std::vector<int>& direction);

}  // namespace calcdin
