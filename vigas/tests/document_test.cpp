// The document: undo and redo of every kind of edit, the unsaved-changes flag,
// opening files the engines refuse, saving, the analysis F5 runs, and the
// recent files list.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "common/file_names.h"
#include "common/model_writer.h"
#include "projectfiles/analysis.h"
#include "vigas/analysis.h"
#include "vigas/drawable.h"
#include "vigas/project_files.h"
#include "vigas/recent_files.h"
#include "vigas/tests/test_beams.h"

using namespace vigas;
using namespace vigastest;
using testsupport::ScratchDir;

namespace {

// Everything the files would hold, to tell two contents apart.
std::string filesOf(const Content& content) {
  std::string text = common::modelText(content.model);
  for (const LoadCase& c : content.cases) text += "[" + c.name + "]\n" + common::loadsText(c.loads);
  return text;
}

struct Step {
  const char* what;
  EditResult (*edit)(Document&);
};

const Step kEdits[] = {
    {"set a cell",
     [](Document& d) {
       return d.setCell({Table::nodes, 2, 1}, "2.75");
     }},
    {"set a support angle",
     [](Document& d) {
       d.setCell({Table::supports, 2, 1}, "14");
       return d.setCell({Table::supports, 2, 5}, "30");
     }},
    {"insert a row", [](Document& d) { return d.insertRow(Table::bars, 3); }},
    {"delete a row", [](Document& d) { return d.deleteRow(Table::nodes, 4); }},
    {"delete a load", [](Document& d) { return d.deleteRow(Table::loads, 2, 1); }},
    {"add a case", [](Document& d) { return d.addLoadCase("viento"); }},
    {"rename a case", [](Document& d) { return d.renameLoadCase(1, "sobrecarga"); }},
    {"remove a case", [](Document& d) { return d.removeLoadCase(1); }},
    {"replace everything",
     [](Document& d) {
       BeamChoices c = threeSpanChoices();
       c.spans = {4.0};
       c.supports.resize(2);
       return d.replaceContent(buildContinuousBeam(c).content, "viga nueva");
     }},
};

}  // namespace

TEST(Undo, EveryEditIsUndoneAndRedoneExactly) {
  for (const Step& step : kEdits) {
    Document document(threeSpanBeam());
    const std::string before = filesOf(document.content());
    ASSERT_TRUE(step.edit(document).done) << step.what;
    const std::string after = filesOf(document.content());
    ASSERT_NE(after, before) << step.what;
    while (document.undo()) {
    }
    EXPECT_EQ(filesOf(document.content()), before) << step.what;
    while (document.redo()) {
    }
    EXPECT_EQ(filesOf(document.content()), after) << step.what;
  }
}

TEST(Undo, AnAngleComesBackInDegreesAndRadians) {
  Document document(threeSpanBeam());
  ASSERT_TRUE(document.setCell({Table::supports, 2, 1}, "4").done);
  ASSERT_TRUE(document.setCell({Table::supports, 2, 5}, "30").done);
  ASSERT_TRUE(document.setCell({Table::supports, 2, 5}, "45").done);
  document.undo();
  EXPECT_EQ(document.model().supports[2].angleDegrees, 30.0);
  EXPECT_EQ(document.model().supports[2].angle, 30.0 * common::kDegreesToRadians);
}

TEST(Undo, ANewEditDropsWhatWasUndoneAndRefusalsAreNoEdits) {
  Document document(threeSpanBeam());
  document.setCell({Table::nodes, 2, 1}, "2.5");
  document.undo();
  EXPECT_TRUE(document.canRedo());
  EXPECT_EQ(document.redoName(), "cambiar x");
  document.setCell({Table::nodes, 2, 1}, "2.25");
  EXPECT_FALSE(document.canRedo());
  EXPECT_FALSE(document.setCell({Table::nodes, 2, 1}, "x").done);
  EXPECT_FALSE(document.removeLoadCase(0).done);
  EXPECT_FALSE(document.addLoadCase("con espacio").done);
  EXPECT_FALSE(document.addLoadCase("permanente").done);
  document.undo();
  EXPECT_FALSE(document.canUndo());
}

