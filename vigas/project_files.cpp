#include "vigas/project_files.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "calcest/loads.h"
#include "common/file_handle.h"
#include "common/file_names.h"
#include "common/model_rules.h"
#include "common/model_writer.h"
#include "common/run_error.h"
#include "common/safe_output.h"
#include "common/scan.h"
#include "common/whole_file.h"
#include "vigas/spans.h"

namespace vigas {

using namespace common;

namespace {

std::string stemOf(const std::string& modelPath) {
  const std::filesystem::path path(modelPath);
  return (path.parent_path() / path.stem()).string();
}

// Line of `path` at byte `offset`: where a reading stopped.
int lineAt(const std::string& path, long offset) {
  if (offset < 0) return 0;
  std::string bytes;
  try {
    bytes = readWholeFile(path);
  } catch (const RunError&) {
    return 0;
  }
  const size_t end = std::min(bytes.size(), static_cast<size_t>(offset));
  return 1 + static_cast<int>(std::count(bytes.begin(), bytes.begin() + static_cast<long>(end), '\n'));
}

// A file opened for one reading, with the place the reading stopped at.
class Reading {
 public:
  explicit Reading(const std::string& path) : path_(path), file_(openInputFile(path)) {
    if (!file_) throw RunError(cannotReadText(path));
    scanner_ = std::make_unique<Scanner>(file_.get(), path);
  }
  Scanner& scanner() { return *scanner_; }
  OpenResult refusal(const RunError& error) const {
    return OpenResult{false, error.text, path_, lineAt(path_, scanner_->offset())};
  }

