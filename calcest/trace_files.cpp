#include "calcest/trace_files.h"

#include <algorithm>
#include <cstring>

namespace calcest {

using namespace common;

// The element matrices of a few bars, kept to be printed where their files are
// written (fp_pruebak.txt and the .kra file): the condensed hinged matrices
// beside their closed forms, to see that they agree, and the global matrix.
struct TraceFiles::BarMatrices {
  static constexpr size_t kHinged = 3 * 36 * 2, kGlobal = 36;  // numbers of one bar
  static constexpr size_t kBars = 32;  // about a block of fp_pruebak.txt
  BarMatrices() {  // filled without moving on the way
    bars.reserve(kBars);
    hinged.reserve(kBars * kHinged);
    global.reserve(kBars * kGlobal);
  }
  std::vector<int> bars;
  std::vector<double> hinged, global;
};

namespace {
// Formats kept for the lines made on the writing thread, one set per file:
// the jobs of one file are made one after the other.
using KeptFormats = std::shared_ptr<LiteralFormats>;

void printHinged(const std::vector<int>& bars, const std::vector<double>& hinged, LiteralFormats& formats,
                 TextOut::Made& out) {
  const double* at = hinged.data();
  for (int bar : bars) {
    for (int type = 2; type <= 4; ++type)
      for (int i = 1; i <= 6; ++i)
        for (int j = 1; j <= 6; ++j, at += 2)
          formats.append(out.bytes, "prueba k  %4d  i: %4d  j: %4d  k2: %lf  k2x: %lf\n", bar, i, j, at[0], at[1]);
    out.cut();
  }
}

void printGlobal(const std::vector<int>& bars, const std::vector<double>& global, LiteralFormats& formats,
                 TextOut::Made& out) {
  const double* at = global.data();
  for (int bar : bars) {
    for (int i = 1; i <= 6; ++i)
      for (int j = 1; j <= 6; ++j) formats.append(out.bytes, " %d %d %d  %lf\n", bar, i, j, *at++);
    out.cut();
  }
}
}  // namespace

TraceFiles::TraceFiles(AnalysisContext& ctx, Console& console)
    : ctx_(ctx),
      console_(console),
      matrices_(std::make_unique<BarMatrices>()),
      hingedFormats_(std::make_shared<LiteralFormats>()),
      globalFormats_(std::make_shared<LiteralFormats>()) {}

TraceFiles::~TraceFiles() = default;

void TraceFiles::barMatrices(const Bar& bar) {
  BarMatrices& kept = *matrices_;
  kept.bars.push_back(bar.index);
  for (int type : {2, 3, 4}) {
    const Mat6& condensed = bar.local[stiffSlot(type)];
    Mat6 closed = closedFormHinged(bar, type);
    for (int i = 1; i <= 6; ++i)
      for (int j = 1; j <= 6; ++j) {
        kept.hinged.push_back(condensed[i][j]);
        kept.hinged.push_back(closed[i][j]);
      }
  }
  for (int i = 1; i <= 6; ++i)
    for (int j = 1; j <= 6; ++j) kept.global.push_back(bar.global[i][j]);
  if (kept.bars.size() >= BarMatrices::kBars) handOverMatrices();
}

void TraceFiles::handOverMatrices() {
  if (matrices_->bars.empty()) return;
  std::shared_ptr<const BarMatrices> kept(std::move(matrices_));
  matrices_ = std::make_unique<BarMatrices>();
  const size_t bars = kept->bars.size() * sizeof(int);
  ctx_.fpPrueba.defer([kept, formats = hingedFormats_](TextOut::Made& out) {
    printHinged(kept->bars, kept->hinged, *formats, out);
  }, bars + kept->hinged.size() * sizeof(double));
  ctx_.kra.defer([kept, formats = globalFormats_](TextOut::Made& out) {
    printGlobal(kept->bars, kept->global, *formats, out);
  }, bars + kept->global.size() * sizeof(double));
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
  handOverMatrices();
  ctx_.rigidez.finish();
  ctx_.fpPrueba.finish();
  ctx_.kra.finish();
  writeBandRows(ctx_.rigidez1);
  ctx_.rigidez1.finish();
}

// The pivot trace's rows as last written, each formatted again only when its
// diagonal has changed. A row that fits kSlot bytes is also kept in a slot of
// that size, copied whole (a fixed-size move) into each step's lines.
class PivotLines {
 public:
  explicit PivotLines(int rows)
      : last_(rows - 1), rows_(static_cast<size_t>(rows)), slots_(static_cast<size_t>(rows) * kSlot) {}

