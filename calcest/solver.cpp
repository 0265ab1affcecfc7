// Gauss elimination without pivoting on the upper band, then back
// substitution; the solution replaces the load vector.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "calcest/phases.h"
#include "common/run_error.h"

namespace calcest {

using namespace common;

namespace {
[[noreturn]] void zeroPivot(int row, double value) {
  throw SingularModel(formatText("MODELO CON PROBLEMAS(VERIFICAR)\ns[%d,1]= %lf  \n"
                            " PRESIONE UNA TECLA PARA TERMINAR EL PROGRAMA ANORMALMENTE",
                            row, value),
                 true);
}

// The pivot trace writes every diagonal at every step: (neq - 1)^2 lines of
// " paso: %d  fila: %d  sr: %lf  s: %lf  sr/s: %lf\n". A diagonal changes only
// while the elimination passes near it, so the text from "  fila" on is kept
// per row and formatted again only when the row's diagonal has changed.
class PivotTrace {
 public:
  explicit PivotTrace(int neq) : rows_(static_cast<size_t>(neq) + 1), last_(static_cast<size_t>(neq) + 1) {}

  void write(AnalysisContext& ctx, int p) {
    std::string step = formatText(" paso: %d", p);
    for (int q = 1; q <= ctx.neq - 1; ++q) {
      double ref = ctx.sr[ctx.band(q, 1)], work = ctx.s[ctx.band(q, 1)];
      uint64_t bits;
      std::memcpy(&bits, &work, sizeof bits);
      if (rows_[q].empty() || bits != last_[q]) {
        rows_[q] = formatText("  fila: %d  sr: %lf  s: %lf  sr/s: %lf\n", q, ref, work, ref / work);
        last_[q] = bits;
      }
      ctx.tst.write(step);
      ctx.tst.write(rows_[q]);
    }
  }

 private:
  std::vector<std::string> rows_;
  std::vector<uint64_t> last_;
};

void eliminate(AnalysisContext& ctx, TextOut& trace) {
  const int bw = ctx.bw;
  ZeroArray& s = ctx.s;
  ZeroArray& f = ctx.f;
  PivotTrace pivots(ctx.neq);
  for (int p = 1; p <= ctx.neq - 1; ++p) {
    if (ctx.traces) pivots.write(ctx, p);
    int m = std::min(ctx.maxw, ctx.neq - p + 1);
    for (int n = 2; n <= m; ++n) {
      double pivot = s[ctx.band(p, 1)];
      if (pivot == 0.0) zeroPivot(p, pivot);
      double c1 = s[ctx.band(p, n)] / pivot;
      int r = p + n - 1;
      trace.print(" *** c1: %lf s[%d*%d+%d]: %lf s[%d*%d+1]: %lf\n", c1, p, bw, n, s[ctx.band(p, n)], p, bw, pivot);
      for (int k = n; k <= m; ++k) {
        size_t at = ctx.band(r, k - n + 1);
        trace.print(" ##### C1: %lf s[%d*%d+%d]: %lf s[%d*%d+%d]: %lf\n", c1, r, bw, k - n + 1, s[at], p, bw, k,
                    s[ctx.band(p, k)]);
        s[at] -= c1 * s[ctx.band(p, k)];
        trace.print(" ##### #####  s[%d*%d+%d]: %lf \n", r, bw, k - n + 1, s[at]);
      }
      trace.print(" *****f[%d]: %lf\n", r, f[r]);
      f[r] -= c1 * f[p];
      trace.print(" **********  f[%d]: %lf f[%d]: %lf\n", r, f[r], p, f[p]);
    }
  }
}

void backSubstitute(AnalysisContext& ctx, TextOut& trace) {
  const int bw = ctx.bw, neq = ctx.neq;
  ZeroArray& s = ctx.s;
  ZeroArray& f = ctx.f;
  trace.print(" ****** SEGUNDA ********");
  trace.print(" f[%d]: %lf\n", neq, f[neq]);
  double last = s[ctx.band(neq, 1)];
  if (last == 0.0) zeroPivot(neq, last);
  f[neq] = f[neq] / last;
  trace.print(" f[%d]: %lf s[%d*%d+1]\n", neq, f[neq], neq, bw);
  trace.print(" ****** SIGUE ********");
  for (int i = neq - 1; i >= 1; --i) {
    double c1 = 1.0 / s[ctx.band(i, 1)];
    trace.print(" *** c1: %lf s[%d*%d+1]: %lf\n", c1, i, bw, s[ctx.band(i, 1)]);
    trace.print(" ****  f[%d]: %lf\n", i, f[i]);
    f[i] = c1 * f[i];
    trace.print(" ***** f[%d]: %lf\n", i, f[i]);
    int m = std::min(ctx.maxw, neq - i + 1);
    for (int k = 2; k <= m; ++k) {
      trace.print(" ****** ***** f[%d]: %lf\n", i, f[i]);
      f[i] -= s[ctx.band(i, k)] * f[i + k - 1] * c1;
      trace.print(" ***** ****** ****** f[%d]: %lf s[%d*%d+%d]: %lf  f[%d+%d-1]: %lf\n", i, f[i], i, bw, k,
                  s[ctx.band(i, k)], i, k, f[i + k - 1]);
    }
  }
}
}  // namespace

void solveBand(AnalysisContext& ctx) {
  TextOut& trace = ctx.caldef;
  trace.print(" ****** PRIMERA ********");
  eliminate(ctx, trace);
  ctx.tst.finish();
  if (ctx.traces) writeBandRows(ctx.caldef1, ctx);
  ctx.caldef1.finish();
  backSubstitute(ctx, trace);
  trace.finish();
}

}  // namespace calcest
