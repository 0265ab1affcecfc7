// The window's runs of the suite's other programs: their command lines as
// their manual pages give them, the choice of permanent and variable cases,
// the file names calcest takes, calcdin's modes after F5, and what a removed
// case's analysis left behind.
#include <gtest/gtest.h>

#include <cmath>

#include "common/file_names.h"
#include "common/model_writer.h"
#include "common/page_viewer.h"
#include "vigas/analysis.h"
#include "vigas/project_files.h"
#include "vigas/suite_programs.h"
#include "vigas/tests/test_beams.h"

using namespace vigas;
using namespace vigastest;
using testsupport::ScratchDir;
using Words = std::vector<std::string>;

namespace {

TEST(CommandLines, EachProgramIsGivenItsArgumentsInItsOrder) {
  EnvelopeChoice factors;
  factors.gG = 1.35, factors.gGinf = 0.9, factors.gQ = 1.5;
  const struct {
    Words built, expected;
  } cases[] = {
      {common::calcdinCommandLine("viga", 2), {"viga.dat", "viga.bar", "viga.din", "2"}},
      {informeCommandLine("viga", "viga.din"), {"viga", "viga.din"}},
      {informeCommandLine("viga"), {"viga"}},
      {common::webrixCommandLine("viga.html"), {"viga.html", "viga.html", "0"}},
      {alternanciasCommandLine("V", "viga.dat", "viga.caf", "/tmp/x/variables.caf", factors),
       {"V", "viga.dat", "viga.caf", "/tmp/x/variables.caf", "--gG", "1.35", "--gGinf", "0.9", "--gQ", "1.5"}},
  };
  for (const auto& c : cases) EXPECT_EQ(c.built, c.expected);
}

TEST(EnvelopeChoiceRules, AVariableCaseAndFactorsAlternanciasTakes) {
  Content three = threeSpanBeam();
  three.cases.push_back({"nieve", {}});
  const EnvelopeChoice preset = presetEnvelopeChoice(three);
  EXPECT_EQ(preset.roles, (std::vector<CaseRole>{CaseRole::permanent, CaseRole::variable, CaseRole::variable}));
  auto with = [&](std::vector<CaseRole> roles, double gG = 1.35, double gQ = 1.5) {
    EnvelopeChoice c = preset;
    c.roles = std::move(roles);
    c.gG = gG, c.gQ = gQ;
    return envelopeChoiceFault(c, three);
  };
  using R = CaseRole;
  const struct {
    std::string fault;
    bool refused;
  } cases[] = {
      {envelopeChoiceFault(preset, three), false},
      {with({R::unused, R::variable, R::unused}), false},  // no permanent load: the own weight, if any
      {with({R::permanent, R::variable}), true},           // a case without a role
      {with({R::permanent, R::unused, R::permanent}), true},
      {with({R::permanent, R::variable, R::variable}, 100.0), false},
      {with({R::permanent, R::variable, R::variable}, 100.01), true},
      {with({R::permanent, R::variable, R::variable}, 1.35, 0.0), true},
  };
  for (size_t k = 0; k < std::size(cases); ++k) EXPECT_EQ(!cases[k].fault.empty(), cases[k].refused) << k;
}

TEST(EnvelopeChoiceRules, TheCasesOfARoleGoTogetherInOrder) {
  Content three = threeSpanBeam();
  three.cases.push_back({"nieve", {three.cases[1].loads.front()}});
  three.cases.back().loads.front().q = -7.5;
  EnvelopeChoice choice = presetEnvelopeChoice(three);
  const std::string variable = loadsOfRole(three, choice, CaseRole::variable);
  EXPECT_EQ(variable, common::loadsText(three.cases[1].loads) + common::loadsText(three.cases[2].loads));
  choice.roles[1] = CaseRole::unused;
  EXPECT_EQ(loadsOfRole(three, choice, CaseRole::variable), common::loadsText(three.cases[2].loads));
  EXPECT_EQ(loadsOfRole(three, choice, CaseRole::permanent), common::loadsText(three.cases[0].loads));
}

TEST(EnvelopeChoiceRules, TheEnvelopeIsNamedAfterTheProjectInLettersAlternanciasTakes) {
  const std::pair<std::string, std::string> cases[] = {{"/obra/viga.dat", "viga-envolvente"},
                                                       {"/obra/mi viga.v2.dat", "mi_viga_v2-envolvente"},
                                                       {"x-y_Z9.dat", "x-y_Z9-envolvente"},
                                                       {"/o/p\xF3rtico.dat", "p_rtico-envolvente"}};
  for (const auto& [path, name] : cases) EXPECT_EQ(envelopeName(path), name) << path;
}

// calcest takes model file names of up to 51 characters, and a case's is the
// project's name, '_', the case's name and ".dat".
TEST(FileNames, ANameCalcestWouldRefuseIsRefusedWhereItIsTyped) {
  const std::string folder = "/una/carpeta/bastante/larga/";
  const std::string stem47(47, 'p'), stem26(26, 'p'), name20(20, 'c');
  const struct {
    std::string modelPath, caseName;
    bool refused;
  } cases[] = {{folder + stem47 + ".dat", "", false},
               {folder + stem47 + "p.dat", "", true},
               {folder + stem26 + ".dat", name20, false},
               {folder + stem26 + "p.dat", name20, true},
               {folder + stem26 + "p.dat", name20.substr(1), false}};
  for (const auto& c : cases) {
    const std::string reason = caseFileNameFault(c.modelPath, c.caseName);
    EXPECT_EQ(!reason.empty(), c.refused) << c.modelPath << " " << c.caseName;
    if (c.refused) {
      EXPECT_NE(reason.find("51"), std::string::npos) << reason;
    }
  }
}

TEST(FileNames, TheDocumentShowsTheFaultOnTheTableAndRefusesTheSave) {
  ScratchDir dir;
  Document document(threeSpanBeam());
  // Beside a project of 38 letters a case of 8 makes a file name of 51 characters.
  document.setModelPath(dir.file(std::string(38, 'p') + ".dat"));
  EXPECT_FALSE(document.hasErrors());
  EXPECT_FALSE(document.addLoadCase("nieve1234").done);  // 52
  EXPECT_TRUE(document.addLoadCase("nieve123").done);    // 51
  EXPECT_EQ(saveProject(document), "");
  // Saved as a longer name, the further case's file name no longer fits.
  EXPECT_NE(saveProject(document, dir.file(std::string(40, 'p') + ".dat")), "");
  EXPECT_FALSE(dir.exists(std::string(40, 'p') + ".dat"));
  document.setModelPath(dir.file(std::string(40, 'p') + ".dat"));
  ASSERT_TRUE(document.hasErrors());
  EXPECT_EQ(document.errors().front().place.table, Table::loads);
  EXPECT_NE(document.errors().front().reason.find("calcest"), std::string::npos);
  // Saved under a shorter name, the beam is without fault again.
  EXPECT_EQ(saveProject(document, dir.file("corta.dat")), "");
  EXPECT_FALSE(document.hasErrors());
}

class AnalysedProject : public ::testing::Test {
 protected:
  ScratchDir bin, dir;
  Document document{threeSpanBeam()};
  void SetUp() override {
    useSuitePrograms(bin);
    document.setModelPath(dir.file("viga.dat"));
  }
};

// The three-span beam has 9 nodes (27 directions); calcdin's option 0 removes
// two directions at each of its four supports, option 1 none.
TEST_F(AnalysedProject, F5WithCalcdinShowsTheBeamsModesInAscendingOrder) {
  const std::pair<int, size_t> cases[] = {{0, 19}, {1, 27}};
  for (const auto& [option, count] : cases) {
    const AnalysisRun run = saveAndAnalyse(document, option);
    ASSERT_TRUE(run.modes) << option;
    ASSERT_EQ(run.modes->error, "") << option;
    ASSERT_EQ(run.modes->modes.size(), count) << option;
    double previous = -1e300;
    for (const ModeRow& m : run.modes->modes) {
      EXPECT_GE(m.eigenvalue, previous);
      previous = m.eigenvalue;
      // f = sqrt(|λ|) / 2π, to the six decimals calcdin prints.
      EXPECT_NEAR(m.frequency, std::sqrt(std::fabs(m.eigenvalue)) / (2 * M_PI), 1e-6 + 1e-7 * m.frequency);
      if (m.frequency > 0) {
        EXPECT_DOUBLE_EQ(m.period * m.frequency, 1.0);
      }
    }
  }
  EXPECT_FALSE(saveAndAnalyse(document).modes);
}

TEST_F(AnalysedProject, ACalcdinThatCannotRunIsItsReasonAndNoModes) {
  setenv("VIGAS_BIN", dir.path().c_str(), 1);  // no programs there
  const ModesRun run = runModes(dir.file("viga"), 0, 9);
  EXPECT_NE(run.error.find("calcdin"), std::string::npos);
  EXPECT_TRUE(run.modes.empty());
}

// A removed case's results are taken away with the save only when this
// window's analysis wrote them; any other file of its name stays.
TEST_F(AnalysedProject, ARemovedCasesResultsGoWithItWhenThisWindowWroteThem) {
  for (const bool analysedHere : {true, false}) {
    document = Document(threeSpanBeam(), dir.file("viga.dat"));
    ASSERT_EQ(saveAndAnalyse(document).error, "");
    dir.write("viga_variable.esf", "tabla de otro\n");
    Document reopened;  // the same beam in another window, which has not analysed it
    ASSERT_TRUE(openProject(dir.file("viga.dat"), reopened).opened);
    Document& edited = analysedHere ? document : reopened;
    ASSERT_TRUE(edited.removeLoadCase(1).done);
    ASSERT_EQ(saveProject(edited), "");
    for (const auto& names : {common::filesOf("viga_variable", common::kCalcestResultExtensions),
                              common::filesOf("viga_variable", common::kCalcestSideExtensions),
                              common::filesOf("viga_variable", common::kCalcestTraceExtensions)})
      for (const std::string& name : names) EXPECT_EQ(dir.exists(name), !analysedHere) << name << " " << analysedHere;
    EXPECT_TRUE(dir.exists("viga_variable.esf"));
    EXPECT_TRUE(dir.exists("viga.res"));
    EXPECT_FALSE(dir.exists("viga_variable.dat"));
  }
}

TEST_F(AnalysedProject, TheEnvelopeIsAlternanciasSummaryAndPicturesOrItsText) {
  EnvelopeChoice choice = presetEnvelopeChoice(document.content());
  const EnvelopeRun run = runEnvelope(document, choice);
  ASSERT_EQ(run.error, "");
  EXPECT_EQ(run.name, dir.file("viga-envolvente"));
  // Over the 2 m overhang: 1.35 · 10 · 2² / 2 + 1.5 · 5 · 2² / 2 = 42.
  EXPECT_NE(run.summary.find("-42.0000 x 19.0000"), std::string::npos) << run.summary;
  for (const std::string& picture : run.pictures) EXPECT_TRUE(std::filesystem::exists(picture)) << picture;
  choice.gQ = 0;
  EXPECT_NE(runEnvelope(document, choice).error, "");
}

// Two variable cases go together: the overhang's variable moment doubles,
// 1.35 · 20 + 1.5 · 2 · 10 = 57.
TEST_F(AnalysedProject, CasesOfOneKindActTogether) {
  Content twice = document.content();
  twice.cases.push_back({"otra", twice.cases[1].loads});
  ASSERT_TRUE(document.replaceContent(twice, "otro caso variable").done);
  ScratchDir tmp;  // where their loads go together, for the run only
  const char* before = std::getenv("TMPDIR");
  const std::string tmpBefore = before ? before : "";
  setenv("TMPDIR", tmp.path().c_str(), 1);
  const EnvelopeRun run = runEnvelope(document, presetEnvelopeChoice(document.content()));
  before ? setenv("TMPDIR", tmpBefore.c_str(), 1) : unsetenv("TMPDIR");
  ASSERT_EQ(run.error, "");
  EXPECT_NE(run.summary.find("-57.0000 x 19.0000"), std::string::npos) << run.summary;
  EXPECT_TRUE(std::filesystem::is_empty(tmp.path()));
}

}  // namespace
