// End-to-end checks of the command line, the files, and every input error:
// exact console text and exit status.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>

#include "calcest/tests/beam_models.h"
#include "calcest/phases.h"
#include "common/file_names.h"

using namespace common;

using namespace calcest;
using namespace beams;
using testsupport::runProgram;
using testsupport::ScratchDir;
using testsupport::splitLines;

namespace {
const std::string kPrompt = "  Presione una tecla para continuar\n";
}  // namespace

TEST(CommandLine, FiveOrSevenArgumentsGiveTheSixArgumentMessageAndReadNothing) {
  ScratchDir dir;
  dir.write("m.dat", twoSpanBeam().text());
  for (int count : {0, 5, 7}) {
    std::vector<std::string> args = {"m.dat", "m.res", "m.caf", "m.fmc", "m.bar", "0", "extra"};
    args.resize(count);
    auto run = runProgram(CALCEST_BINARY, args, dir.path(), nullptr, 10);
    EXPECT_EQ(run.status, 1) << count;
    EXPECT_EQ(run.output, "ERROR EN LINEA DE ORDENES (LLEVA SEIS DATOS )") << count;
    EXPECT_FALSE(dir.exists("m.res"));
    EXPECT_FALSE(dir.exists(kLoadVectorTrace));
  }
}

TEST(CommandLine, ModelNameOverFiftyOneCharactersIsRejectedBeforeAnyFileIsOpened) {
  ScratchDir dir;
  std::string name51 = std::string(47, 'a') + kModelExt;  // exactly 51
  std::string name52 = std::string(48, 'a') + kModelExt;
  Model m = twoSpanBeam();
  dir.write(name51, m.text());
  dir.write(name52, m.text());
  dir.write("m.caf", kUniformLoads);
  auto longRun = runProgram(CALCEST_BINARY, {name52, "m.res", "m.caf", "m.fmc", "m.bar", "0"}, dir.path());
  EXPECT_EQ(longRun.status, 1);
  EXPECT_EQ(longRun.output, "ERROR: EL NOMBRE DEL FICHERO DE DATOS TIENE M\xC1S DE 51 CARACTERES\n");
  EXPECT_FALSE(dir.exists("m.res"));
  auto okRun = runProgram(CALCEST_BINARY, {name51, "m.res", "m.caf", "m.fmc", "m.bar", "0"}, dir.path());
  EXPECT_EQ(okRun.status, 0) << okRun.output;
  EXPECT_TRUE(dir.exists(std::string(47, 'a') + kSelfWeightExt));
}

TEST(CommandLine, StemOfADottedNameEndsAtTheFirstDot) {
  ScratchDir dir;
  dir.write("a.b.dat", twoSpanBeam().text());
  dir.write("m.caf", kUniformLoads);
  auto run = runProgram(CALCEST_BINARY, {"a.b.dat", "m.res", "m.caf", "m.fmc", "m.bar", "0"}, dir.path());
  ASSERT_EQ(run.status, 0) << run.output;
  EXPECT_EQ(run.output, kPrompt);
  for (const char* ext : kCalcestSideExtensions) EXPECT_TRUE(dir.exists(fileOf("a", ext)));
  for (const char* ext : kCalcestTraceExtensions) EXPECT_TRUE(dir.exists(fileOf("a", ext)));
  EXPECT_FALSE(dir.exists("a.b.kar"));
  // A dot in a directory name does not cut the stem: the side files go beside the model.
  std::filesystem::remove(dir.file("a.kar"));
  run = runProgram(CALCEST_BINARY, {"./a.b.dat", "m.res", "m.caf", "m.fmc", "m.bar", "0"}, dir.path());
  ASSERT_EQ(run.status, 0) << run.output;
  EXPECT_TRUE(dir.exists("a.kar"));
  EXPECT_FALSE(dir.exists(kSelfWeightExt));
  for (auto [name, stem] : {std::pair<std::string, std::string>{"./viga3.dat", "./viga3"},
                            {"obra.v2/viga.dat", "obra.v2/viga"},
                            {"/tmp/x.y/a.b.dat", "/tmp/x.y/a"},
                            {"dir.d/sin_punto", "dir.d/sin_punto"}})
    EXPECT_EQ(calcestSideStem(name), stem) << name;
  // A name without a dot is its own stem.
  dir.write("plain", twoSpanBeam().text());
  run = runProgram(CALCEST_BINARY, {"plain", "p.res", "m.caf", "p.fmc", "p.bar", "0"}, dir.path());
  ASSERT_EQ(run.status, 0) << run.output;
  EXPECT_TRUE(dir.exists("plain.kar"));
}

