#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

#include "calcdin/assembly.h"
#include "calcdin/tests/fixtures.h"
#include "calcdin/jacobi.h"
#include "calcdin/modal_model.h"
#include "common/run_error.h"

using namespace common;

using namespace calcdin;
using fixtures::BeamModel;

namespace {

struct Assembled {
  ModalModel model;
  Elimination elimination;
  PairMatrix full;
  std::string console;
};

// Reads the model and records through the program's own readers and assembles
// K and M as a run with this option does.
Assembled assemble(const BeamModel& beam, int option) {
  fixtures::TempFile modelFile(beam.modelText());
  fixtures::TempFile recordFile(beam.recordBytes());
  Scanner scanner(modelFile.file, "m.dat");
  Assembled out;
  out.model = readModalModel(scanner);
  const int nn = out.model.header.nn;
  out.elimination = eliminateSupports(out.model.supports, nn, option);
  out.full = PairMatrix(out.elimination.total);
  BarRecordFile records(recordFile.file, "m.bar");
  RecordingConsole console;
  assembleAll(out.full, records, out.model.bars, option, out.elimination, console);
  addVerticalSprings(out.full, verticalSprings(out.model.supports, option));
  out.console = console.text;
  return out;
}

// The system the option solves: reduced for 0 and 2, the whole one otherwise.
PairMatrix solvedSystem(const Assembled& a, int option) {
  if (!solvesReducedSystem(option)) return a.full;
  std::vector<bool> keep = a.elimination.isEliminated;
  keep.flip();
  return reduceSystem(a.full, keep, a.elimination.nf());
}

std::vector<double> sortedJacobiEigenvalues(PairMatrix system, ModalSolution* keep = nullptr) {
  ModalSolution sol = solveGeneralizedJacobi(system);
  std::vector<double> lambda;
  for (int q = 1; q <= sol.n; ++q) lambda.push_back(sol.lambda[sol.order[q]]);
  if (keep) *keep = sol;
  return lambda;
}

BeamModel supportedBeam(double ky) {
  // Three spans over 12 bars with a pin, a vertical spring (120), a pin and a
  // spring-supported clamp (121); one release per span (hinge at node 3,
  // transverse release at node 7, hinge at node 11) leaves it stable on rigid
  // supports; shear and rigid end zones along the way.
  BeamModel m = fixtures::horizontalBeam(12, 18.0, 2.1e7, 0.12, 0.0016, 25.0);
  const int types[12] = {1, 1, 2, 1, 1, 1, 7, 1, 1, 3, 1, 1};
  for (int b = 0; b < 12; ++b) m.bars[b].type = types[b];
  m.bars[0].aclx = 0.8;
  m.bars[0].adlx = 0.2;
  m.bars[11].aclx = 0.75;
  m.bars[11].ablx = 0.25;
  m.bars[3].shear = 1;
  m.bars[6].shear = 1;
  m.supports = {{1, 110, {0, 0}}, {5, 120, {0, ky}}, {9, 110, {0, 0}}, {13, 121, {0, ky, 0}}};
  return m;
}

BeamModel portalFrame() {
  // Columns 5 m high, a pitched roof of two inclined bars, labels out of order.
  BeamModel m;
  m.nodes = {{30, 6, 4}, {10, 0, 0}, {20, 0, 4}, {25, 3, 6}, {40, 6, 0}};
  m.sections = {{0.09, 0.000675}, {0.16, 0.0021333}};
  m.materials = {{3.0e6, 1.25e6, 2.5}};
  m.bars = {{10, 20, 1, 1.0, 0.0, 0.0, 1, 2, 1},
            {20, 25, 3, 0.9, 0.1, 0.0, 0, 1, 1},
            {25, 30, 1, 0.9, 0.0, 0.1, 1, 1, 1},
            {40, 30, 1, 1.0, 0.0, 0.0, 0, 2, 1}};
  m.supports = {{10, 111, {0, 0, 0}}, {40, 110, {0, 0}}};
  m.unitCode = 1;
  return m;
}

void expectSameEigenvalues(const std::vector<double>& jacobi, const std::vector<double>& lapack,
                           const std::string& what) {
  ASSERT_EQ(jacobi.size(), lapack.size()) << what;
  const double largest = std::max(std::fabs(lapack.front()), std::fabs(lapack.back()));
  for (std::size_t i = 0; i < lapack.size(); ++i) {
    // Relative 1e-8. Eigenvalues that are zero in exact arithmetic (free-body
    // motions and mechanisms) come out of either method as noise that the
    // fixed thresholds bound far below the largest eigenvalue: they get an
    // absolute allowance of 1e-10 of it.
    const double allowed = 1e-8 * std::fabs(lapack[i]) + 1e-10 * largest;
    EXPECT_NEAR(jacobi[i], lapack[i], allowed) << what << " eigenvalue " << i + 1;
  }
}

}  // namespace

