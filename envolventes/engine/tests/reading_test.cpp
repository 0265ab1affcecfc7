// Reading of the project files: fixed order, reference counts, load placement,
// missing files, and the refusals that keep every table access in bounds.
#include <gtest/gtest.h>

#include <random>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "common/bar_load.h"
#include "common/file_names.h"
#include "envolventes/engine/tests/engine_runner.h"
#include "envolventes/engine/tests/project_files.h"
#include "envolventes/engine/diagram.h"
#include "envolventes/engine/line_reader.h"
#include "envolventes/engine/project_reader.h"
#include "pictures/recording_canvas.h"

using namespace common;

using namespace envelope;
using testsupport::ScratchDir;

namespace {
// The message of a project file that cannot be opened: what it holds, the
// file and its project.
std::string cannotOpen(const char* what, const std::string& project, const char* extension) {
  return std::string("error_archivo ") + what + ": no se puede abrir " + project + extension + " (proyecto " + project +
         ")";
}
// The message of project b, not of the beam of project a, as `file` shows.
std::string notOfTheBeam(const ScratchDir& dir, const char* file) {
  return "ERROR EN SELECCION DE PROYECTOS: " + dir.file("b") + " (" + dir.file(file) + ") NO ES DE LA MISMA VIGA QUE " +
         dir.file("a");
}
}  // namespace

namespace {

// A 10 m beam of one bar: points every 0.5 m.
HandProject oneBar() { return HandProject{}; }

}  // namespace

TEST(ProjectReading, OneProject_MaximaHoldItsPositiveValuesAndMinimaItsNegativeOnes) {
  HandProject p = oneBar();
  p.point = [](int P, float) { return std::array<float, 3>{float(P - 5), float(10 - P), float(P % 3) - 1.0f}; };
  p.nodeDeflection = {1.5f, -2.5f};
  p.barEnds = {{-3.0f, 4.0f, 5.0f, -6.0f}};
  p.reactions = {{7.0f, 0}, {-8.0f, 0}};
  EngineRun r;
  r.runOne(p);
  ASSERT_EQ(r.outcome, RunOutcome::Completed);
  EXPECT_TRUE(r.sink.messages.empty());
  for (int P = 0; P <= 20; ++P) {
    SCOPED_TRACE(P);
    EXPECT_FLOAT_EQ(r.state.points.DeflectionMax[P], std::max(0, P - 5));
    EXPECT_FLOAT_EQ(r.state.points.DeflectionMin[P], std::min(0, P - 5));
    EXPECT_FLOAT_EQ(r.state.points.MomentMaxLeft[P], std::max(0, 10 - P));
    EXPECT_FLOAT_EQ(r.state.points.MomentMinLeft[P], std::min(0, 10 - P));
    EXPECT_FLOAT_EQ(r.state.points.ShearMaxLeft[P], std::max(0, P % 3 - 1));
    EXPECT_FLOAT_EQ(r.state.points.ShearMinLeft[P], std::min(0, P % 3 - 1));
  }
  EXPECT_FLOAT_EQ(r.state.nodeDeflectionMax[1].value, 1.5f);
  EXPECT_FLOAT_EQ(r.state.nodeDeflectionMin[1].value, 0.0f);
  EXPECT_FLOAT_EQ(r.state.nodeDeflectionMin[2].value, -2.5f);
  EXPECT_FLOAT_EQ(r.state.barForcesMin[1].Mi, -3.0f);
  EXPECT_FLOAT_EQ(r.state.barForcesMax[1].Mi, 0.0f);
  EXPECT_FLOAT_EQ(r.state.barForcesMax[1].Mj, 4.0f);
  EXPECT_FLOAT_EQ(r.state.barForcesMax[1].Qi, 5.0f);
  EXPECT_FLOAT_EQ(r.state.barForcesMin[1].Qj, -6.0f);
  EXPECT_FLOAT_EQ(r.state.reactionMax[1].R, 7.0f);
  EXPECT_FLOAT_EQ(r.state.reactionMin[2].R, -8.0f);
  EXPECT_FLOAT_EQ(r.state.reactionMax[2].R, 0.0f);
}