TEST(CommandLine, ClosedOrEmptyStdinNeverHangs) {
  ScratchDir dir;
  dir.write("m.dat", twoSpanBeam().text());
  dir.write("m.caf", kUniformLoads);
  // stdin from /dev/null, from an empty pipe, and closed altogether.
  std::string empty;
  auto devnull = runCalcestOn(dir, "m", 10);
  auto pipe = runProgram(CALCEST_BINARY, calcestCommandLine("m"), dir.path(), &empty, 10);
  auto closed =
      runProgram("/bin/sh", {"-c", std::string("exec ") + CALCEST_BINARY + " m.dat m.res m.caf m.fmc m.bar 0 <&-"},
                 dir.path(), nullptr, 10);
  for (const auto* run : {&devnull, &pipe, &closed}) {
    EXPECT_FALSE(run->timedOut);
    EXPECT_EQ(run->status, 0);
    EXPECT_EQ(run->output, kPrompt);
  }
  // The key waits of an error take no key either.
  auto error = runProgram(CALCEST_BINARY, {"m.dat"}, dir.path(), &empty, 10);
  EXPECT_FALSE(error.timedOut);
  EXPECT_EQ(error.status, 1);
}

// On a terminal every key wait is announced: the run's own prompt, else the
// prompt after the message (on a line of its own), on the terminal even when
// stdout goes to a file; the key then ends the wait.
TEST(CommandLine, OnATerminalNoKeyWaitIsSilent) {
  ScratchDir dir;
  dir.write("m.dat", twoSpanBeam().text());
  dir.write("m.caf", kUniformLoads);
  const std::string prompt = "Presione una tecla para continuar\r\n";
  struct Case {
    const char* what;
    std::vector<std::string> args;
    const char* stdoutFile;
    std::string shown;  // on the terminal
    int status;
  } cases[] = {
      {"a run", calcestCommandLine("m"), "", "  " + prompt, 0},
      {"a run with its output to a file", calcestCommandLine("m"), "salida.txt", prompt, 0},
      {"a wrong command line", {"m.dat"}, "", "ERROR EN LINEA DE ORDENES (LLEVA SEIS DATOS )\r\n" + prompt, 1},
      {"a missing model",
       {"nada.dat", "m.res", "m.caf", "m.fmc", "m.bar", "0"},
       "",
       "NO PUDO ABRIR EL FICHERO nada.dat\r\n" + prompt,
       1},
  };
  for (const Case& c : cases) {
    const testsupport::TerminalRun run =
        testsupport::runOnTerminal(CALCEST_BINARY, c.args, dir.path(), prompt, c.stdoutFile);
    EXPECT_TRUE(run.waitedForKey) << c.what;
    EXPECT_EQ(run.shown, c.shown) << c.what;
    EXPECT_EQ(run.status, c.status) << c.what;
  }
  EXPECT_EQ(dir.read("salida.txt"), kPrompt);
}

// How the console is when the run starts: a standard descriptor closed, a
// reader that has gone, a device that takes nothing more. The run writes the
// files a plain run writes (the title read whole, nothing in a result that is
// not its own) and its status says how it went; only a console that took no
// more is a failure, said on stderr.
TEST(Console, ClosedDescriptorsAGoneReaderAndAFullConsoleLeaveTheResultsWhole) {
  Model m = twoSpanBeam();
  m.title = "V";  // one character: all the key wait could have taken
  ScratchDir plain;
  ASSERT_EQ(runCalcest(plain, m, kUniformLoads).status, 0);
  const std::string run = std::string(CALCEST_BINARY) + " m.dat m.res m.caf m.fmc m.bar 0";
  const struct {
    const char* what;
    std::string command;
    int status;
    std::string output;  // stdout and stderr as the test sees them
  } cases[] = {
      {"stdin closed", "exec " + run + " <&-", 0, kPrompt},
      {"stdout closed", "exec " + run + " >&-", 0, ""},
      {"stderr closed", "exec " + run + " 2>&-", 0, kPrompt},
      {"all three closed", "exec " + run + " <&- >&- 2>&-", 0, ""},
      {"a reader that has gone", "{ sleep 0.3; " + run + "; echo status $? >&2; } | true", 0, "status 0\n"},
      {"a console that takes nothing more", "exec " + run + " >/dev/full", 1,
       "ERROR: NO SE PUDO ESCRIBIR EN LA SALIDA EST\xC1NDAR: SUS MENSAJES SE HAN PERDIDO\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ScratchDir dir;
    dir.write("m.dat", m.text());
    dir.write("m.caf", kUniformLoads);
    auto result = runProgram("/bin/sh", {"-c", c.command}, dir.path(), nullptr, 20);
    EXPECT_EQ(result.status, c.status);
    EXPECT_EQ(result.output, c.output);
    for (const char* file : {"m.res", "m.fmc", "m.bar", "m.kar"})
      EXPECT_TRUE(dir.exists(file) && dir.read(file) == plain.read(file)) << file;
  }
}

TEST(Files, FilesThatCannotBeOpenedStopTheRunWithTheirName) {
  ScratchDir dir;
  dir.write("m.dat", twoSpanBeam().text());
  dir.write("m.caf", kUniformLoads);
  auto missing = runProgram(CALCEST_BINARY, {"nada.dat", "m.res", "m.caf", "m.fmc", "m.bar", "0"}, dir.path());
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.output, "NO PUDO ABRIR EL FICHERO nada.dat");
  EXPECT_FALSE(dir.exists("m.res"));
  auto noLoads = runProgram(CALCEST_BINARY, {"m.dat", "m.res", "x.caf", "m.fmc", "m.bar", "0"}, dir.path());
  EXPECT_EQ(noLoads.status, 1);
  EXPECT_EQ(noLoads.output, "NO PUDO ABRIR EL FICHERO x.caf");
  // A directory where a file must be written.
  std::filesystem::create_directory(dir.file("m.tst"));
  auto tst = runCalcestOn(dir);
  EXPECT_EQ(tst.status, 1);
  EXPECT_EQ(tst.output, "NO PUDO ABRIR EL FICHERO .tst");
  ScratchDir fresh;
  fresh.write("m.dat", twoSpanBeam().text());
  fresh.write("m.caf", kUniformLoads);
  std::filesystem::create_directory(fresh.file(kCondensedMatrixTrace));
  auto fp = runCalcestOn(fresh);
  EXPECT_EQ(fp.status, 1);
  EXPECT_EQ(fp.output, "NO PUDO ABRIR EL FICHERO fp_pruebak.txt");
  EXPECT_FALSE(fresh.exists("m.kar"));
}