 private:
  std::string path_;
  FileHandle file_;
  std::unique_ptr<Scanner> scanner_;
};

// The files as typed; throws an OpenResult when one cannot be read value by value.
Content readAsTyped(const std::string& modelPath, const std::vector<std::pair<std::string, std::string>>& cases) {
  Content content;
  {
    Reading dat(modelPath);
    try {
      content.model = ModelReader(dat.scanner(), ModelReader::Checks::none).readModel();
    } catch (const RunError& error) {
      throw dat.refusal(error);
    }
  }
  for (const auto& [name, path] : cases) {
    Reading caf(path);
    try {
      content.cases.push_back(LoadCase{name, calcest::readLoadLines(caf.scanner())});
    } catch (const RunError& error) {
      throw caf.refusal(error);
    }
  }
  return content;
}

// The engine's reading of the same files, in calcest's order (header, bar
// tables, the bars' shear stiffness, the first case's loads, then supports,
// ties and nodal loads; each further case's loads after): its first refusal.
OpenResult engineVerdict(const std::string& modelPath, const std::vector<std::pair<std::string, std::string>>& cases) {
  Reading dat(modelPath);
  std::vector<std::unique_ptr<Reading>> cafs;
  for (const auto& entry : cases) cafs.push_back(std::make_unique<Reading>(entry.second));
  ModelReader reader(dat.scanner());
  ModelData model;
  try {
    model.header = reader.readHeader();
    refuse(tooManyBarsFault(model.header.nb));
    requireBars(model.header);
    model.nodes = reader.readNodes(model.header.nn);
    int maxw = 0;
    reader.readBarTables(model, maxw);
    for (size_t k = 1; k < model.bars.size(); ++k) refuse(shearFault(model.bars[k]));
  } catch (const RunError& error) {
    return dat.refusal(error);
  }
  for (size_t c = 0; c < cafs.size(); ++c) {
    try {
      calcest::readBarLoads(cafs[c]->scanner(), model.bars);
    } catch (const RunError& error) {
      return cafs[c]->refusal(error);
    }
    if (c > 0) continue;
    try {
      reader.readSupportsTiesAndNodalLoads(model);
    } catch (const RunError& error) {
      return dat.refusal(error);
    }
  }
  return OpenResult{true, "", "", 0};
}

// The first case, then PROJECT_NAME.caf beside the model, by name.
std::vector<std::pair<std::string, std::string>> caseFiles(const std::string& modelPath) {
  const std::string stem = stemOf(modelPath);
  const std::string prefix = std::filesystem::path(stem).filename().string() + "_";
  std::vector<std::pair<std::string, std::string>> cases = {{"principal", fileOf(stem, kLoadsExt)}};
  std::error_code error;
  std::filesystem::path folder = std::filesystem::path(modelPath).parent_path();
  if (folder.empty()) folder = ".";
  std::vector<std::pair<std::string, std::string>> further;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
    const std::string name = entry.path().filename().string();
    if (entry.path().extension() != kLoadsExt || name.rfind(prefix, 0) != 0) continue;
    const std::string caseName = entry.path().stem().string().substr(prefix.size());
    if (!caseName.empty()) further.push_back({caseName, fileOf(stem + "_" + caseName, kLoadsExt)});
  }
  std::sort(further.begin(), further.end());
  cases.insert(cases.end(), further.begin(), further.end());
  return cases;
}

// A model file read as typed and written again without its own weight, or ""
// when it cannot be read: two files are the same beam when these agree.
std::string beamOf(const std::string& path) {
  try {
    Reading dat(path);
    ModelData model = ModelReader(dat.scanner(), ModelReader::Checks::none).readModel();
    model.header.selfWeight = 0;
    return modelText(model);
  } catch (const RunError&) {
    return "";
  }
}

bool fileExists(const std::string& path) {
  std::error_code error;
  return std::filesystem::exists(path, error) || error;
}

// Whether the model file of a further case is the project's model again (as
// saved by an earlier save, or typed so by hand).
bool isCaseCopy(const std::string& modelPath, const std::string& caseModelPath) {
  const std::string beam = beamOf(caseModelPath);
  return !beam.empty() && beam == beamOf(modelPath);
}

// A further case's model file is written over only when it is the project's
// model again (or already the new text): any other file of the name is another
// beam's, which a save never overwrites.
std::string foreignFileFault(const std::string& modelPath, const std::string& caseModelPath, const std::string& text) {
  if (!fileExists(caseModelPath) || isCaseCopy(modelPath, caseModelPath)) return "";
  try {
    if (readWholeFile(caseModelPath) == text) return "";
  } catch (const RunError&) {
  }
  return caseModelPath +
         " ya existe y no es una copia de este modelo: es otra viga y no se escribe encima (cambie el nombre del caso)";
}

FiledCases filedCasesOf(const Content& content, const std::string& path) {
  FiledCases filed{path, {}};
  for (size_t k = 1; k < content.cases.size(); ++k) filed.names.push_back(content.cases[k].name);
  return filed;
}

// The files of the further cases saved or opened at this path that the
// content no longer has (removed or renamed): taken away with the save, so
// that they do not come back as cases, when they are still the project's.
void removeDroppedCases(PendingFiles& files, const Document& document, const std::string& path) {
  const FiledCases& filed = document.filedCases();
  if (filed.modelPath != path) return;
  for (const std::string& name : filed.names) {
    bool kept = false;
    for (size_t k = 1; k < document.cases().size(); ++k) kept = kept || document.cases()[k].name == name;
    const std::string project = stemOf(path) + "_" + name;
    if (kept || (fileExists(fileOf(project, kModelExt)) && !isCaseCopy(path, fileOf(project, kModelExt)))) continue;
    files.removeAtCommit(fileOf(project, kModelExt));
    files.removeAtCommit(fileOf(project, kLoadsExt));
    // What calcest wrote for the case when this window ran it: results of a
    // case that is gone must not stand beside the beam as if current. Files
    // of its name that others write (a force table, a description) stay.
    if (!document.wasAnalysed(project)) continue;
    for (const auto& extensions : {filesOf(project, kCalcestResultExtensions), filesOf(project, kCalcestSideExtensions),
                                   filesOf(project, kCalcestTraceExtensions)})
      for (const std::string& file : extensions)
        if (fileExists(file)) files.removeAtCommit(file);
  }
}

}  // namespace

