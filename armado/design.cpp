#include "armado/design.h"

#include <algorithm>
#include <cmath>

#include "armado/bending.h"
#include "armado/detailing.h"
#include "armado/laps.h"
#include "armado/layout.h"
#include "armado/service.h"
#include "armado/shear.h"
#include "armado/stirrups.h"
#include "common/run_error.h"

namespace armado {

using common::formatText;
using common::RunError;

std::string placeText(const Design& design, double x) {
  const double unit = design.demand.units.length;
  int span = 0;
  for (size_t s = 0; s < design.demand.spans.size(); ++s)
    if (x >= design.demand.spans[s].start - 1e-6) span = static_cast<int>(s);
  return formatText("EN x = %.2f %s (TRAMO %d)", x / unit, design.demand.units.lengthName, span + 1);
}

RunError refusal(const std::string& why) { return RunError("ERROR: NO SE PUEDE ARMAR LA VIGA: " + why + "\n"); }

namespace {

void checkSection(const Design& d) {
  const DesignData& data = d.data;
  if (widthInsideStirrups(data, d.b) <= 2 * data.diameters.front() ||
      d.h - 2 * (data.cover + data.stirrupDiameter) <= 2 * data.diameters.front())
    throw refusal(
        formatText("EL RECUBRIMIENTO DE %.0f mm Y EL ESTRIBO DE %.0f mm NO DEJAN SITIO PARA LAS BARRAS EN "
                   "LA SECCI\xD3N DE %.0f x %.0f mm",
                   data.cover, data.stirrupDiameter, d.b, d.h));
  if (data.cover < bondCover(data.stirrupDiameter))
    throw refusal(
        formatText("EL RECUBRIMIENTO DE %.0f mm ES MENOR QUE EL DI\xC1METRO DEL ESTRIBO (4.4.1.2)", data.cover));
}

// The face's moment at each station: the tension it puts in that face; below
// `noise` it is the rounding of the analysis (a rigid support's penalty), no
// tension.
double faceMoment(const Station& s, int face, double noise) {
  const double moment = face == kBottom ? s.Mmax : -s.Mmin;
  return moment > noise ? moment : 0.0;
}

// 9.2.1.3(2): the moment each face's bars carry at a station, the envelope
// moved a_l the unfavourable way (the largest within a_l either side); at an
// end of the beam the face in tension near it also carries V a_l (9.2.1.4(2)).
std::vector<double> shiftedTension(const BeamDemand& demand, int face, double shift) {
  const std::vector<Station>& st = demand.stations;
  const size_t n = st.size();
  double largest = 0;
  for (const Station& s : st) largest = std::max({largest, std::fabs(s.Mmax), std::fabs(s.Mmin)});
  const double noise = 1e-6 * largest;
  auto faceMoment = [face, noise](const Station& s) { return armado::faceMoment(s, face, noise); };
  auto at = [&](double x) {  // the face's moment, straight between stations
    const auto next = std::lower_bound(st.begin(), st.end(), x, [](const Station& s, double v) { return s.x < v; });
    if (next == st.begin()) return faceMoment(st.front());
    if (next == st.end()) return faceMoment(st.back());
    const Station& a = *(next - 1);
    const double t = (x - a.x) / (next->x - a.x);
    return faceMoment(a) + t * (faceMoment(*next) - faceMoment(a));
  };
  std::vector<double> tension(n, 0.0);
  size_t low = 0, high = 0;
  for (size_t i = 0; i < n; ++i) {
    while (st[low].x < st[i].x - shift) ++low;
    while (high + 1 < n && st[high + 1].x <= st[i].x + shift) ++high;
    double most = std::max(at(st[i].x - shift), at(st[i].x + shift));
    for (size_t j = low; j <= high; ++j) most = std::max(most, faceMoment(st[j]));
    tension[i] = most;
  }
  // The face in tension next to the end is the one the shear adds to.
  for (size_t end : {size_t{0}, n - 1})
    if (faceMoment(st[end == 0 ? 1 : n - 2]) > 0) {
      const double V = std::max(std::fabs(st[end].Vmax), std::fabs(st[end].Vmin));
      tension[end] = std::max(tension[end], faceMoment(st[end]) + V * shift);
    }
  return tension;
}

struct FaceState {
  std::vector<double> tension, required, bump, centroid;
  std::vector<BarGroup> groups;
};

// The steel each station asks of face f, with the bars' depths as laid out.
void requiredSteel(Design& d, FaceState faces[2], int f) {
  FaceState& own = faces[f];
  const FaceState& other = faces[1 - f];
  const Materials& m = d.materials;
  const size_t n = d.demand.stations.size();
  for (size_t i = 0; i < n; ++i) {
    const double dOwn = d.h - own.centroid[i], dOther = d.h - other.centroid[i];
    const BendingSteel tension = requiredBendingSteel(own.tension[i], d.b, dOwn, other.centroid[i], m);
    const BendingSteel compression = requiredBendingSteel(other.tension[i], d.b, dOther, own.centroid[i], m);
    for (const BendingSteel* s : {&tension, &compression})
      if (!s->feasible)
        throw refusal(placeText(d, d.demand.stations[i].x) +
                      formatText(" EL MOMENTO PIDE ARMADURA DE COMPRESI\xD3N Y LA SECCI\xD3N DE %.0f mm DE CANTO NO LA "
                                 "ADMITE; AUMENTE EL CANTO O EL HORMIG\xD3N",
                                 d.h));
    double need = std::max(tension.tension, compression.compression);
    if (own.tension[i] > 0) need = std::max(need, minimumTensionSteel(d.b, dOwn, m));
    // 9.2.1.4(2): at an end the bars take F_E = V a_l / z + M / z.
    if ((i == 0 || i + 1 == n) && own.tension[i] > 0) need = std::max(need, own.tension[i] / (0.9 * dOwn) / m.fyd);
    own.required[i] = std::max({own.required[i], need, own.bump[i]});
  }
}

// The longest bend at an end: within the stirrups, but a top bar may go down
// into an end support.
double legLimit(const Design& d, int face, bool atStart) {
  const bool supported = atStart ? d.demand.supportedStart : d.demand.supportedEnd;
  return face == kTop && supported ? HUGE_VAL : d.h - 2 * (d.data.cover + d.data.stirrupDiameter);
}

FaceProblem faceProblem(const Design& d, const FaceState& state, int face) {
  FaceProblem p;
  p.face = face;
  for (const Station& s : d.demand.stations) {
    p.x.push_back(s.x);
    p.quasiPermanent.push_back(face == kBottom ? std::max(0.0, s.MqpMax) : std::max(0.0, -s.MqpMin));
  }
  p.required = state.required;
  p.b = d.b;
  p.h = d.h;
  p.limitStart = d.beamStart + d.data.cover;
  p.limitEnd = d.beamEnd - d.data.cover;
  const double half = d.data.supportWidth / 2;
  p.anchorStart = d.demand.supportedStart ? p.x.front() + half : p.x.front();
  p.anchorEnd = d.demand.supportedEnd ? p.x.back() - half : p.x.back();
  p.legLimitStart = legLimit(d, face, true);
  p.legLimitEnd = legLimit(d, face, false);
  for (const DemandSpan& s : d.demand.spans)
    if (!s.overhang) p.supportedSpans.push_back({s.firstStation, s.lastStation});
  p.materials = d.materials;
  p.data = d.data;
  p.wk = d.wk;
  return p;
}

void layOut(Design& d, FaceState faces[2]) {
  for (int f : {kBottom, kTop}) {
    LayoutFailure failure;
    const std::optional<FaceLayout> layout = layoutFace(faceProblem(d, faces[f], f), failure);
    if (!layout) {
      const double x = d.demand.stations[std::max(0, failure.station)].x;
      throw refusal(formatText("LA ARMADURA %s ", f == kBottom ? "INFERIOR" : "SUPERIOR") + placeText(d, x) + ": " +
                    failure.reason);
    }
    faces[f].groups = layout->groups;
  }
}

// Whether every station holds: the areas the laid bars' depths ask for, and
// the moment by strain compatibility; where not, the face asks for more.
bool verify(Design& d, FaceState faces[2]) {
  std::vector<BarGroup> all = faces[kBottom].groups;
  all.insert(all.end(), faces[kTop].groups.begin(), faces[kTop].groups.end());
  const size_t n = d.demand.stations.size();
  for (int f : {kBottom, kTop})
    for (size_t i = 0; i < n; ++i) faces[f].centroid[i] = faceSteelAt(all, f, d.demand.stations[i].x).centroid;
  bool holds = true;
  for (int f : {kBottom, kTop}) {
    const std::vector<double> before = faces[f].required;
    requiredSteel(d, faces, f);
    for (size_t i = 0; i < n; ++i) {
      const double x = d.demand.stations[i].x;
      const double provided = faceSteelAt(all, f, x).area;
      if (faces[f].required[i] > provided * (1 + 1e-9)) holds = false;
      const double resistance = designMomentResistance(d.b, sectionLayers(all, d.h, f, x), d.materials);
      if (resistance < faces[f].tension[i] * (1 - 1e-9)) {
        holds = false;
        faces[f].bump[i] = provided + barArea(d.data.diameters.front());
      }
    }
  }
  if (holds) d.bars = all;
  return holds;
}

// 7.3.3(2), table 7.3N, as the layout applied it: the bars' spacing and the
// quasi-permanent steel stress where the section cracks.
void crackChecks(Design& d) {
  const double width = widthInsideStirrups(d.data, d.b), cracking = crackingMoment(d.b, d.h, d.materials);
  for (size_t i = 0; i < d.stations.size(); ++i) {
    StationDesign& s = d.stations[i];
    for (int f : {kBottom, kTop}) {
      const Station& e = d.demand.stations[i];
      const double moment = f == kBottom ? std::max(0.0, e.MqpMax) : std::max(0.0, -e.MqpMin);
      if (moment <= cracking) continue;
      const FaceSteel steel = faceSteelAt(d.bars, f, s.x);
      double corner = 0;
      for (const BarGroup& g : d.bars)
        if (g.continuous && g.face == f) corner = g.diameter;
      const double stress = crackedSteelStress(moment, d.b, d.h - steel.centroid, steel.area, 0, 0, d.materials);
      const double spacing = (width - corner) / (steel.firstLayerCount - 1);
      const double limit = crackSpacingLimit(stress, d.wk).value_or(0);
      (f == kBottom ? s.steelStressBottom : s.steelStressTop) = stress;
      (f == kBottom ? s.barSpacingBottom : s.barSpacingTop) = spacing;
      (f == kBottom ? s.barSpacingLimitBottom : s.barSpacingLimitTop) = limit;
    }
  }
}

// The stress the bars of a face have at a station: fyd times the share of
// their resistance the demand takes (or of their area the station needs).
double barStress(const Design& d, const FaceState& face, size_t i, double resistance, double provided) {
  const double share = std::max(face.tension[i] * 1.001 / resistance, face.required[i] / provided);
  return d.materials.fyd * std::min(1.0, share);
}

// Lengthens group g (or bends it at a beam end) so that it runs `length`
// past `from` towards its start (side 0) or end (side 1). False when the bend
// would not fit.
bool runOn(const Design& d, BarGroup& g, int side, double from, double length) {
  const double limit = side == 0 ? d.beamStart + d.data.cover : d.beamEnd - d.data.cover;
  const bool atEnd = side == 0 ? g.fromBeamStart : g.toBeamEnd;
  double& edge = side == 0 ? g.start : g.end;
  double& leg = side == 0 ? g.legStart : g.legEnd;
  const double sign = side == 0 ? -1 : 1;
  const double run = (edge - from) * sign + leg;
  if (run >= length - 1e-6) return true;
  if (!atEnd) {
    const double grown = roundUpToStep(length - run, kLengthStep);
    if ((edge + sign * grown - limit) * sign <= 1e-6) {
      edge += sign * grown;
      return true;
    }
    // At the beam's end the straight part keeps whole 5 cm, shortened.
    edge = limit;
    (side == 0 ? g.fromBeamStart : g.toBeamEnd) = true;
    const double straight = g.end - g.start;
    edge += sign * -(straight - roundDownToStep(straight, kLengthStep));
  }
  leg = roundUpToStep(length - (edge - from) * sign, kLengthStep);
  return leg <= legLimit(d, g.face, side == 0) + 1e-6;
}

// 8.4.4 and 9.2.1.3(3): every group runs on by lbd, for the stress its bars
// have, past each station that cannot do without one of its bars; 9.2.1.4:
// at an end the bars there anchor theirs from the support's face (or the
// tip). Groups are lengthened or bent; false, naming the station, when a bend
// would not fit.
bool anchorGroups(Design& d, FaceState faces[2], std::vector<BarGroup>& all, size_t& failed) {
  const std::vector<Station>& st = d.demand.stations;
  const size_t n = st.size();
  const double half = d.data.supportWidth / 2;
  const double anchorStart = st.front().x + (d.demand.supportedStart ? half : 0);
  const double anchorEnd = st.back().x - (d.demand.supportedEnd ? half : 0);
  for (size_t k = 0; k < all.size(); ++k) {
    const int f = all[k].face;
    const FaceState& face = faces[f];
    const bool good = goodBond(f == kTop, d.h);
    std::vector<BarGroup> without = all;
    without[k].count -= 1;  // one bar less, from the second layer if it has one
    if (without[k].inner > 0) without[k].inner -= 1;
    for (size_t i = 0; i < n; ++i) {
      const double x = st[i].x;
      if (!covers(all[k], x) || (face.tension[i] <= 0 && face.required[i] <= 0)) continue;
      const double provided = faceSteelAt(all, f, x).area;
      const double resistance = designMomentResistance(d.b, sectionLayers(all, d.h, f, x), d.materials);
      const bool end = i == 0 || i + 1 == n;
      const bool needed =
          end ||
          designMomentResistance(d.b, sectionLayers(without, d.h, f, x), d.materials) < face.tension[i] * 1.001 ||
          provided - barArea(all[k].diameter) < face.required[i] * (1 - 1e-9);
      if (!needed) continue;
      const double lbd =
          designAnchorageLength(all[k].diameter, barStress(d, face, i, resistance, provided), good, d.materials);
      for (int side : {0, 1}) {
        const double from = i == 0 && side == 0 ? anchorStart : i + 1 == n && side == 1 ? anchorEnd : x;
        if (end && (i == 0) != (side == 0)) continue;
        if (!runOn(d, all[k], side, from, lbd)) {
          failed = i;
          return false;
        }
      }
    }
  }
  return true;
}

// 6.2.3(3): where the shear passes VRd,max at 45 degrees even with the
// deepest bars the section can have, no reinforcement will do: said first.
void strutCanHold(const Design& d, double deepest) {
  const double most = strutResistance(d.b, shearLeverArm(deepest), kLeastCotTheta, d.materials);
  for (const Station& s : d.demand.stations) {
    const double V = std::max(std::fabs(s.Vmax), std::fabs(s.Vmin));
    if (V > most) throw strutCrushes(d, s.x, V, most);
  }
}

// 8.7: the groups longer than a stock bar lapped where their bars work least.
void layLaps(Design& d, FaceState faces[2]) {
  std::vector<double> stress[2];
  const std::vector<Station>& st = d.demand.stations;
  for (int f : {kBottom, kTop}) {
    stress[f].assign(st.size(), 0.0);
    for (size_t i = 0; i < st.size(); ++i) {
      if (faces[f].tension[i] <= 0 && faces[f].required[i] <= 0) continue;
      const double provided = faceSteelAt(d.bars, f, st[i].x).area;
      const double resistance = designMomentResistance(d.b, sectionLayers(d.bars, d.h, f, st[i].x), d.materials);
      stress[f][i] = barStress(d, faces[f], i, resistance, provided);
    }
  }
  size_t failed = 0;
  std::string why;
  if (!lapLongBars(d, stress, failed, why)) throw refusal(placeText(d, st[failed].x) + " " + why);
}

// One mark a piece, the groups' pieces in order.
void numberMarks(Design& d) {
  int mark = 0;
  for (BarGroup& g : d.bars) {
    g.marks.clear();
    for (size_t k = 0; k <= g.laps.size(); ++k) g.marks.push_back(++mark);
    g.mark = g.marks.front();
  }
}

}  // namespace

Design designBeam(const BeamDemand& demand, const DesignData& data) {
  Design d;
  d.data = data;
  d.demand = demand;
  d.materials = materialsOf(data.concrete, data.steel, data.safety);
  d.b = demand.b;
  d.h = demand.h;
  const std::vector<Station>& st = demand.stations;
  d.beamStart = st.front().x - (demand.supportedStart ? data.supportWidth / 2 : 0);
  d.beamEnd = st.back().x + (demand.supportedEnd ? data.supportWidth / 2 : 0);
  d.wk = crackWidthLimit(data.exposure).value_or(0.3);
  checkSection(d);
  // One a_l for the whole beam, the largest any station can have: the
  // deepest bars and cot theta = 2.5.
  const double deepest = d.h - data.cover - data.stirrupDiameter - data.diameters.front() / 2;
  d.shift = shiftLength(shearLeverArm(deepest), kLargestCotTheta);

  strutCanHold(d, deepest);
  FaceState faces[2];
  for (int f : {kBottom, kTop}) {
    faces[f].tension = shiftedTension(demand, f, d.shift);
    faces[f].required.assign(st.size(), 0.0);
    faces[f].bump.assign(st.size(), 0.0);
    faces[f].centroid.assign(st.size(), data.cover + data.stirrupDiameter + data.diameters.front() / 2);
  }
  for (int f : {kBottom, kTop}) requiredSteel(d, faces, f);
  bool done = false;
  for (int round = 0; round < 60 && !done; ++round) {
    layOut(d, faces);
    if (!verify(d, faces)) continue;
    size_t failed = 0;
    done = anchorGroups(d, faces, d.bars, failed);
    // A bend too long for the section: more bars there lower their stress.
    if (!done)
      for (int f : {kBottom, kTop})
        faces[f].bump[failed] = std::max(faces[f].bump[failed],
                                         faceSteelAt(d.bars, f, st[failed].x).area + barArea(data.diameters.front()));
  }
  if (!done) throw refusal("NO SE HA ENCONTRADO UN ARMADO QUE CUMPLA EN TODAS LAS SECCIONES");
  layLaps(d, faces);
  numberMarks(d);

  d.stations.resize(st.size());
  for (size_t i = 0; i < st.size(); ++i) {
    StationDesign& s = d.stations[i];
    s.x = st[i].x;
    s.span = st[i].span;
    s.Mmax = st[i].Mmax;
    s.Mmin = st[i].Mmin;
    s.Tbottom = faces[kBottom].tension[i];
    s.Ttop = faces[kTop].tension[i];
    s.requiredBottom = faces[kBottom].required[i];
    s.requiredTop = faces[kTop].required[i];
    const FaceSteel bottom = faceSteelAt(d.bars, kBottom, s.x), top = faceSteelAt(d.bars, kTop, s.x);
    s.providedBottom = bottom.area;
    s.providedTop = top.area;
    s.dBottom = d.h - bottom.centroid;
    s.dTop = d.h - top.centroid;
    s.resistancePositive = designMomentResistance(d.b, sectionLayers(d.bars, d.h, kBottom, s.x), d.materials);
    s.resistanceNegative = designMomentResistance(d.b, sectionLayers(d.bars, d.h, kTop, s.x), d.materials);
  }
  designShear(d);
  crackChecks(d);
  checkService(d);
  return d;
}

}  // namespace armado
