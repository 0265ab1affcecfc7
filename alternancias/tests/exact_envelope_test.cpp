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
  dat << "AZAR 1 1\n" << nb << ' ' << nn << ' ' << supported.size() << ' ' << (nodalLoad ? 1 : 0) << " 1 1 0 0 "
      << (selfWeight ? 1 : 0) << " 0.0\n";
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
    if (s == 0) dat << node << (draw() % 2 ? " 111 0.0 0.0 0.0\n" : " 110 0.0 0.0\n");
    else if (s == settled) dat << node << " 10 -0.004\n";
    else if (s == spring) dat << node << " 20 " << 2e4 + 1e5 * unit(draw) << "\n";
    else if (s + 1 == supported.size() && draw() % 2) dat << node << " 11 0.0 0.0\n";
    else dat << node << " 10 0.0\n";
  }
  if (nodalLoad) dat << 1 + draw() % nn << "\n1 0.0\n1 -12.0\n1 3.0\n";
  return {dat.str(), loadLines(draw, lengths, 10), loadLines(draw, lengths, 8)};
}

struct Bounds {
  std::array<std::vector<double>, alternancias::kQuantityCount> max, min;
};

// Extremes over every arrangement and permanent factor, each a single analysis
// of all its factored loads: self-weight written out as uniform loads, the
// settlement and the nodal load factored with the permanent loads.
Bounds bruteForce(const projectfiles::Model& model, const std::vector<LoadOnBar>& variable,
                  const std::vector<alternancias::Span>& spans, const alternancias::Factors& f) {
  const std::vector<int> spanOfBar = alternancias::spanOfBars(spans);
  auto scaled = [](LoadOnBar load, double factor) {
    load.load.q *= factor;
    return load;
  };
  Bounds b;
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
          if (mask >> spanOfBar[load.bar] & 1) c.loads.push_back(scaled(load, gQ));
        for (Support& s : factored.supports) s.dy *= permanent;
        for (NodalLoad& n : factored.nodalLoads)
          for (double& v : n.value) v *= permanent;
        const CaseValues values = alternancias::analyseCase(factored, c);
        for (int q = 0; q < alternancias::kQuantityCount; ++q) {
          if (alternancias::isDeflection(q) != characteristic) continue;
          if (b.max[q].empty()) b.max[q] = b.min[q] = values.of[q];
          for (size_t i = 0; i < values.of[q].size(); ++i) {
            b.max[q][i] = std::max(b.max[q][i], values.of[q][i]);
            b.min[q][i] = std::min(b.min[q][i], values.of[q][i]);
          }
        }
      }
  return b;
}

TEST(ExactEnvelope, EqualsTheExtremesOfEveryArrangementUnderBothPermanentFactors) {
  const alternancias::Factors factors{1.35, 0.9, 1.5};
  for (unsigned seed = 1; seed <= 6; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    const RandomBeam beam = randomBeam(seed);
    testsupport::ScratchDir dir;
    dir.write("m.dat", beam.model);
    dir.write("g.caf", beam.permanent);
    dir.write("q.caf", beam.variable);
    const projectfiles::Model model = projectfiles::readModel(dir.file("m.dat"), dir.file("g.caf"));
    const std::vector<LoadOnBar> variable = projectfiles::readLoadsFile(dir.file("q.caf"), model.bars);
    const std::vector<alternancias::Span> spans = alternancias::spansOf(model, "m.dat");
    const ExactEnvelope env = alternancias::exactEnvelope(model, variable, spans, factors);
    const Bounds brute = bruteForce(model, variable, spans, factors);
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

}  // namespace
