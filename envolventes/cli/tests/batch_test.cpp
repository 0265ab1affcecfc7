// envolventes-batch run as a user runs it, in a scratch directory.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "common/file_names.h"
#include "common/testing/test_support.h"

using namespace common;

using testsupport::runProgram;
using testsupport::ScratchDir;
using testsupport::splitLines;

namespace {

bool analyse(const ScratchDir& dir, const std::string& base) {
  return testsupport::runCalcest(CALCEST_BINARY, dir.path(), base).status == 0;
}

bool analyseExamples(const ScratchDir& dir) {
  return testsupport::analyseEnvelopeExamples(CALCEST_BINARY, EXAMPLES_DIR, dir);
}

// A force table of zeros on the points of the project's diagram file (the
// tables come from outside the suite; only their points matter here).
std::string zeroForceTable(const std::string& fmc) {
  std::vector<std::string> lines = splitLines(fmc);
  std::string table = std::to_string(lines.size() - 2) + "\n";
  for (size_t i = 1; i < lines.size(); ++i) {
    double x = 0;
    std::sscanf(lines[i].c_str(), "%lf", &x);
    table += std::to_string(i - 1) + " " + std::to_string(x) + " 0 0 0 0 0 0\n";
  }
  return table;
}

const std::vector<std::string> kNothing;  // no file changed

// The bundled projects analysed, and their envelope ENV made by a run that
// completed.
bool earlierEnvelope(const ScratchDir& dir) {
  return analyseExamples(dir) &&
         runProgram(BATCH_BINARY, {"ENV", "3000", "400", "env_a", "env_b", "env_c"}, dir.path()).status == 0;
}

int count(const std::string& text, const std::string& what) {
  int n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

}  // namespace

TEST(Batch, BundledExample_WritesBothFilesThreeScriptsAndThreePictures) {
  ScratchDir dir;
  if (!analyseExamples(dir)) GTEST_SKIP() << "calcest not built";
  auto run = runProgram(BATCH_BINARY, {"ENV", "3000", "400", "env_a", "env_b", "env_c"}, dir.path());
  EXPECT_EQ(run.status, 0) << run.output;
  EXPECT_EQ(run.output, "");
  for (const char* name : {"ENV.esf", "ENV.res", "ENVd.scr", "ENVm.scr", "ENVc.scr"})
    EXPECT_FALSE(dir.read(name).empty()) << name;
  for (const char* k : {"d", "m", "c"}) {
    std::string script = dir.read(std::string("ENV") + k + ".scr");
    std::string svg = dir.read(std::string("ENV") + k + ".svg");
    EXPECT_EQ(svg.rfind("<?xml", 0), 0u);
    EXPECT_NE(svg.find("width=\"3000\" height=\"400\""), std::string::npos);
    EXPECT_NE(svg.find("</svg>"), std::string::npos);
    // Every line of the script is a line of the picture.
    EXPECT_EQ(count(svg, "<line "), count(script, "line ")) << k;
  }
  // Accents reach the picture as UTF-8 and the script as Windows-1252.
  EXPECT_NE(dir.read("ENVd.svg").find("Deformaci\xC3\xB3n"), std::string::npos);
  EXPECT_NE(dir.read("ENVd.scr").find("Deformaci\xF3n"), std::string::npos);
  // Three supports on the picture: three triangles of three lines in the axis colour.
  std::string d = dir.read("ENVd.scr");
  EXPECT_EQ(count(d, "line 20,200 14,194 "), 1);
  EXPECT_EQ(count(d, "line 1240,200 1234,194 "), 1);
  EXPECT_EQ(count(d, "line 2460,200 2454,194 "), 1);
}

TEST(Batch, InconsistentProjects_EndWithTheSelectionErrorAndStatusOne) {
  ScratchDir dir;
  if (!analyseExamples(dir)) GTEST_SKIP() << "calcest not built";
  std::string dat = dir.read("env_b.dat");
  dat.replace(dat.find("2 3 3 0"), 7, "2 4 3 0");
  dir.write("env_b.dat", dat);
  auto run = runProgram(BATCH_BINARY, {"ENV", "3000", "400", "env_a", "env_b"}, dir.path());
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.output, "ERROR EN SELECCION DE PROYECTOS: env_b (env_b.dat) NO ES DE LA MISMA VIGA QUE env_a\n");
  EXPECT_FALSE(dir.exists("ENVd.scr"));
}