TEST(ProjectReading, ProjectWithOneNodeMore_StopsWithSelectionErrorAndStatusOne) {
  ScratchDir dir;
  writeProject(dir, "a", oneBar());
  HandProject b = oneBar();
  b.nodeX = {0.0f, 5.0f, 10.0f};
  writeProject(dir, "b", b);
  EngineRun r;
  r.run(dir, {"a", "b"});
  EXPECT_EQ(r.outcome, RunOutcome::SelectionError);
  EXPECT_EQ(exitStatusFor(r.outcome), 1);
  ASSERT_EQ(r.sink.messages.size(), 1u);
  EXPECT_EQ(r.sink.messages[0], notOfTheBeam(dir, "b.dat"));
  EXPECT_EQ(dir.read("E.res"), "");
}

TEST(ProjectReading, DifferentPointCount_StopsWithSelectionError) {
  ScratchDir dir;
  HandProject a = oneBar();
  a.pointCountDelta = -1;
  writeProject(dir, "a", a);
  writeProject(dir, "b", oneBar());
  EngineRun r;
  r.run(dir, {"a", "b"});
  EXPECT_EQ(r.outcome, RunOutcome::SelectionError);
  EXPECT_EQ(exitStatusFor(RunOutcome::Completed), 0);
  EXPECT_EQ(exitStatusFor(RunOutcome::Stopped), 0);
}

TEST(ProjectReading, LoadAbscissa_TakesTheNearlyEqualPointElseTheLastPointLeftOfIt) {
  HandProject p = oneBar();
  p.cafLines = {"1  1  2.50001  7.5  0.0  -1.0 y", "1  1  2.49999  7.5  0.0  -1.0 y", "1  1  2.4999  7.5  0.0  -1.0 y",
                "1  1  2.503  7.5  0.0  -1.0 y",   "1  1  2.9  7.1  0.0  -1.0 y",     "1  1  0.0  10.0  0.0  -1.0 y"};
  EngineRun r;
  r.runOne(p);
  ASSERT_EQ(r.outcome, RunOutcome::Completed);
  const auto& loads = r.state.current.loads;
  ASSERT_EQ(loads.size(), 7u);
  int expected[] = {5, 5, 4, 5, 5, 0};
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(loads[i + 1].startPoint, expected[i]) << "line " << i + 1;
    EXPECT_EQ(loads[i + 1].endPoint, expected[i]) << "line " << i + 1;
  }
}

TEST(ProjectReading, DistributedLoadWithZeroC_RunsToTheEndNodeWhateverItsLength) {
  HandProject p = oneBar();
  p.nodeX = {0.0f, 10.0f, 20.0f};
  p.supports = {{1, 110}, {3, 10}};
  p.cafLines = {"2  3  1.0  2.0  0.0  -1.0 y", "2  3  1.0  2.0  0.5  -1.0 y", "1  2  3.0  7.0  0.0  5.0 y"};
  EngineRun r;
  r.runOne(p);
  ASSERT_EQ(r.outcome, RunOutcome::Completed);
  const auto& loads = r.state.current.loads;
  ASSERT_EQ(loads.size(), 4u);
  EXPECT_FLOAT_EQ(loads[1].xStart, 11.0f);
  EXPECT_FLOAT_EQ(loads[1].xEnd, 20.0f);
  EXPECT_EQ(loads[1].startPoint, 22);
  EXPECT_EQ(loads[1].endPoint, 40);
  EXPECT_FLOAT_EQ(loads[2].xEnd, 13.0f);
  EXPECT_EQ(loads[2].endPoint, 26);
  // A concentrated moment is stored negated.
  EXPECT_EQ(loads[3].type, 2);
  EXPECT_FLOAT_EQ(loads[3].value, -5.0f);
  EXPECT_EQ(loads[3].startPoint, 6);
}

TEST(ProjectReading, SelfWeightFlag_DecidesWhetherKarIsReadButItMustExistAlways) {
  HandProject without = oneBar();
  without.writeKar = false;
  EngineRun r;
  r.runOne(without);
  EXPECT_EQ(r.outcome, RunOutcome::Stopped);
  ASSERT_EQ(r.sink.messages.size(), 1u);
  EXPECT_EQ(r.sink.messages[0].substr(0, 40), "error_archivo cargas: no se puede abrir ");
  EXPECT_NE(r.sink.messages[0].find("a.kar (proyecto "), std::string::npos) << r.sink.messages[0];

  HandProject unread = oneBar();
  unread.karLines = {"1  1  5.0  5.0  0.0  -4.0 y"};
  EngineRun r2;
  r2.runOne(unread);
  ASSERT_EQ(r2.outcome, RunOutcome::Completed);
  EXPECT_EQ(r2.state.current.loads.size(), 1u);

  HandProject read = unread;
  read.selfWeight = 1;
  read.cafLines = {"1  3  0.0  10.0  0.0  -1.0 y"};
  EngineRun r3;
  r3.runOne(read);
  ASSERT_EQ(r3.outcome, RunOutcome::Completed);
  ASSERT_EQ(r3.state.current.loads.size(), 3u);
  EXPECT_EQ(r3.state.current.loads[2].type, 1);
  EXPECT_EQ(r3.state.current.loads[2].startPoint, 10);
}

