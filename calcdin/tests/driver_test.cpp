// The run in process, to see the key waits the console is asked for.
#include <gtest/gtest.h>

#include <string>

#include "calcdin/driver.h"
#include "calcdin/tests/fixtures.h"
#include "calcdin/jacobi.h"
#include "common/testing/test_support.h"

using namespace common;

namespace {
struct InProcessRun {
  testsupport::ScratchDir dir;
  RecordingConsole console;
  int status = -1;

  // The bar records are those of `recorded` when given: matrices the model
  // reader would not let through.
  InProcessRun(const fixtures::BeamModel& model, const std::string& option,
               const fixtures::BeamModel* recorded = nullptr) {
    dir.write("v.dat", model.modelText());
    dir.write("v.bar", (recorded ? *recorded : model).recordBytes());
    status = runConsoleProgram({dir.file("v.dat"), dir.file("v.bar"), dir.file("v.din"), option}, console,
                               calcdin::kCalcdin);
  }
};

fixtures::BeamModel fourBars() {
  fixtures::BeamModel m = fixtures::horizontalBeam(4, 8.0, 2.1e7, 0.12, 0.0016, 2.5);
  m.supports = {{1, 110, {0, 0}}, {5, 120, {0, 5.0e3}}};
  return m;
}
}  // namespace

TEST(CalcdinKeyWaits, OnlyTheReportedOptionsWaitAfterTheirReport) {
  for (auto [option, waits] : {std::pair<std::string, int>{"0", 1}, {"1", 1}, {"2", 1}, {"5", 0}, {"-1", 0}}) {
    InProcessRun run(fourBars(), option);
    EXPECT_EQ(run.status, 0) << option << run.console.text;
    EXPECT_EQ(run.console.keyWaits, waits) << option;
  }
}

TEST(CalcdinKeyWaits, UnknownBarTypeAndNumericalFailuresWaitForAKey) {
  fixtures::BeamModel m = fourBars();
  m.bars[2].type = 6;
  InProcessRun unknownType(m, "5");
  EXPECT_EQ(unknownType.status, 0);
  EXPECT_EQ(unknownType.console.keyWaits, 1);

  // Bar records of a negative modulus (which the model itself may not have) make
  // every stiffness diagonal negative: the threshold is negative, the test never
  // passes, and the run stops after the last sweep allowed.
  fixtures::BeamModel negative = fourBars();
  negative.materials[0].E = -2.1e7;
  InProcessRun noConvergence(fourBars(), "5", &negative);
  EXPECT_EQ(noConvergence.status, 1);
  EXPECT_EQ(noConvergence.console.keyWaits, 1);
  const std::string lastSweep = "NSW: " + std::to_string(calcdin::kMaxSweeps) + "\nNO HAY CONVERGENCIA\n";
  EXPECT_NE(noConvergence.console.text.find(lastSweep), std::string::npos);
  EXPECT_FALSE(noConvergence.dir.exists("v.din"));
}
