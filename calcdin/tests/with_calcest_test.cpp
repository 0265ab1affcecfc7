// The static engine's bar record file read by the modal engine: calcest runs
// first on a model, then calcdin on the same model and calcest's records.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "calcdin/tests/fixtures.h"
#include "calcdin/jacobi.h"
#include "common/file_names.h"
#include "common/testing/test_support.h"
#include "projectfiles/model_input.h"
#include "projectfiles/modes_file.h"

using namespace common;

using testsupport::RunResult;
using testsupport::ScratchDir;

namespace {

class WithCalcest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!std::filesystem::exists(CALCEST_BINARY)) GTEST_SKIP() << "calcest is not built";
  }
  RunResult calcest(const std::string& stem) { return testsupport::runCalcest(CALCEST_BINARY, dir.path(), stem); }
  RunResult calcdin(const std::string& stem, const std::string& bars, const std::string& out,
                    const std::string& option) {
    return testsupport::runProgram(CALCDIN_BINARY, {fileOf(stem, kModelExt), bars, out, option}, dir.path());
  }
  ScratchDir dir;
};

// examples/viga3.dat: three spans of one bar (6, 8 and 6 m), a pin (110) and
// three rollers of code 10, which carries one value.
fixtures::BeamModel viga3() {
  fixtures::BeamModel m;
  m.nodes = {{1, 0, 0}, {2, 6, 0}, {3, 14, 0}, {4, 20, 0}};
  m.bars = {{1, 2}, {2, 3}, {3, 4}};
  m.sections = {{0.18, 0.0054}};
  m.materials = {{2.5e6, 1.04e6, 2.5}};
  m.supports = {{1, 110, {0, 0}}, {2, 10, {0}}, {3, 10, {0}}, {4, 10, {0}}};
  return m;
}

// The lowest frequency of a project's modes file (option 0 with these supports).
double lowestFrequency(const ScratchDir& dir, const std::string& stem, int nn) {
  projectfiles::TokenFile in(dir.file(fileOf(stem, kModesExt)));
  return projectfiles::readModesFile(in, nn).ascending.at(0).frequency.value;
}

// The model with every bar split in two at its middle (prismatic bars of one
// section and material, as the examples' girders).
fixtures::BeamModel halved(const projectfiles::Model& model) {
  fixtures::BeamModel half;
  for (std::size_t k = 1; k < model.nodes.size(); ++k) {
    if (k > 1) half.nodes.push_back({static_cast<int>(2 * k - 2), (model.nodes[k - 1].x + model.nodes[k].x) / 2, 0});
    half.nodes.push_back({static_cast<int>(2 * k - 1), model.nodes[k].x, 0});
  }
  for (int b = 1; b < 2 * static_cast<int>(model.bars.size()) - 1; ++b) half.bars.push_back({b, b + 1});
  const Section& section = model.sections.at(1);
  const Material& material = model.materials.at(1);
  half.sections = {{section.A, section.I}};
  half.materials = {{material.E, material.G, material.gamma}};
  for (std::size_t s = 1; s < model.supports.size(); ++s) {
    const Support& support = model.supports[s];
    half.supports.push_back({2 * support.index - 1, support.code,
                             support.code == 110 ? std::vector<double>{0, 0} : std::vector<double>{0}});
  }
  return half;
}

}  // namespace