// VIGAS_TRACES sends the seven fixed-name traces to a folder of one's
// choosing, and only those; empty, it is as unset. A folder that is not there
// is named as any file that cannot be made, before anything is written.
TEST(Files, TheTraceFolderTakesTheFixedNameTraces) {
  struct Case {
    const char* value;
    std::string tracesIn;  // "" when the run fails
  } cases[] = {{"trazas", "trazas/"}, {"", ""}, {"nada", ""}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    ScratchDir dir;
    dir.write("m.dat", twoSpanBeam().text());
    dir.write("m.caf", kUniformLoads);
    std::filesystem::create_directory(dir.file("trazas"));
    setenv(kTraceFolderVariable, c.value, 1);
    auto run = runCalcestOn(dir);
    unsetenv(kTraceFolderVariable);
    const bool fails = std::string(c.value) == "nada";
    EXPECT_EQ(run.status, fails ? 1 : 0);
    if (fails) {
      EXPECT_EQ(run.output, "NO PUDO ABRIR EL FICHERO nada/esfuerzos.txt");
    }
    EXPECT_EQ(dir.exists("m.res"), !fails);
    EXPECT_EQ(dir.exists("m.tst"), !fails);  // the side traces stay beside the model
    for (const char* trace : kCalcestTraceFiles) {
      EXPECT_EQ(dir.exists(c.tracesIn + trace), !fails) << trace;
      if (!c.tracesIn.empty()) {
        EXPECT_FALSE(dir.exists(trace)) << trace;
      }
    }
  }
}

const std::vector<std::string> kCommandLine = calcestCommandLine("m");

using Run = std::function<testsupport::RunResult(const std::string& folder)>;

Run plainly(const std::vector<std::string>& args = kCommandLine) {
  return [args](const std::string& folder) { return runProgram(CALCEST_BINARY, args, folder); };
}

Run asAnotherUserInTheFolderMadeReadOnly() {
  return
      [](const std::string& folder) { return testsupport::runInReadOnlyFolder(CALCEST_BINARY, kCommandLine, folder); };
}

// As "nobody" in a shared folder where `foreign` (an earlier output) is
// another user's: it cannot be replaced, so no output may be.
Run inASharedFolderWhere(const char* foreign) {
  return [foreign](const std::string& folder) {
    testsupport::RunResult result;
    if (!testsupport::runInSharedFolder(CALCEST_BINARY, kCommandLine, folder, foreign, result)) result.status = -2;
    return result;
  };
}

Run withFileSizeLimit(long long bytes) {
  return [bytes](const std::string& folder) {
    testsupport::RunLimits limits;
    limits.fileSizeLimit = bytes;
    return runProgram(CALCEST_BINARY, kCommandLine, folder, nullptr, 60, limits);
  };
}

struct BadDay {
  const char* name;
  std::function<void(testsupport::RunFolder&)> condition;
  Run run;
  std::string output;
};

void PrintTo(const BadDay& c, std::ostream* out) { *out << c.name; }

class BadDays : public ::testing::TestWithParam<BadDay> {};

// Thirty spans: the pivot trace (.tst) runs to some 600 kB, more than any
// result file.
Model thirtySpans() {
  std::vector<double> xs;
  for (int k = 0; k <= 30; ++k) xs.push_back(5.0 * k);
  Model m = straightBeam(xs);
  m.supports = {"1  110 0.0 0.0"};
  for (int k = 2; k <= 31; ++k) m.supports.push_back(std::to_string(k) + "  10 0.0");
  return m;
}

std::string uniformLoads(int spans, const char* value) {
  std::string loads;
  for (int k = 1; k <= spans; ++k) loads += std::to_string(k) + "  3  0.0  5.0  0.0  " + value + " y\n";
  return loads;
}

