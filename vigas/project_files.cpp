#include "vigas/project_files.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "calcest/loads.h"
#include "common/file_handle.h"
#include "common/model_rules.h"
#include "common/model_writer.h"
#include "common/run_error.h"
#include "common/safe_output.h"
#include "common/scan.h"
#include "common/whole_file.h"

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
    return OpenResult{false, error.text, path_, lineAt(path_, std::ftell(file_.get()))};
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

// The engine's reading of the same files: its first refusal, if any.
OpenResult engineVerdict(const std::string& modelPath, const std::vector<std::pair<std::string, std::string>>& cases) {
  ModelData model;
  {
    Reading dat(modelPath);
    try {
      model = ModelReader(dat.scanner()).readModel();
      refuse(tooManyBarsFault(model.header.nb));
    } catch (const RunError& error) {
      return dat.refusal(error);
    }
  }
  for (const auto& entry : cases) {
    Reading caf(entry.second);
    try {
      calcest::readBarLoads(caf.scanner(), model.bars);
    } catch (const RunError& error) {
      return caf.refusal(error);
    }
  }
  return OpenResult{true, "", "", 0};
}

// The first case, then PROJECT_NAME.caf beside the model, by name.
std::vector<std::pair<std::string, std::string>> caseFiles(const std::string& modelPath) {
  const std::string stem = stemOf(modelPath);
  const std::string prefix = std::filesystem::path(stem).filename().string() + "_";
  std::vector<std::pair<std::string, std::string>> cases = {{"principal", stem + ".caf"}};
  std::error_code error;
  std::filesystem::path folder = std::filesystem::path(modelPath).parent_path();
  if (folder.empty()) folder = ".";
  std::vector<std::pair<std::string, std::string>> further;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
    const std::string name = entry.path().filename().string();
    if (entry.path().extension() != ".caf" || name.rfind(prefix, 0) != 0) continue;
    const std::string caseName = entry.path().stem().string().substr(prefix.size());
    if (!caseName.empty()) further.push_back({caseName, stem + "_" + caseName + ".caf"});
  }
  std::sort(further.begin(), further.end());
  cases.insert(cases.end(), further.begin(), further.end());
  return cases;
}

}  // namespace

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
  OpenResult result = engineVerdict(modelPath, cases);
  result.opened = true;
  document = Document(std::move(content), modelPath);
  return result;
}

std::string saveProject(Document& document, const std::string& modelPath) {
  const std::string path = modelPath.empty() ? document.modelPath() : modelPath;
  if (path.empty()) return "falta el nombre del fichero del modelo";
  if (std::filesystem::path(path).extension() != ".dat") return "el fichero del modelo lleva la extensi\xF3n .dat";
  if (document.hasErrors()) return "el modelo tiene errores: corr\xEDjalos antes de guardarlo";
  const Content& content = document.content();
  PendingFiles files;
  try {
    for (int k = 0; k < static_cast<int>(content.cases.size()); ++k) {
      const std::string project = caseProject(path, content, k);
      writeAside(files, project + ".dat", modelText(caseModel(content, k)));
      writeAside(files, project + ".caf", loadsText(content.cases[static_cast<size_t>(k)].loads));
    }
  } catch (const RunError& error) {
    return error.text;
  }
  if (!files.commit()) return "no se pudo guardar " + files.failed();
  document.setModelPath(path);
  document.markSaved();
  return "";
}

}  // namespace vigas
