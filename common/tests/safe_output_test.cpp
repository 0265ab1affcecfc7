// Outputs put in place whole or not at all, outputs that are inputs, and the
// lock of one run per name.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <thread>

#include "common/fellow_program.h"
#include "common/page_viewer.h"
#include "common/safe_output.h"
#include "common/testing/test_support.h"

using namespace common;

using testsupport::ScratchDir;

namespace {

std::vector<std::string> namesIn(const ScratchDir& dir) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir.path())) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

// Runs `body` in a child process that is then killed; returns after it died.
template <class Body>
void inKilledChild(Body body) {
  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  const pid_t child = fork();
  if (child == 0) {
    body();
    (void)!write(ready[1], "x", 1);
    pause();
    _exit(0);
  }
  char c;
  ASSERT_EQ(read(ready[0], &c, 1), 1);
  kill(child, SIGKILL);
  waitpid(child, nullptr, 0);
  close(ready[0]);
  close(ready[1]);
}

TEST(PendingFile, TheEarlierFileStaysUntilTheNewOneIsComplete) {
  ScratchDir dir;
  dir.write("r.res", "old");
  PendingFile out;
  ASSERT_TRUE(out.open(dir.file("r.res")));
  std::fputs("new", out.file());
  EXPECT_EQ(dir.read("r.res"), "old");
  ASSERT_TRUE(out.commit());
  EXPECT_EQ(dir.read("r.res"), "new");

  ASSERT_TRUE(out.open(dir.file("r.res")));
  std::fputs("dropped", out.file());
  out.discard();
  EXPECT_EQ(dir.read("r.res"), "new");
  EXPECT_EQ(namesIn(dir), std::vector<std::string>{"r.res"});
}

TEST(PendingFile, AKilledRunLeavesNothingBehind) {
  ScratchDir dir;
  dir.write("r.res", "old");
  inKilledChild([&] {
    static PendingFile out;
    if (out.open(dir.file("r.res"))) std::fputs("half", out.file()), std::fflush(out.file());
  });
  EXPECT_EQ(dir.read("r.res"), "old");
  EXPECT_EQ(namesIn(dir), std::vector<std::string>{"r.res"});
}

// A run killed while it put its files in place may leave a file under its name
// aside; the next new file of that name removes it, not one of a running process,
// also when the files of a run are opened with the folder listed once for all.
TEST(PendingFile, ANameAsideLeftByAKilledRunIsRemoved) {
  const auto aside = [](const char* name, long pid) { return "." + std::string(name) + "." + std::to_string(pid) + ".1.tmp"; };
  const long killed = testsupport::endedProcessId(), running = getpid();
  for (int way = 0; way < 4; ++way) {
    SCOPED_TRACE(way);
    ScratchDir dir;
    for (const char* name : {"r.res", "s.res"}) dir.write(aside(name, killed), "half");
    dir.write(aside("r.res", running), "being put in place");
    dir.write("done.res", "finished");
    PendingFile out, other;
    PendingFiles set;
    OutputFolders folders;
    if (way == 0) {
      ASSERT_TRUE(out.open(dir.file("r.res")));
      EXPECT_EQ(namesIn(dir), (std::vector<std::string>{aside("r.res", running), aside("s.res", killed), "done.res"}));
      continue;
    }
    if (way == 3) {
      ASSERT_TRUE(out.open(dir.file("r.res"), &folders));
      ASSERT_TRUE(other.open(dir.file("s.res"), &folders));
      EXPECT_EQ(namesIn(dir), (std::vector<std::string>{aside("r.res", running), "done.res"}));
      continue;
    }
    ASSERT_TRUE(set.open(dir.file("r.res")));
    if (way == 1)
      ASSERT_TRUE(set.open(dir.file("s.res")));
    else
      ASSERT_TRUE(set.moveIn(dir.file("done.res"), dir.file("s.res")));
    EXPECT_EQ(namesIn(dir), (std::vector<std::string>{aside("r.res", running), "done.res"}));
  }
}

TEST(PendingFile, ALinkInPlaceOfTheOutputIsReplacedNotWrittenThrough) {
  ScratchDir dir;
  dir.write("m.dat", "model");
  ASSERT_EQ(symlink("m.dat", dir.file("r.res").c_str()), 0);
  PendingFile out;
  ASSERT_TRUE(out.open(dir.file("r.res")));
  std::fputs("results", out.file());
  ASSERT_TRUE(out.commit());
  EXPECT_EQ(dir.read("m.dat"), "model");
  EXPECT_EQ(dir.read("r.res"), "results");
}

