#pragma once
// One line of the loads file (`BAR TYPE a c b q DIR`), as typed: the engine
// reads it, the editor and the writers keep it.
namespace common {

struct BarLoad {
  int barLabel = 0;
  int ltype = 0;  // 1 point force, 2 point moment, 3 uniform, 4 rising, 5 falling, 6 temperature
  double a = 0, c = 0, b = 0;
  double q = 0;
  char dir = 'y';  // 'x'/'X' horizontal, 'y'/'Y' vertical
};

}  // namespace common
