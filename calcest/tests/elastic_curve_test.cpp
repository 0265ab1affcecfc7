// The bar's true line: deflections against closed-form beam theory, diagrams
// against the engine's stations, and a haunched bar against the same bar cut
// into many bars and solved by the engine.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iterator>
#include <string>
#include <vector>

#include "common/bar_record_layout.h"
#include "calcest/tests/beam_models.h"
#include "calcest/elastic_curve.h"
#include "calcest/tests/sample_bar.h"

using namespace common;

using namespace calcest;

namespace {

std::vector<BarLoad> loadsOf(const std::vector<BarLoad>& all, int bar) {
  std::vector<BarLoad> mine;
  std::copy_if(all.begin(), all.end(), std::back_inserter(mine), [bar](const BarLoad& l) { return l.barLabel == bar; });
  return mine;
}

std::string loadsText(const std::vector<BarLoad>& loads) {
  std::string text;
  for (const BarLoad& l : loads) {
    char line[200];
    std::snprintf(line, sizeof line, "%d %d %.17g %.17g %.17g %.17g %c\n", l.barLabel, l.ltype, l.a, l.c, l.b, l.q,
                  l.dir);
    text += line;
  }
  return text;
}

// A bar as the engine left it in the bar record file: what the line needs of
// its input, its end displacements and end forces in local axes, and its
// diagrams at the stations. The end stations hold the end forces with the
// diagram signs (M -f3, f6; V f2, -f5; N -f1, f4; V and N negated on a bar
// drawn right to left); the end displacements are those of the end stations,
// true of every bar type but the transverse releases 7 and 8.
struct EngineBar {
  BarInput input;
  Vec6 ends{}, forces{};
  double M[kStations], V[kStations], N[kStations];
};

EngineBar engineBar(const std::string& records, int index) {
  namespace at = barrecord;
  const beams::RecordBytes r(records, index);
  EngineBar e;
  BarInput& b = e.input;
  b.index = index;
  b.label = r.integer(at::label);
  b.type = r.integer(at::type);
  b.shear = r.integer(at::shear);
  b.orient = r.integer(at::orient);
  double* reals[] = {&b.aclx, &b.adlx, &b.ablx, &b.taper, &b.E,   &b.G, &b.A,
                     &b.I,    &b.w,    &b.L,    &b.cos,   &b.sin, &b.h, &b.alpha};
  const size_t offsets[] = {at::aclx, at::adlx, at::ablx, at::taper, at::E,   at::G, at::A,
                            at::I,    at::w,    at::L,    at::cos,   at::sin, at::h, at::alpha};
  for (size_t k = 0; k < std::size(offsets); ++k) *reals[k] = r.real(offsets[k]);
  auto station = [&r](size_t array, int k) { return r.real(array + 8 * static_cast<size_t>(k)); };
  for (int k = 0; k < kStations; ++k) {
    b.xs[k] = station(at::xs, k);
    e.M[k] = station(at::M, k), e.V[k] = station(at::V, k), e.N[k] = station(at::N, k);
  }
  const int last = kStations - 1;
  e.ends = {0,
            station(at::defx, 0),
            station(at::defy, 0),
            station(at::giro, 0),
            station(at::defx, last),
            station(at::defy, last),
            station(at::giro, last)};
  const double sign = b.orient == kInclinedLeft ? -1.0 : 1.0;
  e.forces = {0, -sign * e.N[0], sign * e.V[0], -e.M[0], sign * e.N[last], -sign * e.V[last], e.M[last]};
  return e;
}

ElasticCurve curveOf(const EngineBar& e, const std::vector<BarLoad>& loads, bool selfWeight = false) {
  return ElasticCurve(e.input, loadsOf(loads, e.input.label), selfWeight, e.ends, e.forces);
}

// Runs the engine on a model and its loads; the bar record file's bytes.
std::string solvedRecords(const beams::Model& model, const std::vector<BarLoad>& loads) {
  testsupport::ScratchDir dir;
  const auto run = beams::runCalcest(dir, model, loadsText(loads));
  EXPECT_EQ(run.status, 0) << run.output;
  return run.status == 0 ? dir.read("m.bar") : std::string();
}

// --------------------------------------------------------------- closed forms

// Sample bar: E.I = 6, G.A = 5. Loads down: w per metre, a force P, a couple C,
// and a temperature difference T giving the free curvature alpha.T/h = kKappa.
constexpr double kEI = 6.0, kGA = 5.0;
constexpr double kL = 7.0, kW = 10.0, kP = 12.0, kC = 9.0;
constexpr double kT = 20.0, kAlpha = 1e-5, kDepth = 0.5, kKappa = kAlpha * kT / kDepth;
constexpr double kPointAt = 3.0, kRest = kL - kPointAt;        // point force and couple
constexpr double kShort = 1.0;                                 // the deep cantilever
constexpr double kZoned = 10.0, kZone = 2.0, kFlexible = 6.0;  // zones at both ends

double cube(double x) { return x * x * x; }
double pow4(double x) { return x * x * x * x; }

struct LineCase {
  const char* what;
  int type;
  double length;
  int shear;
  double zone;  // rigid zone at each end, as a fraction of the length
  std::vector<BarLoad> loads;
  Vec6 ends, forces;         // closed-form end displacements and end forces
  double (*line)(double x);  // closed-form deflection
};

void PrintTo(const LineCase& c, std::ostream* out) { *out << c.what; }

double zonedCantilever(double x) {
  auto flexible = [](double s) { return -kP / kEI * (s * s * (3 * kFlexible - s) / 6 + kZone * s * s / 2); };
  if (x < kZone) return 0.0;
  if (x <= kZoned - kZone) return flexible(x - kZone);
  const double tipRotation = -kP / kEI * (kFlexible * kFlexible / 2 + kZone * kFlexible);
  return flexible(kFlexible) + tipRotation * (x - (kZoned - kZone));
}

double deepCantilever(double x) {
  const double bending =
      kP * x * x * (3 * kShort - x) / 6 + kW * x * x * (6 * kShort * kShort - 4 * kShort * x + x * x) / 24;
  return -bending / kEI - (kP * x + kW * (kShort * x - x * x / 2)) / kGA;
}

// The couple C on a simple span: M = -C x / L, plus C right of it.
double coupleLine(double x) {
  const double right = x > kPointAt ? (x - kPointAt) * (x - kPointAt) / 2 : 0.0;
  return kC / kEI * (-cube(x) / (6 * kL) + right + (kL / 6 - kRest * kRest / (2 * kL)) * x);
}

const LineCase kLineCases[] = {
    {"simple span, uniform",
     1,
     kL,
     0,
     0,
     {loadOn(1, 3, 0, kL, 0, -kW)},
     {0, 0, 0, -kW* cube(kL) / (24 * kEI), 0, 0, kW* cube(kL) / (24 * kEI)},
     {0, 0, kW* kL / 2, 0, 0, kW* kL / 2, 0},
     [](double x) { return -kW * x * (cube(kL) - 2 * kL * x * x + cube(x)) / (24 * kEI); }},
    {"fixed span, uniform",
     1,
     kL,
     0,
     0,
     {loadOn(1, 3, 0, kL, 0, -kW)},
     {},
     {0, 0, kW* kL / 2, kW* kL* kL / 12, 0, kW* kL / 2, -kW* kL* kL / 12},
     [](double x) { return -kW * x * x * (kL - x) * (kL - x) / (24 * kEI); }},
    {"simple span, triangle rising to J",
     1,
     kL,
     0,
     0,
     {loadOn(1, 4, 0, kL, 0, -kW)},
     {0, 0, 0, -7 * kW* cube(kL) / (360 * kEI), 0, 0, 8 * kW* cube(kL) / (360 * kEI)},
     {0, 0, kW* kL / 6, 0, 0, kW* kL / 3, 0},
     [](double x) { return -kW * x * (7 * pow4(kL) - 10 * kL * kL * x * x + 3 * pow4(x)) / (360 * kEI * kL); }},
    {"simple span, point force",
     1,
     kL,
     0,
     0,
     {loadOn(1, 1, kPointAt, kRest, 0, -kP)},
     {0, 0, 0, -kP* kPointAt* kRest*(kL + kRest) / (6 * kEI * kL), 0, 0,
      kP* kPointAt* kRest*(kL + kPointAt) / (6 * kEI * kL)},
     {0, 0, kP* kRest / kL, 0, 0, kP* kPointAt / kL, 0},
     [](double x) {
       if (x <= kPointAt) return -kP * kRest * x * (kL * kL - kRest * kRest - x * x) / (6 * kEI * kL);
       const double u = kL - x;
       return -kP * kPointAt * u * (kL * kL - kPointAt * kPointAt - u * u) / (6 * kEI * kL);
     }},
    {"simple span, couple",
     1,
     kL,
     0,
     0,
     {loadOn(1, 2, kPointAt, kRest, 0, kC)},
     {0, 0, 0, kC / kEI*(kL / 6 - kRest * kRest / (2 * kL)), 0, 0,
      kC / kEI*(-kL / 3 + kRest - kRest * kRest / (2 * kL))},
     {0, 0, -kC / kL, 0, 0, kC / kL, 0},
     coupleLine},
    {"cantilever, tip force",
     1,
     kL,
     0,
     0,
     {},
     {0, 0, 0, 0, 0, -kP* cube(kL) / (3 * kEI), -kP* kL* kL / (2 * kEI)},
     {0, 0, kP, kP* kL, 0, -kP, 0},
     [](double x) { return -kP * x * x * (3 * kL - x) / (6 * kEI); }},
    {"cantilever, uniform",
     1,
     kL,
     0,
     0,
     {loadOn(1, 3, 0, kL, 0, -kW)},
     {0, 0, 0, 0, 0, -kW* pow4(kL) / (8 * kEI), -kW* cube(kL) / (6 * kEI)},
     {0, 0, kW* kL, kW* kL* kL / 2, 0, 0, 0},
     [](double x) { return -kW * x * x * (6 * kL * kL - 4 * kL * x + x * x) / (24 * kEI); }},
    // Tip PL^3/3EI + PL/kGA + wL^4/8EI + wL^2/2GA; under the force alone the shear
    // strain is constant and the line would not tell its sign.
    {"short deep cantilever, tip force and uniform, shear strain",
     1,
     kShort,
     1,
     0,
     {loadOn(1, 3, 0, kShort, 0, -kW)},
     {0, 0, 0, 0, 0, deepCantilever(kShort), -kP* kShort* kShort / (2 * kEI) - kW* cube(kShort) / (6 * kEI)},
     {0, 0, kP + kW* kShort, kP* kShort + kW* kShort* kShort / 2, 0, -kP, 0},
     deepCantilever},
    {"fixed span, temperature",
     1,
     kL,
     0,
     0,
     {loadOn(1, 6, 0, 0, 0, kT)},
     {},
     {0, 0, 0, kEI* kKappa, 0, 0, -kEI* kKappa},
     [](double) { return 0.0; }},
    {"simple span, temperature",
     1,
     kL,
     0,
     0,
     {loadOn(1, 6, 0, 0, 0, kT)},
     {0, 0, 0, -kKappa* kL / 2, 0, 0, kKappa* kL / 2},
     {},
     [](double x) { return -kKappa * x * (kL - x) / 2; }},
    {"cantilever with rigid end zones, tip force",
     1,
     kZoned,
     0,
     kZone / kZoned,
     {},
     {0, 0, 0, 0, 0, zonedCantilever(kZoned), -kP / kEI*(kFlexible* kFlexible / 2 + kZone * kFlexible)},
     {0, 0, kP, kP* kZoned, 0, -kP, 0},
     zonedCantilever},
    {"guided at J, uniform",
     8,
     kL,
     0,
     0,
     {loadOn(1, 3, 0, kL, 0, -kW)},
     {},
     {0, 0, kW* kL, kW* kL* kL / 3, 0, 0, kW* kL* kL / 6},
     [](double x) { return -kW * x * x * (2 * kL - x) * (2 * kL - x) / (24 * kEI); }},
    {"guided at I, uniform",
     7,
     kL,
     0,
     0,
     {loadOn(1, 3, 0, kL, 0, -kW)},
     {},
     {0, 0, 0, -kW* kL* kL / 6, 0, kW* kL, -kW* kL* kL / 3},
     [](double x) { return -kW * (kL - x) * (kL - x) * (kL + x) * (kL + x) / (24 * kEI); }},
};

class ClosedFormLine : public ::testing::TestWithParam<LineCase> {};

// The case's bar with its closed-form end values.
ElasticCurve lineOf(const LineCase& c) {
  Bar bar = sampleBar(c.type, c.length);
  bar.shear = c.shear;
  bar.adlx = bar.ablx = c.zone;
  bar.aclx = 1 - 2 * c.zone;
  bar.alpha = kAlpha;
  bar.h = kDepth;
  return ElasticCurve(bar, c.loads, false, c.ends, c.forces);
}

// The deflection along the bar, and its slope against the closed form's.
TEST_P(ClosedFormLine, FollowsBeamTheory) {
  const LineCase& c = GetParam();
  const ElasticCurve curve = lineOf(c);
  double scale = c.length * c.length * (std::fabs(c.forces[3]) + std::fabs(c.forces[6])) / kEI;
  for (int k = 0; k <= 40; ++k) scale = std::max(scale, std::fabs(c.line(c.length * k / 40)));
  for (int k = 0; k <= 40; ++k) {
    const double x = c.length * k / 40;
    EXPECT_NEAR(curve.deflection(x), c.line(x), 1e-9 * scale) << "x = " << x;
  }
  // Central differences, off the abscissae where the curvature jumps.
  const double step = 1e-4 * c.length;
  for (double at : {0.0, 0.09, 0.23, 0.37, 0.51, 0.64, 0.78, 0.93, 1.0}) {
    const double x = c.length * at, slope = (c.line(x + step) - c.line(x - step)) / (2 * step);
    EXPECT_NEAR(curve.rotation(x), slope, 1e-7 * scale / c.length) << "slope at x = " << x;
  }
}

// The polynomial pieces the true extremes are found on are the line itself:
// moment and deflection inside every piece, and the moment both sides of
// every piece's ends.
TEST_P(ClosedFormLine, PiecesAreTheLine) {
  const LineCase& c = GetParam();
  const ElasticCurve curve = lineOf(c);
  for (const ElasticCurve::Piece& piece : curve.pieces())
    for (int k = 0; k <= 8; ++k) {
      const double t = (piece.to - piece.from) * k / 8, x = piece.from + t;
      double m = 0, v = 0, power = 1;
      for (size_t p = 0; p < 6; ++p, power *= t) {
        if (p < 4) m += piece.moment[p] * power;
        v += piece.deflection[p] * power;
      }
      const bool right = k < 8;  // the piece's own side of its ends
      EXPECT_NEAR(m, curve.moment(x, right), 1e-9 * (1 + std::fabs(m))) << "x = " << x;
      EXPECT_NEAR(v, curve.deflection(x), 1e-9 * (1 + std::fabs(v))) << "x = " << x;
    }
}

INSTANTIATE_TEST_SUITE_P(Bars, ClosedFormLine, ::testing::ValuesIn(kLineCases));

// ------------------------------------------------------------ engine runs

// Supports are penalty springs: a held node still moves by its reaction over
// the penalty, some 1e-6 of the deflections here.
constexpr double kPenalty = 1e-5;

// A bar fixed at node 1 and a span resting on a roller at node 3, joined by a
// hinge at node 2: the end of the first bar (type 3) or the start of the
// second (type 2). The span hangs on the cantilever's tip with wL2/2.
struct HingeCase {
  int firstType, secondType;
};

class HingedBeam : public ::testing::TestWithParam<HingeCase> {};

TEST_P(HingedBeam, BothBarsFollowTheCantileverAndTheHangingSpan) {
  const double L1 = 4.0, L2 = 5.0, q = 3.0, stiffness = 1000.0;  // straightBeam: E.I = 1000
  beams::Model m = beams::straightBeam({0.0, L1, L1 + L2});
  m.bars = {beams::bar(1, 1, 2, GetParam().firstType), beams::bar(2, 2, 3, GetParam().secondType)};
  m.supports = {"1  111 0.0 0.0 0.0", "3  10 0.0"};
  const std::vector<BarLoad> loads = {loadOn(1, 3, 0, L1, 0, -q), loadOn(2, 3, 0, L2, 0, -q)};
  const std::string records = solvedRecords(m, loads);
  ASSERT_FALSE(records.empty());
  const double R = q * L2 / 2;
  auto cantilever = [&](double x) {
    return -(q * x * x * (6 * L1 * L1 - 4 * L1 * x + x * x) / 24 + R * x * x * (3 * L1 - x) / 6) / stiffness;
  };
  const double tip = cantilever(L1);
  auto span = [&](double x) {
    return tip * (1 - x / L2) - q * x * (cube(L2) - 2 * L2 * x * x + cube(x)) / (24 * stiffness);
  };
  const ElasticCurve first = curveOf(engineBar(records, 1), loads), second = curveOf(engineBar(records, 2), loads);
  for (int k = 0; k <= 20; ++k) {
    const double x1 = L1 * k / 20, x2 = L2 * k / 20;
    EXPECT_NEAR(first.deflection(x1), cantilever(x1), kPenalty * std::fabs(tip)) << "first bar at " << x1;
    EXPECT_NEAR(second.deflection(x2), span(x2), kPenalty * std::fabs(tip)) << "second bar at " << x2;
  }
}

INSTANTIATE_TEST_SUITE_P(HingeSides, HingedBeam, ::testing::Values(HingeCase{3, 1}, HingeCase{1, 2}));

// The bar from (0, 0) to (4, 3) drawn either way (5 long, cos 0.8 in the
// drawing), pinned at both ends, under every kind of load and its own weight.
// A vertical force P at mid-span and a couple C at a quarter of the span, both
// on stations.
class LoadedInclinedBar : public ::testing::TestWithParam<int> {};

TEST_P(LoadedInclinedBar, DiagramsMatchTheEngineStationsAndJumpAtPointActions) {
  const bool leftward = GetParam() == kInclinedLeft;
  beams::Model m = leftward ? beams::inclinedSpan(2, 1) : beams::inclinedSpan(1, 2);
  m.materials = {"1 1000.0 400.0 2.0 1e-5"};  // specific weight 2, alpha 1e-5
  m.selfWeight = 1;
  const double P = -8.0, C = 6.0;
  const std::vector<BarLoad> loads = {loadOn(1, 1, 2.0, 2.0, 0, P),      loadOn(1, 2, 1.25, 3.75, 0, C),
                                      loadOn(1, 3, 0, 4.0, 0, -3.0),     loadOn(1, 4, 0.6, 1.8, 0.6, 2.0, 'x'),
                                      loadOn(1, 5, 1.0, 2.0, 1.0, -4.0), loadOn(1, 6, 0, 0, 0, 15.0)};
  const std::string records = solvedRecords(m, loads);
  ASSERT_FALSE(records.empty());
  const EngineBar engine = engineBar(records, 1);
  ASSERT_EQ(engine.input.orient, GetParam());
  const ElasticCurve curve = curveOf(engine, loads, true);
  const double* xs = engine.input.xs;
  for (int k = 0; k < kStations; ++k) {
    EXPECT_NEAR(curve.moment(xs[k]), engine.M[k], 1e-12 * (1 + std::fabs(engine.M[k]))) << "station " << k;
    EXPECT_NEAR(curve.shear(xs[k]), engine.V[k], 1e-12 * (1 + std::fabs(engine.V[k]))) << "station " << k;
    EXPECT_NEAR(curve.axialForce(xs[k]), engine.N[k], 1e-12 * (1 + std::fabs(engine.N[k]))) << "station " << k;
  }
  // Right of the force the shear, as drawn, changes by its part across the bar;
  // right of the couple the moment changes by the couple.
  EXPECT_NEAR(curve.shear(xs[10], true) - curve.shear(xs[10]), 0.8 * P, 1e-12);
  EXPECT_NEAR(curve.moment(xs[5], true) - curve.moment(xs[5]), C, 1e-12);
}

INSTANTIATE_TEST_SUITE_P(Directions, LoadedInclinedBar, ::testing::Values(kInclinedRight, kInclinedLeft));

// A propped cantilever with a linear haunch, 6 long, under a uniform load, a
// triangle, a force at 2 and a couple at 4.5; then the same bar cut into
// twelve prismatic bars with the properties the engine gave the haunched one,
// its loads shared among them. The cut model's nodes lie on the line of the
// single bar.
TEST(HaunchedBar, LineMeetsTheNodesOfTheSameBarCutIntoTwelve) {
  const double L = 6.0, piece = 0.5, q = -4.0, peak = -6.0, P = -10.0, C = 7.0;
  const int pieces = 12;
  beams::Model whole = beams::straightBeam({0.0, L});
  whole.bars = {beams::bar(1, 1, 2, 1, "1.0 0.0 0.0 0 1.6")};
  whole.supports = {"1  111 0.0 0.0 0.0", "2  10 0.0"};
  const std::vector<BarLoad> loads = {loadOn(1, 3, 0, L, 0, q), loadOn(1, 4, 0, L, 0, peak),
                                      loadOn(1, 1, 2.0, L - 2.0, 0, P), loadOn(1, 2, 4.5, L - 4.5, 0, C)};
  const EngineBar haunched = engineBar(solvedRecords(whole, loads), 1);
  ASSERT_NE(haunched.input.I, 1.0);  // the engine's equivalent section
  const ElasticCurve curve = curveOf(haunched, loads);

  std::vector<double> xs;
  std::vector<BarLoad> cutLoads;
  for (int k = 0; k <= pieces; ++k) xs.push_back(piece * k);
  for (int k = 1; k <= pieces; ++k) {
    const double start = xs[k - 1];
    cutLoads.push_back(loadOn(k, 3, 0, piece, 0, q + peak * start / L));
    cutLoads.push_back(loadOn(k, 4, 0, piece, 0, peak * piece / L));
    if (start == 2.0) cutLoads.push_back(loadOn(k, 1, 0, piece, 0, P));
    if (start == 4.5) cutLoads.push_back(loadOn(k, 2, 0, piece, 0, C));
  }
  beams::Model cut = beams::straightBeam(xs, haunched.input.E, haunched.input.A, haunched.input.I);
  cut.supports = {"1  111 0.0 0.0 0.0", "13  10 0.0"};
  const std::string records = solvedRecords(cut, cutLoads);
  ASSERT_FALSE(records.empty());
  std::vector<double> deflections, rotations;  // of the cut model's nodes
  for (int k = 1; k <= pieces; ++k) {
    const EngineBar bar = engineBar(records, k);
    deflections.push_back(bar.ends[2]);
    rotations.push_back(bar.ends[3]);
    if (k == pieces) deflections.push_back(bar.ends[5]), rotations.push_back(bar.ends[6]);
  }
  auto largest = [](const std::vector<double>& v) {
    double most = 0;
    for (double value : v) most = std::max(most, std::fabs(value));
    return most;
  };
  for (int k = 0; k <= pieces; ++k) {
    EXPECT_NEAR(curve.deflection(xs[k]), deflections[k], kPenalty * largest(deflections)) << "node at " << xs[k];
    EXPECT_NEAR(curve.rotation(xs[k]), rotations[k], kPenalty * largest(rotations)) << "node at " << xs[k];
  }
}

// ------------------------------------------------------------ many loads

// The line is linear in the loads, the end displacements and the end forces:
// a bar under two hundred loads of every kind, among them short stretches and
// point actions a hair apart, is the bar under its end values alone plus the
// bar under each load alone (the cases the closed forms above check), at every
// abscissa, on both sides of every point action.
struct ManyLoadsCase {
  const char* what;
  int type, shear, orient;
  double zoneI, zoneJ;  // rigid end zones, as fractions of the length
};

void PrintTo(const ManyLoadsCase& c, std::ostream* out) { *out << c.what; }

std::vector<BarLoad> manyLoads(double length) {
  std::vector<BarLoad> loads;
  double lastPoint = length / 2;
  for (int k = 0; k < 200; ++k) {
    const int ltype = 1 + k % 6;
    const double q = (k % 7 - 3) * 1.5 + 0.25;
    // Places spread by the golden ratio, on the loads file's grid of 1e-5.
    double a = std::round(std::fmod(k * 0.6180339887, 1.0) * length * 1e5) / 1e5;
    if (ltype <= 2 && k % 5 == 0) a = lastPoint + (k % 10 == 0 ? 1e-13 : 1e-5);  // a hair apart, or a grid step
    if (ltype <= 2) lastPoint = a;
    const double c = k % 4 == 1 ? 1e-5 * (1 + k % 3) : (length - a) * (0.2 + 0.6 * std::fmod(k * 0.3819660113, 1.0));
    if (ltype <= 2)
      loads.push_back(loadOn(1, ltype, a, length - a, 0, q, k % 3 == 0 ? 'x' : 'y'));
    else if (ltype == 6)
      loads.push_back(loadOn(1, 6, 0, 0, 0, q));
    else
      loads.push_back(loadOn(1, ltype, a, c, length - a - c, q, k % 3 == 0 ? 'x' : 'y'));
  }
  return loads;
}

class ManyLoads : public ::testing::TestWithParam<ManyLoadsCase> {};

TEST_P(ManyLoads, AreTheSumOfEachLoadAlone) {
  const ManyLoadsCase& c = GetParam();
  const double length = 6.0;
  const bool inclined = c.orient != kHorizontal;
  Bar bar = sampleBar(c.type, length, inclined ? 0.8 : 1.0, inclined ? (c.orient == kInclinedLeft ? -0.6 : 0.6) : 0.0,
                      c.orient);
  bar.shear = c.shear;
  bar.adlx = c.zoneI;
  bar.ablx = c.zoneJ;
  bar.aclx = 1 - c.zoneI - c.zoneJ;
  bar.alpha = kAlpha;
  bar.h = kDepth;
  bar.w = 0.7;
  const Vec6 ends{0, 1e-3, -2e-2, 3e-3, -1e-3, -1e-2, -4e-3}, forces{0, 5, 30, 12, -5, 20, -9};
  // File distances on an inclined bar are projections: the loads are given so.
  std::vector<BarLoad> loads = manyLoads(length * (inclined ? 0.8 : 1.0));
  if (c.type >= 7)  // transverse releases take point forces and uniform loads only
    for (BarLoad& load : loads) load.ltype = load.ltype == 1 ? 1 : 3;
  const ElasticCurve all(bar, loads, true, ends, forces);
  std::vector<ElasticCurve> parts{ElasticCurve(bar, {}, false, ends, forces), ElasticCurve(bar, {}, true, {}, {})};
  std::vector<double> xs;
  for (int k = 0; k <= 120; ++k) xs.push_back(length * k / 120);
  for (const BarLoad& load : loads) {
    parts.push_back(ElasticCurve(bar, {load}, false, {}, {}));
    if (load.ltype <= 2)
      for (double d : {-1e-5, 0.0, 1e-5}) xs.push_back(calcest::localLoad(bar, load).a + d);
  }
  using Value = double (*)(const ElasticCurve&, double);
  const std::pair<const char*, Value> values[] = {
      {"moment", [](const ElasticCurve& e, double x) { return e.moment(x); }},
      {"moment right", [](const ElasticCurve& e, double x) { return e.moment(x, true); }},
      {"shear", [](const ElasticCurve& e, double x) { return e.shear(x); }},
      {"shear right", [](const ElasticCurve& e, double x) { return e.shear(x, true); }},
      {"axial force right", [](const ElasticCurve& e, double x) { return e.axialForce(x, true); }},
      {"deflection", [](const ElasticCurve& e, double x) { return e.deflection(x); }},
      {"rotation", [](const ElasticCurve& e, double x) { return e.rotation(x); }}};
  for (const auto& [name, value] : values) {
    // What the rounding is measured against: each part's largest value.
    double size = 0;
    for (const ElasticCurve& part : parts) {
      double largest = 0;
      for (double x : xs) largest = std::max(largest, std::fabs(value(part, x)));
      size += largest;
    }
    for (double x : xs) {
      double sum = 0;
      for (const ElasticCurve& part : parts) sum += value(part, x);
      ASSERT_NEAR(value(all, x), sum, 1e-12 * size) << name << " at x = " << x;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Bars, ManyLoads,
                         ::testing::Values(ManyLoadsCase{"plain", 1, 0, kHorizontal, 0, 0},
                                           ManyLoadsCase{"hinged at I, rigid zones, shear strain", 2, 1, kHorizontal,
                                                         0.1, 0.05},
                                           ManyLoadsCase{"inclined right, shear strain", 1, 1, kInclinedRight, 0, 0.1},
                                           ManyLoadsCase{"inclined left, hinged at J", 3, 0, kInclinedLeft, 0.08, 0},
                                           ManyLoadsCase{"guided at I, shear strain", 7, 1, kHorizontal, 0, 0},
                                           ManyLoadsCase{"guided at J, rigid zones", 8, 0, kHorizontal, 0.05, 0.05}));

// ------------------------------------------------------------ degenerate bars

// No bending stiffness, or a bar too short to bend, with loads right at its
// ends: finite values everywhere, and the chord between the end deflections
// where the bar cannot bend.
TEST(DegenerateBar, GivesFiniteValuesAndTheChordWhenItCannotBend) {
  struct Case {
    const char* what;
    int type;
    double length, I;
    bool chord;
  };
  const Case cases[] = {{"no inertia", 1, 4.0, 0.0, true},
                        {"no stiffness (type 0)", 0, 4.0, 3.0, true},
                        {"a micrometre long", 1, 1e-6, 3.0, false},
                        {"a micrometre long, hinged", 3, 1e-6, 3.0, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Bar bar = sampleBar(c.type, c.length);
    bar.I = c.I;
    const double Lb = c.length;
    const std::vector<BarLoad> loads = {loadOn(1, 1, 0, Lb, 0, -5), loadOn(1, 2, Lb, 0, 0, 3),
                                        loadOn(1, 3, 0, Lb, 0, -2), loadOn(1, 5, Lb, 0, 0, -2)};
    const Vec6 ends{0, 0, -0.01, 0.002, 0, -0.03, -0.001}, forces{0, 1, 2, 3, 4, 5, 6};
    const ElasticCurve curve(bar, loads, false, ends, forces);
    for (double at : {0.0, 0.5, 1.0}) {
      const double x = Lb * at;
      for (double v : {curve.deflection(x), curve.rotation(x), curve.moment(x), curve.moment(x, true), curve.shear(x),
                       curve.axialForce(x, true), curve.axialDisplacement(x)})
        EXPECT_TRUE(std::isfinite(v)) << "x = " << x;
      if (c.chord) {
        EXPECT_NEAR(curve.deflection(x), -0.01 - 0.02 * at, 1e-15) << "x = " << x;
      }
    }
  }
}

}  // namespace
