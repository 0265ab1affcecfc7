#include "run.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <iterator>
#include <new>

#include "batch.h"
#include "console.h"
#include "force_table.h"
#include "patterns.h"
#include "project_names.h"
#include "run_error.h"
#include "whole_file.h"

extern char** environ;

namespace alternancias {

namespace {

constexpr size_t kMaxPatterns = 50;  // the projects one envelope holds

const char* const kUsage =
    "uso: alternancias NOMBRE MODELO.dat PERMANENTES.caf VARIABLES.caf [--gG 1.35] [--gQ 1.5] [--ancho 3000] "
    "[--alto 400]\n"
    "     alternancias --tabla PROYECTO...\n";

struct Options {
  std::string name, model, permanent, variable;
  double gG = 1.35, gQ = 1.5;
  int width = 3000, height = 400;
};

RunError usageError(const std::string& why) { return RunError("ERROR: " + why + "\n" + kUsage); }

Options parseOptions(const std::vector<std::string>& args) {
  Options options;
  std::vector<std::string> positional;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg.rfind("--", 0) != 0) {
      positional.push_back(arg);
      continue;
    }
    if (i + 1 == args.size()) throw usageError(arg + " PIDE UN VALOR");
    const std::string& value = args[++i];
    if (arg == "--gG" || arg == "--gQ") {
      double factor = 0;
      if (!informe::parseReal(value, factor) || factor <= 0 || factor > 100)
        throw usageError(arg + " PIDE UN COEFICIENTE MAYOR QUE 0 Y HASTA 100, NO " + value);
      (arg == "--gG" ? options.gG : options.gQ) = factor;
    } else if (arg == "--ancho" || arg == "--alto") {
      const bool width = arg == "--ancho";
      int pixels = 0;
      if (!informe::parseInteger(value, pixels) || pixels < (width ? 300 : 200) || pixels > (width ? 20000 : 2000))
        throw usageError(arg + (width ? " PIDE DE 300 A 20000 P\xCDXELES" : " PIDE DE 200 A 2000 P\xCDXELES"));
      (width ? options.width : options.height) = pixels;
    } else {
      throw usageError("OPCI\xD3N DESCONOCIDA " + arg);
    }
  }
  if (positional.size() != 4) throw RunError(kUsage);
  options.name = positional[0];
  options.model = positional[1];
  options.permanent = positional[2];
  options.variable = positional[3];
  const bool plain = !options.name.empty() && options.name.find_first_not_of(
                                                  "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789_-") ==
                                                  std::string::npos;
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
    if (word == kSwitchWord && informe::parseInteger(text.substr(pos, end - pos), value) && value == 1)
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

// What the program is about to make, all worked out before anything is written.
struct Plan {
  Options options;
  informe::Model model;
  std::vector<Span> spans;
  std::vector<Pattern> patterns;
  std::vector<std::string> projects;  // NAME_01 ...
  std::string modelText;              // each project's model file
  std::vector<std::string> loadsTexts, descriptions;
};

Plan makePlan(const Options& options) {
  Plan plan;
  plan.options = options;
  informe::Model& model = plan.model;
  model = informe::readModel(options.model, options.permanent);
  checkContinuousBeam(model, options.model);
  if (model.header.nload > 0)
    throw RunError(formatText("ERROR EN EL FICHERO %s: EL MODELO LLEVA %d CARGAS EN NODOS; LAS ALTERNANCIAS SOLO "
                              "TOMAN CARGAS DE BARRA (ESCR\xCD" "BALAS COMO CARGAS PUNTUALES EN LOS FICHEROS DE CARGAS)\n",
                              options.model.c_str(), model.header.nload));
  const std::vector<calcest::LoadOnBar> variable = informe::readLoadsFile(options.variable, model.bars);
  if (variable.empty())
    throw RunError("ERROR: EL FICHERO " + options.variable + " NO TIENE NINGUNA CARGA VARIABLE\n");
  plan.spans = spansOf(model, options.model);
  const std::vector<int> spanOfBar = spanOfBars(plan.spans);
  std::vector<bool> carries(plan.spans.size(), false);
  for (const calcest::LoadOnBar& load : variable) carries[spanOfBar[load.bar]] = true;
  plan.patterns = loadPatterns(carries);
  if (plan.patterns.size() > kMaxPatterns)
    throw RunError(formatText("ERROR: LA VIGA TIENE %d TRAMOS Y DA %d ALTERNANCIAS; UNA ENVOLVENTE TOMA COMO MUCHO "
                              "%d PROYECTOS\n",
                              static_cast<int>(plan.spans.size()), static_cast<int>(plan.patterns.size()),
                              static_cast<int>(kMaxPatterns)));

  const std::string modelText = readWholeFile(options.model);
  plan.modelText = model.header.selfWeight == 1 ? withoutSelfWeight(modelText, options.model) : modelText;
  // Permanent loads, self-weight written out, both on every span.
  std::string permanent;
  for (const calcest::LoadOnBar& load : model.loads) permanent += loadLine(load.load, options.gG);
  if (model.header.selfWeight == 1)
    for (int k = 1; k <= model.header.nb; ++k) {
      const BarInput& bar = model.bars[k];
      if (bar.w == 0) continue;
      calcest::BarLoad weight;
      weight.barLabel = bar.label;
      weight.ltype = 3;
      weight.c = bar.L;
      weight.q = -bar.w;
      permanent += loadLine(weight, options.gG);
    }
  for (size_t p = 0; p < plan.patterns.size(); ++p) {
    plan.projects.push_back(options.name + "_" + twoDigits(p + 1));
    std::string loads = permanent;
    for (const calcest::LoadOnBar& load : variable)
      if (plan.patterns[p].loaded[spanOfBar[load.bar]]) loads += loadLine(load.load, options.gQ);
    plan.loadsTexts.push_back(loads);
    plan.descriptions.push_back(formatText("%s: permanentes x%g en todos los tramos; variables x%g en %s\n",
                                           plan.projects[p].c_str(), options.gG, options.gQ,
                                           plan.patterns[p].description.c_str()));
  }
  return plan;
}

const char* const kProjectExtensions[] = {".dat", ".caf", ".car", ".res", ".fmc", ".bar", ".kar",
                                          ".kra", ".tst", ".gan", ".def", ".esf"};
const char* const kEnvelopeSuffixes[] = {".res", ".esf", "d.scr", "m.scr", "c.scr", "d.svg", "m.svg", "c.svg"};
const char* const kTraceFiles[] = {"esfuerzos.txt", "fp_pruebak.txt", "rigidez.txt", "rigidez1.txt",
                                   "caldef.txt",    "caldef1.txt",    "artcorte.txt"};

void removeEnvelopeFiles(const std::string& name) {
  for (const char* suffix : kEnvelopeSuffixes) {
    std::error_code ignored;
    if (std::filesystem::is_regular_file(std::filesystem::symlink_status(name + suffix, ignored)))
      std::filesystem::remove(name + suffix, ignored);
  }
}

// The name must not be a project's, and no file the run writes may be one of
// its inputs.
void checkOutputsSpareInputs(const Plan& plan) {
  const Options& o = plan.options;
  if (envelope::checkEnvelopeName(o.name, plan.projects) != envelope::EnvelopeNameCheck::Usable)
    throw RunError("ERROR: YA HAY UN PROYECTO LLAMADO " + o.name + " EN ESTE DIRECTORIO: ELIJA OTRO NOMBRE\n");
  std::vector<std::string> outputs(std::begin(kTraceFiles), std::end(kTraceFiles));
  outputs.push_back(o.name + ".dat");
  for (const char* suffix : kEnvelopeSuffixes) outputs.push_back(o.name + suffix);
  for (const std::string& project : plan.projects)
    for (const char* extension : kProjectExtensions) outputs.push_back(project + extension);
  for (const std::string* input : {&o.model, &o.permanent, &o.variable})
    for (const std::string& output : outputs) {
      std::error_code error;
      if (std::filesystem::equivalent(*input, output, error))
        throw RunError("ERROR: ALTERNANCIAS ESCRIBIR\xCD" "A " + output + ", QUE ES EL DATO " + *input +
                       ": ELIJA OTRO NOMBRE\n");
    }
}

// Runs calcest on one project; its console output is kept and shown only when
// the run fails.
void analyse(const std::string& project) {
  const std::string program = calcestProgram();
  std::vector<std::string> words = {program,          project + ".dat", project + ".res", project + ".caf",
                                    project + ".fmc", project + ".bar", "0"};
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);