TEST(Batch, ScriptsThatCannotBeCreated_AreReportedAndTheStatusIsOne) {
  ScratchDir dir;
  for (const char* name : {"Ed.scr", "Em.scr", "Ec.scr"}) std::filesystem::create_directory(dir.file(name));
  auto run = runProgram(BATCH_BINARY, {"E", "3000", "400"}, dir.path());
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.output, "ERROR SCRD\nERROR SCRM\nERROR SCRC\n");
  EXPECT_FALSE(dir.exists("Ed.svg"));
  EXPECT_FALSE(dir.exists("Ec.svg"));
  // Nothing of a run that ends with a message is put in place.
  EXPECT_FALSE(dir.exists("E.esf"));
}

TEST(Batch, MissingProjectFile_IsReportedWithStatusOne) {
  ScratchDir dir;
  auto run = runProgram(BATCH_BINARY, {"E", "3000", "400", "nada"}, dir.path());
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.output, "error_archivo esfuerzos: no se puede abrir nada.esf (proyecto nada)\n");
  // Nothing of a run that ends with a message is put in place.
  EXPECT_FALSE(dir.exists("E.res"));
  EXPECT_FALSE(dir.exists("Ed.svg"));
}

TEST(Batch, BadArguments_ShowTheUsageAndStatusOne) {
  ScratchDir dir;
  std::vector<std::vector<std::string>> bad = {
      {}, {"E"}, {"E", "3000"}, {"E", "299", "400"}, {"E", "3000", "2001"}, {"E", "3000x", "400"}, {"", "3000", "400"}};
  std::vector<std::string> tooMany = {"E", "3000", "400"};
  for (int i = 0; i < 51; ++i) tooMany.push_back("p");
  bad.push_back(tooMany);
  for (auto& args : bad) {
    auto run = runProgram(BATCH_BINARY, args, dir.path());
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.output.rfind("uso: envolventes-batch", 0), 0u) << run.output;
  }
  EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

// The console comes in the locale's character set (files stay Windows-1252),
// to a pipe as to a terminal: the usage's "p\xEDxeles".
TEST(Batch, ConsoleText_ComesInTheLocalesCharacterSet) {
  ScratchDir dir;
  const struct {
    const char* locale;
    const char* word;
  } cases[] = {{"C", "p\xEDxeles"},           {"POSIX", "p\xEDxeles"},          {"es_ES.ISO-8859-1", "p\xEDxeles"},
               {"C.UTF-8", "p\xC3\xADxeles"}, {"es_ES.utf8", "p\xC3\xADxeles"}, {"es_ES.UTF-8@euro", "p\xC3\xADxeles"}};
  for (const auto& c : cases) {
    testsupport::RunLimits limits;
    limits.locale = c.locale;
    auto run = runProgram(BATCH_BINARY, {}, dir.path(), nullptr, 60, limits);
    EXPECT_NE(run.output.find(c.word), std::string::npos) << c.locale << ": " << run.output;
  }
}

TEST(Batch, EnvelopeNamedLikeOneOfItsProjects_IsRefusedBeforeAnyFileIsEmptied) {
  ScratchDir dir;
  dir.write("p.res", "results\n");
  dir.write("p.esf", "table\n");
  std::filesystem::create_directory(dir.file("sub"));
  for (auto args : {std::vector<std::string>{"p", "3000", "400", "q", "p"},
                    std::vector<std::string>{"sub/../p", "3000", "400", "p"}}) {
    auto run = runProgram(BATCH_BINARY, args, dir.path());
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.output, "ERROR NOMBRE DE ENVOLVENTE IGUAL AL DE UN PROYECTO\n");
    EXPECT_EQ(dir.read("p.res"), "results\n");
    EXPECT_EQ(dir.read("p.esf"), "table\n");
  }
}

namespace {

// env_b spoiled so that calcest stops with an error at one phase of its run.
struct FailedStaticRun {
  const char* what;
  const char* file;  // env_b.dat or env_b.caf
  std::string from, to;
  const char* calcestSays;
  bool modelRefused;  // calcest refuses the model as it reads it
};

}  // namespace

