#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "common/bar_load.h"
#include "common/run_error.h"
#include "common/scan.h"
#include "common/testing/test_support.h"

using namespace common;
using testsupport::TempFile;

namespace {

// The reads the suite's readers make, each with targets of its conversions.
struct Node {
  static constexpr const char* kFormat = "%d %lf %lf";
  std::tuple<int, double, double> values;
};
struct Load {
  static constexpr const char* kFormat = "%d  %d  %lf  %lf  %lf  %lf %c";
  std::tuple<int, int, double, double, double, double, char> values;
};
struct Title {
  static constexpr const char* kFormat = "%7s   %d    %d";
  char word[8];
  std::tuple<int, int> values;
};
struct Floats {
  static constexpr const char* kFormat = "%d %f %f";
  std::tuple<int, float, float> values;
};

std::string show(int v) { return std::to_string(v); }
std::string show(char v) { return std::to_string(static_cast<unsigned char>(v)); }
std::string show(double v) {
  char text[64];
  std::snprintf(text, sizeof text, "%a", v);
  return text;
}
std::string show(float v) { return show(static_cast<double>(v)); }

template <class Read>
std::string shown(const Read& r) {
  std::string text;
  if constexpr (std::is_same_v<Read, Title>) text = std::string(r.word) + ";";
  std::apply([&](const auto&... v) { ((text += show(v) + ";"), ...); }, r.values);
  return text;
}

template <class Read, class Call>
void callWith(Read& r, Call&& call) {
  std::apply(
      [&](auto&... v) {
        if constexpr (std::is_same_v<Read, Title>)
          call(r.word, &v...);
        else
          call(&v...);
      },
      r.values);
}

bool finite(double v) { return std::isfinite(v); }
bool finite(float v) { return std::isfinite(v); }
template <class T>
bool finite(const T&) {
  return true;
}

// What each read gave until the first that failed or met the end, and where
// the file stood then: a line per read.
template <class Read>
std::string throughScanner(const std::string& bytes) {
  TempFile file(bytes);
  Scanner in(file.file, "f");
  std::string log;
  for (int step = 0; step < 50; ++step) {
    Read r{};
    bool more = false;
    try {
      if constexpr (std::is_same_v<Read, Load>) {  // a loads-file line read as its record
        BarLoad load;
        more = in.readFieldsUnlessEnd("x", load.fields());
        r.values = std::make_tuple(load.barLabel, load.ltype, load.a, load.c, load.b, load.q, load.dir);
      } else {
        callWith(r, [&](auto*... targets) { more = in.readUnlessEnd("x", Read::kFormat, targets...); });
      }
    } catch (const RunError&) {
      return log + "refused at " + std::to_string(in.offset()) + (in.reachedEnd() ? " end" : "") + "\n";
    }
    if (!more) return log + "ended at " + std::to_string(in.offset()) + "\n";
    log += shown(r) + " at " + std::to_string(in.offset()) + (in.reachedEnd() ? " end" : "") + "\n";
  }
  return log;
}

// The same reads made by fscanf on the file itself.
template <class Read>
std::string throughFscanf(const std::string& bytes) {
  TempFile file(bytes);
  FILE* f = file.file;
  const int expected = std::tuple_size_v<decltype(Read::values)> + (std::is_same_v<Read, Title> ? 1 : 0);
  std::string log;
  for (int step = 0; step < 50; ++step) {
    const auto where = [&] { return std::to_string(std::ftell(f)) + (std::feof(f) ? " end" : ""); };
    int c;
    do c = std::getc(f);
    while (c != EOF && std::isspace(c));
    if (c == EOF || c == 0x1A) return log + "ended at " + std::to_string(std::ftell(f)) + "\n";
    std::ungetc(c, f);
    Read r{};
    int got = 0;
    callWith(r, [&](auto*... targets) { got = std::fscanf(f, Read::kFormat, targets...); });
    if (got == EOF) return log + "ended at " + std::to_string(std::ftell(f)) + "\n";
    bool ok = got == expected;
    std::apply([&](const auto&... v) { ok = ok && (finite(v) && ...); }, r.values);
    if (!ok) return log + "refused at " + where() + "\n";
    log += shown(r) + " at " + where() + "\n";
  }
  return log;
}

template <class Read>
void expectSameAsFscanf(const std::string& bytes) {
  EXPECT_EQ(throughScanner<Read>(bytes), throughFscanf<Read>(bytes)) << "text: \"" << bytes << "\"";
}

}  // namespace

