#include "calcdin/modal_model.h"

namespace calcdin {

using namespace common;

ModalModel readModalModel(Scanner& in) {
  ModelReader reader(in);
  ModalModel model;
  static_cast<ModelData&>(model) = reader.readUpToMaterials();
  model.g = unitConstantsFor(model.header.unitCode).g;
  reader.readSupports(model);
  return model;
}

Elimination eliminateSupports(const std::vector<Support>& supports, int nn, int option) {
  Elimination out;
  out.total = 3 * nn;
  out.isEliminated.assign(static_cast<std::size_t>(out.total) + 1, false);
  // Two supports on one node would name a direction twice; it is removed once.
  auto remove = [&out](int direction) {
    if (out.isEliminated[direction]) return;
    out.isEliminated[direction] = true;
    out.eliminated.push_back(direction);
  };
  for (std::size_t s = 1; s < supports.size(); ++s) {
    const int first = 3 * supports[s].index - 2;
    for (Direction d : SupportCode(supports[s].code).modalRemovals(option == kOptionAllSupports))
      remove(first + static_cast<int>(d));
  }
  out.freeDirections.assign(1, 0);
  for (int d = 1; d <= out.total; ++d)
    if (!out.isEliminated[d]) out.freeDirections.push_back(d);
  return out;
}

std::vector<VerticalSpring> verticalSprings(const std::vector<Support>& supports, int option) {
  std::vector<VerticalSpring> springs;
  if (option != kOptionSupports) return springs;
  for (std::size_t s = 1; s < supports.size(); ++s)
    if (SupportCode(supports[s].code).hasModalVerticalSpring())
      springs.push_back({3 * supports[s].index - 1, supports[s].ky});
  return springs;
}

}  // namespace calcdin