TEST(Undo, TheUnsavedFlagFollowsTheEditsBackAndForth) {
  Document document(threeSpanBeam());
  EXPECT_FALSE(document.modified());
  document.setCell({Table::nodes, 2, 1}, "2.5");
  EXPECT_TRUE(document.modified());
  document.undo();
  EXPECT_FALSE(document.modified());
  document.redo();
  document.markSaved();
  EXPECT_FALSE(document.modified());
  document.undo();
  EXPECT_TRUE(document.modified());
  // The saved state can no longer be reached once a new edit drops it.
  document.setCell({Table::nodes, 2, 1}, "2.25");
  document.undo();
  EXPECT_TRUE(document.modified());
}

// A cell is checked as it is typed: the answer is the edit's own, and
// nothing changes until the text is confirmed.
TEST(Typing, ACellAndACaseNameAnswerAsTheEditWouldAndChangeNothing) {
  struct Typed {
    CellPlace place;
    const char* text;
    bool faulty;
  };
  const Typed cells[] = {
      {{Table::nodes, 2, 1}, "2.75", false}, {{Table::nodes, 2, 1}, "x", true},
      {{Table::bars, 1, 2}, "99", true},     {{Table::sections, 1, 1}, "-0.18", true},
      {{Table::loads, 1, 2, 1}, "50", true}, {{Table::loads, 1, 5, 1}, "7.5", false},
  };
  for (const Typed& typed : cells) {
    Document document(threeSpanBeam());
    const std::string before = filesOf(document.content());
    const EditResult tried = document.tryCell(typed.place, typed.text);
    EXPECT_EQ(filesOf(document.content()), before) << typed.text;
    EXPECT_FALSE(document.canUndo());
    EXPECT_EQ(!tried.done || !tried.reason.empty(), typed.faulty) << typed.text << ": " << tried.reason;
    const EditResult edited = document.setCell(typed.place, typed.text);
    EXPECT_EQ(tried.done, edited.done) << typed.text;
    EXPECT_EQ(tried.reason, edited.reason) << typed.text;
  }
  const std::pair<const char*, bool> names[] = {
      {"viento", false}, {"con espacio", true}, {"permanente", true}, {"", true}};
  for (const auto& [name, faulty] : names) {
    Document document(threeSpanBeam());
    const std::string refusal = document.caseNameRefusal(static_cast<int>(document.cases().size()), name);
    EXPECT_EQ(!refusal.empty(), faulty) << name;
    EXPECT_EQ(refusal, document.addLoadCase(name).reason) << name;
  }
}

TEST(Typing, TwoSupportsOnOneNodeAreBothMarked) {
  Document document(threeSpanBeam());
  ASSERT_TRUE(document.setCell({Table::supports, 2, 0}, "1").done);
  for (int row : {1, 2}) EXPECT_EQ(document.reasonAt({Table::supports, row, 0}), "hay otro apoyo en el nodo 1") << row;
  EXPECT_EQ(document.reasonAt({Table::supports, 3, 0}), "");
}

class ProjectFolder : public ::testing::Test {
 protected:
  ScratchDir dir;
  // The three-span beam in viga.dat / viga.caf / viga_variable.*.
  std::string saved() {
    Document document(threeSpanBeam());
    EXPECT_EQ(saveProject(document, dir.file("viga.dat")), "");
    return dir.file("viga.dat");
  }
};

TEST_F(ProjectFolder, SavingWritesEachCaseAsAProjectAndNothingElse) {
  dir.write("otro.txt", "nada");
  const auto before = testsupport::folderContents(dir.path());
  saved();
  std::vector<std::string> changes = testsupport::changesSince(before, dir.path());
  std::sort(changes.begin(), changes.end());
  EXPECT_EQ(changes, (std::vector<std::string>{"viga.caf", "viga.dat", "viga_variable.caf", "viga_variable.dat"}));
  Document reopened;
  const OpenResult opened = openProject(dir.file("viga.dat"), reopened);
  ASSERT_TRUE(opened.opened);
  EXPECT_EQ(opened.message, "");
  ASSERT_EQ(reopened.cases().size(), 2u);
  // No file keeps the first case's name: it opens as "principal".
  EXPECT_EQ(reopened.cases()[0].name, "principal");
  EXPECT_EQ(reopened.cases()[1].name, "variable");
  Content expected = threeSpanBeam();
  expected.cases[0].name = "principal";
  EXPECT_EQ(filesOf(reopened.content()), filesOf(expected));
  EXPECT_FALSE(reopened.modified());
}