  int pipeEnds[2];
  if (pipe(pipeEnds) != 0) throw RunError("ERROR: NO SE PUEDE EJECUTAR " + program + "\n");
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], 1);
  posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], 2);
  posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
  posix_spawn_file_actions_addclose(&actions, pipeEnds[1]);
  pid_t child = 0;
  const int spawned = posix_spawn(&child, program.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(pipeEnds[1]);
  std::string output;
  if (spawned == 0) {
    char buffer[4096];
    ssize_t got;
    while ((got = read(pipeEnds[0], buffer, sizeof buffer)) > 0 || (got < 0 && errno == EINTR))
      if (got > 0) output.append(buffer, static_cast<size_t>(got));
  }
  close(pipeEnds[0]);
  if (spawned != 0) throw RunError("ERROR: NO SE PUEDE EJECUTAR " + program + "\n");
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
    throw RunError(output + (output.empty() || output.back() == '\n' ? "" : "\n") +
                   formatText("ERROR: calcest NO PUDO CALCULAR EL PROYECTO %s; NO SE HA HECHO LA ENVOLVENTE\n",
                              project.c_str()));
}

// The governing value of a quantity and the arrangement that gives it.
struct Extreme {
  double value = 0, x = 0;
  int pattern = -1;
  void offer(double v, double at, int p, bool largest) {
    if (pattern < 0 || (largest ? v > value : v < value)) *this = {v, at, p};
  }
  double shown() const { return std::fabs(value) < 0.00005 ? 0.0 : value; }  // no "-0.0000"
};

