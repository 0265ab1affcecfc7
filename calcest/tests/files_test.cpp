// Layout of the result and trace files, and the bar record file read back
// field by field by a reader of its own.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <regex>
#include <set>

#include "calcest/tests/beam_models.h"
#include "common/file_names.h"

using namespace common;
using namespace beams;
using testsupport::ScratchDir;
using testsupport::splitLines;

namespace {
bool matches(const std::string& line, const char* pattern) { return std::regex_match(line, std::regex(pattern)); }
}  // namespace

// The two-span beam under its uniform loads, analysed once per test.
class TwoSpanRun : public testing::Test {
 protected:
  void SetUp() override {
    auto run = runCalcest(dir, twoSpanBeam(), kUniformLoads);
    ASSERT_EQ(run.status, 0) << run.output;
  }
  ScratchDir dir;
};

TEST_F(TwoSpanRun, DiagramGanAndDefHoldFortyOneStations) {
  auto fmc = splitLines(dir.read("m.fmc"));
  ASSERT_EQ(fmc.size(), 42u);
  EXPECT_EQ(fmc[0], " PRUEBA  1   0  41 ");
  // X, deflection, M, V at the first support (M and deflection only penalty-sized).
  EXPECT_TRUE(matches(fmc[1], R"(   0\.000 [- ]0\.000    [- ]0\.0000    18\.7500 )")) << fmc[1];
  EXPECT_TRUE(matches(fmc[21], R"( +5\.000 +-?0\.000 +-31\.2500 +-31\.2500 )")) << fmc[21];
  EXPECT_TRUE(matches(fmc[41], R"( +10\.000 .*)")) << fmc[41];
  for (const char* side : {"m.gan", "m.def"}) {
    auto lines = splitLines(dir.read(side));
    ASSERT_EQ(lines.size(), 42u) << side;
    EXPECT_EQ(lines[0], " 41 ");
    for (size_t k = 1; k < lines.size(); ++k)
      EXPECT_TRUE(matches(lines[k], R"( +\d+\.\d{3} {4} +-?\d+\.\d{8} {7} +-?\d+\.\d{8} )"))
          << side << ": " << lines[k];
  }
}

TEST(ResultFiles, ResultsFileLinesHaveTheirLayouts) {
  ScratchDir dir;
  auto run = runCalcest(dir, twoSpanBeam(), kUniformLoads);
  ASSERT_EQ(run.status, 0) << run.output;
  auto lines = splitLines(dir.read("m.res"));
  ASSERT_EQ(lines.size(), 1u + 3 + 2 + 3);
  EXPECT_EQ(lines[0], "   PRUEBA   1    0 ");
  // Supported nodes: deflections of the penalty's size only.
  for (int k = 1; k <= 3; ++k) EXPECT_TRUE(matches(lines[k], R"( \d       -0\.0000\d\d       )")) << lines[k];
  // Bar lines: index, nodes, then Mstart, Mend, Vstart, Vend with signs, width 15.
  for (int k = 4; k <= 5; ++k) {
    EXPECT_EQ(lines[k].size(), 89u) << lines[k];
    EXPECT_TRUE(matches(lines[k], R"(    \d      \d   \d     ( *[+-]\d+\.\d{6}) ( *[+-]\d+\.\d{6})    )"
                                  R"(( *[+-]\d+\.\d{6})  ( *[+-]\d+\.\d{6}) )"))
        << lines[k];
  }
  // Bar 1: no moment at the outer support, -w l^2 / 8 = -31.25 over the middle one.
  auto bar1 = numbers(lines[4]);
  EXPECT_NEAR(bar1[3], 0.0, 1e-5);
  EXPECT_NEAR(bar1[4], -31.25, 1e-5);
  EXPECT_NEAR(bar1[5], 18.75, 1e-5);
  EXPECT_NEAR(bar1[6], -31.25, 1e-5);
  for (int k = 6; k <= 8; ++k) EXPECT_TRUE(matches(lines[k], R"(     \d  \d\d\.\d{6}  0\.000000)")) << lines[k];
  EXPECT_NEAR(numbers(lines[7])[1], 62.5, 1e-5);
}

