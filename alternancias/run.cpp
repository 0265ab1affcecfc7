#include "alternancias/run.h"

#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <algorithm>
#include <memory>
#include <filesystem>
#include <iterator>
#include <optional>

#include "common/capacities.h"
#include "common/child_process.h"
#include "common/fellow_program.h"
#include "common/console_program.h"
#include "common/file_names.h"
#include "alternancias/envelope_files.h"
#include "alternancias/exact_envelope.h"
#include "alternancias/force_table.h"
#include "envolventes/engine/line_reader.h"
#include "alternancias/patterns.h"
#include "envolventes/engine/project_names.h"
#include "alternancias/summary.h"
#include "common/run_error.h"
#include "common/safe_output.h"
#include "common/whole_file.h"

namespace alternancias {

using namespace common;

namespace {

std::string usage() {
  return formatText(
      "uso: alternancias NOMBRE MODELO%s PERMANENTES%s VARIABLES%s [--gG 1.35] [--gGinf 1.0] [--gQ 1.5]\n"
      "                  [--ancho %d] [--alto %d] [--casos]\n"
      "     alternancias --tabla PROYECTO...\n",
      kModelExt, kLoadsExt, kLoadsExt, kDrawingWidth.preset, kDrawingHeight.preset);
}

struct Options {
  std::string name, model, permanent, variable;
  double gG = 1.35, gGinf = 1.0, gQ = 1.5;
  int width = kDrawingWidth.preset, height = kDrawingHeight.preset;
  bool cases = false;  // write the arrangements the summary names as projects
};

RunError usageError(const std::string& why) { return RunError("ERROR: " + why + "\n" + usage()); }

Options parseOptions(const std::vector<std::string>& args) {
  Options options;
  std::vector<std::string> positional;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg.rfind("--", 0) != 0) {
      positional.push_back(arg);
      continue;
    }
    if (arg == "--casos") {
      options.cases = true;
      continue;
    }
    if (i + 1 == args.size()) throw usageError(arg + " PIDE UN VALOR");
    const std::string& value = args[++i];
    if (arg == "--gG" || arg == "--gGinf" || arg == "--gQ") {
      double factor = 0;
      if (!projectfiles::parseReal(value, factor) || factor <= 0 || factor > 100)
        throw usageError(arg + " PIDE UN COEFICIENTE MAYOR QUE 0 Y HASTA 100, NO " + value);
      (arg == "--gG" ? options.gG : arg == "--gQ" ? options.gQ : options.gGinf) = factor;
    } else if (arg == "--ancho" || arg == "--alto") {
      const bool width = arg == "--ancho";
      const PixelRange range = width ? kDrawingWidth : kDrawingHeight;
      int pixels = 0;
      if (!projectfiles::parseInteger(value, pixels) || !range.holds(pixels))
        throw usageError(arg + formatText(" PIDE DE %d A %d P\xCDXELES", range.low, range.high));
      (width ? options.width : options.height) = pixels;
    } else {
      throw usageError("OPCI\xD3N DESCONOCIDA " + arg);
    }
  }
  if (positional.size() != 4) throw RunError(usage());
  options.name = positional[0];
  options.model = positional[1];
  options.permanent = positional[2];
  options.variable = positional[3];
  const bool plain = !options.name.empty() &&
                     options.name.find_first_not_of(
                         "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789_-") == std::string::npos;
  if (!plain)
    throw RunError("ERROR: EL NOMBRE \"" + options.name +
                   "\" NO SIRVE: USE LETRAS SIN ACENTO, CIFRAS, '_' Y '-' (NI PUNTOS NI BARRAS)\n");
  return options;
}

