// Gauss elimination without pivoting on the upper band, then back
// substitution; the solution replaces the load vector. What it meets goes to
// the trace, when there is one, as values.
#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

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

// Solves the eliminated band for another right-hand side `x` (1-based), in
// place: row p of the band no longer changes once step p is done, so it holds
// both the multipliers and the rows of the back substitution.
void solveEliminated(const AnalysisContext& ctx, std::vector<double>& x) {
  const ZeroArray& s = ctx.s;
  for (int p = 1; p < ctx.neq; ++p) {
    const int m = std::min(ctx.maxw, ctx.neq - p + 1);
    for (int n = 2; n <= m; ++n) x[p + n - 1] -= s[ctx.band(p, n)] / s[ctx.band(p, 1)] * x[p];
  }
  for (int i = ctx.neq; i >= 1; --i) {
    const int m = std::min(ctx.maxw, ctx.neq - i + 1);
    for (int k = 2; k <= m; ++k) x[i] -= s[ctx.band(i, k)] * x[i + k - 1];
    x[i] /= s[ctx.band(i, 1)];
  }
}

// x' K x over x' diag(K) x, K the reference band as assembled.
double stiffnessRatio(const AnalysisContext& ctx, const std::vector<double>& x) {
  const ZeroArray& sr = ctx.sr;
  double energy = 0.0, diagonal = 0.0;
  for (int i = 1; i <= ctx.neq; ++i) {
    const double d = sr[ctx.band(i, 1)];
    diagonal += d * x[i] * x[i];
    double row = 0.0;  // the upper band twice: K is symmetric
    for (int k = 2; k <= std::min(ctx.maxw, ctx.neq - i + 1); ++k) row += sr[ctx.band(i, k)] * x[i + k - 1];
    energy += x[i] * (d * x[i] + 2.0 * row);
  }
  return energy / diagonal;
}

// Supports held by penalty springs keep the pivots of a mechanism from
// vanishing exactly: round-off leaves them small but not zero, and a beam free
// to turn about its one pin came out with reactions that do not carry its
// load. One step of inverse iteration from a fixed pseudo-random load finds
// the softest direction of the structure; its stiffness, measured on the
// matrix as assembled and relative to the diagonal, is round-off for a
// mechanism (1e-17 and less) and far above it for a soft but sound beam (a
// 250-bar cantilever: 3e-10). Below the limit the solution would hold less
// than two sound digits. The row named is the one whose pivot shrank most.
constexpr double kSoftestSoundStiffness = 1e-14;

BandOutcome checkNotSingular(const AnalysisContext& ctx) {
  std::vector<double> x(static_cast<size_t>(ctx.neq) + 1, 0.0);
  std::mt19937_64 random(20240611);
  for (int i = 1; i <= ctx.neq; ++i) {
    const double unit = static_cast<double>(random() >> 11) * 0x1.0p-53 * 2.0 - 1.0;
    x[i] = unit * std::sqrt(std::fabs(ctx.sr[ctx.band(i, 1)]));
  }
  solveEliminated(ctx, x);
  if (stiffnessRatio(ctx, x) >= kSoftestSoundStiffness) return {};
  int row = 1;
  double least = HUGE_VAL;
  for (int i = 1; i <= ctx.neq; ++i) {
    const double shrink = ctx.s[ctx.band(i, 1)] / ctx.sr[ctx.band(i, 1)];
    if (!(shrink >= least)) {
      least = shrink;
      row = i;
    }
  }
  return zeroPivot(row, ctx.s[ctx.band(row, 1)]);
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
  if (outcome.status != BandStatus::kSolved) return outcome;
  if (trace) trace->solved();
  for (int i = 1; i <= ctx.neq; ++i)
    if (!std::isfinite(ctx.f[i])) return {BandStatus::kNotFinite, i, ctx.f[i]};
  return checkNotSingular(ctx);
}

}  // namespace calcest
