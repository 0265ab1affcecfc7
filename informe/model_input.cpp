#include "model_input.h"

#include <memory>

#include "phases.h"
#include "run_error.h"
#include "token_file.h"

namespace informe {

namespace {
struct InputFile {
  FileHandle handle;
  std::unique_ptr<Scanner> scanner;
  explicit InputFile(const std::string& path) : handle(std::fopen(path.c_str(), "r")) {
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

void readModelTables(Scanner& in, Model& model) {
  ModelReader reader(in);
  model.header = reader.readHeader();
  const ModelHeader& h = model.header;
  if (h.nb < 1) throw RunError("ERROR: EL MODELO NO TIENE BARRAS\n");
  model.nodes = reader.readNodes(h.nn);
  int maxw = 0;  // no band here
  model.bars = reader.readBars(h.nb, model.nodes, maxw);
  auto sections = reader.readSections(h.nsec);
  auto materials = reader.readMaterials(h.nmat, unitConstantsFor(h.unitCode).g);
  applyAllBarProperties(model.bars, materials, sections);
  model.supports.assign(1, Support{});
  for (int k = 1; k <= h.nsup; ++k) model.supports.push_back(reader.readSupport(k, model.nodes));
  model.ties.assign(1, Tie{});
  for (int k = 1; k <= h.ntie; ++k) model.ties.push_back(calcest::readTie(in, k, model.nodes));
  model.nodalLoads.assign(static_cast<size_t>(h.nload) + 1, NodalLoad{});
  for (int k = 1; k <= h.nload; ++k) {
    NodalLoad& load = model.nodalLoads[k];
    std::string item = formatText("carga en nodo %d", k);
    int label = 0;
    in.read(item, "%d", &label);
    load.index = findNodeIndex(model.nodes, label);
    if (load.index == 0) throw RunError("ERROR EN NODOS/CARGAS EN NODOS");
    for (int d = 0; d < 3; ++d) in.read(item, "%d  %lf", &load.code[d], &load.value[d]);
  }
}

}  // namespace

Model readModel(const std::string& datPath, const std::string& cafPath) {
  // Both inputs are opened before anything is read.
  InputFile dat(datPath), caf(cafPath);
  Model model;
  try {
    readModelTables(*dat.scanner, model);
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

}  // namespace informe
