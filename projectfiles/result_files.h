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
  std::vector<BarEnds> bars;        // 1-based
  std::vector<int> supportNodes;    // 1-based: node index of each support
  int ntie = 0;
};

struct ResNode {
  int index = 0;
  SourceValue deflection;  // scaled vertical displacement
};

// A bar line runs from the left end to the right end of the bar.
struct ResBar {
  int index = 0, left = 0, right = 0;
  SourceValue Mleft, Mright, Vleft, Vright;
};

struct ResSupport {
  int node = 0;
  SourceValue Ry, M;
};

struct ResTieEnd {
  int label = 0, node = 0, dof = 0, dir = 0;
  std::string letter;
  SourceValue force;
};

struct ResultsFile {
  std::string title;
  int unitCode = 0;
  std::vector<ResNode> nodes;         // 1-based
  std::vector<ResBar> bars;           // 1-based
  std::vector<ResSupport> supports;   // 1-based
  std::vector<ResTieEnd> tieEnds;     // two per tie, in file order
};

ResultsFile readResultsFile(TokenFile& in, const ResultsShape& shape);

// The records of the files, over the type their reals are read as. `fields()`
// lists the values in the order of their line: the layout every reader takes.
template <class Real>
struct DiagramPoint {
  Real x{}, deflection{}, moment{}, shear{};
  auto fields() { return std::tie(x, deflection, moment, shear); }
};

using FmcPoint = DiagramPoint<SourceValue>;

struct DiagramFile {
  std::string title;
  int unitCode = 0;
  std::vector<FmcPoint> points;  // 0-based: point P of the beam's grid
};

// `nb` bars give 20·nb + 1 points.
DiagramFile readDiagramFile(TokenFile& in, const std::string& title, int unitCode, int nb);

}  // namespace projectfiles
