// The formatter against snprintf: the conversions the programs use over values
// chosen to be hard (rounding ties, negative zero, huge and tiny magnitudes,
// nan and inf), random values of every magnitude, and the conversions it hands
// to snprintf. Any differing byte fails.
#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "common/format.h"

using namespace common;

namespace {
template <class... Args>
std::string viaSnprintf(const char* fmt, Args... args) {
  int n = std::snprintf(nullptr, 0, fmt, args...);
  std::string text(static_cast<size_t>(n) + 1, '\0');
  std::snprintf(text.data(), text.size(), fmt, args...);
  text.resize(static_cast<size_t>(n));
  return text;
}

// Both entry points: a new string, and an append after text already there.
template <class... Args>
void expectAsSnprintf(const char* fmt, Args... args) {
  std::string expected = viaSnprintf(fmt, args...);
  ASSERT_EQ(formatText(fmt, args...), expected) << '"' << fmt << '"';
  TextBuffer buffer;
  buffer.append("ya", 2);
  appendFormat(buffer, fmt, args...);
  ASSERT_EQ(buffer.str(), "ya" + expected) << '"' << fmt << '"';
}

const char* const kRealFormats[] = {
    "%lf",  "%f",    "%+15lf",   "%15lf", "%7.3f",    "%6.3f",   "%10.4f",  "%7.3lf",  "%15.8lf", "%11.4f", "%20.10lf",
    "%.0f", "%.1f",  "%.2f",     "%.6f",  "%.10f",    "%.20f",   "%-12.3f", "%012.3f", "%+08.2f", "% f",    "%- 9.1f",
    "%F",   "%e",    "%+20.15e", "%.0e",  "%E",       "%-14.3e", "%013.4e", "%.30e",   "%g",      "%G",     "%.0g",
    "%.1g", "%.15g", "%.17g",    "%12g",  "%-+12.5g", "%.25g",   "%#g",     "%#.0f",   "%#.3e",   "%a",     "%.3A"};

std::vector<double> hardValues() {
  std::vector<double> v = {0.0,
                           -0.0,
                           1.0,
                           -1.0,
                           0.5,
                           1.5,
                           2.5,
                           -2.5,
                           0.05,
                           0.15,
                           0.25,
                           0.35,
                           1e-7,
                           -1e-7,
                           4.9e-7,
                           0.0000005,
                           5.000001e-7,
                           -0.0000005,
                           0.0000015,
                           9.9999995,
                           99.9999995,
                           0.0005,
                           0.00005,
                           0.125,
                           0.375,
                           123456.789,
                           999999.5,
                           1e15,
                           1e16,
                           9007199254740993.0,
                           1.8446744073709552e19,
                           1e20,
                           1e21,
                           1e22,
                           1e23,
                           1e300,
                           -1e300,
                           DBL_MAX,
                           -DBL_MAX,
                           DBL_MIN,
                           5e-324,
                           -5e-324,
                           1e-310,
                           9.5,
                           0.95,
                           0.095,
                           99999.95,
                           1e-5,
                           1e-4,
                           1e6 - 0.5,
                           980.6,
                           9.806,
                           1.0e6 * 3.75,
                           0.1 + 0.2,
                           1.0 / 3,
                           -2.0 / 3,
                           INFINITY,
                           -INFINITY,
                           NAN,
                           -NAN};
  // Exact ties at 0 to 10 decimals: odd multiples of 2^-(p+1).
  for (int p = 0; p <= 10; ++p)
    for (int k = 1; k < 200; k += 2) {
      double tie = std::ldexp(k, -(p + 1));
      v.push_back(tie);
      v.push_back(-tie);
      v.push_back(tie + 1234.0);
    }
  return v;
}
}  // namespace

TEST(Format, RealsAsSnprintfOnHardValues) {
  for (double value : hardValues())
    for (const char* fmt : kRealFormats) expectAsSnprintf(fmt, value);
}

TEST(Format, RealsAsSnprintfOnRandomValuesOfEveryMagnitude) {
  std::mt19937_64 random(20261208);
  std::uniform_real_distribution<double> mantissa(-1.0, 1.0);
  std::uniform_int_distribution<int> exponent(-40, 70);
  std::uniform_int_distribution<uint64_t> bits;
  const size_t formats = sizeof kRealFormats / sizeof *kRealFormats;
  for (int k = 0; k < 200000; ++k) {
    double value = std::ldexp(mantissa(random), exponent(random));
    if (k % 4 == 0) {  // any bit pattern, nan and inf included
      uint64_t raw = bits(random);
      std::memcpy(&value, &raw, sizeof value);
    }
    const char* fmt = kRealFormats[k % formats];
    ASSERT_EQ(formatText(fmt, value), viaSnprintf(fmt, value)) << '"' << fmt << "\" " << value;
  }
}

