#include "common/format.h"

#include <string.h>  // strnlen, strchrnul

#include <algorithm>
#include <cctype>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sys/types.h>  // ssize_t

namespace common {

void TextBuffer::grow(size_t n) {
  size_t grown = std::max({used_ + n, 2 * capacity_, size_t{256}});
  // Written over before it is read: no zero-fill.
  std::unique_ptr<char[]> bigger(new char[grown]);
  if (used_) std::memcpy(bigger.get(), data_.get(), used_);
  data_ = std::move(bigger);
  capacity_ = grown;
}

namespace {

// A conversion done here: the integers, reals, strings and characters the
// suite writes, with flags, width and precision.
enum class Length { kNone, kLong, kLongLong, kSize };

struct Spec {
  bool minus = false, plus = false, space = false, zero = false;
  int width = 0, precision = -1;  // -1: no precision
  Length length = Length::kNone;
  char conversion = 0;
};

// Anything else (%n, %p, %x, %a, '#', long double, wide characters, argument
// numbers...) makes the whole format go to vsnprintf.
struct NotDoneHere {};

// The caller's arguments, passed by reference so every helper takes the next one.
struct Args {
  va_list list;
};

// n copies of c (a few, as a rule).
char* repeat(char* p, char c, size_t n) {
  if (n > 16) return std::fill_n(p, n, c);
  for (size_t k = 0; k < n; ++k) p[k] = c;
  return p + n;
}

// Writes sign, `zeros` zeros and body, padded to the width: spaces before,
// spaces after with '-', or more zeros after the sign when padWithZeros.
void emit(TextBuffer& out, const Spec& spec, char sign, size_t zeros, const char* body, size_t length,
          bool padWithZeros) {
  size_t total = (sign ? 1 : 0) + zeros + length;
  size_t fill = static_cast<size_t>(spec.width) > total ? static_cast<size_t>(spec.width) - total : 0;
  char* start = out.room(total + fill);
  char* p = start;
  if (spec.minus) padWithZeros = false;
  if (!spec.minus && !padWithZeros) p = repeat(p, ' ', fill);
  if (sign) *p++ = sign;
  if (padWithZeros) zeros += fill;
  p = repeat(p, '0', zeros);
  TextBuffer::copy(p, body, length);
  p += length;
  if (spec.minus) p = repeat(p, ' ', fill);
  out.advance(static_cast<size_t>(p - start));
}

void integer(TextBuffer& out, const Spec& spec, bool negative, unsigned long long magnitude, bool isSigned) {
  char digits[24];
  size_t length = static_cast<size_t>(std::to_chars(digits, digits + sizeof digits, magnitude).ptr - digits);
  char sign = negative ? '-' : !isSigned ? 0 : spec.plus ? '+' : spec.space ? ' ' : 0;
  if (spec.precision < 0) return emit(out, spec, sign, 0, digits, length, spec.zero);
  if (spec.precision == 0 && magnitude == 0) length = 0;
  size_t precision = static_cast<size_t>(spec.precision);
  emit(out, spec, sign, precision > length ? precision - length : 0, digits, length, false);
}

void signedInteger(TextBuffer& out, const Spec& spec, Args& args) {
  long long v;
  switch (spec.length) {
    case Length::kLong: v = va_arg(args.list, long); break;
    case Length::kLongLong: v = va_arg(args.list, long long); break;
    case Length::kSize: v = va_arg(args.list, ssize_t); break;
    default: v = va_arg(args.list, int); break;
  }
  unsigned long long magnitude = static_cast<unsigned long long>(v);
  integer(out, spec, v < 0, v < 0 ? 0ULL - magnitude : magnitude, true);
}

void unsignedInteger(TextBuffer& out, const Spec& spec, Args& args) {
  unsigned long long v;
  switch (spec.length) {
    case Length::kLong: v = va_arg(args.list, unsigned long); break;
    case Length::kLongLong: v = va_arg(args.list, unsigned long long); break;
    case Length::kSize: v = va_arg(args.list, size_t); break;
    default: v = va_arg(args.list, unsigned); break;
  }
  integer(out, spec, false, v, false);
}

// Fixed notation of a finite magnitude with up to 10 decimals whose scaled
// value fits 64 bits (every number of the traces): the exact binary value times
// 10^precision, rounded half to even, as std::to_chars and printf round it, at
// a fraction of their cost. False for anything else.
bool fixedDigits(double magnitude, int precision, char* body, size_t& length) {
  static const uint64_t kPowers[] = {1,         10,         100,         1000,         10000,
                                     100000,    1000000,    10000000,    100000000,    1000000000,
                                     10000000000ULL};
  if (precision > 10) return false;
  uint64_t bits;
  std::memcpy(&bits, &magnitude, sizeof bits);
  int exponent = static_cast<int>((bits >> 52) & 0x7FF);
  uint64_t mantissa = bits & ((uint64_t{1} << 52) - 1);
  if (exponent == 0x7FF || (bits >> 63)) return false;
  if (exponent == 0) {
    exponent = 1;  // subnormal
  } else {
    mantissa |= uint64_t{1} << 52;
  }
  int shift = exponent - 1075;  // magnitude = mantissa * 2^shift
  if (shift > 10) return false;
  using Wide = unsigned __int128;
  Wide scaled = static_cast<Wide>(mantissa) * kPowers[precision];
  Wide n = 0;  // far below half a unit of the last digit when shift <= -120
  if (shift >= 0) {
    n = scaled << shift;
  } else if (shift > -120) {
    n = scaled >> -shift;
    Wide rest = scaled & ((static_cast<Wide>(1) << -shift) - 1), half = static_cast<Wide>(1) << (-shift - 1);
    if (rest > half || (rest == half && (n & 1))) ++n;
  }
  if (n >> 64) return false;
  // Six decimals (printf's default) by a constant, which the compiler turns
  // into a multiplication.
  const uint64_t scale = precision == 6 ? 1000000 : kPowers[precision];
  uint64_t whole = precision == 6 ? static_cast<uint64_t>(n) / 1000000 : static_cast<uint64_t>(n) / scale;
  uint64_t fraction = static_cast<uint64_t>(n) - whole * scale;
  char* p = std::to_chars(body, body + 24, whole).ptr;
  if (precision > 0) {
    static const char kPairs[] =
        "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
        "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
        "8081828384858687888990919293949596979899";
    *p++ = '.';
    int k = precision;
    for (; k >= 2; k -= 2, fraction /= 100) std::memcpy(p + k - 2, kPairs + 2 * (fraction % 100), 2);
    if (k == 1) p[0] = static_cast<char>('0' + fraction);
    p += precision;
  }
  length = static_cast<size_t>(p - body);
  return true;
}

// The digits of %f, %e and %g: std::to_chars rounds the exact binary value
// correctly, as glibc's printf does.
void real(TextBuffer& out, const Spec& spec, double value) {
  std::chars_format form = std::chars_format::general;
  if (spec.conversion == 'f' || spec.conversion == 'F') form = std::chars_format::fixed;
  if (spec.conversion == 'e' || spec.conversion == 'E') form = std::chars_format::scientific;
  const int precision = spec.precision < 0 ? 6 : spec.precision;
  char body[512];
  size_t length = 0;
  if (form != std::chars_format::fixed || !fixedDigits(std::fabs(value), precision, body, length)) {
    std::to_chars_result r = std::to_chars(body, body + sizeof body, std::fabs(value), form, precision);
    if (r.ec != std::errc()) throw NotDoneHere{};  // more digits than fit here
    length = static_cast<size_t>(r.ptr - body);
  }
  if (spec.conversion == 'F' || spec.conversion == 'E' || spec.conversion == 'G')
    for (size_t k = 0; k < length; ++k) body[k] = static_cast<char>(std::toupper(static_cast<unsigned char>(body[k])));
  char sign = std::signbit(value) ? '-' : spec.plus ? '+' : spec.space ? ' ' : 0;
  emit(out, spec, sign, 0, body, length, spec.zero && std::isfinite(value));
}

int number(const char*& p) {
  int n = 0;
  while (*p >= '0' && *p <= '9') {
    if (n > (INT_MAX - 9) / 10) throw NotDoneHere{};
    n = n * 10 + (*p++ - '0');
  }
  return n;
}

// Does the conversion that starts at `percent`; returns where the text goes on.
const char* convert(TextBuffer& out, const char* percent, Args& args) {
  const char* p = percent + 1;
  Spec spec;
  for (;; ++p) {
    if (*p == '-') spec.minus = true;
    else if (*p == '+') spec.plus = true;
    else if (*p == ' ') spec.space = true;
    else if (*p == '0') spec.zero = true;
    else break;
  }
  if (*p == '*') {
    ++p;
    int width = va_arg(args.list, int);
    if (width < 0) spec.minus = true;
    spec.width = width == INT_MIN ? INT_MAX : std::abs(width);
  } else {
    spec.width = number(p);
  }
  if (*p == '.') {
    ++p;
    if (*p == '*') {
      ++p;
      int precision = va_arg(args.list, int);
      spec.precision = precision < 0 ? -1 : precision;
    } else {
      spec.precision = number(p);
    }
  }
  if (*p == 'l' && p[1] == 'l') spec.length = Length::kLongLong, p += 2;
  else if (*p == 'l') spec.length = Length::kLong, ++p;
  else if (*p == 'z') spec.length = Length::kSize, ++p;
  spec.conversion = *p;
  bool plain = spec.length == Length::kNone;
  switch (spec.conversion) {
    case 'd': case 'i':
      signedInteger(out, spec, args);
      break;
    case 'u':
      unsignedInteger(out, spec, args);
      break;
    case 'f': case 'F': case 'e': case 'E': case 'g': case 'G':
      if (spec.length != Length::kNone && spec.length != Length::kLong) throw NotDoneHere{};
      real(out, spec, va_arg(args.list, double));  // %lf is %f
      break;
    case 's': {
      const char* s = va_arg(args.list, const char*);
      if (!plain || spec.zero || !s) throw NotDoneHere{};
      size_t length = spec.precision < 0 ? std::strlen(s) : strnlen(s, static_cast<size_t>(spec.precision));
      emit(out, spec, 0, 0, s, length, false);
      break;
    }
    case 'c': {
      if (!plain || spec.zero) throw NotDoneHere{};
      char c = static_cast<char>(va_arg(args.list, int));
      emit(out, spec, 0, 0, &c, 1, false);
      break;
    }
    case '%':
      if (p != percent + 1) throw NotDoneHere{};
      out.append("%", 1);
      break;
    default:
      throw NotDoneHere{};
  }
  return p + 1;
}

}  // namespace

void appendFormatV(TextBuffer& out, const char* fmt, va_list list) {
  size_t start = out.size();
  Args args;
  va_copy(args.list, list);
  try {
    for (const char* p = fmt; *p;) {
      if (*p == '%') {
        p = convert(out, p, args);
        continue;
      }
      const char* text = p;
      p = strchrnul(p, '%');
      out.append(text, static_cast<size_t>(p - text));
    }
    va_end(args.list);
    return;
  } catch (NotDoneHere&) {
    va_end(args.list);
  }
  out.truncate(start);
  va_copy(args.list, list);
  int n = std::vsnprintf(nullptr, 0, fmt, args.list);
  va_end(args.list);
  if (n <= 0) return;
  va_copy(args.list, list);
  std::vsnprintf(out.room(static_cast<size_t>(n) + 1), static_cast<size_t>(n) + 1, fmt, args.list);
  va_end(args.list);
  out.advance(static_cast<size_t>(n));
}

void appendFormat(TextBuffer& out, const char* fmt, ...) {
  va_list list;
  va_start(list, fmt);
  appendFormatV(out, fmt, list);
  va_end(list);
}

std::string formatText(const char* fmt, ...) {
  TextBuffer out;
  va_list list;
  va_start(list, fmt);
  appendFormatV(out, fmt, list);
  va_end(list);
  return out.str();
}

}  // namespace common
