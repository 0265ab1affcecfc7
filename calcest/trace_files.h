#pragma once
// The traces of a calcest run, written as the assembly and the band solver
// report: the element matrices (fp_pruebak.txt and the .kra file), each
// addition to the band (rigidez.txt), the band as assembled and as eliminated
// (rigidez1.txt, caldef1.txt), the diagonals at every step (the .tst file) and
// the elimination itself (caldef.txt). They are for checking a doubtful model:
// nothing reads them. A bar of a type without stiffness is told on the
// console, which then waits for a key.
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "calcest/phases.h"
#include "common/console.h"

namespace calcest {

class PivotLines;

class TraceFiles : public AssemblyTrace, public BandTrace {
 public:
  // The files are the context's, opened by the driver.
  TraceFiles(AnalysisContext& ctx, Console& console);
  ~TraceFiles() override;

  void barMatrices(const Bar& bar) override;
  void barWithoutStiffness(const Bar& bar) override;
  void bandEntry(int row, int col, double value) override;
  void assembled() override;

  void eliminationStarts() override;
  void stepStarts(int p) override;
  void rowMultiplier(int p, int n, double c1, double entry, double pivot) override;
  void entryReduced(int r, int col, int p, int k, double c1, double before, double above, double after) override;
  void loadReduced(int r, int p, double before, double after, double pivotLoad) override;
  void eliminationStopped() override;
  void eliminationEnds() override;
  void backSubstitutionStarts(int neq, double load) override;
  void lastUnknownSolved(int neq, double value) override;
  void rowScaled(int i, double c1, double diagonal, double before, double after) override;
  void unknownReduced(int i, int k, double before, double after, double entry, double known) override;
  void solved() override;

 private:
  void writeBandRows(TextOut& out);

  AnalysisContext& ctx_;
  Console& console_;
  // The element matrices are printed a few bars at a time where their files
  // are written (BarMatrices, in trace_files.cpp).
  struct BarMatrices;
  void handOverMatrices();
  std::unique_ptr<BarMatrices> matrices_;
  std::shared_ptr<LiteralFormats> hingedFormats_, globalFormats_;
  // Hands the steps gathered so far to the pivot trace.
  void handOverSteps();

  // The pivot trace writes every diagonal at every step, (neq - 1)^2 lines,
  // most of them as the step before wrote them: the solver only notes which
  // diagonals changed, and the lines are made where the file is written
  // (PivotLines, in trace_files.cpp), a few steps at a time.
  struct Diagonal {
    int row;
    double ref, work;
  };
  struct PivotSteps {
    std::vector<Diagonal> changed;
    std::vector<std::pair<int, size_t>> steps;  // p, end of its changes
    size_t lines = 0;
  };
  std::shared_ptr<PivotLines> pivotLines_;
  std::vector<uint64_t> pivotBits_;
  std::vector<bool> pivotSeen_;
  PivotSteps pivotSteps_;
};

}  // namespace calcest