// A bad day. The folder holds this run's inputs and the complete results of an
// earlier run (other loads) when something stops the run: nothing in it may
// change (calcdin reads the bar records of the last complete run), the inputs
// and earlier results stay byte for byte, and nothing is added.
TEST_P(BadDays, LeaveTheFolderAsItWas) {
  const BadDay& c = GetParam();
  testsupport::RunFolder folder;
  auto earlier = runCalcest(folder.scratch, thirtySpans(), uniformLoads(30, "-20.0"));
  ASSERT_EQ(earlier.status, 0) << earlier.output;
  folder.scratch.write("m.caf", uniformLoads(30, "-10.0"));
  c.condition(folder);
  if (folder.disk && !folder.disk->mounted()) GTEST_SKIP() << "no disk of its own can be mounted here";
  const auto before = testsupport::folderContents(folder.path);
  auto run = c.run(folder.path);
  if (run.status == -2) GTEST_SKIP() << "only root can share a folder with another user";
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.output, c.output);
  EXPECT_EQ(testsupport::folderContents(folder.path), before);
}

const std::string kNothingWritten = ": NO SE HA ESCRITO NADA\n";

void replaceByLink(const ScratchDir& dir, const std::string& name, const std::string& target) {
  std::filesystem::remove(dir.file(name));
  std::filesystem::create_symlink(target, dir.file(name));
}

INSTANTIATE_TEST_SUITE_P(
    Files, BadDays,
    ::testing::Values(
        BadDay{"LoadsFileMissing", [](auto& f) { std::filesystem::remove(f.scratch.file("m.caf")); }, plainly(),
               "NO PUDO ABRIR EL FICHERO m.caf"},
        BadDay{"ReadOnlyFolderWithoutATraceFile",
               [](auto& f) { std::filesystem::remove(f.scratch.file(kLoadVectorTrace)); },
               asAnotherUserInTheFolderMadeReadOnly(), "NO PUDO ABRIR EL FICHERO m.res"},
        BadDay{"ResultsNamedAsTheModel", [](auto&) {}, plainly({"m.dat", "m.dat", "m.caf", "m.fmc", "m.bar", "0"}),
               "ERROR: calcest ESCRIBIR\xCD"
               "A m.dat, QUE ES EL DATO m.dat" +
                   kNothingWritten},
        BadDay{"ResultsLinkedToTheModel", [](auto& f) { replaceByLink(f.scratch, "m.res", "m.dat"); }, plainly(),
               "ERROR: calcest ESCRIBIR\xCD"
               "A m.res, QUE ES EL DATO m.dat" +
                   kNothingWritten},
        BadDay{"TraceFileLinkedToTheLoads",
               [](auto& f) {
                 std::filesystem::remove(f.scratch.file(kLoadVectorTrace));
                 std::filesystem::create_hard_link(f.scratch.file("m.caf"), f.scratch.file(kLoadVectorTrace));
               },
               plainly(),
               "ERROR: calcest ESCRIBIR\xCD"
               "A esfuerzos.txt, QUE ES EL DATO m.caf" +
                   kNothingWritten},
        BadDay{"InputErrorAfterTheOutputsWereOpened",
               [](auto& f) { f.scratch.write("m.caf", uniformLoads(30, "-10.0") + "99  3  0.0  5.0  0.0  -1.0 y\n"); },
               plainly(), kPrompt + "ERROR: LA CARGA 31 DEL FICHERO m.caf ES DE LA BARRA 99, QUE NO EXISTE\n"},
        BadDay{"AnotherUsersEarlierOutputInASharedFolder", [](auto&) {}, inASharedFolderWhere("m.gan"),
               "ERROR: NO SE PUEDE SUSTITUIR EL FICHERO m.gan: ES DE OTRO USUARIO Y EN ESTE DIRECTORIO CADA USUARIO "
               "SOLO PUEDE SUSTITUIR LOS SUYOS\n"},
        BadDay{"FullDisk", [](auto& f) { f.moveToFullDisk(64 * 1024); }, plainly(),
               kPrompt + "ERROR: NO SE PUDO ESCRIBIR EL FICHERO m.res\n"},
        // The pivot trace is its own file: one that cannot be written in full
        // is a failed run, not a silent loss.
        BadDay{"PivotTraceLongerThanAFileMayBe", [](auto&) {}, withFileSizeLimit(300 * 1024),
               kPrompt + "ERROR: NO SE PUDO ESCRIBIR EL FICHERO m.tst\n"}),
    [](const ::testing::TestParamInfo<BadDay>& param) { return std::string(param.param.name); });

