#include "common/decimal_text.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstring>

namespace common {

namespace {
// Eight bytes of digits with at most one point among them (the usual field of
// the files, "%f" of a value below ten): its digits made a number at once, the
// most significant in the lowest byte. False for anything else.
__attribute__((always_inline)) inline bool eightPlain(const char* p, uint64_t& digits, int& decimals) {
  uint64_t values;
  std::memcpy(&values, p, sizeof values);
  values ^= 0x3030303030303030u;  // digits become 0..9, every other byte 10 or more
  const uint64_t other = notDigitBytes(values);
  decimals = 0;
  if (other != 0) {
    if ((other & (other - 1)) != 0) return false;  // two bytes that are no digit
    const int at = __builtin_ctzll(other) >> 3;
    if (p[at] != '.') return false;
    // The point taken out, the digits after it moved down one place, and a
    // leading zero put in its room at the front.
    const uint64_t below = (uint64_t{1} << (8 * at)) - 1;
    values = ((values & below) | ((values >> 8) & ~below)) << 8;
    decimals = 7 - at;
  }
  digits = eightDigitsValue(values);
  return true;
}

// Whole digits and decimals of [-]digits[.digits] at the start of the text, at
// most 18 digits so that they fit the integer: the end of them, null when
// there are none or too many.
__attribute__((always_inline)) inline const char* splitDecimal(const char* p, const char* end, bool& negative,
                                                               uint64_t& digits, int& decimals) {
  negative = p < end && *p == '-';
  if (negative) ++p;
  if (end - p == 8 && eightPlain(p, digits, decimals)) return end;
  digits = 0;
  // More than 18 digits wrap around here and are refused below.
  auto run = [&digits, end](const char* q) {
    for (; q < end && static_cast<unsigned>(*q - '0') < 10; ++q) digits = digits * 10 + static_cast<uint64_t>(*q - '0');
    return q;
  };
  const char* whole = p;
  p = run(p);
  const long wholeCount = p - whole;
  decimals = 0;
  if (p < end && *p == '.') {
    const char* fraction = ++p;
    p = run(p);
    decimals = static_cast<int>(std::min<long>(p - fraction, 99));
  }
  const long count = wholeCount + decimals;
  return count > 0 && count <= 18 ? p : nullptr;
}

// The powers of ten a double holds exactly (and so a float, up to 10^10).
constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                   1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

template <class Real, int kMantissaBits, int kExactPowers>
const char* readPlain(const char* begin, const char* end, Real& value) {
  bool negative = false;
  uint64_t digits = 0;
  int decimals = 0;
  const char* stop = splitDecimal(begin, end, negative, digits, decimals);
  if (!stop || digits > (uint64_t{1} << kMantissaBits) || decimals > kExactPowers) return nullptr;
  const Real magnitude =
      decimals == 0 ? static_cast<Real>(digits) : static_cast<Real>(digits) / static_cast<Real>(kPowersOfTen[decimals]);
  value = negative ? -magnitude : magnitude;
  return stop;
}
}  // namespace

// 10^10 = 2^10 * 5^10 and 5^10 < 2^24: exact in a float; 10^22 in a double.
const char* plainDecimalPrefix(const char* begin, const char* end, float& value) {
  return readPlain<float, 24, 10>(begin, end, value);
}

bool plainDecimal(const char* begin, const char* end, float& value) {
  float read = 0;
  if (readPlain<float, 24, 10>(begin, end, read) != end) return false;
  value = read;
  return true;
}

bool plainDecimal(const char* begin, const char* end, double& value) {
  double read = 0;
  if (readPlain<double, 53, 22>(begin, end, read) != end) return false;
  value = read;
  return true;
}

namespace {
template <class Real>
bool wholeText(const char* begin, const char* end, Real& value) {
  if (plainDecimal(begin, end, value)) return true;
  const auto got = std::from_chars(begin, end, value);
  return got.ec == std::errc() && got.ptr == end;
}
}  // namespace

bool exactDecimal(const char* begin, const char* end, float& value) { return wholeText(begin, end, value); }
bool exactDecimal(const char* begin, const char* end, double& value) { return wholeText(begin, end, value); }

}  // namespace common
