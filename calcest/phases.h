#pragma once
// The phases of a calcest run, called in order by the driver. Each works on the
// analysis context and throws RunError for anything that ends the run.
#include <string>
#include <vector>

#include "calcest/context.h"
#include "common/console_program.h"
#include "common/run_error.h"

namespace calcest {

using namespace common;

// Driver (driver.cpp): the whole run. It opens the files, computes
// everything, writes the results and puts them in place.
extern const ConsoleProgram kCalcest;
// Opens the files of ctx.args: both inputs first, then, when none of them is
// also an input, every output and trace, aside until the run is complete.
void openFiles(AnalysisContext& ctx);
// Reads the model and the loads and assembles the band, with their traces.
void readAndAssemble(AnalysisContext& ctx);
// readAndAssemble, then supports and ties, the solution, bar results and reactions.
void compute(AnalysisContext& ctx);
// Stem of the side files: the model file name up to the first '.' of its last
// component (directories kept).
std::string sideFileStem(const std::string& modelFileName);

// Input (input.cpp).
void readHeaderAndEcho(AnalysisContext& ctx);  // echoed to the results and diagram files
void readModelTables(AnalysisContext& ctx);    // nodes, bars, sections, materials
// The context's nodes, bars (band width) and bar end slots from a model read.
void setBarTables(AnalysisContext& ctx, const ModelData& model);
// Writes every bar's self-weight line to the .kar file; applies it as a load
// when the header asks for it.
void writeSelfWeight(AnalysisContext& ctx);
void readSupportsTiesAndNodalLoads(AnalysisContext& ctx);
// Nodal loads of the table plus the bars' equivalent loads; written to esfuerzos.txt.
void buildLoadVector(AnalysisContext& ctx);
void allocateBand(AnalysisContext& ctx);             // band sized by bars and ties

// Element stiffness and assembly (stiffness.cpp).
constexpr int kStiffTypes[6] = {1, 2, 3, 4, 7, 8};
int stiffSlot(int type);  // 0..5 for types 1,2,3,4,7,8; -1 otherwise
Mat6 fullLocalMatrix(const Bar& bar);
Mat6 condense(const Mat6& full, int type);
Mat6 closedFormHinged(const Bar& bar, int type);  // types 2, 3, 4
void computeElementMatrices(Bar& bar);            // local, zones, C, T, global
void computeAllElementMatrices(AnalysisContext& ctx);
void assembleStiffness(AnalysisContext& ctx);
void writeBandRows(TextOut& out, AnalysisContext& ctx);  // six entries per row

// Supports and ties (supports.cpp).
void applySupportsAndTies(AnalysisContext& ctx);
void applySupport(AnalysisContext& ctx, const Support& support);

// Solver (solver.cpp). A pivot that vanishes stops it with SingularModel.
struct SingularModel : RunError {
  using RunError::RunError;
};
void solveBand(AnalysisContext& ctx);

// Results (results.cpp).
void computeBarResults(AnalysisContext& ctx);
void buildStationTable(AnalysisContext& ctx);
void computeReactions(AnalysisContext& ctx);
void supportReaction(const AnalysisContext& ctx, const Support& support, NodeResult& out);

// Output files (output.cpp). writeResults writes them all in order; the
// driver puts them in place.
void writeResults(AnalysisContext& ctx);
void writeNodeResults(AnalysisContext& ctx);
void writeBarLine(AnalysisContext& ctx, const Bar& bar, const BarEnds& ends);
void writeArtCorteBlock(TextOut& out, const Bar& bar, const double delta[7]);
void writeStationFiles(AnalysisContext& ctx);
void writeBarRecords(AnalysisContext& ctx);
void writeSupportLine(AnalysisContext& ctx, const Support& sup, const NodeResult& result);
void writeTieLines(AnalysisContext& ctx);
// Fills one record of the bar record file (barrecord::kRecordSize bytes).
void encodeBarRecord(const Bar& bar, unsigned char* record);

}  // namespace calcest
