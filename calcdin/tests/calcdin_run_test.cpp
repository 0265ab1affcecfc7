// End-to-end runs of the calcdin program on models and bar record files written
// here, in a scratch directory, with stdin closed.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "calcdin/tests/fixtures.h"
#include "common/testing/test_support.h"

using namespace common;

using fixtures::BeamModel;
using testsupport::RunResult;
using testsupport::ScratchDir;
using testsupport::splitLines;

namespace {

struct ProgramRun {
  ScratchDir dir;
  RunResult result;
  std::string results() const { return dir.read("v.din"); }
};

void place(const ScratchDir& dir, const BeamModel& model) {
  dir.write("v.dat", model.modelText());
  dir.write("v.bar", model.recordBytes());
}

RunResult runCalcdin(const ScratchDir& dir, const std::vector<std::string>& args) {
  return testsupport::runProgram(CALCDIN_BINARY, args, dir.path());
}

RunResult runOn(ProgramRun& r, const BeamModel& model, const std::string& option) {
  place(r.dir, model);
  r.result = runCalcdin(r.dir, {"v.dat", "v.bar", "v.din", option});
  return r.result;
}

// One bar from a clamp to a pin: only the rotation at the pin (direction 6) is
// left. E·I = 105, L = 1, m = 1 (gamma = g, A = 1): S = 4EI/L = 420 and
// Q = m·L³/105 = 1/105, so lambda = 44100, f = 210/(2·pi), phi = sqrt(105).
BeamModel proppedCantilever() {
  BeamModel m;
  m.nodes = {{1, 0, 0}, {2, 1, 0}};
  m.bars = {{1, 2}};
  m.sections = {{1.0, 1.0}};
  m.materials = {{105.0, 40.0, 9.806}};
  m.supports = {{1, 111, {0, 0, 0}}, {2, 110, {0, 0}}};
  return m;
}

// Two spans of 3 bars each over a middle support of code 120.
BeamModel twoSpans() {
  BeamModel m = fixtures::horizontalBeam(6, 12.0, 2.1e7, 0.12, 0.0016, 2.5);
  m.supports = {{1, 110, {0, 0}}, {4, 120, {0, 8.0e3}}, {7, 110, {0, 0}}};
  return m;
}

std::string sweepLines(const std::string& output, std::size_t from) {
  std::string rest = output.substr(from);
  for (const std::string& line : splitLines(rest)) EXPECT_EQ(line.rfind("NSW: ", 0), 0u) << line;
  return rest;
}

}  // namespace

TEST(CalcdinRun, WrongArgumentCountStopsBeforeAnyFileIsTouched) {
  for (std::vector<std::string> args : {std::vector<std::string>{"v.dat", "v.bar", "v.din"},
                                        std::vector<std::string>{"v.dat", "v.bar", "v.din", "0", "x"}}) {
    ScratchDir dir;
    place(dir, proppedCantilever());
    RunResult r = runCalcdin(dir, args);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.output, "ERROR EN LINEA DE ORDENES (LLEVA CUATRO DATOS)");
    EXPECT_FALSE(dir.exists("v.din"));
  }
}

