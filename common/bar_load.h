#pragma once
// One line of the loads file (`BAR TYPE a c b q DIR`), as typed: the engine
// reads it, the editor and the writers keep it, the envelope reads it as
// floats. Here, in the lowest library all of them link, the line's layout is
// written once.
#include <tuple>

namespace common {

template <class Real>
struct LoadLine {
  int barLabel = 0;
  int ltype = 0;  // 1 point force, 2 point moment, 3 uniform, 4 rising, 5 falling, 6 temperature
  Real a = 0, c = 0, b = 0;
  Real q = 0;
  char dir = 'y';  // 'x'/'X' horizontal, 'y'/'Y' vertical
  // The values in the order of the line: the layout every reader takes.
  auto fields() { return std::tie(barLabel, ltype, a, c, b, q, dir); }
};

using BarLoad = LoadLine<double>;

}  // namespace common
