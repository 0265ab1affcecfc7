// Every model and loads file of the repository that calcest accepts, read and
// written again, gives calcest's very results: the writer is the reader's
// mirror. Both the editor's way (opened as typed, saved) and the engine's
// (read with its checks, nodes sorted by label, written) are run.
#include <gtest/gtest.h>

#include <filesystem>

#include "calcest/loads.h"
#include "common/file_handle.h"
#include "common/model_writer.h"
#include "vigas/project_files.h"
#include "vigas/tests/test_beams.h"

using namespace vigastest;
using testsupport::ScratchDir;

namespace {

struct Pair {
  std::string dat, caf;  // repository paths; caf "" for an empty loads file
};

std::vector<std::string> filesIn(const std::string& folder, const std::string& extension) {
  std::vector<std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(sourceFile(folder)))
    if (entry.path().extension() == extension) files.push_back(folder + "/" + entry.path().filename().string());
  std::sort(files.begin(), files.end());
  return files;
}

// The model a loads file was made for: the model whose name starts its name
// (viga3q.caf is viga3's), in its own folder or else among the examples; else
// the three-span example the loads fuzz target reads them with.
std::string modelFor(const std::string& caf) {
  const std::filesystem::path path(caf);
  const std::string name = path.stem().string();
  for (const std::string& folder :
       {path.parent_path().string(), std::string("examples"), std::string("examples/envolvente")}) {
    std::string best;
    for (const std::string& dat : filesIn(folder, ".dat")) {
      const std::string stem = std::filesystem::path(dat).stem().string();
      if (name.rfind(stem, 0) == 0 && stem.size() > std::filesystem::path(best).stem().string().size()) best = dat;
    }
    if (!best.empty()) return best;
  }
  return "examples/viga3.dat";
}

// Models with the loads they are read with: the examples and the tests' data
// by name, the fuzz corpora as their targets pair them.
std::vector<Pair> repositoryPairs() {
  std::vector<Pair> pairs;
  for (const char* folder :
       {"examples", "examples/envolvente", "informe/tests/data", "fuzz/corpus/loads", "fuzz/regressions/loads"})
    for (const std::string& caf : filesIn(folder, ".caf")) pairs.push_back({modelFor(caf), caf});
  for (const char* folder : {"fuzz/corpus/model_file", "fuzz/regressions/model_file"})
    for (const std::string& dat : filesIn(folder, ".dat")) pairs.push_back({dat, ""});
  for (const char* folder : {"fuzz/corpus/project_dat", "fuzz/regressions/project_dat"})
    for (const std::string& dat : filesIn(folder, ".dat")) pairs.push_back({dat, "fuzz/fixture/env_a.caf"});
  for (const char* folder : {"fuzz/corpus/project_caf", "fuzz/regressions/project_caf"})
    for (const std::string& caf : filesIn(folder, ".caf")) pairs.push_back({"fuzz/fixture/env_a.dat", caf});
  return pairs;
}

const char* const kCompared[] = {".res", ".fmc", ".bar", ".kar"};

// calcest on m.dat and m.caf of a fresh folder holding these bytes.
struct Analysed {
  ScratchDir dir;
  int status = -1;
  std::string console;
  Analysed(const std::string& dat, const std::string& caf) {
    dir.write("m.dat", dat);
    dir.write("m.caf", caf);
    const testsupport::RunResult run = testsupport::runCalcest(calcestBinary(), dir.path(), "m");
    status = run.status;
    console = run.output;
  }
};

// The model read with the engine's checks and written back.
std::string engineWritten(const std::string& path) {
  common::FileHandle file = common::openInputFile(path);
  common::Scanner scanner(file.get(), path);
  return common::modelText(common::ModelReader(scanner).readModel());
}

std::string loadsWritten(const std::string& path) {
  common::FileHandle file = common::openInputFile(path);
  common::Scanner scanner(file.get(), path);
  return common::loadsText(calcest::readLoadLines(scanner));
}

void expectSameResults(const Analysed& original, const Analysed& again, const std::string& what) {
  ASSERT_EQ(again.status, 0) << what;
  EXPECT_EQ(again.console, original.console) << what;
  for (const char* extension : kCompared)
    EXPECT_EQ(again.dir.read(std::string("m") + extension), original.dir.read(std::string("m") + extension))
        << what << " " << extension;
}

}  // namespace

TEST(RoundTrip, EveryAcceptedRepositoryFileGivesTheSameResultsWrittenAgain) {
  int accepted = 0;
  for (const Pair& pair : repositoryPairs()) {
    const std::string caf = pair.caf.empty() ? "" : testsupport::readFile(sourceFile(pair.caf));
    Analysed original(testsupport::readFile(sourceFile(pair.dat)), caf);
    const std::string what = pair.dat + " + " + pair.caf;
    // The examples and the seed corpora are valid beams; a regression input
    // may well be refused, and is then no case for the writer.
    const bool valid = pair.dat.rfind("fuzz/regressions", 0) != 0 && pair.caf.rfind("fuzz/regressions", 0) != 0;
    if (valid) {
      EXPECT_EQ(original.status, 0) << what;
    }
    if (original.status != 0) continue;
    ++accepted;

    // As the editor does it: open as typed, save elsewhere.
    vigas::Document document;
    ASSERT_TRUE(vigas::openProject(original.dir.file("m.dat"), document).opened) << what;
    ScratchDir saved;
    ASSERT_EQ(vigas::saveProject(document, saved.file("m.dat")), "") << what;
    expectSameResults(original, Analysed(saved.read("m.dat"), saved.read("m.caf")), what + " (editor)");

    // As the engine reads it.
    const std::string loads = loadsWritten(original.dir.file("m.caf"));
    expectSameResults(original, Analysed(engineWritten(original.dir.file("m.dat")), loads), what + " (engine)");
  }
  // Seven pairs of the examples and the tests' data, fourteen seeds at least.
  EXPECT_GE(accepted, 21);
}

TEST(RoundTrip, RealsAreWrittenWithTheFewestDigitsThatReadBackTheSame) {
  const double values[] = {0.1, 1.0 / 3.0, 2.5e6, -1e-300, 6.0, 123456789.123456789};
  for (double value : values) EXPECT_EQ(std::strtod(common::exactReal(value).c_str(), nullptr), value);
  EXPECT_EQ(common::exactReal(0.1), "0.1");
  EXPECT_EQ(common::exactReal(2.5e6), "2500000");
}
