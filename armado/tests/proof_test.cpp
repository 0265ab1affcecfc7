// Every bar the program places, proven by checks written here apart from the
// program's rules, over random continuous beams (overhangs, unequal spans,
// springs, point loads) and the bundled example:
// - at every station the moment the bars there resist, by a strain
//   compatibility integration of the parabola-rectangle concrete in fibres
//   and elastic-plastic steel, holds the envelope shifted by a_l;
// - the shear the stirrups and the strut carry at some cot theta holds V_Ed;
// - every bar runs on by its anchorage past the last station that needs it,
//   and the bars at an end support anchor F_E;
// - the pieces are whole 5 cm, the spacings whole 2.5 cm, the bars fit;
// - the schedule weighs what the drawing draws, mark by mark.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

#include "armado/drawing.h"
#include "armado/schedule.h"
#include "armado/tests/test_beams.h"
#include "common/run_error.h"
#include "pictures/recording_canvas.h"

namespace armado {
namespace {

using testing::PointLoad;
using testing::TestBeam;

constexpr double kEcu = 0.0035, kEc2 = 0.002, kEs = 200000;

// The materials from the design data, as EN 1992-1-1 gives them.
struct Strengths {
  double fck, fcd, fyd, fctd;
};
Strengths strengthsOf(const DesignData& data) {
  const double fck = data.concrete.fck;
  return {fck, data.safety.alphaCC * fck / data.safety.gammaC, data.steel.fyk / data.safety.gammaS,
          0.7 * 0.3 * std::pow(fck, 2.0 / 3.0) / data.safety.gammaC};
}

struct Bar {
  double area, depth;  // below the compressed face
};

// Whether a group is at x: on its straight part, or past its end where that
// end is at the beam's (its cover and the rounding of its length) and the
// bar is anchored there.
bool covers(const Design& d, const BarGroup& g, double x) {
  const double reach = d.data.cover + 50;
  return (x >= g.start - 1e-6 || g.start <= d.beamStart + reach) && (x <= g.end + 1e-6 || g.end >= d.beamEnd - reach);
}

// The bars at x, depths below the face opposite `tension`; one bar of group
// `without` left out.
std::vector<Bar> barsAt(const Design& d, double x, int tension, int without = -1) {
  std::vector<Bar> bars;
  for (size_t k = 0; k < d.bars.size(); ++k) {
    const BarGroup& g = d.bars[k];
    if (!covers(d, g, x)) continue;
    const double a = M_PI * g.diameter * g.diameter / 4;
    int outer = g.count - g.inner, inner = g.inner;
    if (static_cast<int>(k) == without) (inner > 0 ? inner : outer) -= 1;
    auto depth = [&](double fromFace) { return g.face == tension ? d.h - fromFace : fromFace; };
    bars.push_back({outer * a, depth(g.depth)});
    bars.push_back({inner * a, depth(g.innerDepth)});
  }
  return bars;
}

// The resistance by fibres: the compressed zone in 400 strips of the
// parabola-rectangle, the bars elastic-plastic, the neutral axis by bisection.
double fibreResistance(double b, const std::vector<Bar>& bars, const Strengths& s) {
  double deepest = 0;
  for (const Bar& bar : bars)
    if (bar.area > 0) deepest = std::max(deepest, bar.depth);
  if (deepest == 0) return 0;
  auto forces = [&](double x, double& moment) {
    double force = 0;
    moment = 0;
    const int strips = 400;
    for (int k = 0; k < strips; ++k) {
      const double y = (k + 0.5) * x / strips, strain = kEcu * (x - y) / x;
      const double stress = strain < kEc2 ? s.fcd * (1 - (1 - strain / kEc2) * (1 - strain / kEc2)) : s.fcd;
      force += stress * b * x / strips;
      moment -= stress * b * x / strips * y;
    }
    for (const Bar& bar : bars) {
      const double stress = std::clamp(kEs * kEcu * (x - bar.depth) / x, -s.fyd, s.fyd);
      force += bar.area * stress;
      moment -= bar.area * stress * bar.depth;
    }
    return force;
  };
  double low = 1e-6, high = deepest, moment = 0;
  for (int i = 0; i < 80; ++i) {
    const double mid = (low + high) / 2;
    (forces(mid, moment) < 0 ? low : high) = mid;
  }
  forces((low + high) / 2, moment);
  return moment;
}

// The face's effective depth at x from the bars there.
double effectiveDepth(const Design& d, int face, double x) {
  double area = 0, moment = 0;
  for (const BarGroup& g : d.bars) {
    if (g.face != face || !covers(d, g, x)) continue;
    const double a = M_PI * g.diameter * g.diameter / 4;
    area += g.count * a;
    moment += (g.count - g.inner) * a * g.depth + g.inner * a * g.innerDepth;
  }
  return d.h - moment / area;
}

// The envelope moment putting `face` in tension, straight between stations.
double faceMoment(const Design& d, int face, double x) {
  const std::vector<StationDesign>& st = d.stations;
  x = std::clamp(x, st.front().x, st.back().x);
  size_t j = 1;
  while (j + 1 < st.size() && st[j].x < x) ++j;
  auto of = [face](const StationDesign& s) { return std::max(0.0, face == kBottom ? s.Mmax : -s.Mmin); };
  const double t = (x - st[j - 1].x) / (st[j].x - st[j - 1].x);
  return of(st[j - 1]) + std::clamp(t, 0.0, 1.0) * (of(st[j]) - of(st[j - 1]));
}

// 9.2.1.3(2): the largest moment within a_l = z cot(theta) / 2 either side,
// sampled finely.
double shiftedDemand(const Design& d, int face, size_t i) {
  const StationDesign& s = d.stations[i];
  const double al = 0.9 * effectiveDepth(d, face, s.x) * s.cotTheta / 2;
  double most = 0;
  for (int k = -200; k <= 200; ++k) most = std::max(most, faceMoment(d, face, s.x + al * k / 200));
  return most;
}

double anchorage(const Design& d, const Strengths& s, double diameter, double stress, int face) {
  const double fbd = 2.25 * (face == kTop && d.h > 250 ? 0.7 : 1.0) * s.fctd;
  const double basic = diameter / 4 * stress / fbd;
  return std::max({basic, 0.3 * basic, 10 * diameter, 100.0});
}

// What a beam gives the checks: the design and where its point loads act.
struct Case {
  std::string name;
  Design design;
  std::vector<double> pointLoads;  // mm
};

class Proof {
 public:
  explicit Proof(const Case& c) : c_(c), d_(c.design), s_(strengthsOf(c.design.data)) {}
  void all() {
    flexure();
    shear();
    anchorages();
    detailing();
    roundTrip();
    service();
    laps();
  }

