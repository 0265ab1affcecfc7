// Project files cut short: what a static run that stopped with an error (or a
// full disk) leaves behind. Each is refused with a message naming the file; the
// project leaves nothing in the envelopes and the operation ends.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "common/file_names.h"
#include "envolventes/engine/tests/engine_runner.h"
#include "envolventes/engine/tests/project_files.h"
#include "envolventes/engine/project_reader.h"

using namespace common;

using namespace envelope;
using testsupport::ScratchDir;
using testsupport::splitLines;

namespace {

// Two spans of 6 m: pin, roller, fixed end (its line in .res carries a moment).
HandProject twoSpans(float deflection) {
  HandProject p;
  p.nodeX = {0.0f, 6.0f, 12.0f};
  p.supports = {{1, 110}, {2, 10}, {3, 111}};
  p.nodeDeflection = {0.0f, deflection, 0.0f};
  p.reactions = {{1.0f, 0.0f}, {2.0f, 0.0f}, {3.0f, -4.0f}};
  p.point = [deflection](int P, float) { return std::array<float, 3>{P == 10 ? deflection : 0.0f, 0, 0}; };
  return p;
}

// The text's first `count` lines, each with its line feed.
std::string firstLines(const std::string& text, size_t count) {
  size_t at = 0;
  for (size_t k = 0; k < count && at != std::string::npos; ++k) {
    at = text.find('\n', at);
    if (at != std::string::npos) ++at;
  }
  return at == std::string::npos ? text : text.substr(0, at);
}

std::string withoutLastLines(const std::string& text, size_t count) {
  return firstLines(text, splitLines(text).size() - count);
}

// The last line of the text cut after its first `words` words (no line feed).
std::string lastLineCut(const std::string& text, int words) {
  std::string head = withoutLastLines(text, 1), last = splitLines(text).back(), kept;
  size_t at = 0;
  for (int k = 0; k < words; ++k) {
    size_t start = last.find_first_not_of(' ', at);
    at = last.find(' ', start);
    kept = last.substr(0, at);
  }
  return head + kept;
}

struct Cut {
  const char* what;
  const char* extension;
  std::function<std::string(const std::string&)> spoil;
  int selfWeight = 0;  // 1: the self-weight file is read
};

// Project "a" complete, project "b" of the same beam with one file spoiled.
struct TwoProjects {
  ScratchDir dir;
  EngineRun run;
  TwoProjects(const std::string& extension, const std::function<std::string(const std::string&)>& spoil,
              int selfWeight = 0) {
    HandProject a = twoSpans(-2.0f), b = twoSpans(-9.0f);
    a.selfWeight = b.selfWeight = selfWeight;
    a.karLines = b.karLines = {" 1  3  0  6.000000  0   -0.300000  y", " 2  3  0  6.000000  0   -0.300000  y"};
    writeProject(dir, "a", a);
    writeProject(dir, "b", b);
    dir.write("b" + extension, spoil(dir.read("b" + extension)));
    run.run(dir, {"a", "b"});
  }
};

void expectRefused(TwoProjects& t, const std::string& extension) {
  EXPECT_EQ(t.run.outcome, RunOutcome::Stopped);
  ASSERT_EQ(t.run.sink.messages.size(), 1u);
  EXPECT_EQ(t.run.sink.messages[0], "ERROR: EL FICHERO " + t.dir.file("b" + extension) + " EST\xC1 INCOMPLETO");
  // Only the first project is in the envelopes; nothing was written.
  EXPECT_FLOAT_EQ(t.run.state.nodeDeflectionMin[2].value, -2.0f);
  EXPECT_FLOAT_EQ(t.run.state.points.DeflectionMin[10], -2.0f);
  EXPECT_EQ(t.dir.read("E.esf"), "");
  EXPECT_EQ(t.dir.read("E.res"), "");
}

}  // namespace

