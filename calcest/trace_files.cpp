#include "calcest/trace_files.h"

#include <cstring>

namespace calcest {

using namespace common;

TraceFiles::TraceFiles(AnalysisContext& ctx, Console& console) : ctx_(ctx), console_(console) {}

TraceFiles::~TraceFiles() = default;

// The condensed hinged matrices beside their closed forms, to see that they
// agree (fp_pruebak.txt), and the global matrix (the .kra file).
void TraceFiles::barMatrices(const Bar& bar) {
  for (int type : {2, 3, 4}) {
    const Mat6& condensed = bar.local[stiffSlot(type)];
    Mat6 closed = closedFormHinged(bar, type);
    for (int i = 1; i <= 6; ++i)
      for (int j = 1; j <= 6; ++j)
        ctx_.fpPrueba.print("prueba k  %4d  i: %4d  j: %4d  k2: %lf  k2x: %lf\n", bar.index, i, j, condensed[i][j],
                            closed[i][j]);
  }
  for (int i = 1; i <= 6; ++i)
    for (int j = 1; j <= 6; ++j) ctx_.kra.print(" %d %d %d  %lf\n", bar.index, i, j, bar.global[i][j]);
}

void TraceFiles::barWithoutStiffness(const Bar& bar) {
  console_.write(formatText("tipob= %d \n", bar.type));
  console_.waitKey();
}

void TraceFiles::bandEntry(int row, int col, double value) {
  ctx_.rigidez.print(" s[%d*%d+%d]= %lf\n", row, ctx_.bw, col, value);
}

void TraceFiles::writeBandRows(TextOut& out) {
  for (int i = 1; i <= ctx_.neq; ++i) {
    out.print(" ************\n");
    for (int j = 1; j <= 6; ++j)
      out.print(" s[%d*%d+%d]= %lf\n", i, ctx_.bw, j, j < ctx_.bw ? ctx_.s[ctx_.band(i, j)] : 0.0);
  }
}

void TraceFiles::assembled() {
  ctx_.rigidez.finish();
  ctx_.fpPrueba.finish();
  ctx_.kra.finish();
  writeBandRows(ctx_.rigidez1);
  ctx_.rigidez1.finish();
}

void TraceFiles::eliminationStarts() {
  ctx_.caldef.print(" ****** PRIMERA ********");
  const size_t rows = static_cast<size_t>(ctx_.neq) + 1;
  pivotRows_.assign(rows, std::string());
  pivotBits_.assign(rows, 0);
  pivotSeen_.assign(rows, false);
}

// Every diagonal at every step, (neq - 1)^2 lines, most of them as the step
// before wrote them: a row is formatted again only when its diagonal changed.
void TraceFiles::stepStarts(int p) {
  const int last = ctx_.neq - 1;
  const std::string step = formatText(" paso: %d", p);
  for (int q = 1; q <= last; ++q) {
    const double work = ctx_.s[ctx_.band(q, 1)];
    uint64_t bits;
    std::memcpy(&bits, &work, sizeof bits);
    if (!pivotSeen_[q] || bits != pivotBits_[q]) {
      const double ref = ctx_.sr[ctx_.band(q, 1)];
      pivotRows_[q] = formatText("  fila: %d  sr: %lf  s: %lf  sr/s: %lf\n", q, ref, work, ref / work);
      pivotBits_[q] = bits;
      pivotSeen_[q] = true;
    }
    ctx_.tst.write(step);
    ctx_.tst.write(pivotRows_[q]);
  }
}

void TraceFiles::rowMultiplier(int p, int n, double c1, double entry, double pivot) {
  ctx_.caldef.print(" *** c1: %lf s[%d*%d+%d]: %lf s[%d*%d+1]: %lf\n", c1, p, ctx_.bw, n, entry, p, ctx_.bw, pivot);
}

void TraceFiles::entryReduced(int r, int col, int p, int k, double c1, double before, double above, double after) {
  const int bw = ctx_.bw;
  ctx_.caldef.print(" ##### C1: %lf s[%d*%d+%d]: %lf s[%d*%d+%d]: %lf\n", c1, r, bw, col, before, p, bw, k, above);
  ctx_.caldef.print(" ##### #####  s[%d*%d+%d]: %lf \n", r, bw, col, after);
}

void TraceFiles::loadReduced(int r, int p, double before, double after, double pivotLoad) {
  ctx_.caldef.print(" *****f[%d]: %lf\n", r, before);
  ctx_.caldef.print(" **********  f[%d]: %lf f[%d]: %lf\n", r, after, p, pivotLoad);
}

void TraceFiles::eliminationEnds() {
  ctx_.tst.finish();
  writeBandRows(ctx_.caldef1);
  ctx_.caldef1.finish();
}

void TraceFiles::backSubstitutionStarts(int neq, double load) {
  ctx_.caldef.print(" ****** SEGUNDA ********");
  ctx_.caldef.print(" f[%d]: %lf\n", neq, load);
}

void TraceFiles::lastUnknownSolved(int neq, double value) {
  ctx_.caldef.print(" f[%d]: %lf s[%d*%d+1]\n", neq, value, neq, ctx_.bw);
  ctx_.caldef.print(" ****** SIGUE ********");
}

void TraceFiles::rowScaled(int i, double c1, double diagonal, double before, double after) {
  ctx_.caldef.print(" *** c1: %lf s[%d*%d+1]: %lf\n", c1, i, ctx_.bw, diagonal);
  ctx_.caldef.print(" ****  f[%d]: %lf\n", i, before);
  ctx_.caldef.print(" ***** f[%d]: %lf\n", i, after);
}

void TraceFiles::unknownReduced(int i, int k, double before, double after, double entry, double known) {
  ctx_.caldef.print(" ****** ***** f[%d]: %lf\n", i, before);
  ctx_.caldef.print(" ***** ****** ****** f[%d]: %lf s[%d*%d+%d]: %lf  f[%d+%d-1]: %lf\n", i, after, i, ctx_.bw, k,
                    entry, i, k, known);
}

void TraceFiles::solved() { ctx_.caldef.finish(); }

}  // namespace calcest
