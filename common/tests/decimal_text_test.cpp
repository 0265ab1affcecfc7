// Plain decimals read without strtod must give strtod's and strtof's values to
// the bit, and refuse what they do not take whole.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

#include "common/decimal_text.h"

using namespace common;

namespace {

template <class Real>
bool sameBits(Real a, Real b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// Taken: then the value is the C library's to the bit, for both widths.
void expectLibraryValue(const std::string& text) {
  SCOPED_TRACE(text);
  float f = 0;
  double d = 0;
  const char* end = text.data() + text.size();
  if (plainDecimal(text.data(), end, f)) {
    EXPECT_TRUE(sameBits(f, std::strtof(text.c_str(), nullptr)));
  }
  if (plainDecimal(text.data(), end, d)) {
    EXPECT_TRUE(sameBits(d, std::strtod(text.c_str(), nullptr)));
  }
}

TEST(PlainDecimal, TakesOnlyWholePlainDecimalsWithinTheExactRange) {
  const struct {
    const char* text;
    bool asFloat, asDouble;
  } cases[] = {
      {"0", true, true},           {"-0.000", true, true},           {"2.0697", true, true},
      {"-4.4850", true, true},     {".5", true, true},               {"1.", true, true},
      {"16777216", true, true},    {"16777217", false, true},        {"0.0000000001", true, true},
      {"0.00000000001", false, true}, {"123456789012345678", false, false}, {"1234567890123456789", false, false},
      {"+1.5", false, false},      {"1e5", false, false},            {"0x1p3", false, false},
      {"inf", false, false},       {"nan", false, false},            {"", false, false},
      {"-", false, false},         {".", false, false},              {"1.5.2", false, false},
      {"1,5", false, false},       {" 1", false, false},             {"1 ", false, false},
      // Eight bytes, taken at once.
      {"0.000000", true, true},    {"-0.143220", true, true},        {"99999999", false, true},
      {"1234567.", true, true},    {".1234567", true, true},         {"12345678", true, true},         {"-9.999999", true, true},
      {"1.2.3456", false, false},  {"1,234567", false, false},       {"12 45678", false, false},
      {"1234567-", false, false},  {"..123456", false, false},       {"1234567e", false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    const char* end = c.text + std::strlen(c.text);
    float f = 0;
    double d = 0;
    EXPECT_EQ(plainDecimal(c.text, end, f), c.asFloat);
    EXPECT_EQ(plainDecimal(c.text, end, d), c.asDouble);
    expectLibraryValue(c.text);
  }
}

TEST(PlainDecimal, RandomDecimalsNearRoundingTiesReadAsTheLibraryReadsThem) {
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
    expectLibraryValue(text);
  }
}

}  // namespace