// The model text with the self-weight switch (the ninth count) set to 0, every
// other byte as it stands.
std::string withoutSelfWeight(const std::string& text, const std::string& path) {
  constexpr int kSwitchWord = 11;  // title, echoed integer, units, then the counts
  auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; };
  size_t pos = 0;
  for (int word = 0; pos < text.size(); ++word) {
    while (pos < text.size() && blank(text[pos])) ++pos;
    size_t end = pos;
    while (end < text.size() && !blank(text[end])) ++end;
    int value = 0;
    if (word == kSwitchWord && projectfiles::parseInteger(text.substr(pos, end - pos), value) && value == 1)
      return text.substr(0, pos) + "0" + text.substr(end);
    pos = end;
  }
  throw RunError("ERROR EN EL FICHERO " + path + ": NO SE ENCUENTRA EL INDICADOR DE PESO PROPIO\n");
}

std::string loadLine(const calcest::BarLoad& load, double factor) {
  return formatText("%d %d %.15g %.15g %.15g %.15g %c\n", load.barLabel, load.ltype, load.a, load.c, load.b,
                    load.q * factor, load.dir);
}

std::string twoDigits(size_t k) { return formatText("%02d", static_cast<int>(k)); }

// "tramos 1, 3", "tramo 2" or "ning\xFAn tramo".
std::string loadedText(const std::vector<int>& spans) {
  if (spans.empty()) return "ning\xFAn tramo";
  return (spans.size() == 1 ? "tramo " : "tramos ") + spanList(spans);
}

bool isRegularFile(const std::string& path) {
  std::error_code ignored;
  return std::filesystem::is_regular_file(std::filesystem::symlink_status(path, ignored));
}

// The files alternancias wrote for the arrangement projects NAME_kk of an
// earlier run.
std::vector<std::string> earlierArrangementFiles(const std::string& name) {
  std::vector<std::string> files;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(".", error)) {
    const std::string file = entry.path().filename().string();
    const size_t dot = file.rfind('.');
    if (file.rfind(name + "_", 0) != 0 || dot == std::string::npos || dot < name.size() + 3) continue;
    const std::string digits = file.substr(name.size() + 1, dot - name.size() - 1);
    if (digits.find_first_not_of("0123456789") != std::string::npos) continue;
    for (const char* extension : kProjectExtensions)
      if (file.compare(dot, std::string::npos, extension) == 0 && isRegularFile(file)) files.push_back(file);
  }
  std::sort(files.begin(), files.end());
  return files;
}

// What a run reads, and the envelope it finds.
struct Beam {
  projectfiles::Model model;  // loads: the permanent loads file
  std::vector<calcest::LoadOnBar> variable;
  std::vector<Span> spans;
};

Beam readBeam(const Options& options) {
  Beam beam;
  beam.model = projectfiles::readModel(options.model, options.permanent);
  checkContinuousBeam(beam.model, options.model);
  beam.variable = projectfiles::readLoadsFile(options.variable, beam.model.bars);
  if (beam.variable.empty())
    throw RunError("ERROR: EL FICHERO " + options.variable + " NO TIENE NINGUNA CARGA VARIABLE\n");
  beam.spans = spansOf(beam.model, options.model);
  if (options.cases) {
    // A project carries its factors in its loads file only.
    const ModelData& m = beam.model;
    bool prescribed = m.header.nload > 0;
    for (size_t k = 1; k < m.supports.size(); ++k)
      prescribed = prescribed || m.supports[k].dx != 0 || m.supports[k].dy != 0 || m.supports[k].rz != 0;
    for (size_t k = 1; k < m.ties.size(); ++k) prescribed = prescribed || m.ties[k].value != 0;
    if (prescribed)
      throw RunError("ERROR EN EL FICHERO " + options.model +
                     ": CON --casos EL MODELO NO PUEDE LLEVAR CARGAS EN NODOS NI DESPLAZAMIENTOS IMPUESTOS (UN "
                     "PROYECTO NO LOS LLEVA POR SU COEFICIENTE); ESCRIBA LAS CARGAS EN NODOS COMO CARGAS PUNTUALES "
                     "O CALCULE SIN --casos\n");
  }
  return beam;
}

// One arrangement written as an ordinary project: the model (self-weight
// written out, its switch 0) and the factored loads.
struct ProjectFiles {
  std::string name, model, loads, description;
};

