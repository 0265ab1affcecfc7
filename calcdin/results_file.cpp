#include "calcdin/results_file.h"

#include <charconv>
#include <cmath>
#include <cstring>

namespace calcdin {

std::size_t formatComponentLine(char* line, double value) {
  // "           %lf \n": std::to_chars in fixed notation with precision 6 is
  // defined to give the characters of printf's "%f" (C locale), several times
  // faster; the mode shapes are n² lines of the file.
  std::memcpy(line, "           ", 11);
  char* end = std::to_chars(line + 11, line + kComponentLineSize - 2, value, std::chars_format::fixed, 6).ptr;
  end[0] = ' ';
  end[1] = '\n';
  return static_cast<std::size_t>(end + 2 - line);
}

namespace {
constexpr double kCyclesPerRadian = 0.15915494307111402;  // 1/6.283185308

void writeComponentLine(FILE* out, double value) {
  char line[kComponentLineSize];
  std::fwrite(line, 1, formatComponentLine(line, value), out);
}

void writeBlock(FILE* out, const ModalSolution& solution, const std::vector<int>& direction, int q, int i) {
  std::fprintf(out, "AUTOVALOR  indice: %d   direcci\xF3n: %d   valor: %20.10lf \n", q, direction[i],
               solution.lambda[i]);
  std::fprintf(out, "AUTOVALOR  ciclos/seg.:  %lf \n", std::sqrt(std::fabs(solution.lambda[i])) * kCyclesPerRadian);
  std::fprintf(out, "AUTOVECTORES\n");
  for (int m = 1; m <= solution.n; ++m) writeComponentLine(out, solution.phi(m, i));
}
}  // namespace

void writeModalResults(FILE* out, const ModalSolution& solution, const std::vector<int>& direction) {
  for (int q = 1; q <= solution.n; ++q) writeBlock(out, solution, direction, q, q);
  for (int q = 1; q <= solution.n; ++q) writeBlock(out, solution, direction, q, solution.order[q]);
}

}  // namespace calcdin
