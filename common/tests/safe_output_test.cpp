// Outputs put in place whole or not at all, outputs that are inputs, and the
// lock of one run per name.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fcntl.h>

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
  const auto aside = [](const char* name, long pid) {
    return "." + std::string(name) + "." + std::to_string(pid) + ".1.tmp";
  };
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

// A results file the user made private stays private when a run replaces it,
// a file moved in as a new one does; a new name takes the usual mode.
TEST(PendingFiles, AReplacedFileKeepsItsMode) {
  ScratchDir dir;
  dir.write("a.res", "old a");
  dir.write("m.svg", "old m");
  std::filesystem::create_directory(dir.file("scratch"));
  dir.write("scratch/m.svg", "new m");
  ASSERT_EQ(chmod(dir.file("a.res").c_str(), 0600), 0);
  ASSERT_EQ(chmod(dir.file("m.svg").c_str(), 0640), 0);
  ASSERT_EQ(chmod(dir.file("scratch/m.svg").c_str(), 0666), 0);
  const mode_t mask = umask(022);
  PendingFiles set;
  ASSERT_TRUE(set.open(dir.file("a.res")) && set.open(dir.file("b.res")));
  ASSERT_TRUE(set.moveIn(dir.file("scratch/m.svg"), dir.file("m.svg")));
  EXPECT_TRUE(set.commit());
  umask(mask);
  for (const auto& [name, mode] : {std::pair<const char*, mode_t>{"a.res", 0600}, {"m.svg", 0640}, {"b.res", 0644}}) {
    struct stat info;
    ASSERT_EQ(stat(dir.file(name).c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, mode) << name;
  }
  EXPECT_EQ(dir.read("m.svg"), "new m");
}

// A name that can no longer be taken when the run ends (the folder changed
// meanwhile) stops the commit before the first file takes its name.
TEST(PendingFiles, ANameThatCannotBeTakenAtTheCommitLeavesEveryEarlierFile) {
  ScratchDir dir;
  dir.write("a.res", "old a");
  dir.write("b.res", "old b");
  PendingFiles set;
  FILE* a = set.open(dir.file("a.res"));
  FILE* b = set.open(dir.file("b.res"));
  ASSERT_TRUE(a && b);
  std::fputs("new a", a);
  std::fputs("new b", b);
  std::filesystem::remove(dir.file("b.res"));
  std::filesystem::create_directory(dir.file("b.res"));
  EXPECT_FALSE(set.commit());
  EXPECT_EQ(set.failed(), dir.file("b.res"));
  EXPECT_EQ(set.failureText(), "ERROR: NO SE PUDO ESCRIBIR EL FICHERO " + dir.file("b.res"));
  EXPECT_EQ(dir.read("a.res"), "old a");
  EXPECT_EQ(namesIn(dir), (std::vector<std::string>{"a.res", "b.res"}));
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
  for (const testsupport::LockHolder& kind : testsupport::lockHolders()) {
    SCOPED_TRACE(kind.what);
    const testsupport::PlantedLock planted(kind, lock);
    RunLock run;
    EXPECT_EQ(run.acquire(lock, holder), !kind.running());
    if (kind.running()) {
      EXPECT_EQ(holder, planted.id());  // named, and left as it was
      EXPECT_EQ(testsupport::readFile(lock), std::to_string(planted.id()) + "\n");
      continue;
    }
    EXPECT_EQ(testsupport::readFile(lock), std::to_string(getpid()) + "\n");
    run.release();
    EXPECT_FALSE(dir.exists("V.lock"));
  }
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
}

// Whatever stands in the lock's place that is no plain file is refused at
// once (a FIFO once hung the run for ever), and left as it was.
TEST(RunLock, ALockThatIsNoPlainFileIsRefusedAtOnce) {
  for (auto kind : {testsupport::NonPlainFile::kDirectory, testsupport::NonPlainFile::kFifo}) {
    ScratchDir dir;
    testsupport::putNonPlainFile(dir, "V.lock", kind);
    const auto before = testsupport::folderContents(dir.path());
    EXPECT_EQ(testsupport::inChildWithin(5,
                                         [&] {
                                           RunLock lock;
                                           long holder = 1;
                                           return !lock.acquire(dir.file("V.lock"), holder) && holder == kLockNotAFile;
                                         }),
              1);
    EXPECT_EQ(testsupport::changesSince(before, dir.path()), std::vector<std::string>{});
  }
  ScratchDir dir;
  dir.write("other", "the user's own\n");
  std::filesystem::create_symlink("other", dir.file("V.lock"));
  RunLock lock;
  long holder = 0;
  EXPECT_FALSE(lock.acquire(dir.file("V.lock"), holder));
  EXPECT_EQ(holder, kLockNotAFile);
  EXPECT_EQ(dir.read("other"), "the user's own\n");
  EXPECT_EQ(lockRefusalText("V", kLockNotAFile),
            "ERROR: EL FICHERO DE BLOQUEO V.lock NO ES UN FICHERO NORMAL (ES UN DIRECTORIO, UNA FIFO, UN ENLACE O UN "
            "DISPOSITIVO): B\xD3RRELO Y REPITA\n");
}

// Runs that find a stale lock at the same moment: only one of them takes it
// over at a time. Each holder makes a mark no one else may have made.
TEST(RunLock, RunsTakingOverAStaleLockTogetherHoldItOneAtATime) {
  ScratchDir dir;
  const std::string lock = dir.file("V.lock"), mark = dir.file("held");
  constexpr int kRounds = 100, kRuns = 4;
  int overlaps = 0, takers = 0;
  for (int round = 0; round < kRounds; ++round) {
    testsupport::writeFile(lock, std::to_string(testsupport::endedProcessId()) + "\n");
    std::vector<pid_t> runs;
    for (int k = 0; k < kRuns; ++k) {
      const pid_t child = fork();
      if (child == 0) {
        RunLock run;
        long holder = 0;
        if (!run.acquire(lock, holder)) _exit(2);
        const int made = ::open(mark.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
        usleep(2000);
        if (made >= 0) unlink(mark.c_str());
        _exit(made >= 0 ? 0 : 1);
      }
      runs.push_back(child);
    }
    for (pid_t child : runs) {
      int status = 0;
      waitpid(child, &status, 0);
      if (WIFEXITED(status) && WEXITSTATUS(status) == 1) ++overlaps;
      if (WIFEXITED(status) && WEXITSTATUS(status) != 2) ++takers;
    }
    unlink(lock.c_str());
  }
  EXPECT_EQ(overlaps, 0);
  EXPECT_GE(takers, kRounds);
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
    // The viewer runs on its own: its line is whole once it ends in a newline.
    const auto shown = [&pages] { return pages.exists("shown") ? pages.read("shown") : std::string(); };
    for (int wait = 0; wait < 500 && (shown().empty() || shown().back() != '\n'); ++wait)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
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