TEST(ProjectReading, EachMissingFile_GivesItsOwnMessageAndLeavesTheEnvelopeFilesEmpty) {
  const std::pair<const char*, const char*> cases[] = {
      {kForceTableExt, "esfuerzos"}, {kDescriptionExt, "cargas"}, {kSelfWeightExt, "cargas"}, {kLoadsExt, "cargas"},
      {kModelExt, "datos"},          {kDiagramExt, "fmc"},        {kResultsExt, "resultado"}};
  for (auto& [extension, message] : cases) {
    SCOPED_TRACE(extension);
    ScratchDir dir;
    writeProject(dir, "a", oneBar());
    std::remove(dir.file(std::string("a") + extension).c_str());
    // A later project, read ahead meanwhile, says nothing once the first is refused.
    writeProject(dir, "b", oneBar());
    std::remove(dir.file(std::string("b") + (extension == kResultsExt ? kForceTableExt : kResultsExt)).c_str());
    EngineRun r;
    r.run(dir, {"a", "b"});
    EXPECT_EQ(r.outcome, RunOutcome::Stopped);
    ASSERT_EQ(r.sink.messages.size(), 1u);
    EXPECT_EQ(r.sink.messages[0], cannotOpen(message, dir.file("a"), extension));
    EXPECT_EQ(dir.read("E.res"), "");
    EXPECT_EQ(dir.read("E.esf"), "");
  }
}

TEST(ProjectReading, LabelsOutsideTheirTables_AreRefusedAndTheProjectLeavesNothingBehind) {
  struct Case {
    const char* what;
    std::function<void(HandProject&)> spoil;
    const char* message;
  };
  std::vector<Case> cases = {
      {"nodal load on node 100",
       [](HandProject& p) {
         p.nodalLoads = {{100.0f, -1.0f}};
       },
       kNodalLoadError},
      {"load on bar 2 of 1", [](HandProject& p) { p.cafLines = {"2  1  1.0  9.0  0.0  -1.0 y"}; }, kLoadBarError},
      {"load on bar 0", [](HandProject& p) { p.cafLines = {"0  3  0.0  1.0  0.0  -1.0 y"}; }, kLoadBarError},
      {"500 load lines", [](HandProject& p) { p.cafLines.assign(500, "1  3  0.0  1.0  0.0  -1.0 y"); },
       kTooManyLoadsError},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(c.what);
    ScratchDir dir;
    HandProject good = oneBar();
    good.point = [](int, float) { return std::array<float, 3>{1.0f, 2.0f, 3.0f}; };
    HandProject bad = oneBar();
    bad.point = [](int, float) { return std::array<float, 3>{9.0f, 9.0f, 9.0f}; };
    c.spoil(bad);
    writeProject(dir, "good", good);
    writeProject(dir, "bad", bad);
    EngineRun r;
    r.run(dir, {"good", "bad"});
    EXPECT_EQ(r.outcome, RunOutcome::Stopped);
    ASSERT_EQ(r.sink.messages.size(), 1u);
    EXPECT_EQ(r.sink.messages[0], c.message);
    EXPECT_FLOAT_EQ(r.state.points.DeflectionMax[7], 1.0f);
    EXPECT_EQ(r.state.layout.rightEnd, 2460);
  }
  // 499 load lines are still accepted.
  ScratchDir dir;
  HandProject morePoints = oneBar();
  morePoints.pointCountDelta = 1;
  writeProject(dir, "m", morePoints);
  EngineRun refused;
  refused.run(dir, {"m"});
  EXPECT_EQ(refused.outcome, RunOutcome::Stopped);
  ASSERT_EQ(refused.sink.messages.size(), 1u);
  EXPECT_EQ(refused.sink.messages[0], kCountsError);

  HandProject p = oneBar();
  p.cafLines.assign(499, "1  3  0.0  1.0  0.0  -1.0 y");
  writeProject(dir, "a", p);
  EngineRun r;
  r.run(dir, {"a"});
  EXPECT_EQ(r.outcome, RunOutcome::Completed);
}

