// The envelope by superposition against brute force: on random beams, every
// arrangement of the variable load under both permanent factors analysed as one
// load case of all its factored loads, and the extremes taken directly.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <sstream>

#include "alternancias/exact_envelope.h"
#include "common/testing/test_support.h"

using namespace common;

namespace {

using alternancias::CaseValues;
using alternancias::ExactEnvelope;
using calcest::LoadOnBar;

// A random continuous beam: 2 to 6 spans of 2 to 8 m (one or two bars each),
// perhaps an overhang at either end, pinned, roller, spring and fixed supports,
// a settlement of one support, perhaps self-weight and a nodal load; uniform,
// partial, triangular and point loads in both loads files.
struct RandomBeam {
  std::string model, permanent, variable;
};

std::string loadLines(std::mt19937& draw, const std::vector<double>& lengths, double scale) {
  std::ostringstream caf;
  caf.precision(17);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  for (size_t k = 0; k < lengths.size(); ++k) {
    const double L = lengths[k];
    caf << k + 1 << " 3 0 " << L << " 0 " << -scale * (1 + unit(draw)) << " y\n";
    if (unit(draw) < 0.5) {
      const double a = L * unit(draw);  // from node I, then the rest to node J
      caf << k + 1 << " 1 " << a << " " << L - a << " 0 " << -5 * scale * unit(draw) << " y\n";
    }
    if (unit(draw) < 0.3) {
      // A partial uniform or rising load: start, length, and the rest to node J.
      const double a = 0.5 * L * unit(draw), length = (L - a) * unit(draw);
      caf << k + 1 << " " << (unit(draw) < 0.5 ? 3 : 4) << " " << a << " " << length << " " << L - a - length << " "
          << -scale * unit(draw) << " y\n";
    }
  }
  return caf.str();
}

RandomBeam randomBeam(unsigned seed) {
  std::mt19937 draw(seed);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  const int spans = 2 + static_cast<int>(draw() % 5);
  const bool leftOverhang = draw() % 2, rightOverhang = draw() % 2;
  std::vector<double> lengths;  // per bar
  std::vector<int> supported;   // node numbers that hold the beam up
  if (leftOverhang) lengths.push_back(0.5 + 2 * unit(draw));
  for (int s = 0; s < spans; ++s) {
    supported.push_back(static_cast<int>(lengths.size()) + 1);
    const double L = std::round(20 + 60 * unit(draw)) / 10;
    if (draw() % 2) {
      lengths.push_back(L * 0.4);
      lengths.push_back(L * 0.6);
    } else {
      lengths.push_back(L);
    }
  }
  supported.push_back(static_cast<int>(lengths.size()) + 1);
  if (rightOverhang) lengths.push_back(0.5 + 2 * unit(draw));
  const int nb = static_cast<int>(lengths.size()), nn = nb + 1;
  const bool selfWeight = draw() % 2, nodalLoad = draw() % 2;

  std::ostringstream dat;
  dat.precision(17);
  dat << "AZAR 1 1\n"
      << nb << ' ' << nn << ' ' << supported.size() << ' ' << (nodalLoad ? 1 : 0) << " 1 1 0 0 " << (selfWeight ? 1 : 0)
      << " 0.0\n";
  double x = 0;
  for (int k = 0; k <= nb; ++k) {
    dat << k + 1 << ' ' << x << " 0.0\n";
    if (k < nb) x += lengths[k];
  }
  for (int k = 1; k <= nb; ++k) dat << k << ' ' << k << ' ' << k + 1 << " 1 1 1 0\n1.0 0.0 0.0 0 1.0\n";
  dat << "1 0.18 0.0054 0.3 0.6\n1 3.0e7 1.25e7 25.0 1.0e-5\n";
  const size_t settled = 1 + draw() % (supported.size() - 1), spring = draw() % supported.size();
  for (size_t s = 0; s < supported.size(); ++s) {
    const int node = supported[s];
    if (s == 0)
      dat << node << (draw() % 2 ? " 111 0.0 0.0 0.0\n" : " 110 0.0 0.0\n");
    else if (s == settled)
      dat << node << " 10 -0.004\n";
    else if (s == spring)
      dat << node << " 20 " << 2e4 + 1e5 * unit(draw) << "\n";
    else if (s + 1 == supported.size() && draw() % 2)
      dat << node << " 11 0.0 0.0\n";
    else
      dat << node << " 10 0.0\n";
  }
  if (nodalLoad) dat << 1 + draw() % nn << "\n1 0.0\n1 -12.0\n1 3.0\n";
  return {dat.str(), loadLines(draw, lengths, 10), loadLines(draw, lengths, 8)};
}

std::string formatCase(size_t span, bool deflection, bool largest) {
  return "span " + std::to_string(span + 1) + (deflection ? " deflection" : " moment") +
         (largest ? " largest" : " smallest");
}

struct Bounds {
  std::array<std::vector<double>, alternancias::kQuantityCount> max, min;
};

// Extremes over every arrangement and permanent factor, each a single analysis
// of all its factored loads: self-weight written out as uniform loads, the
// settlement and the nodal load factored with the permanent loads.
// One arrangement analysed as a single case: the spans loaded (a bit each), the
// permanent factor, and whether it is the characteristic combination.
struct Arrangement {
  unsigned mask = 0;
  double permanent = 1;
  bool characteristic = false;
  CaseValues values;
};

std::vector<Arrangement> everyArrangement(const projectfiles::Model& model, const std::vector<LoadOnBar>& variable,
                                          const std::vector<alternancias::Span>& spans,
                                          const alternancias::Factors& f) {
  const std::vector<int> spanOfBar = alternancias::spanOfBars(spans);
  auto scaled = [](LoadOnBar load, double factor) {
    load.load.q *= factor;
    return load;
  };
  std::vector<Arrangement> all;
  for (unsigned mask = 0; mask < (1u << spans.size()); ++mask)
    for (const bool characteristic : {false, true})
      for (const double permanent : characteristic ? std::vector<double>{1.0} : std::vector<double>{f.gG, f.gGinf}) {
        const double gQ = characteristic ? 1.0 : f.gQ;
        projectfiles::Model factored = model;
        calcest::StaticCase c;
        c.selfWeight = false;
        for (const LoadOnBar& load : model.loads) c.loads.push_back(scaled(load, permanent));
        if (model.header.selfWeight == 1)
          for (int k = 1; k <= model.header.nb; ++k) {
            LoadOnBar weight;
            weight.bar = k;
            weight.load = {model.bars[k].label, 3, 0.0, model.bars[k].L, 0.0, -permanent * model.bars[k].w, 'y'};
            c.loads.push_back(weight);
          }
        for (const LoadOnBar& load : variable)
          if (mask >> alternancias::spanOfLoad(spans, spanOfBar, load) & 1) c.loads.push_back(scaled(load, gQ));
        for (Support& s : factored.supports) s.dy *= permanent;
        for (NodalLoad& n : factored.nodalLoads)
          for (double& v : n.value) v *= permanent;
        all.push_back({mask, permanent, characteristic, alternancias::analyseCase(factored, c)});
      }
  return all;
}

Bounds bruteForce(const std::vector<Arrangement>& arrangements) {
  Bounds b;
  for (const Arrangement& a : arrangements)
    for (int q = 0; q < alternancias::kQuantityCount; ++q) {
      if (alternancias::isDeflection(q) != a.characteristic) continue;
      const std::vector<double>& values = a.values.of[q];
      if (b.max[q].empty()) b.max[q] = b.min[q] = values;
      for (size_t i = 0; i < values.size(); ++i) {
        b.max[q][i] = std::max(b.max[q][i], values[i]);
        b.min[q][i] = std::min(b.min[q][i], values[i]);
      }
    }
  return b;
}

// One span's curve of an arrangement, bar after bar.
calcest::PiecewiseCurve spanCurve(const std::vector<calcest::PiecewiseCurve>& bars, const alternancias::Span& span) {
  calcest::PiecewiseCurve out;
  for (int k = span.firstBar; k <= span.lastBar; ++k) out.insert(out.end(), bars[k - 1].begin(), bars[k - 1].end());
  return out;
}

// The largest (or smallest) of a curve at 400 points of each of its pieces,
// both ends of every piece included (both sides of every step).
double sampled(const calcest::PiecewiseCurve& curve, bool largest) {
  double best = largest ? -INFINITY : INFINITY;
  for (const calcest::PolynomialPiece& piece : curve)
    for (int k = 0; k <= 400; ++k) {
      const double v = piece.at(piece.from + (piece.to - piece.from) * k / 400);
      best = largest ? std::max(best, v) : std::min(best, v);
    }
  return best;
}

// Random beam `seed` read as alternancias reads it, and its exact envelope.
struct RandomEnvelope {
  projectfiles::Model model;
  std::vector<LoadOnBar> variable;
  std::vector<alternancias::Span> spans;
  ExactEnvelope envelope;
};
RandomEnvelope randomEnvelope(unsigned seed, const alternancias::Factors& factors) {
  const RandomBeam beam = randomBeam(seed);
  testsupport::ScratchDir dir;
  dir.write("m.dat", beam.model);
  dir.write("g.caf", beam.permanent);
  dir.write("q.caf", beam.variable);
  projectfiles::Model model = projectfiles::readModel(dir.file("m.dat"), dir.file("g.caf"));
  std::vector<LoadOnBar> variable = projectfiles::readLoadsFile(dir.file("q.caf"), model.bars);
  std::vector<alternancias::Span> spans = alternancias::spansOf(model, "m.dat");
  ExactEnvelope envelope = alternancias::exactEnvelope(model, variable, spans, factors);
  return {std::move(model), std::move(variable), std::move(spans), std::move(envelope)};
}

TEST(ExactEnvelope, EqualsTheExtremesOfEveryArrangementUnderBothPermanentFactors) {
  const alternancias::Factors factors{1.35, 0.9, 1.5};
  for (unsigned seed = 1; seed <= 6; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    const RandomEnvelope r = randomEnvelope(seed, factors);
    const projectfiles::Model& model = r.model;
    const std::vector<alternancias::Span>& spans = r.spans;
    const ExactEnvelope& env = r.envelope;
    const Bounds brute = bruteForce(everyArrangement(model, r.variable, spans, factors));
    for (int q = 0; q < alternancias::kQuantityCount; ++q) {
      SCOPED_TRACE("quantity " + std::to_string(q));
      double size = 1e-6;  // a quantity that is zero everywhere
      for (double v : brute.max[q]) size = std::max(size, std::fabs(v));
      for (double v : brute.min[q]) size = std::max(size, std::fabs(v));
      ASSERT_EQ(env.size(q), brute.max[q].size());
      for (size_t i = 0; i < env.size(q); ++i) {
        EXPECT_NEAR(env.largest(q, i).value, brute.max[q][i], 1e-6 * size) << "at " << i;
        EXPECT_NEAR(env.smallest(q, i).value, brute.min[q][i], 1e-6 * size) << "at " << i;
      }
    }
  }
}

// The span rows' true peaks on random beams: never below any arrangement's
// curve sampled finely (so never a grid value short of the peak), within the
// sampling's reach above it, and given by the arrangement they name, which
// has that value there.
TEST(ExactEnvelope, TruePeaksOfEachSpanAreTheLargestOfEveryArrangementsCurve) {
  const alternancias::Factors factors{1.35, 0.9, 1.5};
  for (unsigned seed = 1; seed <= 6; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    const RandomEnvelope r = randomEnvelope(seed, factors);
    const projectfiles::Model& model = r.model;
    const std::vector<alternancias::Span>& spans = r.spans;
    const ExactEnvelope& env = r.envelope;
    const std::vector<Arrangement> arrangements = everyArrangement(model, r.variable, spans, factors);
    for (size_t s = 0; s < spans.size(); ++s)
      for (const bool deflection : {false, true})
        for (const bool largest : {false, true}) {
          SCOPED_TRACE(formatCase(s, deflection, largest));
          double best = largest ? -INFINITY : INFINITY, size = 1e-9;
          for (const Arrangement& a : arrangements) {
            if (a.characteristic != deflection) continue;
            const calcest::PiecewiseCurve curve =
                spanCurve(deflection ? a.values.deflection : a.values.moment, spans[s]);
            const double v = sampled(curve, largest);
            best = largest ? std::max(best, v) : std::min(best, v);
            size = std::max({size, std::fabs(sampled(curve, true)), std::fabs(sampled(curve, false))});
          }
          const ExactEnvelope::Peak peak =
              env.peak(deflection ? ExactEnvelope::Curve::deflection : ExactEnvelope::Curve::moment, spans[s], largest);
          const double beyond = largest ? peak.governing.value - best : best - peak.governing.value;
          EXPECT_GE(beyond, -1e-9 * size) << "a sampled value passes the peak " << peak.governing.value;
          EXPECT_LE(beyond, 1e-4 * size) << "the peak " << peak.governing.value << " passes every arrangement";
          unsigned mask = 0;
          for (int loaded : peak.governing.spans) mask |= 1u << loaded;
          bool named = false;
          for (const Arrangement& a : arrangements) {
            if (a.characteristic != deflection || a.mask != mask || a.permanent != peak.governing.permanentFactor)
              continue;
            const calcest::PiecewiseCurve curve =
                spanCurve(deflection ? a.values.deflection : a.values.moment, spans[s]);
            EXPECT_NEAR(calcest::valueAt(curve, peak.x, peak.rightSide), peak.governing.value, 1e-6 * size);
            named = true;
          }
          EXPECT_TRUE(named);
        }
  }
}

}  // namespace
