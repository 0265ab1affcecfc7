// Envelope computation and the envelope result files.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <functional>
#include <iterator>

#include "common/file_names.h"
#include "envolventes/engine/tests/engine_runner.h"
#include "envolventes/engine/tests/project_files.h"
#include "envolventes/engine/project_reader.h"

using namespace common;

using namespace envelope;
using testsupport::ScratchDir;
using testsupport::splitLines;

namespace {

const char* const kProjects[] = {"env_a", "env_b", "env_c"};

bool analyseExamples(const ScratchDir& dir) {
  return testsupport::analyseEnvelopeExamples(CALCEST_BINARY, EXAMPLES_DIR, dir);
}

double maxOf0(double a, double b) { return std::max({0.0, a, b}); }
double minOf0(double a, double b) { return std::min({0.0, a, b}); }

// The envelope of the three example projects as calcest analysed them.
class EnvelopeOfCalcestProjects : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!analyseExamples(dir)) GTEST_SKIP() << "calcest not built";
    r.run(dir, {"env_a", "env_b", "env_c"});
    ASSERT_EQ(r.outcome, RunOutcome::Completed);
  }
  ScratchDir dir;
  EngineRun r;
};

}  // namespace

TEST_F(EnvelopeOfCalcestProjects, PointNodeBarAndSupportEnvelopesAreTheMaxAndMinOfTheProjectFiles) {
  ASSERT_TRUE(r.sink.messages.empty());

  // Independent reading of the diagram and results files.
  std::vector<double> dMax(41, 0), dMin(41, 0), mMax(41, 0), mMin(41, 0), qMax(41, 0), qMin(41, 0);
  std::vector<double> nMax(4, 0), nMin(4, 0), rMax(4, 0), rMin(4, 0);
  std::vector<std::array<double, 4>> bMax(3, {0, 0, 0, 0}), bMin(3, {0, 0, 0, 0});
  for (const char* p : kProjects) {
    auto fmc = splitLines(dir.read(std::string(p) + kDiagramExt));
    ASSERT_EQ(numbersOf(fmc[0]).back(), 41);
    for (int P = 0; P <= 40; ++P) {
      auto v = numbersOf(fmc[1 + P]);
      dMax[P] = maxOf0(dMax[P], v[1]), dMin[P] = minOf0(dMin[P], v[1]);
      mMax[P] = maxOf0(mMax[P], v[2]), mMin[P] = minOf0(mMin[P], v[2]);
      qMax[P] = maxOf0(qMax[P], v[3]), qMin[P] = minOf0(qMin[P], v[3]);
    }
    auto res = splitLines(dir.read(std::string(p) + kResultsExt));
    for (int n = 1; n <= 3; ++n) {
      double v = numbersOf(res[n])[1];
      nMax[n] = maxOf0(nMax[n], v), nMin[n] = minOf0(nMin[n], v);
    }
    for (int b = 1; b <= 2; ++b) {
      auto v = numbersOf(res[3 + b]);
      for (int k = 0; k < 4; ++k) bMax[b][k] = maxOf0(bMax[b][k], v[3 + k]), bMin[b][k] = minOf0(bMin[b][k], v[3 + k]);
    }
    for (int s = 1; s <= 3; ++s) {
      double v = numbersOf(res[5 + s])[1];
      rMax[s] = maxOf0(rMax[s], v), rMin[s] = minOf0(rMin[s], v);
    }
  }
  const PointEnvelopes& e = r.state.points;
  for (int P = 0; P <= 40; ++P) {
    SCOPED_TRACE(P);
    EXPECT_NEAR(e.DeflectionMax[P], dMax[P], 1e-6);
    EXPECT_NEAR(e.DeflectionMin[P], dMin[P], 1e-6);
    EXPECT_NEAR(e.MomentMaxLeft[P], mMax[P], 1e-5);
    EXPECT_NEAR(e.MomentMinLeft[P], mMin[P], 1e-5);
    EXPECT_NEAR(e.ShearMaxLeft[P], qMax[P], 1e-5);
    EXPECT_NEAR(e.ShearMinLeft[P], qMin[P], 1e-5);
  }
  for (int n = 1; n <= 3; ++n) {
    EXPECT_NEAR(r.state.nodeDeflectionMax[n].value, nMax[n], 1e-6);
    EXPECT_NEAR(r.state.nodeDeflectionMin[n].value, nMin[n], 1e-6);
  }
  for (int b = 1; b <= 2; ++b) {
    const BarEndForces &mx = r.state.barForcesMax[b], &mn = r.state.barForcesMin[b];
    EXPECT_NEAR(mx.Mi, bMax[b][0], 1e-5);
    EXPECT_NEAR(mn.Mi, bMin[b][0], 1e-5);
    EXPECT_NEAR(mx.Mj, bMax[b][1], 1e-5);
    EXPECT_NEAR(mn.Mj, bMin[b][1], 1e-5);
    EXPECT_NEAR(mx.Qi, bMax[b][2], 1e-5);
    EXPECT_NEAR(mn.Qi, bMin[b][2], 1e-5);
    EXPECT_NEAR(mx.Qj, bMax[b][3], 1e-5);
    EXPECT_NEAR(mn.Qj, bMin[b][3], 1e-5);
  }
  for (int s = 1; s <= 3; ++s) {
    EXPECT_NEAR(r.state.reactionMax[s].R, rMax[s], 1e-5);
    EXPECT_NEAR(r.state.reactionMin[s].R, rMin[s], 1e-5);
  }
  // The beam of the examples: supports of 5.175 (both spans loaded, 3qL/8 with
  // q = 2.3) at most at the right end, and the middle support reaction
  // 5qL/4 = 17.25 is the largest of all.
  EXPECT_NEAR(r.state.reactionMax[3].R, 5.175, 1e-4);
  EXPECT_NEAR(r.state.reactionMax[2].R, 17.25, 1e-4);
  EXPECT_NEAR(r.state.extremes.momentMin, -10.35, 1e-4);  // -qL^2/8 over the middle support

  // The report holds the same envelopes, node by node and point by point.
  auto report = splitLines(dir.read("E.res"));
  EXPECT_EQ(report[0], " NODO  Flechas[mm]:  M\xE1xima  M\xEDnima");
  for (int n = 1; n <= 3; ++n) {
    auto v = numbersOf(report[n]);
    EXPECT_EQ(v[0], n);
    EXPECT_NEAR(v[1], nMax[n], 1e-6);
    EXPECT_NEAR(v[2], nMin[n], 1e-6);
  }
  auto header =
      std::find(report.begin(), report.end(), " Coordenada[m]  flecha m\xE1xima[mm]  ////  flecha m\xEDnima[mm]");
  ASSERT_NE(header, report.end());
  ASSERT_EQ(report.end() - header, 42);
  for (int P = 0; P <= 40; ++P) {
    auto v = numbersOf(header[1 + P]);
    EXPECT_NEAR(v[0], 0.3 * P, 1e-6);
    EXPECT_NEAR(v[1], dMax[P], 1e-6);
    EXPECT_NEAR(v[2], dMin[P], 1e-6);
  }
}