TEST_F(ProjectFolder, AnotherProjectNamedLikeACaseIsNeverWrittenOver) {
  // viga_corta is a beam of its own that happens to be named like a case of viga.
  BeamChoices other = threeSpanChoices();
  other.spans = {3.0};
  other.supports.resize(2);
  Content otherContent = buildContinuousBeam(other).content;
  otherContent.cases.resize(1);
  otherContent.cases[0].loads.clear();  // its loads do not fit the first beam: an error that stops a save anyway
  Document otherBeam(otherContent);
  ASSERT_EQ(saveProject(otherBeam, dir.file("viga_corta.dat")), "");
  const std::string path = saved();
  const auto before = testsupport::folderContents(dir.path());
  Document document;
  ASSERT_TRUE(openProject(path, document).opened);
  ASSERT_EQ(document.cases().size(), 3u);  // its loads file is taken for a case
  EXPECT_NE(saveProject(document).find("viga_corta.dat"), std::string::npos);
  EXPECT_TRUE(testsupport::changesSince(before, dir.path()).empty());
  // Without that case, the beam's own further case (its model again) is
  // written over, the other beam left alone.
  const std::string otherModel = dir.read("viga_corta.dat");
  ASSERT_EQ(document.cases()[1].name, "corta");
  ASSERT_TRUE(document.removeLoadCase(1).done);
  ASSERT_TRUE(document.setCell({Table::sections, 1, 4}, "0.65").done);
  ASSERT_EQ(saveProject(document), "");
  EXPECT_EQ(dir.read("viga_corta.dat"), otherModel);
  EXPECT_EQ(dir.read("viga_variable.dat"), common::modelText(caseModel(document.content(), 1)));
}

TEST_F(ProjectFolder, ARenamedCaseDoesNotComeBackUnderItsOldName) {
  Document document;
  ASSERT_TRUE(openProject(saved(), document).opened);
  ASSERT_TRUE(document.renameLoadCase(1, "sobrecarga").done);
  ASSERT_EQ(saveProject(document), "");
  EXPECT_FALSE(dir.exists("viga_variable.dat"));
  EXPECT_FALSE(dir.exists("viga_variable.caf"));
  Document reopened;
  ASSERT_TRUE(openProject(dir.file("viga.dat"), reopened).opened);
  ASSERT_EQ(reopened.cases().size(), 2u);
  EXPECT_EQ(reopened.cases()[1].name, "sobrecarga");
}

TEST_F(ProjectFolder, TheOwnWeightActsInTheFirstCaseOnly) {
  Document document(threeSpanBeam());
  ASSERT_TRUE(document.setCell({Table::header, 1, 3}, "1").done);
  ASSERT_EQ(saveProject(document, dir.file("viga.dat")), "");
  EXPECT_EQ(projectfiles::readModel(dir.file("viga.dat"), dir.file("viga.caf")).header.selfWeight, 1);
  const projectfiles::Model variable =
      projectfiles::readModel(dir.file("viga_variable.dat"), dir.file("viga_variable.caf"));
  EXPECT_EQ(variable.header.selfWeight, 0);
  EXPECT_EQ(variable.bars.size(), 9u);
}

TEST_F(ProjectFolder, AModelWithErrorsIsNotSavedAndStaysAsTyped) {
  const std::string path = saved();
  const std::string before = dir.read("viga.dat");
  Document document;
  ASSERT_TRUE(openProject(path, document).opened);
  document.setCell({Table::bars, 1, 2}, "99");
  EXPECT_NE(saveProject(document).find("errores"), std::string::npos);
  EXPECT_EQ(dir.read("viga.dat"), before);
  EXPECT_EQ(cellText(document.content(), {Table::bars, 1, 2}), "99");
}

TEST_F(ProjectFolder, AModelCalcestRefusesOpensAsTypedWithItsMessageAndLine) {
  // The first bar (lines 6 and 7) names node 7, which is not there: the
  // reading stops at the end of its second line.
  dir.write("m.dat",
            "M 1 1\n2 3 1 0 1 1 0 0 0 0.0\n1 0 0\n3 9 0\n2 4 0\n2 2 7 1 1 1 0\n1 0 0 0 1\n"
            "1 2 3 1 1 1 0\n1 0 0 0 1\n1 0.1 0.001 0.1 0.1\n1 3e7 1e7 25 1e-5\n1 110 0 0\n");
  dir.write("m.caf", "");
  Document document;
  const OpenResult opened = openProject(dir.file("m.dat"), document);
  EXPECT_TRUE(opened.opened);
  EXPECT_EQ(opened.message, "ERROR EN NODOS/ELEMENTO");
  EXPECT_EQ(opened.file, dir.file("m.dat"));
  EXPECT_EQ(opened.line, 7);
  EXPECT_EQ(document.model().nodes[2].label, 3);  // in the order typed
  EXPECT_EQ(document.reasonAt({Table::bars, 1, 2}), "no hay ning\xFAn nodo con la etiqueta 7");
}