// calcest puts in place no result of a run that stopped with an error: a
// project whose first static run stopped has none, and envolventes-batch must
// refuse it with a message, not draw or write envelopes. A model calcest
// refused is refused with the same message whatever an earlier run left.
TEST(Batch, ProjectWhoseStaticRunStoppedWithAnError_IsRefusedWithAMessageAndStatusOne) {
  const FailedStaticRun failures[] = {
      {"title too long (header)", "env_b.dat", "VIGA2   1", "VIGA_DE_DOS_TRAMOS_DE_SEIS_METROS   1", "23 CARACTERES",
       true},
      {"load on a bar that does not exist (loads)", "env_b.caf", "1  3  0.0", "7  3  0.0", "QUE NO EXISTE", false},
      {"support on a node that does not exist (supports)", "env_b.dat", "3  10 0.0", "9  10 0.0",
       "ERROR EN NODOS/RESTRICCIONES", true},
      {"nothing holds the beam horizontally (zero pivot)", "env_b.dat", "1  110 0.0 0.0", "1  10 0.0",
       "MODELO CON PROBLEMAS", false},
  };
  for (const FailedStaticRun& failure : failures) {
    SCOPED_TRACE(failure.what);
    ScratchDir dir;
    if (!analyseExamples(dir)) GTEST_SKIP() << "calcest not built";
    std::string text = dir.read(failure.file);
    ASSERT_NE(text.find(failure.from), std::string::npos);
    text.replace(text.find(failure.from), failure.from.size(), failure.to);
    dir.write(failure.file, text);
    if (!failure.modelRefused)  // the project's first static run
      for (std::string ext : {kResultsExt, kDiagramExt, kBarRecordsExt, kSelfWeightExt, kRotationsExt, kDeflectionsExt})
        std::filesystem::remove(dir.file("env_b" + ext));
    auto st = testsupport::runCalcest(CALCEST_BINARY, dir.path(), "env_b");
    ASSERT_EQ(st.status, 1);
    ASSERT_NE(st.output.find(failure.calcestSays), std::string::npos) << st.output;

    for (auto projects : {std::vector<std::string>{"env_a", "env_b", "env_c"}, std::vector<std::string>{"env_b"}}) {
      std::vector<std::string> args = {"ENV", "3000", "400"};
      args.insert(args.end(), projects.begin(), projects.end());
      auto run = runProgram(BATCH_BINARY, args, dir.path());
      EXPECT_EQ(run.status, 1);
      std::string expected = "error_archivo cargas: no se puede abrir env_b.kar (proyecto env_b)\n";  // no .kar
      if (failure.modelRefused) {
        expected = st.output.substr(st.output.find("ERROR"));
        expected = expected.substr(0, expected.find('\n')) + "\n";
      }
      EXPECT_EQ(run.output, expected);
      EXPECT_FALSE(dir.exists("ENV.esf"));
      EXPECT_FALSE(dir.exists("ENV.res"));
    }
  }
}

TEST(Batch, EnvelopeNamedLikeAnyProjectOfTheDirectory_IsRefusedWhateverTheListHolds) {
  ScratchDir dir;
  if (!analyseExamples(dir)) GTEST_SKIP() << "calcest not built";
  // One file of a project is enough to know it: its model, diagram, loads or
  // static results; env_c has them all.
  std::vector<std::string> projects = {"env_c"};
  for (std::string ext : {kModelExt, kDiagramExt, kLoadsExt, kResultsExt}) {
    std::string name = "p_" + ext.substr(1);
    dir.write(name + ext, dir.read("env_a" + ext));
    dir.write(name + kForceTableExt, "table\n");
    projects.push_back(name);
  }
  for (const std::string& name : projects) {
    SCOPED_TRACE(name);
    std::string res = dir.exists(name + kResultsExt) ? dir.read(name + kResultsExt) : "";
    auto run = runProgram(BATCH_BINARY, {name, "3000", "400", "env_a", "env_b"}, dir.path());
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.output, "ERROR NOMBRE DE ENVOLVENTE IGUAL AL DE UN PROYECTO\n");
    EXPECT_TRUE((dir.exists(name + kResultsExt) ? dir.read(name + kResultsExt) : "") == res);
    EXPECT_NE(dir.read(name + kForceTableExt), "");
  }
  // An envelope's own files and list do not make it a project: it is rebuilt.
  dir.write("lista.dat", " 2\nenv_a\nenv_b\n");
  for (const char* name : {"ENV", "ENV", "lista"}) {
    auto run = runProgram(BATCH_BINARY, {name, "3000", "400", "env_a", "env_b"}, dir.path());
    EXPECT_EQ(run.status, 0) << name << run.output;
  }
}