TEST(SupportElimination, CodesAreReadWithTheirOwnCountsAndRemovedByTheModalTable) {
  // Node labels 1..6. Code 20 carries one value and 222 three: read with their
  // own counts the next support is still in step. For the modal table code 20
  // and 222 are "any other code" (horizontal removed) with a vertical spring.
  BeamModel m = fixtures::horizontalBeam(5, 10.0, 1e6, 0.1, 0.001, 10.0);
  m.supports = {{1, 110, {0, 0}},   {2, 20, {500}},        {3, 111, {0, 0, 0}},
                {4, 120, {0, 700}}, {5, 121, {0, 900, 0}}, {6, 222, {1, 2, 3}}};
  for (int option : {0, 1, 2, -1, 5}) {
    Assembled a = assemble(m, option);
    ASSERT_EQ(a.model.supports.size(), 7u);
    EXPECT_EQ(a.model.supports[6].code, 222);
    EXPECT_EQ(a.model.supports[6].kz, 3.0);
    EXPECT_EQ(a.model.supports[2].ky, 500.0);
    const bool springsToo = option == 2;
    std::vector<int> expected = {1, 2, 4};
    if (springsToo) expected.push_back(5);
    expected.insert(expected.end(), {7, 8, 9, 10});
    if (springsToo) expected.push_back(11);
    expected.insert(expected.end(), {13, 15});
    if (springsToo) expected.push_back(14);
    expected.push_back(16);
    if (springsToo) expected.push_back(17);
    EXPECT_EQ(a.elimination.eliminated, expected) << option;
    EXPECT_EQ(a.elimination.nf(), 18 - static_cast<int>(expected.size()));
    ASSERT_EQ(a.elimination.freeDirections.size(), static_cast<std::size_t>(a.elimination.nf()) + 1);
    EXPECT_EQ(a.elimination.freeDirections[1], 3);
    EXPECT_EQ(a.elimination.freeDirections.back(), 18);
  }
}

