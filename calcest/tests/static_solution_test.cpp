// The analysis in memory gives what calcest writes, superposes, and leaves no
// file behind.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>

#include "calcest/tests/beam_models.h"
#include "common/file_handle.h"
#include "common/run_error.h"
#include "calcest/static_solution.h"

using namespace common;

using namespace beams;
using calcest::StaticCase;
using calcest::StaticSolution;
using testsupport::ScratchDir;

namespace {

struct Project {
  ModelData model;
  std::vector<calcest::LoadOnBar> loads;
};

Project readProject(const ScratchDir& dir, const std::string& stem) {
  Project p;
  const std::string modelFile = fileOf(stem, kModelExt), loadsFile = fileOf(stem, kLoadsExt);
  FileHandle dat(std::fopen(dir.file(modelFile).c_str(), "r")), caf(std::fopen(dir.file(loadsFile).c_str(), "r"));
  Scanner model(dat.get(), modelFile), loads(caf.get(), loadsFile);
  p.model = ModelReader(model).readModel();
  p.loads = calcest::readBarLoads(loads, p.model.bars);
  return p;
}

// Within the last printed decimal of the results file.
void expectPrinted(double printed, double value) { EXPECT_NEAR(printed, value, 1e-6 + 1e-9 * std::fabs(value)); }

class InMemory : public ::testing::TestWithParam<const char*> {};

TEST_P(InMemory, GivesTheResultsCalcestWrites) {
  const std::string stem = GetParam();
  ScratchDir dir;
  testsupport::copyProject(EXAMPLES_DIR, stem, dir);
  ASSERT_EQ(runCalcestOn(dir, stem).status, 0);
  const Project p = readProject(dir, stem);
  const ModelHeader& h = p.model.header;
  StaticCase all;
  all.loads = p.loads;
  all.selfWeight = h.selfWeight == 1;
  const StaticSolution s = calcest::solveStatic(p.model, all);
  const Results res = parseResults(dir.read(fileOf(stem, kResultsExt)), h.nn, h.nb, h.nsup);
  const double scale = unitConstantsFor(h.unitCode).scale;
  for (int k = 1; k <= h.nn; ++k) expectPrinted(res.nodeUy[k - 1], scale * s.nodes[k].uy);
  for (int i = 1; i <= h.nb; ++i) {
    const calcest::BarEnds& e = s.bars[i].ends;
    const double expected[] = {e.Mstart, e.Mend, e.Vstart, e.Vend};
    for (int v = 0; v < 4; ++v) expectPrinted(res.bars[i - 1].at(3 + v), expected[v]);
  }
  for (int k = 1; k <= h.nsup; ++k) {
    expectPrinted(res.supports[k - 1].at(1), s.reactions[k].Ry);
    expectPrinted(res.supports[k - 1].at(2), s.reactions[k].M);
  }
}

INSTANTIATE_TEST_SUITE_P(Examples, InMemory, ::testing::Values("viga3", "viga2h"));

// Two spans on a pin and two rollers with a settlement of the middle support
// and a nodal load: the case of all of it is the sum of the permanent part
// (settlement, nodal load, first span's load) and the variable part alone.
TEST(InMemory, CasesAddUpAndNoFileIsWritten) {
  ScratchDir dir;
  Model m = twoSpanBeam();
  m.supports[1] = "2  10 -0.002";
  m.nodalLoads = {"3 1 0.0 2 -7.0 3 0.0"};
  dir.write("m.dat", m.text());
  dir.write("m.caf", kUniformLoads);
  const Project p = readProject(dir, "m");
  StaticCase all, permanent, variable;
  all.loads = p.loads;
  permanent.loads = {p.loads[0]};
  variable.loads = {p.loads[1]};
  variable.nodalLoads = variable.prescribed = false;

  const std::string here = std::filesystem::current_path();
  ASSERT_EQ(chdir(dir.path().c_str()), 0);
  const StaticSolution sum = calcest::solveStatic(p.model, all), g = calcest::solveStatic(p.model, permanent),
                       q = calcest::solveStatic(p.model, variable);
  ASSERT_EQ(chdir(here.c_str()), 0);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2);  // m.dat and m.caf

  EXPECT_NEAR(sum.nodes[2].uy, -0.002, 1e-7);  // penalty supports: about 1e-6 of the free deflection
  EXPECT_NEAR(q.nodes[2].uy, 0.0, 1e-7);
  for (int k = 1; k <= 3; ++k) {
    EXPECT_NEAR(sum.nodes[k].rot, g.nodes[k].rot + q.nodes[k].rot, 1e-9);
    EXPECT_NEAR(sum.reactions[k].Ry, g.reactions[k].Ry + q.reactions[k].Ry, 1e-6);
  }
  for (int i = 1; i <= 2; ++i)
    EXPECT_NEAR(sum.bars[i].ends.Mstart, g.bars[i].ends.Mstart + q.bars[i].ends.Mstart, 1e-6);
  // The variable load alone on a continuous two-span beam: 7/16 wl at the near
  // support, 1/16 wl downward pull at the far one (closed form).
  EXPECT_NEAR(q.reactions[3].Ry, 10.0 * 5.0 * 7.0 / 16.0, 1e-4);
  EXPECT_NEAR(q.reactions[1].Ry, -10.0 * 5.0 / 16.0, 1e-4);
}

// Bar 2 of a type without stiffness leaves node 3 free to move sideways: the
// analysis stops where calcest does, with its words but no key to wait for,
// and the folder it ran in is as it was.
TEST(InMemory, AZeroPivotStopsItWithNoFileTouched) {
  ScratchDir dir;
  Model m = twoSpanBeam();
  m.bars[1] = bar(2, 2, 3, 9);
  dir.write("m.dat", m.text());
  dir.write("m.caf", kUniformLoads.substr(0, kUniformLoads.find('\n') + 1));
  const Project p = readProject(dir, "m");
  const testsupport::FolderContents before = testsupport::folderContents(dir.path());

  const std::string here = std::filesystem::current_path();
  ASSERT_EQ(chdir(dir.path().c_str()), 0);
  std::string text = "(none)";
  bool keyWait = true;
  try {
    calcest::solveStatic(p.model, StaticCase{p.loads});
  } catch (const RunError& error) {
    text = error.text;
    keyWait = error.waitForKey;
  }
  ASSERT_EQ(chdir(here.c_str()), 0);
  EXPECT_EQ(text,
            "MODELO CON PROBLEMAS(VERIFICAR)\ns[7,1]= 0.000000  \n"
            " PRESIONE UNA TECLA PARA TERMINAR EL PROGRAMA ANORMALMENTE");
  EXPECT_FALSE(keyWait);
  EXPECT_TRUE(testsupport::changesSince(before, dir.path()).empty());
}

}  // namespace
