#pragma once
// The two text files calcest leaves for a project: the results file (.res) and
// the diagram file (.fmc). The report keeps their values as the words of the
// file; the envelope reads the same records line by line, as floats.
#include <string>
#include <tuple>
#include <vector>

#include "projectfiles/token_file.h"

namespace projectfiles {

// What the model says the files must hold, to tell a file of another model.
struct ResultsShape {
  std::string title;
  int unitCode = 0;
  int nn = 0;
  struct BarEnds {
    int left = 0, right = 0;  // node indices, as the line lists them
  };
  std::vector<BarEnds> bars;      // 1-based
  std::vector<int> supportNodes;  // 1-based: node index of each support
  int ntie = 0;
};

// The records of the files, over the type their reals are read as. `fields()`
// lists the values in the order of their line: the layout every reader takes.
template <class Real>
struct NodeLine {  // .res: a node and its scaled vertical displacement
  int node = 0;
  Real value{};
  auto fields() { return std::tie(node, value); }
};

// A bar line runs from the left end to the right end of the bar: its end
// nodes, then the moments and shears at the left end and at the right end.
template <class Real>
struct BarLine {
  int bar = 0, nodeI = 0, nodeJ = 0;
  Real Mi{}, Mj{}, Qi{}, Qj{};
  auto fields() { return std::tie(bar, nodeI, nodeJ, Mi, Mj, Qi, Qj); }
};

template <class Real>
struct SupportLine {  // .res: the support's node, vertical and moment reactions
  int node = 0;
  Real R{}, M{};
  auto fields() { return std::tie(node, R, M); }
};

template <class Real>
struct DiagramPoint {  // .fmc: abscissa, deflection, moment, shear
  Real x{}, deflection{}, moment{}, shear{};
  auto fields() { return std::tie(x, deflection, moment, shear); }
};

using ResNode = NodeLine<SourceValue>;
using ResBar = BarLine<SourceValue>;
using ResSupport = SupportLine<SourceValue>;
using FmcPoint = DiagramPoint<SourceValue>;

struct ResTieEnd {
  int label = 0, node = 0, dof = 0, dir = 0;
  std::string letter;
  SourceValue force;
};

struct ResultsFile {
  std::string title;
  int unitCode = 0;
  std::vector<ResNode> nodes;        // 1-based
  std::vector<ResBar> bars;          // 1-based
  std::vector<ResSupport> supports;  // 1-based
  std::vector<ResTieEnd> tieEnds;    // two per tie, in file order
};

ResultsFile readResultsFile(TokenFile& in, const ResultsShape& shape);

struct DiagramFile {
  std::string title;
  int unitCode = 0;
  std::vector<FmcPoint> points;  // 0-based: point P of the beam's grid
};

// `nb` bars give 20·nb + 1 points.
DiagramFile readDiagramFile(TokenFile& in, const std::string& title, int unitCode, int nb);

}  // namespace projectfiles
