// Starting other programs, against small shell commands: how they end, what
// they read and write, and that nothing of this process reaches them.
#include "common/child_process.h"

#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <utility>

#include "common/testing/test_support.h"

using common::ChildProgram;
using common::ChildRun;
using common::runChild;
using common::startChild;
using common::waitForChild;
using testsupport::ScratchDir;
using Clock = std::chrono::steady_clock;

namespace {

ChildProgram shell(const std::string& command, const std::string& folder = "") {
  return {{"/bin/sh", "-c", command}, folder, nullptr, {}};
}

double secondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

TEST(RunChild, EndsAsTheProgramEndsWithItsOutput) {
  struct Case {
    const char* command;
    int status, signal;
    std::string output;
  };
  const Case cases[] = {
      {"exit 0", 0, 0, ""},
      {"exit 3", 3, 0, ""},
      {"echo uno; echo dos >&2; printf tres", 0, 0, "uno\ndos\ntres"},
      {"echo antes; kill -TERM $$; echo despues", -1, SIGTERM, "antes\n"},
      {"kill -KILL $$", -1, SIGKILL, ""},
  };
  for (const Case& c : cases) {
    const ChildRun run = runChild(shell(c.command), nullptr, 30);
    EXPECT_TRUE(run.started()) << c.command;
    EXPECT_EQ(run.status, c.status) << c.command;
    EXPECT_EQ(run.signal, c.signal) << c.command;
    EXPECT_FALSE(run.timedOut) << c.command;
    EXPECT_EQ(run.output, c.output) << c.command;
  }
}

TEST(RunChild, TheTimeLimitKillsTheProgram) {
  const Clock::time_point start = Clock::now();
  const ChildRun run = runChild(shell("echo empieza; exec sleep 60"), nullptr, 1);
  EXPECT_LT(secondsSince(start), 20.0);
  EXPECT_TRUE(run.timedOut);
  EXPECT_EQ(run.signal, SIGKILL);
  EXPECT_EQ(run.status, -1);
  EXPECT_EQ(run.output, "empieza\n");
}

// More than a pipe holds, both ways: the input is fed while the output is
// read, or the two would wait on each other until the time limit.
TEST(RunChild, LargeInputAndOutputFlowTogether) {
  std::string input;
  for (int k = 0; input.size() < 3000000; ++k) input += std::to_string(k) + "\n";
  const ChildRun echoed = runChild(shell("cat"), &input, 60);
  EXPECT_FALSE(echoed.timedOut);
  EXPECT_EQ(echoed.status, 0);
  EXPECT_TRUE(echoed.output == input) << echoed.output.size() << " bytes of " << input.size();

  // A flood is kept to its last bytes.
  ChildProgram flood = shell("head -c 3000000 /dev/zero; echo; echo FIN");
  flood.outputLimit = 4096;
  const ChildRun bounded = runChild(flood, nullptr, 60);
  EXPECT_EQ(bounded.status, 0);
  EXPECT_EQ(bounded.output, std::string(4091, '\0') + "\nFIN\n");

  const ChildRun produced = runChild(shell("head -c 3000000 /dev/zero"), nullptr, 60);
  EXPECT_EQ(produced.status, 0);
  EXPECT_TRUE(produced.output == std::string(3000000, '\0')) << produced.output.size() << " bytes";
}

// A child that stops reading must not take this process down with SIGPIPE.
TEST(RunChild, AChildThatReadsLittleOfItsInputEndsTheFeed) {
  const std::string input(4000000, 'x');
  const std::pair<const char*, const char*> cases[] = {{"exit 5", ""}, {"head -c 10; exit 5", "xxxxxxxxxx"}};
  for (const auto& [command, output] : cases) {
    const ChildRun run = runChild(shell(command), &input, 60);
    EXPECT_EQ(run.status, 5) << command;
    EXPECT_EQ(run.output, output) << command;
  }
  sigset_t pending;
  sigpending(&pending);
  EXPECT_FALSE(sigismember(&pending, SIGPIPE));
}

TEST(RunChild, WithoutInputTheProgramReadsNothing) {
  const ChildRun run = runChild(shell("cat; readlink /proc/$$/fd/0"), nullptr, 30);
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.output, "/dev/null\n");
}

TEST(RunChild, RunsInItsFolder) {
  ScratchDir dir;
  const ChildRun run = runChild(shell("pwd -P", dir.path()), nullptr, 30);
  EXPECT_EQ(run.output, std::filesystem::canonical(dir.path()).string() + "\n");
}