// The moments at a point that belong to the beam (none left of the first
// point, none right of the last).
std::vector<double> momentsAt(const std::vector<ForceRow>& table, size_t p) {
  std::vector<double> m;
  if (p > 0) m.push_back(table[p].Mfi);
  if (p + 1 < table.size()) m.push_back(table[p].Mfd);
  return m;
}

std::string summary(const Plan& plan, const std::vector<AnalysedProject>& analysed) {
  const Options& o = plan.options;
  std::string text = formatText("Envolvente %s: %d alternancias; permanentes x%g en todos los tramos, variables x%g "
                                "en los tramos cargados\n",
                                o.name.c_str(), static_cast<int>(plan.patterns.size()), o.gG, o.gQ);
  for (size_t p = 0; p < plan.patterns.size(); ++p)
    text += "  " + plan.projects[p] + "  " + plan.patterns[p].description + "\n";
  // An extreme of 0 (an end support's moment) comes from no arrangement in particular.
  auto patternName = [&](const Extreme& e) {
    return e.pattern < 0 || e.shown() == 0 ? std::string("-") : plan.projects[e.pattern];
  };

  const informe::Model& model = plan.model;
  text += "\nApoyo  nodo           x  momento m\xEDnimo  alternancia     reacci\xF3n m\xE1xima  alternancia\n";
  for (size_t k = 1; k < model.supports.size(); ++k) {
    const Support& support = model.supports[k];
    if (!holdsDeflection(support.code)) continue;
    const size_t point = static_cast<size_t>(kGridIntervals) * (support.index - 1);
    Extreme moment, reaction;
    for (size_t p = 0; p < analysed.size(); ++p) {
      for (double m : momentsAt(analysed[p].table, point)) moment.offer(m, 0, static_cast<int>(p), false);
      reaction.offer(analysed[p].res.supports[k].Ry.value, 0, static_cast<int>(p), true);
    }
    text += formatText("%5d %5d %11.4f %15.4f  %-14s %15.4f  %s\n", static_cast<int>(k),
                       model.nodes[support.index].label, model.nodes[support.index].x, moment.shown(),
                       patternName(moment).c_str(), reaction.shown(), patternName(reaction).c_str());
  }
  text += "\nTramo  barras      momento m\xE1ximo           x  alternancia     momento m\xEDnimo           x  "
          "alternancia\n";
  for (size_t s = 0; s < plan.spans.size(); ++s) {
    const Span& span = plan.spans[s];
    Extreme largest, smallest;
    for (size_t p = 0; p < analysed.size(); ++p) {
      const std::vector<ForceRow>& table = analysed[p].table;
      // Inside the span: its ends are supports (or a free end) and listed above.
      for (size_t point = static_cast<size_t>(kGridIntervals) * (span.firstBar - 1) + 1;
           point < static_cast<size_t>(kGridIntervals) * span.lastBar; ++point)
        for (double m : momentsAt(table, point)) {
          largest.offer(m, table[point].x, static_cast<int>(p), true);
          smallest.offer(m, table[point].x, static_cast<int>(p), false);
        }
    }
    const std::string bars = span.firstBar == span.lastBar
                                 ? std::to_string(model.bars[span.firstBar].label)
                                 : formatText("%d-%d", model.bars[span.firstBar].label, model.bars[span.lastBar].label);
    text += formatText("%5d  %-8s %17.4f %11.4f  %-14s %15.4f %11.4f  %s%s\n", static_cast<int>(s + 1), bars.c_str(),
                       largest.shown(), largest.x, patternName(largest).c_str(), smallest.shown(), smallest.x,
                       patternName(smallest).c_str(), span.overhang ? "  (voladizo)" : "");
  }
  return text;
}

