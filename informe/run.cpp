#include "informe/run.h"

#include <cerrno>
#include <cstdio>
#include <ostream>
#include <streambuf>

#include "projectfiles/analysis.h"
#include "common/console_program.h"
#include "common/file_names.h"
#include "informe/drawings.h"
#include "informe/page.h"
#include "common/run_error.h"
#include "common/safe_output.h"
#include "common/whole_file.h"

namespace informe {

using namespace common;

namespace {
constexpr int kModesDrawn = 6;

// The names a run may write: the page and its pictures, every mode's too.
std::vector<std::string> outputNames(const std::string& project) {
  std::vector<std::string> names{fileOf(project, kPageExt)};
  for (const char* picture : {kModelPicture, kDeflectionPicture, kMomentPicture, kShearPicture})
    names.push_back(reportPictureName(project, picture));
  for (int k = 1; k <= kModesDrawn; ++k) names.push_back(reportModeName(project, k));
  return names;
}

// No output may be one of the inputs, under any of its names: the report would
// replace what it is made from.
void checkOutputsSpareInputs(const std::string& project, const std::vector<std::string>& args) {
  std::vector<std::string> inputs = filesOf(project, {kModelExt, kLoadsExt, kResultsExt, kDiagramExt});
  if (args.size() == 2) inputs.push_back(args[1]);
  const SameFile same = outputThatIsAnInput(outputNames(project), inputs);
  if (same.output.empty()) return;
  if (args.size() == 2 && same.input == args[1])
    throw RunError(sameFileText("informe", same, "D\xC9 OTRO NOMBRE AL FICHERO DE MODOS"));
  throw RunError(sameFileText("informe", same, "BORRE EL ENLACE " + same.output + " Y REPITA"));
}

ReportData readInputs(const std::vector<std::string>& args) {
  if (args.empty() || args.size() > 2)
    throw RunError(
        formatText("USO: informe PROYECTO [FICHERO_DE_MODOS]\n"
                   "Lee PROYECTO%s, PROYECTO%s, PROYECTO%s y PROYECTO%s y escribe PROYECTO%s\n",
                   kModelExt, kLoadsExt, kResultsExt, kDiagramExt, kPageExt));
  ReportData data;
  data.project = projectStem(args[0]);
  const std::string& p = data.project;
  checkOutputsSpareInputs(p, args);
  // Every input is read in full before anything is written.
  data.model = readModel(fileOf(p, kModelExt), fileOf(p, kLoadsExt));
  const Model& m = data.model;
  const ResultsShape shape = resultsShapeOf(m);
  TokenFile res(fileOf(p, kResultsExt)), fmc(fileOf(p, kDiagramExt));
  data.res = readResultsFile(res, shape);
  data.fmc = readDiagramFile(fmc, m.header.title, m.header.unitCode, m.header.nb);
  data.solution = analyseProject(m, p);
  checkResultsFile(m, data.solution, data.res, p);
  data.curves = barCurves(m, data.solution);
  checkDiagramFile(m, data.curves, data.fmc, p);
  if (args.size() == 2) {
    data.modesFileName = args[1];
    TokenFile modes(args[1]);
    data.modes = readModesFile(modes, m.header.nn);
    checkDirectionsFitModel(*data.modes, args[1], m.supports, m.header.nn);
  }
  data.design = readDesign(p, m);
  return data;
}

std::vector<Picture> drawAll(const ReportData& data) {
  std::vector<Picture> pictures;
  auto add = [&](std::unique_ptr<SvgPicture> svg, const std::string& fileName, const std::string& heading) {
    pictures.push_back({fileName, heading, svg->document(false), svg->document(true)});
  };
  const std::string& p = data.project;
  add(modelPicture(data.model), reportPictureName(p, kModelPicture), "Modelo: barras, apoyos y cargas");
  add(diagramPicture(data, DiagramKind::Deflection), reportPictureName(p, kDeflectionPicture), "Deformada");
  add(diagramPicture(data, DiagramKind::Moment), reportPictureName(p, kMomentPicture), "Momentos flectores");
  add(diagramPicture(data, DiagramKind::Shear), reportPictureName(p, kShearPicture), "Esfuerzos de corte");
  if (data.modes) {
    const int count = std::min<int>(kModesDrawn, static_cast<int>(data.modes->ascending.size()));
    for (int k = 1; k <= count; ++k) add(modePicture(data, k), reportModeName(p, k), "Modo " + std::to_string(k));
  }
  return pictures;
}

// A C file as a stream buffer, so that the page goes to its file as it is
// made instead of being held whole in memory; a failed write shows in the file.
class FileBuffer : public std::streambuf {
 public:
  explicit FileBuffer(FILE* file) : file_(file) {}

 private:
  int_type overflow(int_type c) override {
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    return std::fputc(c, file_) == EOF ? traits_type::eof() : c;
  }
  std::streamsize xsputn(const char* text, std::streamsize count) override {
    return static_cast<std::streamsize>(std::fwrite(text, 1, static_cast<size_t>(count), file_));
  }
  FILE* file_;
};

void openAside(PendingFile& file, const std::string& name) {
  if (file.open(name)) return;
  if (errno == EPERM) throw RunError(notReplaceableText(name) + "\n");
  throw RunError(cannotCreateText(name) + "\n");
}

// Every file is written aside and put in place only when all of them are
// complete, the page last, so that it never points at missing pictures. A run
// that fails or is killed before that leaves the earlier report as it was and
// no file of its own.
void writeReport(const ReportData& data, Console& console) {
  const std::vector<Picture> pictures = drawAll(data);
  std::vector<PendingFile> files(pictures.size() + 1);
  for (size_t k = 0; k < pictures.size(); ++k) {
    openAside(files[k], pictures[k].fileName);
    std::fwrite(pictures[k].standalone.data(), 1, pictures[k].standalone.size(), files[k].file());
  }
  PendingFile& page = files.back();
  openAside(page, fileOf(data.project, kPageExt));
  FileBuffer buffer(page.file());
  std::ostream out(&buffer);
  writeReportPage(out, data, pictures);
  // A full disk shows here, while nothing is in place yet.
  for (PendingFile& file : files)
    if (std::fflush(file.file()) != 0 || std::ferror(file.file()) || (&file == &page && !out))
      throw RunError(cannotWriteText(file.path()) + "\n");
  // Every name is checked before the first is taken: the folder may have
  // changed, and a set put in place in part would be no report.
  std::vector<std::string> names;
  for (const PendingFile& file : files) names.push_back(file.path());
  const std::string others = othersOutput(names);
  if (!others.empty()) throw RunError(notReplaceableText(others) + "\n");
  for (PendingFile& file : files)
    if (!file.commit()) throw RunError(cannotCreateText(file.path()) + "\n");
  console.write("informe: " + fileOf(data.project, kPageExt) + " y " + std::to_string(pictures.size()) +
                " dibujos SVG escritos\n");
}

int run(const std::vector<std::string>& args, Console& console) {
  writeReport(readInputs(args), console);
  return 0;
}
}  // namespace

const ConsoleProgram kInforme{run, "ERROR: NO HAY MEMORIA PARA EL INFORME\n"};

}  // namespace informe
