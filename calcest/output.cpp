// Result files: results lines, station table with the diagram, ".gan" and
// ".def" files, the binary bar records and the "artcorte.txt" trace.
#include <cstring>
#include <utility>

#include "common/bar_record_layout.h"
#include "calcest/phases.h"

namespace calcest {

using namespace common;

void writeNodeResults(AnalysisContext& ctx) {
  for (int k = 1; k <= ctx.nn(); ++k) ctx.results.print(" %d       %lf       \n", k, ctx.units.scale * ctx.nodes[k].uy);
}

void writeBarLine(AnalysisContext& ctx, const Bar& bar, const BarEnds& e) {
  // Each line runs from the left end of the bar to its right end.
  if (bar.orient == kInclinedLeft)
    ctx.results.print("  %3d    %3d %3d  %+15lf %+15lf    %15lf  %15lf \n", bar.index, bar.nodeJ, bar.nodeI, e.Mend,
                      e.Mstart, e.Vend, e.Vstart);
  else
    ctx.results.print("  %3d    %3d %3d     %+15lf %+15lf    %+15lf  %+15lf \n", bar.index, bar.nodeI, bar.nodeJ,
                      e.Mstart, e.Mend, e.Vstart, e.Vend);
}

void writeArtCorteBlock(TextOut& out, const Bar& bar, const double d[7]) {
  out.print(" ********* BARRA %d  TIPO %d\n", bar.index, bar.type);
  out.print(" Se imprimen defy 0/20  defx 0/20  giroxy 0/20\n");
  out.print(" vec_def1[2] %lf\n", d[2]);
  out.print(" vec_def1[5] %lf\n", d[5]);
  out.print(" vec_def1[1] %lf\n", d[1]);
  out.print(" vec_def1[4] %lf\n", d[4]);
  out.print(" vec_def1[3] %lf\n", d[3]);
  out.print(" vec_def1[6] %lf\n", d[6]);
  if (bar.type != 1 && bar.type != 7 && bar.type != 8) return;
  for (int k = 0; k < kStations; ++k) {
    double x = bar.xs[k], e = x / bar.L;
    out.print(" defy %lf  fi1 %lf  fi2 %lf  fi3 %lf  fi4 %lf\n", bar.defy[k], 1 - 3 * e * e + 2 * e * e * e,
              x * (1 - e) * (1 - e), 3 * e * e - 2 * e * e * e, x * x * (e - 1) / bar.L);
  }
}

void writeStationFiles(AnalysisContext& ctx) {
  int count = static_cast<int>(ctx.stations.size());
  ctx.diagram.print(" %d \n", count);
  ctx.gan.print(" %d \n", count);
  ctx.def.print(" %d \n", count);
  for (const StationEntry& e : ctx.stations) {
    ctx.diagram.print(" %7.3f %6.3f %10.4f %10.4f \n", e.X, e.defyS, e.M, e.V);
    ctx.gan.print(" %7.3lf    %15.8lf       %15.8lf \n", e.X, e.giroL, e.giroR);
    ctx.def.print(" %7.3lf    %15.8lf       %15.8lf \n", e.X, e.defyL, e.defyR);
  }
  ctx.diagram.finish();
  ctx.gan.finish();
  ctx.def.finish();
}

namespace {
void putArray(unsigned char* at, const double* values, int count) {
  // The record's doubles are little-endian: on such a machine, the bytes as
  // they are in memory.
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
  std::memcpy(at, values, sizeof(double) * static_cast<size_t>(count));
#else
  for (int k = 0; k < count; ++k) barrecord::putDouble(at + 8 * k, values[k]);
#endif
}

void putMatrix(unsigned char* at, const Mat6& m) {
  for (int r = 0; r <= 6; ++r) putArray(at + barrecord::kVectorSize * r, m[r].data(), 7);
}
}  // namespace

void encodeBarRecord(const Bar& bar, unsigned char* rec) {
  namespace at = barrecord;
  std::memset(rec, 0, at::kRecordSize);
  const std::pair<std::size_t, int> ints[] = {
      {at::index, bar.index},  {at::label, bar.label}, {at::labelI, bar.labelI},     {at::labelJ, bar.labelJ},
      {at::nodeI, bar.nodeI},  {at::nodeJ, bar.nodeJ}, {at::material, bar.material}, {at::section, bar.section},
      {at::type, bar.type},    {at::type7, bar.type7}, {at::typeCopy, bar.type},     {at::shear, bar.shear},
      {at::orient, bar.orient}};
  for (const auto& [offset, value] : ints) barrecord::putInt(rec + offset, value);
  const std::pair<std::size_t, double> doubles[] = {
      {at::aclx, bar.aclx}, {at::ablx, bar.ablx}, {at::adlx, bar.adlx},  {at::taper, bar.taper}, {at::E, bar.E},
      {at::G, bar.G},       {at::A, bar.A},       {at::m, bar.m},        {at::w, bar.w},         {at::I, bar.I},
      {at::dx, bar.dx},     {at::dy, bar.dy},     {at::L, bar.L},        {at::cos, bar.cos},     {at::sin, bar.sin},
      {at::b, bar.b},       {at::h, bar.h},       {at::alpha, bar.alpha}};
  for (const auto& [offset, value] : doubles) barrecord::putDouble(rec + offset, value);
  putArray(rec + at::xs, bar.xs, kStations);
  const std::pair<std::size_t, const StationArray*> stations[] = {
      {at::N, &bar.N},       {at::V, &bar.V},       {at::M, &bar.M},         {at::defx, &bar.defx},
      {at::defy, &bar.defy}, {at::giro, &bar.giro}, {at::slope, &bar.slope}, {at::angle, &bar.angle},
      {at::N0, &bar.N0},     {at::V0, &bar.V0},     {at::M0, &bar.M0}};
  for (const auto& [offset, values] : stations) putArray(rec + offset, values->data(), kStations);
  for (int k = 0; k < 6; ++k) {
    putMatrix(rec + at::localMatrices + at::kMatrixSize * k, bar.local[k]);
    putMatrix(rec + at::zonedMatrices + at::kMatrixSize * k, bar.withZones[k]);
  }
  const std::pair<std::size_t, const Mat6*> matrices[] = {
      {at::C, &bar.C}, {at::Ct, &bar.Ct}, {at::global, &bar.global}, {at::T, &bar.T}, {at::Tt, &bar.Tt}};
  for (const auto& [offset, matrix] : matrices) putMatrix(rec + offset, *matrix);
  const std::pair<std::size_t, const double*> vectors[] = {
      {at::eqLocal, bar.eqLocal.data()}, {at::fixedEnd, bar.fixedEnd.data()}, {at::eqGlobal, bar.eqGlobal.data()}};
  for (const auto& [offset, values] : vectors) putArray(rec + offset, values, 7);
}

void writeBarRecords(AnalysisContext& ctx) {
  unsigned char record[barrecord::kRecordSize];
  for (int i = 1; i <= ctx.nb(); ++i) {
    encodeBarRecord(ctx.bars[i], record);
    ctx.barRecords.write(reinterpret_cast<const char*>(record), sizeof record);
  }
  ctx.barRecords.finish();
}

namespace {
void writeBarLines(AnalysisContext& ctx) {
  for (int i = 1; i <= ctx.nb(); ++i) {
    const Bar& bar = ctx.bars[i];
    writeArtCorteBlock(ctx.artcorte, bar, bar.localEnds.data());
    writeBarLine(ctx, bar, ctx.barEnds[bar.index]);
  }
  ctx.artcorte.finish();
}
}  // namespace

void writeSupportLine(AnalysisContext& ctx, const Support& sup, const NodeResult& result) {
  // Two values whatever the code: the vertical reaction and the moment.
  ctx.results.print(" %5d  %lf  %lf\n", sup.index, result.Ry, result.M);
}

void writeTieLines(AnalysisContext& ctx) {
  static const char kLetter[4] = {' ', 'x', 'y', 'g'};
  for (size_t k = 1; k < ctx.ties.size(); ++k) {
    const Tie& t = ctx.ties[k];
    ctx.results.print(" %5d  %5d  ****  %5d    %5d    %c    %+20.15e\n", t.labelA, t.nodeA, t.dofA, t.dirA,
                      kLetter[t.dirA], t.FA);
    ctx.results.print(" %5d  %5d  ****  %5d    %5d    %c    %+20.15e\n", t.labelB, t.nodeB, t.dofB, t.dirB,
                      kLetter[t.dirB], t.FB);
  }
}

void writeResults(AnalysisContext& ctx) {
  writeNodeResults(ctx);
  writeBarLines(ctx);
  writeBarRecords(ctx);
  writeStationFiles(ctx);
  for (size_t k = 1; k < ctx.supports.size(); ++k) writeSupportLine(ctx, ctx.supports[k], ctx.reactions[k]);
  writeTieLines(ctx);
  ctx.results.finish();
}

}  // namespace calcest
