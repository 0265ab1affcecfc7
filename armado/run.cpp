#include "armado/run.h"

#include <algorithm>
#include <cmath>

#include "alternancias/force_table.h"
#include "armado/demand.h"
#include "armado/design.h"
#include "armado/detailing.h"
#include "armado/drawing.h"
#include "armado/outputs.h"
#include "armado/schedule.h"
#include "common/file_names.h"
#include "common/run_error.h"
#include "common/safe_output.h"
#include "common/whole_file.h"
#include "projectfiles/token_file.h"

namespace armado {

using common::formatText;
using common::RunError;

namespace {

std::string usage() {
  return "uso: armado NOMBRE MODELO.dat PERMANENTES.caf VARIABLES.caf [--hormigon HA-25] [--acero B500S]\n"
         "              [--recubrimiento 30] [--barras 12,16,20,25] [--estribo 8] [--ramas 2] [--ambiente XC1]\n"
         "              [--arido 20] [--apoyo 300] [--psi2 0.3] [--gG 1.35] [--gGinf 1.0] [--gQ 1.5]\n"
         "              [--gc 1.5] [--gs 1.15] [--acc 1.0] [--psi1 0.5] [--humedad 50] [--edad 28] [--cemento N]\n"
         "              [--fluencia PHI] [--retraccion POR_MIL] [--acabados DIAS]\n";
}

RunError usageError(const std::string& why) { return RunError("ERROR: " + why + "\n" + usage()); }

struct Options {
  std::string name, model, permanent, variable;
  DesignData data;
};

// A number option: its range and where it goes.
struct NumberOption {
  const char* name;
  double low, high;
  const char* unit;
  void (*set)(DesignData&, double);
};

const NumberOption kNumberOptions[] = {
    {"--recubrimiento", 10, 100, " mm", [](DesignData& d, double v) { d.cover = v; }},
    {"--arido", 8, 63, " mm", [](DesignData& d, double v) { d.aggregate = v; }},
    {"--apoyo", 0, 3000, " mm", [](DesignData& d, double v) { d.supportWidth = v; }},
    {"--psi1", 0, 1, "", [](DesignData& d, double v) { d.psi1 = v; }},
    {"--psi2", 0, 1, "", [](DesignData& d, double v) { d.psi2 = v; }},
    {"--gG", 1, 100, "", [](DesignData& d, double v) { d.factors.gG = v; }},
    {"--gGinf", 0, 100, "", [](DesignData& d, double v) { d.factors.gGinf = v; }},
    {"--gQ", 1, 100, "", [](DesignData& d, double v) { d.factors.gQ = v; }},
    {"--gc", 1, 2, "", [](DesignData& d, double v) { d.safety.gammaC = v; }},
    {"--gs", 1, 1.5, "", [](DesignData& d, double v) { d.safety.gammaS = v; }},
    {"--acc", 0.8, 1, "", [](DesignData& d, double v) { d.safety.alphaCC = v; }},
    // Annex B holds for 40 to 100 % of relative humidity.
    {"--humedad", 40, 100, " %", [](DesignData& d, double v) { d.humidity = v; }},
    {"--edad", 1, 36500,
     " d\xED"
     "as",
     [](DesignData& d, double v) { d.loadingAge = v; }},
    {"--fluencia", 0, 6, "", [](DesignData& d, double v) { d.creep = v; }},
    {"--retraccion", 0, 1.5, " por mil", [](DesignData& d, double v) { d.shrinkage = v / 1000; }},
    {"--acabados", 1, 36500,
     " d\xED"
     "as",
     [](DesignData& d, double v) { d.finishesAge = v; }},
};

// The diameters of the Spanish series of bars.
const double kBarSeries[] = {6, 8, 10, 12, 14, 16, 20, 25, 32, 40};

bool inSeries(double d, double least) {
  return d >= least && std::find(std::begin(kBarSeries), std::end(kBarSeries), d) != std::end(kBarSeries);
}

std::vector<double> diameterList(const std::string& value) {
  std::vector<double> list;
  size_t pos = 0;
  while (pos <= value.size()) {
    const size_t comma = std::min(value.find(',', pos), value.size());
    double d = 0;
    if (!projectfiles::parseReal(value.substr(pos, comma - pos), d) || !inSeries(d, 8))
      throw usageError(
          "--barras PIDE DI\xC1METROS SEPARADOS POR COMAS DE LA SERIE 8, 10, 12, 14, 16, 20, 25, 32, 40 mm, "
          "NO " +
          value);
    list.push_back(d);
    pos = comma + 1;
  }
  std::sort(list.begin(), list.end());
  list.erase(std::unique(list.begin(), list.end()), list.end());
  return list;
}

void wordOption(const std::string& arg, const std::string& value, DesignData& d) {
  if (arg == "--hormigon") {
    const std::optional<Concrete> c = concreteNamed(value);
    if (!c) throw usageError("--hormigon PIDE HA-25, HA-30, HA-35, HA-40, HA-45 O HA-50, NO " + value);
    d.concrete = *c;
  } else if (arg == "--acero") {
    const std::optional<Steel> s = steelNamed(value);
    if (!s) throw usageError("--acero PIDE B400S O B500S, NO " + value);
    d.steel = *s;
  } else if (arg == "--ambiente") {
    if (!crackWidthLimit(value))
      throw usageError("--ambiente PIDE UNA CLASE DE EXPOSICI\xD3N X0, XC1 A XC4, XD1 A XD3 O XS1 A XS3, NO " + value);
    d.exposure = value;
  } else if (arg == "--cemento") {
    if (value != "S" && value != "N" && value != "R") throw usageError("--cemento PIDE LA CLASE S, N O R, NO " + value);
    d.cement = value[0];
  } else if (arg == "--barras") {
    d.diameters = diameterList(value);
  } else if (arg == "--estribo") {
    double v = 0;
    if (!projectfiles::parseReal(value, v) || !inSeries(v, 6) || v > 16)
      throw usageError("--estribo PIDE UN DI\xC1METRO DE 6, 8, 10, 12, 14 O 16 mm, NO " + value);
    d.stirrupDiameter = v;
  } else if (arg == "--ramas") {
    if (!projectfiles::parseInteger(value, d.legs) || d.legs < 2 || d.legs > 6)
      throw usageError("--ramas PIDE DE 2 A 6 RAMAS, NO " + value);
  } else {
    throw usageError("OPCI\xD3N DESCONOCIDA " + arg);
  }
}

Options parseOptions(const std::vector<std::string>& args) {
  Options o;
  std::vector<std::string> positional;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg.rfind("--", 0) != 0) {
      positional.push_back(arg);
      continue;
    }
    if (i + 1 == args.size()) throw usageError(arg + " PIDE UN VALOR");
    const std::string& value = args[++i];
    const NumberOption* number = nullptr;
    for (const NumberOption& n : kNumberOptions)
      if (arg == n.name) number = &n;
    if (!number) {
      wordOption(arg, value, o.data);
      continue;
    }
    double v = 0;
    if (!projectfiles::parseReal(value, v) || !(v >= number->low && v <= number->high))
      throw usageError(arg + formatText(" PIDE UN VALOR DE %g A %g%s, NO ", number->low, number->high, number->unit) +
                       value);
    number->set(o.data, v);
  }
  if (positional.size() != 4) throw RunError(usage());
  o.name = positional[0];
  o.model = positional[1];
  o.permanent = positional[2];
  o.variable = positional[3];
  const bool plain =
      !o.name.empty() &&
      o.name.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789_-") == std::string::npos;
  if (!plain)
    throw RunError("ERROR: EL NOMBRE \"" + o.name +
                   "\" NO SIRVE: USE LETRAS SIN ACENTO, CIFRAS, '_' Y '-' (NI PUNTOS NI BARRAS)\n");
  if (o.data.factors.gGinf > o.data.factors.gG)
    throw usageError(formatText("--gGinf (%g) NO PUEDE PASAR DE --gG (%g)", o.data.factors.gGinf, o.data.factors.gG));
  if (o.data.psi2 > o.data.psi1)
    throw usageError(formatText("--psi2 (%g) NO PUEDE PASAR DE --psi1 (%g)", o.data.psi2, o.data.psi1));
  if (o.data.finishesAge && *o.data.finishesAge < o.data.loadingAge)
    throw usageError(
        formatText("--acabados (%g) NO PUEDE SER ANTES DE --edad (%g)", *o.data.finishesAge, o.data.loadingAge));
  return o;
}

