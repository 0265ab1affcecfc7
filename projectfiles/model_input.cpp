#include "projectfiles/model_input.h"

#include <memory>

#include "calcest/loads.h"
#include "common/run_error.h"
#include "projectfiles/token_file.h"

namespace projectfiles {

using namespace common;

namespace {
struct InputFile {
  FileHandle handle;
  std::unique_ptr<Scanner> scanner;
  explicit InputFile(const std::string& path) : handle(openInputFile(path)) {
    if (!handle) throw RunError(cannotReadText(path));
    scanner = std::make_unique<Scanner>(handle.get(), path);
  }
};

// The reader's own messages do not always say which file they are about.
RunError inFile(const std::string& path, const RunError& error) {
  std::string text = error.text;
  if (text.find(path) == std::string::npos) text = "ERROR EN EL FICHERO " + path + ": " + text;
  if (text.empty() || text.back() != '\n') text += '\n';
  return RunError(text);
}

}  // namespace

Model readModel(const std::string& datPath, const std::string& cafPath) {
  // Both inputs are opened before anything is read.
  InputFile dat(datPath), caf(cafPath);
  Model model;
  try {
    static_cast<ModelData&>(model) = ModelReader(*dat.scanner).readModel();
  } catch (const RunError& error) {
    throw inFile(datPath, error);
  }
  try {
    model.loads = calcest::readBarLoads(*caf.scanner, model.bars);
  } catch (const RunError& error) {
    throw inFile(cafPath, error);
  }
  return model;
}

std::vector<LoadOnBar> readLoadsFile(const std::string& path, const std::vector<BarInput>& bars) {
  InputFile file(path);
  try {
    return calcest::readBarLoads(*file.scanner, bars);
  } catch (const RunError& error) {
    throw inFile(path, error);
  }
}

ResultsShape resultsShapeOf(const Model& m) {
  ResultsShape shape;
  shape.title = m.header.title;
  shape.unitCode = m.header.unitCode;
  shape.nn = m.header.nn;
  shape.ntie = m.header.ntie;
  shape.bars.resize(m.bars.size());
  for (size_t i = 1; i < m.bars.size(); ++i) {
    const bool reversed = m.bars[i].orient == kInclinedLeft;
    shape.bars[i] = {reversed ? m.bars[i].nodeJ : m.bars[i].nodeI, reversed ? m.bars[i].nodeI : m.bars[i].nodeJ};
  }
  shape.supportNodes.assign(1, 0);
  for (size_t k = 1; k < m.supports.size(); ++k) shape.supportNodes.push_back(m.supports[k].index);
  return shape;
}

UnitLabels unitLabels(int unitCode) {
  switch (unitCode) {
    case 0: return {"t", "m", "t\xB7m", "mm"};
    case 1: return {"kN", "m", "kN\xB7m", "mm"};
    case 2: return {"klb", "pie", "pie\xB7klb", "pie/1000"};
    default: return {"fuerza", "longitud", "fuerza\xB7longitud", "longitud/10"};
  }
}

}  // namespace projectfiles
