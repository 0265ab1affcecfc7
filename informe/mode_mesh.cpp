#include "informe/mode_mesh.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace informe {

double barsPerHalfWave(const projectfiles::Model& model, double frequency) {
  double fewest = std::numeric_limits<double>::infinity();
  const double omega = 2 * M_PI * std::fabs(frequency);
  for (size_t k = 1; k < model.bars.size(); ++k) {
    const common::BarInput& bar = model.bars[k];
    const bool bends =
        bar.type == 1 || bar.type == 2 || bar.type == 3 || bar.type == 4 || bar.type == 7 || bar.type == 8;
    const double EI = bar.E * bar.I, flexible = bar.aclx * bar.L;
    if (!bends || !(EI > 0) || !(bar.m > 0) || !(flexible > 0) || !(omega > 0)) continue;
    const double wavenumber = std::pow(omega * omega * bar.m / EI, 0.25);
    fewest = std::min(fewest, M_PI / wavenumber / flexible);
  }
  return fewest;
}

}  // namespace informe
