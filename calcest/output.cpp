// Result files: results lines, station table with the diagram, ".gan" and
// ".def" files, the binary bar records and the "artcorte.txt" trace.
#include <cstdint>
#include <cstring>

#include "phases.h"
#include "run_error.h"

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

void buildStationTable(AnalysisContext& ctx) {
  const int nb = ctx.nb(), last = kStations - 1;
  constexpr int kMaxEntries = 20 * kMaxBars + 1;
  if (20 * nb + 1 > kMaxEntries) throw RunError("ERROR: DEMASIADAS BARRAS PARA LA TABLA DE PUNTOS\n");
  ctx.stations.clear();
  ctx.stations.reserve(static_cast<size_t>(20 * nb + 1));
  double X = 0.0;
  for (int i = 1; i <= nb; ++i) {
    const Bar& bar = ctx.bars[i];
    for (int k = i == 1 ? 0 : 1; k <= last; ++k) {
      if (i > 1 || k > 0) X += 0.05 * bar.L;
      StationEntry e;
      e.X = X;
      e.defyS = ctx.units.scale * bar.defy[k];
      e.defxS = ctx.units.scale * bar.defx[k];
      e.slope = bar.slope[k];
      e.M = bar.M[k], e.V = bar.V[k], e.N = bar.N[k];
      e.giroL = e.giroR = bar.giro[k];
      e.angleR = bar.angle[k];
      e.defyL = e.defyR = bar.defy[k];
      if (k == last) {
        // The point where this bar ends: its right side belongs to the next bar.
        const Bar* next = i < nb ? &ctx.bars[i + 1] : nullptr;
        e.giroR = next ? next->giro[0] : bar.giro[last];
        e.angleR = next ? next->angle[0] : bar.giro[last];
        e.defyR = next ? next->defy[0] : bar.defy[last];
      }
      ctx.stations.push_back(e);
    }
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
  ctx.diagram.close();
  ctx.gan.close();
  ctx.def.close();
  ctx.barRecordFile.reset();
}

namespace {
void putInt(unsigned char* at, int value) {
  auto v = static_cast<uint32_t>(value);
  for (int b = 0; b < 4; ++b) at[b] = static_cast<unsigned char>(v >> (8 * b));
}

void putDouble(unsigned char* at, double value) {
  uint64_t v;
  std::memcpy(&v, &value, sizeof v);
  for (int b = 0; b < 8; ++b) at[b] = static_cast<unsigned char>(v >> (8 * b));
}

void putArray(unsigned char* at, const double* values, int count) {
  for (int k = 0; k < count; ++k) putDouble(at + 8 * k, values[k]);
}

void putMatrix(unsigned char* at, const Mat6& m) {
  for (int r = 0; r <= 6; ++r) putArray(at + 56 * r, m[r].data(), 7);
}
}  // namespace

void encodeBarRecord(const Bar& bar, unsigned char* rec) {
  std::memset(rec, 0, kBarRecordSize);
  const int ints[] = {bar.index, bar.label, bar.labelI, bar.labelJ, bar.nodeI, bar.nodeJ,
                      bar.material, bar.section, bar.type, bar.type7, bar.type, 0};
  for (int k = 0; k < 12; ++k) putInt(rec + 4 * k, ints[k]);
  putDouble(rec + 48, bar.aclx);
  putDouble(rec + 56, bar.ablx);
  putDouble(rec + 64, bar.adlx);
  putInt(rec + 72, bar.shear);
  const double props[] = {bar.taper, bar.E, bar.G, bar.A, bar.m, bar.w, bar.I, bar.dx, bar.dy, bar.L, bar.cos, bar.sin};
  putArray(rec + 80, props, 12);
  putInt(rec + 176, bar.orient);
  const StationArray* arrays[] = {nullptr, &bar.N, &bar.V, &bar.M, &bar.defx, &bar.defy, &bar.giro,
                                  &bar.slope, &bar.angle, &bar.N0, &bar.V0, &bar.M0};
  putArray(rec + 184, bar.xs, kStations);
  for (int k = 1; k < 12; ++k) putArray(rec + 184 + 168 * k, arrays[k]->data(), kStations);
  putDouble(rec + 2200, bar.b);
  putDouble(rec + 2208, bar.h);
  putDouble(rec + 2216, bar.alpha);
  for (int k = 0; k < 6; ++k) {
    putMatrix(rec + 2224 + 392 * k, bar.local[k]);
    putMatrix(rec + 4576 + 392 * k, bar.withZones[k]);
  }
  putMatrix(rec + 6928, bar.C);
  putMatrix(rec + 7320, bar.Ct);
  putArray(rec + 7712, bar.eqLocal.data(), 7);
  putArray(rec + 7768, bar.fixedEnd.data(), 7);
  putArray(rec + 7824, bar.eqGlobal.data(), 7);
  putMatrix(rec + 7880, bar.global);
  putMatrix(rec + 8272, bar.T);
  putMatrix(rec + 8664, bar.Tt);
}

void writeBarRecords(AnalysisContext& ctx) {
  unsigned char record[kBarRecordSize];
  for (int i = 1; i <= ctx.nb(); ++i) {
    encodeBarRecord(ctx.bars[i], record);
    std::fwrite(record, 1, kBarRecordSize, ctx.barRecordFile.get());
  }
}

void writeSupportLine(AnalysisContext& ctx, const Support& sup, const NodeResult& result) {
  // Two values whatever the code: the vertical reaction and the moment.
  ctx.results.print(" %5d  %lf  %lf\n", sup.index, result.Ry, result.M);
}

void writeTieLines(AnalysisContext& ctx) {
  static const char kLetter[4] = {' ', 'x', 'y', 'g'};
  for (size_t k = 1; k < ctx.ties.size(); ++k) {
    const Tie& t = ctx.ties[k];
    const char* fmt = " %5d  %5d  ****  %5d    %5d    %c    %+20.15e\n";
    ctx.results.print(fmt, t.labelA, t.nodeA, t.dofA, t.dirA, kLetter[t.dirA], t.FA);
    ctx.results.print(fmt, t.labelB, t.nodeB, t.dofB, t.dirB, kLetter[t.dirB], t.FB);
  }
}
