#include "armado/layout.h"

#include <algorithm>
#include <cmath>
#include <tuple>

#include "armado/bending.h"
#include "armado/detailing.h"
#include "common/format.h"

namespace armado {

using common::formatText;

namespace {

constexpr double kTiny = 1e-6;

// A stretch of stations [first, last] that the continuous bars do not hold,
// and the extra bars it takes.
struct Zone {
  int first = 0, last = 0, count = 0;
  double start = 0, end = 0;            // the bars' straight part, before rounding
  double reachStart = 0, reachEnd = 0;  // how far the bars must reach, bends included
};

// How far a group's bars must reach towards each end.
struct Reach {
  double start = HUGE_VAL, end = -HUGE_VAL;
};

// One candidate: continuous bars of one diameter, extra bars of another.
class FaceSearch {
 public:
  FaceSearch(const FaceProblem& p, double corner, double extra);
  std::optional<FaceLayout> layout(LayoutFailure& failure);

 private:
  bool holds(size_t i, int extra, std::string& why) const;
  bool zoneCount(Zone& zone, LayoutFailure& failure) const;
  template <typename Area>
  Reach reach(int first, int last, double diameter, const std::vector<int>& needed, Area area) const;
  void extent(Zone& zone) const;
  bool bendsFit(double reachStart, double reachEnd) const;
  bool continuousAnchors(size_t i, double area) const;
  std::optional<std::vector<Zone>> zones(LayoutFailure& failure) const;
  bool finish(BarGroup& group, const Reach& reach, LayoutFailure& failure) const;
  double areaAt(const std::vector<Zone>& zones, size_t i) const;

