// The band solver alone: the solution it leaves in the load vector, or where
// and with what value a pivot vanished.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "calcest/phases.h"
#include "common/testing/test_support.h"

using namespace calcest;

namespace {

// The symmetric matrix k (rows from 0) and loads as a full-width band system.
void setSystem(AnalysisContext& ctx, const std::vector<std::vector<double>>& k, const std::vector<double>& loads) {
  ctx.neq = static_cast<int>(k.size());
  ctx.maxw = ctx.neq;
  ctx.bw = ctx.maxw + 1;
  const size_t rows = static_cast<size_t>(ctx.neq) + 1;
  ctx.s = ZeroArray(rows * static_cast<size_t>(ctx.bw));
  ctx.sr = ZeroArray(rows * static_cast<size_t>(ctx.bw));
  ctx.f = ZeroArray(rows);
  for (int r = 1; r <= ctx.neq; ++r) {
    ctx.f[r] = loads[r - 1];
    for (int c = r; c <= ctx.neq; ++c) ctx.s[ctx.band(r, c - r + 1)] = ctx.sr[ctx.band(r, c - r + 1)] = k[r - 1][c - 1];
  }
}

TEST(BandSolver, SolvesOrStopsAtTheFirstPivotThatVanishes) {
  struct Case {
    const char* what;
    std::vector<std::vector<double>> k;
    BandStatus status;
    int row;
    std::string text;  // zeroPivotText
  };
  const std::string tail = "  \n PRESIONE UNA TECLA PARA TERMINAR EL PROGRAMA ANORMALMENTE";
  const Case cases[] = {
      {"regular", {{4, 1, 0}, {1, 3, 1}, {0, 1, 2}}, BandStatus::kSolved, 0, ""},
      {"first pivot",
       {{0, 1}, {1, 1}},
       BandStatus::kZeroPivot,
       1,
       "MODELO CON PROBLEMAS(VERIFICAR)\ns[1,1]= 0.000000" + tail},
      {"emptied by the elimination",
       {{1, 1, 0}, {1, 1, 0}, {0, 0, 1}},
       BandStatus::kZeroPivot,
       2,
       "MODELO CON PROBLEMAS(VERIFICAR)\ns[2,1]= 0.000000" + tail},
      {"last row, met by the back substitution",
       {{1, 0, 0}, {0, 1, 0}, {0, 0, 0}},
       BandStatus::kZeroPivot,
       3,
       "MODELO CON PROBLEMAS(VERIFICAR)\ns[3,1]= 0.000000" + tail},
      {"a negative zero keeps its sign",
       {{1, 0}, {0, -0.0}},
       BandStatus::kZeroPivot,
       2,
       "MODELO CON PROBLEMAS(VERIFICAR)\ns[2,1]= -0.000000" + tail},
  };
  for (const Case& c : cases) {
    AnalysisContext ctx;
    const std::vector<double> loads(c.k.size(), 1.0);
    setSystem(ctx, c.k, loads);
    const BandOutcome outcome = solveBand(ctx);
    EXPECT_EQ(outcome.status, c.status) << c.what;
    if (c.status == BandStatus::kSolved) {
      for (size_t r = 0; r < c.k.size(); ++r) {
        double product = 0;
        for (size_t j = 0; j < c.k.size(); ++j) product += c.k[r][j] * ctx.f[static_cast<int>(j) + 1];
        EXPECT_NEAR(product, loads[r], 1e-12) << c.what << " row " << r + 1;
      }
      continue;
    }
    EXPECT_EQ(outcome.row, c.row) << c.what;
    EXPECT_EQ(outcome.pivot, 0.0) << c.what;
    EXPECT_EQ(zeroPivotText(outcome), c.text) << c.what;
  }
}

// Singular as written in decimals, {1, 0.1} times its transpose, but not as
// stored in binary: the second pivot comes out -1.7e-18, not 0. Round-off is
// all that holds it, so it stops as a vanished pivot does, at the row whose
// pivot shrank most.
TEST(BandSolver, AMatrixSingularButForRoundOffStopsAtThePivotThatShrankMost) {
  AnalysisContext ctx;
  setSystem(ctx, {{1, 0.1}, {0.1, 0.01}}, {1.0, 1.0});
  const BandOutcome outcome = solveBand(ctx);
  EXPECT_EQ(outcome.status, BandStatus::kZeroPivot);
  EXPECT_EQ(outcome.row, 2);
  EXPECT_EQ(zeroPivotText(outcome),
            "MODELO CON PROBLEMAS(VERIFICAR)\ns[2,1]= -0.000000  \n PRESIONE UNA TECLA PARA TERMINAR EL PROGRAMA "
            "ANORMALMENTE");
}

// A result that is no finite number is named where it is: the bar, the
// support (and its node), the tie.
TEST(NonFiniteResults, AreRefusedNamingTheBarTheSupportOrTheTie) {
  AnalysisContext ctx;
  ctx.bars.resize(3);
  ctx.barEnds.resize(3);
  ctx.supports.resize(2);
  ctx.supports[1].label = 7;
  ctx.reactions.resize(2);
  ctx.ties.resize(2);
  const auto refusal = [&ctx] { return testsupport::runErrorText([&ctx] { refuseNonFiniteResults(ctx); }); };
  EXPECT_EQ(refusal(), "");
  ctx.ties[1].FA = std::nan("");
  EXPECT_EQ(refusal(), "ERROR: LA FUERZA DEL CORRIMIENTO 1 NO ES UN N\xDAMERO FINITO\n");
  ctx.reactions[1].Ry = HUGE_VAL;
  EXPECT_EQ(refusal(), "ERROR: LA REACCI\xD3N DEL APOYO 1 (NODO 7) NO ES UN N\xDAMERO FINITO: REVISE SU RIGIDEZ\n");
  ctx.bars[2].M[5] = std::nan("");
  EXPECT_EQ(refusal(),
            "ERROR: LOS RESULTADOS DE LA BARRA 2 NO SON N\xDAMEROS FINITOS: REVISE E, G, A E I DE LA BARRA Y "
            "SUS CARGAS\n");
}

}  // namespace
