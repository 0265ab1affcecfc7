#pragma once
// The part of the model file the modal engine reads (up to the supports), and the
// support directions it removes from the system.
#include <vector>

#include "common/model.h"
#include "common/scan.h"

namespace calcdin {

// Elimination options of the command line.
constexpr int kOptionSupports = 0;       // remove support directions, vertical springs stay
constexpr int kOptionFree = 1;           // remove nothing
constexpr int kOptionAllSupports = 2;    // as 0, vertical springs removed too
constexpr int kOptionAssembleOnly = -1;  // assemble and stop

inline bool solvesReducedSystem(int option) { return option == kOptionSupports || option == kOptionAllSupports; }

// The model up to its supports; its ties and nodal loads are not read.
struct ModalModel : common::ModelData {
  double g = 0;
};

// The model file up to its supports, by the common reader as the static engine
// reads it: header, nodes (sorted), bars with their checks and properties,
// sections, materials and supports.
ModalModel readModalModel(common::Scanner& in);

struct Elimination {
  int total = 0;                    // N = 3·nn
  std::vector<int> eliminated;      // in the order the supports give them, each once
  std::vector<bool> isEliminated;   // 1..N
  std::vector<int> freeDirections;  // 1..nf: ascending directions not eliminated

  int ne() const { return static_cast<int>(eliminated.size()); }
  int nf() const { return total - ne(); }
};

// Directions removed by the supports under this program's own table: 110 and any
// code it does not list remove the horizontal and vertical directions, 111 all
// three, 121 the horizontal and rotation. A support whose vertical digit is 2
// (120, 121, 20, 22, 220, 222, ...) keeps its vertical direction, on its spring,
// except with option 2.
Elimination eliminateSupports(const std::vector<common::Support>& supports, int nn, int option);

struct VerticalSpring {
  int direction;
  double ky;
};

// With option 0 the vertical direction of every support whose vertical digit is 2
// stays in the system, held by its spring; other options give none.
std::vector<VerticalSpring> verticalSprings(const std::vector<common::Support>& supports, int option);

}  // namespace calcdin
