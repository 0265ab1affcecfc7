#include "common/file_names.h"
#include "envolventes/app/startup_flow.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <filesystem>
#include <optional>
#include <utility>

#include "common/testing/test_support.h"
#include "envolventes/engine/diagram.h"
#include "pictures/recording_canvas.h"
#include "envolventes/engine/tests/project_files.h"

using namespace common;

using namespace envelope;
using testsupport::ScratchDir;

namespace {

using Answers = std::deque<std::optional<std::string>>;

// Answers the flow's questions from a script and records what it was shown.
struct ScriptedQuestions : StartupQuestions {
  std::optional<std::pair<int, int>> screenSize;  // nullopt = cancel
  bool existing = false;
  Answers names;     // envelope name or list answers
  Answers projects;  // nullopt = "Finaliza selección"
  std::vector<std::string> shownNames, messages;
  std::vector<int> banners;
  int projectQuestions = 0;

  bool askScreenSize(int banner, int& height, int& width) override {
    banners.push_back(banner);
    EXPECT_EQ(height, 400);
    EXPECT_EQ(width, 3000);
    if (!screenSize) {
      height = 1;  // a cancelled dialog stores nothing; the flow must keep its presets
      return false;
    }
    height = screenSize->first;
    width = screenSize->second;
    return true;
  }
  bool askExisting(int banner) override {
    banners.push_back(banner);
    return existing;
  }
  // A run-out script or a nullopt answer is a cancelled dialog.
  static bool answer(Answers& script, std::string& name) {
    if (script.empty()) return false;
    auto next = script.front();
    script.pop_front();
    if (!next) return false;
    name = *next;
    return true;
  }
  bool askEnvelopeName(std::string& name) override { return answer(names, name); }
  bool askEnvelopeList(int banner, std::string& name) override {
    banners.push_back(banner);
    return answer(names, name);
  }
  bool askProject(int, std::string& name) override {
    ++projectQuestions;
    return answer(projects, name);
  }
  void showName(const std::string& name) override { shownNames.push_back(name); }
  void showMessage(const std::string& text) override { messages.push_back(text); }
};

// A run that opens an existing envelope, taking its name(s) from `names`.
ScriptedQuestions existingEnvelope(Answers names = {"env"}) {
  ScriptedQuestions q;
  q.existing = true;
  q.names = std::move(names);
  return q;
}

// A run that creates a new envelope, naming it from `names` and choosing `projects`.
ScriptedQuestions newEnvelope(Answers names, Answers projects = {}) {
  ScriptedQuestions q;
  q.names = std::move(names);
  q.projects = std::move(projects);
  return q;
}

std::vector<std::string> filesIn(const ScratchDir& dir) {
  std::vector<std::string> names;
  for (auto& entry : std::filesystem::directory_iterator(dir.path())) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

size_t openDescriptors() {
  size_t count = 0;
  for ([[maybe_unused]] auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) ++count;
  return count;
}

const char kModelTitle[] = "VIGA 0  0\n 2  3  2  0  1  1  0  0  0  0.0\n";

// The flow works on bare names in the working directory: each test runs in a
// scratch directory of its own.
class StartupFlow : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_ = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
  }
  void TearDown() override { std::filesystem::current_path(previous_); }
  ScratchDir dir;

 private:
  std::filesystem::path previous_;
};

}  // namespace

TEST_F(StartupFlow, NewEnvelopeWritesCountAndNamesInSelectionOrderAndFormsScriptNames) {
  auto q = newEnvelope({"env"}, {"viga2", "viga1", "viga2", std::nullopt});
  q.screenSize = {{600, 4000}};
  ViewerState state;
  ASSERT_EQ(runStartupFlow(2, q, state), FlowResult::Ready);

  EXPECT_EQ(state.drawingHeight, 600);
  EXPECT_EQ(state.drawingWidth, 4000);
  EXPECT_EQ(state.existing, 0);
  EXPECT_EQ(state.envelopeName, "env");
  ASSERT_EQ(state.projectCount, 3);
  EXPECT_EQ(state.projects[1], "viga2");
  EXPECT_EQ(state.projects[3], "viga2");  // duplicates are kept
  // The list is on disk while the file is still open.
  EXPECT_EQ(dir.read("env.dat"), " 3\nviga2\nviga1\nviga2\n");
  EXPECT_NE(state.outputs.report(), nullptr);
  EXPECT_NE(state.outputs.forceTable(), nullptr);
  // The report and table are aside until the envelope is complete.
  EXPECT_EQ(filesIn(dir), (std::vector<std::string>{"env.dat"}));
  // The screen-size and existing-or-new dialogs get the diagram kind.
  EXPECT_EQ(q.banners, (std::vector<int>{2, 2}));
}