TEST_F(EnvelopeOfCalcestProjects, ForceTableIsTheStrictMaxAndMinOfTheProjectTables) {
  std::vector<std::array<double, 12>> expect(41);
  for (auto& row : expect) row.fill(0);
  for (const char* p : kProjects) {
    auto lines = splitLines(dir.read(std::string(p) + kForceTableExt));
    for (int i = 0; i <= 40; ++i) {
      auto v = numbersOf(lines[1 + i]);
      for (int c = 0; c < 6; ++c) {
        expect[i][2 * c] = std::max(expect[i][2 * c], v[2 + c]);
        expect[i][2 * c + 1] = std::min(expect[i][2 * c + 1], v[2 + c]);
      }
    }
  }
  auto out = splitLines(dir.read("E.esf"));
  ASSERT_EQ(out.size(), 84u);
  for (int i = 0; i <= 40; ++i) {
    SCOPED_TRACE(i);
    auto shear = numbersOf(out[1 + i]);
    auto moment = numbersOf(out[43 + i]);
    const auto& e = expect[i];
    // Qi max, Qd max, Qi min, Qd min, CC max, CC min; then the moment columns.
    double shearWant[] = {e[0], e[2], e[1], e[3], e[8], e[9]};
    double momentWant[] = {e[4], e[6], e[5], e[7], e[10], e[11]};
    for (int c = 0; c < 6; ++c) {
      EXPECT_NEAR(shear[1 + c], shearWant[c], 1e-6);
      EXPECT_NEAR(moment[1 + c], momentWant[c], 1e-6);
    }
  }
}

