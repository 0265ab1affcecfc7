#include "force_table.h"

#include <algorithm>
#include <cmath>

#include "bar_statics.h"
#include "run_error.h"
#include "token_file.h"

namespace alternancias {

void checkContinuousBeam(const Model& model, const std::string& datPath) {
  const int nb = model.header.nb;
  if (model.header.nn != nb + 1)
    throw RunError(formatText("ERROR EN EL FICHERO %s: %d NODOS PARA %d BARRAS; SE NECESITA UNA VIGA CONTINUA "
                              "(LA BARRA k DEL NODO k AL k+1, HORIZONTAL, NODOS DE IZQUIERDA A DERECHA)\n",
                              datPath.c_str(), model.header.nn, nb));
  for (int k = 1; k <= nb; ++k) {
    const BarInput& bar = model.bars[k];
    if (bar.orient != kHorizontal || bar.nodeI != k || bar.nodeJ != k + 1)
      throw RunError(formatText("ERROR EN EL FICHERO %s: LA BARRA %d NO VA EN HORIZONTAL DEL NODO %d AL %d; SE "
                                "NECESITA UNA VIGA CONTINUA (LA BARRA k DEL NODO k AL k+1, NODOS DE IZQUIERDA A "
                                "DERECHA)\n",
                                datPath.c_str(), bar.label, model.nodes[k].label, model.nodes[k + 1].label));
  }
}

std::vector<ForceRow> forceTable(const Model& model, const ResultsFile& res,
                                 const std::vector<calcest::LoadOnBar>& loads, const std::string& resPath) {
  const int nb = model.header.nb;
  std::vector<BarStatics> bars;
  bars.reserve(static_cast<size_t>(nb) + 1);
  bars.emplace_back(1.0, 0.0, 0.0);  // slot 0 unused
  for (int k = 1; k <= nb; ++k) bars.emplace_back(model.bars[k].L, res.bars[k].Mleft.value, res.bars[k].Vleft.value);
  for (const calcest::LoadOnBar& load : loads) bars[load.bar].add(load.load);
  for (int k = 1; k <= nb; ++k) {
    const double Mj = res.bars[k].Mright.value, Vj = res.bars[k].Vright.value;
    const double tolerance = 1e-6 * (2 + model.bars[k].L) + 1e-5 * bars[k].scale(Mj, Vj);
    if (!(bars[k].imbalance(Mj, Vj) <= tolerance))
      throw RunError(formatText("ERROR: LOS ESFUERZOS DE LA BARRA %d EN %s NO EQUILIBRAN SUS CARGAS: EL FICHERO ES "
                                "DE OTRO C\xC1LCULO; VUELVA A CALCULAR EL PROYECTO CON calcest\n",
                                model.bars[k].label, resPath.c_str()));
  }

  return forceRows(model, bars);
}

std::vector<ForceRow> forceRows(const Model& model, const std::vector<BarStatics>& bars) {
  const int nb = model.header.nb;
  std::vector<ForceRow> rows(static_cast<size_t>(kGridIntervals) * nb + 1);
  for (int k = 1; k <= nb; ++k) {
    const BarInput& bar = model.bars[k];
    const double x0 = model.nodes[bar.nodeI].x;
    for (int s = 0; s <= kGridIntervals; ++s) {
      const int p = kGridIntervals * (k - 1) + s;
      ForceRow& row = rows[p];
      row.index = p;
      row.x = x0 + bar.xs[s];
      // A node's left side belongs to the bar before it, its right side to the bar after it.
      if (s > 0 || k == 1) {
        const SectionForces left = bars[k].at(bar.xs[s], false);
        row.Qi = left.V;
        row.Mfi = left.M;
      }
      if (s < kGridIntervals || k == nb) {
        const SectionForces right = bars[k].at(bar.xs[s], true);
        row.Qd = right.V;
        row.Mfd = right.M;
      }
    }
  }
  // Nothing lies left of the first point or right of the last.
  rows.front().Qi = rows.front().Mfi = 0;
  rows.back().Qd = rows.back().Mfd = 0;
  return rows;
}

std::string formatForceTable(const std::vector<ForceRow>& rows) {
  // A value that rounds to zero is written as zero, whatever its sign.
  auto value = [](double v) { return std::fabs(v) < 0.00005 ? 0.0 : v; };
  std::string text = formatText("%d\n", static_cast<int>(rows.size()) - 1);
  for (const ForceRow& r : rows)
    text += formatText("%d %.4f %.4f %.4f %.4f %.4f 0.0000 %.4f\n", r.index, value(r.x), value(r.Qi), value(r.Qd),
                       value(r.Mfi), value(r.Mfd), value(r.Mf()));
  return text;
}

AnalysedProject readAnalysedProject(const std::string& name) {
  AnalysedProject project;
  project.model = informe::readModel(name + ".dat", name + ".caf");
  checkContinuousBeam(project.model, name + ".dat");
  project.appliedLoads = project.model.loads;
  if (project.model.header.selfWeight == 1) {
    const auto selfWeight = informe::readLoadsFile(name + ".kar", project.model.bars);
    project.appliedLoads.insert(project.appliedLoads.end(), selfWeight.begin(), selfWeight.end());
  }
  informe::TokenFile res(name + ".res");
  project.res = informe::readResultsFile(res, informe::resultsShapeOf(project.model));
  project.table = forceTable(project.model, project.res, project.appliedLoads, name + ".res");
  return project;
}

}  // namespace alternancias
