#pragma once
// The phases of a calcest run, called in order by the driver. Each works on the
// analysis context and throws RunError for anything that ends the run.
#include <string>
#include <vector>

#include "calcest/context.h"
#include "common/console_program.h"
#include "common/run_error.h"

namespace calcest {

class AssemblyTrace;

// Driver (driver.cpp): the whole run. It opens the files, computes
// everything, writes the results and puts them in place.
extern const common::ConsoleProgram kCalcest;
// Opens the files of ctx.args: both inputs first, then, when none of them is
// also an input, every output and trace, aside until the run is complete.
void openFiles(AnalysisContext& ctx);
// Reads the model and the loads and assembles the band, reporting the
// assembly to `trace` (none: nothing reported).
void readAndAssemble(AnalysisContext& ctx, AssemblyTrace* trace);

// Input (input.cpp).
void readHeaderAndEcho(AnalysisContext& ctx);  // echoed to the results and diagram files
void readModelTables(AnalysisContext& ctx);    // nodes, bars, sections, materials
// The context's nodes, bars (band width) and bar end slots from a model read.
void setBarTables(AnalysisContext& ctx, const common::ModelData& model);
// Writes every bar's self-weight line to the .kar file; applies it as a load
// when the header asks for it.
void writeSelfWeight(AnalysisContext& ctx);
void readSupportsTiesAndNodalLoads(AnalysisContext& ctx);
// Nodal loads of the table plus the bars' equivalent loads; written to esfuerzos.txt.
void buildLoadVector(AnalysisContext& ctx);
void allocateBand(AnalysisContext& ctx);  // band sized by bars and ties

// Element stiffness and assembly (stiffness.cpp).
common::Mat6 fullLocalMatrix(const Bar& bar);
common::Mat6 condense(const common::Mat6& full, int type);
common::Mat6 closedFormHinged(const Bar& bar, int type);  // types 2, 3, 4
void computeElementMatrices(Bar& bar);                    // local, zones, C, T, global
void computeAllElementMatrices(AnalysisContext& ctx);

// What the assembly reports as it goes, for a run that keeps traces: values
// only, the words and files are the trace's.
class AssemblyTrace {
 public:
  virtual ~AssemblyTrace() = default;
  virtual void barMatrices(const Bar& bar) = 0;                // each bar, before it is added
  virtual void barWithoutStiffness(const Bar& bar) = 0;        // its type has no matrix: it adds nothing
  virtual void bandEntry(int row, int col, double value) = 0;  // the working band after each addition
  virtual void assembled() = 0;                                // every bar added
};
// Adds every bar's global matrix to both band matrices.
void assembleStiffness(AnalysisContext& ctx, AssemblyTrace* trace = nullptr);

// Supports and ties (supports.cpp).
void applySupportsAndTies(AnalysisContext& ctx);
void applySupport(AnalysisContext& ctx, const common::Support& support);

// Solver (solver.cpp).
// What the band solver reports as it goes, for a run that keeps traces: the
// values it meets, in order; the words and files are the trace's.
class BandTrace {
 public:
  virtual ~BandTrace() = default;
  virtual void eliminationStarts() = 0;
  virtual void stepStarts(int p) = 0;  // the diagonals as they stand before step p
  // Row p + n - 1 is reduced by c1 = entry / pivot times row p.
  virtual void rowMultiplier(int p, int n, double c1, double entry, double pivot) = 0;
  // Entry (r, col) less c1 times entry (p, k), the one above it in row p.
  virtual void entryReduced(int r, int col, int p, int k, double c1, double before, double above, double after) = 0;
  virtual void loadReduced(int r, int p, double before, double after, double pivotLoad) = 0;
  virtual void eliminationStopped() {}  // a pivot vanished: no step follows
  virtual void eliminationEnds() = 0;   // the band stands eliminated
  virtual void backSubstitutionStarts(int neq, double load) = 0;
  virtual void lastUnknownSolved(int neq, double value) = 0;
  virtual void rowScaled(int i, double c1, double diagonal, double before, double after) = 0;
  // Unknown i less entry (i, k) times the known unknown i + k - 1, over the diagonal.
  virtual void unknownReduced(int i, int k, double before, double after, double entry, double known) = 0;
  virtual void solved() = 0;
};

enum class BandStatus {
  kSolved,     // ctx.f holds the displacements
  kZeroPivot,  // the pivot of `row` vanished: the model is a mechanism somewhere
  kNotFinite,  // the displacement of `row` is no finite number (values beyond the doubles' range)
};
struct BandOutcome {
  BandStatus status = BandStatus::kSolved;
  int row = 0;         // where the pivot vanished, or the displacement is not finite
  double pivot = 0.0;  // its value (a zero, maybe negative)
};
// Gauss elimination without pivoting on the upper band, then back substitution
// into ctx.f. It stops at the first pivot that vanishes.
BandOutcome solveBand(AnalysisContext& ctx, BandTrace* trace = nullptr);
// The console text that ends a run stopped by a vanished pivot (driver.cpp).
std::string zeroPivotText(const BandOutcome& outcome);
// The text of a solution that failed: zeroPivotText, or the node whose
// displacement is no finite number.
std::string solutionFailureText(const AnalysisContext& ctx, const BandOutcome& outcome);

// Results (results.cpp).
void computeBarResults(AnalysisContext& ctx);
void buildStationTable(AnalysisContext& ctx);
void computeReactions(AnalysisContext& ctx);
// A result that is no finite number (a model whose values go beyond the range
// of the doubles) is never written: throws RunError naming the bar, the
// support or the tie.
void refuseNonFiniteResults(const AnalysisContext& ctx);
void supportReaction(const AnalysisContext& ctx, const common::Support& support, NodeResult& out);

// Output files (output.cpp). writeResults writes them all in order; the
// driver puts them in place.
void writeResults(AnalysisContext& ctx);
void writeNodeResults(AnalysisContext& ctx);
void writeBarLine(AnalysisContext& ctx, const Bar& bar, const BarEnds& ends);
void writeArtCorteBlock(TextOut& out, const Bar& bar, const double delta[7]);
void writeStationFiles(AnalysisContext& ctx);
void writeBarRecords(AnalysisContext& ctx);
void writeSupportLine(AnalysisContext& ctx, const common::Support& sup, const NodeResult& result);
void writeTieLines(AnalysisContext& ctx);
// Fills one record of the bar record file (barrecord::kRecordSize bytes).
void encodeBarRecord(const Bar& bar, unsigned char* record);

}  // namespace calcest