std::vector<ProjectFiles> arrangementProjects(const Options& o, const Beam& beam,
                                              const std::vector<Arrangement>& arrangements) {
  const projectfiles::Model& model = beam.model;
  const std::string modelText = readWholeFile(o.model);
  const std::string projectModel = model.header.selfWeight == 1 ? withoutSelfWeight(modelText, o.model) : modelText;
  const std::vector<int> spanOfBar = spanOfBars(beam.spans);
  std::vector<ProjectFiles> projects;
  for (const Arrangement& a : arrangements) {
    ProjectFiles p;
    p.name = o.name + "_" + twoDigits(projects.size() + 1);
    p.model = projectModel;
    for (const calcest::LoadOnBar& load : model.loads) p.loads += loadLine(load.load, a.permanentFactor);
    if (model.header.selfWeight == 1)
      for (int k = 1; k <= model.header.nb; ++k) {
        calcest::BarLoad weight;
        weight.barLabel = model.bars[k].label;
        weight.ltype = 3;
        weight.c = model.bars[k].L;
        weight.q = -model.bars[k].w;
        if (weight.q != 0) p.loads += loadLine(weight, a.permanentFactor);
      }
    for (const calcest::LoadOnBar& load : beam.variable)
      if (std::binary_search(a.spans.begin(), a.spans.end(), spanOfLoad(beam.spans, spanOfBar, load)))
        p.loads += loadLine(load.load, a.variableFactor);
    p.description = formatText("%s: permanentes x%g en toda la viga; variables x%g en %s\n", p.name.c_str(),
                               a.permanentFactor, a.variableFactor, loadedText(a.spans).c_str());
    projects.push_back(p);
  }
  return projects;
}

// No file the run writes or removes may be one of its inputs.
void refuseInputsAmong(const Options& o, const std::vector<std::string>& outputs) {
  const SameFile same = outputThatIsAnInput(outputs, {o.model, o.permanent, o.variable});
  if (!same.output.empty()) throw RunError(sameFileText("ALTERNANCIAS", same, "ELIJA OTRO NOMBRE"));
}

// The name must not be a project's, and no file the run writes or removes may
// be one of its inputs.
void checkOutputsSpareInputs(const Options& o, const std::vector<ProjectFiles>& projects,
                             const std::vector<std::string>& earlier) {
  std::vector<std::string> names;
  for (const ProjectFiles& p : projects) names.push_back(p.name);
  if (envelope::checkEnvelopeName(o.name, names) != envelope::EnvelopeNameCheck::Usable)
    throw RunError("ERROR: YA HAY UN PROYECTO LLAMADO " + o.name + " EN ESTE DIRECTORIO: ELIJA OTRO NOMBRE\n");
  std::vector<std::string> outputs = earlier;
  outputs.push_back(fileOf(o.name, kModelExt));
  outputs.push_back(fileOf(o.name, kLockExt));
  for (const char* suffix : kEnvelopeFileSuffixes) outputs.push_back(fileOf(o.name, suffix));
  for (const std::string& project : names)
    for (const char* extension : kProjectExtensions) outputs.push_back(fileOf(project, extension));
  refuseInputsAmong(o, outputs);
  const std::string others = othersOutput(outputs);
  if (!others.empty()) throw RunError(notReplaceableText(others) + "\n");
}