// A directory could not be replaced when the run ends, and a device or FIFO is
// not to be swapped for a plain file: they are refused before anything is written.
TEST(PendingFile, ANameThatIsNoPlainFileIsRefused) {
  ScratchDir dir;
  std::filesystem::create_directory(dir.file("dir.res"));
  ASSERT_EQ(mkfifo(dir.file("fifo.res").c_str(), 0644), 0);
  for (const std::string& path : {dir.file("dir.res"), dir.file("fifo.res"), std::string("/dev/null")}) {
    PendingFile out;
    EXPECT_FALSE(out.open(path)) << path;
  }
  EXPECT_TRUE(std::filesystem::is_character_file("/dev/null"));
  EXPECT_EQ(namesIn(dir), (std::vector<std::string>{"dir.res", "fifo.res"}));
}

// Permissions do not bind root: as root the checks run in a child that has
// become the unprivileged user "nobody" (65534), owner of the folder.
TEST(PendingFile, AReadOnlyFileOrFolderIsNotWritten) {
  ScratchDir dir;
  dir.write("r.res", "kept");
  chmod(dir.file("r.res").c_str(), 0444);
  const pid_t child = fork();
  if (child == 0) {
    if (geteuid() == 0 && (chown(dir.path().c_str(), 65534, 65534) != 0 || setgid(65534) != 0 || setuid(65534) != 0))
      _exit(2);
    PendingFile out;
    const bool fileRefused = !out.open(dir.file("r.res"));
    chmod(dir.path().c_str(), 0555);
    const bool folderRefused = !out.open(dir.file("new.res"));
    chmod(dir.path().c_str(), 0755);
    _exit(fileRefused && folderRefused ? 0 : 1);
  }
  int status = 0;
  waitpid(child, &status, 0);
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(dir.read("r.res"), "kept");
  EXPECT_EQ(namesIn(dir), std::vector<std::string>{"r.res"});
}

TEST(PendingFile, AFolderOfThatNameIsNotReplacedByAFile) {
  ScratchDir dir;
  std::filesystem::create_directory(dir.file("r.res"));
  PendingFile out;
  EXPECT_FALSE(out.open(dir.file("r.res")));
  EXPECT_EQ(errno, EISDIR);
  EXPECT_EQ(namesIn(dir), std::vector<std::string>{"r.res"});
}

// A set of outputs: new files, a finished file moved in from a scratch folder,
// an earlier file removed. Nothing changes until the commit; a file that
// cannot be written completely (a file size limit stands for a full disk)
// leaves everything as it was.
TEST(PendingFiles, AllInPlaceAtTheCommitOrNoneWhenOneCannotBeWritten) {
  for (const bool full : {false, true}) {
    SCOPED_TRACE(full ? "a file too large" : "all written");
    ScratchDir dir;
    dir.write("a.res", "old a");
    dir.write("stale.res", "old");
    std::filesystem::create_directory(dir.file("scratch"));
    dir.write("scratch/m.res", "moved");
    const pid_t child = fork();
    if (child == 0) {
      signal(SIGXFSZ, SIG_IGN);
      const rlimit limit = {64, RLIM_INFINITY};
      if (full && setrlimit(RLIMIT_FSIZE, &limit) != 0) _exit(2);
      PendingFiles set;
      FILE* a = set.open(dir.file("a.res"));
      FILE* b = set.open(dir.file("b.res"));
      if (!a || !b || !set.moveIn(dir.file("scratch/m.res"), dir.file("m.res"))) _exit(3);
      set.removeAtCommit(dir.file("stale.res"));
      std::fputs("new a", a);
      std::fputs(std::string(100, 'b').c_str(), b);
      if (testsupport::readFile(dir.file("a.res")) != "old a" || std::filesystem::exists(dir.file("b.res"))) _exit(4);
      const bool committed = set.commit();
      _exit(committed == !full && (committed || set.failed() == dir.file("b.res")) ? 0 : 5);
    }
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_EQ(WEXITSTATUS(status), 0);
    const std::vector<std::string> left = full ? std::vector<std::string>{"a.res", "scratch", "stale.res"}
                                               : std::vector<std::string>{"a.res", "b.res", "m.res", "scratch"};
    EXPECT_EQ(namesIn(dir), left);
    EXPECT_EQ(dir.read("a.res"), full ? "old a" : "new a");
  }
}

TEST(SameFileCheck, FindsAnOutputThatIsAnInputUnderAnotherName) {
  ScratchDir dir;
  dir.write("m.dat", "model");
  ASSERT_EQ(symlink("m.dat", dir.file("link.esf").c_str()), 0);
  ASSERT_EQ(link(dir.file("m.dat").c_str(), dir.file("hard.res").c_str()), 0);
  const std::string model = dir.file("m.dat");
  EXPECT_EQ(outputThatIsAnInput({dir.file("new.res"), dir.file("link.esf")}, {model}).output, dir.file("link.esf"));
  EXPECT_EQ(outputThatIsAnInput({dir.file("hard.res")}, {model}).input, model);
  EXPECT_EQ(outputThatIsAnInput({model}, {dir.path() + "/./m.dat"}).output, model);
  EXPECT_EQ(outputThatIsAnInput({dir.file("new.res")}, {model}).output, "");
}