 private:
  std::string at(double x) const { return c_.name + common::formatText(" x = %.3f m", x / 1000); }

  void flexure() {
    for (size_t i = 0; i < d_.stations.size(); ++i)
      for (int face : {kBottom, kTop}) {
        const double demand = shiftedDemand(d_, face, i);
        const double resistance = fibreResistance(d_.b, barsAt(d_, d_.stations[i].x, face), s_);
        EXPECT_GE(resistance, demand * (1 - 1e-9)) << at(d_.stations[i].x) << (face == kBottom ? " +" : " -");
      }
  }

  // 6.2.1(8): within d of a support's axis, with no point load within 2d of
  // it, the shear at d.
  double stirrupShear(size_t i, double depth) const {
    const std::vector<StationDesign>& st = d_.stations;
    auto shearAt = [&](double x) {
      size_t j = 1;
      while (j + 1 < st.size() && st[j].x < x) ++j;
      const double t = (x - st[j - 1].x) / (st[j].x - st[j - 1].x);
      return st[j - 1].VEdFull + t * (st[j].VEdFull - st[j - 1].VEdFull);
    };
    for (double support : d_.demand.supports) {
      if (std::fabs(st[i].x - support) >= depth) continue;
      for (double p : c_.pointLoads)
        if (std::fabs(p - support) <= 2 * depth) return st[i].VEdFull;
      double v = 0;
      for (double side : {-1.0, 1.0}) {
        const double x = support + side * depth;
        if ((st[i].x - support) * side >= -1e-6 && x >= st.front().x && x <= st.back().x) v = std::max(v, shearAt(x));
      }
      return std::min(v, st[i].VEdFull);
    }
    return st[i].VEdFull;
  }