TEST(EnvelopeRules, ConcentratedMomentAndForce_GiveRightSideValuesOnlyWhereTheyAct) {
  HandProject p;
  p.cafLines = {"1  2  5.0  5.0  0.0  10.0 y", "1  1  2.5  7.5  0.0  -4.0 y", "1  1  2.5  7.5  0.0  -1.0 y"};
  p.reactions = {{6.0f, 0}, {7.0f, 0}};
  p.point = [](int P, float) {
    return std::array<float, 3>{0, P == 10 ? 25.0f : 1.0f, P == 5 ? 2.0f : (P == 20 ? -3.0f : 0.5f)};
  };
  EngineRun r;
  r.runOne(p);
  ASSERT_EQ(r.outcome, RunOutcome::Completed);
  const PointEnvelopes& e = r.state.points;
  EXPECT_FLOAT_EQ(e.MomentMaxRight[10], 35.0f);  // 25 - (-10)
  EXPECT_FLOAT_EQ(e.MomentMaxLeft[10], 25.0f);
  EXPECT_FLOAT_EQ(e.ShearMinRight[5], -3.0f);  // 2 + (-4) + (-1)
  EXPECT_FLOAT_EQ(e.ShearMaxRight[5], 0.0f);
  // The first support: its reaction alone, the point's value being already right of it.
  EXPECT_FLOAT_EQ(e.ShearMaxRight[0], 6.0f);
  // A support at the last point gives no right-side shear.
  EXPECT_FLOAT_EQ(e.ShearMaxRight[20], 0.0f);
  EXPECT_FLOAT_EQ(e.ShearMinRight[20], 0.0f);
  for (int P : {1, 4, 6, 9, 11, 19}) {
    EXPECT_FLOAT_EQ(e.MomentMaxRight[P], 0.0f) << P;
    EXPECT_FLOAT_EQ(e.ShearMaxRight[P], 0.0f) << P;
    EXPECT_FLOAT_EQ(e.ShearMinRight[P], 0.0f) << P;
  }
  EXPECT_FLOAT_EQ(r.state.extremes.momentMax, 35.0f);
  EXPECT_FLOAT_EQ(r.state.extremes.shearMin, -3.0f);
  EXPECT_FLOAT_EQ(r.state.extremes.shearMax, 6.0f);
}

TEST(EnvelopeRules, RangesScalesAndTheLargestDifference) {
  ScratchDir dir;
  HandProject a;  // deflection -4 everywhere, shear 0 everywhere
  a.point = [](int, float) { return std::array<float, 3>{-4.0f, 50.0f, 0.0f}; };
  HandProject b;  // deflection from -1 to +3
  b.point = [](int P, float) { return std::array<float, 3>{P < 10 ? -1.0f : 3.0f, 10.0f, 0.0f}; };
  HandProject c;  // deflection 0 to +2: a smaller difference than before
  c.point = [](int P, float) { return std::array<float, 3>{P < 10 ? 0.0f : 2.0f, -100.0f, 0.0f}; };
  c.unitSystem = 1;
  writeProject(dir, "a", a);
  writeProject(dir, "b", b);
  writeProject(dir, "c", c);
  EngineRun r;
  r.run(dir, {"a", "b"});
  ASSERT_EQ(r.outcome, RunOutcome::Completed);
  EXPECT_FLOAT_EQ(r.state.projectScales.deflectionRange, 4.0f);
  EXPECT_FLOAT_EQ(r.state.extremes.deflectionSpan, 4.0f);
  EXPECT_FLOAT_EQ(r.state.extremes.deflectionMax, 3.0f);
  EXPECT_FLOAT_EQ(r.state.extremes.deflectionMin, -4.0f);
  EXPECT_FLOAT_EQ(r.state.projectScales.shearRange, 20.0f);  // fallback, tonnes
  EXPECT_FLOAT_EQ(r.state.projectScales.shearScale, 10.0f);
  // Largest moment scale: 200 / 10 of project b; ordinates use half of it.
  EXPECT_FLOAT_EQ(r.state.largestScales.momentScaleMax, 20.0f);
  EXPECT_EQ(r.state.ordinates.MomentMaxLeftY[3], 500);  // 50 * 10
  // Deflection scale 100 / 4 = 25 in both projects; ordinates use 12.5.
  EXPECT_EQ(r.state.ordinates.DeflectionMinY[3], -50);
  EXPECT_EQ(r.state.ordinates.DeflectionMaxY[15], 37);  // 37.5 truncated

  EngineRun second;
  second.state = std::move(r.state);
  second.run(dir, {"c"});  // a later run combines with what is held
  ASSERT_EQ(second.outcome, RunOutcome::Completed);
  EXPECT_FLOAT_EQ(second.state.extremes.deflectionSpan, 4.0f);
  EXPECT_FLOAT_EQ(second.state.projectScales.shearRange, 2.0f);  // fallback, kilonewtons
  EXPECT_FLOAT_EQ(second.state.points.MomentMaxLeft[3], 50.0f);
  EXPECT_FLOAT_EQ(second.state.points.MomentMinLeft[3], -100.0f);
  EXPECT_FLOAT_EQ(second.state.extremes.momentMin, -100.0f);
}

