// Numbers read through from_chars must give the C library's values to the bit
// for every field scanf takes whole, and refuse what it does not.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

#include "common/decimal_text.h"

using namespace common;

namespace {

template <class Real>
bool sameBits(Real a, Real b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

// Taken: then the value is the C library's to the bit, for both widths.
void expectLibraryValue(const std::string& text) {
  SCOPED_TRACE(text);
  float f = 0;
  double d = 0;
  const char* end = text.data() + text.size();
  if (readNumber(text.data(), end, f)) {
    EXPECT_TRUE(sameBits(f, std::strtof(text.c_str(), nullptr)));
  }
  if (readNumber(text.data(), end, d)) {
    EXPECT_TRUE(sameBits(d, std::strtod(text.c_str(), nullptr)));
  }
}

TEST(ReadNumber, TakesWholeFiniteDecimalsInRange) {
  const struct {
    const char* text;
    bool asFloat, asDouble;
  } cases[] = {
      {"0", true, true},
      {"-0.000", true, true},
      {"2.0697", true, true},
      {"-4.4850", true, true},
      {".5", true, true},
      {"1.", true, true},
      {"16777217", true, true},
      {"0.00000000001", true, true},
      {"1234567890123456789", true, true},
      {"+1.5", true, true},
      {"+.5", true, true},
      {"1e5", true, true},
      {"-2.5E-3", true, true},
      {"1e+5", true, true},
      {"1e39", false, true},
      {"1e309", false, false},
      {"+-1", false, false},
      {"++1", false, false},
      {"+", false, false},
      {"-+1", false, false},
      {"0x1p3", false, false},
      {"inf", false, false},
      {"-inf", false, false},
      {"nan", false, false},
      {"", false, false},
      {"-", false, false},
      {".", false, false},
      {"1.5.2", false, false},
      {"1,5", false, false},
      {" 1", false, false},
      {"1 ", false, false},
      {"1e", false, false},
      {"1234567e", false, false},
      {"12 45678", false, false},
      {"1234567-", false, false},
      {"..123456", false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    const char* end = c.text + std::strlen(c.text);
    float f = 0;
    double d = 0;
    EXPECT_EQ(readNumber(c.text, end, f), c.asFloat);
    EXPECT_EQ(readNumber(c.text, end, d), c.asDouble);
    expectLibraryValue(c.text);
  }
}

TEST(ReadNumber, TakesWholeIntegersInRangeAsStrtolReadsThem) {
  const struct {
    const char* text;
    bool taken;
    int value;
  } cases[] = {
      {"0", true, 0},
      {"-17", true, -17},
      {"+42", true, 42},
      {"2147483647", true, 2147483647},
      {"-2147483648", true, -2147483647 - 1},
      {"2147483648", false, 0},
      {"0012", true, 12},
      {"+-1", false, 0},
      {"1.0", false, 0},
      {"1e3", false, 0},
      {"", false, 0},
      {"-", false, 0},
      {"0x10", false, 0},
      {"12a", false, 0},
      {" 5", false, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    int value = -99;
    EXPECT_EQ(readNumber(c.text, c.text + std::strlen(c.text), value), c.taken);
    if (c.taken) {
      EXPECT_EQ(value, c.value);
    }
  }
}

TEST(ReadNumber, RandomDecimalsNearRoundingTiesReadAsTheLibraryReadsThem) {
  std::mt19937_64 draw(20261208);
  for (int k = 0; k < 200000; ++k) {
    const int decimals = static_cast<int>(draw() % 12);
    const uint64_t digits = draw() % (k % 3 == 0 ? 100000000ULL : k % 2 ? 20000000ULL : 10000000000000000ULL);
    std::string text = std::to_string(digits);
    if (decimals > 0) {
      if (text.size() <= static_cast<size_t>(decimals)) text.insert(0, decimals + 1 - text.size(), '0');
      text.insert(text.size() - decimals, ".");
    }
    if (draw() % 2) text.insert(0, "-");
    float f = 0;
    double d = 0;
    EXPECT_TRUE(readNumber(text.data(), text.data() + text.size(), f)) << text;
    EXPECT_TRUE(readNumber(text.data(), text.data() + text.size(), d)) << text;
    expectLibraryValue(text);
  }
}

}  // namespace