  void shear() {
    const double legs = d_.data.legs * M_PI * d_.data.stirrupDiameter * d_.data.stirrupDiameter / 4;
    const double nu = 0.6 * (1 - s_.fck / 250);
    for (size_t i = 0; i < d_.stations.size(); ++i) {
      const StationDesign& st = d_.stations[i];
      EXPECT_NEAR(st.VEdFull, std::max(std::fabs(d_.demand.stations[i].Vmax), std::fabs(d_.demand.stations[i].Vmin)),
                  1e-6);
      double spacing = 1e18;
      for (const StirrupZone& z : d_.stirrups)
        if (st.x >= z.start - 1e-6 && st.x <= z.end + 1e-6) spacing = std::min(spacing, z.spacing);
      const double depth = std::min(effectiveDepth(d_, kBottom, st.x), effectiveDepth(d_, kTop, st.x));
      const double z = 0.9 * depth, V = stirrupShear(i, depth);
      bool holds = false;
      for (int k = 0; k <= 150 && !holds; ++k) {
        const double cot = 1 + 1.5 * k / 150;
        const double strut = d_.b * z * nu * s_.fcd / (cot + 1 / cot);
        holds = st.VEdFull <= strut * (1 + 1e-9) && V <= legs / spacing * z * s_.fyd * cot * (1 + 1e-9);
      }
      // Or the concrete alone, with the bars anchored lbd + d past the section.
      holds = holds || V <= concreteShear(st.x, depth);
      EXPECT_TRUE(holds) << at(st.x) << " V = " << V / 1000 << " kN, s = " << spacing;
    }
  }

  double concreteShear(double x, double depth) const {
    double anchored = 1e18;
    for (int face : {kBottom, kTop}) {
      if (faceMoment(d_, face, x) <= 0 && !(face == kBottom && anchored == 1e18)) continue;
      double area = 0;
      for (const BarGroup& g : d_.bars) {
        if (g.face != face || !covers(d_, g, x)) continue;
        const double reach = anchorage(d_, s_, g.diameter, s_.fyd, face) + depth;
        const bool left = g.start <= x - reach || g.start <= d_.beamStart + d_.data.cover + 50;
        const bool right = g.end >= x + reach || g.end >= d_.beamEnd - d_.data.cover - 50;
        if (left && right) area += g.count * M_PI * g.diameter * g.diameter / 4;
      }
      anchored = std::min(anchored, area);
    }
    const double k = std::min(2.0, 1 + std::sqrt(200 / depth));
    const double rho = std::min(0.02, anchored / (d_.b * depth));
    return std::max(0.18 / d_.data.safety.gammaC * k * std::cbrt(100 * rho * s_.fck),
                    0.035 * std::pow(k, 1.5) * std::sqrt(s_.fck)) *
           d_.b * depth;
  }