// The bundled models (each bar on two lines) loaded evenly on every bar with
// 10 and with 30: the envelope takes every reaction from the heavier run, and
// by statics those reactions carry that run's whole load with the self-weight.
TEST(Batch, BundledModels_InTheLayoutCalcestReads_MakeAnEnvelope) {
  struct Model {
    const char* name;
    std::vector<double> lengths, selfWeight;  // per bar: gamma * A (the haunch at its mean height)
  };
  const Model models[] = {{"viga3", {6, 8, 6}, {0.45, 0.45, 0.45}}, {"viga2h", {7, 5}, {25 * 0.3 * 0.875, 25 * 0.21}}};
  for (const Model& m : models) {
    SCOPED_TRACE(m.name);
    ScratchDir dir;
    if (!std::filesystem::exists(CALCEST_BINARY)) GTEST_SKIP() << "calcest not built";
    double heaviest = 0;
    for (double q : {10.0, 30.0}) {
      std::string base = m.name + std::to_string(static_cast<int>(q));
      dir.write(fileOf(base, kModelExt),
                testsupport::readFile(std::string(EXAMPLES_DIR) + "/" + fileOf(m.name, kModelExt)));
      std::string caf;
      heaviest = 0;
      for (size_t b = 0; b < m.lengths.size(); ++b) {
        caf += std::to_string(b + 1) + "  3  0.0  " + std::to_string(m.lengths[b]) + "  0.0  " + std::to_string(-q) +
               " y\n";
        heaviest += (q + m.selfWeight[b]) * m.lengths[b];
      }
      dir.write(base + kLoadsExt, caf);
      dir.write(base + kDescriptionExt, "carga\n");
      ASSERT_TRUE(analyse(dir, base));
      dir.write(base + kForceTableExt, zeroForceTable(dir.read(base + kDiagramExt)));
    }
    std::string name = m.name;
    auto run = runProgram(BATCH_BINARY, {"ENV", "3000", "400", name + "10", name + "30"}, dir.path());
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.output, "");
    std::vector<std::string> report = splitLines(dir.read("ENV.res"));
    auto header =
        std::find_if(report.begin(), report.end(), [](auto& l) { return l.find("REACCION") != std::string::npos; });
    ASSERT_NE(header, report.end());
    double sum = 0;
    for (auto line = header + 1; line != report.end() && line->find("Coordenada") == std::string::npos; ++line) {
      int node = 0;
      double rMax = 0;
      ASSERT_EQ(std::sscanf(line->c_str(), "%d %lf", &node, &rMax), 2) << *line;
      sum += rMax;
    }
    EXPECT_NEAR(sum, heaviest, 1e-4 * heaviest);
  }
}

// An output that is a link to a device is replaced by the file, not written
// through; a file that cannot be written whole (a file size limit stands for a
// full disk) is named, the status is 1 and nothing is put in place.
TEST(Batch, FileThatCannotBeWritten_IsNamedAndTheStatusIsOne) {
  ScratchDir dir;
  if (!analyseExamples(dir)) GTEST_SKIP() << "calcest not built";
  for (const char* name : {"ENV.res", "ENV.esf", "ENVd.scr", "ENVm.svg"}) {
    SCOPED_TRACE(name);
    std::filesystem::remove(dir.file(name));
    std::filesystem::create_symlink("/dev/full", dir.file(name));
    auto run = runProgram(BATCH_BINARY, {"ENV", "3000", "400", "env_a", "env_b"}, dir.path());
    EXPECT_EQ(run.status, 0) << run.output;
    ASSERT_FALSE(std::filesystem::is_symlink(dir.file(name)));  // else reading it would never end
    EXPECT_FALSE(dir.read(name).empty());
  }
  const auto before = testsupport::folderContents(dir.path());
  testsupport::RunLimits limits;
  limits.fileSizeLimit = 64;  // room for the lock, not for the force table
  auto run = runProgram(BATCH_BINARY, {"ENV", "3000", "400", "env_a", "env_c"}, dir.path(), nullptr, 60, limits);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.output, "ERROR: NO SE PUDO ESCRIBIR EL FICHERO ENV.esf\n");
  EXPECT_EQ(testsupport::changesSince(before, dir.path()), kNothing);
}

