// Input phase: model header and tables, self-weight, supports, ties, nodal
// loads and the load vector.
#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>

#include "loads.h"
#include "phases.h"
#include "run_error.h"

namespace calcest {

ZeroArray::ZeroArray(size_t count) : size_(count) {
  data_.reset(static_cast<double*>(std::calloc(count ? count : 1, sizeof(double))));
  if (!data_) throw std::bad_alloc();
}

void ZeroArray::Free::operator()(double* p) const { std::free(p); }

FileHandle openFile(const std::string& name, const char* mode) {
  FileHandle file(std::fopen(name.c_str(), mode));
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
  if (h.nb > kMaxBars)
    throw RunError(formatText("ERROR: EL MODELO TIENE %d BARRAS; EL M\xC1XIMO ES %d\n", h.nb, kMaxBars));
  if (h.nb < 1) throw RunError("ERROR: EL MODELO NO TIENE BARRAS\n");
}

void readModelTables(AnalysisContext& ctx) {
  ModelReader reader(*ctx.model);
  const ModelHeader& h = ctx.header;
  ctx.nodes = reader.readNodes(h.nn);
  std::vector<BarInput> input = reader.readBars(h.nb, ctx.nodes, ctx.maxw);
  ctx.sections = reader.readSections(h.nsec);
  ctx.materials = reader.readMaterials(h.nmat, ctx.units.g);
  applyAllBarProperties(input, ctx.materials, ctx.sections);
  ctx.bars.assign(input.size(), Bar{});
  for (size_t i = 1; i < input.size(); ++i) ctx.bars[i] = Bar(input[i]);
  ctx.barEnds.assign(input.size(), BarEnds{});
}

void writeSelfWeight(AnalysisContext& ctx) {
  for (int i = 1; i <= ctx.nb(); ++i) {
    Bar& bar = ctx.bars[i];
    ctx.kar.print(" %d  3  0  %lf  0   %lf  y\n", bar.index, bar.L, -bar.w);
    if (ctx.header.selfWeight == 1) applySelfWeight(bar);
  }
  ctx.kar.close();
}

Tie readTie(Scanner& in, int position, const std::vector<Node>& nodes) {
  Tie tie;
  in.read(formatText("corrimiento %d", position), "%d %d %d %d %lf", &tie.labelA, &tie.labelB, &tie.dirA, &tie.dirB,
          &tie.value);
  if (tie.dirA < 1 || tie.dirA > 3) throw RunError("ERROR DIRECCION dir1");
  if (tie.dirB < 1 || tie.dirB > 3) throw RunError("ERROR DIRECCION dir2");
  tie.nodeA = findNodeIndex(nodes, tie.labelA);
  tie.nodeB = findNodeIndex(nodes, tie.labelB);
  if (tie.nodeA == 0 || tie.nodeB == 0) throw RunError("ERROR CORRIMIENTO");
  tie.dofA = 3 * tie.nodeA + tie.dirA - 3;
  tie.dofB = 3 * tie.nodeB + tie.dirB - 3;
  return tie;
}

void readSupportsAndTies(AnalysisContext& ctx) {
  ModelReader reader(*ctx.model);
  const ModelHeader& h = ctx.header;
  ctx.supports.assign(static_cast<size_t>(h.nsup) + 1, Support{});
  for (int k = 1; k <= h.nsup; ++k) ctx.supports[k] = reader.readSupport(k, ctx.nodes);
  ctx.ties.assign(static_cast<size_t>(h.ntie) + 1, Tie{});
  for (int k = 1; k <= h.ntie; ++k) ctx.ties[k] = readTie(*ctx.model, k, ctx.nodes);
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

void readNodalLoadsAndBuildLoadVector(AnalysisContext& ctx) {
  Scanner& in = *ctx.model;
  ctx.nodalLoads.assign(static_cast<size_t>(ctx.header.nload) + 1, NodalLoad{});
  for (int k = 1; k <= ctx.header.nload; ++k) {
    NodalLoad& load = ctx.nodalLoads[k];
    int label = 0;
    std::string item = formatText("carga en nodo %d", k);
    in.read(item, "%d", &label);
    load.index = findNodeIndex(ctx.nodes, label);
    if (load.index == 0) throw RunError("ERROR EN NODOS/CARGAS EN NODOS");
    for (int d = 0; d < 3; ++d) in.read(item, "%d  %lf", &load.code[d], &load.value[d]);
    for (int d = 0; d < 3; ++d) ctx.f[3 * load.index - 2 + d] += load.value[d];
  }
  for (int i = 1; i <= ctx.nb(); ++i) {
    const Bar& bar = ctx.bars[i];
    for (int r = 1; r <= 6; ++r) {
      int dof = r <= 3 ? 3 * bar.nodeI - 3 + r : 3 * bar.nodeJ - 6 + r;
      ctx.f[dof] += bar.eqGlobal[r];
    }
  }
  for (int k = 1; k <= ctx.neq; ++k) ctx.esfuerzos.print(" f[%d]= %lf\n", k, ctx.f[k]);
  ctx.esfuerzos.close();
}

}  // namespace calcest
