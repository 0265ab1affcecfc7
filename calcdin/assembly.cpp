#include "calcdin/assembly.h"

#include <cmath>

#include "common/run_error.h"

namespace calcdin {

using namespace common;

void assembleBar(PairMatrix& system, const BarRecord& bar, const ElementMatrices& element,
                 const std::vector<bool>* isEliminated) {
  const int d[7] = {
      0, 3 * bar.nodeI - 2, 3 * bar.nodeI - 1, 3 * bar.nodeI, 3 * bar.nodeJ - 2, 3 * bar.nodeJ - 1, 3 * bar.nodeJ};
  for (int r = 1; r <= 6; ++r)
    for (int c = 1; c <= 6; ++c) {
      double k = element.stiffness[r][c], m = element.mass[r][c];
      if (isEliminated && ((*isEliminated)[d[r]] || (*isEliminated)[d[c]])) k = m = 0.0;
      system.S(d[r], d[c]) += k;
      system.Q(d[r], d[c]) += m;
    }
}

namespace {
bool allFinite(const Mat6& m) {
  for (int r = 1; r <= 6; ++r)
    for (int c = 1; c <= 6; ++c)
      if (!std::isfinite(m[r][c])) return false;
  return true;
}
}  // namespace

void assembleAll(PairMatrix& system, const BarRecordFile& records, const std::vector<BarInput>& bars, int option,
                 const Elimination& elimination, Console& console) {
  const std::vector<bool>* mask = solvesReducedSystem(option) ? &elimination.isEliminated : nullptr;
  for (std::size_t h = 1; h < bars.size(); ++h) {
    BarRecord bar = records.read(static_cast<int>(h), bars[h]);
    ElementMatrices element = buildElementMatrices(bar);
    if (!element.knownType) {
      console.write(formatText("tipob= %d \n", bar.type));
      console.waitKey();
      continue;
    }
    if (!allFinite(element.stiffness) || !allFinite(element.mass))
      throw RunError(
          formatText("ERROR: LA BARRA %d DEL FICHERO DE BARRAS DA MATRICES CON VALORES NO FINITOS "
                     "(REVISE L, aclx, E, G, A, I Y LA MASA)\n",
                     static_cast<int>(h)));
    assembleBar(system, bar, element, mask);
  }
}

void addVerticalSprings(PairMatrix& system, const std::vector<VerticalSpring>& springs) {
  for (const VerticalSpring& spring : springs) system.S(spring.direction, spring.direction) += spring.ky;
}

}  // namespace calcdin
