// Every model of the fuzz corpora and every regression input that is a model
// file, through every program that reads a model: each must accept what
// calcest accepts and refuse what calcest refuses, but for the limits of its
// own listed below. A model calcest accepts is taken through the workflow (its
// results by calcest, modes by calcdin, force table by alternancias --tabla);
// one it refuses lies beside the files of its family's last good run, as a
// model changed after its analysis does, so only the model can be refused.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "common/file_names.h"
#include "common/testing/test_support.h"

namespace {

using testsupport::RunResult;
using testsupport::ScratchDir;

enum class Program { calcdin, alternancias, informe, envelope };

const char* nameOf(Program program) {
  static const char* const names[] = {"calcdin", "alternancias --tabla", "informe", "envolventes-batch"};
  return names[static_cast<int>(program)];
}

// Model directories, and the project whose good run lies beside a refused model.
struct Family {
  const char* directory;
  const char* standIn;  // below the fuzz directory, without extension
};
const Family kFamilies[] = {{"corpus/model_file", "corpus/model_file/viga3"},
                            {"regressions/model_file", "corpus/model_file/viga3"},
                            {"corpus/project_dat", "fixture/env_a"},
                            {"regressions/project_dat", "fixture/env_a"}};

// A program that, by a documented limit calcest does not have, gives the
// other verdict on a model.
struct Limit {
  Program program;
  const char* model;
  const char* reason;
};
const char* const kUpToSupports =
    "calcdin reads the model up to its supports: ties and nodal loads are not its to read";
const char* const kNotContinuous =
    "alternancias takes only a continuous beam: bar k horizontal from node k to node k + 1";
const char* const kNoForceTable = "the envelope needs the force table alternancias --tabla cannot make for this beam";
const Limit kLimits[] = {
    {Program::calcdin, "regressions/model_file/tie_to_unknown_node.dat", kUpToSupports},
    {Program::calcdin, "regressions/model_file/nodal_load_unknown_node.dat", kUpToSupports},
    {Program::calcdin, "regressions/project_dat/tie_to_unknown_node.dat", kUpToSupports},
    {Program::alternancias, "corpus/model_file/inclined.dat", kNotContinuous},
    {Program::envelope, "corpus/model_file/inclined.dat", kNoForceTable},
};

bool limited(Program program, const std::string& model) {
  for (const Limit& limit : kLimits)
    if (limit.program == program && model == limit.model) return true;
  return false;
}

std::string fuzzFile(const std::string& relative) { return std::string(FUZZ_DIR) + "/" + relative; }

// The loads of a corpus model, the loads of the same project, or none.
std::string loadsOf(const std::string& model) {
  const std::string stem = std::filesystem::path(model).stem();
  for (std::string dir : {"corpus/loads/", "corpus/project_caf/", "fixture/"}) {
    const std::string loads = fuzzFile(dir + common::fileOf(stem, common::kLoadsExt));
    if (std::filesystem::exists(loads)) return testsupport::readFile(loads);
  }
  return "";
}

RunResult run(Program program, const ScratchDir& dir) {
  switch (program) {
    case Program::calcdin: return testsupport::runProgram(CALCDIN_BINARY, {"m.dat", "m.bar", "m.din", "0"}, dir.path());
    case Program::alternancias: return testsupport::runProgram(ALTERNANCIAS_BINARY, {"--tabla", "m"}, dir.path());
    case Program::informe: return testsupport::runProgram(INFORME_BINARY, {"m", "m.din"}, dir.path());
    case Program::envelope: return testsupport::runProgram(BATCH_BINARY, {"ENV", "3000", "400", "m"}, dir.path());
  }
  return {};
}

// calcest on project m of the model and loads given.
RunResult analyse(const ScratchDir& dir, const std::string& model, const std::string& loads) {
  dir.write("m.dat", model);
  dir.write("m.caf", loads);
  return testsupport::runCalcest(CALCEST_BINARY, dir.path(), "m");
}

class EveryProgram : public ::testing::TestWithParam<std::string> {
 protected:
  // The good run of a family's project, made once.
  static const ScratchDir& standIn(const std::string& project) {
    static std::map<std::string, std::unique_ptr<ScratchDir>> runs;
    std::unique_ptr<ScratchDir>& dir = runs[project];
    if (!dir) {
      dir = std::make_unique<ScratchDir>();
      analyse(*dir, testsupport::readFile(fuzzFile(project + common::kModelExt)), loadsOf(project + common::kModelExt));
      run(Program::calcdin, *dir);
      run(Program::alternancias, *dir);
    }
    return *dir;
  }

  static const Family& familyOf(const std::string& model) {
    for (const Family& family : kFamilies)
      if (model.rfind(family.directory, 0) == 0) return family;
    throw std::logic_error("no family for " + model);
  }
};

TEST_P(EveryProgram, GivesCalcestsVerdictOnTheModel) {
  const std::string model = GetParam();
  ScratchDir dir;
  const RunResult calcest = analyse(dir, testsupport::readFile(fuzzFile(model)), loadsOf(model));
  const bool accepted = calcest.status == 0;
  if (!accepted) {
    const ScratchDir& good = standIn(familyOf(model).standIn);
    for (const auto& entry : std::filesystem::directory_iterator(good.path()))
      if (entry.path().filename() != "m.dat")
        std::filesystem::copy(entry.path(), dir.file(entry.path().filename()),
                              std::filesystem::copy_options::overwrite_existing);
  }
  // In the workflow's order, so each run leaves what the next reads (modes,
  // force table); each program is judged on its own.
  for (Program program : {Program::calcdin, Program::alternancias, Program::informe, Program::envelope}) {
    const RunResult result = run(program, dir);
    const bool limit = limited(program, model);
    EXPECT_EQ(result.status == 0, limit ? !accepted : accepted)
        << nameOf(program) << (result.status == 0 ? " accepts" : " refuses") << " a model calcest "
        << (accepted ? "accepts" : "refuses") << (limit ? ", against its listed limit" : "") << ":\n"
        << calcest.output << "\n"
        << result.output;
  }
}

std::vector<std::string> models() {
  std::vector<std::string> found;
  for (const Family& family : kFamilies)
    for (const auto& entry : std::filesystem::directory_iterator(fuzzFile(family.directory)))
      found.push_back(std::string(family.directory) + "/" + entry.path().filename().string());
  std::sort(found.begin(), found.end());
  return found;
}

std::string testName(const ::testing::TestParamInfo<std::string>& info) {
  std::string name = info.param;
  for (char& c : name)
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  return name;
}

INSTANTIATE_TEST_SUITE_P(FuzzInputs, EveryProgram, ::testing::ValuesIn(models()), testName);

// A limit that no longer holds is not left in the list.
TEST(EveryProgram, ListsOnlyLimitsOfModelsItReplays) {
  const std::vector<std::string> all = models();
  for (const Limit& limit : kLimits)
    EXPECT_NE(std::find(all.begin(), all.end(), limit.model), all.end()) << limit.model << ": " << limit.reason;
}

}  // namespace