TEST(TruncatedFiles, CompleteFilesOfBothProjects_AreCombined) {
  // The fixture itself: without a cut the second project's values are taken.
  TwoProjects t(
      kResultsExt, [](const std::string& text) { return text; }, 1);
  ASSERT_EQ(t.run.outcome, RunOutcome::Completed);
  EXPECT_TRUE(t.run.sink.messages.empty());
  EXPECT_FLOAT_EQ(t.run.state.nodeDeflectionMin[2].value, -9.0f);
  EXPECT_FLOAT_EQ(t.run.state.points.DeflectionMin[10], -9.0f);
  EXPECT_EQ(t.run.state.current.loads.size(), 3u);
}

TEST(TruncatedFiles, EachProjectFileCutShort_IsRefusedWithItsName) {
  const Cut cuts[] = {
      {"self-weight: empty (run stopped while reading its loads)", kSelfWeightExt, [](auto&) { return ""; }, 1},
      {"self-weight: one line for two bars", kSelfWeightExt, [](auto& t) { return firstLines(t, 1); }, 1},
      {"self-weight: direction word missing", kSelfWeightExt, [](auto& t) { return lastLineCut(t, 6); }, 1},
      {"beam data: title only", kModelExt, [](auto& t) { return firstLines(t, 1); }},
      {"beam data: counts, no nodes", kModelExt, [](auto& t) { return firstLines(t, 2); }},
      {"beam data: last support missing", kModelExt, [](auto& t) { return withoutLastLines(t, 1); }},
      {"force table: empty", kForceTableExt, [](auto&) { return ""; }},
      {"results: empty (file created, run stopped before its header)", kResultsExt, [](auto&) { return ""; }},
      {"results: header only (run stopped before the results)", kResultsExt, [](auto& t) { return firstLines(t, 1); }},
      {"results: nodes, no bars", kResultsExt, [](auto& t) { return firstLines(t, 4); }},
      {"results: bar line cut", kResultsExt, [](auto& t) { return lastLineCut(firstLines(t, 5), 5); }},
      {"results: last support missing", kResultsExt, [](auto& t) { return withoutLastLines(t, 1); }},
      {"results: moment of the fixed end cut", kResultsExt, [](auto& t) { return lastLineCut(t, 2); }},
      // A diagram file short of its points must not be taken for another beam's.
      {"diagram: empty", kDiagramExt, [](auto&) { return ""; }},
      // What calcest leaves when it stops before the result phase.
      {"diagram: header without count or line feed", kDiagramExt, [](auto&) { return " PRUEBA  1   0 "; }},
      {"diagram: five points missing", kDiagramExt, [](auto& t) { return withoutLastLines(t, 5); }},
      {"diagram: last point cut", kDiagramExt, [](auto& t) { return lastLineCut(t, 2); }},
  };
  for (const Cut& cut : cuts) {
    SCOPED_TRACE(cut.what);
    TwoProjects t(cut.extension, cut.spoil, cut.selfWeight);
    expectRefused(t, cut.extension);
  }
  // Without self-weight the self-weight file is not read, so its state does not matter.
  TwoProjects unread(
      kSelfWeightExt, [](auto&) { return ""; }, 0);
  EXPECT_EQ(unread.run.outcome, RunOutcome::Completed);
}

TEST(TruncatedFiles, DiagramFileWithoutItsCount_IsRefusedAsIncompleteAlsoAsTheFirstProject) {
  // A diagram file without its count is reported as incomplete, not as a bad
  // count, when its project comes first too.
  ScratchDir dir;
  writeProject(dir, "b", twoSpans(-9.0f));
  dir.write("b.fmc", " PRUEBA  1   0 ");
  EngineRun r;
  r.run(dir, {"b"});
  EXPECT_EQ(r.outcome, RunOutcome::Stopped);
  ASSERT_EQ(r.sink.messages.size(), 1u);
  EXPECT_EQ(r.sink.messages[0], "ERROR: EL FICHERO " + dir.file("b.fmc") + " EST\xC1 INCOMPLETO");
}
