// The long-term deflection of the designed beam against closed forms: an
// uncracked beam is the elastic one with Ec,eff and the uncracked section's
// I; a beam cracked throughout is 5 M L^2 / 48 / (Ec,eff I_II); halving the
// stations' spacing leaves it as it was.
#include <gtest/gtest.h>

#include <cmath>

#include "armado/deflection.h"
#include "armado/service.h"
#include "armado/serviceability.h"
#include "armado/tests/test_beams.h"

namespace armado {
namespace {

using testing::TestBeam;

constexpr double kEs = 200000;

double ecm(double fck) { return 22000 * std::pow((fck + 8) / 10, 0.3); }

// The station nearest x.
const StationDesign& stationAt(const Design& d, double x) {
  const StationDesign* best = &d.stations.front();
  for (const StationDesign& s : d.stations)
    if (std::fabs(s.x - x) < std::fabs(best->x - x)) best = &s;
  return *best;
}

// The design's continuous bars, the only ones of a lightly loaded span, as
// area and depth below the top.
struct Bars {
  double bottom = 0, dBottom = 0, top = 0, dTop = 0;
};
Bars continuousBars(const Design& d) {
  Bars bars;
  for (const BarGroup& g : d.bars) {
    EXPECT_TRUE(g.continuous) << "mark " << g.mark;
    const double area = g.count * M_PI * g.diameter * g.diameter / 4;
    (g.face == kBottom ? bars.bottom : bars.top) = area;
    (g.face == kBottom ? bars.dBottom : bars.dTop) = g.face == kBottom ? d.h - g.depth : g.depth;
  }
  return bars;
}

// I_I of the 300 x 600 section with its continuous bars at alpha.
double uncrackedInertia(const Bars& bars, double alpha) {
  const double b = 300, h = 600;
  const double A = b * h + (alpha - 1) * (bars.bottom + bars.top);
  const double x = (b * h * h / 2 + (alpha - 1) * (bars.bottom * bars.dBottom + bars.top * bars.dTop)) / A;
  return b * h * h * h / 12 + b * h * (x - h / 2) * (x - h / 2) +
         (alpha - 1) * (bars.bottom * std::pow(bars.dBottom - x, 2) + bars.top * std::pow(bars.dTop - x, 2));
}

// A simply supported span of 6 m, 300 x 600, its own weight of 2 kN/m and
// no variable load: far below cracking.
struct LightBeam : ::testing::Test {
  TestBeam beam;
  DesignData data;
  testsupport::ScratchDir dir;
  LightBeam() {
    beam.g = 2;
    beam.q = 0;
    beam.E = ecm(25) * 1000;  // kPa: the model's E is Ecm
    data.creep = 2.0;
    data.shrinkage = 0.0;
  }
};

// Uncracked: 5 w L^4 / (384 Ec,eff I_I) = the elastic deflection of the
// gross section with Ecm, times Ecm / Ec,eff and I_gross / I_I (I_I with the
// bars at alpha_e = Es / Ec,eff).
TEST_F(LightBeam, UncrackedLongTermDeflectionIsTheElasticOneWithEcEffAndTheBars) {
  const Design d = testing::designTestBeam(dir, beam, data);
  const Bars bars = continuousBars(d);
  const double EcEff = ecm(25) / 3, b = 300, h = 600;
  const double II = uncrackedInertia(bars, kEs / EcEff);
  const double elastic = -stationAt(d, 3000).elastic;
  EXPECT_NEAR(elastic / (5 * 2.0 * std::pow(6000, 4) / (384 * ecm(25) * b * h * h * h / 12)), 1, 1e-6);
  ASSERT_EQ(d.service.spans.size(), 1u);
  const double longTerm = d.service.spans[0].longTerm;
  EXPECT_NEAR(longTerm / (elastic * ecm(25) / EcEff * (b * h * h * h / 12) / II), 1, 1e-6);
  EXPECT_NEAR(d.service.spans[0].at, 3000, 1e-6);
  EXPECT_EQ(stationAt(d, 3000).wkBottom, 0);
}

// Finishes laid at 90 days: the part after them is the final deflection
// less the permanent load's at 90 days, when creep has reached phi(90, 28) =
// 2.0 phi_B(90) / phi_B(inf), each the elastic one with Ec,eff and I_I then;
// its limit L/500.
TEST_F(LightBeam, PartAfterTheFinishesIsTheFinalLessTheOneThen) {
  data.finishesAge = 90;
  const Design d = testing::designTestBeam(dir, beam, data);
  const Bars bars = continuousBars(d);
  const Exposure e{50, notionalSize(300, 600), 28, 'N'};
  const double phi90 = 2.0 * creepCoefficient(25, e, 90) / creepCoefficient(25, e, HUGE_VAL);
  ASSERT_GT(phi90, 0.5);
  ASSERT_LT(phi90, 1.5);
  const double Ig = 300.0 * 600 * 600 * 600 / 12, elastic = -stationAt(d, 3000).elastic;
  auto longTerm = [&](double phi) {
    return elastic * (1 + phi) * Ig / uncrackedInertia(bars, kEs * (1 + phi) / ecm(25));
  };
  ASSERT_EQ(d.service.spans.size(), 1u);
  const SpanService& span = d.service.spans[0];
  EXPECT_NEAR(span.longTerm / longTerm(2.0), 1, 1e-6);
  EXPECT_NEAR(span.afterFinishes / (longTerm(2.0) - longTerm(phi90)), 1, 1e-6);
  EXPECT_NEAR(span.afterAt, 3000, 1e-6);
  EXPECT_NEAR(span.limit, 6000.0 / 250, 1e-12);
  EXPECT_NEAR(span.afterLimit, 6000.0 / 500, 1e-12);
  // The values given are the ones used: phi, and no shrinkage at any age.
  EXPECT_NEAR(d.service.phi, 2.0, 1e-12);
  EXPECT_NEAR(d.service.phiFinishes, phi90, 1e-12);
  EXPECT_EQ(d.service.epsCs, 0);
  EXPECT_EQ(d.service.epsCsFinishes, 0);
}

// Cracked throughout (zeta = 1): 5 M L^2 / 48 / (Ec,eff I_II), I_II of the
// doubly reinforced section from the quadratic.
TEST_F(LightBeam, FullyCrackedLimitIsTheClosedForm) {
  const Design d = testing::designTestBeam(dir, beam, data);
  const Bars bars = continuousBars(d);
  const double EcEff = ecm(25) / 3, alpha = kEs / EcEff, b = 300;
  const double B = (alpha - 1) * bars.top + alpha * bars.bottom;
  const double C = (alpha - 1) * bars.top * bars.dTop + alpha * bars.bottom * bars.dBottom;
  const double x = (-B + std::sqrt(B * B + 2 * b * C)) / b;
  const double III = b * x * x * x / 3 + (alpha - 1) * bars.top * std::pow(x - bars.dTop, 2) +
                     alpha * bars.bottom * std::pow(bars.dBottom - x, 2);
  LongTermState cracked;
  cracked.EcEff = EcEff;
  cracked.alwaysCracked = true;
  const double M = 2.0 * 6000 * 6000 / 8;
  const DeflectionLine line = deflectionLine(d, d.demand, cracked);
  EXPECT_NEAR(line.spans[0].sag / (5 * M * 6000 * 6000 / 48 / (EcEff * III)), 1, 1e-6);
  EXPECT_NEAR(line.curvature[10], M / (EcEff * III), 1e-9 * M / (EcEff * III));
}

// Over the middle support of two spans under 20 kN/m, cracked throughout,
// the hogging curvature M / (Ec,eff I_II) less the shrinkage's eps_cs alpha
// S / I_II (7.21), both of the section turned over: every top bar there in
// tension, every bottom one compressed, depths from the bottom face.
TEST_F(LightBeam, HoggingCrackedCurvatureWithShrinkageIsTheClosedForm) {
  beam.bars = {6.0, 6.0};
  beam.g = 20;
  const Design d = testing::designTestBeam(dir, beam, data);
  const double EcEff = ecm(25) / 3, alpha = kEs / EcEff, b = 300, h = 600, epsCs = 400e-6;
  struct Layer {
    double area, depth, n;
  };
  std::vector<Layer> layers;
  double B = 0, C = 0;
  for (const BarGroup& g : d.bars) {
    if (g.start > 6000 || g.end < 6000) continue;
    const double bar = M_PI * g.diameter * g.diameter / 4, n = g.face == kTop ? alpha : alpha - 1;
    auto depth = [&](double fromFace) { return g.face == kTop ? h - fromFace : fromFace; };
    for (const Layer& l :
         {Layer{(g.count - g.inner) * bar, depth(g.depth), n}, Layer{g.inner * bar, depth(g.innerDepth), n}}) {
      layers.push_back(l);
      B += l.n * l.area;
      C += l.n * l.area * l.depth;
    }
  }
  const double x = (-B + std::sqrt(B * B + 2 * b * C)) / b;
  double III = b * x * x * x / 3, S = 0, top = 0, bottom = 0;
  for (const Layer& l : layers) {
    if (l.area > 0) {
      ASSERT_EQ(l.depth > x, l.n == alpha) << "a layer on the wrong side of x = " << x;
    }
    III += l.n * l.area * (l.depth - x) * (l.depth - x);
    S += l.area * (l.depth - x);
    (l.n == alpha ? top : bottom) += l.area;
  }
  ASSERT_GT(top, bottom * 1.2);  // the faces differ: the sagging section is another
  LongTermState cracked;
  cracked.EcEff = EcEff;
  cracked.epsCs = epsCs;
  cracked.alwaysCracked = true;
  const DeflectionLine line = deflectionLine(d, d.demand, cracked);
  size_t support = 0;
  while (std::fabs(d.demand.stations[support].x - 6000) > 1e-6) ++support;
  const double M = d.demand.stations[support].MqpMax;
  EXPECT_LT(M, -0.9 * 20 * 6000 * 6000 / 8);
  const double expected = M / (EcEff * III) - epsCs * alpha * S / III;
  EXPECT_NEAR(line.curvature[support], expected, 1e-6 * std::fabs(expected));
}

// Two spans and an overhang with point loads between the stations: the
// same beam modelled with twice the bars (stations at half the spacing)
// deflects, with the same bars, within 0.5 % of it.
TEST(LongTermDeflection, HalvingTheStationSpacingChangesItByLessThanHalfAPercent) {
  TestBeam beam;
  beam.bars = {5.3, 7.1, 2.4};
  beam.overhangRight = true;
  beam.g = 25;
  beam.q = 12;
  beam.points = {{1, 1.93, 40, false}, {2, 4.46, 60, true}, {3, 2.07, 45, false}};
  testsupport::ScratchDir dir;
  const Design design = testing::designTestBeam(dir, beam);
  TestBeam finer = beam;
  finer.divisions = 2;
  const BeamDemand demand = beamDemand(testing::readTestBeam(dir, finer, "fina"), {}, {}, "fina.dat");
  ASSERT_EQ(demand.stations.size(), 2 * design.demand.stations.size() - 1);
  const DeflectionLine coarse = deflectionLine(design, design.demand, finalState(design));
  const DeflectionLine fine = deflectionLine(design, demand, finalState(design));
  ASSERT_EQ(coarse.spans.size(), 3u);
  for (size_t s = 0; s < coarse.spans.size(); ++s) {
    EXPECT_GT(coarse.spans[s].sag, 1) << "span " << s + 1;
    EXPECT_NEAR(fine.spans[s].sag / coarse.spans[s].sag, 1, 0.005) << "span " << s + 1;
  }
}

}  // namespace
}  // namespace armado