TEST(ProjectReading, CountsBeyondTheTablesAndBarEndsOutsideTheNodeTable_AreRefused) {
  ScratchDir dir;
  writeProject(dir, "a", oneBar());
  std::string dat = dir.read("a.dat");
  std::string tooManyBars = dat;
  tooManyBars.replace(tooManyBars.find("\n1 2 2"), 6, "\n251 252 2");
  tooManyBars += std::string(2000, ' ');  // room for what the counts promise
  dir.write("bars.dat", tooManyBars);
  std::string badEnd = dat;
  badEnd.replace(badEnd.find("1 1 2 1 1 1 0"), 13, "1 1 7 1 1 1 0");
  dir.write("ends.dat", badEnd);
  for (auto [name, message] : {std::pair<const char*, const char*>{"bars", kCountsError}, {"ends", kBarNodeError}}) {
    SCOPED_TRACE(name);
    for (const char* ext : {kLoadsExt, kSelfWeightExt, kDescriptionExt, kForceTableExt, kDiagramExt, kResultsExt})
      dir.write(std::string(name) + ext, dir.read(std::string("a") + ext));
    EngineRun r;
    r.run(dir, {name});
    EXPECT_EQ(r.outcome, RunOutcome::Stopped);
    ASSERT_EQ(r.sink.messages.size(), 1u);
    EXPECT_EQ(r.sink.messages[0], message);
  }
}

TEST(ProjectReading, TiesAreSkippedOneLineEach_SoNodalLoadsStayInStep) {
  HandProject p = oneBar();
  p.nodeX = {0.0f, 5.0f, 10.0f};
  p.supports = {{1, 110}, {2, 10}, {3, 10}};
  p.tieLines = {"1 3 2 2 0.0", "2 3 1 1 0.0"};
  p.nodalLoads = {{2.0f, -3.0f}};
  p.reactions = {{1.0f, 0}, {10.0f, 0}, {1.0f, 0}};
  p.point = [](int P, float) { return std::array<float, 3>{0, 0, P == 20 ? -4.0f : 0.0f}; };
  EngineRun r;
  r.runOne(p);
  ASSERT_EQ(r.outcome, RunOutcome::Completed);
  EXPECT_FLOAT_EQ(r.state.current.nodalLoads[2].value[1], -3.0f);
  // Right of the middle support: R + nodal load + shear left = 10 - 3 - 4.
  EXPECT_FLOAT_EQ(r.state.points.ShearMaxRight[20], 3.0f);
}

TEST(ProjectReading, LongLinesAndNames_AreReadWithoutOverflow) {
  ScratchDir dir;
  HandProject p = oneBar();
  p.cafLines = {"1  1  5.0  5.0  0.0  -1.0 " + std::string(400, 'y'), ""};
  writeProject(dir, "a", p);
  EngineRun r;
  r.run(dir, {"a", std::string(600, 'n')});
  // The 400-letter direction word is read whole, with its load.
  ASSERT_EQ(r.state.current.loads.size(), 2u);
  EXPECT_EQ(r.state.current.loads[1].startPoint, 10);
  ASSERT_EQ(r.sink.messages.size(), 1u);
  EXPECT_EQ(r.sink.messages[0], cannotOpen("esfuerzos", dir.file(std::string(600, 'n')), kForceTableExt));

  // A title word longer than any model title is refused, as calcest refuses it.
  ScratchDir dir2;
  writeProject(dir2, "b", oneBar());
  std::string dat = dir2.read("b.dat");
  dir2.write("b.dat", std::string(300, 'T') + dat);
  EngineRun r2;
  r2.run(dir2, {"b"});
  EXPECT_EQ(r2.outcome, RunOutcome::Stopped);
  ASSERT_EQ(r2.sink.messages.size(), 1u);
  EXPECT_EQ(r2.sink.messages[0], "ERROR: EL T\xCDTULO DEL MODELO TIENE M\xC1S DE 23 CARACTERES");
}

