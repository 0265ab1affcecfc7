#pragma once
// Reals written as plain decimals ("-12.3456", "7", "0.25"), the form the
// suite's programs write, read without the general machinery of strtod. When
// the digits make a whole number the type holds exactly, and the power of ten
// of the decimals is exact in it too, one correctly rounded division gives the
// correctly rounded value, the one strtod/strtof give. Any other text
// (exponent, sign '+', too many digits, anything else) returns false, and the
// caller reads it the general way.
#include <cstdint>

namespace common {

// Eight bytes of text less '0' each (the first in the lowest byte): the high
// bit of each byte that is no digit, 0..9, set.
inline uint64_t notDigitBytes(uint64_t values) {
  constexpr uint64_t kHigh = 0x8080808080808080u;
  return (((values & ~kHigh) + 0x7676767676767676u) | values) & kHigh;
}

// Eight digits as bytes 0..9, the most significant in the lowest byte: the
// number they write, from pairs, fours and eights of them combined.
inline uint64_t eightDigitsValue(uint64_t digits) {
  digits = (digits * 10 + (digits >> 8)) & 0x00FF00FF00FF00FFu;
  digits = (digits * 100 + (digits >> 16)) & 0x0000FFFF0000FFFFu;
  return (digits * 10000 + (digits >> 32)) & 0xFFFFFFFFu;
}

bool plainDecimal(const char* begin, const char* end, float& value);
bool plainDecimal(const char* begin, const char* end, double& value);

// The plain decimal at the start of the text, up to its first character that
// is neither a digit nor its point: the end of it with its value, or null when
// it is no plain decimal of the exact range (so that plainDecimal(b, e, v) is
// plainDecimalPrefix(b, e, v) == e). For scanners that find a field's end and
// its number in one pass.
const char* plainDecimalPrefix(const char* begin, const char* end, float& value);

// The whole text as a number of the type: a plain decimal, else what
// std::from_chars reads to the end without going out of range. False for
// anything else (a leading '+', hexadecimal, out of range, a stray character),
// which the caller hands to the C library's reader.
bool exactDecimal(const char* begin, const char* end, float& value);
bool exactDecimal(const char* begin, const char* end, double& value);

}  // namespace common
