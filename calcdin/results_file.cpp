#include "results_file.h"

#include <cmath>

namespace calcdin {

namespace {
constexpr double kCyclesPerRadian = 0.15915494307111402;  // 1/6.283185308

void writeBlock(FILE* out, const ModalSolution& solution, const std::vector<int>& direction, int q, int i) {
  std::fprintf(out, "AUTOVALOR  indice: %d   direcci\xF3n: %d   valor: %20.10lf \n", q, direction[i],
               solution.lambda[i]);
  std::fprintf(out, "AUTOVALOR  ciclos/seg.:  %lf \n", std::sqrt(std::fabs(solution.lambda[i])) * kCyclesPerRadian);
  std::fprintf(out, "AUTOVECTORES\n");
  for (int m = 1; m <= solution.n; ++m) std::fprintf(out, "           %lf \n", solution.phi(m, i));
}
}  // namespace

void writeModalResults(FILE* out, const ModalSolution& solution, const std::vector<int>& direction) {
  for (int q = 1; q <= solution.n; ++q) writeBlock(out, solution, direction, q, q);
  for (int q = 1; q <= solution.n; ++q) writeBlock(out, solution, direction, q, solution.order[q]);
}

}  // namespace calcdin