// Every value, failure, end and place in the file is the one fscanf on the
// file gives: plain fields taken directly, anything else through the library.
TEST(ScannerReads, WhatFscanfReadsOnTheSameFile) {
  const std::vector<std::string> texts = {
      "1 2.5 -3\n2 0.125 4e2\n",
      "1 +2.5 -.5\r\n2 1. 7\n",
      "1 1e400 0\n",
      "1 1e-400 0\n",
      "1 nan 0\n",
      "1 inf 0\n",
      "1 0x1p3 2\n",
      "1 2.5e 3\n",
      "1 2.5e+ 3\n",
      "1 2,5 3\n",
      "1 - 3\n",
      "1 + 3\n",
      "1 . 3\n",
      "12345678901 1 1\n",
      "-2147483648 1 1\n",
      "1 2.5 3",
      "1 2.5",
      "1 2.5 3\n\x1A junk",
      "   \n\t ",
      "",
      "1 2.5 3\n2 x 3\n",
      std::string("1 2\0 3\n", 7),
      "1\v2\f3\n",
      "1 0.1000000000000000055511151231257827 3\n",
      "1 3.4028235677973366e38 1.17549435e-38\n",
      "7 3 0.5 1.5 0 -12.25 y\n8 3 0 0 0 2 n",
      "007 -0 +0\n",
  };
  for (const std::string& text : texts) {
    expectSameAsFscanf<Node>(text);
    expectSameAsFscanf<Load>(text);
    expectSameAsFscanf<Floats>(text);
  }
  for (const char* text : {"TITLE 1 2\n", "LONGTITLE 1 2\n", "T\n1\n2", "T 1", "T x 2"})
    expectSameAsFscanf<Title>(text);

  // Texts of numbers, words and blanks in any order.
  const char* const pieces[] = {"1",  "-2", "+3", "0.25", "-1.5e3", "1e", ".",    "12345678901", "x",    "nan", " ",
                                "  ", "\n", "\t", "\r\n", "y",      "3.", "-.75", "1e-50",       "0x10", "\x1A"};
  std::mt19937 random(7);
  for (int k = 0; k < 400; ++k) {
    std::string text;
    const int count = static_cast<int>(random() % 24);
    for (int i = 0; i < count; ++i) {
      text += pieces[random() % std::size(pieces)];
      if (random() % 3) text += ' ';
    }
    expectSameAsFscanf<Node>(text);
    expectSameAsFscanf<Load>(text);
    expectSameAsFscanf<Floats>(text);
  }
}

// A model or loads file saved by an editor in UTF-8 may start with its
// byte-order mark: the title and the first value are read as without it.
TEST(ScannerReads, AByteOrderMarkAtTheStartIsSkipped) {
  TempFile model("\xEF\xBB\xBFVIGA3   1    0\n");
  Scanner titles(model.file, "m.dat");
  char word[24] = {};
  int a = 0, b = 0;
  titles.read("t\xEDtulo", "%23s %d %d", word, &a, &b);
  EXPECT_STREQ(word, "VIGA3");
  EXPECT_EQ(titles.line(), 1);

  TempFile loads(
      "\xEF\xBB\xBF"
      "2\n");
  Scanner counts(loads.file, "m.caf");
  int n = 0;
  counts.read("cantidad", "%d", &n);
  EXPECT_EQ(n, 2);
}