TEST(ResultFiles, BarDrawnRightToLeftIsListedWithItsNodesSwapped) {
  // Inclined bar from node 2 (4, 3) down to node 1 (0, 0): orient 4. A vertical
  // load of 1 per horizontal metre on a simply supported inclined span gives
  // w a^2 / 8 = 2 at mid-span and no end moments; on a bar drawn leftward the
  // diagram keeps the local sign, M = Mstart - x Vstart + M0 = -2.
  ScratchDir dir;
  auto run = runCalcest(dir, inclinedSpan(2, 1), kInclinedLoad);
  ASSERT_EQ(run.status, 0) << run.output;
  auto lines = splitLines(dir.read("m.res"));
  auto values = numbers(lines[3]);
  ASSERT_EQ(values.size(), 7u) << lines[3];
  EXPECT_EQ(values[1], 1);  // left end first
  EXPECT_EQ(values[2], 2);
  EXPECT_TRUE(matches(lines[3], R"(    1      1   2  +[-+]0\.\d{6} +[-+]0\.\d{6}    +-?\d+\.\d{6}  +-?\d+\.\d{6} )"))
      << lines[3];
  EXPECT_NEAR(values[3], 0.0, 1e-5);
  EXPECT_NEAR(values[4], 0.0, 1e-5);
  auto fmc = splitLines(dir.read("m.fmc"));
  EXPECT_NEAR(numbers(fmc[11]).at(2), -2.0, 1e-4) << fmc[11];
}

TEST(ResultFiles, GanShowsTwoRotationsAtAHingeOnly) {
  // Bar 1 fixed at node 1, bar 2 hinged at its start (type 2) over node 2.
  ScratchDir dir;
  Model m = straightBeam({0.0, 5.0, 10.0});
  m.bars[1] = bar(2, 2, 3, 2);
  m.supports = {"1  111 0.0 0.0 0.0", "2  10 0.0", "3  10 0.0"};
  auto run = runCalcest(dir, m, "2  3  0.0  5.0  0.0  -10.0 y\n");
  ASSERT_EQ(run.status, 0) << run.output;
  auto gan = splitLines(dir.read("m.gan"));
  ASSERT_EQ(gan.size(), 42u);
  for (size_t k = 1; k < gan.size(); ++k) {
    auto v = numbers(gan[k]);
    if (k == 21) {
      // Bar 2 alone carries the load as a simple span: node 3 turns by
      // w l^3 / (24 EI); the hinged bar's curve, interpolating its end values
      // only, leaves node 2 at minus half of that. Bar 1 holds node 2 still.
      EXPECT_NEAR(v[1], 0.0, 1e-7);
      EXPECT_NEAR(v[2], -0.5 * 10.0 * 125 / (24 * 1000.0), 1e-6);
    } else {
      EXPECT_EQ(v[1], v[2]) << gan[k];
    }
  }
}

TEST_F(TwoSpanRun, TracesHoldSixtyFourPivotLinesAndTheirMatrices) {
  auto tst = splitLines(dir.read("m.tst"));
  ASSERT_EQ(tst.size(), 64u);
  EXPECT_TRUE(matches(tst[0], R"( paso: 1  fila: 1  sr: \d+\.\d{6}  s: \d+\.\d{6}  sr/s: 1\.000000)")) << tst[0];
  EXPECT_TRUE(tst[63].rfind(" paso: 8  fila: 8  sr: ", 0) == 0) << tst[63];
  EXPECT_EQ(splitLines(dir.read("m.kra")).size(), 72u);
  EXPECT_EQ(splitLines(dir.read(kCondensedMatrixTrace)).size(), 2u * 108);
  EXPECT_EQ(splitLines(dir.read(kAssemblyTrace)).size(), 42u);
  EXPECT_EQ(splitLines(dir.read(kAssemblyTrace1)).size(), 9u * 7);
  EXPECT_EQ(splitLines(dir.read(kBackSubstitutionTrace)).size(), 9u * 7);
  // Load vector before supports: w l / 2 at node 1, w l at node 2, and the
  // fixed-end moments -+ w l^2 / 12.
  auto esf = splitLines(dir.read(kLoadVectorTrace));
  ASSERT_EQ(esf.size(), 9u);
  EXPECT_EQ(esf[1], " f[2]= -25.000000");
  EXPECT_EQ(esf[2], " f[3]= -20.833333");
  EXPECT_EQ(esf[4], " f[5]= -50.000000");
  EXPECT_EQ(esf[5], " f[6]= 0.000000");
  // Two type-1 bars: 8 lines plus 21 stations each.
  auto art = splitLines(dir.read(kEndDisplacementTrace));
  ASSERT_EQ(art.size(), 58u);
  EXPECT_EQ(art[0], " ********* BARRA 1  TIPO 1");
  EXPECT_EQ(art[8].rfind(" defy ", 0), 0u);
  auto caldef = dir.read(kEliminationTrace);
  EXPECT_EQ(caldef.rfind(" ****** PRIMERA ******** *** c1: ", 0), 0u);
  EXPECT_NE(caldef.find(" ****** SEGUNDA ******** f[9]: "), std::string::npos);
}

