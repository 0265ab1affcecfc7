#pragma once
// A bar of the static analysis: what the model file gives (BarInput) plus its
// loads, element matrices and results. Vectors and 6x6 matrices are 1-based
// (slot 0 unused), in the local order u1, v1, th1, u2, v2, th2.
#include <array>
#include <vector>

#include "common/mat6.h"
#include "common/model.h"

namespace calcest {

using Vec6 = std::array<double, 7>;
using StationArray = std::array<double, common::kStations>;

struct Bar : common::BarInput {
  Bar() = default;
  explicit Bar(const common::BarInput& input) : common::BarInput(input) {}

  // Loads: equivalent nodal loads (N, V, M at I, then at J) and load diagrams.
  Vec6 eqGlobal{}, eqLocal{}, fixedEnd{};
  StationArray N0{}, V0{}, M0{};  // stations 1..19 used

  // Element matrices: local ones of types 1, 2, 3, 4, 7, 8 (slot order), the same
  // with rigid zones, C and its transpose, T and its transpose, the global one.
  std::array<common::Mat6, 6> local{}, withZones{};
  common::Mat6 C{}, Ct{}, T{}, Tt{}, global{};

  // Results: end displacements in local axes, then values at the 21 stations.
  Vec6 localEnds{};
  StationArray N{}, V{}, M{}, defx{}, defy{}, giro{}, slope{}, angle{};
};

// The bars of a model (slot 0 unused): about 9 KB each, filled as they are made.
using Bars = std::vector<Bar>;

// The bar types with a stiffness of their own, in the slot order of Bar::local.
constexpr int kStiffTypes[6] = {1, 2, 3, 4, 7, 8};
// 0..5 for types 1, 2, 3, 4, 7, 8; -1 otherwise.
constexpr int stiffSlot(int type) {
  for (int k = 0; k < 6; ++k)
    if (kStiffTypes[k] == type) return k;
  return -1;
}

}  // namespace calcest
