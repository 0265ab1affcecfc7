// The program as a user runs it: its files and console on the bundled
// example, and every refusal with status 1 and nothing of the run left.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <sstream>

#include "armado/tests/test_beams.h"
#include "common/file_names.h"
#include "common/testing/test_support.h"

namespace armado {
namespace {

using testsupport::RunResult;
using testsupport::ScratchDir;

const std::vector<std::string> kNothing;

RunResult armado(const ScratchDir& dir, const std::vector<std::string>& args, const std::string& locale = "C") {
  testsupport::RunLimits limits;
  limits.locale = locale;
  return testsupport::runProgram(ARMADO_BINARY, args, dir.path(), nullptr, 120, limits);
}

void copyExample(const ScratchDir& dir) {
  for (const char* file : {"viga3.dat", "viga3.caf", "viga3q.caf"})
    dir.write(file, testsupport::readFile(std::string(EXAMPLES_DIR) + "/" + file));
}

std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

TEST(Program, DesignsTheBundledExampleIntoItsFourFiles) {
  ScratchDir dir;
  copyExample(dir);
  const RunResult run = armado(dir, {"V3", "viga3.dat", "viga3.caf", "viga3q.caf"});
  ASSERT_EQ(run.status, 0) << run.output;
  // The table: three heading lines, then one line of 28 columns per station
  // (three bars of 21 stations sharing two).
  const std::vector<std::string> table = linesOf(dir.read("V3.arm"));
  ASSERT_EQ(table.size(), 3u + 61u);
  for (size_t k = 3; k < table.size(); ++k) {
    std::istringstream row(table[k]);
    std::vector<double> values;
    for (double v; row >> v;) values.push_back(v);
    EXPECT_EQ(values.size(), 28u) << table[k];
    EXPECT_EQ(table[k].size(), table[3].size());
    if (k - 3 <= 20) {
      EXPECT_NEAR(values[0], 0.3 * (k - 3), 1e-9);  // the twentieths of the first 6 m
    }
  }
  EXPECT_EQ(table.back().substr(0, 8), "  20.000");
  // The schedule's total is the sum of its pieces' weights.
  const std::vector<std::string> schedule = linesOf(dir.read("V3.des"));
  double sum = 0, total = 0;
  for (const std::string& line : schedule) {
    std::istringstream row(line);
    int mark = 0;
    if (row >> mark) {
      std::vector<std::string> words;
      for (std::string w; row >> w;) words.push_back(w);
      sum += std::stod(words.back());
    }
    if (line.rfind("Total", 0) == 0) total = std::stod(line.substr(5));
  }
  EXPECT_NEAR(total, sum, 0.01 * schedule.size());
  EXPECT_EQ(dir.read("V3a.svg").rfind("<?xml", 0), 0u);
  EXPECT_EQ(dir.read("V3a.scr").rfind("text ", 0), 0u);
  EXPECT_NE(run.output.find("Armado de la viga V3: 3 tramos, secci\xF3n 300 x 600 mm"), std::string::npos)
      << run.output;
  EXPECT_NE(run.output.find("estribos: c\xD8"
                            "8 a "),
            std::string::npos);
  // Every check holds but the quasi-permanent concrete stress of this
  // heavily loaded beam, which passes 0.45 fck over the inner supports.
  // HA-25, B500S: the limits 0.8 fyk = 400 MPa and 0.45 fck = 11.25 MPa, in
  // every span.
  int steel = 0, sustained = 0;
  for (const std::string& line : linesOf(run.output)) {
    if (line.find("NO CUMPLE") != std::string::npos) {
      EXPECT_EQ(line.rfind("  tensi\xF3n hormig\xF3n c.p.", 0), 0u) << line;
    }
    if (line.rfind("  tensi\xF3n acero car.", 0) == 0)
      steel += line.find("0.8 fyk     400.00 MPa") != std::string::npos;
    if (line.rfind("  tensi\xF3n hormig\xF3n c.p.", 0) == 0)
      sustained += line.find("0.45 fck     11.25 MPa") != std::string::npos;
  }
  EXPECT_EQ(steel, 3);
  EXPECT_EQ(sustained, 3);
  EXPECT_NE(run.output.find("la fluencia no es lineal"), std::string::npos);
  EXPECT_FALSE(dir.exists("V3.lock"));
}

TEST(Program, TheConsoleSpeaksUtf8InAUtf8Locale) {
  ScratchDir dir;
  copyExample(dir);
  const RunResult run = armado(dir, {"V3", "viga3.dat", "viga3.caf", "viga3q.caf"}, "C.UTF-8");
  ASSERT_EQ(run.status, 0) << run.output;
  EXPECT_NE(run.output.find("secci\xC3\xB3n 300 x 600 mm"), std::string::npos);
  // The files keep Windows-1252.
  EXPECT_NE(dir.read("V3.des").find("\xD8"
                                    "8"),
            std::string::npos);
}

// Bad input of every kind: a case's files, options and the message.
struct BadInput {
  const char* what;
  std::string model, permanent;
  std::vector<std::string> extra;
  std::string variable;  // "": the good beam's
  const char* message;
  const char* blocked;  // a folder where the run must put a file
};

std::vector<BadInput> badInputs() {
  testing::TestBeam beam;
  const testing::TestFiles good = testing::filesOf(beam);
  testing::TestBeam crushing;
  crushing.bars = {1.2};
  crushing.g = 900;
  testing::TestBeam unsized;
  unsized.sizes = false;
  testing::TestBeam small;
  small.b = 0.20;
  small.h = 0.30;
  std::string tonsInCentimetres = good.model;
  tonsInCentimetres.replace(0, 10, "PRUEBA 1 3");
  return {
      {"unknown concrete", good.model, good.permanent, {"--hormigon", "HA-55"}, "", "--hormigon PIDE HA-25", nullptr},
      {"unknown steel", good.model, good.permanent, {"--acero", "B600"}, "", "--acero PIDE B400S O B500S", nullptr},
      {"a bar off the series", good.model, good.permanent, {"--barras", "12,18"}, "", "--barras PIDE", nullptr},
      {"a cover out of range",
       good.model,
       good.permanent,
       {"--recubrimiento", "5"},
       "",
       "--recubrimiento PIDE UN VALOR DE 10 A 100 mm",
       nullptr},
      {"an exposure class not listed",
       good.model,
       good.permanent,
       {"--ambiente", "XF1"},
       "",
       "--ambiente PIDE",
       nullptr},
      {"one leg", good.model, good.permanent, {"--ramas", "1"}, "", "--ramas PIDE DE 2 A 6", nullptr},
      {"gGinf over gG", good.model, good.permanent, {"--gGinf", "1.5"}, "", "NO PUEDE PASAR DE --gG", nullptr},
      {"psi2 over psi1",
       good.model,
       good.permanent,
       {"--psi2", "0.6"},
       "",
       "--psi2 (0.6) NO PUEDE PASAR DE --psi1",
       nullptr},
      {"a humidity annex B does not cover",
       good.model,
       good.permanent,
       {"--humedad", "30"},
       "",
       "--humedad PIDE UN VALOR DE 40 A 100 %",
       nullptr},
      {"an unknown cement",
       good.model,
       good.permanent,
       {"--cemento", "T"},
       "",
       "--cemento PIDE LA CLASE S, N O R",
       nullptr},
      {"finishes before the load",
       good.model,
       good.permanent,
       {"--edad", "60", "--acabados", "30"},
       "",
       "--acabados (30) NO PUEDE SER ANTES DE --edad (60)",
       nullptr},
      {"an unknown option", good.model, good.permanent, {"--ancho", "3"}, "", "OPCI\xD3N DESCONOCIDA --ancho", nullptr},
      {"an option without its value", good.model, good.permanent, {"--psi2"}, "", "--psi2 PIDE UN VALOR", nullptr},
      {"a section without b and h",
       testing::filesOf(unsized).model,
       good.permanent,
       {},
       "",
       "NO TIENE ANCHO B Y CANTO H",
       nullptr},
      {"a force unit the model does not tell",
       tonsInCentimetres,
       good.permanent,
       {},
       "",
       "C\xD3"
       "DIGO DE UNIDADES 3",
       nullptr},
      {"the strut crushes",
       testing::filesOf(crushing).model,
       testing::filesOf(crushing).permanent,
       {},
       testing::filesOf(crushing).variable,
       "LA BIELA",
       nullptr},
      {"a cover the section cannot take",
       testing::filesOf(small).model,
       good.permanent,
       {"--recubrimiento", "80"},
       "",
       "NO DEJAN SITIO",
       nullptr},
      {"a file that cannot be put in place",
       good.model,
       good.permanent,
       {},
       "",
       "NO SE PUEDE CREAR EL FICHERO Va.scr",
       "Va.scr"},
  };
}

TEST(Program, BadInputIsRefusedAndTheEarlierDesignStaysWhole) {
  const testing::TestFiles good = testing::filesOf(testing::TestBeam{});
  for (const BadInput& c : badInputs()) {
    SCOPED_TRACE(c.what);
    ScratchDir dir;
    dir.write("m.dat", c.model);
    dir.write("g.caf", c.permanent);
    dir.write("q.caf", c.variable.empty() ? good.variable : c.variable);
    dir.write("V.arm", "an earlier design\n");
    if (c.blocked) std::filesystem::create_directory(dir.file(c.blocked));
    const auto before = testsupport::folderContents(dir.path());
    std::vector<std::string> args = {"V", "m.dat", "g.caf", "q.caf"};
    args.insert(args.end(), c.extra.begin(), c.extra.end());
    const RunResult run = armado(dir, args);
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.output.find(c.message), std::string::npos) << run.output;
    EXPECT_EQ(testsupport::changesSince(before, dir.path()), kNothing);
  }
}

TEST(Program, ANameWhoseFilesWouldBeAnInputOrAnotherRunsIsRefused) {
  ScratchDir dir;
  copyExample(dir);
  dir.write("W.des", "1 3 0.0 6.0 0.0 -1.0 y\n");
  const testsupport::PlantedLock running({"a run holding the name", testsupport::LockHolder::kHoldingRun},
                                         dir.file("L.lock"));
  const struct {
    std::vector<std::string> args;
    std::string message;
  } cases[] = {
      {{"W", "viga3.dat", "viga3.caf", "W.des"}, "QUE ES EL DATO W.des"},
      {{"V.1", "viga3.dat", "viga3.caf", "viga3q.caf"}, "NO SIRVE"},
      {{"L", "viga3.dat", "viga3.caf", "viga3q.caf"}, "(PROCESO " + std::to_string(running.id()) + ")"},
  };
  for (const auto& c : cases) {
    const auto before = testsupport::folderContents(dir.path());
    const RunResult run = armado(dir, c.args);
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.output.find(c.message), std::string::npos) << run.output;
    EXPECT_EQ(testsupport::changesSince(before, dir.path()), kNothing);
  }
}

}  // namespace
}  // namespace armado