TEST(ProjectReading, CrLfFiles_ReadLikeLfFiles) {
  ScratchDir dir;
  HandProject p = oneBar();
  p.point = [](int P, float) { return std::array<float, 3>{0, float(P), 0}; };
  p.cafLines = {"1  2  5.0  5.0  0.0  10.0 y"};
  writeProject(dir, "a", p);
  for (const char* ext : {kModelExt, kLoadsExt, kResultsExt, kDiagramExt, kForceTableExt}) {
    std::string text = dir.read(std::string("a") + ext), crlf;
    for (char ch : text) crlf += ch == '\n' ? std::string("\r\n") : std::string(1, ch);
    dir.write(std::string("a") + ext, crlf);
  }
  EngineRun r;
  r.run(dir, {"a"});
  ASSERT_EQ(r.outcome, RunOutcome::Completed);
  EXPECT_FLOAT_EQ(r.state.points.MomentMaxRight[10], 20.0f);
}

TEST(ProjectReading, EmptyOrAbsurdFiles_AreReadAndDrawnWithoutHarm) {
  std::vector<std::function<void(const ScratchDir&)>> spoils = {
      [](const ScratchDir& d) {
        for (const char* ext : {kModelExt, kLoadsExt, kResultsExt, kDiagramExt, kForceTableExt, kSelfWeightExt})
          d.write(std::string("a") + ext, "");
      },
      [](const ScratchDir& d) {
        std::string fmc = d.read("a.fmc");
        for (size_t at = fmc.find("0.000", 20); at != std::string::npos; at = fmc.find("0.000", at + 8))
          fmc.replace(at, 5, at % 3 ? "1e38" : "nan");
        d.write("a.fmc", fmc);
      },
      [](const ScratchDir& d) { d.write("a.esf", "2147483647\n"); },
      [](const ScratchDir& d) { d.write("a.dat", "T 0 0\n-5 -3 -1 -7 -1 -1 0 -2 1 0.0\n"); },
      [](const ScratchDir& d) { d.write("a.dat", "T 0 0\n1 2 2 2000000000 2000000000 1 0 0 1 0.0\n"); },
      [](const ScratchDir& d) { d.write("a.dat", "T 0 0\n1 2 2 0 1 1 0 0 0 0.0\n1 0.0 0\n2 0.0 0\n1 1 2\n"); },
  };
  for (size_t i = 0; i < spoils.size(); ++i) {
    SCOPED_TRACE(i);
    ScratchDir dir;
    writeProject(dir, "a", oneBar());
    spoils[i](dir);
    EngineRun r;
    r.run(dir, {"a", "a"});
    EXPECT_NE(r.outcome, RunOutcome::SelectionError);
    for (int selector = 1; selector <= 3; ++selector) {
      pictures::RecordingCanvas canvas;
      drawDiagram(r.state, selector, canvas);
      EXPECT_FALSE(canvas.elements.empty());
    }
  }
}

TEST(ProjectReading, LinesLongerThanAnyFixedRead_AreReadWhole) {
  ScratchDir dir;
  HandProject p = oneBar();
  // Large values make calcest's .res and .fmc lines longer than 98 characters.
  p.barEnds = {{1e28f, -1e28f, 2e28f, -2e28f}};
  p.point = [](int, float) { return std::array<float, 3>{1e28f, -1e28f, 1e28f}; };
  const std::string blanks(300, ' ');
  p.cafLines = {"1  1  2.5" + blanks + "7.5  0.0  -1.0 y"};
  for (int i = 0; i <= p.lastPoint(); ++i)
    p.esfRows.push_back(std::to_string(i) + " " + std::to_string(p.pointX(i)) + blanks + "1 0 0 0 0 0");
  writeProject(dir, "a", p);
  EngineRun r;
  r.run(dir, {"a"});
  ASSERT_EQ(r.outcome, RunOutcome::Completed);
  EXPECT_TRUE(r.sink.messages.empty());
  EXPECT_FLOAT_EQ(r.state.barForcesMax[1].Qi, 2e28f);
  EXPECT_FLOAT_EQ(r.state.points.DeflectionMax[7], 1e28f);
  ASSERT_EQ(r.state.current.loads.size(), 2u);
  EXPECT_EQ(r.state.current.loads[1].startPoint, 5);
  EXPECT_EQ(numbersOf(testsupport::splitLines(dir.read("E.esf"))[1])[1], 1.0);
}

