// Element stiffness of the bar types, rigid zones, rotation, and the band
// assembly of all bars into both matrices.
#include <cmath>

#include "calcest/phases.h"
#include "common/model_rules.h"
#include "common/run_error.h"

namespace calcest {

using namespace common;

namespace {
// Release masks (1 keeps the freedom) in the slot order of kStiffTypes.
constexpr int kMasks[6][7] = {
    {0, 1, 1, 1, 1, 1, 1}, {0, 1, 1, 0, 1, 1, 1}, {0, 1, 1, 1, 1, 1, 0},
    {0, 1, 1, 0, 1, 1, 0}, {0, 1, 0, 1, 1, 1, 1}, {0, 1, 1, 1, 1, 0, 1},
};

struct ElementConstants {
  double l, ai, aj, EA_l, EI_l, EI_l2, EI_l3, phi, psi;
};

ElementConstants elementConstants(const Bar& bar) {
  ElementConstants k{};
  k.l = bar.aclx * bar.L;
  k.ai = bar.adlx * bar.L;
  k.aj = bar.ablx * bar.L;
  k.EA_l = bar.E * bar.A / k.l;
  k.EI_l = bar.E * bar.I / k.l;
  k.EI_l2 = bar.E * bar.I / (k.l * k.l);
  k.EI_l3 = bar.E * bar.I / (k.l * k.l * k.l);
  if (bar.shear != 0) {
    // Shear deformation needs a shear stiffness; without it the factor is infinite.
    refuse(shearFault(bar));
    k.phi = 12.0 * bar.E * bar.I / (k.l * k.l * bar.G * bar.A);
    k.psi = 3.0 * bar.E * bar.I / (k.l * k.l * bar.G * bar.A);
  }
  return k;
}

void setAxial(Mat6& m, double EA_l) {
  m[1][1] = m[4][4] = EA_l;
  setSymmetric(m, 1, 4, -EA_l);
}
}  // namespace

Mat6 fullLocalMatrix(const Bar& bar) {
  ElementConstants k = elementConstants(bar);
  double d = 1.0 + k.phi;
  Mat6 m{};
  setAxial(m, k.EA_l);
  m[2][2] = m[5][5] = 12.0 * k.EI_l3 / d;
  setSymmetric(m, 2, 5, -12.0 * k.EI_l3 / d);
  for (auto rc : {std::pair{2, 3}, std::pair{2, 6}}) setSymmetric(m, rc.first, rc.second, 6.0 * k.EI_l2 / d);
  for (auto rc : {std::pair{3, 5}, std::pair{5, 6}}) setSymmetric(m, rc.first, rc.second, -6.0 * k.EI_l2 / d);
  m[3][3] = m[6][6] = (4.0 + k.phi) * k.EI_l / d;
  setSymmetric(m, 3, 6, (2.0 - k.phi) * k.EI_l / d);
  return m;
}

Mat6 condense(const Mat6& full, int type) {
  Mat6 m = full;
  int slot = stiffSlot(type);
  if (slot < 0) return Mat6{};
  for (int k = 1; k <= 6; ++k) {
    if (kMasks[slot][k]) continue;
    double pivot = m[k][k];
    // A freedom without stiffness of its own has nothing to pass on.
    if (pivot != 0.0)
      m = condenseDirection(m, k, pivot);
    else
      for (int i = 1; i <= 6; ++i) m[i][k] = m[k][i] = 0.0;
  }
  return m;
}

Mat6 closedFormHinged(const Bar& bar, int type) {
  ElementConstants k = elementConstants(bar);
  double d = 1.0 + k.psi;
  Mat6 m{};
  setAxial(m, k.EA_l);
  if (type == 2 || type == 3) {
    m[2][2] = m[5][5] = 3.0 * k.EI_l3 / d;
    setSymmetric(m, 2, 5, -3.0 * k.EI_l3 / d);
    int rot = type == 3 ? 3 : 6;  // the end that keeps its rotation
    setSymmetric(m, 2, rot, 3.0 * k.EI_l2 / d);
    setSymmetric(m, 5, rot, -3.0 * k.EI_l2 / d);
    m[rot][rot] = 3.0 * k.EI_l / d;
  }
  return m;
}

void computeElementMatrices(Bar& bar) {
  ElementConstants k = elementConstants(bar);
  Mat6 full = fullLocalMatrix(bar);
  bar.C = rigidZoneMatrix(k.ai, k.aj);
  bar.Ct = transpose(bar.C);
  bar.T = rotationMatrix(bar.cos, bar.sin);
  bar.Tt = transpose(bar.T);
  for (int slot = 0; slot < 6; ++slot) {
    bar.local[slot] = slot == 0 ? full : condense(full, kStiffTypes[slot]);
    bar.withZones[slot] = multiply(multiply(bar.Ct, bar.local[slot]), bar.C);
  }
  int slot = stiffSlot(bar.type);
  bar.global = slot < 0 ? Mat6{} : multiply(multiply(bar.Tt, bar.withZones[slot]), bar.T);
}

void computeAllElementMatrices(AnalysisContext& ctx) {
  for (int i = 1; i <= ctx.nb(); ++i) computeElementMatrices(ctx.bars[i]);
}

namespace {
int barFreedom(const Bar& bar, int r) { return r <= 3 ? 3 * bar.nodeI - 3 + r : 3 * bar.nodeJ - 6 + r; }

void addBarToBand(AnalysisContext& ctx, const Bar& bar, AssemblyTrace* trace) {
  for (int r = 1; r <= 6; ++r) {
    int gr = barFreedom(bar, r);
    for (int c = 1; c <= 6; ++c) {
      int gc = barFreedom(bar, c);
      if (gc < gr) continue;  // the mirror entry supplies it
      int col = gc - gr + 1;
      size_t at = ctx.band(gr, col);
      ctx.s[at] += bar.global[r][c];
      ctx.sr[at] += bar.global[r][c];
      if (trace) trace->bandEntry(gr, col, ctx.s[at]);
      if (std::fabs(ctx.s[at]) > ctx.maxEntry) ctx.maxEntry = std::fabs(ctx.s[at]);
    }
  }
}
}  // namespace

void assembleStiffness(AnalysisContext& ctx, AssemblyTrace* trace) {
  for (int i = 1; i <= ctx.nb(); ++i) {
    const Bar& bar = ctx.bars[i];
    if (trace) {
      trace->barMatrices(bar);
      if (stiffSlot(bar.type) < 0) trace->barWithoutStiffness(bar);
    }
    addBarToBand(ctx, bar, trace);
  }
  if (trace) trace->assembled();
}

}  // namespace calcest