BeamInput readBeam(const Options& o) {
  BeamInput beam;
  beam.model = projectfiles::readModel(o.model, o.permanent);
  alternancias::checkContinuousBeam(beam.model, o.model);
  beam.variable = projectfiles::readLoadsFile(o.variable, beam.model.bars);
  beam.spans = alternancias::spansOf(beam.model, o.model);
  return beam;
}

int runDesign(const std::vector<std::string>& args, common::Console& console) {
  const Options o = parseOptions(args);
  const BeamInput beam = readBeam(o);
  const Design design = designBeam(beamDemand(beam, o.data.factors, o.data.shares(), o.model), o.data);
  const Schedule schedule = scheduleOf(design);
  const std::vector<std::string> outputs = common::filesOf(o.name, common::kDesignFileSuffixes);
  std::vector<std::string> all = outputs;
  all.push_back(common::fileOf(o.name, common::kLockExt));
  const common::SameFile same = common::outputThatIsAnInput(all, {o.model, o.permanent, o.variable});
  if (!same.output.empty()) throw RunError(common::sameFileText("ARMADO", same, "ELIJA OTRO NOMBRE"));
  const DesignPictures drawing = designPictures(o.name, design, schedule);
  const std::string texts[] = {designTable(o.name, design), scheduleText(o.name, design, schedule), drawing.svg,
                               drawing.script};
  common::RunLock lock;
  long holder = 0;
  if (!lock.acquire(common::fileOf(o.name, common::kLockExt), holder))
    throw RunError(common::lockRefusalText(o.name, holder));
  common::PendingFiles pending;
  for (size_t k = 0; k < outputs.size(); ++k) common::writeAside(pending, outputs[k], texts[k]);
  if (!pending.commit())
    throw RunError(common::cannotWriteText(pending.failed()) + "\nERROR: NO SE PUDO ESCRIBIR EL ARMADO " + o.name +
                   "\n");
  console.write(summaryText(o.name, design, schedule));
  return 0;
}

}  // namespace

const common::ConsoleProgram kArmado{runDesign, "ERROR: NO HAY MEMORIA PARA EL ARMADO\n"};

}  // namespace armado
