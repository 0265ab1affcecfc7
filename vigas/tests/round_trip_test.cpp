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

// The example model a loads file was made for (by its name), else the
// three-span example the loads fuzz target reads them with.
std::string modelFor(const std::string& caf) {
  const std::string name = std::filesystem::path(caf).stem().string();
  for (const std::string& dat : {"examples/" + name + ".dat", "examples/envolvente/" + name + ".dat"})
    if (std::filesystem::exists(sourceFile(dat))) return dat;
  return "examples/viga3.dat";
}

// Models with the loads they are read with (as the fuzz targets pair them).
std::vector<Pair> repositoryPairs() {
  std::vector<Pair> pairs = {{"examples/viga3.dat", "examples/viga3.caf"},
                             {"examples/viga3.dat", "examples/viga3q.caf"},
                             {"examples/viga2h.dat", "examples/viga2h.caf"}};
  for (const char* p : {"env_a", "env_b", "env_c"})
    pairs.push_back({std::string("examples/envolvente/") + p + ".dat", std::string("examples/envolvente/") + p + ".caf"});
  for (const char* folder : {"fuzz/corpus/model_file", "fuzz/regressions/model_file"})
    for (const std::string& dat : filesIn(folder, ".dat")) pairs.push_back({dat, ""});
  for (const char* folder : {"fuzz/corpus/project_dat", "fuzz/regressions/project_dat"})
    for (const std::string& dat : filesIn(folder, ".dat")) pairs.push_back({dat, "fuzz/fixture/env_a.caf"});
  for (const char* folder : {"fuzz/corpus/loads", "fuzz/regressions/loads"})
    for (const std::string& caf : filesIn(folder, ".caf")) pairs.push_back({modelFor(caf), caf});
  for (const char* folder : {"fuzz/corpus/project_caf", "fuzz/regressions/project_caf"})
    for (const std::string& caf : filesIn(folder, ".caf")) pairs.push_back({"fuzz/fixture/env_a.dat", caf});
  return pairs;
}

const char* const kCompared[] = {".res", ".fmc", ".bar", ".kar"};

// calcest on m.dat and m.caf of a fresh folder holding these bytes.
struct Analysed {
  ScratchDir dir;
  int status = -1;
  Analysed(const std::string& dat, const std::string& caf) {
    dir.write("m.dat", dat);
    dir.write("m.caf", caf);
    status = testsupport::runCalcest(calcestBinary(), dir.path(), "m").status;
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
    if (valid) EXPECT_EQ(original.status, 0) << what;
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
  // Six example pairs and fourteen seeds at least.
  EXPECT_GE(accepted, 20);
}

TEST(RoundTrip, RealsAreWrittenWithTheFewestDigitsThatReadBackTheSame) {
  const double values[] = {0.1, 1.0 / 3.0, 2.5e6, -1e-300, 6.0, 123456789.123456789};
  for (double value : values) EXPECT_EQ(std::strtod(common::exactReal(value).c_str(), nullptr), value);
  EXPECT_EQ(common::exactReal(0.1), "0.1");
  EXPECT_EQ(common::exactReal(2.5e6), "2500000");
}
