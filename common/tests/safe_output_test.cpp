// Outputs put in place whole or not at all, outputs that are inputs, and the
// lock of one run per name.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "safe_output.h"
#include "test_support.h"

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
