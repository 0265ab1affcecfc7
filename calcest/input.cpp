// Input phase: model header and tables, self-weight, supports, ties, nodal
// loads and the load vector. The model file is read by the common reader in
// its stages; the context's tables are taken from what it read.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>

#include "calcest/loads.h"
#include "calcest/phases.h"
#include "common/model_rules.h"
#include "common/run_error.h"

namespace calcest {

using namespace common;

ZeroArray::ZeroArray(size_t count) : size_(count) {
  data_.reset(static_cast<double*>(std::calloc(count ? count : 1, sizeof(double))));
  if (!data_) throw std::bad_alloc();
}

void ZeroArray::Free::operator()(double* p) const { std::free(p); }

FileHandle openInput(const std::string& name) {
  // An input must be a plain file: a directory would read as empty.
  FileHandle file = openInputFile(name);
  if (!file) throw RunError("NO PUDO ABRIR EL FICHERO " + name, true);
  return file;
}

void readHeaderAndEcho(AnalysisContext& ctx) {
  ModelReader reader(*ctx.model);
  ctx.header = reader.readHeader();
  const ModelHeader& h = ctx.header;
  ctx.units = unitConstantsFor(h.unitCode);
  ctx.results.print("   %s   %d    %d \n", h.title.c_str(), h.echoed, h.unitCode);
  ctx.diagram.print(" %s  %d   %d ", h.title.c_str(), h.echoed, h.unitCode);
  // The point grid of the diagram file holds 20 points per bar: refuse before
  // any work rather than after the solver.
  refuse(tooManyBarsFault(h.nb));
  requireBars(h);
}

void setBarTables(AnalysisContext& ctx, const ModelData& model) {
  ctx.nodes = model.nodes;
  // Each bar made once in place (slot 0 unused): no table of zeros copied over.
  ctx.bars.clear();
  ctx.bars.reserve(model.bars.size());
  if (!model.bars.empty()) ctx.bars.emplace_back();
  for (size_t i = 1; i < model.bars.size(); ++i) {
    ctx.bars.emplace_back(model.bars[i]);
    ctx.maxw = std::max(ctx.maxw, 3 * (std::abs(model.bars[i].nodeI - model.bars[i].nodeJ) + 1));
  }
  ctx.barEnds.assign(model.bars.size(), BarEnds{});
}

void readModelTables(AnalysisContext& ctx) {
  ModelReader reader(*ctx.model);
  ctx.input.header = ctx.header;
  ctx.input.nodes = reader.readNodes(ctx.header.nn);
  int maxw = 0;  // setBarTables widens the band
  reader.readBarTables(ctx.input, maxw);
  setBarTables(ctx, ctx.input);
}

void writeSelfWeight(AnalysisContext& ctx) {
  for (int i = 1; i <= ctx.nb(); ++i) {
    Bar& bar = ctx.bars[i];
    ctx.kar.print(" %d  3  0  %lf  0   %lf  y\n", bar.index, bar.L, -bar.w);
    if (ctx.header.selfWeight == 1) applySelfWeight(bar);
  }
  ctx.kar.finish();
}

void readSupportsTiesAndNodalLoads(AnalysisContext& ctx) {
  ModelReader(*ctx.model).readSupportsTiesAndNodalLoads(ctx.input);
  ctx.supports = ctx.input.supports;
  ctx.ties = ctx.input.ties;
  ctx.nodalLoads = ctx.input.nodalLoads;
}

void allocateBand(AnalysisContext& ctx) {
  // A tie couples two freedoms that may lie farther apart than any bar reaches;
  // the band is widened so its coupling entry is stored.
  for (size_t k = 1; k < ctx.ties.size(); ++k) {
    int span = std::abs(ctx.ties[k].dofA - ctx.ties[k].dofB) + 1;
    if (span > ctx.maxw) ctx.maxw = span;
  }
  ctx.bw = ctx.maxw + 1;
  ctx.neq = 3 * ctx.nn();
  size_t rows = static_cast<size_t>(ctx.neq) + 1;
  if (rows > std::numeric_limits<size_t>::max() / 8 / static_cast<size_t>(ctx.bw)) throw std::bad_alloc();
  ctx.s = ZeroArray(static_cast<size_t>(ctx.bw) * rows);
  ctx.sr = ZeroArray(static_cast<size_t>(ctx.bw) * rows);
  ctx.f = ZeroArray(rows);
}

void buildLoadVector(AnalysisContext& ctx) {
  for (size_t k = 1; k < ctx.nodalLoads.size(); ++k)
    for (int d = 0; d < 3; ++d) ctx.f[3 * ctx.nodalLoads[k].index - 2 + d] += ctx.nodalLoads[k].value[d];
  for (int i = 1; i <= ctx.nb(); ++i) {
    const Bar& bar = ctx.bars[i];
    for (int r = 1; r <= 6; ++r) {
      int dof = r <= 3 ? 3 * bar.nodeI - 3 + r : 3 * bar.nodeJ - 6 + r;
      ctx.f[dof] += bar.eqGlobal[r];
    }
  }
  for (int k = 1; k <= ctx.neq; ++k) ctx.esfuerzos.print(" f[%d]= %lf\n", k, ctx.f[k]);
  ctx.esfuerzos.finish();
}

}  // namespace calcest
