#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <random>
#include <string>

#include "calcdin/tests/fixtures.h"
#include "calcdin/jacobi.h"
#include "calcdin/results_file.h"
#include "common/testing/test_support.h"

using namespace common;

using calcdin::ModalSolution;

namespace {
std::string written(const ModalSolution& sol, const std::vector<int>& direction) {
  fixtures::TempFile out("");
  calcdin::writeModalResults(out.file, sol, direction);
  std::fflush(out.file);
  long size = std::ftell(out.file);
  std::string bytes(static_cast<std::size_t>(size), '\0');
  std::rewind(out.file);
  EXPECT_EQ(std::fread(bytes.data(), 1, bytes.size(), out.file), bytes.size());
  return bytes;
}
}  // namespace

TEST(ModalResultsFile, ModesInRowOrderThenAscendingWithTheirDirections) {
  // The 2x2 example: eigenvalue 3 comes out first, 1 second; the reduced rows
  // are the global directions 4 and 7.
  calcdin::PairMatrix m(2);
  m.S(1, 1) = m.S(2, 2) = 2;
  m.S(1, 2) = m.S(2, 1) = -1;
  m.Q(1, 1) = m.Q(2, 2) = 1;
  ModalSolution sol = calcdin::solveGeneralizedJacobi(m);
  const std::string three =
      "AUTOVALOR  indice: %d   direcci\xF3n: 4   valor:         3.0000000000 \n"
      "AUTOVALOR  ciclos/seg.:  0.275664 \n"
      "AUTOVECTORES\n"
      "           0.707107 \n"
      "           -0.707107 \n";
  const std::string one =
      "AUTOVALOR  indice: %d   direcci\xF3n: 7   valor:         1.0000000000 \n"
      "AUTOVALOR  ciclos/seg.:  0.159155 \n"
      "AUTOVECTORES\n"
      "           0.707107 \n"
      "           0.707107 \n";
  auto numbered = [](std::string block, int q) { return block.replace(block.find("%d"), 2, std::to_string(q)); };
  std::string expected = numbered(three, 1) + numbered(one, 2) + numbered(one, 1) + numbered(three, 2);
  std::string text = written(sol, {0, 4, 7});
  EXPECT_EQ(text, expected);
  EXPECT_EQ(testsupport::splitLines(text).size(), 2u * 2 * (2 + 3));
}

TEST(ModalResultsFile, NegativeEigenvalueKeepsItsSignAndItsFrequencyUsesTheMagnitude) {
  ModalSolution sol;
  sol.n = 1;
  sol.lambda = {0, -4.0};
  sol.order = {0, 1};
  sol.phiT = calcdin::DenseBuffer(4);
  sol.phiT[3] = -0.25;
  EXPECT_EQ(written(sol, {0, 3}),
            "AUTOVALOR  indice: 1   direcci\xF3n: 3   valor:        -4.0000000000 \n"
            "AUTOVALOR  ciclos/seg.:  0.318310 \n"
            "AUTOVECTORES\n"
            "           -0.250000 \n"
            "AUTOVALOR  indice: 1   direcci\xF3n: 3   valor:        -4.0000000000 \n"
            "AUTOVALOR  ciclos/seg.:  0.318310 \n"
            "AUTOVECTORES\n"
            "           -0.250000 \n");
}