TEST_F(StartupFlow, CancelledScreenSizeKeepsDefaultsAndCancelledNameCreatesNothing) {
  auto q = newEnvelope({std::nullopt});
  ViewerState state;
  state.drawingHeight = 777;
  EXPECT_EQ(runStartupFlow(1, q, state), FlowResult::Ended);
  EXPECT_EQ(state.drawingHeight, 400);
  EXPECT_EQ(state.drawingWidth, 3000);
  EXPECT_TRUE(filesIn(dir).empty());
  EXPECT_EQ(state.envelopeName, "");  // nothing to draw on a first run
  EXPECT_EQ(q.projectQuestions, 0);
}

TEST_F(StartupFlow, CancelledListDialogCreatesNothing) {
  dir.write("old.dat", " 1\nviga1\n");
  auto q = existingEnvelope({std::nullopt});
  ViewerState state;
  EXPECT_EQ(runStartupFlow(3, q, state), FlowResult::Ended);
  EXPECT_EQ(filesIn(dir), std::vector<std::string>{"old.dat"});
  EXPECT_EQ(q.banners, (std::vector<int>{3, 3, 3}));
}

TEST_F(StartupFlow, FiftiethProjectEndsTheSelectionAndWritesCountFifty) {
  auto q = newEnvelope({"e"});
  for (int k = 1; k <= 60; ++k) q.projects.push_back("p" + std::to_string(k));
  ViewerState state;
  ASSERT_EQ(runStartupFlow(1, q, state), FlowResult::Ready);
  EXPECT_EQ(q.projectQuestions, 50);
  EXPECT_EQ(state.projectCount, 50);
  auto lines = testsupport::splitLines(dir.read("e.dat"));
  ASSERT_EQ(lines.size(), 51u);
  EXPECT_EQ(lines[0], " 50");
  EXPECT_EQ(lines[50], "p50");
}

TEST_F(StartupFlow, NoProjectChosenWritesCountZero) {
  auto q = newEnvelope({"e"});
  ViewerState state;
  ASSERT_EQ(runStartupFlow(1, q, state), FlowResult::Ready);
  EXPECT_EQ(state.projectCount, 0);
  EXPECT_EQ(dir.read("e.dat"), " 0\n");
}

TEST_F(StartupFlow, ExistingEnvelopeFilesStayWholeAndItsListIsReadAndShown) {
  dir.write("env.dat", " 2\r\nviga1\r\nviga2\r\n");
  dir.write("env.res", "old report");
  dir.write("env.esf", "old table");
  auto q = existingEnvelope();
  ViewerState state;
  ASSERT_EQ(runStartupFlow(1, q, state), FlowResult::Ready);
  EXPECT_EQ(state.existing, 1);
  EXPECT_EQ(dir.read("env.res"), "old report");  // replaced only by a complete envelope
  EXPECT_EQ(dir.read("env.esf"), "old table");
  EXPECT_EQ(dir.read("env.dat"), " 2\r\nviga1\r\nviga2\r\n");  // read, never rewritten
  ASSERT_EQ(state.projectCount, 2);
  EXPECT_EQ(state.projects[2], "viga2");
  EXPECT_EQ(q.shownNames, (std::vector<std::string>{"viga1", "viga2"}));
  EXPECT_EQ(state.envelopeName, "env");
}

// Count zero gives an empty list and no name boxes; missing name lines repeat the
// last name and a blank cuts the name; a count above fifty is held to fifty.
TEST_F(StartupFlow, ExistingListCountAndNamesAreReadAsShown) {
  const struct {
    const char* list;
    std::vector<std::string> shown;
  } cases[] = {
      {" 0\n", {}},
      {" 4\nviga uno\nviga2\n", {"viga", "viga2", "viga2", "viga2"}},
      {" 999\na\n", std::vector<std::string>(50, "a")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.list);
    dir.write("env.dat", c.list);
    auto q = existingEnvelope();
    ViewerState state;
    state.projectCount = 7;  // left by an earlier run
    ASSERT_EQ(runStartupFlow(1, q, state), FlowResult::Ready);
    ASSERT_EQ(state.projectCount, static_cast<int>(c.shown.size()));
    EXPECT_EQ(q.shownNames, c.shown);
  }
}

