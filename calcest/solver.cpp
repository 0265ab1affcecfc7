// Gauss elimination without pivoting on the upper band, then back
// substitution; the solution replaces the load vector. What it meets goes to
// the trace, when there is one, as values.
#include <algorithm>

#include "calcest/phases.h"

namespace calcest {

using namespace common;

namespace {
BandOutcome zeroPivot(int row, double value) { return {BandStatus::kZeroPivot, row, value}; }

BandOutcome eliminate(AnalysisContext& ctx, BandTrace* trace) {
  ZeroArray& s = ctx.s;
  ZeroArray& f = ctx.f;
  for (int p = 1; p <= ctx.neq - 1; ++p) {
    if (trace) trace->stepStarts(p);
    int m = std::min(ctx.maxw, ctx.neq - p + 1);
    for (int n = 2; n <= m; ++n) {
      double pivot = s[ctx.band(p, 1)];
      if (pivot == 0.0) return zeroPivot(p, pivot);
      double c1 = s[ctx.band(p, n)] / pivot;
      int r = p + n - 1;
      if (trace) trace->rowMultiplier(p, n, c1, s[ctx.band(p, n)], pivot);
      for (int k = n; k <= m; ++k) {
        size_t at = ctx.band(r, k - n + 1);
        const double before = s[at], above = s[ctx.band(p, k)];
        s[at] -= c1 * above;
        if (trace) trace->entryReduced(r, k - n + 1, p, k, c1, before, above, s[at]);
      }
      const double load = f[r];
      f[r] -= c1 * f[p];
      if (trace) trace->loadReduced(r, p, load, f[r], f[p]);
    }
  }
  return {};
}

BandOutcome backSubstitute(AnalysisContext& ctx, BandTrace* trace) {
  const int neq = ctx.neq;
  ZeroArray& s = ctx.s;
  ZeroArray& f = ctx.f;
  if (trace) trace->backSubstitutionStarts(neq, f[neq]);
  double last = s[ctx.band(neq, 1)];
  if (last == 0.0) return zeroPivot(neq, last);
  f[neq] = f[neq] / last;
  if (trace) trace->lastUnknownSolved(neq, f[neq]);
  for (int i = neq - 1; i >= 1; --i) {
    double c1 = 1.0 / s[ctx.band(i, 1)];
    const double unscaled = f[i];
    f[i] = c1 * f[i];
    if (trace) trace->rowScaled(i, c1, s[ctx.band(i, 1)], unscaled, f[i]);
    int m = std::min(ctx.maxw, neq - i + 1);
    for (int k = 2; k <= m; ++k) {
      const double before = f[i];
      f[i] -= s[ctx.band(i, k)] * f[i + k - 1] * c1;
      if (trace) trace->unknownReduced(i, k, before, f[i], s[ctx.band(i, k)], f[i + k - 1]);
    }
  }
  return {};
}
}  // namespace

BandOutcome solveBand(AnalysisContext& ctx, BandTrace* trace) {
  if (trace) trace->eliminationStarts();
  BandOutcome outcome = eliminate(ctx, trace);
  if (outcome.status != BandStatus::kSolved) {
    if (trace) trace->eliminationStopped();
    return outcome;
  }
  if (trace) trace->eliminationEnds();
  outcome = backSubstitute(ctx, trace);
  if (outcome.status == BandStatus::kSolved && trace) trace->solved();
  return outcome;
}

}  // namespace calcest