// An input that is no plain file is refused at once: a directory would read as
// empty, a FIFO would wait for a writer, a device would not end.
TEST(Files, AnInputThatIsNoPlainFileIsRefusedWithoutWaiting) {
  using testsupport::NonPlainFile;
  for (int argument : {0, 2})
    for (NonPlainFile kind : {NonPlainFile::kDirectory, NonPlainFile::kFifo, NonPlainFile::kDevice}) {
      SCOPED_TRACE(kCommandLine[argument] + " " + std::to_string(static_cast<int>(kind)));
      ScratchDir dir;
      dir.write("m.dat", twoSpanBeam().text());
      dir.write("m.caf", kUniformLoads);
      std::vector<std::string> args = kCommandLine;
      args[argument] = testsupport::putNonPlainFile(dir, args[argument], kind);
      const auto before = testsupport::folderContents(dir.path());
      auto run = runProgram(CALCEST_BINARY, args, dir.path(), nullptr, 10);
      EXPECT_FALSE(run.timedOut);
      EXPECT_EQ(run.status, 1);
      EXPECT_EQ(run.output, "NO PUDO ABRIR EL FICHERO " + args[argument]);
      EXPECT_EQ(testsupport::folderContents(dir.path()), before);
    }
}

TEST(SelfWeight, KarFileHasOneLinePerBarWhateverTheSwitch) {
  for (int weightSwitch : {0, 1}) {
    ScratchDir dir;
    Model m = straightBeam({0.0, 4.0, 10.0});
    m.materials = {"1 1000.0 400.0 2.5  0.0"};  // gamma 2.5, A 1 -> w 2.5
    m.supports = {"1  110 0.0 0.0", "2  10 0.0", "3  10 0.0"};
    m.selfWeight = weightSwitch;
    auto run = runCalcest(dir, m, "");
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(dir.read("m.kar"),
              " 1  3  0  4.000000  0   -2.500000  y\n"
              " 2  3  0  6.000000  0   -2.500000  y\n");
    // With the switch on, the weight loads the beam: 2.5 * 10 in all.
    auto res = parseResults(dir.read("m.res"), 3, 2, 3);
    double total = 0;
    for (auto& s : res.supports) total += s.at(1);
    EXPECT_NEAR(total, weightSwitch ? 25.0 : 0.0, 1e-4);
  }
}

// Every input error: the message as printed and status 1.
struct InputErrorCase {
  const char* name;
  std::function<void(Model&, std::string&)> spoil;
  std::string message;
};

void PrintTo(const InputErrorCase& c, std::ostream* out) { *out << c.name; }

class InputErrors : public ::testing::TestWithParam<InputErrorCase> {};