  const FaceProblem& p_;
  const double corner_, extra_;
  const int cornerCount_;
  int room1_ = 0, room2_ = 0;  // extra bars the first and second layer take
  double width_ = 0, cornerDepth_ = 0, extraDepth_ = 0, innerDepth_ = 0, maximum_ = 0, cracking_ = 0;
  bool good_ = true;
};

FaceSearch::FaceSearch(const FaceProblem& p, double corner, double extra)
    : p_(p), corner_(corner), extra_(extra), cornerCount_(std::max(2, p.data.legs)) {
  const DesignData& d = p.data;
  width_ = widthInsideStirrups(d, p.b);
  room1_ = barsBeside(d, p.b, cornerCount_, corner, extra);
  // The second layer lies over the first, bar over bar.
  const double gap = minimumClearSpacing(extra, d.aggregate);
  room2_ = std::max(0, static_cast<int>(std::floor((width_ + gap) / (extra + gap) + kTiny)));
  room2_ = std::min(room2_, cornerCount_ + room1_);
  const double base = d.cover + d.stirrupDiameter;
  cornerDepth_ = base + corner / 2;
  extraDepth_ = base + extra / 2;
  innerDepth_ = base + std::max(corner, extra) + minimumClearSpacing(std::max(corner, extra), d.aggregate) + extra / 2;
  maximum_ = maximumSteel(p.b, p.h);
  cracking_ = crackingMoment(p.b, p.h, p.materials);
  good_ = goodBond(p.face == kTop, p.h);
}

// Whether continuous bars and `extra` extra bars hold station i.
bool FaceSearch::holds(size_t i, int extra, std::string& why) const {
  const int first = std::min(extra, room1_), second = extra - first;
  const double a = barArea(extra_);
  const double area = cornerCount_ * barArea(corner_) + extra * a;
  if (area < p_.required[i] * (1 - 1e-9)) {
    why = formatText("SE NECESITAN %.2f cm2 Y CABEN %.2f cm2", p_.required[i] / 100, area / 100);
    return false;
  }
  if (area > maximum_ * (1 + 1e-9)) {
    why = formatText(
        "%.2f cm2 PASAN DE LA CUANT\xCD"
        "A M\xC1XIMA 0.04 Ac = %.2f cm2",
        area / 100, maximum_ / 100);
    return false;
  }
  const double moment = p_.quasiPermanent[i];
  if (moment <= cracking_) return true;
  const double centroid =
      (cornerCount_ * barArea(corner_) * cornerDepth_ + first * a * extraDepth_ + second * a * innerDepth_) / area;
  const double stress = crackedSteelStress(moment, p_.b, p_.h - centroid, area, 0, 0, p_.materials);
  const std::optional<double> limit = crackSpacingLimit(stress, p_.wk);
  const double spacing = (width_ - corner_) / (cornerCount_ + first - 1);
  if (limit && spacing <= *limit + kTiny) return true;
  why = limit
            ? formatText("LA SEPARACI\xD3N DE %.0f mm PASA DE %.0f mm (TABLA 7.3N, %.0f MPa)", spacing, *limit, stress)
            : formatText("LA TENSI\xD3N CUASIPERMANENTE DE %.0f MPa PASA DE LA TABLA 7.3N", stress);
  return false;
}

// The fewest extra bars that hold every station of the zone and, where the
// zone reaches an end of the beam, whose bend fits there (more bars lower
// their stress, and with it the anchorage).
bool FaceSearch::zoneCount(Zone& zone, LayoutFailure& failure) const {
  std::string why;
  bool held = false;
  const double corners = cornerCount_ * barArea(corner_);
  for (int n = 1; n <= room1_ + room2_; ++n) {
    bool all = true;
    for (int i = zone.first; i <= zone.last && all; ++i) all = holds(static_cast<size_t>(i), n, why);
    if (!all) continue;
    for (int i = zone.first; i <= zone.last && all; ++i)
      all = continuousAnchors(static_cast<size_t>(i), corners + n * barArea(extra_));
    if (!all) continue;
    held = true;
    zone.count = n;
    extent(zone);
    if (bendsFit(zone.reachStart, zone.reachEnd)) return true;
  }
  if (held) {
    failure.station = zone.reachStart < p_.limitStart ? 0 : static_cast<int>(p_.x.size()) - 1;
    failure.reason = formatText("LAS BARRAS DE %.0f mm NO SE PUEDEN ANCLAR EN EL EXTREMO DE LA VIGA", extra_);
    return false;
  }
  // The station the most bars do not hold.
  for (int i = zone.first; i <= zone.last; ++i)
    if (!holds(static_cast<size_t>(i), room1_ + room2_, why) || room1_ + room2_ == 0) {
      failure.station = i;
      failure.reason = room1_ + room2_ == 0 ? std::string("NO CABEN BARRAS DE M\xC1S") : why;
      return false;
    }
  failure.station = zone.first;
  failure.reason = formatText("LAS BARRAS CONTINUAS DE %.0f mm NO SE PUEDEN ANCLAR EN EL EXTREMO DE LA VIGA", corner_);
  return false;
}

// Whether the continuous bars, needed at station i where the face has `area`
// mm2, can run on by their anchorage to both ends of the beam.
bool FaceSearch::continuousAnchors(size_t i, double area) const {
  if (p_.required[i] <= kTiny) return true;
  const int n = static_cast<int>(i);
  const Reach r = reach(n, n, corner_, {n}, [area](int) { return area; });
  return bendsFit(r.start, r.end);
}

// Whether bends that reach `reachStart` and `reachEnd` fit at the beam's
// ends, however the straight part is rounded (up to 25 mm shorter at an end,
// the bend up to 50 mm longer).
bool FaceSearch::bendsFit(double reachStart, double reachEnd) const {
  const double slack = kLengthStep / 2 + kLengthStep;
  return p_.limitStart - reachStart + slack <= p_.legLimitStart && reachEnd - p_.limitEnd + slack <= p_.legLimitEnd;
}

// How far bars of `diameter` must reach past the stations that need them
// (`needed`, first to last) and past the station beyond each end of those,
// where they are no longer needed: at each by lbd for the stress the face's
// bars (`area(i)` mm2) have there, 8.4.3(2) and 9.2.1.3(3); from an end
// station, from the support's face or the tip.
template <typename Area>
Reach FaceSearch::reach(int first, int last, double diameter, const std::vector<int>& needed, Area area) const {
  const int n = static_cast<int>(p_.x.size());
  std::vector<int> stations = needed;
  if (first > 0) stations.push_back(first - 1);
  if (last + 1 < n) stations.push_back(last + 1);
  Reach r;
  for (int i : stations) {
    const double stress = p_.materials.fyd * std::min(1.0, p_.required[i] / area(i));
    const double lbd = designAnchorageLength(diameter, stress, good_, p_.materials);
    r.start = std::min(r.start, (i == 0 ? p_.anchorStart : p_.x[i]) - lbd);
    r.end = std::max(r.end, (i == n - 1 ? p_.anchorEnd : p_.x[i]) + lbd);
  }
  return r;
}

void FaceSearch::extent(Zone& zone) const {
  std::vector<int> needed;
  for (int i = zone.first; i <= zone.last; ++i) needed.push_back(i);
  const double area = cornerCount_ * barArea(corner_) + zone.count * barArea(extra_);
  const Reach r = reach(zone.first, zone.last, extra_, needed, [area](int) { return area; });
  zone.reachStart = r.start;
  zone.reachEnd = r.end;
  zone.start = std::max(p_.limitStart, r.start);
  zone.end = std::min(p_.limitEnd, r.end);
}

std::optional<std::vector<Zone>> FaceSearch::zones(LayoutFailure& failure) const {
  std::vector<Zone> found;
  std::string why;
  // Where the continuous bars do not hold, or could not be anchored at the
  // beam's ends for the stress they would have, extra bars go.
  for (size_t i = 0; i < p_.x.size(); ++i) {
    if (holds(i, 0, why) && continuousAnchors(i, cornerCount_ * barArea(corner_))) continue;
    if (!found.empty() && found.back().last == static_cast<int>(i) - 1)
      found.back().last = static_cast<int>(i);
    else
      found.push_back({static_cast<int>(i), static_cast<int>(i)});
  }
  for (Zone& zone : found)
    if (!zoneCount(zone, failure)) return std::nullopt;
  // Zones whose bars would overlap become one group.
  for (size_t k = 0; k + 1 < found.size();) {
    if (found[k].end < found[k + 1].start - kTiny) {
      ++k;
      continue;
    }
    Zone merged{found[k].first, found[k + 1].last, 0};
    if (!zoneCount(merged, failure)) return std::nullopt;
    found[k] = merged;
    found.erase(found.begin() + static_cast<long>(k) + 1);
    if (k > 0) --k;
  }
  return found;
}

double FaceSearch::areaAt(const std::vector<Zone>& zones, size_t i) const {
  double area = cornerCount_ * barArea(corner_);
  for (const Zone& z : zones)
    if ((p_.x[i] >= z.start - kTiny || z.start <= p_.limitStart + kTiny) &&
        (p_.x[i] <= z.end + kTiny || z.end >= p_.limitEnd - kTiny))
      area += z.count * barArea(extra_);
  return area;
}

// Rounds the straight part to whole 5 cm (outwards where it ends inside the
// beam, inwards where it ends at a beam end) and bends an end at the beam's
// end where the straight part does not reach the anchorage.
bool FaceSearch::finish(BarGroup& g, const Reach& reach, LayoutFailure& failure) const {
  bool atStart = g.start <= p_.limitStart + kTiny, atEnd = g.end >= p_.limitEnd - kTiny;
  const double length = g.end - g.start;
  if (!atStart || !atEnd) {
    const double grow = roundUpToStep(length, kLengthStep) - length;
    if (!atStart && !atEnd) {
      g.start -= grow / 2;
      g.end += grow / 2;
    } else {
      (atStart ? g.end : g.start) += atStart ? grow : -grow;
    }
    if (g.start < p_.limitStart - kTiny) g.end += p_.limitStart - g.start, g.start = p_.limitStart;
    if (g.end > p_.limitEnd + kTiny) g.start -= g.end - p_.limitEnd, g.end = p_.limitEnd;
    atStart = g.start <= p_.limitStart + kTiny;
    atEnd = g.end >= p_.limitEnd - kTiny;
  }
  if (atStart && atEnd) {
    g.start = p_.limitStart;
    g.end = p_.limitEnd;
    const double shrink = (g.end - g.start) - roundDownToStep(g.end - g.start, kLengthStep);
    g.start += shrink / 2;
    g.end -= shrink / 2;
  }
  g.fromBeamStart = atStart;
  g.toBeamEnd = atEnd;
  const double needStart = g.start - reach.start, needEnd = reach.end - g.end;
  g.legStart = atStart && needStart > kTiny ? roundUpToStep(needStart, kLengthStep) : 0;
  g.legEnd = atEnd && needEnd > kTiny ? roundUpToStep(needEnd, kLengthStep) : 0;
  for (int side = 0; side < 2; ++side) {
    const double leg = side == 0 ? g.legStart : g.legEnd;
    const double limit = side == 0 ? p_.legLimitStart : p_.legLimitEnd;
    if (leg > limit + kTiny) {
      failure.station = side == 0 ? 0 : static_cast<int>(p_.x.size()) - 1;
      failure.reason =
          formatText("LAS BARRAS DE %.0f mm NO SE PUEDEN ANCLAR: PIDEN UNA PATILLA DE %.0f mm Y CABEN %.0f mm",
                     g.diameter, leg, limit);
      return false;
    }
  }
  return true;
}

std::optional<FaceLayout> FaceSearch::layout(LayoutFailure& failure) {
  const DesignData& d = p_.data;
  if (corner_ > d.cover + d.stirrupDiameter || extra_ > d.cover + d.stirrupDiameter) {
    failure = {0,
               formatText("EL RECUBRIMIENTO DE %.0f mm M\xC1S EL ESTRIBO NO LLEGA AL DI\xC1METRO DE LA BARRA (4.4.1.2)",
                          d.cover)};
    return std::nullopt;
  }
  if (barsBeside(d, p_.b, cornerCount_, corner_, corner_) < 0) {
    failure = {0, formatText("NO CABEN %d BARRAS DE %.0f mm EN EL ANCHO", cornerCount_, corner_)};
    return std::nullopt;
  }
  const std::optional<std::vector<Zone>> zonesFound = zones(failure);
  if (!zonesFound) return std::nullopt;
  const std::vector<Zone>& found = *zonesFound;
  FaceLayout result;
  // The continuous bars: needed wherever the face needs steel.
  BarGroup c;
  c.face = p_.face;
  c.diameter = corner_;
  c.count = cornerCount_;
  c.depth = cornerDepth_;
  c.start = p_.limitStart;
  c.end = p_.limitEnd;
  c.continuous = true;
  std::vector<int> needed;
  for (size_t i = 0; i < p_.x.size(); ++i)
    if (p_.required[i] > kTiny) needed.push_back(static_cast<int>(i));
  Reach r;  // needed nowhere: no anchorage to make
  if (!needed.empty())
    r = reach(needed.front(), needed.back(), corner_, needed,
              [&](int i) { return areaAt(found, static_cast<size_t>(i)); });
  if (!finish(c, r, failure)) return std::nullopt;
  result.groups.push_back(c);
  for (const Zone& z : found) {
    BarGroup g;
    g.face = p_.face;
    g.diameter = extra_;
    g.count = z.count;
    g.inner = std::max(0, z.count - room1_);
    g.depth = extraDepth_;
    g.innerDepth = innerDepth_;
    g.start = z.start;
    g.end = z.end;
    if (!finish(g, {z.reachStart, z.reachEnd}, failure)) return std::nullopt;
    result.groups.push_back(g);
  }
  // 9.2.1.4(1), 9.2.1.5(1): a quarter of the span's bottom steel goes on into the supports.
  if (p_.face == kBottom)
    for (const auto& [first, last] : p_.supportedSpans) {
      double most = 0;
      for (int i = first; i <= last; ++i) most = std::max(most, areaAt(found, static_cast<size_t>(i)));
      if (cornerCount_ * barArea(corner_) < 0.25 * most - kTiny) {
        failure = {first, formatText("LAS BARRAS CONTINUAS NO LLEGAN A LA CUARTA PARTE DE LAS DEL TRAMO (%.2f cm2)",
                                     most / 100)};
        return std::nullopt;
      }
    }
  for (const BarGroup& g : result.groups)
    result.weight += g.count * g.length() / 1000 * barArea(g.diameter) / 1e6 * kSteelDensity;
  return result;
}

}  // namespace

double widthInsideStirrups(const DesignData& data, double b) { return b - 2 * data.cover - 2 * data.stirrupDiameter; }

int barsBeside(const DesignData& data, double b, int count, double corner, double extra) {
  const double width = widthInsideStirrups(data, b);
  const double gap = minimumClearSpacing(std::max(corner, extra), data.aggregate);
  const double used = count * corner + (count - 1) * gap;
  if (used > width + kTiny) return -1;
  return static_cast<int>(std::floor((width - used) / (extra + gap) + kTiny));
}

std::optional<FaceLayout> layoutFace(const FaceProblem& problem, LayoutFailure& failure) {
  // A practical arrangement: of the candidates within 15 % of the lightest,
  // the one without a second layer, then with the fewest bars in a section,
  // then with one diameter, then the lightest.
  struct Candidate {
    FaceLayout layout;
    bool secondLayer = false;
    int bars = 0, diameters = 1;
  };
  std::vector<Candidate> found;
  double lightest = HUGE_VAL;
  for (double corner : problem.data.diameters)
    for (double extra : problem.data.diameters) {
      LayoutFailure why;
      std::optional<FaceLayout> layout = FaceSearch(problem, corner, extra).layout(why);
      if (!layout) {
        failure = why;
        continue;
      }
      Candidate c;
      int most = 0;
      for (const BarGroup& g : layout->groups) {
        c.secondLayer = c.secondLayer || g.inner > 0;
        if (!g.continuous) most = std::max(most, g.count), c.diameters = extra != corner ? 2 : 1;
      }
      c.bars = layout->groups.front().count + most;
      lightest = std::min(lightest, layout->weight);
      c.layout = std::move(*layout);
      found.push_back(std::move(c));
    }
  const Candidate* best = nullptr;
  auto key = [](const Candidate& c) { return std::make_tuple(c.secondLayer, c.bars, c.diameters, c.layout.weight); };
  for (const Candidate& c : found)
    if (c.layout.weight <= 1.15 * lightest && (!best || key(c) < key(*best))) best = &c;
  if (!best) return std::nullopt;
  return best->layout;
}

}  // namespace armado