// examples/viga3r is viga3 with each span in eight bars: the same spans,
// supports, section, material and loads, so the same reactions and moments
// over the supports; its modes are those of the beam, which one bar per span
// (a cubic per span) cannot give.
TEST_F(WithCalcest, RefinedGirderIsViga3WithItsLowestFrequencyConverged) {
  for (const char* stem : {"viga3", "viga3r"}) {
    testsupport::copyProject(EXAMPLES_DIR, stem, dir);
    ASSERT_EQ(calcest(stem).status, 0) << stem;
  }
  const projectfiles::Model coarse = projectfiles::readModel(dir.file("viga3.dat"), dir.file("viga3.caf"));
  const projectfiles::Model fine = projectfiles::readModel(dir.file("viga3r.dat"), dir.file("viga3r.caf"));
  EXPECT_EQ(fine.header.unitCode, coarse.header.unitCode);
  EXPECT_EQ(fine.header.selfWeight, coarse.header.selfWeight);
  ASSERT_EQ(fine.bars.size(), 8 * (coarse.bars.size() - 1) + 1);
  for (std::size_t b = 1; b < fine.bars.size(); ++b) {
    const BarInput& bar = fine.bars[b];
    const BarInput& span = coarse.bars[(b - 1) / 8 + 1];
    EXPECT_NEAR(bar.L, span.L / 8, 1e-12) << b;
    EXPECT_EQ(std::tie(bar.type, bar.shear, bar.E, bar.G, bar.A, bar.I, bar.b, bar.h, bar.m),
              std::tie(span.type, span.shear, span.E, span.G, span.A, span.I, span.b, span.h, span.m))
        << b;
  }
  ASSERT_EQ(fine.supports.size(), coarse.supports.size());
  for (std::size_t s = 1; s < coarse.supports.size(); ++s) {
    EXPECT_EQ(fine.nodes[fine.supports[s].index].x, coarse.nodes[coarse.supports[s].index].x) << s;
    EXPECT_EQ(fine.supports[s].code, coarse.supports[s].code) << s;
  }
  const auto results = [&](const projectfiles::Model& model, const std::string& stem) {
    projectfiles::TokenFile in(dir.file(fileOf(stem, kResultsExt)));
    return projectfiles::readResultsFile(in, projectfiles::resultsShapeOf(model));
  };
  const projectfiles::ResultsFile coarseResults = results(coarse, "viga3"), fineResults = results(fine, "viga3r");
  for (std::size_t s = 1; s < coarse.supports.size(); ++s)
    EXPECT_NEAR(fineResults.supports[s].R.value, coarseResults.supports[s].R.value, 1e-6) << s;
  for (std::size_t b = 1; b < coarse.bars.size(); ++b) {
    EXPECT_NEAR(fineResults.bars[8 * b - 7].Mi.value, coarseResults.bars[b].Mi.value, 1e-6) << b;
    EXPECT_NEAR(fineResults.bars[8 * b].Mj.value, coarseResults.bars[b].Mj.value, 1e-6) << b;
  }

  dir.write("viga3r2.dat", halved(fine).modelText());
  dir.write("viga3r2.caf", "");
  ASSERT_EQ(calcest("viga3r2").status, 0);
  for (const char* stem : {"viga3", "viga3r", "viga3r2"})
    ASSERT_EQ(calcdin(stem, fileOf(stem, kBarRecordsExt), fileOf(stem, kModesExt), "0").status, 0) << stem;
  const double once = lowestFrequency(dir, "viga3r", 25), twice = lowestFrequency(dir, "viga3r2", 49);
  EXPECT_LT(std::fabs(twice - once), 0.01 * once);
  EXPECT_GT(lowestFrequency(dir, "viga3", 4), 1.1 * once) << "one bar per span has not converged";
}

TEST_F(WithCalcest, ExampleBeamGivesTheSameModesFromCalcestRecordsAsFromRecordsWrittenByTheTests) {
  testsupport::copyProject(EXAMPLES_DIR, "viga3", dir);
  RunResult st = calcest("viga3");
  ASSERT_EQ(st.status, 0) << st.output;
  ASSERT_EQ(dir.read("viga3.bar").size(), 3u * 9056);
  dir.write("layout.bar", viga3().recordBytes());
  for (std::string option : {"0", "1", "2"}) {
    RunResult fromCalcest = calcdin("viga3", "viga3.bar", "a.din", option);
    RunResult fromLayout = calcdin("viga3", "layout.bar", "b.din", option);
    ASSERT_EQ(fromCalcest.status, 0) << fromCalcest.output;
    ASSERT_EQ(fromLayout.status, 0) << fromLayout.output;
    EXPECT_EQ(fromCalcest.output, fromLayout.output);
    EXPECT_EQ(dir.read("a.din"), dir.read("b.din")) << "option " << option;
    // Rollers of code 10 leave only the rotations: order 4 with options 0 and 2.
    const std::size_t n = option == "1" ? 12 : 4;
    EXPECT_EQ(testsupport::splitLines(dir.read("a.din")).size(), 2 * n * (n + 3)) << option;
  }
}

