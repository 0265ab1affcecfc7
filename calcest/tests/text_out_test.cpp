// The fast formatter against snprintf: every format the result and trace
// files use, over random values, negative zero, rounding ties, and large and
// tiny magnitudes. Any differing byte fails.
#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdio>
#include <random>
#include <stdexcept>
#include <cstring>
#include <unistd.h>
#include <vector>

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

// Formats with one real among the program's formats (the real conversions).
const char* const kRealFormats[] = {"%lf", "%+15lf", "%15lf", "%7.3f", "%6.3f", "%10.4f", "%7.3lf",
                                    "%15.8lf", "%+20.15e", "%f", "%.0f", "%.1f", "%.2f", "%.10f"};

std::vector<double> interestingValues() {
  std::vector<double> v = {0.0, -0.0, 1.0, -1.0, 0.5, 1.5, 2.5, -2.5, 0.05, 0.15, 0.25, 0.35,
                           1e-7, -1e-7, 4.9e-7, 5e-7, 5.000001e-7, -5e-7, 9.9999995, 99.9999995,
                           0.0005, 0.00005, 123456.789, 1e15, 1e16, 9007199254740993.0, 1.8446744073709552e19,
                           1e20, 1e22, 1e300, -1e300, DBL_MAX, -DBL_MAX, DBL_MIN, 5e-324, 1e-310,
                           INFINITY, -INFINITY, NAN, -NAN, 980.6, 9.806, 1.0e6 * 3.75, 0.1 + 0.2};
  // Exact ties at 3, 4, 6 and 8 decimals: odd multiples of 2^-(p+1).
  for (int p : {3, 4, 6, 8, 10})
    for (int k = 1; k < 400; k += 2) {
      double tie = std::ldexp(k, -(p + 1));
      v.push_back(tie);
      v.push_back(-tie);
      v.push_back(tie + 1234.0);
    }
  return v;
}
}  // namespace

// Through the path files use: the parse of each literal format is cached.
std::string viaCachedFormat(const char* fmt, double value) {
  FormatSink sink;
  FormatArg arg = formatArg(value);
  appendFormattedLiteral(sink, fmt, &arg, 1);
  return sink.str();
}

TEST(Formatter, MatchesPrintfOnInterestingValues) {
  for (double value : interestingValues())
    for (const char* fmt : kRealFormats) {
      ASSERT_EQ(formatted(fmt, value), viaPrintf(fmt, value)) << fmt << " " << value;
      ASSERT_EQ(viaCachedFormat(fmt, value), viaPrintf(fmt, value)) << fmt << " " << value;
    }
}

TEST(Formatter, MatchesPrintfOnRandomValuesOfEveryMagnitude) {
  std::mt19937_64 random(20261208);
  std::uniform_real_distribution<double> mantissa(-1.0, 1.0);
  std::uniform_int_distribution<int> exponent(-40, 70);
  std::uniform_int_distribution<uint64_t> bits;
  for (int k = 0; k < 200000; ++k) {
    double value = std::ldexp(mantissa(random), exponent(random));
    if (k % 4 == 0) {  // any bit pattern, nan and inf included
      uint64_t raw = bits(random);
      std::memcpy(&value, &raw, sizeof value);
    }
    const char* fmt = kRealFormats[k % (sizeof kRealFormats / sizeof *kRealFormats)];
    ASSERT_EQ(viaCachedFormat(fmt, value), viaPrintf(fmt, value)) << fmt << " " << value;
  }
}

TEST(Formatter, MatchesPrintfOnTheProgramsLineFormats) {
  EXPECT_EQ(formatted(" paso: %d  fila: %d  sr: %lf  s: %lf  sr/s: %lf\n", 12, 7, 3.5e12, -0.0, 1.0 / 3),
            viaPrintf(" paso: %d  fila: %d  sr: %lf  s: %lf  sr/s: %lf\n", 12, 7, 3.5e12, -0.0, 1.0 / 3));
  EXPECT_EQ(formatted("  %3d    %3d %3d     %+15lf %+15lf    %+15lf  %+15lf \n", 1, 12, 1234, -0.0, 31.25, 1e-9, -7.5),
            viaPrintf("  %3d    %3d %3d     %+15lf %+15lf    %+15lf  %+15lf \n", 1, 12, 1234, -0.0, 31.25, 1e-9, -7.5));
  EXPECT_EQ(formatted(" %5d  %5d  ****  %5d    %5d    %c    %+20.15e\n", 2, 2, 5, 2, 'y', 3.0),
            viaPrintf(" %5d  %5d  ****  %5d    %5d    %c    %+20.15e\n", 2, 2, 5, 2, 'y', 3.0));
  EXPECT_EQ(formatted("   %s   %d    %d \n", "VIGA3", 1, 0), viaPrintf("   %s   %d    %d \n", "VIGA3", 1, 0));
  EXPECT_EQ(formatted("prueba k  %4d  i: %4d  j: %4d  k2: %lf  k2x: %lf\n", 250, 6, 6, 1e7 / 3, -2.0),
            viaPrintf("prueba k  %4d  i: %4d  j: %4d  k2: %lf  k2x: %lf\n", 250, 6, 6, 1e7 / 3, -2.0));
  for (int n : {0, 1, -1, 7, 99, 100, 999, -999, 12345, INT_MAX, INT_MIN})
    for (const char* fmt : {"%d", "%3d", "%4d", "%5d", "%+d", " s[%d*%d+%d]= %lf\n"})
      EXPECT_EQ(formatted(fmt, n, n, n, 0.5), viaPrintf(fmt, n, n, n, 0.5)) << fmt << " " << n;
  EXPECT_EQ(formatted("100%% %s", "listo"), "100% listo");
}

TEST(Formatter, FileOutputIsTheSameBytes) {
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
  EXPECT_EQ(actual, expected);
}

// Where the compiler cannot see the format, a value that does not suit its
// conversion, or a missing one, is refused instead of printed wrong.
TEST(Formatter, ArgumentsThatDoNotSuitTheirConversionsAreRefused) {
  EXPECT_THROW(formatted(" %lf\n", 7), std::logic_error);
  EXPECT_THROW(formatted(" %d\n", 7.0), std::logic_error);
  EXPECT_THROW(formatted(" %s\n", 'y'), std::logic_error);
  EXPECT_THROW(formatted(" %c\n", "y"), std::logic_error);
  EXPECT_THROW(formatted(" %d %d\n", 7), std::logic_error);
  EXPECT_EQ(formatted(" %d %c %s %.1f\n", 'A', 66, "C", 4.0), " 65 B C 4.0\n");
}
