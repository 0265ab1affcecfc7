// Bar results (end forces, station values, curves) and support and tie
// reactions, from the displacements left by the solver.
#include <cmath>

#include "calcest/phases.h"
#include "common/capacities.h"
#include "common/run_error.h"

namespace calcest {

using namespace common;

namespace {
// Transverse displacement along the bar and its derivative, by bar type, from
// the local end displacements d = (u1, v1, th1, u2, v2, th2).
void curvePoint(int type, double x, double L, const double d[7], double& defy, double& giro) {
  double e = x / L;
  double v1 = d[2], t1 = d[3], v2 = d[5], t2 = d[6];
  switch (type) {
    case 2:
      defy = (1 - 1.5 * e + 0.5 * e * e * e) * v1 + (1.5 * e - 0.5 * e * e * e) * v2 + x * (e * e - 1) / 2 * t2;
      giro = (-1.5 + 1.5 * e * e) / L * v1 + (1.5 - 1.5 * e * e) / L * v2 + (3 * e * e - 1) / 2 * t2;
      break;
    case 3:
      defy = (1 - 1.5 * e * e + 0.5 * e * e * e) * v1 + x * (1 - 1.5 * e + 0.5 * e * e) * t1 +
             (1.5 * e * e - 0.5 * e * e * e) * v2;
      giro = (-3 * e + 1.5 * e * e) / L * v1 + (1 - 3 * e + 1.5 * e * e) * t1 + (3 * e - 1.5 * e * e) / L * v2;
      break;
    case 4:
      defy = (1 - e) * v1 + e * v2;
      giro = (v2 - v1) / L;
      break;
    default:  // 1, 7, 8: the cubic of both end displacements and rotations
      defy = (1 - 3 * e * e + 2 * e * e * e) * v1 + x * (1 - e) * (1 - e) * t1 + (3 * e * e - 2 * e * e * e) * v2 +
             x * x * (e - 1) / L * t2;
      giro = (-6 * e + 6 * e * e) / L * v1 + (1 - e) * (1 - 3 * e) * t1 + (6 * e - 6 * e * e) / L * v2 +
             (3 * e * e - 2 * e) * t2;
  }
}

bool hasCurves(int type) { return stiffSlot(type) >= 0; }

void computeCurves(Bar& bar, const double d[7]) {
  for (int k = 0; k < kStations; ++k) {
    double x = bar.xs[k];
    curvePoint(bar.type, x, bar.L, d, bar.defy[k], bar.giro[k]);
    bar.defx[k] = (1 - x / bar.L) * d[1] + x / bar.L * d[4];
    if (k >= 1) {
      double rise = bar.defy[k] - bar.defy[k - 1], run = bar.xs[k] - bar.xs[k - 1];
      bar.slope[k - 1] = rise / run;
      bar.angle[k - 1] = std::atan2(rise, run);
    }
  }
}

// Local end forces f = K'.T.u + fixedEnd, by bar type.
void endForces(const Bar& bar, const double delta[7], double f[7]) {
  int slot = stiffSlot(bar.type);
  for (int r = 1; r <= 6; ++r) {
    f[r] = 0.0;
    if (bar.type == 0) continue;
    if (slot >= 0)
      for (int c = 1; c <= 6; ++c) f[r] += bar.withZones[slot][r][c] * delta[c];
    f[r] += bar.fixedEnd[r];
  }
}

BarEnds endValues(const Bar& bar, const double f[7]) {
  BarEnds e;
  bool leftward = bar.orient == kInclinedLeft;
  e.Nstart = leftward ? f[1] : -f[1];
  e.Nend = leftward ? -f[4] : f[4];
  e.Mstart = -f[3];
  e.Mend = f[6];
  e.Vstart = leftward ? -f[2] : f[2];
  e.Vend = leftward ? f[5] : -f[5];
  double raw[6] = {-f[1], f[4], f[3], f[6], f[2], f[5]};
  for (int k = 0; k < 6; ++k) e.raw[k] = raw[k];
  return e;
}

void stationValues(Bar& bar, const BarEnds& e) {
  const int last = kStations - 1;
  bar.N[0] = e.Nstart, bar.N[last] = e.Nend;
  bar.V[0] = e.Vstart, bar.V[last] = e.Vend;
  bar.M[0] = e.Mstart, bar.M[last] = e.Mend;
  double sign = bar.orient == kInclinedLeft ? -1.0 : 1.0;
  for (int k = 1; k < last; ++k) {
    double x = bar.xs[k];
    bar.V[k] = e.Vstart + sign * bar.V0[k];
    bar.N[k] = e.Nstart + sign * bar.N0[k];
    bar.M[k] = e.Mstart + sign * x * e.Vstart + bar.M0[k];
  }
}

void barResult(AnalysisContext& ctx, Bar& bar) {
  Vec6& u = bar.localEnds;
  u = Vec6{};
  const Node& ni = ctx.nodes[bar.nodeI];
  const Node& nj = ctx.nodes[bar.nodeJ];
  double global[7] = {0, ni.ux, ni.uy, ni.rot, nj.ux, nj.uy, nj.rot};
  for (int r = 1; r <= 6; ++r)
    for (int c = 1; c <= 6; ++c) u[r] += bar.T[r][c] * global[c];
  const int last = kStations - 1;
  bar.defx[0] = u[1], bar.defx[last] = u[4];
  bar.defy[0] = u[2], bar.defy[last] = u[5];
  bar.giro[0] = u[3], bar.giro[last] = u[6];
  bar.slope[last] = std::tan(u[6]);
  bar.angle[last] = u[6];
  double curve[7];
  for (int r = 0; r <= 6; ++r) curve[r] = u[r];
  // A released transverse end moves apart from its node: its curve takes the
  // mirrored displacement; the end forces do not.
  if (bar.type == 8) curve[5] = -curve[5], bar.defy[last] = curve[5];
  if (bar.type == 7) curve[2] = -curve[2], bar.defy[0] = curve[2];
  if (hasCurves(bar.type)) computeCurves(bar, curve);
  double f[7];
  endForces(bar, u.data(), f);
  BarEnds& ends = ctx.barEnds[bar.index];
  ends = endValues(bar, f);
  stationValues(bar, ends);
}
}  // namespace

void computeBarResults(AnalysisContext& ctx) {
  for (int k = 1; k <= ctx.nn(); ++k) {
    Node& node = ctx.nodes[k];
    node.ux = ctx.f[3 * k - 2];
    node.uy = ctx.f[3 * k - 1];
    node.rot = ctx.f[3 * k];
  }
  for (int i = 1; i <= ctx.nb(); ++i) barResult(ctx, ctx.bars[i]);
  buildStationTable(ctx);
}

void buildStationTable(AnalysisContext& ctx) {
  const int nb = ctx.nb(), last = kStations - 1;
  if (20 * nb + 1 > kMaxDiagramPoints) throw RunError("ERROR: DEMASIADAS BARRAS PARA LA TABLA DE PUNTOS\n");
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

namespace {
// The reaction of one restrained direction: a rigid one pulls back to its
// prescribed value through the penalty, a spring against the displacement.
double restraintReaction(Restraint restraint, double P, double prescribed, double spring, double displacement) {
  if (restraint == Restraint::rigid) return P * (prescribed - displacement);
  if (restraint == Restraint::spring) return -spring * displacement;
  return 0.0;
}
}  // namespace

void supportReaction(const AnalysisContext& ctx, const Support& sup, NodeResult& out) {
  const SupportCode code(sup.code);
  const Node& node = ctx.nodes[sup.index];
  const double P = ctx.P;
  double s = std::sin(sup.angle), c = std::cos(sup.angle);
  double along = s * node.ux - c * node.uy;  // displacement along (s, -c)
  // The moment of a rigid rotation is measured the other way round.
  const Restraint rotation = code.along(Direction::rotation);
  out.M =
      rotation == Restraint::rigid ? P * (node.rot - sup.rz) : restraintReaction(rotation, P, 0.0, sup.kz, node.rot);
  if (code.inclined() == Restraint::rigid) {
    double r = supportValue(sup, code.inclinedPrescribedField()) - along;
    out.Rx = P * r * s;
    out.Ry = -P * r * c;
  } else if (code.inclined() == Restraint::spring) {
    out.Rx = -sup.kx * along * s;
    out.Ry = sup.kx * along * c;
  } else {
    out.Rx = restraintReaction(code.along(Direction::horizontal), P, sup.dx, sup.kx, node.ux);
    out.Ry = restraintReaction(code.along(Direction::vertical), P, sup.dy, sup.ky, node.uy);
  }
}

namespace {
template <class Values>
bool allFinite(const Values& values) {
  for (double v : values)
    if (!std::isfinite(v)) return false;
  return true;
}

bool barFinite(const Bar& bar, const BarEnds& ends) {
  for (const StationArray* values : {&bar.N, &bar.V, &bar.M, &bar.defx, &bar.defy, &bar.giro, &bar.slope, &bar.angle})
    if (!allFinite(*values)) return false;
  const double endValues[] = {ends.Nstart, ends.Nend, ends.Mstart, ends.Mend, ends.Vstart, ends.Vend};
  return allFinite(bar.localEnds) && allFinite(endValues) && allFinite(ends.raw);
}
}  // namespace

void refuseNonFiniteResults(const AnalysisContext& ctx) {
  for (int i = 1; i <= ctx.nb(); ++i)
    if (!barFinite(ctx.bars[i], ctx.barEnds[i]))
      throw RunError(formatText("ERROR: LOS RESULTADOS DE LA BARRA %d NO SON N\xDAMEROS FINITOS: REVISE E, G, A E I "
                                "DE LA BARRA Y SUS CARGAS\n",
                                i),
                     true);
  for (size_t k = 1; k < ctx.reactions.size(); ++k) {
    const NodeResult& r = ctx.reactions[k];
    const double values[] = {r.Rx, r.Ry, r.M};
    if (!allFinite(values))
      throw RunError(formatText("ERROR: LA REACCI\xD3N DEL APOYO %zu (NODO %d) NO ES UN N\xDAMERO FINITO: REVISE SU "
                                "RIGIDEZ\n",
                                k, ctx.supports[k].label),
                     true);
  }
  for (size_t k = 1; k < ctx.ties.size(); ++k)
    if (!std::isfinite(ctx.ties[k].FA))
      throw RunError(formatText("ERROR: LA FUERZA DEL CORRIMIENTO %zu NO ES UN N\xDAMERO FINITO\n", k), true);
}

void computeReactions(AnalysisContext& ctx) {
  ctx.reactions.assign(ctx.supports.size(), NodeResult{});
  for (size_t k = 1; k < ctx.supports.size(); ++k) supportReaction(ctx, ctx.supports[k], ctx.reactions[k]);
  for (size_t k = 1; k < ctx.ties.size(); ++k) {
    Tie& tie = ctx.ties[k];
    tie.FA = ctx.P * (ctx.f[tie.dofB] - ctx.f[tie.dofA] - tie.value);
    tie.FB = -tie.FA;
  }
}

}  // namespace calcest