TEST_P(InputErrors, StopWithTheirMessageAndStatusOne) {
  ScratchDir dir;
  Model m = twoSpanBeam();
  std::string loads = kUniformLoads;
  GetParam().spoil(m, loads);
  auto run = runCalcest(dir, m, loads);
  EXPECT_FALSE(run.timedOut);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.output, kPrompt + GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(
    Model, InputErrors,
    ::testing::Values(
        InputErrorCase{"ZeroFlexiblePart",
                       [](Model& m, std::string&) { m.bars[1] = bar(2, 2, 3, 1, "0.0 0.5 0.5 0 1.0"); },
                       "ERROR dcbi=2"},
        InputErrorCase{"FractionsNotOne",
                       [](Model& m, std::string&) { m.bars[0] = bar(1, 1, 2, 1, "0.7 0.2 0.1 0 1.0"); },
                       "ERROR dcb\nI=1\naclx= 0.700000  adlx= 0.200000  ablx= 0.100000\naclx+adlx+ablx= 1.000000  \n"},
        InputErrorCase{"BarNodeMissing", [](Model& m, std::string&) { m.bars[1] = bar(2, 2, 9); },
                       "ERROR EN NODOS/ELEMENTO"},
        InputErrorCase{"BarSameNodeTwice", [](Model& m, std::string&) { m.bars[1] = bar(2, 2, 2); },
                       "ERROR EN NODOS/ELEMENTO"},
        InputErrorCase{"SupportNodeMissing", [](Model& m, std::string&) { m.supports[2] = "7  10 0.0"; },
                       "ERROR EN NODOS/RESTRICCIONES"},
        InputErrorCase{"TieFirstDirection", [](Model& m, std::string&) { m.ties = {"1 3 4 2 0.0"}; },
                       "ERROR DIRECCION dir1"},
        InputErrorCase{"TieSecondDirection", [](Model& m, std::string&) { m.ties = {"1 3 2 0 0.0"}; },
                       "ERROR DIRECCION dir2"},
        InputErrorCase{"TieNodeMissing", [](Model& m, std::string&) { m.ties = {"1 8 2 2 0.0"}; }, "ERROR CORRIMIENTO"},
        InputErrorCase{"NodalLoadNodeMissing", [](Model& m, std::string&) { m.nodalLoads = {"5 0 0.0 0 -1.0 0 0.0"}; },
                       "ERROR EN NODOS/CARGAS EN NODOS"},
        InputErrorCase{"LoadTypeSeven", [](Model&, std::string& l) { l = "1  7  0.0  5.0  0.0  -1.0 y\n"; },
                       "ERROR TIPO DE CARGA"},
        InputErrorCase{"LoadDirectionZ", [](Model&, std::string& l) { l = "1  3  0.0  5.0  0.0  -1.0 z\n"; },
                       "ERROR EN DIRECCION DE CARGA"},
        InputErrorCase{"TemperatureOnReleasedBar",
                       [](Model& m, std::string& l) {
                         m.bars[0] = bar(1, 1, 2, 7);
                         l = "1  6  0.0  0.0  0.0  10.0 y\n";
                       },
                       "ERROR TIPO DE BARRA"},
        InputErrorCase{"LoadOnMissingBar", [](Model&, std::string& l) { l += "9  3  0.0  5.0  0.0  -1.0 y\n"; },
                       "ERROR: LA CARGA 3 DEL FICHERO m.caf ES DE LA BARRA 9, QUE NO EXISTE\n"},
        InputErrorCase{"LoadWithZeroSpan", [](Model&, std::string& l) { l = "1  1  0.0  0.0  0.0  -1.0 y\n"; },
                       "ERROR: UNA CARGA DE LA BARRA 1 TIENE LUZ NULA (a + c = 0)\n"},
        InputErrorCase{
            "MalformedLoadValue", [](Model&, std::string& l) { l = "1  3  0.0  abc  0.0  -1.0 y\n"; },
            "ERROR DE LECTURA EN EL FICHERO m.caf: carga 1 (falta un dato o no es un n\xFAmero v\xE1lido)\n"},
        InputErrorCase{
            "MissingSupportValue", [](Model& m, std::string&) { m.supports[2] = "3  10"; },
            "ERROR DE LECTURA EN EL FICHERO m.dat: apoyo 3, valores (falta un dato o no es un n\xFAmero v\xE1lido)\n"},
        InputErrorCase{"NanCoordinate", [](Model& m, std::string&) { m.nodes[1] = "2 nan 0.0"; },
                       "ERROR DE LECTURA EN EL FICHERO m.dat: nodo 2 (falta un dato o no es un n\xFAmero v\xE1lido)\n"},
        InputErrorCase{
            "InfiniteTieValue", [](Model& m, std::string&) { m.ties = {"1 3 2 2 inf"}; },
            "ERROR DE LECTURA EN EL FICHERO m.dat: corrimiento 1 (falta un dato o no es un n\xFAmero v\xE1lido)\n"},
        InputErrorCase{"MalformedNodalLoad", [](Model& m, std::string&) { m.nodalLoads = {"2 0 0.0 0 x 0 0.0"}; },
                       "ERROR DE LECTURA EN EL FICHERO m.dat: carga en nodo 1 (falta un dato o no es un n\xFAmero "
                       "v\xE1lido)\n"},
        InputErrorCase{"NegativeModulus", [](Model& m, std::string&) { m.materials = {"1 -1000.0 400.0 0.0  0.0"}; },
                       "ERROR: LA BARRA 1 USA EL MATERIAL 1 (L\xCDNEA 11 DEL MODELO) CON E = -1000: EL M\xD3"
                       "DULO DE "
                       "ELASTICIDAD DEBE SER MAYOR QUE 0\n"},
        InputErrorCase{"ZeroArea", [](Model& m, std::string&) { m.sections = {"1  0.0 1.0  0.3  0.6"}; },
                       "ERROR: LA BARRA 1 USA LA SECCI\xD3N 1 (L\xCDNEA 10 DEL MODELO) CON A = 0: EL \xC1REA DEBE SER "
                       "MAYOR QUE 0\n"},
        InputErrorCase{"NegativeInertia", [](Model& m, std::string&) { m.sections = {"1  1.0 -2.0  0.3  0.6"}; },
                       "ERROR: LA BARRA 1 USA LA SECCI\xD3N 1 (L\xCDNEA 10 DEL MODELO) CON I = -2: LA INERCIA DEBE SER "
                       "MAYOR QUE 0\n"},
        InputErrorCase{"NegativeShearModulusWithShear",
                       [](Model& m, std::string&) {
                         m.bars[1] = bar(2, 2, 3, 1, "1.0 0.0 0.0 1 1.0");
                         m.materials = {"1 1000.0 -400.0 0.0  0.0"};
                       },
                       "ERROR: LA BARRA 2 USA EL MATERIAL 1 (L\xCDNEA 11 DEL MODELO) CON G = -400: EL M\xD3"
                       "DULO DE "
                       "CORTANTE NO PUEDE SER NEGATIVO (LA BARRA INCLUYE LA DEFORMACI\xD3N POR CORTANTE)\n"},
        InputErrorCase{
            "ModulusBeyondTheDoubles", [](Model& m, std::string&) { m.materials = {"1 1e308 400.0 0.0  0.0"}; },
            "ERROR: EL DESPLAZAMIENTO DEL NODO 1 NO ES UN N\xDAMERO FINITO: REVISE E, G, A E I DE SUS BARRAS "
            "Y LA RIGIDEZ DE SUS APOYOS\n"},
        InputErrorCase{
            "ModulusBelowTheDoubles", [](Model& m, std::string&) { m.materials = {"1 1e-320 400.0 0.0  0.0"}; },
            "ERROR: EL DESPLAZAMIENTO DEL NODO 1 NO ES UN N\xDAMERO FINITO: REVISE E, G, A E I DE SUS BARRAS "
            "Y LA RIGIDEZ DE SUS APOYOS\n"},
        InputErrorCase{"TwoSupportsOnOneNode", [](Model& m, std::string&) { m.supports[1] = "1  10 0.0"; },
                       "ERROR: DOS APOYOS EN EL NODO 1\n"},
        InputErrorCase{"DuplicateNodeLabel", [](Model& m, std::string&) { m.nodes[2] = "2 10.0 0.0"; },
                       "ERROR: DOS NODOS CON LA ETIQUETA 2\n"},
        InputErrorCase{"ZeroLengthBar", [](Model& m, std::string&) { m.nodes[2] = "3 5.0 0.0"; },
                       "ERROR: LA BARRA 2 TIENE LONGITUD NULA\n"},
        InputErrorCase{"RightToLeftBar", [](Model& m, std::string&) { m.bars[1] = bar(2, 3, 2); },
                       "ERROR: LA BARRA 2 ES HORIZONTAL Y VA DE DERECHA A IZQUIERDA: DIB\xDAJELA DE IZQUIERDA A "
                       "DERECHA\n"},
        InputErrorCase{"MaterialOutOfRange",
                       [](Model& m, std::string&) { m.bars[1] = "2 2 3 2 1 1 0\n1.0 0.0 0.0 0 1.0"; },
                       "ERROR: LA BARRA 2 USA EL MATERIAL 2 Y SOLO HAY 1\n"},
        InputErrorCase{"SectionOutOfRange",
                       [](Model& m, std::string&) { m.bars[0] = "1 1 2 1 0 1 0\n1.0 0.0 0.0 0 1.0"; },
                       "ERROR: LA BARRA 1 USA LA SECCI\xD3N 0 Y SOLO HAY 1\n"},
        InputErrorCase{"LongTitle", [](Model& m, std::string&) { m.title = std::string(24, 'T'); },
                       "ERROR: EL T\xCDTULO DEL MODELO TIENE M\xC1S DE 23 CARACTERES\n"},
        // Longer than the reader's buffer: the title, not a missing number.
        InputErrorCase{"TitleLongerThanTheBuffer", [](Model& m, std::string&) { m.title = std::string(1100, 'T'); },
                       "ERROR: EL T\xCDTULO DEL MODELO TIENE M\xC1S DE 23 CARACTERES\n"},
        InputErrorCase{"ShearWithoutShearStiffness",
                       [](Model& m, std::string&) {
                         m.bars[0] = bar(1, 1, 2, 1, "1.0 0.0 0.0 1 1.0");
                         m.materials = {"1 1000.0 0.0 0.0  0.0"};
                       },
                       "ERROR: LA BARRA 1 INCLUYE LA DEFORMACI\xD3N POR CORTANTE CON G\xB7"
                       "A NULO\n"}),
    [](const ::testing::TestParamInfo<InputErrorCase>& param) { return std::string(param.param.name); });

TEST(LoadPlacement, ALoadMustLieOnItsBar) {
  // Simply supported 4 m bar, 10 down at 1 m from I: reactions 7.5 and 2.5. The
  // formulas take the span from the load's own distances, so a load that does
  // not fit its bar would be computed on some other span.
  struct Case {
    const char* loads;
    std::string message;  // empty: accepted, with the reactions below
    double RI, RJ, tol;
  };
  const Case cases[] = {
      {"1  1  1.0  3.0  0.0  -10.0 y\n", "", 7.5, 2.5, 1e-5},
      // Within 1e-3 of the length: a rounded input is accepted, close to the exact split.
      {"1  1  1.0  3.0039  0.0  -10.0 y\n", "", 7.5, 2.5, 1e-2},
      {"1  6  0.0  0.0  0.0  10.0 y\n", "", 0, 0, 1e-5},
      {"1  1  1.0  1.0  0.0  -10.0 y\n",
       "ERROR: LA CARGA 1 DEL FICHERO m.caf NO CABE EN LA BARRA 1: a + c = 2 Y LA BARRA MIDE 4\n", 0, 0, 0},
      {"1  1  1.0  3.0  0.0  -10.0 y\n1  1  1.0  3.0041  0.0  -10.0 y\n",
       "ERROR: LA CARGA 2 DEL FICHERO m.caf NO CABE EN LA BARRA 1: a + c = 4.0041 Y LA BARRA MIDE 4\n", 0, 0, 0},
      {"1  3  0.0  4.0  1.0  -2.0 y\n",
       "ERROR: LA CARGA 1 DEL FICHERO m.caf NO CABE EN LA BARRA 1: a + c + b = 5 Y LA BARRA MIDE 4\n", 0, 0, 0},
      {"1  2  1.0  1.0  0.0  5.0 y\n",
       "ERROR: LA CARGA 1 DEL FICHERO m.caf NO CABE EN LA BARRA 1: a + c = 2 Y LA BARRA MIDE 4\n", 0, 0, 0},
      {"1  3  -1.0  4.0  1.0  -2.0 y\n",
       "ERROR: LA CARGA 1 DEL FICHERO m.caf EN LA BARRA 1 TIENE UNA DISTANCIA NEGATIVA: a = -1\n", 0, 0, 0},
      {"1  4  1.0  4.0  -1.0  -2.0 y\n",
       "ERROR: LA CARGA 1 DEL FICHERO m.caf EN LA BARRA 1 TIENE UNA DISTANCIA NEGATIVA: b = -1\n", 0, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.loads);
    ScratchDir dir;
    Model m = straightBeam({0.0, 4.0});
    m.supports = {"1  110 0.0 0.0", "2  10 0.0"};
    auto run = runCalcest(dir, m, c.loads);
    if (!c.message.empty()) {
      EXPECT_EQ(run.status, 1);
      EXPECT_EQ(run.output, kPrompt + c.message);
      continue;
    }
    ASSERT_EQ(run.status, 0) << run.output;
    auto res = parseResults(dir.read("m.res"), 2, 1, 2);
    EXPECT_NEAR(res.supports.at(0).at(1), c.RI, c.tol);
    EXPECT_NEAR(res.supports.at(1).at(1), c.RJ, c.tol);
  }
}

TEST(Header, CountsThatCannotBeRightAreRejectedBeforeTheAnalysis) {
  struct Case {
    const char* model;
    const char* says;
  } cases[] = {
      {"T 1 0\n2 -3 0 0 1 1 0 0 0 0.0\n", "ERROR EN LA CABECERA DEL MODELO: CANTIDAD NEGATIVA\n"},
      {"T 1 0\n0 2 0 0 1 1 0 0 0 0.0\n1 0.0 0.0\n2 1.0 0.0\n1 1.0 1.0 0.3 0.6\n1 1000.0 400.0 0.0 0.0\n",
       "ERROR: EL MODELO NO TIENE BARRAS\n"},
      {"T 1 0\n2 900000 0 0 1 1 0 0 0 0.0\n",
       "ERROR EN LA CABECERA DEL MODELO: LAS CANTIDADES NO CABEN EN EL FICHERO\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.says);
    ScratchDir dir;
    dir.write("m.dat", c.model);
    dir.write("m.caf", "");
    auto run = runCalcestOn(dir);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.output, kPrompt + c.says);
  }
}

TEST(Header, TooManyBarsAreRejectedBeforeTheAnalysis) {
  ScratchDir dir;
  std::vector<double> xs;
  for (int k = 0; k <= 251; ++k) xs.push_back(k);
  Model big = straightBeam(xs);
  big.supports = {"1  110 0.0 0.0"};
  auto run = runCalcest(dir, big, "");
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.output, kPrompt + "ERROR: EL MODELO TIENE 251 BARRAS; EL M\xC1XIMO ES 250\n");
  EXPECT_FALSE(dir.exists(kEliminationTrace));
  EXPECT_FALSE(dir.exists(kAssemblyTrace));
}