TEST(CalcdinRun, FilesThatCannotBeOpenedStopTheRunBeforeAnythingIsRead) {
  ScratchDir dir;
  place(dir, proppedCantilever());
  RunResult r = runCalcdin(dir, {"nada.dat", "v.bar", "v.din", "0"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.output, "ERROR: NO SE PUEDE ABRIR EL FICHERO DE MODELO nada.dat\n");
  EXPECT_FALSE(dir.exists("v.din"));
  r = runCalcdin(dir, {"v.dat", "nada.bar", "v.din", "0"});
  EXPECT_EQ(r.output, "ERROR: NO SE PUEDE ABRIR EL FICHERO DE BARRAS nada.bar\n");
  EXPECT_FALSE(dir.exists("v.din"));
  r = runCalcdin(dir, {"v.dat", "v.bar", "no/existe/v.din", "0"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.output, "ERROR: NO SE PUEDE ABRIR EL FICHERO DE RESULTADOS no/existe/v.din\n");
}

// An input that is no plain file is refused at once: a directory would read as
// empty, a FIFO would wait for a writer, a device would not end.
TEST(CalcdinRun, AnInputThatIsNoPlainFileIsRefusedWithoutWaiting) {
  using testsupport::NonPlainFile;
  for (auto [argument, what] : {std::pair<int, std::string>{0, "DE MODELO"}, {1, "DE BARRAS"}})
    for (NonPlainFile kind : {NonPlainFile::kDirectory, NonPlainFile::kFifo, NonPlainFile::kDevice}) {
      SCOPED_TRACE(what + " " + std::to_string(static_cast<int>(kind)));
      ScratchDir dir;
      place(dir, proppedCantilever());
      std::vector<std::string> args = {"v.dat", "v.bar", "v.din", "0"};
      args[argument] = testsupport::putNonPlainFile(dir, args[argument], kind);
      const auto before = testsupport::folderContents(dir.path());
      RunResult r = testsupport::runProgram(CALCDIN_BINARY, args, dir.path(), nullptr, 10);
      EXPECT_FALSE(r.timedOut);
      EXPECT_EQ(r.status, 1);
      EXPECT_EQ(r.output, "ERROR: NO SE PUEDE ABRIR EL FICHERO " + what + " " + args[argument] + "\n");
      EXPECT_EQ(testsupport::folderContents(dir.path()), before);
    }
}

// A bad day: the folder holds this run's inputs and the modes of an earlier
// complete run (another material) when something stops the run. Nothing in it
// may change, the inputs and the earlier modes stay byte for byte, and nothing
// is added.
struct BadDay {
  const char* name;
  std::function<void(testsupport::RunFolder&)> condition;
  std::vector<std::string> args;
  std::string output;
};

void PrintTo(const BadDay& c, std::ostream* out) { *out << c.name; }

class BadDays : public ::testing::TestWithParam<BadDay> {};

TEST_P(BadDays, LeaveTheFolderAsItWas) {
  const BadDay& c = GetParam();
  testsupport::RunFolder folder;
  BeamModel earlier = proppedCantilever();
  earlier.materials[0].E = 210.0;
  place(folder.scratch, earlier);
  ASSERT_EQ(runCalcdin(folder.scratch, {"v.dat", "v.bar", "v.din", "0"}).status, 0);
  place(folder.scratch, proppedCantilever());
  c.condition(folder);
  if (folder.disk && !folder.disk->mounted()) GTEST_SKIP() << "no disk of its own can be mounted here";
  const auto before = testsupport::folderContents(folder.path);
  RunResult run = testsupport::runProgram(CALCDIN_BINARY, c.args, folder.path);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.output, c.output);
  EXPECT_EQ(testsupport::folderContents(folder.path), before);
}

const std::vector<std::string> kCommandLine = {"v.dat", "v.bar", "v.din", "0"};
const std::string kReport =
    "Elimina restricciones de apoyo[NO APOYOS ELASTICOS DIRECCION VERTICAL]    [0]\n"
    "Cantidad de direcciones TOTAL       :  6  \n"
    "Cantidad de direcciones a eliminar:    5  \n"
    "Cantidad de direcciones libres      :  1  \n"
    "Presione una tecla para continuar\n"
    "NSW: 1\n";

INSTANTIATE_TEST_SUITE_P(
    CalcdinRun, BadDays,
    ::testing::Values(
        BadDay{"ModesFileLinkedToTheModel",
               [](auto& f) {
                 std::filesystem::remove(f.scratch.file("v.din"));
                 std::filesystem::create_symlink("v.dat", f.scratch.file("v.din"));
               },
               kCommandLine,
               "ERROR: calcdin ESCRIBIR\xCD"
               "A v.din, QUE ES EL DATO v.dat: NO SE HA ESCRITO NADA\n"},
        BadDay{"ModesFileNamedAsTheBarRecords",
               [](auto&) {},
               {"v.dat", "v.bar", "v.bar", "0"},
               "ERROR: calcdin ESCRIBIR\xCD"
               "A v.bar, QUE ES EL DATO v.bar: NO SE HA ESCRITO NADA\n"},
        BadDay{"BarRecordsOfAnotherModel",
               [](auto& f) { f.scratch.write("v.bar", f.scratch.read("v.bar") + f.scratch.read("v.bar")); },
               kCommandLine,
               "ERROR: EL FICHERO DE BARRAS v.bar TIENE 18112 BYTES, M\xC1S QUE LOS 1 REGISTROS DE 9056 BYTES DE LAS "
               "BARRAS DEL MODELO (EJECUTE ANTES EL C\xC1LCULO EST\xC1TICO DEL MISMO MODELO)\n"},
        BadDay{"FullDisk", [](auto& f) { f.moveToFullDisk(0); }, kCommandLine,
               kReport + "ERROR: NO SE PUDO ESCRIBIR EL FICHERO DE RESULTADOS v.din\n"}),
    [](const ::testing::TestParamInfo<BadDay>& param) { return std::string(param.param.name); });

TEST(CalcdinRun, OrderOneSystemIsWrittenByteForByte) {
  ProgramRun r;
  runOn(r, proppedCantilever(), "0");
  EXPECT_EQ(r.result.status, 0);
  EXPECT_EQ(r.result.output,
            "Elimina restricciones de apoyo[NO APOYOS ELASTICOS DIRECCION VERTICAL]    [0]\n"
            "Cantidad de direcciones TOTAL       :  6  \n"
            "Cantidad de direcciones a eliminar:    5  \n"
            "Cantidad de direcciones libres      :  1  \n"
            "Presione una tecla para continuar\n"
            "NSW: 1\n");
  const std::string block =
      "AUTOVALOR  indice: 1   direcci\xF3n: 6   valor:     44100.0000000000 \n"
      "AUTOVALOR  ciclos/seg.:  33.422538 \n"
      "AUTOVECTORES\n"
      "           10.246951 \n";
  EXPECT_EQ(r.results(), block + block);
}

TEST(CalcdinRun, OptionOneSolvesTheFreeStructureEvenWithSupports) {
  ProgramRun r;
  runOn(r, twoSpans(), "1");
  EXPECT_EQ(r.result.status, 0);
  const std::string report =
      "Todas las direcciones sin restricci\xF3n    [1]\n"
      "Cantidad de direcciones TOTAL       :  21  \n"
      "Cantidad de direcciones a eliminar:      0\n"
      "Presione una tecla para continuar\n"
      "NSW: 1\n";
  ASSERT_EQ(r.result.output.substr(0, report.size()), report);
  sweepLines(r.result.output, report.size() - 7);
  std::vector<std::string> lines = splitLines(r.results());
  EXPECT_EQ(lines.size(), 2u * 21 * (21 + 3));
  // Listing 1 walks the directions in order: block 21 belongs to direction 21.
  EXPECT_EQ(lines[20 * 24].rfind("AUTOVALOR  indice: 21   direcci\xF3n: 21   valor:", 0), 0u);
}

TEST(CalcdinRun, CodeOneTwentyKeepsItsVerticalDirectionOnlyWithOptionZero) {
  // Nodes 1 and 7 pinned (two directions each), node 4 on a vertical spring.
  for (auto [option, removed] : {std::pair<std::string, int>{"0", 5}, {"2", 6}}) {
    ProgramRun r;
    runOn(r, twoSpans(), option);
    EXPECT_EQ(r.result.status, 0);
    const int nf = 21 - removed;
    std::string counts =
        "Cantidad de direcciones TOTAL       :  21  \n"
        "Cantidad de direcciones a eliminar:    " +
        std::to_string(removed) +
        "  \n"
        "Cantidad de direcciones libres      :  " +
        std::to_string(nf) +
        "  \n"
        "Presione una tecla para continuar\nNSW: 1\n";
    EXPECT_NE(r.result.output.find(counts), std::string::npos) << r.result.output;
    std::vector<std::string> lines = splitLines(r.results());
    EXPECT_EQ(lines.size(), static_cast<std::size_t>(2 * nf * (nf + 3)));
    // Direction 11 (vertical of node 4) is a row of the system only with option 0.
    bool found = r.results().find("direcci\xF3n: 11 ") != std::string::npos;
    EXPECT_EQ(found, option == "0");
    EXPECT_EQ(r.results().find("direcci\xF3n: 1 "), std::string::npos);
  }
}

TEST(CalcdinRun, EveryVerticalSpringStaysWithOptionZeroAndGoesWithOptionTwo) {
  // The propped cantilever with its tip on a vertical spring of code 20 instead:
  // EI = 1, L = 1, m = 420, ky = 12. Option 0 leaves the tip's deflection (5) and
  // rotation (6); with the consistent matrices of the beam, det(K - lambda·M) = 0
  // over [[12 + ky, -6], [-6, 4]] and [[156, -22], [-22, 4]] is
  // 140 lambda² - (408 + 4 ky) lambda + 12 + 4 ky = 0. Option 2 holds the tip
  // rigidly: the rotation alone, 4 = lambda·4.
  const double ky = 12.0;
  BeamModel m = proppedCantilever();
  m.materials = {{1.0, 0.4, 420 * 9.806}};
  m.supports[1] = {2, 20, {ky}};
  const double p = 408 + 4 * ky, q = 12 + 4 * ky, root = std::sqrt(p * p - 4 * 140 * q);
  const std::pair<std::string, std::vector<double>> cases[] = {{"0", {(p - root) / 280, (p + root) / 280}},
                                                               {"2", {1.0}}};
  for (const auto& [option, lambdas] : cases) {
    SCOPED_TRACE(option);
    ProgramRun r;
    runOn(r, m, option);
    ASSERT_EQ(r.result.status, 0) << r.result.output;
    const int nf = static_cast<int>(lambdas.size());
    EXPECT_NE(r.result.output.find("a eliminar:    " + std::to_string(6 - nf) +
                                   "  \nCantidad de direcciones libres"
                                   "      :  " +
                                   std::to_string(nf) + "  \n"),
              std::string::npos)
        << r.result.output;
    std::vector<std::string> lines = splitLines(r.results());
    ASSERT_EQ(lines.size(), static_cast<std::size_t>(2 * nf * (nf + 3)));
    for (int mode = 0; mode < nf; ++mode) {
      const std::string& line = lines[(nf + mode) * (nf + 3)];  // listing 2, by ascending eigenvalue
      double lambda = 0;
      ASSERT_EQ(std::sscanf(line.c_str(), "AUTOVALOR  indice: %*d   direcci\xF3n: %*d   valor: %lf", &lambda), 1)
          << line;
      EXPECT_NEAR(lambda, lambdas[mode], 1e-8 * lambdas[mode]) << "mode " << mode + 1;
    }
  }
}

TEST(CalcdinRun, OtherOptionsSolveTheWholeSystemWithoutReportOrKeyWait) {
  ProgramRun r;
  runOn(r, twoSpans(), "5");
  EXPECT_EQ(r.result.status, 0);
  EXPECT_EQ(r.result.output.rfind("NSW: 1\n", 0), 0u);
  sweepLines(r.result.output, 0);
  EXPECT_EQ(splitLines(r.results()).size(), 2u * 21 * 24);

  ProgramRun assembleOnly;
  runOn(assembleOnly, twoSpans(), "-1");
  EXPECT_EQ(assembleOnly.result.status, 0);
  EXPECT_EQ(assembleOnly.result.output, "");
  EXPECT_TRUE(assembleOnly.dir.exists("v.din"));
  EXPECT_EQ(assembleOnly.results(), "");
}

TEST(CalcdinRun, NonNumericOptionActsAsOptionZero) {
  ProgramRun r;
  runOn(r, twoSpans(), "uno");
  EXPECT_EQ(r.result.status, 0);
  EXPECT_EQ(r.result.output.rfind("Elimina restricciones de apoyo[NO APOYOS ELASTICOS DIRECCION VERTICAL]    [0]\n", 0),
            0u);
}

TEST(CalcdinRun, SimplySupportedSpanVibratesAtTheBeamTheoryFrequencies) {
  // 10 m span in 10 bars; E = 2.1e7, I = 0.0016, A = 0.12, gamma = 2.5 with
  // g = 9.806: f_n = (n·pi/L)²·sqrt(E·I/m)/(2·pi). The first axial mode is far
  // above the third bending mode, so the three lowest are bending.
  BeamModel m = fixtures::horizontalBeam(10, 10.0, 2.1e7, 0.12, 0.0016, 2.5);
  m.supports = {{1, 110, {0, 0}}, {11, 110, {0, 0}}};
  ProgramRun r;
  runOn(r, m, "2");
  ASSERT_EQ(r.result.status, 0) << r.result.output;
  std::vector<std::string> lines = splitLines(r.results());
  const int nf = 33 - 4;
  ASSERT_EQ(lines.size(), static_cast<std::size_t>(2 * nf * (nf + 3)));
  const double pi = 3.14159265358979323846, mass = 2.5 / 9.806 * 0.12;
  for (int mode = 1; mode <= 3; ++mode) {
    // Listing 2 starts at line nf·(nf+3); each block has nf+3 lines.
    const std::string& line = lines[nf * (nf + 3) + (mode - 1) * (nf + 3) + 1];
    double f = 0;
    ASSERT_EQ(std::sscanf(line.c_str(), "AUTOVALOR  ciclos/seg.:  %lf", &f), 1) << line;
    const double theory = std::pow(mode * pi / 10.0, 2) * std::sqrt(2.1e7 * 0.0016 / mass) / (2 * pi);
    EXPECT_NEAR(f, theory, 0.01 * theory) << "mode " << mode;
  }
}

// The records must be those of the model's bars, all of them and no more.
TEST(CalcdinRun, BarRecordFilesOfAnotherModelStopTheRunWithAMessage) {
  const BeamModel m = twoSpans();
  const std::string records = m.recordBytes();
  calcdin::BarRecord otherNode = m.record(2);
  otherNode.nodeJ = 5;  // bar 3 joins nodes 3 and 4
  const std::string record1 = records.substr(0, 9056), record2 = records.substr(9056, 9056);
  const std::string remedy = " (EJECUTE ANTES EL C\xC1LCULO EST\xC1TICO DEL MISMO MODELO)\n";
  struct Case {
    const char* what;
    std::string bytes;
    std::string message;
  };
  const Case cases[] = {
      {"short", records.substr(0, 5 * 9056 + 100),
       "ERROR: EL FICHERO DE BARRAS v.bar TIENE 45380 BYTES Y NO CABEN LOS 6 REGISTROS DE 9056 BYTES DE LAS BARRAS" +
           remedy},
      {"one record more", records + record1,
       "ERROR: EL FICHERO DE BARRAS v.bar TIENE 63392 BYTES, M\xC1S QUE LOS 6 REGISTROS DE 9056 BYTES DE LAS BARRAS "
       "DEL MODELO" +
           remedy},
      {"other nodes", std::string(records).replace(2 * 9056, 9056, fixtures::encodeRecord(otherNode, 3)),
       "ERROR: EL REGISTRO 3 DEL FICHERO DE BARRAS v.bar ES DE LA BARRA 3 ENTRE LOS NODOS 3 Y 5, PERO LA BARRA 3 DEL "
       "MODELO UNE LOS NODOS 3 Y 4" +
           remedy},
      {"records swapped", record2 + record1 + records.substr(2 * 9056),
       "ERROR: EL REGISTRO 1 DEL FICHERO DE BARRAS v.bar ES DE LA BARRA 2 ENTRE LOS NODOS 2 Y 3, PERO LA BARRA 1 DEL "
       "MODELO UNE LOS NODOS 1 Y 2" +
           remedy},
      {"bar index", std::string(records).replace(9056, 9056, fixtures::encodeRecord(m.record(1), 7)),
       "ERROR: EL REGISTRO 2 DEL FICHERO DE BARRAS v.bar ES DE LA BARRA 7 ENTRE LOS NODOS 2 Y 3, PERO LA BARRA 2 DEL "
       "MODELO UNE LOS NODOS 2 Y 3" +
           remedy},
  };
  for (const Case& c : cases) {
    for (const char* option : {"2", "5"}) {
      ProgramRun r;
      place(r.dir, m);
      r.dir.write("v.bar", c.bytes);
      RunResult out = runCalcdin(r.dir, {"v.dat", "v.bar", "v.din", option});
      EXPECT_EQ(out.status, 1) << c.what;
      // Option 2 reports its direction counts first.
      EXPECT_EQ(out.output.substr(std::min(out.output.find("ERROR"), out.output.size())), c.message) << c.what;
      EXPECT_FALSE(r.dir.exists("v.din")) << c.what;
    }
  }
}

TEST(CalcdinRun, ModelErrorsAndUnknownBarTypes) {
  {
    BeamModel m = twoSpans();
    m.supports[1].label = 99;
    ProgramRun r;
    runOn(r, m, "0");
    EXPECT_EQ(r.result.status, 1);
    EXPECT_EQ(r.result.output, "ERROR EN NODOS/RESTRICCIONES");
  }
  {
    BeamModel m = twoSpans();
    m.bars[5].type = 5;
    ProgramRun r;
    runOn(r, m, "5");
    EXPECT_EQ(r.result.status, 0);
    EXPECT_EQ(r.result.output.rfind("tipob= 5 \nNSW: 1\n", 0), 0u) << r.result.output;
  }
}

TEST(CalcdinRun, NothingLeftToVibrateIsAnErrorNotAnEmptySuccess) {
  BeamModel m = proppedCantilever();
  m.supports[1].code = 111;
  m.supports[1].values = {0, 0, 0};
  ProgramRun r;
  runOn(r, m, "2");
  EXPECT_EQ(r.result.status, 1);
  EXPECT_NE(r.result.output.find("Cantidad de direcciones libres      :  0  \n"), std::string::npos);
  EXPECT_NE(
      r.result.output.find("ERROR: NO QUEDA NINGUNA DIRECCI\xD3N LIBRE: NO HAY MODOS DE VIBRACI\xD3N QUE CALCULAR\n"),
      std::string::npos);
  EXPECT_FALSE(r.dir.exists("v.din"));
}

TEST(CalcdinRun, ModelTooLargeForMemoryFailsCleanlyBeforeAllocating) {
  // 40000 nodes: K and M alone would need 16·120001² bytes (about 215 GiB).
  std::string text = "grande   1    0\n1 40000 0 0 1 1 0 0 0\n0.0\n";
  for (int k = 1; k <= 40000; ++k) text += std::to_string(k) + " " + std::to_string(k) + ".0 0.0\n";
  text += "1 1 2 1 1 1 0\n1.0 0.0 0.0 0 1.0\n";  // a model needs a bar, as calcest reads it
  text += "1  0.1 0.001  0.3  0.5\n 1 2e7 8e6 2.5  0.00001\n";
  ScratchDir dir;
  dir.write("v.dat", text);
  dir.write("v.bar", "");
  RunResult r = runCalcdin(dir, {"v.dat", "v.bar", "v.din", "1"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.output.rfind("ERROR: MEMORIA INSUFICIENTE: LAS MATRICES DE 120000 DIRECCIONES NECESITAN ", 0), 0u)
      << r.output;
  EXPECT_FALSE(dir.exists("v.din"));
}

// A device is not swapped for a plain file of modes (a full disk is a bad day
// above).
TEST(CalcdinRun, ADeviceNamedAsTheModesFileIsRefused) {
  if (!std::filesystem::is_character_file("/dev/full")) GTEST_SKIP() << "no /dev/full";
  ScratchDir dir;
  place(dir, proppedCantilever());
  RunResult r = runCalcdin(dir, {"v.dat", "v.bar", "/dev/full", "5"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.output, "ERROR: NO SE PUEDE ABRIR EL FICHERO DE RESULTADOS /dev/full\n");
  EXPECT_TRUE(std::filesystem::is_character_file("/dev/full"));
}