TEST_F(ProjectFolder, AValueThatCannotBeReadStopsTheOpeningAtItsLine) {
  dir.write("m.dat", "M 1 1\n1 2 1 0 1 1 0 0 0 0.0\n1 0 0\n2 x 0\n");
  dir.write("m.caf", "");
  Document document(threeSpanBeam());
  const OpenResult opened = openProject(dir.file("m.dat"), document);
  EXPECT_FALSE(opened.opened);
  EXPECT_NE(opened.message.find("nodo 2"), std::string::npos) << opened.message;
  EXPECT_EQ(opened.line, 4);
  EXPECT_EQ(document.model().header.title, "TRES");  // left as it was
}

TEST_F(ProjectFolder, ALoadThatDoesNotFitIsCalcestsMessageAboutTheLoadsFile) {
  const std::string path = saved();
  dir.write("viga.caf", "1 3 0 3 0 -10 y\n2 3 0 4 0 -10 y\n");
  Document document;
  const OpenResult opened = openProject(path, document);
  EXPECT_TRUE(opened.opened);
  EXPECT_NE(opened.message.find("LA CARGA 2 DEL FICHERO"), std::string::npos) << opened.message;
  EXPECT_EQ(opened.file, dir.file("viga.caf"));
  EXPECT_EQ(opened.line, 2);
  EXPECT_EQ(document.reasonAt({Table::loads, 2, 4, 0}).substr(0, 28), "la carga no cabe en la barra");
}

TEST_F(ProjectFolder, OfTwoFaultsTheMessageIsTheOneCalcestGivesFirst) {
  // calcest reads the loads before the supports: a support on no node and a
  // load longer than its bar give the load's message.
  Document broken(threeSpanBeam());
  ASSERT_TRUE(broken.setCell({Table::supports, 2, 0}, "99").done);
  ASSERT_TRUE(broken.setCell({Table::loads, 1, 3}, "3.5").done);
  dir.write("m.dat", common::modelText(broken.model()));
  dir.write("m.caf", common::loadsText(broken.cases()[0].loads));
  Document document;
  const OpenResult opened = openProject(dir.file("m.dat"), document);
  ASSERT_TRUE(opened.opened);
  EXPECT_EQ(opened.file, dir.file("m.caf"));
  const testsupport::RunResult run = testsupport::runCalcest(calcestBinary(), dir.path(), "m");
  EXPECT_EQ(run.status, 1);
  // calcest names the file as it was given, the editor by its path.
  std::string message = opened.message;
  message.erase(message.find(dir.path() + "/"), dir.path().size() + 1);
  EXPECT_NE(message.find("NO CABE"), std::string::npos) << message;
  EXPECT_NE(run.output.find(message), std::string::npos) << message << " / " << run.output;
}

TEST_F(ProjectFolder, F5WritesEachCasesResultsAndShowsTheSameAnalysis) {
  setenv("VIGAS_BIN", CALCEST_FOLDER, 1);
  Document document(threeSpanBeam());
  EXPECT_NE(saveAndAnalyse(document).error, "");  // no file name yet
  document.setModelPath(dir.file("viga.dat"));
  // calcest's fixed-name traces go neither among the project's files nor to
  // a folder the user's VIGAS_TRACES names.
  const testsupport::ScratchDir usersTraces;
  setenv(common::kTraceFolderVariable, usersTraces.path().c_str(), 1);
  const AnalysisRun run = saveAndAnalyse(document);
  unsetenv(common::kTraceFolderVariable);
  for (const char* trace : common::kCalcestTraceFiles) EXPECT_FALSE(dir.exists(trace)) << trace;
  EXPECT_TRUE(std::filesystem::is_empty(usersTraces.path()));
  ASSERT_EQ(run.error, "");
  ASSERT_EQ(run.cases.size(), 2u);
  for (const CaseResults& c : run.cases) {
    ASSERT_EQ(c.error, "") << c.name;
    // The results calcest wrote are those on screen: the suite's reader of a
    // project checks them against the same analysis.
    const projectfiles::Model model = projectfiles::readModel(c.project + ".dat", c.project + ".caf");
    projectfiles::TokenFile res(c.project + ".res");
    EXPECT_NO_THROW(projectfiles::checkResultsFile(
        model, projectfiles::analyseProject(model, c.project),
        projectfiles::readResultsFile(res, projectfiles::resultsShapeOf(model)), c.project));
    EXPECT_EQ(c.curves.size(), 8u);
  }
  // The variable case carries half the permanent load: half of every reaction.
  for (size_t k = 0; k < 4; ++k)
    EXPECT_NEAR(run.cases[1].reactions[k].Ry, run.cases[0].reactions[k].Ry / 2, 1e-9 * run.cases[0].reactions[k].Ry);
  // Mid-span of bar 3 (span 2): the true line sags.
  EXPECT_LT(run.cases[0].curves[2].deflection(2.0), 0.0);
  EXPECT_FALSE(document.modified());
}