TEST_F(StartupFlow, NameWithBlankIsWrittenWholeButReadBackUpToTheBlank) {
  {
    auto q = newEnvelope({"env"}, {"mi viga"});
    ViewerState state;
    ASSERT_EQ(runStartupFlow(1, q, state), FlowResult::Ready);
  }
  EXPECT_EQ(dir.read("env.dat"), " 1\nmi viga\n");
  auto q = existingEnvelope();
  ViewerState state;
  ASSERT_EQ(runStartupFlow(1, q, state), FlowResult::Ready);
  EXPECT_EQ(state.projects[1], "mi");
}

TEST_F(StartupFlow, MissingListFileIsReportedAndTheEnvelopeFilesKeepTheirContent) {
  dir.write("env.res", "old report");
  dir.write("env.esf", "old table");
  auto q = existingEnvelope({"env", "nada"});
  for (int run = 0; run < 2; ++run) {
    ViewerState state;
    EXPECT_EQ(runStartupFlow(1, q, state), FlowResult::Ended);
    EXPECT_EQ(state.outputs.report(), nullptr);
  }
  EXPECT_EQ(q.messages, std::vector<std::string>(2, "error_archivo datos envolventes para leer"));
  EXPECT_EQ(filesIn(dir), (std::vector<std::string>{"env.esf", "env.res"}));
  EXPECT_EQ(dir.read("env.res"), "old report");
  EXPECT_EQ(dir.read("env.esf"), "old table");
}

TEST_F(StartupFlow, ListFileThatCannotBeWrittenIsNamedAndEndsTheFlow) {
  std::filesystem::create_symlink("/dev/full", dir.file("env.dat"));
  auto q = newEnvelope({"env"}, {"viga1"});
  ViewerState state;
  EXPECT_EQ(runStartupFlow(1, q, state), FlowResult::Ended);
  EXPECT_EQ(q.messages, std::vector<std::string>{"ERROR: NO SE PUDO ESCRIBIR EL FICHERO env.dat"});
  EXPECT_EQ(state.outputs.report(), nullptr);
}

TEST_F(StartupFlow, TypedNameIsTakenInWindows1252AndOneItCannotHoldIsRefused) {
  auto q = newEnvelope({"VIGA\xCE\xA9", "VIGA\xC3\xB3"});  // omega, then o acute (UTF-8)
  ViewerState state;
  ASSERT_EQ(runStartupFlow(1, q, state), FlowResult::Ready);
  ASSERT_EQ(q.messages.size(), 1u);
  EXPECT_EQ(state.envelopeName, "VIGA\xF3");
  EXPECT_EQ(filesIn(dir), (std::vector<std::string>{"VIGA\xF3.dat"}));
  EXPECT_NE(state.outputs.report(), nullptr);
}

TEST_F(StartupFlow, UncreatableReportFileEndsTheFlowWithItsMessage) {
  std::filesystem::create_directory(dir.file("bad.res"));
  auto q = newEnvelope({"bad"});
  ViewerState state;
  EXPECT_EQ(runStartupFlow(1, q, state), FlowResult::Ended);
  EXPECT_EQ(q.messages, std::vector<std::string>{"ERROR RES_ENVOLVENTE"});
  EXPECT_FALSE(dir.exists("bad.esf"));
  EXPECT_EQ(q.projectQuestions, 0);

  std::filesystem::create_directory(dir.file("bad2.dat"));
  auto q2 = newEnvelope({"bad2"});
  EXPECT_EQ(runStartupFlow(1, q2, state), FlowResult::Ended);
  EXPECT_EQ(q2.messages, std::vector<std::string>{"ERROR DAT_ENVOLVENTE"});
}

TEST_F(StartupFlow, ProjectNameIsRefusedAndAskedAgainWithoutEmptyingItsFiles) {
  dir.write("viga1.dat", kModelTitle);
  dir.write("viga1.res", "results");
  dir.write("viga1.esf", "forces");
  dir.write("viga2.fmc", "diagram");
  dir.write("viga3.caf", "loads");
  dir.write("viga4.res", "   VIGA4   1    0 \n");  // a static run's results
  auto q = newEnvelope({"viga1", "viga2", "viga3", "viga4", "", "env"});
  ViewerState state;
  ASSERT_EQ(runStartupFlow(1, q, state), FlowResult::Ready);
  EXPECT_EQ(state.envelopeName, "env");
  ASSERT_EQ(q.messages.size(), 5u);
  EXPECT_NE(q.messages[0].find("\"viga1\" es el nombre de un proyecto"), std::string::npos);
  EXPECT_EQ(dir.read("viga4.res"), "   VIGA4   1    0 \n");
  EXPECT_FALSE(dir.exists(kResultsExt));
  EXPECT_EQ(dir.read("viga1.res"), "results");
  EXPECT_EQ(dir.read("viga1.esf"), "forces");
  EXPECT_FALSE(dir.exists("viga2.res"));
}

