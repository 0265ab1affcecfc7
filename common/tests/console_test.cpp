#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include "console.h"
#include "cp1252.h"

TEST(Cp1252, AccentsRoundTripThroughUtf8) {
  std::string text = "direcci\xF3n \x80 N\xDAMERO";
  std::string utf8 = cp1252ToUtf8(text);
  EXPECT_EQ(utf8, "direcci\xC3\xB3n \xE2\x82\xAC N\xC3\x9AMERO");
  EXPECT_EQ(utf8ToCp1252(utf8), text);
  EXPECT_EQ(utf8ToCp1252("\xE4\xB8\xAD"), "?");
}

// The key wait must return at once when stdin is closed or an empty pipe.
TEST(KeyWait, NeverBlocksWithoutATerminal) {
  int saved = dup(STDIN_FILENO);
  int fds[2];
  ASSERT_EQ(pipe(fds), 0);
  dup2(fds[0], STDIN_FILENO);
  waitKey();  // empty pipe, writer still open: would hang if it blocked
  close(STDIN_FILENO);
  waitKey();  // closed stdin
  dup2(saved, STDIN_FILENO);
  close(saved);
  close(fds[0]);
  close(fds[1]);
  SUCCEED();
}
