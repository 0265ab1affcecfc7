#include "calcdin/results_file.h"

#include <cmath>

#include "common/format.h"

namespace calcdin {

namespace {
constexpr double kCyclesPerRadian = 0.15915494307111402;  // 1/6.283185308
// The file is written in blocks of about this size.
constexpr std::size_t kBlock = std::size_t{1} << 18;

void writeBlock(common::TextBuffer& out, const ModalSolution& solution, const std::vector<int>& direction, int q,
                int i) {
  using common::appendFormat;
  appendFormat(out, "AUTOVALOR  indice: %d   direcci\xF3n: %d   valor: %20.10lf \n", q, direction[i],
               solution.lambda[i]);
  appendFormat(out, "AUTOVALOR  ciclos/seg.:  %lf \n", std::sqrt(std::fabs(solution.lambda[i])) * kCyclesPerRadian);
  appendFormat(out, "AUTOVECTORES\n");
  for (int m = 1; m <= solution.n; ++m) appendFormat(out, "           %lf \n", solution.phi(m, i));
}
}  // namespace

void writeModalResults(FILE* out, const ModalSolution& solution, const std::vector<int>& direction) {
  common::TextBuffer text;
  auto block = [&](int q, int i) {
    writeBlock(text, solution, direction, q, i);
    if (text.size() >= kBlock) {
      std::fwrite(text.data(), 1, text.size(), out);
      text.clear();
    }
  };
  for (int q = 1; q <= solution.n; ++q) block(q, q);
  for (int q = 1; q <= solution.n; ++q) block(q, solution.order[q]);
  std::fwrite(text.data(), 1, text.size(), out);
}

}  // namespace calcdin
