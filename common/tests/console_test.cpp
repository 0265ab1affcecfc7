#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>

#include "common/console.h"
#include "common/cp1252.h"
#include "common/process_start.h"
#include "common/testing/test_support.h"

using namespace common;

TEST(Cp1252, AccentsRoundTripThroughUtf8) {
  std::string text = "direcci\xF3n \x80 N\xDAMERO";
  std::string utf8 = cp1252ToUtf8(text);
  EXPECT_EQ(utf8, "direcci\xC3\xB3n \xE2\x82\xAC N\xC3\x9AMERO");
  EXPECT_EQ(utf8ToCp1252(utf8), text);
  EXPECT_EQ(utf8ToCp1252("\xE4\xB8\xAD"), "?");
}

namespace {
// Runs waitKey() in a child whose stdin `prepare` sets up. An alarm ends a child
// that blocks, so a hang shows as a signal instead of a stuck test run.
// Returns the raw wait status.
int waitKeyInChild(const std::function<void()>& prepare) {
  std::fflush(nullptr);
  pid_t child = fork();
  if (child == 0) {
    alarm(5);
    prepare();
    waitKey();
    _exit(0);
  }
  int status = -1;
  waitpid(child, &status, 0);
  return status;
}

bool returnedNormally(int status) { return WIFEXITED(status) && WEXITSTATUS(status) == 0; }
}  // namespace

TEST(KeyWait, TakesExactlyOneWaitingByte) {
  int fds[2];
  ASSERT_EQ(pipe(fds), 0);
  ASSERT_EQ(write(fds[1], "ab", 2), 2);
  close(fds[1]);
  EXPECT_TRUE(returnedNormally(waitKeyInChild([&] { dup2(fds[0], STDIN_FILENO); })));
  // The pipe's contents are shared with the child: only "b" is left.
  char rest[4] = {};
  EXPECT_EQ(read(fds[0], rest, sizeof rest), 1);
  EXPECT_EQ(rest[0], 'b');
  close(fds[0]);
}

TEST(KeyWait, ReturnsWithoutATerminalOrAByte) {
  int live[2], ended[2];
  ASSERT_EQ(pipe(live), 0);
  ASSERT_EQ(pipe(ended), 0);
  close(ended[1]);
  struct Case {
    const char* what;
    std::function<void()> prepare;
  } cases[] = {
      {"empty pipe, writer open", [&] { dup2(live[0], STDIN_FILENO); }},
      {"pipe at end of input", [&] { dup2(ended[0], STDIN_FILENO); }},
      {"closed stdin", [] { close(STDIN_FILENO); }},
  };
  for (const Case& c : cases) EXPECT_TRUE(returnedNormally(waitKeyInChild(c.prepare))) << c.what;
  for (int fd : {live[0], live[1], ended[0]}) close(fd);
}

// The start of every program: closed standard descriptors become /dev/null, in
// their own numbers, and a gone reader or a file over the size limit fails a
// write instead of ending the process.
TEST(ProcessStart, ClosedDescriptorsAreOpenedOnDevNullAndPipeAndSizeSignalsIgnored) {
  const int ok = testsupport::inChildWithin(5, [] {
    close(STDIN_FILENO);
    close(STDERR_FILENO);
    common::hardenProcess();
    struct stat null, in, err;
    const bool descriptors = stat("/dev/null", &null) == 0 && fstat(STDIN_FILENO, &in) == 0 &&
                             fstat(STDERR_FILENO, &err) == 0 && in.st_rdev == null.st_rdev &&
                             err.st_rdev == null.st_rdev && fcntl(STDOUT_FILENO, F_GETFD) != -1;
    int gone[2];
    if (pipe(gone) != 0) return false;
    close(gone[0]);
    const bool pipeFails = write(gone[1], "x", 1) == -1 && errno == EPIPE;
    const rlimit one{1, 1};
    const int file = open(std::filesystem::temp_directory_path().c_str(), O_TMPFILE | O_WRONLY, 0600);
    const bool sizeFails = setrlimit(RLIMIT_FSIZE, &one) == 0 && file >= 0 && write(file, "xy", 2) == 1 &&
                           write(file, "y", 1) == -1 && errno == EFBIG;
    return descriptors && pipeFails && sizeFails;
  });
  EXPECT_EQ(ok, 1);
}
