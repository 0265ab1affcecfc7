// envolventes-batch run as a user runs it, in a scratch directory.
#include <gtest/gtest.h>

#include <filesystem>

#include "test_support.h"

using testsupport::runProgram;
using testsupport::ScratchDir;
using testsupport::splitLines;

namespace {

const char* const kProjects[] = {"env_a", "env_b", "env_c"};

bool analyseExamples(const ScratchDir& dir) {
  if (!std::filesystem::exists(CALCEST_BINARY)) return false;
  for (const char* p : kProjects) {
    for (const char* ext : {".dat", ".caf", ".car", ".esf"})
      dir.write(std::string(p) + ext, testsupport::readFile(std::string(EXAMPLES_DIR) + "/envolvente/" + p + ext));
    std::string base = p;
    auto run = runProgram(CALCEST_BINARY,
                          {base + ".dat", base + ".res", base + ".caf", base + ".fmc", base + ".bar", "0"}, dir.path());
    if (run.status != 0) return false;
  }
  return true;
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
  EXPECT_EQ(run.output, "ERROR EN SELECCION DE PROYECTOS\n");
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
  // The envelope files of an empty list are still written.
  EXPECT_EQ(splitLines(dir.read("E.esf")).size(), 4u);
}

TEST(Batch, MissingProjectFile_IsReportedWithStatusOne) {
  ScratchDir dir;
  auto run = runProgram(BATCH_BINARY, {"E", "3000", "400", "nada"}, dir.path());
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.output, "error_archivo esfuerzos\n");
  EXPECT_EQ(dir.read("E.res"), "");
  // The view still draws what is held: an empty beam.
  EXPECT_TRUE(dir.exists("Ed.svg"));
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
