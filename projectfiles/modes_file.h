#pragma once
// The results file of calcdin: every mode in the order of the solved system's
// rows, then again by ascending eigenvalue. Each block gives the mode's
// eigenvalue, its frequency and its shape over the system's directions.
#include <string>
#include <vector>

#include "common/model.h"
#include "projectfiles/token_file.h"

namespace projectfiles {

struct Mode {
  int block = 0;      // position in its listing, from 1
  int direction = 0;  // direction number printed with the block
  SourceValue eigenvalue, frequency;
  std::vector<double> shape;  // 0-based, one value per row of the solved system
};

struct ModesFile {
  int order = 0;                // n: rows of the solved system
  std::vector<int> directions;  // 0-based: the global direction of each row
  std::vector<Mode> ascending;  // the second listing
};

// Reads and checks the file: 2·n blocks of n components, the first listing's
// direction numbers strictly ascending within 1..3·nn (they name the rows).
ModesFile readModesFile(TokenFile& in, int nn);

// The rows must be the directions calcdin solves for this model: all of them,
// or those its supports leave free (with or without the vertical springs).
// Throws RunError naming the file otherwise.
void checkDirectionsFitModel(const ModesFile& modes, const std::string& fileName,
                             const std::vector<common::Support>& supports, int nn);

// Displacements of every node (1-based, 3 per node: horizontal, vertical,
// rotation) of one mode: each row's value at its direction, 0 at the
// directions the supports removed.
struct NodeMotion {
  double ux = 0, uy = 0, rot = 0;
};
std::vector<NodeMotion> modeAtNodes(const ModesFile& modes, const Mode& mode, int nn);

}  // namespace projectfiles
