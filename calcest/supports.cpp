// Supports and ties by the penalty method, added to both band matrices and the
// load vector after assembly.
#include <cmath>

#include "calcest/phases.h"

namespace calcest {

using namespace common;

namespace {
// Adds v to K(r, c) (r <= c) in the working and the reference matrix.
void addBoth(AnalysisContext& ctx, int r, int c, double v) {
  size_t at = ctx.band(r, c - r + 1);
  ctx.s[at] += v;
  ctx.sr[at] += v;
}

// A support acting along the unit vector (s, -c) of its angle.
void addInclined(AnalysisContext& ctx, int x, int y, double angle, double k, double prescribed) {
  double s = std::sin(angle), c = std::cos(angle);
  addBoth(ctx, x, x, s * s * k);
  addBoth(ctx, x, y, -c * s * k);
  addBoth(ctx, y, y, c * c * k);
  ctx.f[x] += s * prescribed * k;
  ctx.f[y] -= c * prescribed * k;
}

// A rigid direction holds its prescribed value; a spring adds its stiffness.
void addRestraint(AnalysisContext& ctx, Restraint restraint, int dof, double prescribed, double spring) {
  if (restraint == Restraint::rigid) {
    addBoth(ctx, dof, dof, ctx.P);
    ctx.f[dof] += ctx.P * prescribed;
  } else if (restraint == Restraint::spring) {
    addBoth(ctx, dof, dof, spring);
  }
}
}  // namespace

void applySupport(AnalysisContext& ctx, const Support& sup) {
  const SupportCode code(sup.code);
  int x = 3 * sup.index - 2, y = x + 1, z = x + 2;
  if (code.isInclined()) {
    if (code.inclined() == Restraint::rigid)
      addInclined(ctx, x, y, sup.angle, ctx.P, supportValue(sup, code.inclinedPrescribedField()));
    else
      addInclined(ctx, x, y, sup.angle, sup.kx, 0.0);
    addRestraint(ctx, code.along(Direction::rotation), z, sup.rz, sup.kz);
    return;
  }
  addRestraint(ctx, code.along(Direction::horizontal), x, sup.dx, sup.kx);
  addRestraint(ctx, code.along(Direction::vertical), y, sup.dy, sup.ky);
  addRestraint(ctx, code.along(Direction::rotation), z, sup.rz, sup.kz);
}

void applySupportsAndTies(AnalysisContext& ctx) {
  ctx.P = 1.0e6 * ctx.maxEntry;
  for (size_t k = 1; k < ctx.supports.size(); ++k) applySupport(ctx, ctx.supports[k]);
  for (size_t k = 1; k < ctx.ties.size(); ++k) {
    const Tie& tie = ctx.ties[k];
    int a = tie.dofA, b = tie.dofB;
    if (tie.value != 0.0) {
      ctx.f[a] -= tie.value * ctx.P;
      ctx.f[b] += tie.value * ctx.P;
    }
    addBoth(ctx, a, a, ctx.P);
    addBoth(ctx, b, b, ctx.P);
    addBoth(ctx, std::min(a, b), std::max(a, b), -ctx.P);
  }
}

}  // namespace calcest
