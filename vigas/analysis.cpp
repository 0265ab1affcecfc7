#include "vigas/analysis.h"

#include <cstdio>
#include <cstring>
#include <filesystem>

#include "calcest/static_solution.h"
#include "common/child_process.h"
#include "common/fellow_program.h"
#include "common/file_names.h"
#include "common/file_handle.h"
#include "common/model_writer.h"
#include "common/run_error.h"
#include "common/scan.h"
#include "common/temporary_folder.h"
#include "projectfiles/analysis.h"
#include "vigas/project_files.h"

namespace vigas {

using namespace common;

namespace {

// A text read back through the engine's scanner, as from its file.
class TextFile {
 public:
  TextFile(const std::string& text, const std::string& name) : file_(std::tmpfile()), scanner_(file_.get(), name) {
    if (!file_) throw RunError("ERROR: NO SE PUEDE CREAR UN FICHERO TEMPORAL\n");
    std::fwrite(text.data(), 1, text.size(), file_.get());
    std::rewind(file_.get());
  }
  Scanner& scanner() { return scanner_; }

 private:
  FileHandle file_;
  Scanner scanner_;
};

void takeResults(CaseResults& results, const projectfiles::Model& model, const calcest::StaticSolution& solution) {
  for (size_t n = 1; n < solution.nodes.size(); ++n) {
    const Node& node = solution.nodes[n];
    results.nodes.push_back({node.label, node.x, node.y, node.ux, node.uy, node.rot});
  }
  for (size_t k = 1; k < model.supports.size(); ++k) {
    const calcest::NodeResult& r = solution.reactions[k];
    results.reactions.push_back({model.supports[k].label, model.supports[k].code, r.Rx, r.Ry, r.M});
  }
  results.model = model;
  results.curves = projectfiles::barCurves(model, solution);
}

}  // namespace

CaseResults analyseCase(const Content& content, int loadCase, const std::string& project) {
  CaseResults results;
  results.name = content.cases[static_cast<size_t>(loadCase)].name;
  results.project = project;
  try {
    projectfiles::Model model;
    TextFile dat(modelText(caseModel(content, loadCase)), fileOf(project, kModelExt));
    static_cast<ModelData&>(model) = ModelReader(dat.scanner()).readModel();
    TextFile caf(loadsText(content.cases[static_cast<size_t>(loadCase)].loads), fileOf(project, kLoadsExt));
    model.loads = calcest::readBarLoads(caf.scanner(), model.bars);
    calcest::StaticCase all;
    all.loads = model.loads;
    all.selfWeight = model.header.selfWeight == 1;
    takeResults(results, model, calcest::solveStatic(model, all));
  } catch (const RunError& error) {
    results = CaseResults{results.name, project, error.text, {}, {}, {}, {}};
  }
  return results;
}

AnalysisRun saveAndAnalyse(Document& document, std::optional<int> modesOption) {
  AnalysisRun run;
  const std::string saved = saveProject(document);
  if (!saved.empty()) {
    run.error = saved;
    return run;
  }
  const std::string calcest = fellowProgram("calcest");
  if (calcest.empty()) {
    run.error = "no se encuentra el programa calcest: " + fellowNotFoundText();
    return run;
  }
  const Content& content = document.content();
  std::filesystem::path folder = std::filesystem::path(document.modelPath()).parent_path();
  if (folder.empty()) folder = ".";
  // calcest's fixed-name traces go to a folder of this run's own, not among
  // the user's files, where every case would rewrite the last one's.
  const TemporaryFolder traces("vigas-trazas");
  for (int k = 0; k < static_cast<int>(content.cases.size()); ++k) {
    const std::string project = caseProject(document.modelPath(), content, k);
    const std::string name = std::filesystem::path(project).filename().string();
    // No input: calcest waits for no key. Its text is shown as the files'
    // character set, whatever the locale.
    ChildProgram calcestRun;
    calcestRun.argv = calcestCommandLine(name);
    calcestRun.argv.insert(calcestRun.argv.begin(), calcest);
    calcestRun.folder = folder.string();
    calcestRun.environment = {"LC_ALL=C", std::string(kTraceFolderVariable) + "=" + traces.path()};
    calcestRun.outputLimit = kFellowOutputKept;
    const ChildRun program = runChild(calcestRun, nullptr, kCalcestTimeLimitSeconds);
    if (program.started()) document.noteAnalysed(project);
    if (program.status != 0) {
      CaseResults failed;
      failed.name = content.cases[static_cast<size_t>(k)].name;
      failed.project = project;
      failed.error = program.started() ? printedText(program.output)
                                       : "no se pudo ejecutar " + calcest + ": " + std::strerror(program.startError);
      if (failed.error.empty()) failed.error = "calcest no termin\xF3 su c\xE1lculo";
      run.cases.push_back(failed);
      continue;
    }
    run.cases.push_back(analyseCase(content, k, project));
  }
  if (modesOption && !run.cases.empty() && run.cases.front().error.empty()) {
    run.modes = runModes(run.cases.front().project, *modesOption, static_cast<int>(run.cases.front().nodes.size()));
    if (run.modes->error.empty()) run.beamModes = beamModes(caseModel(content, 0), *modesOption, kBeamModesShown);
  }
  return run;
}

}  // namespace vigas