// A new envelope's name is held to the dialog's rules, the batch's too.
TEST_F(StartupFlow, NewEnvelopeNameWithABlankOrAFolderIsRefusedAndAskedAgain) {
  auto q = newEnvelope({"mi env", "sub/env", "env"});
  ViewerState state;
  ASSERT_EQ(runStartupFlow(1, q, state), FlowResult::Ready);
  EXPECT_EQ(state.envelopeName, "env");
  EXPECT_EQ(q.messages,
            (std::vector<std::string>{"ERROR: EL NOMBRE DE ENVOLVENTE NO PUEDE TENER ESPACIOS EN BLANCO",
                                      "ERROR: EL NOMBRE DE ENVOLVENTE NO PUEDE NOMBRAR UN DIRECTORIO (/ O \\)"}));
  EXPECT_FALSE(dir.exists("mi env.res"));
}

TEST_F(StartupFlow, ProjectChosenAsExistingEnvelopeIsRefusedToo) {
  dir.write("viga1.dat", kModelTitle);
  dir.write("viga1.res", "results");
  dir.write("env.dat", " 1\nviga1\n");
  auto q = existingEnvelope({"viga1", std::nullopt});
  ViewerState state;
  EXPECT_EQ(runStartupFlow(1, q, state), FlowResult::Ended);
  EXPECT_EQ(q.messages.size(), 1u);
  EXPECT_EQ(dir.read("viga1.res"), "results");
}

TEST_F(StartupFlow, RunningAgainClosesThePreviousListFileAndRewritesIt) {
  ViewerState state;
  auto first = newEnvelope({"env"}, {"a", "b"});
  ASSERT_EQ(runStartupFlow(1, first, state), FlowResult::Ready);
  const size_t openAfterFirst = openDescriptors();
  auto second = existingEnvelope();
  ASSERT_EQ(runStartupFlow(1, second, state), FlowResult::Ready);
  EXPECT_EQ(second.shownNames, (std::vector<std::string>{"a", "b"}));
  EXPECT_NE(state.listFile, nullptr);
  // The first run's list, report and table files were closed: the second run
  // holds the same number of files open (list, report, table).
  EXPECT_EQ(openDescriptors(), openAfterFirst);
}

TEST_F(StartupFlow, RunEndingBeforeItsFilesKeepsTheNameOfTheFilesCreatedLast) {
  ViewerState state;
  auto first = newEnvelope({"env"});
  ASSERT_EQ(runStartupFlow(1, first, state), FlowResult::Ready);
  auto second = existingEnvelope({"nada"});  // no nada.dat to read
  EXPECT_EQ(runStartupFlow(1, second, state), FlowResult::Ended);
  EXPECT_EQ(state.envelopeName, "env");  // the drawing goes on under the earlier name
}

// An existing envelope of three projects, with its earlier files: the list,
// report, table and moment script.
void writeExistingEnvelope(const ScratchDir& dir) {
  for (const char* name : {"p1", "p2", "p3"}) writeProject(dir, name, HandProject{});
  dir.write("env.dat", " 3\np1\np2\np3\n");
  dir.write("env.res", "old report");
  dir.write("env.esf", "old table");
  dir.write("envm.scr", "old script");
}

