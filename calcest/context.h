#pragma once
// The analysis context of one calcest run: open files, counts, tables, the two
// band matrices and the load vector. Phases are plain functions over it.
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "calcest/bar.h"
#include "calcest/static_solution.h"
#include "common/file_handle.h"
#include "common/capacities.h"
#include "common/model.h"
#include "common/scan.h"
#include "calcest/text_out.h"

namespace calcest {

// One point along the whole beam (20 per bar plus the first).
struct StationEntry {
  double X = 0, defyS = 0, defxS = 0, slope = 0, M = 0, V = 0, N = 0;
  double giroL = 0, giroR = 0, angleR = 0, defyL = 0, defyR = 0;
};

// Zero-filled array of doubles; calloc leaves untouched pages unmapped, so a
// large band costs only what the model really uses.
class ZeroArray {
 public:
  ZeroArray() = default;
  explicit ZeroArray(size_t count);
  double& operator[](size_t i) { return data_.get()[i]; }
  double operator[](size_t i) const { return data_.get()[i]; }
  double* data() { return data_.get(); }
  size_t size() const { return size_; }

 private:
  struct Free {
    void operator()(double* p) const;
  };
  std::unique_ptr<double, Free> data_;
  size_t size_ = 0;
};

// Opens an input file or throws RunError (with a key wait) naming it.
common::FileHandle openInput(const std::string& name);

struct CommandLine {
  std::string model, results, loads, diagram, barRecords, reserved;
};

struct AnalysisContext {
  CommandLine args;
  std::string stem;
  std::string traceFolder;  // where the fixed-name traces go; "" for the current folder

  common::FileHandle modelFile, loadsFile;
  std::unique_ptr<common::Scanner> model, loads;
  // Every output is made aside when the run starts and put in place by the
  // driver when the run is complete (traces also when the solver stops). The
  // analysis in memory opens none, and reports to no trace.
  TextOut results, diagram, barRecords, kar, gan, def;
  TextOut kra, tst, esfuerzos, fpPrueba, rigidez, rigidez1, caldef, caldef1, artcorte;  // traces

  common::ModelHeader header;
  common::UnitConstants units{9.806, 1000.0};
  common::ModelData input;  // the model file as read so far; the tables below come from it

  std::vector<common::Node> nodes;
  std::vector<NodeResult> reactions;  // one per support, slot 0 unused
  Bars bars;
  std::vector<BarEnds> barEnds;
  std::vector<common::Support> supports;
  std::vector<common::Tie> ties;
  std::vector<common::NodalLoad> nodalLoads;
  std::vector<StationEntry> stations;

  // Band system: entry K(r, c), c >= r, at r * bw + (c - r + 1).
  int neq = 0, maxw = 0, bw = 1;
  ZeroArray s, sr;  // working and reference band matrices
  ZeroArray f;      // load vector, later the displacements
  double maxEntry = 0.0;
  double P = 0.0;  // penalty stiffness

  int nb() const { return static_cast<int>(bars.size()) - 1; }
  int nn() const { return static_cast<int>(nodes.size()) - 1; }
  size_t band(int row, int col) const { return static_cast<size_t>(row) * bw + static_cast<size_t>(col); }
};

}  // namespace calcest
