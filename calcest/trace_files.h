#pragma once
// The traces of a calcest run, written as the assembly and the band solver
// report: the element matrices (fp_pruebak.txt and the .kra file), each
// addition to the band (rigidez.txt), the band as assembled and as eliminated
// (rigidez1.txt, caldef1.txt), the diagonals at every step (the .tst file) and
// the elimination itself (caldef.txt). They are for checking a doubtful model:
// nothing reads them. A bar of a type without stiffness is told on the
// console, which then waits for a key.
#include <cstdint>
#include <string>
#include <vector>

#include "calcest/phases.h"
#include "common/console.h"

namespace calcest {

class TraceFiles : public AssemblyTrace, public BandTrace {
 public:
  // The files are the context's, opened by the driver.
  TraceFiles(AnalysisContext& ctx, common::Console& console);
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
  void eliminationEnds() override;
  void backSubstitutionStarts(int neq, double load) override;
  void lastUnknownSolved(int neq, double value) override;
  void rowScaled(int i, double c1, double diagonal, double before, double after) override;
  void unknownReduced(int i, int k, double before, double after, double entry, double known) override;
  void solved() override;

 private:
  void writeBandRows(TextOut& out);

  AnalysisContext& ctx_;
  common::Console& console_;
  // The pivot trace's rows as last written, and the diagonal each was made of.
  std::vector<std::string> pivotRows_;
  std::vector<uint64_t> pivotBits_;
  std::vector<bool> pivotSeen_;
};

}  // namespace calcest