// The model reader refuses two supports on one node; given them, the
// elimination still removes each direction once.
TEST(SupportElimination, ADirectionNamedTwiceIsRemovedOnce) {
  BeamModel m = fixtures::horizontalBeam(2, 4.0, 1e6, 0.1, 0.001, 10.0);
  m.supports = {{1, 110, {0, 0}}, {1, 111, {0, 0, 0}}};
  EXPECT_EQ(testsupport::runErrorText([&m] { assemble(m, 0); }), "ERROR: DOS APOYOS EN EL NODO 1\n");
  std::vector<Support> supports(3);
  supports[1].index = supports[2].index = 1;
  supports[1].code = 110;
  supports[2].code = 111;
  const Elimination elimination = eliminateSupports(supports, 3, 0);
  EXPECT_EQ(elimination.eliminated, (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(elimination.nf(), 6);
  EXPECT_EQ(elimination.freeDirections, (std::vector<int>{0, 4, 5, 6, 7, 8, 9}));
}

TEST(SupportElimination, OptionZeroPutsEveryVerticalSpringIntoK) {
  // Every code whose vertical digit is 2, with ky = 1234.5 and 7 for the other values.
  const std::pair<int, std::vector<double>> codes[] = {
      {120, {7, 1234.5}}, {121, {7, 1234.5, 7}}, {122, {7, 1234.5, 7}}, {20, {1234.5}},       {21, {1234.5, 7}},
      {22, {1234.5, 7}},  {220, {7, 1234.5}},    {221, {7, 1234.5, 7}}, {222, {7, 1234.5, 7}}};
  for (const auto& [code, values] : codes) {
    SCOPED_TRACE(code);
    BeamModel m = fixtures::horizontalBeam(2, 4.0, 1e6, 0.1, 0.001, 10.0);
    m.supports = {{2, code, values}};
    Assembled zero = assemble(m, 0);
    Assembled one = assemble(m, 1);
    Assembled two = assemble(m, 2);
    // Node 2's vertical direction is 5; it stays with option 0 and gets the spring.
    EXPECT_DOUBLE_EQ(zero.full.S(5, 5), one.full.S(5, 5) + 1234.5);
    EXPECT_FALSE(zero.elimination.isEliminated[5]);
    EXPECT_EQ(zero.full.S(4, 4), 0.0);  // removed direction: its bar terms are dropped
    EXPECT_EQ(zero.full.Q(4, 5), 0.0);
    EXPECT_GT(one.full.S(4, 4), 0.0);
    EXPECT_EQ(two.full.S(5, 5), 0.0);
    EXPECT_TRUE(two.elimination.isEliminated[5]);
    EXPECT_EQ(two.elimination.ne(), zero.elimination.ne() + 1);
  }
}

TEST(ModalAssembly, UnknownBarTypeIsReportedAndAddsNothing) {
  BeamModel m = fixtures::horizontalBeam(2, 4.0, 1e6, 0.1, 0.001, 10.0);
  m.bars[1].type = 5;
  Assembled a = assemble(m, 1);
  EXPECT_EQ(a.console, "tipob= 5 \n");
  for (int r = 7; r <= 9; ++r) {
    EXPECT_EQ(a.full.S(r, r), 0.0);
    EXPECT_EQ(a.full.Q(r, r), 0.0);
  }
  EXPECT_GT(a.full.S(4, 4), 0.0);
}

TEST(ModalAssembly, NonFiniteElementMatricesStopTheRun) {
  BeamModel m = fixtures::horizontalBeam(2, 4.0, 1e6, 0.1, 0.001, 10.0);
  m.bars[1].shear = 1;
  m.materials[0].G = 0.0;  // shear parameter 12EI/(GA l²) is infinite
  try {
    assemble(m, 1);
    FAIL() << "no error";
  } catch (const RunError& e) {
    EXPECT_EQ(
        e.text,
        "ERROR: LA BARRA 2 DEL FICHERO DE BARRAS DA MATRICES CON VALORES NO FINITOS (REVISE L, aclx, E, G, A, I Y "
        "LA MASA)\n");
  }
}

TEST(ModalAccuracy, JacobiEigenvaluesAgreeWithLapackForEveryOption) {
  const std::vector<std::pair<std::string, BeamModel>> models = {
      {"three spans", supportedBeam(5.0e4)},
      {"portal frame", portalFrame()},
      {"plain beam", [] {
         BeamModel m = fixtures::horizontalBeam(7, 7.0, 2.0e8, 0.02, 0.0003, 78.5);
         m.supports = {{1, 111, {0, 0, 0}}, {8, 120, {0, 3.0e3}}};
         return m;
       }()}};
  for (const auto& [name, model] : models)
    for (int option : {0, 1, 2, 7}) {
      Assembled a = assemble(model, option);
      PairMatrix system = solvedSystem(a, option);
      std::vector<double> lapack = fixtures::lapackEigenvalues(system);
      ModalSolution sol;
      std::vector<double> jacobi = sortedJacobiEigenvalues(system, &sol);
      expectSameEigenvalues(jacobi, lapack, name + " option " + std::to_string(option));

      // The modes are unit-mass and satisfy K·phi = lambda·M·phi on the
      // matrices as assembled (the solver works on a copy).
      const int n = system.order();
      for (int q = 1; q <= std::min(n, 4); ++q) {
        const int i = sol.order[q];
        double mass = 0, residual = 0, scale = 0, largestPhi = 0;
        for (int r = 1; r <= n; ++r) {
          scale = std::max(scale, std::fabs(system.S(r, r)));
          largestPhi = std::max(largestPhi, std::fabs(sol.phi(r, i)));
        }
        for (int r = 1; r <= n; ++r) {
          double kphi = 0, mphi = 0;
          for (int c = 1; c <= n; ++c) {
            kphi += system.S(r, c) * sol.phi(c, i);
            mphi += system.Q(r, c) * sol.phi(c, i);
          }
          mass += sol.phi(r, i) * mphi;
          residual = std::max(residual, std::fabs(kphi - sol.lambda[i] * mphi));
        }
        EXPECT_NEAR(mass, 1.0, 1e-8) << name << " option " << option << " mode " << q;
        EXPECT_LE(residual, 1e-7 * scale * largestPhi) << name << " option " << option << " mode " << q;
      }
    }
}

TEST(ModalAccuracy, VerticalSpringStiffensTheFirstModeTowardsARigidSupport) {
  auto lowest = [](double ky, int option) {
    Assembled a = assemble(supportedBeam(ky), option);
    return sortedJacobiEigenvalues(solvedSystem(a, option)).front();
  };
  const double rigid = lowest(1.0, 2);  // option 2 removes both spring directions
  double previous = 0;
  for (double ky : {1.0e2, 1.0e4, 1.0e6, 1.0e8, 1.0e10}) {
    double value = lowest(ky, 0);
    EXPECT_GT(value, previous) << ky;
    EXPECT_LT(value, rigid * (1 + 1e-9)) << ky;
    previous = value;
  }
  EXPECT_NEAR(previous, rigid, 1e-4 * rigid);
  // Without any spring the support has vanished from the modal model: softer still.
  EXPECT_LT(lowest(0.0, 0), lowest(1.0e2, 0));
}
