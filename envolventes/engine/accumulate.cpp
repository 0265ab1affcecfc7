#include "envolventes/engine/accumulate.h"

#include <algorithm>
#include <cmath>

namespace envelope {

using namespace common;

void combineResultRecords(EnvelopeState& s, const ProjectTables& p) {
  for (int i = 1; i <= p.nodeCount; ++i) {
    const NodeDeflection& n = p.nodeDeflections[i];
    s.nodeDeflectionMax[i].node = s.nodeDeflectionMin[i].node = n.node;
    combine(n.value, s.nodeDeflectionMax[i].value, s.nodeDeflectionMin[i].value);
  }
  for (int i = 1; i <= p.barCount; ++i) {
    const BarEndForces& b = p.barForces[i];
    BarEndForces& mx = s.barForcesMax[i];
    BarEndForces& mn = s.barForcesMin[i];
    mx.bar = mn.bar = b.bar;
    mx.nodeI = mn.nodeI = b.nodeI;
    mx.nodeJ = mn.nodeJ = b.nodeJ;
    combine(b.Mi, mx.Mi, mn.Mi);
    combine(b.Mj, mx.Mj, mn.Mj);
    combine(b.Qi, mx.Qi, mn.Qi);
    combine(b.Qj, mx.Qj, mn.Qj);
  }
  for (int i = 1; i <= p.supportCount; ++i) {
    const ReactionRecord& r = p.reactions[i];
    s.reactionMax[i].node = s.reactionMin[i].node = r.node;
    combine(r.R, s.reactionMax[i].R, s.reactionMin[i].R);
    if (p.supports[i].reactsWithMoment()) combine(r.M, s.reactionMax[i].M, s.reactionMin[i].M);
  }
}

namespace {

struct Column {
  float lo, hi;
};

// Range of one column and its effect on the overall extremes; `span` is given
// only for the deflection.
float columnRange(Column c, float& max, float& min, float* span) {
  float range;
  if (c.hi > 0 && c.lo >= 0) {
    range = c.hi;
    if (c.hi >= max) max = c.hi;
  } else if (c.hi > 0) {
    range = c.hi - c.lo;
    if (c.lo <= min) min = c.lo;
    if (c.hi >= max) max = c.hi;
  } else {
    range = c.lo;
    if (c.lo <= min) min = c.lo;
  }
  if (range < 0) range = -range;
  // The largest difference of one project only grows: a later project with a
  // smaller difference never lowers it.
  if (span && range >= *span) *span = range;
  return range;
}

}  // namespace

void computeProjectScales(EnvelopeState& s, const ProjectTables& p) {
  Column d{0, 0}, m{0, 0}, q{0, 0};
  for (int P = 0; P <= p.lastPoint; ++P) {
    const PointResult& r = p.points[P];
    if (P == 0) {
      d = {r.deflection, r.deflection};
      m = {r.moment, r.moment};
      q = {r.shear, r.shear};
      continue;
    }
    d = {std::min(d.lo, r.deflection), std::max(d.hi, r.deflection)};
    m = {std::min(m.lo, r.moment), std::max(m.hi, r.moment)};
    q = {std::min(q.lo, r.shear), std::max(q.hi, r.shear)};
  }
  GlobalExtremes& e = s.extremes;
  ProjectScales& ps = s.projectScales;
  ps.deflectionRange = columnRange(d, e.deflectionMax, e.deflectionMin, &e.deflectionSpan);
  ps.momentRange = columnRange(m, e.momentMax, e.momentMin, nullptr);
  ps.shearRange = columnRange(q, e.shearMax, e.shearMin, nullptr);
  bool kiloNewtons = p.unitSystem == 1;
  if (IsZero(ps.deflectionRange)) ps.deflectionRange = 20.0f;
  if (IsZero(ps.momentRange)) ps.momentRange = kiloNewtons ? 10.0f : 100.0f;
  if (IsZero(ps.shearRange)) ps.shearRange = kiloNewtons ? 2.0f : 20.0f;
  ps.deflectionScale = 100 / ps.deflectionRange;
  ps.momentScale = 200 / ps.momentRange;
  ps.shearScale = 200 / ps.shearRange;
  LargestScales& ls = s.largestScales;
  if (ps.deflectionScale >= ls.deflectionScaleMax) ls.deflectionScaleMax = ps.deflectionScale;
  if (ps.momentScale >= ls.momentScaleMax) ls.momentScaleMax = ps.momentScale;
  if (ps.shearScale >= ls.shearScaleMax) ls.shearScaleMax = ps.shearScale;
}

namespace {
// The concentrated loads of one type (1 forces, 2 moments) at each point
// 0..lastPoint, summed in the order of the load lines; `any` marks the points
// that have one.
struct PointLoads {
  std::vector<float> sum;
  std::vector<char> any;
};

PointLoads pointLoads(const ProjectTables& p, int type) {
  const size_t count = static_cast<size_t>(p.lastPoint) + 1;
  PointLoads out{std::vector<float>(count, 0.0f), std::vector<char>(count, 0)};
  for (const LoadRecord& load : p.loads)
    if (load.type == type && load.startPoint >= 0 && static_cast<size_t>(load.startPoint) < count) {
      out.any[load.startPoint] = 1;
      out.sum[load.startPoint] += load.value;
    }
  return out;
}
}  // namespace

void combinePointEnvelopes(EnvelopeState& s, const ProjectTables& p) {
  PointEnvelopes& env = s.points;
  GlobalExtremes& e = s.extremes;
  const PointLoads moments = pointLoads(p, 2), forces = pointLoads(p, 1);
  for (int P = 0; P <= p.lastPoint; ++P) {
    env.x[P] = p.points[P].x;
    combine(p.points[P].deflection, env.DeflectionMax[P], env.DeflectionMin[P]);
  }
  // The value left of a point and, where point loads act there, the value past
  // them: into the point's envelopes and the beam's extremes.
  auto sides = [](float left, bool jump, float right, float& maxLeft, float& minLeft, float& maxRight, float& minRight,
                  float& max, float& min) {
    combine(left, maxLeft, minLeft);
    combine(left, max, min);
    if (jump) {
      combine(right, maxRight, minRight);
      combine(right, max, min);
    }
  };
  for (int P = 0; P <= p.lastPoint; ++P) {
    const float m = p.points[P].moment;
    sides(m, moments.any[P], m - moments.sum[P], env.MomentMaxLeft[P], env.MomentMinLeft[P], env.MomentMaxRight[P],
          env.MomentMinRight[P], e.momentMax, e.momentMin);
  }
  // The first support of each node the points reach, in the order of the supports.
  const int lastNode = p.lastPoint / 20 + 1;
  std::vector<int> supportAt(static_cast<size_t>(lastNode) + 1, 0);
  for (int j = p.supportCount; j >= 1; --j)
    if (p.reactions[j].node >= 1 && p.reactions[j].node <= lastNode) supportAt[p.reactions[j].node] = j;
  for (int P = 0; P <= p.lastPoint; ++P) {
    const float q = p.points[P].shear;
    sides(q, forces.any[P], q + forces.sum[P], env.ShearMaxLeft[P], env.ShearMinLeft[P], env.ShearMaxRight[P],
          env.ShearMinRight[P], e.shearMax, e.shearMin);
    if (P % 20 == 0 && P != p.lastPoint) {
      int node = P / 20 + 1;
      if (const int j = supportAt[node]) {
        float nodal = node <= kEnvelopeNodalLoadSlots ? p.nodalLoads[node].value[1] : 0.0f;
        // The first point's value is already the shear right of the first
        // support (nothing lies left of the beam), so it is not added twice.
        float left = P == 0 ? 0.0f : q;
        float v = p.reactions[j].R + nodal + left;
        combine(v, env.ShearMaxRight[P], env.ShearMinRight[P]);
        combine(v, e.shearMax, e.shearMin);
      }
    }
  }
}

namespace {

// Ordinates are pixels: a value far outside the drawing is held at a bound
// that still fits an int.
int toPixels(float value, float scale) {
  double v = std::trunc(static_cast<double>(value * scale));
  if (std::isnan(v)) return 0;
  return static_cast<int>(std::clamp(v, -1.0e9, 1.0e9));
}

void scaleInto(const std::vector<float>& values, float scale, std::vector<int>& out) {
  for (size_t P = 0; P < values.size(); ++P) out[P] = toPixels(values[P], scale);
}

}  // namespace

void computeOrdinates(EnvelopeState& s) { computeOrdinates(s, s.ordinates); }

void computeOrdinates(const EnvelopeState& s, EnvelopeOrdinates& o) {
  float d = s.largestScales.deflectionScaleMax / 2;
  float m = s.largestScales.momentScaleMax / 2;
  float q = s.largestScales.shearScaleMax / 2;
  const PointEnvelopes& env = s.points;
  scaleInto(env.DeflectionMax, d, o.DeflectionMaxY);
  scaleInto(env.DeflectionMin, d, o.DeflectionMinY);
  scaleInto(env.MomentMaxLeft, m, o.MomentMaxLeftY);
  scaleInto(env.MomentMinLeft, m, o.MomentMinLeftY);
  scaleInto(env.MomentMaxRight, m, o.MomentMaxRightY);
  scaleInto(env.MomentMinRight, m, o.MomentMinRightY);
  scaleInto(env.ShearMaxLeft, q, o.ShearMaxLeftY);
  scaleInto(env.ShearMinLeft, q, o.ShearMinLeftY);
  scaleInto(env.ShearMaxRight, q, o.ShearMaxRightY);
  scaleInto(env.ShearMinRight, q, o.ShearMinRightY);
}

}  // namespace envelope