TEST(RunLock, OneRunAtATimeAndAKilledRunsLockIsTakenOver) {
  ScratchDir dir;
  const std::string lock = dir.file("V.lock");
  long holder = 0;
  // A live holder refuses the lock and is named.
  const pid_t sleeper = fork();
  if (sleeper == 0) {
    pause();
    _exit(0);
  }
  testsupport::writeFile(lock, std::to_string(sleeper) + "\n");
  RunLock second;
  EXPECT_FALSE(second.acquire(lock, holder));
  EXPECT_EQ(holder, sleeper);
  kill(sleeper, SIGKILL);
  waitpid(sleeper, nullptr, 0);
  // A lock made by a run that was then killed is left behind, and taken over.
  inKilledChild([&] {
    static RunLock held;
    long ignored;
    held.acquire(lock, ignored);
  });
  ASSERT_TRUE(dir.exists("V.lock"));
  RunLock third;
  EXPECT_TRUE(third.acquire(lock, holder));
  EXPECT_EQ(testsupport::readFile(lock), std::to_string(getpid()) + "\n");
  third.release();
  EXPECT_FALSE(dir.exists("V.lock"));
}

}  // namespace

namespace {
// A fellow program is looked for where VIGAS_BIN says (only there), else
// beside the running program (no calcest beside this test), else on PATH.
TEST(FellowProgram, ChosenFolderThenBesideThenPath) {
  ScratchDir chosen, onPath;
  for (const ScratchDir* dir : {&chosen, &onPath}) {
    dir->write("calcest", "#!/bin/sh\n");
    chmod(dir->file("calcest").c_str(), 0755);
  }
  onPath.write("informe", "not executable\n");
  const std::string savedPath = std::getenv("PATH");
  setenv("PATH", ("/nonexistent::" + onPath.path()).c_str(), 1);
  EXPECT_EQ(fellowProgram("calcest"), onPath.file("calcest"));
  EXPECT_EQ(fellowProgram("informe"), "");
  setenv("VIGAS_BIN", chosen.path().c_str(), 1);
  EXPECT_EQ(fellowProgram("calcest"), chosen.file("calcest"));
  setenv("VIGAS_BIN", "/nonexistent", 1);
  EXPECT_EQ(fellowProgram("calcest"), "");
  EXPECT_EQ(fellowNotFoundText(), "no est\xE1 en VIGAS_BIN (/nonexistent)");
  setenv("VIGAS_BIN", "", 1);  // as unset
  EXPECT_EQ(fellowProgram("calcest"), onPath.file("calcest"));
  EXPECT_NE(fellowNotFoundText().find("ni en el PATH (/nonexistent::" + onPath.path() + ")"), std::string::npos);
  unsetenv("VIGAS_BIN");
  setenv("PATH", savedPath.c_str(), 1);
}

// A page is shown in the suite's Webrix when there is one (found as the
// suite's programs are), run beside the page and given its name; else in the
// desktop's browser from PATH, given the page's whole path; with neither the
// message says where they were looked for.
TEST(PageViewer, WebrixElseTheDesktopsBrowser) {
  ScratchDir suite, path, pages;
  const std::string saysArguments = "#!/bin/sh\necho \"$0 $*\" > " + pages.file("shown") + "\n";
  suite.write("Webrix", saysArguments);
  path.write("xdg-open", saysArguments);
  for (const std::string& program : {suite.file("Webrix"), path.file("xdg-open")}) chmod(program.c_str(), 0755);
  const std::string savedPath = std::getenv("PATH");
  setenv("PATH", path.path().c_str(), 1);
  struct Case {
    std::string vigasBin, viewer, shown;
  } cases[] = {
      {suite.path(), "Webrix", suite.file("Webrix") + " viga.html viga.html 0"},
      {pages.path(), "xdg-open", path.file("xdg-open") + " " + pages.file("viga.html")},
  };
  for (const Case& c : cases) {
    setenv("VIGAS_BIN", c.vigasBin.c_str(), 1);
    std::filesystem::remove(pages.file("shown"));
    std::string viewer;
    ASSERT_EQ(showPage(pages.file("viga.html"), &viewer), "");
    EXPECT_EQ(viewer, c.viewer);
    for (int wait = 0; wait < 500 && !pages.exists("shown"); ++wait) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(pages.read("shown"), c.shown + "\n");
    EXPECT_EQ(pageViewerFor(pages.file("viga.html")).folder, pages.path()) << c.viewer;
  }
  setenv("PATH", pages.path().c_str(), 1);
  std::string viewer = "x";
  EXPECT_EQ(showPage(pages.file("viga.html"), &viewer),
            "no se encuentra Webrix (no est\xE1 en VIGAS_BIN (" + pages.path() + ")) ni xdg-open en el PATH");
  EXPECT_EQ(viewer, "");
  unsetenv("VIGAS_BIN");
  setenv("PATH", savedPath.c_str(), 1);
}
}  // namespace
