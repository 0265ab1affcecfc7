#include "armado/stirrups.h"

#include <algorithm>
#include <cmath>

#include "armado/bending.h"
#include "armado/detailing.h"
#include "armado/layout.h"
#include "armado/shear.h"
#include "common/run_error.h"

namespace armado {

using common::formatText;

namespace {

constexpr double kTiny = 1e-6;
constexpr double kLeastSpacing = 50;  // mm: closer stirrups leave no room for the concrete

double shearAt(const std::vector<Station>& st, size_t i) {
  return std::max(std::fabs(st[i].Vmax), std::fabs(st[i].Vmin));
}

// The envelope's shear at x, straight between stations.
double shearAt(const std::vector<Station>& st, double x) {
  const auto next = std::lower_bound(st.begin(), st.end(), x, [](const Station& s, double v) { return s.x < v; });
  if (next == st.begin()) return shearAt(st, size_t{0});
  if (next == st.end()) return shearAt(st, st.size() - 1);
  const size_t j = static_cast<size_t>(next - st.begin());
  const double t = (x - st[j - 1].x) / (st[j].x - st[j - 1].x);
  return shearAt(st, j - 1) + t * (shearAt(st, j) - shearAt(st, j - 1));
}

// The shear the stirrups at station i are designed for (6.2.1(8)).
double stirrupShear(const Design& d, size_t i, double depth, bool& reduced) {
  const std::vector<Station>& st = d.demand.stations;
  const double x = st[i].x, full = shearAt(st, i);
  reduced = false;
  for (double support : d.demand.supports) {
    if (std::fabs(x - support) >= depth) continue;
    for (double load : d.demand.pointLoads)
      if (std::fabs(load - support) <= 2 * depth) return full;
    double value = 0;
    for (int side : {-1, 1}) {
      const double at = support + side * depth;
      if ((side < 0 && x > support + kTiny) || (side > 0 && x < support - kTiny)) continue;
      if (at < st.front().x || at > st.back().x) continue;
      value = std::max(value, shearAt(st, at));
    }
    reduced = value < full;
    return std::min(full, value);
  }
  return full;
}

// 6.2.2(1), figure 6.3: the tension bars at x that run on at least lbd + d
// either side (or to the beam's end, where they are anchored).
double anchoredSteel(const Design& d, int face, double x, double depth) {
  double area = 0;
  const bool good = goodBond(face == kTop, d.h);
  for (const BarGroup& g : d.bars) {
    if (g.face != face || !covers(g, x)) continue;
    const double reach = designAnchorageLength(g.diameter, d.materials.fyd, good, d.materials) + depth;
    const bool left = g.start <= x - reach + kTiny || g.fromBeamStart;
    const bool right = g.end >= x + reach - kTiny || g.toBeamEnd;
    if (left && right) area += g.count * barArea(g.diameter);
  }
  return area;
}

// The smallest diameter of the bars of a face at x.
double smallestBar(const Design& d, int face, double x) { return faceSteelAt(d.bars, face, x).smallestDiameter; }

void stationShear(Design& d, size_t i, double legsArea) {
  StationDesign& s = d.stations[i];
  const Materials& m = d.materials;
  const double depth = std::min(s.dBottom, s.dTop), z = shearLeverArm(depth);
  s.VEdFull = shearAt(d.demand.stations, i);
  s.VEd = stirrupShear(d, i, depth, s.reducedNearSupport);
  const std::optional<double> cot = strutCotTheta(s.VEdFull, d.b, z, m);
  if (!cot) throw strutCrushes(d, s.x, s.VEdFull, strutResistance(d.b, z, kLeastCotTheta, m));
  s.cotTheta = *cot;
  s.VRdmax = strutResistance(d.b, z, s.cotTheta, m);
  double tension = HUGE_VAL;
  for (int face : {kBottom, kTop})
    if ((face == kBottom ? s.Tbottom : s.Ttop) > 0) tension = std::min(tension, anchoredSteel(d, face, s.x, depth));
  if (tension == HUGE_VAL) tension = anchoredSteel(d, kBottom, s.x, depth);
  s.VRdc = concreteShearResistance(d.b, depth, tension, m);
  const double minimum = minimumShearRatio(m) * d.b;
  s.stirrupsRequired = s.VEd > s.VRdc ? std::max(minimum, requiredStirrups(s.VEd, z, s.cotTheta, m.fyd)) : minimum;
  double most = maximumStirrupSpacing(depth);
  // Where the design counts on compression bars, the stirrups hold them.
  const BendingSteel sagging = requiredBendingSteel(s.Tbottom, d.b, s.dBottom, d.h - s.dTop, m);
  const BendingSteel hogging = requiredBendingSteel(s.Ttop, d.b, s.dTop, d.h - s.dBottom, m);
  if (sagging.compression > 0) most = std::min(most, maximumSpacingHoldingCompressionBars(smallestBar(d, kTop, s.x)));
  if (hogging.compression > 0)
    most = std::min(most, maximumSpacingHoldingCompressionBars(smallestBar(d, kBottom, s.x)));
  s.spacingRequired = roundDownToStep(std::min(legsArea / s.stirrupsRequired, most), kSpacingStep);
  if (s.spacingRequired < kLeastSpacing)
    throw refusal(placeText(d, s.x) + formatText(" LOS ESTRIBOS IR\xCD"
                                                 "AN A MENOS DE %.0f mm (SE NECESITAN %.2f cm2/m); USE ESTRIBOS M\xC1S "
                                                 "GRUESOS O M\xC1S RAMAS",
                                                 kLeastSpacing, s.stirrupsRequired * 10));
}

void addZone(Design& d, int span, double start, double end, double spacing, bool whole) {
  if (end - start <= kTiny) return;
  StirrupZone z{span, start, end, spacing, 0};
  z.count = static_cast<int>(std::ceil((end - start) / spacing - 1e-9));
  if (!whole) z.end = z.start + z.count * spacing;
  d.stirrups.push_back(z);
}

// Three zones a span: one spacing from each end as far as the stations
// nearer that end ask closer stirrups than the middle half, and the middle
// half's spacing between them.
void spanZones(Design& d, size_t k) {
  const DemandSpan& span = d.demand.spans[k];
  const std::vector<StationDesign>& st = d.stations;
  const double start = k == 0 ? d.beamStart : span.start;
  const double end = k + 1 == d.demand.spans.size() ? d.beamEnd : span.end;
  const double quarter = (span.end - span.start) / 4, middle = (span.start + span.end) / 2;
  double sMid = HUGE_VAL;
  for (int i = span.firstStation; i <= span.lastStation; ++i)
    if (st[i].x >= span.start + quarter - kTiny && st[i].x <= span.end - quarter + kTiny)
      sMid = std::min(sMid, st[i].spacingRequired);
  int leftLast = -1, rightFirst = -1;
  for (int i = span.firstStation; i <= span.lastStation; ++i) {
    if (st[i].spacingRequired >= sMid) continue;
    if (st[i].x < middle) leftLast = i;
    if (st[i].x > middle && rightFirst < 0) rightFirst = i;
  }
  double sLeft = sMid, sRight = sMid, leftEnd = start, rightStart = end;
  if (leftLast >= 0) {
    for (int i = span.firstStation; i <= leftLast + 1; ++i) sLeft = std::min(sLeft, st[i].spacingRequired);
    leftEnd = start + std::ceil((st[leftLast + 1].x - start) / sLeft - 1e-9) * sLeft;
  }
  if (rightFirst >= 0) {
    for (int i = rightFirst - 1; i <= span.lastStation; ++i) sRight = std::min(sRight, st[i].spacingRequired);
    rightStart = end - std::ceil((end - st[rightFirst - 1].x) / sRight - 1e-9) * sRight;
  }
  const int s = static_cast<int>(k);
  if (leftEnd >= rightStart - kTiny) {
    addZone(d, s, start, end, std::min({sLeft, sRight, sMid}), true);
    return;
  }
  addZone(d, s, start, leftEnd, sLeft, false);
  addZone(d, s, leftEnd, rightStart, sMid, true);
  addZone(d, s, rightStart, end, sRight, true);
}

}  // namespace

common::RunError strutCrushes(const Design& d, double x, double VEd, double resistance) {
  return refusal(placeText(d, x) +
                 formatText(" LA BIELA DE HORMIG\xD3N NO RESISTE EL CORTANTE: VEd = %.1f kN > VRd,max = %.1f kN "
                            "(cot theta = 1, SECCI\xD3N %.0f x %.0f mm); AUMENTE LA SECCI\xD3N O EL HORMIG\xD3N",
                            VEd / 1000, resistance / 1000, d.b, d.h));
}

void designShear(Design& d) {
  const DesignData& data = d.data;
  d.stirrup.diameter = data.stirrupDiameter;
  d.stirrup.width = d.b - 2 * data.cover;
  d.stirrup.height = d.h - 2 * data.cover;
  d.stirrup.hook = std::max(10 * data.stirrupDiameter, 70.0);  // 8.5(1), figure 8.5: 135 degree hooks
  d.stirrup.ties = data.legs - 2;
  const double legsArea = data.legs * barArea(data.stirrupDiameter);
  double shallowest = HUGE_VAL;
  for (size_t i = 0; i < d.stations.size(); ++i) {
    stationShear(d, i, legsArea);
    shallowest = std::min({shallowest, d.stations[i].dBottom, d.stations[i].dTop});
  }
  const double across = (d.b - 2 * data.cover - data.stirrupDiameter) / (data.legs - 1);
  if (across > maximumLegSpacing(shallowest) + kTiny)
    throw refusal(
        formatText("LAS RAMAS DE LOS ESTRIBOS QUEDAN A %.0f mm Y NO DEBEN PASAR DE %.0f mm (9.2.2(8)); USE "
                   "M\xC1S RAMAS",
                   across, maximumLegSpacing(shallowest)));
  for (size_t k = 0; k < d.demand.spans.size(); ++k) spanZones(d, k);
  for (StationDesign& s : d.stations) {
    double spacing = HUGE_VAL;
    for (const StirrupZone& z : d.stirrups)
      if (s.x >= z.start - kTiny && s.x <= z.end + kTiny) spacing = std::min(spacing, z.spacing);
    s.stirrupsProvided = legsArea / spacing;
    const double z = shearLeverArm(std::min(s.dBottom, s.dTop));
    s.VRd = std::max(s.VRdc, std::min(stirrupResistance(s.stirrupsProvided, z, s.cotTheta, d.materials.fyd), s.VRdmax));
  }
}

}  // namespace armado