  // Each bar runs on past every station that cannot do without it, to each
  // of its ends, by lbd for the stress the bars have there (fyd times the
  // share of their resistance the demand takes); at a beam end the bend
  // counts, and at an end station the run starts at the support's face (or
  // the tip).
  void anchorages() {
    const std::vector<StationDesign>& st = d_.stations;
    for (size_t k = 0; k < d_.bars.size(); ++k) {
      const BarGroup& g = d_.bars[k];
      for (size_t i = 0; i < st.size(); ++i) {
        if (!covers(d_, g, st[i].x)) continue;
        const double demand = shiftedDemand(d_, g.face, i);
        if (demand <= 0 || fibreResistance(d_.b, barsAt(d_, st[i].x, g.face, static_cast<int>(k)), s_) >= demand)
          continue;
        const double stress = s_.fyd * std::min(1.0, demand / fibreResistance(d_.b, barsAt(d_, st[i].x, g.face), s_));
        for (int side : {0, 1}) {
          const bool endStation = side == 0 ? i == 0 : i + 1 == st.size();
          const bool supported = side == 0 ? d_.demand.supportedStart : d_.demand.supportedEnd;
          const double from = st[i].x + (endStation && supported ? d_.data.supportWidth / 2 : 0) * (side == 0 ? 1 : -1);
          const double run = (side == 0 ? from - g.start + g.legStart : g.end - from + g.legEnd);
          EXPECT_GE(run, anchorage(d_, s_, g.diameter, stress, g.face) - 1e-6)
              << at(from) << " mark " << g.mark << (side == 0 ? " left" : " right");
        }
      }
    }
    endSupports();
  }

  // 9.2.1.4(2), (3): at an end support the tension bars anchor F_E = V a_l /
  // z from the support's face.
  void endSupports() {
    const std::vector<StationDesign>& st = d_.stations;
    for (int side : {0, 1}) {
      if (!(side == 0 ? d_.demand.supportedStart : d_.demand.supportedEnd)) continue;
      const size_t i = side == 0 ? 0 : st.size() - 1, next = side == 0 ? 1 : st.size() - 2;
      for (int face : {kBottom, kTop}) {
        if (faceMoment(d_, face, st[next].x) <= 0) continue;
        const double FE = st[i].VEdFull * st[i].cotTheta / 2;
        double area = 0;
        for (const BarGroup& g : d_.bars)
          if (g.face == face && covers(d_, g, st[i].x)) area += g.count * M_PI * g.diameter * g.diameter / 4;
        ASSERT_GT(area, 0);
        const double face0 = st[i].x + (side == 0 ? 1 : -1) * d_.data.supportWidth / 2;
        for (const BarGroup& g : d_.bars) {
          if (g.face != face || !covers(d_, g, st[i].x)) continue;
          const double run = (side == 0 ? face0 - g.start + g.legStart : g.end - face0 + g.legEnd);
          EXPECT_GE(run, anchorage(d_, s_, g.diameter, std::min(s_.fyd, FE / area), face) - 1e-6)
              << at(face0) << " F_E, mark " << g.mark;
        }
      }
    }
  }

  void detailing() {
    const double inside = d_.b - 2 * d_.data.cover - 2 * d_.data.stirrupDiameter;
    for (const BarGroup& g : d_.bars) {
      for (double v : {g.end - g.start, g.legStart, g.legEnd})
        EXPECT_NEAR(std::fmod(v + 1e-6, 50.0), 0, 1e-5) << c_.name << " mark " << g.mark << " piece " << v;
      EXPECT_GE(g.start, d_.beamStart + d_.data.cover - 1e-6);
      EXPECT_LE(g.end, d_.beamEnd - d_.data.cover + 1e-6);
    }
    for (const StirrupZone& z : d_.stirrups) EXPECT_NEAR(std::fmod(z.spacing + 1e-6, 25.0), 0, 1e-5);
    // The zones cover the beam end to end.
    EXPECT_NEAR(d_.stirrups.front().start, d_.beamStart, 1e-6);
    EXPECT_NEAR(d_.stirrups.back().end, d_.beamEnd, 1e-6);
    for (size_t k = 1; k < d_.stirrups.size(); ++k) EXPECT_NEAR(d_.stirrups[k].start, d_.stirrups[k - 1].end, 1e-6);
    // 8.2(2): in each layer the bars and their clear gaps fit between the stirrups.
    for (const StationDesign& s : d_.stations)
      for (int face : {kBottom, kTop})
        for (int layer : {0, 1}) {
          double width = 0, largest = 0;
          int n = 0;
          for (const BarGroup& g : d_.bars)
            if (g.face == face && covers(d_, g, s.x)) {
              const int count = layer == 0 ? g.count - g.inner : g.inner;
              width += count * g.diameter;
              n += count;
              if (count) largest = std::max(largest, g.diameter);
            }
          if (n > 1) {
            EXPECT_LE(width + (n - 1) * std::max({largest, d_.data.aggregate + 5, 20.0}), inside + 1e-6) << at(s.x);
          }
        }
  }