// A project that cannot be combined stops the run before anything of it is
// written or drawn: the earlier files of the envelope stay whole, the drawing
// stays what it was (here none), and the message names the project and file.
TEST_F(StartupFlow, AProjectThatCannotBeCombinedLeavesTheEarlierEnvelopeWhole) {
  HandProject otherBeam;
  otherBeam.nodeX = {0.0f, 5.0f, 10.0f};
  const struct {
    const char* what;
    std::function<void()> spoil;
    RunOutcome outcome;
    std::string message;
  } cases[] = {
      {"a project without its force table", [this] { std::filesystem::remove(dir.file("p2.esf")); },
       RunOutcome::Stopped, "error_archivo esfuerzos: no se puede abrir p2.esf (proyecto p2)"},
      {"a project of another beam", [&] { writeProject(dir, "p2", otherBeam); }, RunOutcome::SelectionError,
       "ERROR EN SELECCION DE PROYECTOS: p2 (p2.dat) NO ES DE LA MISMA VIGA QUE p1"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    writeExistingEnvelope(dir);
    c.spoil();
    const auto before = testsupport::folderContents(dir.path());
    auto q = existingEnvelope();
    ViewerState viewer;
    ASSERT_EQ(runStartupFlow(2, q, viewer), FlowResult::Ready);
    EnvelopeState shown;
    RecordingMessageSink sink;
    EXPECT_EQ(runViewerEnvelope(viewer, shown, sink), c.outcome);
    EXPECT_EQ(sink.messages, std::vector<std::string>{c.message});
    EXPECT_EQ(testsupport::changesSince(before, dir.path()), std::vector<std::string>{});
    EXPECT_EQ(shown.envelopeName(), "");  // nothing to draw, no script to write
    pictures::RecordingCanvas screen;
    EXPECT_EQ(paintDiagram(shown, 2, screen, sink), DrawOutcome::ScriptError);
    EXPECT_EQ(dir.read("envm.scr"), "old script");
  }
}

TEST_F(StartupFlow, ACompleteEnvelopeTakesThePlaceOfTheEarlierFilesAndIsDrawn) {
  writeExistingEnvelope(dir);
  auto q = existingEnvelope();
  ViewerState viewer;
  ASSERT_EQ(runStartupFlow(2, q, viewer), FlowResult::Ready);
  EnvelopeState shown;
  RecordingMessageSink sink;
  EXPECT_EQ(runViewerEnvelope(viewer, shown, sink), RunOutcome::Completed);
  EXPECT_TRUE(sink.messages.empty());
  EXPECT_NE(dir.read("env.res").find("NODO"), std::string::npos);
  EXPECT_NE(dir.read("env.esf"), "old table");
  EXPECT_EQ(shown.envelopeName(), "env");
  pictures::RecordingCanvas screen;
  EXPECT_EQ(paintDiagram(shown, 2, screen, sink), DrawOutcome::Drawn);
  EXPECT_NE(dir.read("envm.scr"), "old script");
}

TEST(DialogPieces, DatStemsStopAtFirstDotAndAtTheLimit) {
  ScratchDir dir;
  dir.write("viga1.dat", "");
  dir.write("a.b.dat", "");
  dir.write("notes.txt", "");
  dir.write("data.dat.bak", "");
  std::filesystem::create_directory(dir.file("sub.dat"));
  auto stems = listDatStems(dir.path());
  std::sort(stems.begin(), stems.end());
  EXPECT_EQ(stems, (std::vector<std::string>{"a", "viga1"}));

  ScratchDir many;
  for (int k = 0; k < 1510; ++k) many.write("p" + std::to_string(k) + kModelExt, "");
  EXPECT_EQ(listDatStems(many.path()).size(), 1500u);
}

TEST(DialogPieces, IntegerFieldsAcceptBlanksAndSignOnly) {
  int v = -7;
  EXPECT_TRUE(parseDialogInteger(" 2000 ", v));
  EXPECT_EQ(v, 2000);
  EXPECT_TRUE(parseDialogInteger("-5", v));
  EXPECT_EQ(v, -5);
  EXPECT_TRUE(parseDialogInteger("99999999999", v));
  EXPECT_EQ(v, 2147483647);
  for (const char* bad : {"", " ", "12a", "1.5", "+", "4 5", "0x10"}) EXPECT_FALSE(parseDialogInteger(bad, v)) << bad;
}

TEST(DialogPieces, ValidationMessagesCarryTheBoundsInWindows1252) {
  EXPECT_EQ(rangeMessage(200, 2000), "Introduzca un n\xFAmero entero entre 200 y 2000.");
  EXPECT_EQ(lengthMessage(40), "No introduzca m\xE1s de 40 caracteres.");
  EXPECT_EQ(integerMessage(), "Introduzca un n\xFAmero entero.");
}

TEST(DialogPieces, DiagramKindIsTheSecondWordOfTheCommandLine) {
  EXPECT_EQ(diagramKindFromCommandLine("x.txt 2"), 2);
  EXPECT_EQ(diagramKindFromCommandLine("x.txt"), 0);
  EXPECT_EQ(diagramKindFromCommandLine(""), 0);
  EXPECT_EQ(diagramKindFromCommandLine("x.txt dos"), 0);
  EXPECT_EQ(diagramKindFromCommandLine("x.txt 7"), 7);
}
