#include "common/format.h"

#include <string.h>  // strchrnul
#include <sys/types.h>  // ssize_t

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <new>
#include <vector>

namespace common {

const char kDigitPairs[201] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

char* putIntSlow(char* at, int value) { return std::to_chars(at, at + 11, value).ptr; }

void TextBuffer::grow(size_t n) {
  size_t grown = std::max({used_ + n, 2 * capacity_, size_t{256}});
  // Written over before it is read: no zero-fill.
  if (data_.get_deleter().release) {  // lent memory goes back; the bytes move to our own
    char* own = static_cast<char*>(std::malloc(grown));
    if (!own) throw std::bad_alloc();
    std::memcpy(own, data_.get(), used_);
    data_ = std::unique_ptr<char, TextBufferFree>(own);
    capacity_ = grown;
    return;
  }
  char* bigger = static_cast<char*>(std::realloc(data_.get(), grown));
  if (!bigger) throw std::bad_alloc();
  (void)data_.release();
  data_.reset(bigger);
  capacity_ = grown;
}

namespace {

enum class Length { kNone, kLong, kLongLong, kSize };

// One conversion: the '+' flag, width and precision are done here; any other
// flag (`library`) makes snprintf do this conversion.
struct Conversion {
  bool plus = false, library = false;
  int width = 0, precision = -1;  // -1: no precision
  Length length = Length::kNone;
  char conversion = 0;
};

// One literal run followed by at most one conversion.
struct Piece {
  const char* literal;
  size_t literalLength;
  bool hasConversion;
  Conversion conv;
  const char* start;  // the conversion's text, for snprintf
  const char* end;
};

struct Parsed {
  std::vector<Piece> pieces;
  bool wholeByLibrary = false;  // vsnprintf writes the whole format
};

int number(const char*& p) {
  int n = 0;
  while (*p >= '0' && *p <= '9') {
    if (n > 100000) return -1;
    n = n * 10 + (*p++ - '0');
  }
  return n;
}

Parsed parseFormat(const char* fmt) {
  Parsed parsed;
  const char* p = fmt;
  while (*p) {
    Piece piece{p, 0, false, Conversion{}, nullptr, nullptr};
    p = strchrnul(p, '%');
    piece.literalLength = static_cast<size_t>(p - piece.literal);
    if (*p == '%' && p[1] == '%') {
      piece.literalLength += 1;  // keep one '%' as text
      parsed.pieces.push_back(piece);
      p += 2;
      continue;
    }
    if (*p) {
      piece.start = p++;
      Conversion& conv = piece.conv;
      for (;; ++p) {
        if (*p == '+') conv.plus = true;
        else if (*p == '-' || *p == ' ' || *p == '0' || *p == '#') conv.library = true;
        else break;
      }
      conv.width = number(p);
      bool beyondRange = conv.width < 0;
      if (*p == '.') {
        ++p;
        conv.precision = number(p);
        beyondRange = beyondRange || conv.precision < 0;
      }
      if (*p == 'l' && p[1] == 'l') conv.length = Length::kLongLong, p += 2;
      else if (*p == 'l') conv.length = Length::kLong, ++p;
      else if (*p == 'z') conv.length = Length::kSize, ++p;
      conv.conversion = *p;
      bool known;
      switch (conv.conversion) {
        case 'd': case 'i': case 'u': case 'o': case 'x': case 'X':
          known = true;
          break;
        case 'f': case 'F': case 'e': case 'E': case 'g': case 'G': case 'a': case 'A':
          known = conv.length == Length::kNone || conv.length == Length::kLong;  // %lf is %f
          break;
        case 's': case 'c':
          known = conv.length == Length::kNone;
          break;
        default:  // %n, %p, '*', '$', %h, %L, %j, %t, %%-with-flags, a cut format...
          known = false;
      }
      if (!known || beyondRange) {
        parsed.wholeByLibrary = true;
        return parsed;
      }
      piece.hasConversion = true;
      piece.end = ++p;
    }
    parsed.pieces.push_back(piece);
  }
  return parsed;
}

void pad(TextBuffer& out, const char* text, size_t length, int width) {
  size_t spaces = static_cast<int>(length) < width ? static_cast<size_t>(width) - length : 0;
  char* p = out.room(spaces + length);
  for (size_t k = 0; k < spaces; ++k) p[k] = ' ';
  TextBuffer::copy(p + spaces, text, length);
  out.advance(spaces + length);
}

// Fixed notation with up to 10 decimals of a finite value whose scaled
// magnitude fits 64 bits (every number of the traces): the exact binary value
// times 10^precision, rounded half to even, as printf rounds it, at a fraction
// of the cost of a general routine. False for anything else.
bool fixedDigits(double value, int precision, char* body, size_t& length) {
  static const uint64_t kPowers[] = {1,         10,         100,         1000,         10000,
                                     100000,    1000000,    10000000,    100000000,    1000000000,
                                     10000000000ULL};
  if (precision > 10) return false;
  uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  const bool negative = bits >> 63;
  if ((bits << 1) == 0) {  // zero (half the numbers of some tables)
    char* p = body;
    if (negative) *p++ = '-';
    *p++ = '0';
    if (precision > 0) {
      *p++ = '.';
      std::memset(p, '0', static_cast<size_t>(precision));
      p += precision;
    }
    length = static_cast<size_t>(p - body);
    return true;
  }
  int exponent = static_cast<int>((bits >> 52) & 0x7FF);
  uint64_t mantissa = bits & ((uint64_t{1} << 52) - 1);
  if (exponent == 0x7FF) return false;  // inf and nan
  if (exponent == 0) {
    exponent = 1;  // subnormal
  } else {
    mantissa |= uint64_t{1} << 52;
  }
  int shift = exponent - 1075;  // |value| = mantissa * 2^shift
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
  char* p = body;
  if (negative) *p++ = '-';
  p = whole < 10000 ? putInt(p, static_cast<int>(whole)) : std::to_chars(p, p + 24, whole).ptr;
  if (precision > 0) {
    *p++ = '.';
    int k = precision;
    if (k == 6) {  // printf's default, and %6.2f: unrolled
      std::memcpy(p + 4, kDigitPairs + 2 * (fraction % 100), 2);
      fraction /= 100;
      std::memcpy(p + 2, kDigitPairs + 2 * (fraction % 100), 2);
      std::memcpy(p, kDigitPairs + 2 * (fraction / 100), 2);
    } else if (k == 2) {
      std::memcpy(p, kDigitPairs + 2 * fraction, 2);
    } else {
      for (; k >= 2; k -= 2, fraction /= 100) std::memcpy(p + k - 2, kDigitPairs + 2 * (fraction % 100), 2);
      if (k == 1) p[0] = static_cast<char>('0' + fraction);
    }
    p += precision;
  }
  length = static_cast<size_t>(p - body);
  return true;
}

// snprintf does this one conversion (its text between start and end).
template <class T>
void viaSnprintf(TextBuffer& out, const char* start, const char* end, T value) {
  char conv[32];
  size_t length = std::min(static_cast<size_t>(end - start), sizeof conv - 1);
  std::memcpy(conv, start, length);
  conv[length] = 0;
  int n = std::snprintf(nullptr, 0, conv, value);
  if (n <= 0) return;
  std::snprintf(out.room(static_cast<size_t>(n) + 1), static_cast<size_t>(n) + 1, conv, value);
  out.advance(static_cast<size_t>(n));
}

// Fixed notation of a finite value with its '+' and width; false (nothing
// written) for inf and nan.
bool fixed(TextBuffer& out, double v, int precision, int width, bool plus) {
  char body[40];
  size_t length = 0;
  char* digits = body + 1;
  if (!fixedDigits(v, precision, digits, length)) {
    if (!std::isfinite(v)) return false;
    // Beyond 64 bits: the digits from std::to_chars, which rounds alike.
    std::vector<char> wide(static_cast<size_t>(precision) + 330);
    char* p = wide.data();
    if (plus && !std::signbit(v)) *p++ = '+';
    p = std::to_chars(p, wide.data() + wide.size(), v, std::chars_format::fixed, precision).ptr;
    pad(out, wide.data(), static_cast<size_t>(p - wide.data()), width);
    return true;
  }
  if (plus && digits[0] != '-') {
    body[0] = '+';
    pad(out, body, length + 1, width);
  } else {
    pad(out, digits, length, width);
  }
  return true;
}

void integer(TextBuffer& out, int v, int width, bool plus) {
  char body[16];
  char* p = body;
  if (plus && v >= 0) *p++ = '+';
  p = std::to_chars(p, body + sizeof body, v).ptr;
  pad(out, body, static_cast<size_t>(p - body), width);
}

// The caller's arguments, taken with the type each conversion names.
struct Args {
  va_list list;
};

void convert(TextBuffer& out, const Piece& piece, Args& args) {
  const Conversion& conv = piece.conv;
  char body[40];
  switch (conv.conversion) {
    case 'd':
    case 'i': {
      if (conv.length == Length::kLong) return viaSnprintf(out, piece.start, piece.end, va_arg(args.list, long));
      if (conv.length == Length::kLongLong)
        return viaSnprintf(out, piece.start, piece.end, va_arg(args.list, long long));
      if (conv.length == Length::kSize) return viaSnprintf(out, piece.start, piece.end, va_arg(args.list, ssize_t));
      int v = va_arg(args.list, int);
      if (conv.library || conv.precision >= 0) return viaSnprintf(out, piece.start, piece.end, v);
      return integer(out, v, conv.width, conv.plus);
    }
    case 'u': case 'o': case 'x': case 'X':
      if (conv.length == Length::kLong) return viaSnprintf(out, piece.start, piece.end, va_arg(args.list, unsigned long));
      if (conv.length == Length::kLongLong)
        return viaSnprintf(out, piece.start, piece.end, va_arg(args.list, unsigned long long));
      if (conv.length == Length::kSize) return viaSnprintf(out, piece.start, piece.end, va_arg(args.list, size_t));
      return viaSnprintf(out, piece.start, piece.end, va_arg(args.list, unsigned));
    case 'f':
    case 'F': {
      double v = va_arg(args.list, double);
      if (conv.library || !fixed(out, v, conv.precision < 0 ? 6 : conv.precision, conv.width, conv.plus))
        return viaSnprintf(out, piece.start, piece.end, v);
      return;
    }
    case 's': {
      const char* s = va_arg(args.list, const char*);
      if (conv.library || conv.precision >= 0 || !s) return viaSnprintf(out, piece.start, piece.end, s);
      return pad(out, s, std::strlen(s), conv.width);
    }
    case 'c': {
      int c = va_arg(args.list, int);
      if (conv.library) return viaSnprintf(out, piece.start, piece.end, c);
      body[0] = static_cast<char>(c);
      return pad(out, body, 1, conv.width);
    }
    default:  // %e, %g, %a and their capitals
      return viaSnprintf(out, piece.start, piece.end, va_arg(args.list, double));
  }
}

void appendParsed(TextBuffer& out, const Parsed& parsed, const char* fmt, va_list list) {
  if (parsed.wholeByLibrary) {
    va_list copy;
    va_copy(copy, list);
    int n = std::vsnprintf(nullptr, 0, fmt, copy);
    va_end(copy);
    if (n <= 0) return;
    // %n counts from the start of this call's text: give vsnprintf its own buffer.
    std::string text(static_cast<size_t>(n), '\0');
    va_copy(copy, list);
    std::vsnprintf(text.data(), text.size() + 1, fmt, copy);
    va_end(copy);
    out.append(text.data(), text.size());
    return;
  }
  Args args;
  va_copy(args.list, list);
  for (const Piece& piece : parsed.pieces) {
    out.append(piece.literal, piece.literalLength);
    if (piece.hasConversion) convert(out, piece, args);
  }
  va_end(args.list);
}

}  // namespace

void appendFormatV(TextBuffer& out, const char* fmt, va_list list) { appendParsed(out, parseFormat(fmt), fmt, list); }

void appendFixed(TextBuffer& out, double value, int precision, int width, bool plus) {
  if (fixed(out, value, precision, width, plus)) return;
  char conv[40];
  std::snprintf(conv, sizeof conv, plus ? "%%+%d.%df" : "%%%d.%df", width, precision);
  viaSnprintf(out, conv, conv + std::strlen(conv), value);
}

void appendInt(TextBuffer& out, int value, int width) { integer(out, value, width, false); }

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

// Open addressing over the literals' addresses; a writer uses a few dozen.
struct LiteralFormats::Slots {
  static constexpr size_t kCount = 64;
  const char* keys[kCount] = {};
  Parsed parsed[kCount];
};

LiteralFormats::LiteralFormats() = default;
LiteralFormats::~LiteralFormats() = default;

void LiteralFormats::appendV(TextBuffer& out, const char* literal, va_list list) {
  if (!slots_) slots_ = std::make_unique<Slots>();
  size_t slot = (reinterpret_cast<uintptr_t>(literal) >> 2) % Slots::kCount;
  for (size_t probe = 0; probe < Slots::kCount; ++probe, slot = (slot + 1) % Slots::kCount) {
    if (slots_->keys[slot] == literal) return appendParsed(out, slots_->parsed[slot], literal, list);
    if (!slots_->keys[slot]) {
      slots_->keys[slot] = literal;
      slots_->parsed[slot] = parseFormat(literal);
      return appendParsed(out, slots_->parsed[slot], literal, list);
    }
  }
  appendFormatV(out, literal, list);  // every slot taken
}

void LiteralFormats::append(TextBuffer& out, const char* literal, ...) {
  va_list list;
  va_start(list, literal);
  appendV(out, literal, list);
  va_end(list);
}

}  // namespace common