std::string caseFileNameFault(const std::string& modelPath, const std::string& caseName) {
  const std::string stem = std::filesystem::path(modelPath).stem().string();
  return modelFileNameFault(fileOf(caseName.empty() ? stem : stem + "_" + caseName, kModelExt)).reason;
}

std::vector<CellError> fileNameFaults(const std::string& modelPath, const Content& content) {
  std::vector<CellError> faults;
  if (modelPath.empty()) return faults;
  for (size_t k = 0; k < content.cases.size(); ++k) {
    const int loadCase = static_cast<int>(k);
    const std::string reason = caseFileNameFault(modelPath, k == 0 ? "" : content.cases[k].name);
    if (!reason.empty())
      faults.push_back(
          {k == 0 ? CellPlace{Table::header, 0, -1, 0} : CellPlace{Table::loads, 0, -1, loadCase}, reason});
  }
  return faults;
}

std::string caseProject(const std::string& modelPath, const Content& content, int loadCase) {
  const std::string stem = stemOf(modelPath);
  return loadCase == 0 ? stem : stem + "_" + content.cases[static_cast<size_t>(loadCase)].name;
}

ModelData caseModel(const Content& content, int loadCase) {
  ModelData model = content.model;
  if (loadCase != 0) model.header.selfWeight = 0;
  return model;
}

OpenResult openProject(const std::string& modelPath, Document& document) {
  const std::vector<std::pair<std::string, std::string>> cases = caseFiles(modelPath);
  Content content;
  try {
    content = readAsTyped(modelPath, cases);
  } catch (const OpenResult& refusal) {
    return refusal;
  } catch (const RunError& error) {
    return OpenResult{false, error.text, modelPath, 0};
  }
  OpenResult result;
  try {
    result = engineVerdict(modelPath, cases);
  } catch (const RunError& error) {  // a file gone since it was read
    result = OpenResult{false, error.text, modelPath, 0};
  }
  result.opened = true;
  const FiledCases filed = filedCasesOf(content, modelPath);
  document = Document(std::move(content), modelPath);
  document.setFiledCases(filed);
  return result;
}

std::string saveProject(Document& document, const std::string& modelPath) {
  const std::string path = modelPath.empty() ? document.modelPath() : modelPath;
  if (path.empty()) return "falta el nombre del fichero del modelo";
  if (std::filesystem::path(path).extension() != kModelExt)
    return std::string("el fichero del modelo lleva la extensi\xF3n ") + kModelExt;
  const Content& content = document.content();
  // The names where it was are no matter where it goes.
  if (!checkContent(content).empty() || !spanFaults(content).empty())
    return "el modelo tiene errores: corr\xEDjalos antes de guardarlo";
  if (isEmptyModel(content.model))
    return "la viga est\xE1 vac\xED"
           "a: a\xF1"
           "ada sus vanos o sus barras antes de guardarla";
  if (const std::vector<CellError> names = fileNameFaults(path, content); !names.empty()) return names.front().reason;
  PendingFiles files;
  try {
    for (int k = 0; k < static_cast<int>(content.cases.size()); ++k) {
      const std::string project = caseProject(path, content, k);
      const std::string model = modelText(caseModel(content, k));
      if (k > 0) {
        std::string fault = foreignFileFault(path, fileOf(project, kModelExt), model);
        if (!fault.empty()) return fault;
      }
      writeAside(files, fileOf(project, kModelExt), model);
      writeAside(files, fileOf(project, kLoadsExt), loadsText(content.cases[static_cast<size_t>(k)].loads));
    }
  } catch (const RunError& error) {
    return error.text;
  }
  removeDroppedCases(files, document, path);
  if (!files.commit()) return "no se pudo guardar " + files.failed();
  document.setModelPath(path);
  document.setFiledCases(filedCasesOf(content, path));
  document.markSaved();
  return "";
}

}  // namespace vigas