  // The schedule against the drawing: each mark drawn once, its developed
  // length to the drawing's scale, its count and diameter in its label, the
  // stirrups one stroke a set; the weights add up.
  void roundTrip() {
    const Schedule schedule = scheduleOf(d_);
    const DesignFrame frame = designFrame(d_, schedule);
    pictures::RecordingCanvas canvas;
    drawDesign(canvas, c_.name, d_, schedule, frame);
    std::map<int, double> drawn;
    int stirrupStrokes = 0;
    for (const pictures::Element& e : canvas.elements) {
      if (e.groupCls == "estribos") ++stirrupStrokes;
      if (!e.inItem) continue;
      double length = 0;
      for (size_t k = 1; k < e.points.size(); ++k)
        length += std::hypot(e.points[k].x - e.points[k - 1].x, e.points[k].y - e.points[k - 1].y);
      drawn[e.index] += length / frame.scale;
    }
    double weight = 0, byDiameter = 0;
    for (const SchedulePiece& p : schedule.pieces) {
      ASSERT_EQ(drawn.count(p.mark), 1u) << c_.name << " mark " << p.mark;
      EXPECT_NEAR(drawn[p.mark], p.length, 0.01) << c_.name << " mark " << p.mark;
      int count = 0;
      if (p.shape == Shape::stirrup) count = stirrupStrokes;
      if (p.shape == Shape::tie) count = stirrupStrokes * (d_.data.legs - 2);
      for (const pictures::Element& e : canvas.elements)
        if (e.kind == pictures::Element::words && e.text.rfind(common::formatText("(%d) ", p.mark), 0) == 0) {
          int n = 0;
          double diameter = 0;
          if (p.shape == Shape::stirrup || p.shape == Shape::tie) continue;
          ASSERT_EQ(std::sscanf(e.text.c_str() + e.text.find(')') + 1, "%d\xD8%lf", &n, &diameter), 2) << e.text;
          count = n;
          EXPECT_EQ(diameter, p.diameter);
        }
      EXPECT_EQ(count, p.count) << c_.name << " mark " << p.mark;
      weight += count * drawn[p.mark] / 1000 * M_PI * p.diameter * p.diameter / 4e6 * 7850;
    }
    for (const DiameterTotal& t : schedule.totals) byDiameter += t.weight;
    EXPECT_EQ(drawn.size(), schedule.pieces.size());
    EXPECT_NEAR(weight, schedule.weight, 1e-3 * schedule.weight / 1000 + 1e-6);
    EXPECT_NEAR(byDiameter, schedule.weight, 1e-9 * schedule.weight);
  }