TEST_F(ProjectFolder, AnEngineErrorComesBackAsItsText) {
  setenv("VIGAS_BIN", CALCEST_FOLDER, 1);
  Document document(threeSpanBeam());
  document.setModelPath(dir.file("viga.dat"));
  // Hinges at both ends of every bar: each node turns freely, a mechanism.
  for (int bar = 1; bar <= 8; ++bar) ASSERT_TRUE(document.setCell({Table::bars, bar, 5}, "4").done);
  const AnalysisRun run = saveAndAnalyse(document);
  ASSERT_EQ(run.cases.size(), 2u);
  EXPECT_NE(run.cases[0].error.find("MODELO CON PROBLEMAS"), std::string::npos) << run.cases[0].error;
  EXPECT_EQ(run.cases[0].error.find("Presione"), std::string::npos);
}

TEST(RecentFiles, NewestFirstOnceEachAndNoMoreThanItsCapacity) {
  RecentFiles recent(3);
  for (const char* path : {"a.dat", "b.dat", "c.dat", "a.dat", "d.dat"}) recent.add(path);
  EXPECT_EQ(recent.paths(), (std::vector<std::string>{"d.dat", "a.dat", "c.dat"}));
  recent.remove("a.dat");
  EXPECT_EQ(RecentFiles::fromText(recent.text(), 3).paths(), (std::vector<std::string>{"d.dat", "c.dat"}));
}

namespace {

// What the picture draws of a beam being typed: a bar to a node not typed yet,
// a support there and the loads on that bar are left out; every item drawn
// names the row it came from.
TEST(DrawnBeam, LeavesOutWhatCannotBeDrawnAndKeepsEachItemsRow) {
  Content content = buildContinuousBeam(threeSpanChoices()).content;
  ModelData& m = content.model;
  const int bars = static_cast<int>(m.bars.size()) - 1, supports = static_cast<int>(m.supports.size()) - 1;
  common::BarInput loose = m.bars[1];
  loose.label = 99;
  loose.labelJ = 77;  // no such node
  m.bars.insert(m.bars.begin() + 2, loose);
  common::Support floating = m.supports[1];
  floating.label = 77;
  m.supports.insert(m.supports.begin() + 1, floating);
  std::vector<BarLoad>& loads = content.cases[0].loads;
  BarLoad onLoose = loads.at(0);
  onLoose.barLabel = 99;
  loads.insert(loads.begin(), onLoose);

  const DrawableModel drawn = drawableModel(content, 0);
  ASSERT_EQ(static_cast<int>(drawn.model.bars.size()) - 1, bars);
  EXPECT_EQ(drawn.barRow[1], 1);
  EXPECT_EQ(drawn.barRow[2], 3);  // the row after the loose bar's
  EXPECT_EQ(drawn.model.bars[2].label, m.bars[3].label);
  ASSERT_EQ(static_cast<int>(drawn.model.supports.size()) - 1, supports);
  EXPECT_EQ(drawn.supportRow[1], 2);
  ASSERT_EQ(drawn.model.loads.size(), loads.size() - 1);
  EXPECT_EQ(drawn.loadRow[1], 2);  // rows count from 1; the first is the loose bar's
  EXPECT_EQ(drawn.model.bars[static_cast<size_t>(drawn.model.loads[0].bar)].label, loads[1].barLabel);
}

}  // namespace
