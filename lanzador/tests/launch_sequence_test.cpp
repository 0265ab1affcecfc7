// The start sequence run against small stand-in scripts that log when they
// start and end, in a scratch directory made the current directory.
#include "lanzador/launch_sequence.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "common/testing/test_support.h"

namespace {

using testsupport::ScratchDir;
using Clock = std::chrono::steady_clock;

// Each stand-in appends "start NAME" and "end NAME" lines to log.txt, sleeping
// in between so overlapping runs would show up as interleaved lines.
std::string standIn(const std::string& name, double seconds) {
  return "#!/bin/sh\n"
         "echo \"start " +
         name +
         " $0 $#\" >> log.txt\n"
         "sleep " +
         std::to_string(seconds) +
         "\n"
         "echo \"end " +
         name + "\" >> log.txt\n";
}

class StartSequence : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(getcwd(previous_, sizeof previous_), nullptr);
    ASSERT_EQ(chdir(dir_.path().c_str()), 0);
  }
  void TearDown() override { ASSERT_EQ(chdir(previous_), 0); }

  void install(const std::string& name, double seconds, mode_t mode = 0755) {
    dir_.write(name, standIn(name, seconds));
    chmod(dir_.file(name).c_str(), mode);
  }
  std::string log() const { return dir_.exists("log.txt") ? dir_.read("log.txt") : std::string(); }

  // Waits (at most 10 s) for the main program to finish and reaps it.
  void reap(pid_t pid) {
    for (int i = 0; i < 1000; ++i) {
      int status;
      if (waitpid(pid, &status, WNOHANG) == pid) return;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    FAIL() << "main program stand-in did not end";
  }

  ScratchDir dir_;
  char previous_[4096];
};

TEST_F(StartSequence, StartsInOrderWaitsForTheFirstTwoButNotForTheMainProgram) {
  install("conexion.exe", 0.4);
  install("kaltrozip.exe", 0.4);
  install("kaltro.exe", 1.5);

  auto begin = Clock::now();
  pid_t mainPid = lanzador::runPrograms();
  double elapsed = std::chrono::duration<double>(Clock::now() - begin).count();

  ASSERT_GT(mainPid, 0);
  // Both waits took place (0.8 s), the main program's 1.5 s did not.
  EXPECT_GE(elapsed, 0.8);
  EXPECT_LT(elapsed, 0.8 + 1.2);
  // The first two have ended before the call returns; each is started by its
  // bare name with no arguments.
  EXPECT_EQ(log().substr(0, log().find("start kaltro.exe")),
            "start conexion.exe conexion.exe 0\nend conexion.exe\n"
            "start kaltrozip.exe kaltrozip.exe 0\nend kaltrozip.exe\n");
  reap(mainPid);
  EXPECT_EQ(log(),
            "start conexion.exe conexion.exe 0\nend conexion.exe\n"
            "start kaltrozip.exe kaltrozip.exe 0\nend kaltrozip.exe\n"
            "start kaltro.exe kaltro.exe 0\nend kaltro.exe\n");
}

TEST_F(StartSequence, MissingOrUnstartableProgramsAreSkipped) {
  // conexion.exe is absent, kaltrozip.exe is not executable: only the main
  // program runs.
  install("kaltrozip.exe", 0.1, 0644);
  install("kaltro.exe", 0.1);
  pid_t mainPid = lanzador::runPrograms();
  ASSERT_GT(mainPid, 0);
  reap(mainPid);
  EXPECT_EQ(log(), "start kaltro.exe kaltro.exe 0\nend kaltro.exe\n");
}

TEST_F(StartSequence, MainProgramThatCannotStartIsReportedToTheCaller) {
  install("conexion.exe", 0.1);
  // A directory and a file that is no program at all.
  ASSERT_EQ(mkdir(dir_.file("kaltrozip.exe").c_str(), 0755), 0);
  dir_.write("kaltro.exe", "not a program\n");
  chmod(dir_.file("kaltro.exe").c_str(), 0755);
  EXPECT_EQ(lanzador::runPrograms(), -1);
  EXPECT_EQ(log(), "start conexion.exe conexion.exe 0\nend conexion.exe\n");
}

TEST_F(StartSequence, ProgramsOnThePathAreNotStarted) {
  ScratchDir elsewhere;
  for (const char* name : {"conexion.exe", "kaltrozip.exe", "kaltro.exe"}) {
    elsewhere.write(name, "#!/bin/sh\necho ran >> " + elsewhere.file("ran.txt") + "\n");
    chmod(elsewhere.file(name).c_str(), 0755);
  }
  std::string oldPath = getenv("PATH") ? getenv("PATH") : "";
  setenv("PATH", (elsewhere.path() + ":" + oldPath).c_str(), 1);
  pid_t mainPid = lanzador::runPrograms();
  setenv("PATH", oldPath.c_str(), 1);
  EXPECT_EQ(mainPid, -1);
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  EXPECT_FALSE(elsewhere.exists("ran.txt"));
}

// An installation names the suite's main program (--principal): it is taken
// where the suite's programs find each other (here VIGAS_BIN), in place of
// kaltro.exe of the current directory; conexion.exe and kaltrozip.exe are
// still those of the current directory, and the opening message tells which
// of them are not there and which main program starts.
TEST_F(StartSequence, AConfiguredMainProgramIsTheSuitesAndTheAbsentOnesAreTold) {
  const lanzador::Options configured = lanzador::parseOptions({"--carpeta", "--principal", "vigas"});
  ASSERT_EQ(configured.suiteMainProgram, "vigas");
  for (const std::vector<std::string>& described : {std::vector<std::string>{"--carpeta"}, {"--principal"}, {}})
    EXPECT_EQ(lanzador::parseOptions(described).suiteMainProgram, "");
  ScratchDir suite;
  suite.write("vigas", standIn("vigas", 0.1));
  chmod(suite.file("vigas").c_str(), 0755);
  install("conexion.exe", 0.1);
  install("kaltro.exe", 0.1);
  setenv("VIGAS_BIN", suite.path().c_str(), 1);
  const std::string note = lanzador::configuredNote(configured);
  pid_t mainPid = lanzador::runPrograms(configured);
  ASSERT_GT(mainPid, 0);
  reap(mainPid);
  EXPECT_EQ(log(), "start conexion.exe conexion.exe 0\nend conexion.exe\nstart vigas " + suite.file("vigas") +
                       " 0\nend vigas\n");
  EXPECT_EQ(note, "\n\nkaltrozip.exe no est\xE1 en " + std::filesystem::current_path().string() +
                      ": no se ejecuta.\nPrograma principal: " + suite.file("vigas") + ".");
  std::remove(suite.file("vigas").c_str());
  EXPECT_EQ(lanzador::runPrograms(configured), -1);
  EXPECT_EQ(lanzador::noticeText(configured), "No se puede ejecutar vigas (no est\xE1 en VIGAS_BIN (" + suite.path() +
                                                  "))[Pulse File->Exit para continuar]");
  unsetenv("VIGAS_BIN");
  // The launcher as described says nothing more.
  EXPECT_EQ(lanzador::configuredNote({}), "");
  EXPECT_EQ(lanzador::noticeText({}), "Verificaci\xF3n de KALTRO[Pulse File->Exit para continuar]");
}

}  // namespace