// The conversions without a format, on the same values and on random floats
// (the diagrams' labels): the bytes of the format they stand for.
TEST(Format, DirectConversionsAsTheirFormats) {
  const struct {
    int precision, width;
    bool plus;
  } kForms[] = {{6, 0, false},   {2, 6, false}, {6, 15, true}, {0, 0, true},
                {10, 20, false}, {3, 1, false}, {24, 0, false}};
  std::vector<double> values = hardValues();
  std::mt19937_64 random(20261209);
  std::uniform_real_distribution<float> wide(-1e6f, 1e6f);
  for (int k = 0; k < 20000; ++k) values.push_back(k % 2 ? wide(random) : std::ldexp(wide(random), -k % 40));
  for (double value : values)
    for (const auto& form : kForms) {
      char fmt[32];
      std::snprintf(fmt, sizeof fmt, form.plus ? "%%+%d.%df" : "%%%d.%df", form.width, form.precision);
      TextBuffer buffer;
      buffer.append("ya", 2);
      appendFixed(buffer, value, form.precision, form.width, form.plus);
      ASSERT_EQ(buffer.str(), "ya" + viaSnprintf(fmt, value)) << fmt << ' ' << value;
    }
  std::vector<int> integers = {INT_MAX, INT_MIN, INT_MIN + 1};
  for (int n = -20000; n <= 200000; n += n < 20000 ? 1 : 997) integers.push_back(n);
  for (int n : integers) {
    char text[12];
    ASSERT_EQ(std::string(text, putInt(text, n)), viaSnprintf("%d", n));
    for (int width : {0, 1, 3, 12}) {
      TextBuffer buffer;
      appendInt(buffer, n, width);
      ASSERT_EQ(buffer.str(), viaSnprintf("%*d", width, n)) << n << ' ' << width;
    }
  }
}

TEST(Format, IntegersAsSnprintf) {
  for (int n : {0, 1, -1, 7, -7, 99, 100, 999, -999, 12345, INT_MAX, INT_MIN})
    for (const char* fmt :
         {"%d",    "%i",      "%3d",    "%4d",  "%5d", "%-5d|", "%05d", "%+d", "% d", "%+05d", "%-+6d|", "%.3d", "%.0d",
          "%5.3d", "%-8.4d|", "%08.3d", "%02d", "%u",  "%5u",   "%+u",  "%x",  "%#o", "%hd",   "%hhd",   "%hu"})
      expectAsSnprintf(fmt, n);
  for (long long n : {0LL, -1LL, 1234567890123LL, LLONG_MAX, LLONG_MIN})
    for (const char* fmt : {"%lld", "%+15lld", "%-22lld|", "%llu", "%llx", "%jd"}) expectAsSnprintf(fmt, n);
  for (long n : {0L, -5L, LONG_MAX, LONG_MIN})
    for (const char* fmt : {"%ld", "%8ld", "%lu", "%td"}) expectAsSnprintf(fmt, n);
  for (size_t n : {size_t{0}, size_t{40}, SIZE_MAX})
    for (const char* fmt : {"%zu", "%5zu", "%zd", "%zx"}) expectAsSnprintf(fmt, n);
}

TEST(Format, TextCharactersAndPercentAsSnprintf) {
  for (const char* s : {"", "y", "VIGA3", "DIRECCI\xD3N", "una cadena bastante larga para el ancho"})
    for (const char* fmt : {"%s", "[%10s]", "[%-10s]", "[%.3s]", "[%-8.2s]", "[%.0s]", "[%1s]", "100%% %s"})
      expectAsSnprintf(fmt, s);
  for (int c : {int{'y'}, int{'A'}, int{' '}, 0xD3})
    for (const char* fmt : {"%c", "[%3c]", "[%-3c]"}) expectAsSnprintf(fmt, c);
  expectAsSnprintf("%s", static_cast<const char*>(nullptr));
  std::string longText(3000, 'x');
  expectAsSnprintf("<%s>", longText.c_str());
  expectAsSnprintf("%1000d", 5);
  expectAsSnprintf("%.400f", 1e300);                  // more digits than the formatter keeps on its stack
  expectAsSnprintf("%.1000001f|%1000001d|", 0.5, 7);  // width and precision beyond what is parsed here
}

TEST(Format, WidthAndPrecisionFromArguments) {
  for (int width : {0, 3, 12, -12})
    for (int precision : {-1, 0, 2, 9}) {
      expectAsSnprintf("[%*d]", width, 42);
      expectAsSnprintf("[%*.*f]", width, precision, -3.14159);
      expectAsSnprintf("[%.*s]", precision, "VIGA3");
      expectAsSnprintf("[%-*.*e]", width, precision, 6.02e23);
    }
}