  // 8.7: no piece longer than a stock bar, each whole 5 cm; the pieces of
  // a group run from its start to its end overlapping at its laps; each lap
  // at least l0 = alpha6 lb,rqd (>= 15 diameters, 200 mm) for the bars'
  // largest stress over it (and at the stations either side), alpha6 from
  // the share of the face's bars lapped; the lapped bars fit in the first
  // layer beside the others, in contact.
  void laps() {
    const std::vector<StationDesign>& st = d_.stations;
    const double inside = d_.b - 2 * d_.data.cover - 2 * d_.data.stirrupDiameter;
    for (const BarGroup& g : d_.bars) {
      const std::vector<BarPiece> pieces = g.pieces();
      ASSERT_EQ(pieces.size(), g.laps.size() + 1);
      EXPECT_EQ(pieces.front().start, g.start);
      EXPECT_EQ(pieces.back().end, g.end);
      for (const BarPiece& p : pieces) {
        EXPECT_LE(p.length(), 12000 + 1e-6) << c_.name << " mark " << p.mark;
        EXPECT_NEAR(std::fmod(p.end - p.start + 1e-6, 50.0), 0, 1e-5) << c_.name << " mark " << p.mark;
      }
      if (g.length() > 12000 + 1e-6) {
        EXPECT_FALSE(g.laps.empty()) << c_.name << " mark " << g.mark;
      }
      const double area = M_PI * g.diameter * g.diameter / 4;
      for (size_t k = 0; k < g.laps.size(); ++k) {
        const double from = pieces[k + 1].start, to = pieces[k].end;
        double stress = 0, share = 0;
        for (size_t i = 0; i < st.size(); ++i) {
          const bool near = (st[i].x >= from && st[i].x <= to) ||
                            (i + 1 < st.size() && st[i + 1].x > from && st[i].x < from) ||
                            (i > 0 && st[i - 1].x < to && st[i].x > to);
          if (!near) continue;
          const double demand = shiftedDemand(d_, g.face, i);
          if (demand > 0)
            stress = std::max(stress,
                              s_.fyd * std::min(1.0, demand / fibreResistance(d_.b, barsAt(d_, st[i].x, g.face), s_)));
          double face = 0;
          for (const BarGroup& o : d_.bars)
            if (o.face == g.face && covers(d_, o, st[i].x)) face += o.count * M_PI * o.diameter * o.diameter / 4;
          share = std::max(share, g.count * area / face);
          if (st[i].x >= from && st[i].x <= to) {
            double width = 0, largest = 0;
            int n = 0;
            for (const BarGroup& o : d_.bars)
              if (o.face == g.face && covers(d_, o, st[i].x)) {
                width += (o.count - o.inner) * o.diameter;
                n += o.count - o.inner;
                largest = std::max(largest, o.diameter);
              }
            width += (n - 1) * std::max({largest, d_.data.aggregate + 5, 20.0}) + (g.count - g.inner) * g.diameter;
            EXPECT_LE(width, inside + 1e-6) << at(st[i].x) << " lap of mark " << g.mark;
          }
        }
        const double alpha6 = std::clamp(std::sqrt(share * 100 / 25), 1.0, 1.5);
        const double fbd = 2.25 * (g.face == kTop && d_.h > 250 ? 0.7 : 1.0) * s_.fctd;
        const double basic = g.diameter / 4 * stress / fbd;
        EXPECT_GE(to - from, std::max({alpha6 * basic, 15 * g.diameter, 200.0}) - 1e-6)
            << at(to) << " lap of mark " << g.mark;
      }
    }
  }

  // The service combinations in their order (psi2 <= psi1 <= 1), the
  // long-term line through every support, no span sagging less than one of
  // its stations.
  void service() {
    const double psi1 = d_.data.psi1, psi2 = d_.data.psi2, tolerance = 1e-9 * d_.h * d_.h * d_.h;
    for (const StationDesign& s : d_.stations) {
      // Superposition: G + psi (Mk - G), so (Mfr - Mqp) (1 - psi2) = (psi1 - psi2) (Mk - Mqp).
      EXPECT_NEAR((s.MfrMax - s.MqpMax) * (1 - psi2), (psi1 - psi2) * (s.MkMax - s.MqpMax), tolerance) << at(s.x);
      EXPECT_NEAR((s.MfrMin - s.MqpMin) * (1 - psi2), (psi1 - psi2) * (s.MkMin - s.MqpMin), tolerance) << at(s.x);
      EXPECT_GE(s.MkMax + 1e-6, s.MfrMax) << at(s.x);
      EXPECT_GE(s.MfrMax + 1e-6, s.MqpMax) << at(s.x);
      EXPECT_LE(s.MkMin - 1e-6, s.MfrMin) << at(s.x);
      EXPECT_LE(s.MfrMin - 1e-6, s.MqpMin) << at(s.x);
      EXPECT_GE(s.wkBottom, 0);
      EXPECT_GE(s.wkTop, 0);
      for (double support : d_.demand.supports) {
        if (std::fabs(s.x - support) < 1e-6) {
          EXPECT_NEAR(s.longTerm, 0, 1e-9) << at(s.x);
        }
      }
      EXPECT_GE(d_.service.spans[s.span].longTerm + 1e-9, -s.longTerm) << at(s.x);
    }
    cracksChecked();
    const std::vector<DemandSpan>& spans = d_.demand.spans;
    for (size_t k = 0; k < spans.size(); ++k)
      EXPECT_NEAR(d_.service.spans[k].limit, (spans[k].end - spans[k].start) / 250, 1e-9) << "span " << k + 1;
  }