TEST_F(WithCalcest, SimplySupportedSpanAnalysedByBothEngines) {
  // 8 m span in 8 bars, E = 3e6, I = 0.0054, A = 0.18, gamma = 2.5, g = 9.806.
  fixtures::BeamModel m = fixtures::horizontalBeam(8, 8.0, 3.0e6, 0.18, 0.0054, 2.5);
  m.supports = {{1, 110, {0, 0}}, {9, 110, {0, 0}}};
  dir.write("span.dat", m.modelText());
  dir.write("span.caf", "");
  RunResult st = calcest("span");
  ASSERT_EQ(st.status, 0) << st.output;
  RunResult dyn = calcdin("span", "span.bar", "span.din", "0");
  ASSERT_EQ(dyn.status, 0) << dyn.output;
  std::vector<std::string> lines = testsupport::splitLines(dir.read("span.din"));
  const int nf = 27 - 4;
  ASSERT_EQ(lines.size(), static_cast<std::size_t>(2 * nf * (nf + 3)));
  const double pi = 3.14159265358979323846, mass = 2.5 / 9.806 * 0.18;
  for (int mode = 1; mode <= 3; ++mode) {
    double f = 0;
    const std::string& line = lines[nf * (nf + 3) + (mode - 1) * (nf + 3) + 1];
    ASSERT_EQ(std::sscanf(line.c_str(), "AUTOVALOR  ciclos/seg.:  %lf", &f), 1) << line;
    const double theory = std::pow(mode * pi / 8.0, 2) * std::sqrt(3.0e6 * 0.0054 / mass) / (2 * pi);
    EXPECT_NEAR(f, theory, 0.01 * theory) << "mode " << mode;
  }
}

TEST_F(WithCalcest, HaunchedExampleFromCalcestRecordsAgreesWithLapack) {
  // examples/viga2h.dat: a haunched bar and a bar with rigid zones and shear
  // deformation, a clamp, a roller (code 10) and a vertical spring (code 20).
  testsupport::copyProject(EXAMPLES_DIR, "viga2h", dir);
  const std::string model = dir.read("viga2h.dat");
  RunResult st = calcest("viga2h");
  ASSERT_EQ(st.status, 0) << st.output;
  const std::string records = dir.read("viga2h.bar");
  // 9 directions; the clamp removes 3 and the roller 2. The spring's vertical
  // direction 8 stays with option 0 (nf = 3) and goes with option 2 (nf = 2); a
  // spring of 50000 is softer than a rigid support, so the first mode is lower.
  double first[2] = {0, 0};
  for (int k = 0; k < 2; ++k) {
    const int nf = 3 - k;
    RunResult dyn = calcdin("viga2h", "viga2h.bar", "viga2h.din", k == 0 ? "0" : "2");
    ASSERT_EQ(dyn.status, 0) << dyn.output;
    EXPECT_NE(dyn.output.find("Cantidad de direcciones libres      :  " + std::to_string(nf) + "  \n"),
              std::string::npos)
        << dyn.output;
    const std::string modes = dir.read("viga2h.din");
    EXPECT_EQ(modes.find("direcci\xF3n: 8 ") != std::string::npos, k == 0);
    const std::string firstInOrder = testsupport::splitLines(modes).at(nf * (nf + 3));
    ASSERT_EQ(std::sscanf(firstInOrder.c_str(), "AUTOVALOR  indice: %*d   direcci\xF3n: %*d   valor: %lf", &first[k]),
              1);
  }
  EXPECT_LT(first[0], first[1]);
  EXPECT_GT(first[0], 0.0);
  for (int option : {0, 1, 2}) {
    calcdin::PairMatrix system = fixtures::solvedSystem(model, records, option);
    std::vector<double> lapack = fixtures::lapackEigenvalues(system);
    calcdin::ModalSolution sol = calcdin::solveGeneralizedJacobi(system);
    ASSERT_EQ(static_cast<std::size_t>(sol.n), lapack.size());
    const double largest = std::max(std::fabs(lapack.front()), std::fabs(lapack.back()));
    for (int q = 1; q <= sol.n; ++q)
      EXPECT_NEAR(sol.lambda[sol.order[q]], lapack[q - 1], 1e-8 * std::fabs(lapack[q - 1]) + 1e-10 * largest)
          << "option " << option << " eigenvalue " << q;
  }
}