  void change(int q, double ref, double work) {
    std::string& row = rows_[q];
    bytes_ -= row.size();
    made_.clear();
    formats_.append(made_, "  fila: %d  sr: %lf  s: %lf  sr/s: %lf\n", q, ref, work, ref / work);
    row.assign(made_.data(), made_.size());
    bytes_ += row.size();
    if (row.size() <= kSlot) std::memcpy(&slots_[q * kSlot], row.data(), row.size());
  }

  // " paso: %d  fila: %d  sr: %lf  s: %lf  sr/s: %lf\n" for every row but the last.
  void step(int p, TextBuffer& out) const {
    // Each piece is moved whole, step text and slot, past its own end: the
    // room covers the last one's overrun.
    char step[32] = {};
    const std::string stepText = formatText(" paso: %d", p);
    const size_t stepLength = std::min(stepText.size(), sizeof step);
    std::memcpy(step, stepText.data(), stepLength);
    const size_t bytes = stepLength * static_cast<size_t>(last_) + bytes_;
    char* const start = out.room(bytes + sizeof step + kSlot);
    char* at = start;
    for (int q = 1; q <= last_; ++q) {
      std::memcpy(at, step, sizeof step);
      at += stepLength;
      const std::string& row = rows_[q];
      const size_t length = row.size();
      if (length <= kSlot) std::memcpy(at, &slots_[q * kSlot], kSlot);
      else std::memcpy(at, row.data(), length);
      at += length;
    }
    out.advance(bytes);
  }

 private:
  static constexpr size_t kSlot = 96;
  int last_;
  std::vector<std::string> rows_;
  std::vector<char> slots_;
  size_t bytes_ = 0;  // the rows' lengths together
  // The row's format parsed once; only the thread that makes the lines uses them.
  LiteralFormats formats_;
  TextBuffer made_;
};

void TraceFiles::eliminationStarts() {
  ctx_.caldef.print(" ****** PRIMERA ********");
  const size_t rows = static_cast<size_t>(ctx_.neq) + 1;
  pivotLines_ = std::make_shared<PivotLines>(ctx_.neq);
  pivotBits_.assign(rows, 0);
  pivotSeen_.assign(rows, false);
  pivotSteps_ = PivotSteps();
}

void TraceFiles::stepStarts(int p) {
  const int last = ctx_.neq - 1;
  if (last < 1) return;
  for (int q = 1; q <= last; ++q) {
    const double work = ctx_.s[ctx_.band(q, 1)];
    uint64_t bits;
    std::memcpy(&bits, &work, sizeof bits);
    if (!pivotSeen_[q] || bits != pivotBits_[q]) {
      pivotSteps_.changed.push_back({q, ctx_.sr[ctx_.band(q, 1)], work});
      pivotBits_[q] = bits;
      pivotSeen_[q] = true;
    }
  }
  pivotSteps_.steps.emplace_back(p, pivotSteps_.changed.size());
  pivotSteps_.lines += static_cast<size_t>(last);
  // About a block of the file at a time.
  if (pivotSteps_.lines >= 3000) handOverSteps();
}

void TraceFiles::handOverSteps() {
  if (pivotSteps_.steps.empty()) return;
  const size_t held = pivotSteps_.changed.capacity() * sizeof(Diagonal) +
                      pivotSteps_.steps.capacity() * sizeof(pivotSteps_.steps[0]);
  ctx_.tst.defer([lines = pivotLines_, gathered = std::move(pivotSteps_)](TextOut::Made& out) {
    size_t next = 0;
    for (const auto& [p, end] : gathered.steps) {
      for (; next < end; ++next) {
        const Diagonal& d = gathered.changed[next];
        lines->change(d.row, d.ref, d.work);
      }
      lines->step(p, out.bytes);
      out.cut();
    }
  }, held);
  pivotSteps_ = PivotSteps();
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

void TraceFiles::eliminationStopped() { handOverSteps(); }

void TraceFiles::eliminationEnds() {
  handOverSteps();
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