// Each way a start fails, for both entries: the errno of the failure, and
// nothing run.
TEST(ChildStart, FailuresGiveTheirReason) {
  ScratchDir dir;
  dir.write("texto", "no es un programa\n");
  chmod(dir.file("texto").c_str(), 0755);
  dir.write("guion", "#!/bin/sh\necho no\n");
  chmod(dir.file("guion").c_str(), 0644);
  struct Case {
    const char* what;
    ChildProgram program;
    int error;
  };
  const Case cases[] = {
      {"missing program", {{dir.file("nada")}, "", nullptr, {}}, ENOENT},
      {"bare name, not in the folder (never PATH)", {{"sh", "-c", "echo no"}, dir.path(), nullptr, {}}, ENOENT},
      {"missing folder", {{"/bin/sh", "-c", "echo no"}, dir.file("nada"), nullptr, {}}, ENOENT},
      {"not executable", {{dir.file("guion")}, "", nullptr, {}}, EACCES},
      {"no program at all", {{dir.file("texto")}, "", nullptr, {}}, ENOEXEC},
      {"refused by prepare",
       {{"/bin/sh", "-c", "echo no"},
        "",
        [] {
          errno = EPERM;
          return false;
        },
        {}},
       EPERM},
      {"no arguments", {{}, "", nullptr, {}}, EINVAL},
  };
  for (const Case& c : cases) {
    const ChildRun run = runChild(c.program, nullptr, 30);
    EXPECT_EQ(run.startError, c.error) << c.what;
    EXPECT_EQ(run.output, "") << c.what;
    errno = 0;
    EXPECT_EQ(startChild(c.program), -1) << c.what;
    EXPECT_EQ(errno, c.error) << c.what;
  }
}

// A descriptor this process leaves open across exec (a file, a pipe) is not
// the child's: the launcher's display connection must end with the launcher.
TEST(ChildStart, NoDescriptorOfThisProcessIsLeftOpen) {
  ScratchDir dir;
  const int file = open(dir.file("abierto").c_str(), O_CREAT | O_WRONLY, 0644);
  int ends[2];
  ASSERT_GE(file, 0);
  ASSERT_EQ(pipe(ends), 0);
  const std::string check = "for fd in " + std::to_string(file) + " " + std::to_string(ends[0]) + " " +
                            std::to_string(ends[1]) + "; do [ -e /proc/$$/fd/$fd ] && echo abierto $fd; done; " +
                            "echo revisado";
  EXPECT_EQ(runChild(shell(check), nullptr, 30).output, "revisado\n");

  const pid_t pid = startChild(shell("exec > fds.txt; " + check, dir.path()));
  ASSERT_GT(pid, 0);
  const int status = waitForChild(pid);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_EQ(dir.read("fds.txt"), "revisado\n");
  close(file);
  close(ends[0]);
  close(ends[1]);
}

// A signal this process ignores or blocks is at its default in the child: a
// shell sending itself SIGTERM ends by it.
TEST(ChildStart, SignalsAreResetInTheChild) {
  struct Setting {
    const char* what;
    std::function<void()> apply, undo;
  };
  struct sigaction previous {};
  sigset_t term, previousMask;
  sigemptyset(&term);
  sigaddset(&term, SIGTERM);
  const Setting settings[] = {
      {"ignored",
       [&] {
         struct sigaction ignore {};
         ignore.sa_handler = SIG_IGN;
         sigaction(SIGTERM, &ignore, &previous);
       },
       [&] { sigaction(SIGTERM, &previous, nullptr); }},
      {"blocked", [&] { pthread_sigmask(SIG_BLOCK, &term, &previousMask); },
       [&] { pthread_sigmask(SIG_SETMASK, &previousMask, nullptr); }},
  };
  const std::string command = "kill -TERM $$; echo sigue";
  for (const Setting& s : settings) {
    s.apply();
    const ChildRun run = runChild(shell(command), nullptr, 30);
    const pid_t pid = startChild(shell(command + " > /dev/null"));
    const int status = pid > 0 ? waitForChild(pid) : 0;
    s.undo();
    EXPECT_EQ(run.signal, SIGTERM) << s.what;
    EXPECT_EQ(run.output, "") << s.what;
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM) << s.what;
  }
}

TEST(StartChild, DoesNotWaitForTheProgram) {
  ScratchDir dir;
  const Clock::time_point start = Clock::now();
  const pid_t pid = startChild(shell("sleep 2; echo hecho > hecho.txt; exit 4", dir.path()));
  ASSERT_GT(pid, 0);
  EXPECT_LT(secondsSince(start), 1.5);
  EXPECT_FALSE(dir.exists("hecho.txt"));
  const int status = waitForChild(pid);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 4);
  EXPECT_EQ(dir.read("hecho.txt"), "hecho\n");
}

}  // namespace

// The entries given replace this process's of the same name; the others pass on.
TEST(RunChild, EnvironmentEntriesReplaceTheirNamesOnly) {
  setenv("VIGAS_TEST_A", "0", 1);
  setenv("VIGAS_TEST_AB", "2", 1);
  ChildProgram program = shell("echo \"$VIGAS_TEST_A-$VIGAS_TEST_AB\"");
  program.environment = {"VIGAS_TEST_A=1"};
  EXPECT_EQ(runChild(program, nullptr, 30).output, "1-2\n");
  unsetenv("VIGAS_TEST_A");
  unsetenv("VIGAS_TEST_AB");
}
