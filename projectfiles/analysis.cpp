#include "projectfiles/analysis.h"

#include <cmath>

#include "common/file_names.h"
#include "common/run_error.h"

namespace projectfiles {

using namespace common;

namespace {
// The analysis in memory is calcest's own computation: past the file's last
// printed decimal only the order of a few sums may differ.
constexpr double kRelativeMargin = 1e-6;
constexpr double kResultsDecimal = 1e-6;  // "%lf"
constexpr double kDiagramDecimal = 1e-4;  // "%10.4f"

// calcest's message on one line, without its call to press a key (the report
// waits for nobody).
std::string engineReason(const std::string& text) {
  std::string out, line;
  auto flush = [&] {
    const size_t first = line.find_first_not_of(' '), last = line.find_last_not_of(' ');
    if (first != std::string::npos && line.find("PRESIONE UNA TECLA") == std::string::npos)
      out += (out.empty() ? "" : " ") + line.substr(first, last - first + 1);
    line.clear();
  };
  for (char c : text) {
    if (c == '\n')
      flush();
    else
      line += c;
  }
  flush();
  return out;
}

// Compares the values of one file with the analysis; the first that differs
// ends the run.
class Agreement {
 public:
  Agreement(const std::string& project, const char* extension, double lastDecimal)
      : project_(project), file_(fileOf(project, extension)), lastDecimal_(lastDecimal) {}

  void check(const SourceValue& printed, double computed, const std::string& what) const {
    if (std::fabs(printed.value - computed) <= lastDecimal_ + kRelativeMargin * std::fabs(computed)) return;
    throw RunError(
        formatText("ERROR: LOS RESULTADOS DE %s NO CORRESPONDEN AL MODELO Y CARGAS DE %s Y %s "
                   "(%s ES %s EN LA L\xCDNEA %d Y %.6f SEG\xDAN EL MODELO): VUELVA A CALCULAR EL "
                   "PROYECTO CON calcest\n",
                   file_.c_str(), fileOf(project_, kModelExt).c_str(), fileOf(project_, kLoadsExt).c_str(),
                   what.c_str(), printed.text.c_str(), printed.line, computed));
  }

 private:
  std::string project_, file_;
  double lastDecimal_;
};
}  // namespace

calcest::StaticSolution analyseProject(const Model& model, const std::string& project) {
  calcest::StaticCase all;
  all.loads = model.loads;
  all.selfWeight = model.header.selfWeight == 1;
  try {
    return calcest::solveStatic(model, all);
  } catch (const RunError& error) {
    throw RunError(
        formatText("ERROR: calcest NO PUEDE CALCULAR EL MODELO %s CON LAS CARGAS DE %s (%s): "
                   "%s NO PUEDE SER DE ESTE MODELO; CORR\xCDJALO Y VUELVA A CALCULAR EL PROYECTO CON "
                   "calcest\n",
                   fileOf(project, kModelExt).c_str(), fileOf(project, kLoadsExt).c_str(),
                   engineReason(error.text).c_str(), fileOf(project, kResultsExt).c_str()));
  }
}

std::vector<calcest::ElasticCurve> barCurves(const Model& model, const calcest::StaticSolution& solution) {
  // The loads handed to their bars in one pass, however many bars and loads.
  std::vector<std::vector<BarLoad>> loads(model.bars.size());
  for (const LoadOnBar& entry : model.loads) loads[static_cast<size_t>(entry.bar)].push_back(entry.load);
  std::vector<calcest::ElasticCurve> curves;
  for (size_t i = 1; i < model.bars.size(); ++i) {
    const calcest::BarSolution& s = solution.bars[i];
    curves.emplace_back(model.bars[i], loads[i], model.header.selfWeight == 1, s.localEnds, s.endForces);
    std::vector<BarLoad>().swap(loads[i]);
  }
  return curves;
}

void checkResultsFile(const Model& model, const calcest::StaticSolution& solution, const ResultsFile& res,
                      const std::string& project) {
  const Agreement agree(project, kResultsExt, kResultsDecimal);
  const double scale = unitConstantsFor(model.header.unitCode).scale;
  for (size_t n = 1; n < res.nodes.size(); ++n)
    agree.check(res.nodes[n].value, scale * solution.nodes[n].uy,
                formatText("LA FLECHA DEL NODO %d", model.nodes[n].label));
  for (size_t i = 1; i < res.bars.size(); ++i) {
    const calcest::BarEnds& e = solution.bars[i].ends;
    const ResBar& line = res.bars[i];
    // The line runs from the bar's left end: a bar drawn leftwards lists J first.
    const bool reversed = model.bars[i].orient == kInclinedLeft;
    auto at = [&](const char* what, int node) {
      return formatText("EL %s DE LA BARRA %d EN EL NODO %d", what, model.bars[i].label, model.nodes[node].label);
    };
    agree.check(line.Mi, reversed ? e.Mend : e.Mstart, at("MOMENTO", line.nodeI));
    agree.check(line.Mj, reversed ? e.Mstart : e.Mend, at("MOMENTO", line.nodeJ));
    agree.check(line.Qi, reversed ? e.Vend : e.Vstart, at("CORTANTE", line.nodeI));
    agree.check(line.Qj, reversed ? e.Vstart : e.Vend, at("CORTANTE", line.nodeJ));
  }
  for (size_t k = 1; k < res.supports.size(); ++k) {
    const int node = model.nodes[res.supports[k].node].label;
    agree.check(res.supports[k].R, solution.reactions[k].Ry,
                formatText("LA REACCI\xD3N VERTICAL DEL APOYO DEL NODO %d", node));
    agree.check(res.supports[k].M, solution.reactions[k].M,
                formatText("EL MOMENTO DE REACCI\xD3N DEL APOYO DEL NODO %d", node));
  }
}

void checkDiagramFile(const Model& model, const std::vector<calcest::ElasticCurve>& curves, const DiagramFile& fmc,
                      const std::string& project) {
  const Agreement agree(project, kDiagramExt, kDiagramDecimal);
  for (int i = 1; i < static_cast<int>(model.bars.size()); ++i) {
    const calcest::ElasticCurve& curve = curves[static_cast<size_t>(i - 1)];
    // A bar's first point is the previous bar's last.
    for (int k = i == 1 ? 0 : 1; k < kStations; ++k) {
      const FmcPoint& p = fmc.points[static_cast<size_t>((kStations - 1) * (i - 1) + k)];
      const double x = model.bars[static_cast<size_t>(i)].xs[k];
      // The engine's last station holds the bar's end forces, point actions at L included.
      const bool lastStation = k == kStations - 1;
      agree.check(p.moment, curve.moment(x, lastStation), "EL MOMENTO EN x = " + p.x.text);
      agree.check(p.shear, curve.shear(x, lastStation), "EL CORTANTE EN x = " + p.x.text);
    }
  }
}

}  // namespace projectfiles
