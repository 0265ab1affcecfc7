#include "run.h"

#include <cstdio>
#include <filesystem>
#include <new>

#include "analysis.h"
#include "console.h"
#include "drawings.h"
#include "page.h"
#include "run_error.h"
#include "whole_file.h"

namespace informe {

namespace {
constexpr int kModesDrawn = 6;

ReportData readInputs(const std::vector<std::string>& args) {
  if (args.empty() || args.size() > 2)
    throw RunError("USO: informe PROYECTO [FICHERO_DE_MODOS]\n"
                   "Lee PROYECTO.dat, PROYECTO.caf, PROYECTO.res y PROYECTO.fmc y escribe PROYECTO.html\n");
  ReportData data;
  data.project = args[0];
  if (data.project.size() > 4 && data.project.compare(data.project.size() - 4, 4, ".dat") == 0)
    data.project.resize(data.project.size() - 4);
  const std::string& p = data.project;
  // Every input is read in full before anything is written.
  data.model = readModel(p + ".dat", p + ".caf");
  const Model& m = data.model;
  const ResultsShape shape = resultsShapeOf(m);
  TokenFile res(p + ".res"), fmc(p + ".fmc");
  data.res = readResultsFile(res, shape);
  data.fmc = readDiagramFile(fmc, m.header.title, m.header.unitCode, m.header.nb);
  data.solution = analyseProject(m, p);
  checkResultsFile(m, data.solution, data.res, p);
  checkDiagramFile(m, data.solution, data.fmc, p);
  if (args.size() == 2) {
    data.modesFileName = args[1];
    TokenFile modes(args[1]);
    data.modes = readModesFile(modes, m.header.nn);
    checkDirectionsFitModel(*data.modes, args[1], m.supports, m.header.nn);
  }
  return data;
}

// A file written aside and put in place only when every file is complete.
struct PendingFile {
  std::string name, temporary;
};

void writeAside(std::vector<PendingFile>& pending, const std::string& name, const std::string& content) {
  PendingFile file{name, name + ".tmp"};
  pending.push_back(file);
  writeWholeFile(file.temporary, content, name);
}

void discard(const std::vector<PendingFile>& pending) {
  std::error_code ignored;
  for (const PendingFile& file : pending) std::filesystem::remove(file.temporary, ignored);
}

std::vector<Picture> drawAll(const ReportData& data) {
  std::vector<Picture> pictures;
  auto add = [&](std::unique_ptr<SvgPicture> svg, const std::string& suffix, const std::string& heading) {
    pictures.push_back({data.project + "-" + suffix + ".svg", heading, svg->document(false), svg->document(true)});
  };
  add(modelPicture(data.model), "modelo", "Modelo: barras, apoyos y cargas");
  add(diagramPicture(data, DiagramKind::Deflection), "flecha", "Deformada");
  add(diagramPicture(data, DiagramKind::Moment), "momento", "Momentos flectores");
  add(diagramPicture(data, DiagramKind::Shear), "corte", "Esfuerzos de corte");
  if (data.modes) {
    const int count = std::min<int>(kModesDrawn, static_cast<int>(data.modes->ascending.size()));
    for (int k = 1; k <= count; ++k)
      add(modePicture(data, k), "modo" + std::to_string(k), "Modo " + std::to_string(k));
  }
  return pictures;
}

void writeReport(const ReportData& data) {
  const std::vector<Picture> pictures = drawAll(data);
  std::vector<PendingFile> pending;
  try {
    for (const Picture& p : pictures) writeAside(pending, p.fileName, p.standalone);
    writeAside(pending, data.project + ".html", reportPage(data, pictures));
    // The page goes in place last, so it never points at missing pictures.
    for (const PendingFile& file : pending) {
      std::error_code error;
      std::filesystem::rename(file.temporary, file.name, error);
      if (error) throw RunError("ERROR: NO SE PUEDE CREAR EL FICHERO " + file.name + "\n");
    }
  } catch (...) {
    discard(pending);
    throw;
  }
  consoleWrite("informe: " + data.project + ".html y " + std::to_string(pictures.size()) + " dibujos SVG escritos\n");
}
}  // namespace

int runInforme(const std::vector<std::string>& args) {
  try {
    writeReport(readInputs(args));
    return 0;
  } catch (const RunError& error) {
    consoleWrite(error.text);
    return error.status;
  } catch (const std::bad_alloc&) {
    consoleWrite("ERROR: NO HAY MEMORIA PARA EL INFORME\n");
    return 1;
  }
}

}  // namespace informe
