#include "common/decimal_text.h"

#include <charconv>
#include <cmath>
#include <type_traits>

namespace common {

namespace {
template <class Number>
bool whole(const char* begin, const char* end, Number& value) {
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
}  // namespace

bool readNumber(const char* begin, const char* end, int& value) { return whole(begin, end, value); }
bool readNumber(const char* begin, const char* end, float& value) { return whole(begin, end, value); }
bool readNumber(const char* begin, const char* end, double& value) { return whole(begin, end, value); }

}  // namespace common