TEST(EnvelopeFiles, EmptyProjectList_GivesTheZeroFiles) {
  ScratchDir dir;
  EngineRun r;
  r.run(dir, {});
  ASSERT_EQ(r.outcome, RunOutcome::Completed);
  const std::string zeroRow = " 0.000000   0.000000//0.000000   ////  0.000000//0.000000  ////  0.000000//0.000000\n";
  EXPECT_EQ(
      dir.read("E.esf"),
      " Coordenada[m]  Qi(m\xE1x)//Qd(m\xE1x)   /////   Qi(m\xEDn)//Qd(m\xEDn)    CC(m\xE1x)//CC(m\xEDn)\n" + zeroRow +
          " Coordenada[m]  Mfi(m\xE1x)//Mfd(m\xE1x)   /////   Mfi(m\xEDn)//Mfd(m\xEDn)    Mf(m\xE1x)//Mf(m\xEDn)\n" +
          zeroRow);
  EXPECT_EQ(
      dir.read("E.res"),
      " NODO  Flechas[mm]:  M\xE1xima  M\xEDnima\n"
      " Deformaciones :  M\xE1xima[mm]: 0.000000    M\xEDnima[mm]:  0.000000   ABSOLUTA[diferencia m\xE1xima][mm]:  0.000000\n\n"
      " Corte :  M\xE1ximo: 0.000000    M\xEDnimo:  0.000000   \n\n"
      " Momento :  M\xE1ximo: 0.000000    M\xEDnimo:  0.000000   \n\n"
      " BARRA  Nodos i///j   Mfi(m\xE1x)//Mfi(m\xEDn)  ///   Mfj(m\xE1x)//Mfj(m\xEDn) \n"
      " BARRA  Nodos i///j   Qi(m\xE1x)//Qi(m\xEDn)  ///   Qj(m\xE1x)//Qj(m\xEDn) \n"
      " REACCION NODO  R(m\xE1x) ////  R(m\xEDn) \n"
      " Coordenada[m]  flecha m\xE1xima[mm]  ////  flecha m\xEDnima[mm]\n"
      " 0.000000   0.000000  ////  0.000000 \n");
}

namespace {

// A project of one bar whose force table has the value v in every column of
// row 3, and 0 elsewhere.
HandProject withForceRow(float v, int declared = 20) {
  HandProject p;
  p.esfDeclared = declared;
  for (int i = 0; i <= declared; ++i) {
    char row[160];
    float x = 0.5f * i;
    if (i == 3)
      std::snprintf(row, sizeof row, "%d %.3f %g %g %g %g %g %g", i, x, v, v, v, v, v, v);
    else
      std::snprintf(row, sizeof row, "%d %.3f 0 0 0 0 0 0", i, x);
    p.esfRows.push_back(row);
  }
  return p;
}

std::vector<double> forceRow(const ScratchDir& dir, int line) { return numbersOf(splitLines(dir.read("E.esf"))[line]); }

}  // namespace