TEST(TraceFiles, UnsupportedNodeStopsAtItsFirstFreedomWithTheZeroPivotMessages) {
  ScratchDir dir;
  Model other = straightBeam({0.0, 5.0, 10.0}, 2000.0);  // stiffer: other traces
  other.supports = twoSpanBeam().supports;
  ASSERT_EQ(runCalcest(dir, other, kUniformLoads).status, 0);
  const auto earlier = testsupport::folderContents(dir.path());
  Model m = twoSpanBeam();
  m.nodes.push_back("4 20.0 0.0");  // reached by no bar, held by no support
  auto run = runCalcest(dir, m, kUniformLoads);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.output,
            "  Presione una tecla para continuar\nMODELO CON PROBLEMAS(VERIFICAR)\ns[10,1]= 0.000000  \n"
            " PRESIONE UNA TECLA PARA TERMINAR EL PROGRAMA ANORMALMENTE");
  // The traces written up to the failing step are this run's; the results,
  // and the traces it never reached, are those of the last complete run.
  const std::set<std::string> reached = {"m.kra",        "m.tst",         kLoadVectorTrace,  kCondensedMatrixTrace,
                                         kAssemblyTrace, kAssemblyTrace1, kEliminationTrace, "m.dat"};
  auto now = testsupport::folderContents(dir.path());
  ASSERT_EQ(now.size(), earlier.size());
  for (const auto& [name, content] : earlier) EXPECT_EQ(now[name] != content, reached.count(name) == 1) << name;
  // The pivot trace stops at the failing step.
  auto tst = splitLines(dir.read("m.tst"));
  EXPECT_EQ(tst.size(), 10u * 11);
}

