// TextOut against snprintf: the bytes that reach the file, past more than one
// block of its buffer, are the ones printf gives, in the order given. (The
// formatter itself is tested in common/tests/format_test.cpp.)
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "calcest/text_out.h"
#include "common/testing/test_support.h"

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

// Two files at once, as a run writes them, printed lines and whole blocks
// mixed: each file holds its bytes in the order given.
TEST(TextOut, FilesGetTheBytesPrintfGives) {
  testsupport::ScratchDir dir;
  const std::string names[2] = {dir.file("made.txt"), dir.file("printed.txt")};
  std::string expected[2];
  {
    TextOut outs[2];
    for (int f = 0; f < 2; ++f) outs[f].open(names[f]);
    for (int k = 0; k < 100000; ++k) {  // more than one buffer's worth
      TextOut& out = outs[k % 2];
      std::string& text = expected[k % 2];
      double v = std::ldexp(k * 0.7 - 3000.0, -(k % 30));
      out.print(" f[%d]= %lf\n", k, v);
      text += viaPrintf(" f[%d]= %lf\n", k, v);
      if (k % 25000 == 1) {  // bytes written as they are, more than a block at once
        std::string block(300000, static_cast<char>('a' + k / 25000));
        out.write(block);
        text += block;
      }
      if (k % 2000 == 500) {  // pieces of more than a block, one after another
        const std::string made = viaPrintf("<%d>\n", k) + std::string(50000, static_cast<char>('A' + k % 26));
        for (int piece = 0; piece < 3; ++piece) outs[0].write(made);
        expected[0] += made + made + made;
      }
    }
    for (TextOut& out : outs) ASSERT_TRUE(out.commit());
  }
  for (int f = 0; f < 2; ++f) {
    const std::string actual = testsupport::readFile(names[f]);
    // Megabytes of text: a difference is reported by its place, not by printing both.
    const auto differ = std::mismatch(actual.begin(), actual.end(), expected[f].begin(), expected[f].end());
    EXPECT_EQ(actual.size(), expected[f].size()) << names[f];
    EXPECT_TRUE(differ.first == actual.end() && differ.second == expected[f].end())
        << names[f] << ": first difference at byte " << (differ.first - actual.begin()) << ": \""
        << actual.substr(static_cast<size_t>(differ.first - actual.begin()), 40) << "\" instead of \""
        << expected[f].substr(static_cast<size_t>(differ.second - expected[f].begin()), 40) << "\"";
  }
}
