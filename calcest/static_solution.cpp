#include "calcest/static_solution.h"

#include "calcest/phases.h"

namespace calcest {

using namespace common;

namespace {

// The tables of the context from the model as read, with the case's loads
// applied to the bars.
void loadContext(AnalysisContext& ctx, const ModelData& model, const StaticCase& loadCase) {
  ctx.header = model.header;
  ctx.units = unitConstantsFor(model.header.unitCode);
  setBarTables(ctx, model);
  computeAllElementMatrices(ctx);
  for (const LoadOnBar& entry : loadCase.loads) applyBarLoad(ctx.bars[static_cast<size_t>(entry.bar)], entry.load);
  if (loadCase.selfWeight)
    for (int i = 1; i <= ctx.nb(); ++i) applySelfWeight(ctx.bars[i]);
  ctx.supports = model.supports;
  ctx.ties = model.ties;
  if (!loadCase.prescribed) {
    for (Support& support : ctx.supports) support.dx = support.dy = support.rz = 0.0;
    for (Tie& tie : ctx.ties) tie.value = 0.0;
  }
  ctx.nodalLoads = loadCase.nodalLoads ? model.nodalLoads : std::vector<NodalLoad>(1);
}

}  // namespace

StaticSolution solveStatic(const ModelData& model, const StaticCase& loadCase) {
  AnalysisContext ctx;
  loadContext(ctx, model, loadCase);
  allocateBand(ctx);
  buildLoadVector(ctx);
  assembleStiffness(ctx);
  applySupportsAndTies(ctx);
  // The words are calcest's; nobody is there to press a key.
  const BandOutcome band = solveBand(ctx);
  if (band.status != BandStatus::kSolved) throw RunError(solutionFailureText(ctx, band));
  computeBarResults(ctx);
  computeReactions(ctx);
  refuseNonFiniteResults(ctx);

  StaticSolution solution;
  solution.nodes = std::move(ctx.nodes);
  solution.reactions = std::move(ctx.reactions);
  solution.ties = std::move(ctx.ties);
  solution.bars.assign(ctx.bars.size(), BarSolution{});
  for (size_t i = 1; i < ctx.bars.size(); ++i) {
    BarSolution& bar = solution.bars[i];
    bar.localEnds = ctx.bars[i].localEnds;
    bar.ends = ctx.barEnds[i];
    // The record keeps -f1, f4, f3, f6, f2, f5.
    const double* raw = bar.ends.raw;
    bar.endForces = {0.0, -raw[0], raw[4], raw[2], raw[1], raw[5], raw[3]};
  }
  return solution;
}

}  // namespace calcest