TEST(Format, TheProgramsLineFormats) {
  expectAsSnprintf(" paso: %d  fila: %d  sr: %lf  s: %lf  sr/s: %lf\n", 12, 7, 3.5e12, -0.0, 1.0 / 3);
  expectAsSnprintf("  %3d    %3d %3d     %+15lf %+15lf    %+15lf  %+15lf \n", 1, 12, 1234, -0.0, 31.25, 1e-9, -7.5);
  expectAsSnprintf(" %5d  %5d  ****  %5d    %5d    %c    %+20.15e\n", 2, 2, 5, 2, 'y', 3.0);
  expectAsSnprintf("   %s   %d    %d \n", "VIGA3", 1, 0);
  expectAsSnprintf("prueba k  %4d  i: %4d  j: %4d  k2: %lf  k2x: %lf\n", 250, 6, 6, 1e7 / 3, -2.0);
  expectAsSnprintf("%d %d %.15g %.15g %.15g %.15g %c\n", 3, 1, 0.1, 2.5, -1e-3, 1e21, 'y');
  expectAsSnprintf("    %-24s %11.4f %-11s %-6s %-14s ", "momento", -12.34565, "x = 2.5", "x1.35", "");
  expectAsSnprintf("ERROR: EL FICHERO %s TIENE %lld BYTES (%zu)\n", "a.bar", 123456789012LL, size_t{42});
}

TEST(Format, WhatOnlySnprintfDoes) {
  expectAsSnprintf("%Lf %Le %Lg", 1.5L, -2.25e-300L, 1e4000L);
  expectAsSnprintf("%d %p", 3, static_cast<void*>(nullptr));
  expectAsSnprintf("%2$s %1$d %2$s", 7, "veces");  // argument numbers
  expectAsSnprintf("%hd %hhu %ld %lc %ls %jd %td %#x %05s|%-3c%%", 70000, 300, -4L, L'y', L"ab", intmax_t{-9},
                   ptrdiff_t{8}, 255u, "ab", 'z');
  expectAsSnprintf("%5%|");
}

// %n counts the bytes of this call only, even after text already in the buffer.
TEST(Format, CountsTheBytesOfItsOwnCall) {
  int expected = -1, counted = -1;
  long long countedLong = -1;
  std::snprintf(nullptr, 0, "%s%n|", "VIGA3", &expected);
  TextBuffer buffer;
  buffer.append("antes", 5);
  appendFormat(buffer, "%s%n|%lln", "VIGA3", &counted, &countedLong);
  EXPECT_EQ(counted, expected);
  EXPECT_EQ(countedLong, expected + 1);
  EXPECT_EQ(buffer.str(), "antesVIGA3|");
}

TEST(Format, TextBufferKeepsEveryByteAsItGrows) {
  TextBuffer buffer;
  std::string expected;
  for (int k = 0; k < 20000; ++k) {
    appendFormat(buffer, " f[%d]= %lf\n", k, k * 0.37);
    expected += viaSnprintf(" f[%d]= %lf\n", k, k * 0.37);
  }
  EXPECT_EQ(buffer.str(), expected);
  buffer.truncate(3);
  EXPECT_EQ(buffer.str(), expected.substr(0, 3));
}

namespace {
void appendVia(TextBuffer& out, const char* fmt, ...) __attribute__((format(printf, 2, 3)));
void appendVia(TextBuffer& out, const char* fmt, ...) {
  va_list list;
  va_start(list, fmt);
  appendFormatV(out, fmt, list);
  va_end(list);
}
}  // namespace

// Many formats, one after another into one buffer, lines beyond the room a
// call starts with among them: every line as snprintf writes it.
TEST(Format, ManyFormatsIntoOneBufferWriteWhatSnprintfWrites) {
  static char formats[80][12];
  for (int k = 0; k < 80; ++k) std::snprintf(formats[k], sizeof formats[k], "%d:%%+.%dlf|", k, k % 11);
  TextBuffer buffer;
  std::string expected;
  const std::string wide(300, 'w');
  for (int round = 0; round < 3; ++round) {
    for (int k = 0; k < 80; ++k) {
      appendVia(buffer, formats[k], -k * 0.37);
      expected += viaSnprintf(formats[k], -k * 0.37);
    }
    appendVia(buffer, " paso: %d  fila: %d  sr: %lf  %s %c\n", round, 7, 1.0 / 3, "s", 'y');
    expected += viaSnprintf(" paso: %d  fila: %d  sr: %lf  %s %c\n", round, 7, 1.0 / 3, "s", 'y');
    appendVia(buffer, "%hd|%s|", 70000 + round, wide.c_str());
    expected += viaSnprintf("%hd|%s|", 70000 + round, wide.c_str());
  }
  EXPECT_EQ(buffer.str(), expected);
}
