#include "armado/service.h"

#include <algorithm>
#include <cmath>

#include "armado/detailing.h"
#include "armado/layout.h"

namespace armado {

namespace {

constexpr double kTiny = 1e-6;
constexpr double kFinal = HUGE_VAL;  // the age of the final values

Exposure exposureOf(const Design& d) {
  return {d.data.humidity, notionalSize(d.b, d.h), d.data.loadingAge, d.data.cement};
}

// The creep coefficient and shrinkage strain at `age`: computed, or the
// given final value times the share the formulas reach by then.
double creepAt(const Design& d, double age) {
  const Exposure e = exposureOf(d);
  const double computed = creepCoefficient(d.materials.fck, e, age);
  if (!d.data.creep) return computed;
  return *d.data.creep * computed / creepCoefficient(d.materials.fck, e, kFinal);
}

double shrinkageAt(const Design& d, double age) {
  const Exposure e = exposureOf(d);
  const double computed = shrinkageStrain(d.materials.fck, e, age);
  if (!d.data.shrinkage) return computed;
  const double final = shrinkageStrain(d.materials.fck, e, kFinal);
  return final > 0 ? *d.data.shrinkage * computed / final : 0.0;
}

// The largest stresses of the cracked section (short-term alpha_e = Es /
// Ecm) under a moment M of either sign: the concrete's on the compressed
// face, the bars' furthest in tension.
struct Stresses {
  double concrete = 0, steel = 0;
};
Stresses crackedStresses(const Design& d, double x, double M) {
  if (M == 0) return {};
  const double alpha = d.materials.Es / d.materials.Ecm;
  const std::vector<SteelLayer> layers = sectionLayers(d.bars, d.h, M > 0 ? kBottom : kTop, x);
  const TransformedSection c = crackedSection(d.b, layers, alpha);
  double deepest = c.neutralAxis;
  for (const SteelLayer& l : layers)
    if (l.area > 0) deepest = std::max(deepest, l.depth);
  const double size = std::fabs(M);
  return {size * c.neutralAxis / c.inertia, alpha * size * (deepest - c.neutralAxis) / c.inertia};
}

// 7.3.4 at station x on face f under the quasi-permanent moment M >= 0 that
// puts it in tension.
CrackCheck crackAt(const Design& d, double x, int f, double M) {
  CrackCheck c;
  c.x = x;
  c.face = f;
  c.M = M;
  const double alpha = d.materials.Es / d.materials.Ecm;
  const std::vector<SteelLayer> layers = sectionLayers(d.bars, d.h, f, x);
  c.Mcr = crackingMoment(uncrackedSection(d.b, d.h, layers, alpha), d.h, d.materials);
  if (M <= c.Mcr) return c;
  c.cracked = true;
  const FaceSteel steel = faceSteelAt(d.bars, f, x);
  const TransformedSection section = crackedSection(d.b, layers, alpha);
  c.x0 = section.neutralAxis;
  c.d = d.h - steel.centroid;
  c.sigmaS = alpha * M * (c.d - c.x0) / section.inertia;
  CrackData data;
  data.sigmaS = c.sigmaS;
  data.d = c.d;
  data.x = c.x0;
  data.h = d.h;
  data.b = d.b;
  data.area = steel.area;
  double sumSquares = 0, sum = 0, corner = 0;
  for (const BarGroup& g : d.bars) {
    if (g.face != f || !covers(g, x)) continue;
    sumSquares += g.count * g.diameter * g.diameter;
    sum += g.count * g.diameter;
    if (g.continuous) corner = g.diameter;
  }
  data.equivalentDiameter = sumSquares / sum;
  data.cover = d.data.cover + d.data.stirrupDiameter;
  data.spacing = (widthInsideStirrups(d.data, d.b) - corner) / std::max(1, steel.firstLayerCount - 1);
  c.width = crackWidth(data, d.materials);
  return c;
}

void stationValues(Design& d) {
  for (size_t i = 0; i < d.stations.size(); ++i) {
    StationDesign& s = d.stations[i];
    const Station& e = d.demand.stations[i];
    s.MkMax = e.MkMax, s.MkMin = e.MkMin, s.MfrMax = e.MfrMax, s.MfrMin = e.MfrMin;
    s.MqpMax = e.MqpMax, s.MqpMin = e.MqpMin;
    s.elastic = e.elasticDeflection;
    for (double M : {std::max(0.0, e.MkMax), std::min(0.0, e.MkMin)}) {
      const Stresses k = crackedStresses(d, s.x, M);
      s.concreteStress = std::max(s.concreteStress, k.concrete);
      s.steelStress = std::max(s.steelStress, k.steel);
    }
    for (double M : {std::max(0.0, e.MqpMax), std::min(0.0, e.MqpMin)})
      s.concreteStressQp = std::max(s.concreteStressQp, crackedStresses(d, s.x, M).concrete);
    s.wkBottom = crackAt(d, s.x, kBottom, std::max(0.0, e.MqpMax)).width.wk;
    s.wkTop = crackAt(d, s.x, kTop, std::max(0.0, -e.MqpMin)).width.wk;
  }
}

// Every support, and each span's largest quasi-permanent sagging moment.
void crackPlaces(Design& d) {
  const std::vector<Station>& st = d.demand.stations;
  auto both = [&](size_t i, bool support) {
    for (int f : {kBottom, kTop}) {
      CrackCheck c = crackAt(d, st[i].x, f, std::max(0.0, f == kBottom ? st[i].MqpMax : -st[i].MqpMin));
      c.support = support;
      d.service.cracks.push_back(c);
    }
  };
  std::vector<std::pair<double, bool>> places;
  for (double x : d.demand.supports) places.push_back({x, true});
  for (const DemandSpan& span : d.demand.spans) {
    if (span.overhang) continue;
    int peak = span.firstStation;
    for (int i = span.firstStation; i <= span.lastStation; ++i)
      if (st[i].MqpMax > st[peak].MqpMax) peak = i;
    places.push_back({st[peak].x, false});
  }
  std::sort(places.begin(), places.end());
  for (const auto& [x, support] : places)
    for (size_t i = 0; i < st.size(); ++i)
      if (std::fabs(st[i].x - x) < kTiny) {
        both(i, support);
        break;
      }
}

// 7.4.2, table 7.4N: K of a span by the spans between supports beside it
// (1.0 alone, 1.3 at the end of a run, 1.5 inside), 0.4 for an overhang.
double systemFactor(const Design& d, size_t s) {
  const std::vector<DemandSpan>& spans = d.demand.spans;
  if (spans[s].overhang) return 0.4;
  const bool left = s > 0 && !spans[s - 1].overhang, right = s + 1 < spans.size() && !spans[s + 1].overhang;
  return left && right ? 1.5 : left || right ? 1.3 : 1.0;
}

// 7.4.2(2): the steel required at mid-span (the span's largest design
// moment) or at an overhang's support, its ratio, and the limit of L/d with
// (7.17) 310/sigma_s = 500/(fyk As,req/As,prov) up to 1.5 and, past 7 m
// under finishes that cracks would damage, 7/L.
void spanDepth(const Design& d, size_t s, SpanService& r) {
  const DemandSpan& span = d.demand.spans[s];
  size_t at = span.overhang ? (s == 0 ? span.lastStation : span.firstStation) : span.firstStation;
  if (!span.overhang)
    for (int i = span.firstStation; i <= span.lastStation; ++i)
      if (d.stations[i].Mmax > d.stations[at].Mmax) at = i;
  const StationDesign& st = d.stations[at];
  const bool top = span.overhang;
  const double depth = top ? st.dTop : st.dBottom, other = top ? d.h - st.dBottom : d.h - st.dTop;
  const double moment = top ? -st.Mmin : st.Mmax;
  const BendingSteel need = requiredBendingSteel(std::max(0.0, moment), d.b, depth, other, d.materials);
  const double required = std::max(need.tension, minimumTensionSteel(d.b, depth, d.materials));
  const double provided = top ? st.providedTop : st.providedBottom;
  r.K = systemFactor(d, s);
  r.rho = required / (d.b * depth);
  r.rhoPrime = need.compression / (d.b * depth);
  r.steelFactor = std::min(1.5, 500 / (d.materials.fyk * required / provided));
  const double metres = r.length / 1000;
  r.spanFactor = d.data.finishesAge && !span.overhang && metres > 7 ? 7 / metres : 1.0;
  r.slendernessLimit = basicSpanDepthRatio(r.K, r.rho, r.rhoPrime, d.materials.fck) * r.steelFactor * r.spanFactor;
  r.slenderness = r.length / depth;
}

}  // namespace

LongTermState finalState(const Design& d) {
  LongTermState s;
  s.EcEff = d.materials.Ecm / (1 + creepAt(d, kFinal));
  s.epsCs = shrinkageAt(d, kFinal);
  return s;
}

LongTermState finishesState(const Design& d) {
  LongTermState s;
  const double age = d.data.finishesAge.value_or(kFinal);
  s.EcEff = d.materials.Ecm / (1 + creepAt(d, age));
  s.epsCs = shrinkageAt(d, age);
  s.permanentOnly = true;
  return s;
}

void checkService(Design& d) {
  Service& sv = d.service;
  sv.notionalSize = notionalSize(d.b, d.h);
  sv.phi = creepAt(d, kFinal);
  sv.epsCs = shrinkageAt(d, kFinal);
  const LongTermState final = finalState(d);
  sv.EcEff = final.EcEff;
  stationValues(d);
  crackPlaces(d);
  const DeflectionLine line = deflectionLine(d, d.demand, final);
  for (size_t i = 0; i < d.stations.size(); ++i) {
    d.stations[i].curvature = line.curvature[i];
    d.stations[i].longTerm = line.deflection[i];
  }
  std::vector<DeflectionLine::Span> after;
  if (d.data.finishesAge) {
    const LongTermState then = finishesState(d);
    sv.phiFinishes = creepAt(d, *d.data.finishesAge);
    sv.epsCsFinishes = then.epsCs;
    after = deflectionLine(d, d.demand, final, &then).spans;
  }
  for (size_t s = 0; s < d.demand.spans.size(); ++s) {
    const DemandSpan& span = d.demand.spans[s];
    SpanService r;
    r.length = span.end - span.start;
    for (int i = span.firstStation; i <= span.lastStation; ++i) r.elastic = std::max(r.elastic, -d.stations[i].elastic);
    r.longTerm = line.spans[s].sag;
    r.at = line.spans[s].at;
    r.limit = r.length / 250;
    if (!after.empty()) {
      r.afterFinishes = after[s].sag;
      r.afterAt = after[s].at;
      r.afterLimit = r.length / 500;
    }
    spanDepth(d, s, r);
    sv.spans.push_back(r);
  }
}

}  // namespace armado
