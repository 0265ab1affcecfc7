#include "alternancias/force_table.h"

#include "projectfiles/analysis.h"

#include <algorithm>
#include <cmath>

#include "common/file_names.h"
#include "common/format.h"
#include "common/run_error.h"
#include "projectfiles/token_file.h"

namespace alternancias {

using namespace common;

void checkContinuousBeam(const Model& model, const std::string& datPath) {
  const int nb = model.header.nb;
  if (model.header.nn != nb + 1)
    throw RunError(
        formatText("ERROR EN EL FICHERO %s: %d NODOS PARA %d BARRAS; SE NECESITA UNA VIGA CONTINUA "
                   "(LA BARRA k DEL NODO k AL k+1, HORIZONTAL, NODOS DE IZQUIERDA A DERECHA)\n",
                   datPath.c_str(), model.header.nn, nb));
  for (int k = 1; k <= nb; ++k) {
    const BarInput& bar = model.bars[k];
    if (bar.orient != kHorizontal || bar.nodeI != k || bar.nodeJ != k + 1)
      throw RunError(
          formatText("ERROR EN EL FICHERO %s: LA BARRA %d NO VA EN HORIZONTAL DEL NODO %d AL %d; SE "
                     "NECESITA UNA VIGA CONTINUA (LA BARRA k DEL NODO k AL k+1, NODOS DE IZQUIERDA A "
                     "DERECHA)\n",
                     datPath.c_str(), bar.label, model.nodes[k].label, model.nodes[k + 1].label));
  }
}

namespace {

// A size of a load's effect on a bar of length L, to judge an imbalance by.
double loadSize(const calcest::BarLoad& load, double L) {
  switch (load.ltype) {
    case 1: return std::fabs(load.q) * L;
    case 2: return std::fabs(load.q);
    case 3:
    case 4:
    case 5: return std::fabs(load.q) * load.c * L;
    default: return 0.0;
  }
}

}  // namespace

std::vector<ForceRow> forceTable(const Model& model, const ResultsFile& res,
                                 const std::vector<calcest::LoadOnBar>& loads, const std::string& resPath) {
  const int nb = model.header.nb;
  std::vector<std::vector<calcest::BarLoad>> barLoads(static_cast<size_t>(nb) + 1);
  for (const calcest::LoadOnBar& load : loads) barLoads[load.bar].push_back(load.load);
  std::vector<calcest::ElasticCurve> bars;
  bars.reserve(static_cast<size_t>(nb));
  for (int k = 1; k <= nb; ++k) {
    const BarInput& bar = model.bars[k];
    const double Mi = res.bars[k].Mi.value, Vi = res.bars[k].Qi.value;
    const double Mj = res.bars[k].Mj.value, Vj = res.bars[k].Qj.value;
    // The local end forces of a bar drawn left to right; the axial ones are not listed, nor needed.
    const calcest::Vec6 forces = {0.0, 0.0, Vi, -Mi, 0.0, -Vj, Mj};
    bars.emplace_back(bar, barLoads[k], false, calcest::Vec6{}, forces);
    // Statics from node I up to node J, every load included, must meet the file's far end.
    const double end = bar.L * (1 - 1e-12);
    const double imbalance = std::max(std::fabs(bars.back().moment(end, true) - Mj),
                                      std::fabs(bars.back().shear(end, true) - Vj) * std::max(1.0, bar.L));
    double size = std::max({std::fabs(Mi), std::fabs(Mj), (std::fabs(Vi) + std::fabs(Vj)) * bar.L});
    for (const calcest::BarLoad& load : barLoads[k]) size = std::max(size, loadSize(load, bar.L));
    if (!(imbalance <= 1e-6 * (2 + bar.L) + 1e-5 * size))
      throw RunError(
          formatText("ERROR: LOS ESFUERZOS DE LA BARRA %d EN %s NO EQUILIBRAN SUS CARGAS: EL FICHERO ES "
                     "DE OTRO C\xC1LCULO; VUELVA A CALCULAR EL PROYECTO CON calcest\n",
                     bar.label, resPath.c_str()));
  }
  return forceRows(model, bars);
}

std::vector<ForceRow> forceRows(const Model& model, const std::vector<calcest::ElasticCurve>& bars) {
  const int nb = model.header.nb;
  std::vector<ForceRow> rows(static_cast<size_t>(kGridIntervals) * nb + 1);
  for (int k = 1; k <= nb; ++k) {
    const BarInput& bar = model.bars[k];
    const calcest::ElasticCurve& line = bars[k - 1];
    const double x0 = model.nodes[bar.nodeI].x;
    for (int s = 0; s <= kGridIntervals; ++s) {
      const int p = kGridIntervals * (k - 1) + s;
      ForceRow& row = rows[p];
      row.index = p;
      row.x = x0 + bar.xs[s];
      // A node's left side belongs to the bar before it, its right side to the bar after it.
      if (s > 0 || k == 1) {
        row.Qi = line.shear(bar.xs[s], false);
        row.Mfi = line.moment(bar.xs[s], false);
      }
      if (s < kGridIntervals || k == nb) {
        row.Qd = line.shear(bar.xs[s], true);
        row.Mfd = line.moment(bar.xs[s], true);
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
  TextBuffer text;
  appendFormat(text, "%d\n", static_cast<int>(rows.size()) - 1);
  for (const ForceRow& r : rows)
    appendFormat(text, "%d %.4f %.4f %.4f %.4f %.4f 0.0000 %.4f\n", r.index, value(r.x), value(r.Qi), value(r.Qd),
                 value(r.Mfi), value(r.Mfd), value(r.Mf()));
  return text.str();
}

AnalysedProject readAnalysedProject(const std::string& name) {
  AnalysedProject project;
  const std::string modelFile = fileOf(name, kModelExt), resultsFile = fileOf(name, kResultsExt);
  project.model = projectfiles::readModel(modelFile, fileOf(name, kLoadsExt));
  checkContinuousBeam(project.model, modelFile);
  project.appliedLoads = project.model.loads;
  if (project.model.header.selfWeight == 1) {
    const auto selfWeight = projectfiles::readLoadsFile(fileOf(name, kSelfWeightExt), project.model.bars);
    project.appliedLoads.insert(project.appliedLoads.end(), selfWeight.begin(), selfWeight.end());
  }
  projectfiles::TokenFile res(resultsFile);
  project.res = projectfiles::readResultsFile(res, projectfiles::resultsShapeOf(project.model));
  project.table = forceTable(project.model, project.res, project.appliedLoads, resultsFile);
  // Results kept from an earlier model (a later run of calcest failed) balance
  // their loads all the same: the analysis done again tells them apart.
  projectfiles::checkResultsFile(project.model, projectfiles::analyseProject(project.model, name), project.res, name);
  return project;
}

}  // namespace alternancias