  // 7.3.4: both faces at every support and at each span's largest
  // quasi-permanent sagging moment, under the quasi-permanent moment that
  // puts each face in tension; no width below the cracking moment.
  void cracksChecked() {
    const std::vector<Station>& st = d_.demand.stations;
    std::vector<std::pair<double, bool>> places;
    for (double x : d_.demand.supports) places.push_back({x, true});
    for (const DemandSpan& span : d_.demand.spans) {
      if (span.overhang) continue;
      double most = -HUGE_VAL;
      for (int i = span.firstStation; i <= span.lastStation; ++i) most = std::max(most, st[i].MqpMax);
      int i = span.firstStation;
      while (st[i].MqpMax < most) ++i;
      places.push_back({st[i].x, false});
    }
    for (const auto& [x, support] : places)
      for (int face : {kBottom, kTop}) {
        const CrackCheck* found = nullptr;
        for (const CrackCheck& c : d_.service.cracks)
          if (std::fabs(c.x - x) < 1e-6 && c.face == face && c.support == support) found = &c;
        ASSERT_NE(found, nullptr) << at(x) << (face == kBottom ? " bottom" : " top");
        const StationDesign& s = d_.stations[stationNear(x)];
        EXPECT_NEAR(found->M, std::max(0.0, face == kBottom ? s.MqpMax : -s.MqpMin), 1e-6) << at(x);
        EXPECT_EQ(found->cracked, found->M > found->Mcr) << at(x);
        if (!found->cracked) {
          EXPECT_EQ(found->width.wk, 0) << at(x);
        }
      }
  }

  size_t stationNear(double x) const {
    const std::vector<StationDesign>& st = d_.stations;
    size_t best = 0;
    for (size_t i = 0; i < st.size(); ++i)
      if (std::fabs(st[i].x - x) < std::fabs(st[best].x - x)) best = i;
    return best;
  }