// A value that is no finite number in a project's results, diagram or force
// table would slip past every comparison: the project is refused, named with
// its file, and the earlier envelope stays.
TEST(Batch, AProjectFileHoldingNanIsRefusedNamingTheProject) {
  for (const char* extension : {".res", ".fmc", ".esf"}) {
    SCOPED_TRACE(extension);
    ScratchDir dir;
    if (!earlierEnvelope(dir)) GTEST_SKIP() << "calcest not built";
    const std::string file = std::string("env_b") + extension;
    std::vector<std::string> lines = splitLines(dir.read(file));
    std::string& line = lines[3];
    line = line.substr(0, line.rfind(' ', line.find_last_not_of(' '))) + " nan";
    std::string text;
    for (const std::string& l : lines) text += l + "\n";
    dir.write(file, text);
    const auto before = testsupport::folderContents(dir.path());
    auto run = runProgram(BATCH_BINARY, {"ENV", "3000", "400", "env_a", "env_b", "env_c"}, dir.path());
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.output, "ERROR: EL FICHERO " + file +
                              " DEL PROYECTO env_b TIENE VALORES QUE NO SON N\xDAMEROS "
                              "FINITOS: VUELVA A CALCULAR EL PROYECTO\n");
    EXPECT_EQ(testsupport::changesSince(before, dir.path()), kNothing);
  }
}

// The batch takes the names the viewer's dialog takes: a line break in one
// would have put a command of its own into the three scripts.
TEST(Batch, EnvelopeNamesTheViewerRefuses_AreRefusedBeforeAnyFileIsWritten) {
  ScratchDir dir;
  if (!analyseExamples(dir)) GTEST_SKIP() << "calcest not built";
  const struct {
    std::string name;
    const char* message;
  } cases[] = {
      {"A\nERASE ALL\n",
       "ERROR: EL NOMBRE DE ENVOLVENTE LLEVA EL CAR\xC1"
       "CTER DE C\xD3"
       "DIGO 10, QUE NO ES UNA LETRA DE "
       "WINDOWS-1252\n"},
      {"E\x81",
       "ERROR: EL NOMBRE DE ENVOLVENTE LLEVA EL CAR\xC1"
       "CTER DE C\xD3"
       "DIGO 129, QUE NO ES UNA LETRA DE "
       "WINDOWS-1252\n"},
      {"mi envolvente", "ERROR: EL NOMBRE DE ENVOLVENTE NO PUEDE TENER ESPACIOS EN BLANCO\n"},
      {"sub/ENV", "ERROR: EL NOMBRE DE ENVOLVENTE NO PUEDE NOMBRAR UN DIRECTORIO (/ O \\)\n"},
      {std::string(41, 'E'), "ERROR: EL NOMBRE DE ENVOLVENTE TIENE M\xC1S DE 40 CARACTERES\n"},
  };
  std::filesystem::create_directory(dir.file("sub"));
  const auto before = testsupport::folderContents(dir.path());
  for (const auto& c : cases) {
    auto run = runProgram(BATCH_BINARY, {c.name, "3000", "400", "env_a", "env_b", "env_c"}, dir.path());
    EXPECT_EQ(run.status, 1) << c.name;
    EXPECT_EQ(run.output, c.message);
  }
  EXPECT_EQ(testsupport::changesSince(before, dir.path()), kNothing);
  EXPECT_EQ(runProgram(BATCH_BINARY, {std::string(40, 'E'), "3000", "400", "env_a"}, dir.path()).status, 0);
}

// ---- a bad day -------------------------------------------------------------------

