#pragma once
// The numbers of the suite's text files, read through std::from_chars, which
// gives the correctly rounded value that strtod, strtof and scanf give.
#include <charconv>
#include <cmath>
#include <type_traits>

namespace common {

// The whole text [begin, end) as one finite number of the type, as scanf's
// %d, %f and %lf read a field: an optional sign ('+' too, which from_chars
// alone refuses), then decimal digits (for reals with at most one point and an
// optional exponent), in the type's range. False for anything else (no digits,
// hexadecimal, "inf" and "nan", out of range, a stray character), which the
// caller refuses or hands to the C library's reader for its last word.
template <class Number>
inline bool readNumber(const char* begin, const char* end, Number& value) {
  static_assert(std::is_same_v<Number, int> || std::is_same_v<Number, float> || std::is_same_v<Number, double>);
  // "+5" is 5 to scanf; "+-5" and "+" are nothing.
  if (end - begin > 1 && *begin == '+' && begin[1] != '-' && begin[1] != '+') ++begin;
  Number read{};
  const auto got = std::from_chars(begin, end, read);
  if (got.ec != std::errc() || got.ptr != end) return false;
  if constexpr (std::is_floating_point_v<Number>)
    if (!std::isfinite(read)) return false;
  value = read;
  return true;
}

}  // namespace common