TEST(ProjectReading, ProjectOfAnotherBeamWithTheSameCounts_StopsWithSelectionError) {
  struct Case {
    const char* what;
    std::vector<float> nodeX;
    int unitSystem;
  };
  const Case cases[] = {{"spans of 7 and 5 m", {0.0f, 7.0f, 12.0f}, 0}, {"kilonewtons", {0.0f, 6.0f, 12.0f}, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ScratchDir dir;
    HandProject first = oneBar();
    first.nodeX = {0.0f, 6.0f, 12.0f};
    first.supports = {{1, 110}, {2, 10}, {3, 10}};
    HandProject other = first;
    other.nodeX = c.nodeX;
    other.unitSystem = c.unitSystem;
    writeProject(dir, "a", first);
    writeProject(dir, "b", other);
    EngineRun r;
    r.run(dir, {"a", "b"});
    EXPECT_EQ(r.outcome, RunOutcome::SelectionError);
    EXPECT_EQ(r.sink.messages, std::vector<std::string>{notOfTheBeam(dir, "b.dat")});
  }
}

namespace {
template <class T>
bool sameBits(const T& a, const T& b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}
}  // namespace

// Lines read without scanf must give what sscanf gives: count, every value to
// the bit, and targets left as they were where scanf stops.
TEST(ProjectReading, LinesReadWithoutScanf_GiveWhatSscanfGives) {
  const char* const lines[] = {
      "1 2.5 -3.25",
      "  7\t+2.623061  -0.000000 \r\n",
      "1 1. .5",
      "1 1e5 1E-05",
      "1 +-1 2",
      "1 1e-50 1e40",
      "1 0x1p3 inf",
      "1 nan -.5",
      "1 1,5 2",
      "12abc 1 2",
      "+5 1 2",
      "12345678901 1 2",
      "-2147483648 1 2",
      "1 2",
      "",
      "   \n",
      "1 1.5e+ 2",
      "1 16777217 0.1",
      "1 2 3 extra",
      "1 3.4028236e38 1e-45",
      // A plain decimal is read as its end is found; what follows it decides.
      "1 +.5 -.5",
      "1 5. +5.",
      "-0 -0.000 0.0000000001",
      "1 0.00000000001 123456789012345678",
      "1 1.5e3 2",
      "1 1.5x 2",
      "1 + 2",
      "1 +. 2",
      "0000000001 1 2",
      "-123456789 1 2",
      "1\t2.5\v3\f",
      "1 .-5 2",
      "1 1234567 1234.5678",
      "1 -+5 5.-",
      "1 -.1234567 99999.999",
  };
  // Each line followed in memory by digits that are not on the line.
  const auto expectSscanfValues = [](const std::string& line) {
    SCOPED_TRACE(line);
    const std::string memory = line + std::string(80, '7');
    int i1 = -7, i2 = -7;
    float f1 = -7, f2 = -7, g1 = -7, g2 = -7;
    const int quick = scanLine(std::string_view(memory.data(), line.size()), "%d %f %f", &i1, &f1, &g1);
    const int library = std::sscanf(line.c_str(), "%d %f %f", &i2, &f2, &g2);
    EXPECT_EQ(quick, library);
    EXPECT_EQ(i1, i2);
    EXPECT_TRUE(sameBits(f1, f2) && sameBits(g1, g2)) << f1 << " " << f2 << " " << g1 << " " << g2;
  };
  // Each line as it stands, and with room after its fields.
  for (const char* line : lines)
    for (const char* after : {"", "        \n", "\t\t\t\t\t\t\t\t\n", "x234567\n"})
      expectSscanfValues(line + std::string(after));
  std::mt19937 random(11);
  const char* const signs[] = {"", "-", "+"};
  for (int k = 0; k < 20000; ++k) {
    std::string field = signs[random() % 3];
    const int digits = static_cast<int>(random() % 9), point = static_cast<int>(random() % 10);
    for (int d = 0; d < digits; ++d) field += (d == point ? "." : "") + std::to_string(random() % 10);
    if (point == digits) field += ".";
    expectSscanfValues("1 " + field + " " + field + std::string(random() % 9, ' ') + "\n");
  }
  // Rows of a force table, with fields of these forms and others apart by
  // runs of blanks: read field by field, each row gives sscanf's values when
  // every field is taken.
  const char* const blanks[] = {" ", "  ", "\t", " \r", "\v "};
  const char* const strays[] = {"e", "x", ".", "-", "+"};
  int taken = 0;
  for (int k = 0; k < 20000; ++k) {
    std::string row = std::string(random() % 3, ' ') + (random() % 4 ? std::to_string(random() % 12000) : "-3.");
    for (int f = 0; f < 7; ++f) {
      std::string field = signs[random() % 3];
      const int digits = 1 + static_cast<int>(random() % 8 % 7 + random() % 2),
                point = static_cast<int>(random() % (digits + 2));
      for (int d = 0; d < digits; ++d) field += (d == point ? "." : "") + std::to_string(random() % 10);
      if (point == digits) field += ".";
      if (random() % 100 == 0) field.insert(random() % (field.size() + 1), strays[random() % 5]);
      row += blanks[random() % 5] + field;
    }
    row += "\n";
    SCOPED_TRACE(row);
    const std::string memory = row + std::string(80, '7');
    const char* const fmt = "%d %f %f %f %f %f %f %f";
    int index[2] = {-7, -7};
    float v[2][7] = {{-7, -7, -7, -7, -7, -7, -7}, {-7, -7, -7, -7, -7, -7, -7}};
    const int library =
        std::sscanf(row.c_str(), fmt, &index[1], &v[1][0], &v[1][1], &v[1][2], &v[1][3], &v[1][4], &v[1][5], &v[1][6]);
    EXPECT_EQ(scanLine(std::string_view(memory.data(), row.size()), fmt, &index[0], &v[0][0], &v[0][1], &v[0][2],
                       &v[0][3], &v[0][4], &v[0][5], &v[0][6]),
              library);
    EXPECT_TRUE(sameBits(index[0], index[1]) && sameBits(v[0], v[1]));
    const char* at = memory.data();
    const char* const end = at + row.size();
    int i = 0;
    float w[7];
    bool took = fields::take(at, end, i);
    for (float& f : w) took = took && fields::take(at, end, f);
    if (!took) continue;
    ++taken;
    EXPECT_EQ(library, 8);
    EXPECT_TRUE(sameBits(i, index[1]) && sameBits(w, v[1]));
  }
  // Many rows are plain: a field reader that takes none is broken.
  EXPECT_GT(taken, 1000);
  const std::string load = "3  1  2.0  +3.0  0.0  -10.0 y";
  std::vector<char> word1(load.size() + 1, 'x'), word2(load.size() + 1, 'x');
  int a[2][2];
  float v[2][4];
  EXPECT_EQ(
      scanLine(load, "%d %d %f %f %f %f %s", &a[0][0], &a[0][1], &v[0][0], &v[0][1], &v[0][2], &v[0][3], word1.data()),
      std::sscanf(load.c_str(), "%d %d %f %f %f %f %s", &a[1][0], &a[1][1], &v[1][0], &v[1][1], &v[1][2], &v[1][3],
                  word2.data()));
  EXPECT_TRUE(sameBits(a[0], a[1]) && sameBits(v[0], v[1]));
  EXPECT_STREQ(word1.data(), word2.data());
  // A loads-file line read as its record: the values sscanf gives with the
  // line's format, in the order of the line, the direction the first letter
  // of its word.
  for (const std::string line : {"3  1  2.0  +3.0  0.0  -10.0 y", "3 1 2 3 0.5 -10", "3 1 2 3 0.5 -10 Xword",
                                 "4 2 1.5x 2 3 4 y", "", "  \t", "5 6 1 2 3 4\ty 9", "7 3 0 1e-3 2 nan y"}) {
    SCOPED_TRACE(line);
    std::vector<char> word(line.size() + 1, '\0');
    int n[2] = {0, 0};
    float x[4] = {0, 0, 0, 0};
    const int library =
        std::sscanf(line.c_str(), "%d %d %f %f %f %f %s", &n[0], &n[1], &x[0], &x[1], &x[2], &x[3], word.data());
    LoadLine<float> record;
    EXPECT_EQ(scanFields(line, record.fields()), library);
    EXPECT_TRUE(sameBits(record.barLabel, n[0]) && sameBits(record.ltype, n[1]) && sameBits(record.a, x[0]) &&
                sameBits(record.c, x[1]) && sameBits(record.b, x[2]) && sameBits(record.q, x[3]));
    EXPECT_EQ(record.dir, library == 7 ? word[0] : 'y');
  }
}

// A file read in large pieces gives the lines reading it line by line gives:
// long ones, NUL bytes, no last line end, lines across the pieces (a stream of
// no known size is read 4096 bytes at first).
TEST(ProjectReading, FileReadInPieces_GivesTheLinesOfLineByLineReading) {
  const std::string longLine(1500, '7');
  std::string acrossPieces;
  for (int k = 0; acrossPieces.size() < 12000; ++k)
    acrossPieces += std::string(k % 700, 'a') +
                    (k % 3 ? std::string() : std::string("b\0", 2) + std::string(300, 'c')) + (k % 5 ? "\n" : " ");
  const std::string contents[] = {
      "",
      "1 2\n\n3 4",
      "a\r\nb\r\n",
      longLine + "\n" + longLine,
      std::string("ab\0cd\nef\n", 9),
      std::string("\0\nx\n", 4),
      std::string(600, 'x') + std::string("\0", 1) + "y\nz\n" + std::string(100, '\0') + "\nw",
      std::string("1\n\0", 3),
      acrossPieces,
      std::string(9000, 'z') + "\n1 2\n",
  };
  std::string buffer;
  for (const std::string& content : contents) {
    SCOPED_TRACE(content.size());
    FILE* a = std::tmpfile();
    ASSERT_TRUE(a);
    std::fwrite(content.data(), 1, content.size(), a);
    std::rewind(a);
    std::string streamed = content;  // no file size to go by
    FILE* b = content.empty() ? std::tmpfile() : fmemopen(&streamed[0], streamed.size(), "r");
    ASSERT_TRUE(b);
    LineReader byLine(a);
    TextLines whole(b, buffer);
    std::string expected = "kept";
    std::string_view got = "kept";
    bool more;
    do {
      more = byLine.next(expected);
      EXPECT_EQ(whole.next(got), more);
      EXPECT_EQ(got, expected);
    } while (more);
    std::fclose(a);
    std::fclose(b);
  }
}

// Over ascending abscissae the point is found by halving; it must be the point
// the scan from the first point finds, near ties, repeats and ends included.
TEST(ProjectReading, PointFoundByHalving_IsThePointTheScanFinds) {
  std::vector<float> threeBars;  // 20 points a bar, as calcest writes them
  for (int P = 0; P <= 60; ++P) threeBars.push_back(0.25f * P + (P == 30 ? 0.000004f : 0.0f));
  const std::vector<std::vector<float>> grids = {
      threeBars,
      {0.0f, 0.5f, 1.0f, 1.5f, 2.0f},
      {0.0f, 0.00001f, 0.00002f, 0.00003f, 1.0f},
      {0.000005f, 0.000015f, 0.000025f, 0.5f},  // hundred-thousandths 0, 1, 2 after truncation
      {-2.0f, -1.0f, -1.0f, 0.0f, 0.0f, 3.0f},
      {1.0f},
      {0.0f, 0.333333f, 0.666667f, 1.0f, 1.0000101f, 1.00002f, 1250.0f},
  };
  const float queries[] = {-5.0f,     -2.0f,     -1.00001f, -0.99999f, 0.0f,     0.000004f, 0.000015f,   0.00002f,
                           0.000029f, 0.00003f,  0.00004f,  0.3333f,   0.33334f, 0.5f,      0.99999f,    1.0f,
                           1.00001f,  1.000015f, 1.5f,      2.0f,      3.0f,     1250.0f,   1249.99999f, 9999.0f,
                           4.9f,      5.0f,      7.5f,      7.50001f,  10.1f,    14.99999f, 15.0f};
  for (const std::vector<float>& grid : grids) {
    ProjectTables p;
    p.lastPoint = static_cast<int>(grid.size()) - 1;
    for (float x : grid) p.points.push_back({x, 0, 0, 0});
    for (float x : queries) {
      SCOPED_TRACE(testing::Message() << "grid of " << grid.size() << ", x = " << x);
      p.pointsInOrder = false;
      const int scanned = pointAt(p, x);
      p.pointsInOrder = true;
      EXPECT_EQ(pointAt(p, x), scanned);
      // The load's bar tells where to look first, right or wrong.
      for (int bar = 1; bar <= 4; ++bar) EXPECT_EQ(pointAt(p, x, bar), scanned) << "bar " << bar;
    }
  }
}