// What calcest and the envelope viewer take, checked before anything is
// written: a model file name calcest refuses, a project with more load lines
// than the viewer reads, more projects than its list holds.
void checkProjectLimits(const Options& o, const std::vector<ProjectFiles>& projects) {
  if (projects.size() > static_cast<size_t>(kMaxEnvelopeProjects))
    throw RunError(
        formatText("ERROR: CON --casos SALEN %d PROYECTOS Y EL VISOR DE ENVOLVENTES TOMA HASTA %d EN "
                   "SU LISTA; CALCULE SIN --casos\n",
                   static_cast<int>(projects.size()), kMaxEnvelopeProjects));
  for (const ProjectFiles& p : projects) {
    const size_t modelName = fileOf(p.name, kModelExt).size();
    if (modelName > kMaxModelNameLength)
      throw RunError(
          formatText("ERROR: EL NOMBRE %s ES DEMASIADO LARGO PARA --casos: calcest NO TOMA %s "
                     "(M\xC1S DE %zu CARACTERES); USE UN NOMBRE DE HASTA %zu\n",
                     o.name.c_str(), fileOf(p.name, kModelExt).c_str(), kMaxModelNameLength,
                     kMaxModelNameLength - (modelName - o.name.size())));
    const long lines = std::count(p.loads.begin(), p.loads.end(), '\n');
    if (lines > kMaxEnvelopeLoadLines)
      throw RunError(
          formatText("ERROR: EL PROYECTO %s LLEVAR\xCD"
                     "A %ld L\xCDNEAS DE CARGA Y EL VISOR DE "
                     "ENVOLVENTES TOMA HASTA %d; CALCULE SIN --casos O JUNTE CARGAS\n",
                     p.name.c_str(), lines, kMaxEnvelopeLoadLines));
  }
}

// One run at a time on a name in a folder: another would put its files in
// place among these.
void takeLock(RunLock& lock, const Options& o) {
  long holder = 0;
  if (!lock.acquire(fileOf(o.name, kLockExt), holder)) throw RunError(lockRefusalText(o.name, holder));
}

// The files of an earlier run that this one does not write again go when it
// is put in place: its envelope list (the name check has made sure NAME.dat
// is no model) and its arrangement projects.
void removeEarlierRunAtCommit(const std::string& name, const std::vector<std::string>& earlier, PendingFiles& pending) {
  const std::string list = fileOf(name, kModelExt);
  if (isRegularFile(list)) pending.removeAtCommit(list);
  for (const std::string& file : earlier) pending.removeAtCommit(file);
}

// Runs calcest on one project of `folder`, there (its trace files stay
// there, whatever folder the user's VIGAS_TRACES names); its console output is
// kept and shown only when the run fails. It writes that output in the files'
// character set, converted with this program's own when shown.
void analyse(const std::string& folder, const std::string& project) {
  const std::string program = fellowProgram("calcest");
  if (program.empty()) throw RunError("ERROR: NO SE PUEDE EJECUTAR calcest: " + fellowNotFoundText() + "\n");
  ChildProgram calcest;
  calcest.argv = calcestCommandLine(project);
  calcest.argv.insert(calcest.argv.begin(), program);
  calcest.folder = folder;
  calcest.environment = {"LC_ALL=C", std::string(kTraceFolderVariable) + "=."};
  // A calcest (VIGAS_BIN names which) that hangs or floods its console must
  // neither hold the run for ever nor fill the memory.
  calcest.outputLimit = kFellowOutputKept;
  const ChildRun run = runChild(calcest, nullptr, kCalcestTimeLimitSeconds);
  if (!run.started()) throw RunError("ERROR: NO SE PUEDE EJECUTAR " + program + "\n");
  if (run.timedOut)
    throw RunError(
        formatText("ERROR: %s NO TERMIN\xD3 EN %d SEGUNDOS CON EL PROYECTO %s Y SE HA DETENIDO; NO SE HA "
                   "HECHO LA ENVOLVENTE\n",
                   program.c_str(), kCalcestTimeLimitSeconds, project.c_str()));
  const std::string& output = run.output;
  if (run.status != 0)
    throw RunError(
        output + (output.empty() || output.back() == '\n' ? "" : "\n") +
        formatText("ERROR: calcest NO PUDO CALCULAR EL PROYECTO %s; NO SE HA HECHO LA ENVOLVENTE\n", project.c_str()));
}