TEST(Tables, AllocationFailureGivesAMessageAndStatusOne) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "address space limits do not mix with the sanitizer's shadow memory";
#endif
  // One bar joins node 1 to node 3000: the band is 9000 wide and 9000 deep.
  ScratchDir dir;
  Model m;
  for (int k = 1; k <= 3000; ++k) m.nodes.push_back(std::to_string(k) + " " + std::to_string(k) + ".0 0.0");
  m.bars = {bar(1, 1, 3000)};
  m.sections = {"1  1.0 1.0  0.3  0.6"};
  m.materials = {"1 1000.0 400.0 0.0  0.0"};
  dir.write("m.dat", m.text());
  dir.write("m.caf", "");
  auto run = runProgram(
      "/bin/sh", {"-c", std::string("ulimit -v 400000; exec ") + CALCEST_BINARY + " m.dat m.res m.caf m.fmc m.bar 0"},
      dir.path());
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.output, kPrompt + "ERROR: MEMORIA INSUFICIENTE PARA LAS TABLAS DEL MODELO\n");
}

TEST(Stiffness, UnknownBarTypeIsReportedAndTheUnheldNodeStopsTheSolver) {
  ScratchDir dir;
  Model m = twoSpanBeam();
  m.bars[1] = bar(2, 2, 3, 9);
  auto run = runCalcest(dir, m, "1  3  0.0  5.0  0.0  -10.0 y\n");
  EXPECT_EQ(run.status, 1);
  // Node 3 is held only vertically; with bar 2 adding nothing its horizontal
  // freedom (7) meets a zero pivot.
  EXPECT_EQ(run.output, kPrompt +
                            "tipob= 9 \nMODELO CON PROBLEMAS(VERIFICAR)\ns[7,1]= 0.000000  \n"
                            " PRESIONE UNA TECLA PARA TERMINAR EL PROGRAMA ANORMALMENTE");
}