int runPatterns(const Options& options) {
  const Plan plan = makePlan(options);
  checkOutputsSpareInputs(plan);
  // An envelope of an earlier run is not left to pass for this one.
  removeEnvelopeFiles(options.name);
  for (size_t p = 0; p < plan.projects.size(); ++p) {
    const std::string& project = plan.projects[p];
    writeWholeFile(project + ".dat", plan.modelText);
    writeWholeFile(project + ".caf", plan.loadsTexts[p]);
    writeWholeFile(project + ".car", plan.descriptions[p]);
  }
  std::vector<AnalysedProject> analysed;
  for (const std::string& project : plan.projects) {
    analyse(project);
    analysed.push_back(readAnalysedProject(project));
    writeWholeFile(project + ".esf", formatForceTable(analysed.back().table));
  }
  std::string list = formatText(" %d\n", static_cast<int>(plan.projects.size()));
  for (const std::string& project : plan.projects) list += project + "\n";
  writeWholeFile(options.name + ".dat", list);

  std::vector<std::string> batch = {options.name, std::to_string(options.width), std::to_string(options.height)};
  batch.insert(batch.end(), plan.projects.begin(), plan.projects.end());
  if (envelope::runBatch(batch) != 0) {
    removeEnvelopeFiles(options.name);
    throw RunError("ERROR: NO SE PUDO ESCRIBIR LA ENVOLVENTE " + options.name + "\n");
  }
  consoleWrite(summary(plan, analysed));
  return 0;
}

int runTables(const std::vector<std::string>& projects) {
  if (projects.empty()) throw RunError(kUsage);
  for (std::string project : projects) {
    if (project.size() > 4 && project.compare(project.size() - 4, 4, ".dat") == 0) project.resize(project.size() - 4);
    const AnalysedProject analysed = readAnalysedProject(project);
    writeWholeFile(project + ".esf", formatForceTable(analysed.table));
    std::error_code error;
    if (!std::filesystem::exists(project + ".car", error)) {
      // Point forces, point moments, uniform, triangular and temperature loads.
      static const char* const kinds[] = {"puntuales", "momentos", "uniformes", "triangulares", "t\xE9rmicas"};
      static const int kindOfType[] = {-1, 0, 1, 2, 3, 3, 4};
      int count[5] = {};
      for (const calcest::LoadOnBar& load : analysed.model.loads)
        if (load.load.ltype >= 1 && load.load.ltype <= 6) ++count[kindOfType[load.load.ltype]];
      const int loads = static_cast<int>(analysed.model.loads.size());
      std::string description =
          formatText("%s: %d carga%s de %s.caf", project.c_str(), loads, loads == 1 ? "" : "s", project.c_str());
      for (int kind = 0; kind < 5; ++kind)
        if (count[kind]) description += formatText(", %d %s", count[kind], kinds[kind]);
      if (analysed.model.header.selfWeight == 1) description += ", y peso propio";
      writeWholeFile(project + ".car", description + "\n");
    }
    consoleWrite(formatText("alternancias: %s.esf escrito (%d puntos)\n", project.c_str(),
                            static_cast<int>(analysed.table.size())));
  }
  return 0;
}

}  // namespace

std::string calcestProgram() {
  std::error_code error;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  if (!error) {
    const std::filesystem::path beside = self.parent_path() / "calcest";
    if (access(beside.c_str(), X_OK) == 0) return beside.string();
  }
  return CALCEST_BUILD_PATH;
}

int runAlternancias(const std::vector<std::string>& args) {
  try {
    if (!args.empty() && args[0] == "--tabla") return runTables({args.begin() + 1, args.end()});
    return runPatterns(parseOptions(args));
  } catch (const RunError& error) {
    consoleWrite(error.text);
    return error.status;
  } catch (const std::bad_alloc&) {
    consoleWrite("ERROR: NO HAY MEMORIA PARA LAS ALTERNANCIAS\n");
    return 1;
  }
}

}  // namespace alternancias