TEST(BarRecordFile, IndependentReaderFindsFieldsAtTheirOffsets) {
  ScratchDir dir;
  Model m = straightBeam({0.0, 5.0, 10.0});
  m.bars[1] = bar(7, 2, 3, 3, "0.8 0.1 0.1 0 2.0");  // label 7, hinge at J, zones, haunch
  m.supports = {"1  110 0.0 0.0", "2  10 0.0", "3  111 0.0 0.0 0.0"};
  auto run =
      runCalcest(dir, m, kUniformLoads.substr(0, kUniformLoads.find('\n') + 1) + "7  1  2.0  3.0  0.0  -4.0 y\n");
  ASSERT_EQ(run.status, 0) << run.output;
  std::string bytes = dir.read("m.bar");
  ASSERT_EQ(bytes.size(), 2u * 9056);
  RecordBytes b(bytes, 2);
  EXPECT_EQ(b.integer(0), 2);   // index
  EXPECT_EQ(b.integer(4), 7);   // label
  EXPECT_EQ(b.integer(16), 2);  // nodeI
  EXPECT_EQ(b.integer(20), 3);  // nodeJ
  EXPECT_EQ(b.integer(32), 3);  // type
  EXPECT_EQ(b.integer(40), 3);  // type again
  EXPECT_EQ(b.integer(44), 0);
  EXPECT_EQ(b.real(48), 0.8);            // aclx
  EXPECT_EQ(b.real(56), 0.1);            // ablx
  EXPECT_EQ(b.real(80), 2.0);            // taper
  EXPECT_EQ(b.real(128), 3.75);          // I of the haunch: 1 * 3.75
  EXPECT_EQ(b.real(152), 5.0);           // L
  EXPECT_EQ(b.real(160), 1.0);           // cos
  EXPECT_EQ(b.integer(176), 2);          // horizontal
  EXPECT_EQ(b.real(184 + 8 * 20), 5.0);  // xs[20]
  EXPECT_EQ(b.real(184 + 8 * 10), 2.5);  // xs[10]
  EXPECT_EQ(b.real(2208), 0.6 * 1.5);    // h of the haunch
  // Local type-1 matrix (2,2): 12 E I / l^3 with l = 0.8 L = 4, E I = 3750.
  EXPECT_NEAR(b.matrix(2224, 2, 2), 12 * 3750.0 / 64, 1e-9);
  EXPECT_EQ(b.matrix(2224, 0, 0), 0.0);
  // Type-3 matrix without zones: rotation at J released; with zones the arm
  // aj = 0.5 turns it into aj^2 K55 = 0.25 * 3 E I / l^3.
  EXPECT_EQ(b.matrix(3008, 6, 6), 0.0);
  EXPECT_NEAR(b.matrix(4576 + 2 * 392, 6, 6), 0.25 * 3 * 3750.0 / 64, 1e-9);
  EXPECT_EQ(b.matrix(6928, 2, 3), 0.5);   // C: ai
  EXPECT_EQ(b.matrix(6928, 5, 6), -0.5);  // C: -aj
  // Point force 4 down at a = 2, b = 3 on a type-3 bar (L = 5):
  // VI = P b (3L^2 - b^2) / (2 L^3) = -4 * 3 * 66 / 250, MI = P b (L^2 - b^2) / (2 L^2) = -4 * 3 * 16 / 50.
  EXPECT_NEAR(b.real(7712 + 8 * 2), -4.0 * 3 * 66 / 250, 1e-12);  // eqLocal VI
  EXPECT_NEAR(b.real(7768 + 8 * 3), 4.0 * 3 * 16 / 50, 1e-12);    // fixedEnd MI
  EXPECT_NEAR(b.real(7824 + 8 * 5), -4.0 * 4 * 13 / 250, 1e-12);  // eqGlobal VJ = P a^2 (3L - a) / (2L^3)
  EXPECT_EQ(b.matrix(8272, 1, 1), 1.0);                           // T
  EXPECT_EQ(b.matrix(8664, 3, 3), 1.0);                           // T transposed
  // The first record is bar 1.
  RecordBytes first(bytes, 1);
  EXPECT_EQ(first.integer(0), 1);
  EXPECT_EQ(first.integer(4), 1);
}

// A full disk: the files other programs read must not be left cut while the run
// reports success. The disk holds a copy of the model and has no room left.
TEST(ResultFiles, AResultFileThatCannotBeWrittenInFullEndsTheRunWithStatusOne) {
  struct Case {
    std::vector<std::string> args;
    const char* named;
  };
  const Case cases[] = {
      {{"m.dat", "lleno/m.res", "m.caf", "m.fmc", "m.bar", "0"}, "lleno/m.res"},
      {{"m.dat", "m.res", "m.caf", "lleno/m.fmc", "m.bar", "0"}, "lleno/m.fmc"},
      {{"m.dat", "m.res", "m.caf", "m.fmc", "lleno/m.bar", "0"}, "lleno/m.bar"},
      {{"lleno/m.dat", "m.res", "m.caf", "m.fmc", "m.bar", "0"}, "lleno/m.kar"},  // beside the model
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.named);
    ScratchDir dir, model;
    model.write("m.dat", twoSpanBeam().text());
    testsupport::FullDisk disk(model.path(), dir.file("lleno"), 0);
    if (!disk.mounted()) GTEST_SKIP() << "no disk of its own can be mounted here";
    dir.write("m.dat", twoSpanBeam().text());
    dir.write("m.caf", kUniformLoads);
    auto run = testsupport::runProgram(CALCEST_BINARY, c.args, dir.path());
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.output, std::string("  Presione una tecla para continuar\nERROR: NO SE PUDO ESCRIBIR EL FICHERO ") +
                              c.named + "\n");
  }
}
