// TextOut against snprintf: the bytes that reach the file, past more than one
// block of its buffer, are the ones printf gives, in the order given. (The
// formatter itself is tested in common/tests/format_test.cpp.)
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <unistd.h>

#include "calcest/text_out.h"

using namespace common;

using namespace calcest;

namespace {
template <class... Args>
std::string viaPrintf(const char* fmt, Args... args) {
  char buffer[2048];
  int n = std::snprintf(buffer, sizeof buffer, fmt, args...);
  return std::string(buffer, static_cast<size_t>(n));
}
}  // namespace

TEST(TextOut, FileGetsTheBytesPrintfGives) {
  char name[] = "/tmp/formatter-XXXXXX";
  int fd = mkstemp(name);
  ASSERT_GE(fd, 0);
  close(fd);
  std::string expected;
  {
    TextOut out;
    out.open(name);
    for (int k = 0; k < 100000; ++k) {  // more than one buffer's worth
      double v = std::ldexp(k * 0.7 - 3000.0, -(k % 30));
      out.print(" f[%d]= %lf\n", k, v);
      expected += viaPrintf(" f[%d]= %lf\n", k, v);
      if (k % 25000 == 0) {  // bytes written as they are, more than a block at once
        std::string block(300000, static_cast<char>('a' + k / 25000));
        out.write(block);
        expected += block;
      }
      if (k % 10000 == 5000) {  // bytes made later, on the writing thread: still in their place
        const std::string made = viaPrintf("<%d>\n", k);
        out.defer([made](TextBuffer& to) { to.append(made.data(), made.size()); });
        expected += made;
      }
    }
    ASSERT_TRUE(out.commit());
  }
  FILE* in = std::fopen(name, "rb");
  std::string actual;
  char buffer[65536];
  size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, in)) > 0) actual.append(buffer, got);
  std::fclose(in);
  std::remove(name);
  // Megabytes of text: a difference is reported by its place, not by printing both.
  const auto differ = std::mismatch(actual.begin(), actual.end(), expected.begin(), expected.end());
  EXPECT_EQ(actual.size(), expected.size());
  EXPECT_TRUE(differ.first == actual.end() && differ.second == expected.end())
      << "first difference at byte " << (differ.first - actual.begin()) << ": \""
      << actual.substr(static_cast<size_t>(differ.first - actual.begin()), 40) << "\" instead of \""
      << expected.substr(static_cast<size_t>(differ.second - expected.begin()), 40) << "\"";
}
