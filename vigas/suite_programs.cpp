#include "vigas/suite_programs.h"

#include <sys/wait.h>

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <thread>

#include "common/child_process.h"
#include "common/fellow_program.h"
#include "common/file_names.h"
#include "common/model_writer.h"
#include "common/run_error.h"
#include "common/temporary_folder.h"
#include "common/whole_file.h"
#include "alternancias/envelope_files.h"
#include "alternancias/exact_envelope.h"
#include "alternancias/patterns.h"
#include "common/capacities.h"
#include "projectfiles/modes_file.h"
#include "vigas/project_files.h"

namespace vigas {

using namespace common;

namespace {

std::filesystem::path folderOf(const std::string& path) {
  const std::filesystem::path folder = std::filesystem::path(path).parent_path();
  return folder.empty() ? std::filesystem::path(".") : folder;
}

std::string bareName(const std::string& path) { return std::filesystem::path(path).filename().string(); }

std::string factorText(double factor) {
  char text[32];
  const auto written = std::to_chars(text, text + sizeof text, factor);
  return std::string(text, written.ptr);
}

}  // namespace

Outcome runFellow(const std::string& name, std::vector<std::string> args, const std::string& folder) {
  Outcome outcome;
  const std::string program = fellowProgram(name);
  if (program.empty()) {
    outcome.error = "no se encuentra el programa " + name + ": " + fellowNotFoundText();
    return outcome;
  }
  ChildProgram child;
  child.argv = std::move(args);
  child.argv.insert(child.argv.begin(), program);
  child.folder = folder;
  child.environment = {"LC_ALL=C"};
  child.outputLimit = kFellowOutputKept;
  const ChildRun run = runChild(child);
  outcome.output = run.output;
  if (!run.started()) {
    outcome.error = "no se pudo ejecutar " + program + ": " + std::strerror(run.startError);
  } else if (run.status != 0) {
    outcome.error = printedText(run.output);
    if (outcome.error.empty())
      outcome.error = name + (run.signal ? " se detuvo sin terminar su c\xE1lculo" : " no termin\xF3 su c\xE1lculo");
  } else {
    outcome.ok = true;
  }
  return outcome;
}

std::string printedText(const std::string& printed) {
  std::string out;
  size_t start = 0;
  while (start < printed.size()) {
    size_t end = printed.find('\n', start);
    if (end == std::string::npos) end = printed.size();
    const std::string line = printed.substr(start, end - start);
    if (line.find("Presione una tecla") == std::string::npos && line.find("PRESIONE UNA TECLA") == std::string::npos &&
        line.find_first_not_of(" \r") != std::string::npos)
      out += line + "\n";
    start = end + 1;
  }
  return out;
}

// ---- calcdin

ModesRun runModes(const std::string& project, int option, int nodeCount) {
  ModesRun run;
  run.option = option;
  const std::string folder = folderOf(project).string();
  const Outcome calcdin = runFellow("calcdin", calcdinCommandLine(bareName(project), option), folder);
  if (!calcdin.ok) {
    run.error = calcdin.error;
    return run;
  }
  run.modesFile = fileOf(project, kModesExt);
  try {
    projectfiles::TokenFile in(run.modesFile);
    const projectfiles::ModesFile modes = projectfiles::readModesFile(in, nodeCount);
    for (const projectfiles::Mode& mode : modes.ascending) {
      ModeRow row;
      row.order = mode.block;
      row.eigenvalue = mode.eigenvalue.value;
      row.frequency = mode.frequency.value;
      row.period = mode.frequency.value > 0 ? 1.0 / mode.frequency.value : 0.0;
      row.eigenvalueText = mode.eigenvalue.text;
      row.frequencyText = mode.frequency.text;
      run.modes.push_back(row);
    }
  } catch (const RunError& error) {
    run.error = error.text;
    run.modes.clear();
    run.modesFile.clear();
  }
  return run;
}

// ---- informe and Webrix

std::vector<std::string> informeCommandLine(const std::string& project, const std::string& modesFile) {
  std::vector<std::string> args{project};
  if (!modesFile.empty()) args.push_back(modesFile);
  return args;
}

std::string runReport(const std::string& project, const std::string& modesFile) {
  const Outcome informe =
      runFellow("informe", informeCommandLine(bareName(project), modesFile.empty() ? "" : bareName(modesFile)),
                folderOf(project).string());
  return informe.ok ? "" : informe.error;
}

// ---- alternancias

EnvelopeChoice presetEnvelopeChoice(const Content& content) {
  EnvelopeChoice choice;
  for (size_t k = 0; k < content.cases.size(); ++k)
    choice.roles.push_back(k == 0 ? CaseRole::permanent : CaseRole::variable);
  return choice;
}

std::string envelopeChoiceFault(const EnvelopeChoice& choice, const Content& content) {
  if (choice.roles.size() != content.cases.size()) return "falta decir de cada caso si es permanente o variable";
  bool variable = false;
  for (CaseRole role : choice.roles) variable = variable || role == CaseRole::variable;
  if (!variable) return "la envolvente necesita al menos un caso variable";
  for (double factor : {choice.gG, choice.gGinf, choice.gQ})
    if (!(factor > 0 && factor <= 100)) return "los coeficientes son mayores que 0 y hasta 100";
  return "";
}

std::string loadsOfRole(const Content& content, const EnvelopeChoice& choice, CaseRole role) {
  std::vector<BarLoad> loads;
  for (size_t k = 0; k < content.cases.size() && k < choice.roles.size(); ++k)
    if (choice.roles[k] == role)
      loads.insert(loads.end(), content.cases[k].loads.begin(), content.cases[k].loads.end());
  return loadsText(loads);
}

std::string envelopeName(const std::string& modelPath) {
  std::string name = std::filesystem::path(modelPath).stem().string();
  for (char& c : name)
    if (!std::isalnum(static_cast<unsigned char>(c)) || static_cast<unsigned char>(c) > 127) c = c == '-' ? c : '_';
  return name + "-envolvente";
}

std::vector<std::string> alternanciasCommandLine(const std::string& name, const std::string& model,
                                                 const std::string& permanentLoads, const std::string& variableLoads,
                                                 const EnvelopeChoice& choice) {
  return {name,           model,
          permanentLoads, variableLoads,
          "--gG",         factorText(choice.gG),
          "--gGinf",      factorText(choice.gGinf),
          "--gQ",         factorText(choice.gQ)};
}

namespace {

// The loads of the cases of a role as a file for a fellow program run in the
// model's folder: a role held by one case is that case's saved file (its bare
// name); several cases' loads (or none) go together into a file of `scratch`.
std::string roleLoadsFile(const Document& document, const EnvelopeChoice& choice, CaseRole role,
                          const TemporaryFolder& scratch) {
  const Content& content = document.content();
  int only = -1, count = 0;
  for (size_t k = 0; k < choice.roles.size(); ++k)
    if (choice.roles[k] == role) only = static_cast<int>(k), ++count;
  if (count == 1) return bareName(fileOf(caseProject(document.modelPath(), content, only), kLoadsExt));
  if (scratch.path().empty()) throw RunError("no se puede crear una carpeta temporal para las cargas");
  std::string path = scratch.path() + (role == CaseRole::permanent ? "/permanentes" : "/variables") + kLoadsExt;
  writeWholeFile(path, loadsOfRole(content, choice, role));
  return path;
}

// The checks and the save a run on the roles' loads starts with: "" when it may go on.
std::string readyForRoles(Document& document, const EnvelopeChoice& choice) {
  const std::string fault = envelopeChoiceFault(choice, document.content());
  return fault.empty() ? saveProject(document) : fault;
}

// The envelope alternancias found, found again from the files it read (its
// arguments `args`), at its default drawing size.
std::shared_ptr<const envelope::EnvelopeState> envelopeInMemory(const std::string& modelPath, const std::string& folder,
                                                                const std::vector<std::string>& args,
                                                                const EnvelopeChoice& choice) {
  auto inFolder = [&](const std::string& file) { return (std::filesystem::path(folder) / file).string(); };
  const projectfiles::Model model = projectfiles::readModel(modelPath, inFolder(args[2]));
  const std::vector<calcest::LoadOnBar> variable = projectfiles::readLoadsFile(inFolder(args[3]), model.bars);
  const alternancias::ExactEnvelope envelope = alternancias::exactEnvelope(
      model, variable, alternancias::spansOf(model, modelPath), {choice.gG, choice.gGinf, choice.gQ});
  auto state = std::make_shared<envelope::EnvelopeState>();
  alternancias::fillEnvelopeState(*state, args[0], model, envelope, common::kDrawingWidth.preset,
                                  common::kDrawingHeight.preset);
  return state;
}

}  // namespace

EnvelopeRun runEnvelope(Document& document, const EnvelopeChoice& choice) {
  EnvelopeRun run;
  run.error = readyForRoles(document, choice);
  if (!run.error.empty()) return run;
  const std::string& modelPath = document.modelPath();
  const std::string folder = folderOf(modelPath).string();
  TemporaryFolder scratch("vigas-envolvente");
  std::vector<std::string> args;
  try {
    run.name = envelopeName(modelPath);
    args = alternanciasCommandLine(run.name, bareName(modelPath),
                                   roleLoadsFile(document, choice, CaseRole::permanent, scratch),
                                   roleLoadsFile(document, choice, CaseRole::variable, scratch), choice);
  } catch (const RunError& error) {
    run.error = error.text;
    return run;
  }
  const Outcome alternancias = runFellow("alternancias", args, folder);
  if (!alternancias.ok) {
    run.error = alternancias.error;
    return run;
  }
  run.summary = alternancias.output;
  try {
    run.state = envelopeInMemory(modelPath, folder, args, choice);
  } catch (const RunError& error) {
    run.error = error.text;
    return run;
  }
  run.name = (std::filesystem::path(folder) / run.name).string();
  for (int kind = 1; kind <= 3; ++kind) run.pictures.push_back(envelopePictureName(run.name, kind));
  return run;
}

std::string designName(const std::string& modelPath) {
  const std::string name = envelopeName(modelPath);
  return name.substr(0, name.size() - std::strlen("-envolvente"));
}

std::vector<std::string> armadoCommandLine(const std::string& name, const std::string& model,
                                           const std::string& permanentLoads, const std::string& variableLoads,
                                           const EnvelopeChoice& choice, const armado::DesignData& data) {
  std::string diameters;
  for (double d : data.diameters) diameters += (diameters.empty() ? "" : ",") + factorText(d);
  std::vector<std::string> args = {name,
                                   model,
                                   permanentLoads,
                                   variableLoads,
                                   "--hormigon",
                                   data.concrete.name,
                                   "--acero",
                                   data.steel.name,
                                   "--recubrimiento",
                                   factorText(data.cover),
                                   "--barras",
                                   diameters,
                                   "--estribo",
                                   factorText(data.stirrupDiameter),
                                   "--ramas",
                                   std::to_string(data.legs),
                                   "--ambiente",
                                   data.exposure,
                                   "--arido",
                                   factorText(data.aggregate),
                                   "--apoyo",
                                   factorText(data.supportWidth),
                                   "--psi2",
                                   factorText(data.psi2),
                                   "--gc",
                                   factorText(data.safety.gammaC),
                                   "--gs",
                                   factorText(data.safety.gammaS),
                                   "--acc",
                                   factorText(data.safety.alphaCC),
                                   "--gG",
                                   factorText(choice.gG),
                                   "--gGinf",
                                   factorText(choice.gGinf),
                                   "--gQ",
                                   factorText(choice.gQ),
                                   "--psi1",
                                   factorText(data.psi1),
                                   "--humedad",
                                   factorText(data.humidity),
                                   "--edad",
                                   factorText(data.loadingAge),
                                   "--cemento",
                                   std::string(1, data.cement)};
  const std::pair<const char*, std::optional<double>> given[] = {
      {"--fluencia", data.creep},
      {"--retraccion", data.shrinkage ? std::optional<double>(*data.shrinkage * 1000) : std::nullopt},
      {"--acabados", data.finishesAge}};
  for (const auto& [option, value] : given)
    if (value) args.insert(args.end(), {option, factorText(*value)});
  return args;
}

DesignRun runDesign(Document& document, const EnvelopeChoice& choice, armado::DesignData data) {
  DesignRun run;
  run.error = readyForRoles(document, choice);
  if (!run.error.empty()) return run;
  const std::string& modelPath = document.modelPath();
  const std::string folder = folderOf(modelPath).string();
  TemporaryFolder scratch("vigas-armado");
  try {
    run.name = designName(modelPath);
    const std::string permanent = roleLoadsFile(document, choice, CaseRole::permanent, scratch);
    const std::string variable = roleLoadsFile(document, choice, CaseRole::variable, scratch);
    const Outcome armado = runFellow(
        "armado", armadoCommandLine(run.name, bareName(modelPath), permanent, variable, choice, data), folder);
    if (!armado.ok) {
      run.error = armado.error;
      return run;
    }
    run.summary = armado.output;
    // The same design in memory, for the window to draw: the files armado read, read again.
    auto inFolder = [&](const std::string& file) { return (std::filesystem::path(folder) / file).string(); };
    armado::BeamInput beam;
    beam.model = projectfiles::readModel(modelPath, inFolder(permanent));
    beam.variable = projectfiles::readLoadsFile(inFolder(variable), beam.model.bars);
    beam.spans = alternancias::spansOf(beam.model, modelPath);
    data.factors = {choice.gG, choice.gGinf, choice.gQ};
    run.design = std::make_shared<armado::Design>(
        armado::designBeam(armado::beamDemand(beam, data.factors, data.shares(), modelPath), data));
  } catch (const RunError& error) {
    run.error = error.text;
  }
  run.name = (std::filesystem::path(folder) / run.name).string();
  return run;
}

}  // namespace vigas