// A folder beside the envelope where the arrangement projects are written and
// analysed: calcest writes its files as it goes, and they move in only with the
// envelope. Hidden, and named after the envelope, so that the next run of the
// name removes one that a killed run left.
class ScratchFolder {
 public:
  explicit ScratchFolder(const std::string& name) {
    std::string pattern = prefix(name) + "XXXXXX";
    if (!mkdtemp(pattern.data())) throw RunError(cannotCreateText(pattern) + "\n");
    path_ = pattern;
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  std::string file(const std::string& name) const { return path_ + "/" + name; }
  const std::string& path() const { return path_; }

  static std::string prefix(const std::string& name) { return "." + name + "_casos."; }
  // Folders that runs of the name left when they were killed (the caller holds the name's lock).
  static void removeLeftOnes(const std::string& name) {
    std::error_code error;
    std::vector<std::filesystem::path> left;
    for (const auto& entry : std::filesystem::directory_iterator(".", error))
      if (entry.path().filename().string().rfind(prefix(name), 0) == 0 && entry.is_directory(error) &&
          !entry.is_symlink(error))
        left.push_back(entry.path());
    for (const auto& folder : left) std::filesystem::remove_all(folder, error);
  }

 private:
  std::string path_;
};

// Writes, analyses and tables every arrangement the summary names in the
// scratch folder, their files to move in with the envelope, and the envelope
// list of those projects.
std::string writeArrangementProjects(const std::string& name, const std::vector<ProjectFiles>& projects,
                                     const ScratchFolder& scratch, PendingFiles& pending) {
  std::string list = "\nProyectos de las alternancias nombradas:\n";
  for (const ProjectFiles& p : projects) {
    auto write = [&](const char* extension, const std::string& text) {
      const std::string file = fileOf(p.name, extension);
      writeWholeFile(scratch.file(file), text, file);
    };
    write(kModelExt, p.model);
    write(kLoadsExt, p.loads);
    write(kDescriptionExt, p.description);
    analyse(scratch.path(), p.name);
    write(kForceTableExt, formatForceTable(readAnalysedProject(scratch.file(p.name)).table));
    for (const char* extension : kProjectExtensions) {
      const std::string file = fileOf(p.name, extension);
      if (isRegularFile(scratch.file(file)) && !pending.moveIn(scratch.file(file), file))
        throw RunError(cannotCreateText(file) + "\n");
    }
    list += "  " + p.description.substr(0, p.description.size() - 1) + "\n";
  }
  std::string envelopeList = formatText(" %d\n", static_cast<int>(projects.size()));
  for (const ProjectFiles& p : projects) envelopeList += p.name + "\n";
  writeAside(pending, fileOf(name, kModelExt), envelopeList);
  return list;
}

// Writes the envelope files into `pending`.
void writeEnvelope(const Options& o, const Beam& beam, const ExactEnvelope& env, PendingFiles& pending) {
  auto state = std::make_unique<envelope::EnvelopeState>();
  fillEnvelopeState(*state, o.name, beam.model, env, o.width, o.height);
  const std::string messages = writeEnvelopeFiles(*state, env, envelope::OutputFiles(pending));
  if (!messages.empty()) throw RunError(messages + "ERROR: NO SE PUDO ESCRIBIR LA ENVOLVENTE " + o.name + "\n");
}

// Everything of the run is written aside and put in place at the end, whole:
// a run that fails leaves the earlier envelope and projects as they were.
int runPatterns(const Options& options, Console& console) {
  const Beam beam = readBeam(options);
  const ExactEnvelope env =
      exactEnvelope(beam.model, beam.variable, beam.spans, {options.gG, options.gGinf, options.gQ});
  Summary summary = summarize(options.name, beam.model, beam.spans, env);
  const std::vector<ProjectFiles> projects =
      options.cases ? arrangementProjects(options, beam, summary.arrangements) : std::vector<ProjectFiles>{};
  checkProjectLimits(options, projects);
  checkOutputsSpareInputs(options, projects, earlierArrangementFiles(options.name));
  RunLock lock;
  takeLock(lock, options);
  // A run of the name that ended meanwhile may have left other projects.
  const std::vector<std::string> earlier = earlierArrangementFiles(options.name);
  refuseInputsAmong(options, earlier);
  ScratchFolder::removeLeftOnes(options.name);

  PendingFiles pending;
  std::optional<ScratchFolder> scratch;  // its files move in at the commit
  if (options.cases) {
    scratch.emplace(options.name);
    summary.text += writeArrangementProjects(options.name, projects, *scratch, pending);
  }
  writeEnvelope(options, beam, env, pending);
  removeEarlierRunAtCommit(options.name, earlier, pending);
  if (!pending.commit())
    throw RunError(pending.failureText() + "\nERROR: NO SE PUDO ESCRIBIR LA ENVOLVENTE " + options.name + "\n");
  console.write(summary.text);
  return 0;
}

// A project's force table and, where it has none, its description.
struct ProjectTable {
  std::string project, table, description;  // description empty: the .car stays as it is
  int points = 0;
};

ProjectTable projectTable(const std::string& named) {
  const std::string project = projectStem(named);
  const AnalysedProject analysed = readAnalysedProject(project);
  ProjectTable t{project, formatForceTable(analysed.table), "", static_cast<int>(analysed.table.size())};
  std::error_code error;
  if (std::filesystem::exists(fileOf(project, kDescriptionExt), error)) return t;
  // Point forces, point moments, uniform, triangular and temperature loads.
  static const char* const kinds[] = {"puntuales", "momentos", "uniformes", "triangulares", "t\xE9rmicas"};
  static const int kindOfType[] = {-1, 0, 1, 2, 3, 3, 4};
  int count[5] = {};
  for (const calcest::LoadOnBar& load : analysed.model.loads)
    if (load.load.ltype >= 1 && load.load.ltype <= 6) ++count[kindOfType[load.load.ltype]];
  const int loads = static_cast<int>(analysed.model.loads.size());
  t.description = formatText("%s: %d carga%s de %s", project.c_str(), loads, loads == 1 ? "" : "s",
                             fileOf(project, kLoadsExt).c_str());
  for (int kind = 0; kind < 5; ++kind)
    if (count[kind]) t.description += formatText(", %d %s", count[kind], kinds[kind]);
  if (analysed.model.header.selfWeight == 1) t.description += ", y peso propio";
  t.description += "\n";
  return t;
}

// Every project is read and checked, and no output may be an input of any of
// them, before a file is written; the tables are put in place together.
int runTables(const std::vector<std::string>& projects, Console& console) {
  if (projects.empty()) throw RunError(usage());
  std::vector<ProjectTable> tables;
  for (const std::string& project : projects) tables.push_back(projectTable(project));
  std::vector<std::string> outputs, inputs;
  for (const ProjectTable& t : tables) {
    outputs.push_back(fileOf(t.project, kForceTableExt));
    if (!t.description.empty()) outputs.push_back(fileOf(t.project, kDescriptionExt));
    for (const char* extension : {kModelExt, kLoadsExt, kResultsExt, kSelfWeightExt})
      inputs.push_back(fileOf(t.project, extension));
  }
  const SameFile same = outputThatIsAnInput(outputs, inputs);
  if (!same.output.empty()) throw RunError(sameFileText("ALTERNANCIAS", same, "BORRE ESE ENLACE (EL DATO QUEDA)"));
  const std::string others = othersOutput(outputs);
  if (!others.empty()) throw RunError(notReplaceableText(others) + "\n");

  PendingFiles pending;
  std::string done;
  for (const ProjectTable& t : tables) {
    writeAside(pending, fileOf(t.project, kForceTableExt), t.table);
    if (!t.description.empty()) writeAside(pending, fileOf(t.project, kDescriptionExt), t.description);
    done += formatText("alternancias: %s escrito (%d puntos)\n", fileOf(t.project, kForceTableExt).c_str(), t.points);
  }
  if (!pending.commit()) throw RunError(pending.failureText() + "\n");
  console.write(done);
  return 0;
}

int run(const std::vector<std::string>& args, Console& console) {
  if (!args.empty() && args[0] == "--tabla") return runTables({args.begin() + 1, args.end()}, console);
  return runPatterns(parseOptions(args), console);
}

}  // namespace

const ConsoleProgram kAlternancias{run, "ERROR: NO HAY MEMORIA PARA LAS ALTERNANCIAS\n"};

}  // namespace alternancias