// A static run that stops with an error puts no bar record file of its own in
// place: in a folder without an earlier complete run calcdin finds none, says
// so and ends with status 1 for every option, leaving the modes file of its own
// last run as it was.
TEST_F(WithCalcest, AStaticRunThatStoppedWithAnErrorLeavesNoRecordsForCalcdin) {
  struct Edit {
    const char* file;
    std::string from, to;
  };
  struct Failure {
    const char* what;
    std::vector<Edit> edits;
    const char* calcestSays;
  };
  const Failure failures[] = {
      {"load on a bar that does not exist", {{"viga3.caf", "3  1  2.0", "8  1  2.0"}}, "QUE NO EXISTE"},
      // Bar 3 of unknown type 9, unloaded (its loads moved to bar 2, no self
      // weight): node 4 is held only vertically.
      {"unknown bar type, then the zero pivot it causes",
       {{"viga3.dat", "3 3 4 1 1 1 0", "3 3 4 1 1 9 0"},
        {"viga3.dat", "0 0 1 0.0", "0 0 0 0.0"},
        {"viga3.caf", "3  3  0.0  6.0", "2  3  0.0  8.0"},
        {"viga3.caf", "3  1  2.0  4.0", "2  1  2.0  6.0"}},
       "tipob= 9 \nMODELO CON PROBLEMAS"},
      {"support on a node that does not exist",
       {{"viga3.dat", "4  10 0.0", "7  10 0.0"}},
       "ERROR EN NODOS/RESTRICCIONES"},
  };
  const std::string earlierModes = "modos de una ejecuci\xF3n anterior\n";
  for (const Failure& f : failures) {
    SCOPED_TRACE(f.what);
    testsupport::copyProject(EXAMPLES_DIR, "viga3", dir);
    for (const Edit& e : f.edits) {
      std::string text = dir.read(e.file);
      ASSERT_NE(text.find(e.from), std::string::npos) << e.from;
      dir.write(e.file, text.replace(text.find(e.from), e.from.size(), e.to));
    }
    RunResult st = calcest("viga3");
    ASSERT_EQ(st.status, 1);
    ASSERT_NE(st.output.find(f.calcestSays), std::string::npos) << st.output;
    EXPECT_FALSE(dir.exists("viga3.bar"));
    for (std::string option : {"0", "1", "2", "-1", "5"}) {
      dir.write("viga3.din", earlierModes);
      RunResult out = calcdin("viga3", "viga3.bar", "viga3.din", option);
      EXPECT_EQ(out.status, 1) << option;
      EXPECT_EQ(out.output, "ERROR: NO SE PUEDE ABRIR EL FICHERO DE BARRAS viga3.bar\n") << option;
      EXPECT_EQ(dir.read("viga3.din"), earlierModes) << option;
    }
  }
}

// An irregular beam of the benchmark generator (130 bars of 2 to 8 m, supports
// every 5 to 10 nodes) whose reduced system needs more than twenty sweeps.
TEST_F(WithCalcest, IrregularBeamNeedingMoreThanTwentySweepsIsSolved) {
  RunResult made = testsupport::runProgram(MAKE_BEAM, {"--irregular", "4", "130", "b"}, dir.path());
  ASSERT_EQ(made.status, 0) << made.output;
  ASSERT_EQ(calcest("b").status, 0);
  RunResult run = calcdin("b", "b.bar", "b.din", "0");
  ASSERT_EQ(run.status, 0) << run.output.substr(run.output.size() - std::min<std::size_t>(run.output.size(), 200));
  EXPECT_NE(run.output.find("NSW: 21\n"), std::string::npos);

  calcdin::PairMatrix system = fixtures::solvedSystem(dir.read("b.dat"), dir.read("b.bar"), 0);
  std::vector<double> lapack = fixtures::lapackEigenvalues(system);
  std::vector<double> listed;  // the sorted listing is the second half of the file
  for (const std::string& line : testsupport::splitLines(dir.read("b.din"))) {
    double value = 0;
    if (std::sscanf(line.c_str(), "AUTOVALOR  indice: %*d   direcci\xF3n: %*d   valor: %lf", &value) == 1)
      listed.push_back(value);
  }
  ASSERT_EQ(listed.size(), 2 * lapack.size());
  const double largest = std::max(std::fabs(lapack.front()), std::fabs(lapack.back()));
  for (std::size_t q = 0; q < lapack.size(); ++q)
    EXPECT_NEAR(listed[lapack.size() + q], lapack[q], 1e-8 * std::fabs(lapack[q]) + 1e-10 * largest) << q;
}

// A modulus of 1e160 is no input error, and calcest solves the beam, but the
// sweeps square its stiffness beyond the range of the doubles: the run is
// refused naming the mode, with no modes file of "nan" put in place.
TEST_F(WithCalcest, ModesBeyondTheRangeOfTheDoublesAreRefusedNamingTheMode) {
  fixtures::BeamModel m = viga3();
  m.materials = {{1e160, 1.04e6, 2.5}};
  dir.write("e.dat", m.modelText());
  dir.write("e.caf", "");
  ASSERT_EQ(calcest("e").status, 0);
  for (std::string option : {"0", "1", "2"}) {
    RunResult run = calcdin("e", "e.bar", "e.din", option);
    EXPECT_EQ(run.status, 1) << option;
    EXPECT_NE(
        run.output.find("ERROR: EL MODO 1 NO ES UN N\xDAMERO FINITO: REVISE E, G, A, I Y LA MASA DE LAS BARRAS\n"),
        std::string::npos)
        << run.output;
    EXPECT_FALSE(dir.exists("e.din"));
  }
}