  const Case& c_;
  const Design& d_;
  Strengths s_;
};

// A random continuous beam: 1 to 4 spans of 3 to 8 m, overhangs, springs,
// point loads, sections of 250 to 400 x 400 to 800 mm.
TestBeam randomBeam(std::mt19937& random) {
  auto uniform = [&](double a, double b) { return std::uniform_real_distribution<double>(a, b)(random); };
  TestBeam beam;
  beam.bars.clear();
  beam.overhangLeft = uniform(0, 1) < 0.3;
  beam.overhangRight = uniform(0, 1) < 0.3;
  const int spans = 1 + static_cast<int>(uniform(0, 4));
  if (beam.overhangLeft) beam.bars.push_back(std::round(uniform(1.0, 2.5) * 20) / 20);
  for (int k = 0; k < spans; ++k) beam.bars.push_back(std::round(uniform(3.0, 8.0) * 20) / 20);
  if (beam.overhangRight) beam.bars.push_back(std::round(uniform(1.0, 2.5) * 20) / 20);
  for (int s = 1; s <= spans; ++s)
    if (uniform(0, 1) < 0.25) beam.springs.push_back(s);
  beam.ky = uniform(2e4, 2e5);
  beam.b = std::round(uniform(0.25, 0.40) * 20) / 20;
  beam.h = std::round(uniform(0.40, 0.80) * 20) / 20;
  beam.g = uniform(10, 35) * beam.h / 0.6;
  beam.q = uniform(5, 25) * beam.h / 0.6;
  const int points = static_cast<int>(uniform(0, 3));
  for (int k = 0; k < points; ++k) {
    PointLoad p;
    p.bar = 1 + static_cast<int>(uniform(0, static_cast<double>(beam.bars.size())));
    p.a = std::round(uniform(0.1, 0.9) * beam.bars[p.bar - 1] * 20) / 20;
    p.P = uniform(20, 100) * beam.h / 0.6;
    p.variable = uniform(0, 1) < 0.5;
    beam.points.push_back(p);
  }
  return beam;
}

std::vector<double> pointLoadsOf(const TestBeam& beam) {
  std::vector<double> at;
  for (const PointLoad& p : beam.points) {
    double x = p.a;
    for (int k = 1; k < p.bar; ++k) x += beam.bars[k - 1];
    at.push_back(x * 1000);
  }
  return at;
}

TEST(Proof, EveryBarOfTwentyFourRandomBeamsHolds) {
  std::mt19937 random(41);
  int designed = 0;
  std::string refused;
  for (int n = 0; n < 30; ++n) {
    const TestBeam beam = randomBeam(random);
    testsupport::ScratchDir dir;
    Case c{common::formatText("viga %d", n), {}, pointLoadsOf(beam)};
    try {
      c.design = testing::designTestBeam(dir, beam);
    } catch (const common::RunError& e) {
      refused += c.name + ": " + e.text;
      continue;
    }
    ++designed;
    Proof(c).all();
  }
  EXPECT_GE(designed, 24) << refused;
}

// Short heavy spans: the strut takes cot theta below 2.5, point loads sit
// near the supports (no reduction of the shear there).
TEST(Proof, EveryBarOfAShortHeavilyLoadedBeamHolds) {
  TestBeam beam;
  beam.bars = {2.5, 2.5, 1.2};
  beam.overhangRight = true;
  beam.g = 150;
  beam.q = 100;
  beam.points = {{1, 0.4, 120, false}, {2, 2.2, 80, true}, {3, 1.1, 60, true}};
  DesignData data;
  data.stirrupDiameter = 10;
  data.legs = 4;
  data.psi1 = 0.7;
  data.psi2 = 0.6;
  testsupport::ScratchDir dir;
  Case c{"corta", testing::designTestBeam(dir, beam, data), pointLoadsOf(beam)};
  double smallest = 2.5;
  for (const StationDesign& s : c.design.stations) smallest = std::min(smallest, s.cotTheta);
  EXPECT_LT(smallest, 2.0);
  Proof(c).all();
}

TEST(Proof, EveryBarOfTheBundledExampleHolds) {
  for (const char* concrete : {"HA-25", "HA-35"}) {
    BeamInput beam;
    beam.model = projectfiles::readModel(EXAMPLES_DIR "/viga3.dat", EXAMPLES_DIR "/viga3.caf");
    beam.variable = projectfiles::readLoadsFile(EXAMPLES_DIR "/viga3q.caf", beam.model.bars);
    beam.spans = alternancias::spansOf(beam.model, "viga3.dat");
    DesignData data;
    data.concrete = *concreteNamed(concrete);
    Case c{std::string("viga3 ") + concrete,
           designBeam(beamDemand(beam, data.factors, data.shares(), "viga3.dat"), data),
           {}};
    for (const auto* loads : {&beam.model.loads, &beam.variable})
      for (const calcest::LoadOnBar& l : *loads)
        if (l.load.ltype == 1) c.pointLoads.push_back((beam.model.nodes[l.bar].x + l.load.a) * 1000);
    Proof(c).all();
  }
}

}  // namespace
}  // namespace armado
