#include "modal_model.h"

namespace calcdin {

ModalModel readModalModel(Scanner& in) {
  ModelReader reader(in);
  ModalModel model;
  model.header = reader.readHeader();
  model.g = unitConstantsFor(model.header.unitCode).g;
  model.nodes = reader.readNodes(model.header.nn);
  int maxw = 0;  // band width is of no use to a dense solution
  model.bars = reader.readBars(model.header.nb, model.nodes, maxw);
  model.sections = reader.readSections(model.header.nsec);
  model.materials = reader.readMaterials(model.header.nmat, model.g);
  model.supports.assign(1, Support{});
  for (int k = 1; k <= model.header.nsup; ++k) model.supports.push_back(reader.readSupport(k, model.nodes));
  return model;
}

namespace {
// Supports whose vertical direction is an elastic spring: codes 120 and 121, and
// every digit code with a 2 in the tens (20, 22, 220, 222, ...).
bool hasVerticalSpring(int code) { return isDigitSupportCode(code) && (code / 10) % 10 == 2; }
}  // namespace

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
    const int k = supports[s].index;
    const int code = supports[s].code;
    // The order of removal, kept in `eliminated`: horizontal always, the rotation
    // of 121 before the vertical, the rotation of 111 after it.
    remove(3 * k - 2);
    if (code == 121) remove(3 * k);
    // A vertical spring keeps its direction, held by the spring, unless option 2
    // removes it too; every other code removes the vertical direction.
    if (!hasVerticalSpring(code) || option == kOptionAllSupports) remove(3 * k - 1);
    if (code == 111) remove(3 * k);
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
    if (hasVerticalSpring(supports[s].code))
      springs.push_back({3 * supports[s].index - 1, supports[s].ky});
  return springs;
}

}  // namespace calcdin