TEST(EnvelopeFiles, ForceTable_ZeroNeverChangesItAndOnlyStrictlyLargerValuesDo) {
  ScratchDir dir;
  writeProject(dir, "a", withForceRow(5.0f));
  writeProject(dir, "b", withForceRow(0.0f));
  writeProject(dir, "c", withForceRow(-2.0f));
  writeProject(dir, "d", withForceRow(3.0f));
  EngineRun r;
  r.run(dir, {"a", "b", "c", "d"});
  ASSERT_EQ(r.outcome, RunOutcome::Completed);
  auto row = forceRow(dir, 4);  // header, rows 0..2, row 3
  ASSERT_EQ(row.size(), 7u);
  EXPECT_DOUBLE_EQ(row[0], 1.5);
  for (int c : {1, 2, 5}) EXPECT_DOUBLE_EQ(row[c], 5.0);   // maxima
  for (int c : {3, 4, 6}) EXPECT_DOUBLE_EQ(row[c], -2.0);  // minima
}

TEST(EnvelopeFiles, PointCountMismatchAtTheSecondOfThree_KeepsOnlyTheFirst) {
  ScratchDir dir;
  writeProject(dir, "a", withForceRow(5.0f));
  writeProject(dir, "b", withForceRow(-7.0f, 19));
  writeProject(dir, "c", withForceRow(9.0f));
  EngineRun r;
  r.run(dir, {"a", "b", "c"});
  ASSERT_EQ(r.outcome, RunOutcome::Completed);
  ASSERT_EQ(r.sink.messages.size(), 1u);
  EXPECT_EQ(r.sink.messages[0], "error en cantidad de puntos para ESFUERZOS");
  auto row = forceRow(dir, 4);
  EXPECT_DOUBLE_EQ(row[1], 5.0);
  EXPECT_DOUBLE_EQ(row[3], 0.0);
  EXPECT_EQ(splitLines(dir.read("E.esf")).size(), 44u);
  EXPECT_NE(dir.read("E.res"), "");
}

TEST(EnvelopeFiles, ForceTableWithMoreRowsThanDeclared_StopsTheCombining) {
  ScratchDir dir;
  writeProject(dir, "a", withForceRow(5.0f));
  HandProject b = withForceRow(8.0f);
  b.esfRows.push_back("21 10.5 99 99 99 99 99 99");
  writeProject(dir, "b", b);
  EngineRun r;
  r.run(dir, {"a", "b"});
  ASSERT_EQ(r.sink.messages.size(), 1u);
  EXPECT_EQ(r.sink.messages[0], "error en cantidad de puntos para ESFUERZOS");
  EXPECT_DOUBLE_EQ(forceRow(dir, 4)[1], 5.0);
  EXPECT_EQ(splitLines(dir.read("E.esf")).size(), 44u);
}

// A force table that ends before its rows, or cuts its last row short, holds no
// table to combine: the operation ends and neither envelope file gets anything.
TEST(EnvelopeFiles, ForceTableEndingBeforeItsRows_EndsTheOperationWithBothFilesEmpty) {
  const std::function<void(HandProject&)> cuts[] = {
      [](HandProject& p) { p.esfRows.pop_back(); },
      [](HandProject& p) { p.esfRows.back() = "20 10.000 0 0 0"; },
      [](HandProject& p) { p.esfRows.erase(p.esfRows.begin() + 1, p.esfRows.end()); },
  };
  for (size_t k = 0; k < std::size(cuts); ++k) {
    SCOPED_TRACE(k);
    ScratchDir dir;
    writeProject(dir, "a", withForceRow(5.0f));
    HandProject b = withForceRow(8.0f);
    cuts[k](b);
    writeProject(dir, "b", b);
    EngineRun r;
    r.run(dir, {"a", "b"});
    EXPECT_EQ(r.outcome, RunOutcome::Stopped);
    ASSERT_EQ(r.sink.messages.size(), 1u);
    EXPECT_EQ(r.sink.messages[0], "ERROR: EL FICHERO " + dir.file("b.esf") + " EST\xC1 INCOMPLETO");
    EXPECT_EQ(dir.read("E.esf"), "");
    EXPECT_EQ(dir.read("E.res"), "");
  }
}