// An output that is one of the project files read, under another name (a link,
// a second hard name), is refused before anything is written.
TEST(Batch, OutputThatIsAProjectFile_IsRefusedBeforeAnyFileIsWritten) {
  const struct {
    const char* output;
    const char* input;
    bool hard;
  } cases[] = {{"ENVd.scr", "env_a.dat", false}, {"ENVm.svg", "env_b.esf", false}, {"ENV.esf", "env_c.res", true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.output);
    ScratchDir dir;
    if (!analyseExamples(dir)) GTEST_SKIP() << "calcest not built";
    if (c.hard)
      std::filesystem::create_hard_link(dir.file(c.input), dir.file(c.output));
    else
      std::filesystem::create_symlink(c.input, dir.file(c.output));
    const auto before = testsupport::folderContents(dir.path());
    auto run = runProgram(BATCH_BINARY, {"ENV", "3000", "400", "env_a", "env_b", "env_c"}, dir.path());
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.output, std::string("ERROR: ENVOLVENTES-BATCH ESCRIBIR\xCD"
                                      "A ") +
                              c.output + ", QUE ES EL DATO " + c.input + ": ELIJA OTRO NOMBRE\n");
    EXPECT_EQ(testsupport::changesSince(before, dir.path()), kNothing);
  }
}

// A run of an envelope name that a running process holds is refused with that
// process named, and changes nothing; the lock of a run that was killed is
// taken over.
TEST(Batch, NameHeldByAnotherRun_IsRefusedAndAKilledRunsLockTakenOver) {
  for (const testsupport::LockHolder& holder : testsupport::lockHolders()) {
    SCOPED_TRACE(holder.what);
    ScratchDir dir;
    if (!earlierEnvelope(dir)) GTEST_SKIP() << "calcest not built";
    const testsupport::PlantedLock lock(holder, dir.file("ENV.lock"));
    const auto before = testsupport::folderContents(dir.path());
    auto run = runProgram(BATCH_BINARY, {"ENV", "3000", "400", "env_a", "env_b"}, dir.path());
    if (holder.running()) {
      EXPECT_EQ(run.status, 1);
      EXPECT_EQ(run.output, "ERROR: OTRA EJECUCI\xD3N (PROCESO " + std::to_string(lock.id()) +
                                ") EST\xC1 ESCRIBIENDO ENV EN ESTE DIRECTORIO: ESPERE A QUE TERMINE O ELIJA OTRO "
                                "NOMBRE\n");
      EXPECT_EQ(testsupport::changesSince(before, dir.path()), kNothing);
    } else {
      EXPECT_EQ(run.status, 0) << run.output;
      EXPECT_FALSE(dir.exists("ENV.lock"));
    }
  }
}

// Whatever ends a run with a message, the earlier envelope of the name stays
// byte for byte and nothing is added: projects analysed but without force
// tables, projects of two beams, a script that cannot be made, a folder that
// takes no new file.
TEST(Batch, Refusal_LeavesTheEarlierEnvelopeAsItWas) {
  const struct {
    const char* what;
    std::vector<std::string> removed;
    const char* folder;  // made where a file is written
    bool readOnly;
    std::string beginning;  // of the output
  } cases[] = {
      {"two projects without force tables",
       {"env_a.esf", "env_b.esf"},
       nullptr,
       false,
       "error_archivo esfuerzos: no se puede abrir env_a.esf (proyecto env_a)\n"},
      {"a project without its model",
       {"env_b.dat"},
       nullptr,
       false,
       "error_archivo datos: no se puede abrir env_b.dat (proyecto env_b)\n"},
      {"a script that cannot be made", {"ENVm.scr"}, "ENVm.scr", false, "ERROR SCRM\n"},
      {"a read-only folder", {}, nullptr, true, "ERROR: NO SE PUEDE CREAR EL FICHERO ENV.lock\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ScratchDir dir;
    if (!earlierEnvelope(dir)) GTEST_SKIP() << "calcest not built";
    for (const std::string& name : c.removed) std::filesystem::remove(dir.file(name));
    if (c.folder) std::filesystem::create_directory(dir.file(c.folder));
    const auto before = testsupport::folderContents(dir.path());
    // Not the earlier list: what this run would write differs from what is there.
    const std::vector<std::string> args = {"ENV", "3000", "400", "env_a", "env_b"};
    auto run = c.readOnly ? testsupport::runInReadOnlyFolder(BATCH_BINARY, args, dir.path())
                          : runProgram(BATCH_BINARY, args, dir.path());
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.output.substr(0, c.beginning.size()), c.beginning) << run.output;
    EXPECT_EQ(testsupport::changesSince(before, dir.path()), kNothing);
  }
}
