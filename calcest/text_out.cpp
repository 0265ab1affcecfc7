#include "calcest/text_out.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string.h>

#include <vector>

#include "common/run_error.h"

namespace calcest {

using namespace common;

namespace {
constexpr size_t kFileBuffer = 1 << 18;
}

void FormatSink::makeRoom(size_t n) {
  if (file_) {
    flush();
    if (capacity_ >= n) return;
  }
  size_t grown = std::max({n + used_, 2 * capacity_, file_ ? kFileBuffer : size_t{256}});
  // Written over before it is read: no zero-fill.
  std::unique_ptr<char[]> bigger(new char[grown]);
  if (used_) std::memcpy(bigger.get(), data_.get(), used_);
  data_ = std::move(bigger);
  capacity_ = grown;
}

void FormatSink::flush() {
  if (file_ && used_ && std::fwrite(data_.get(), 1, used_, file_) != used_) failed_ = true;
  if (file_) used_ = 0;
}

bool TextOut::tryOpen(const std::string& name) {
  sink_.reset();
  name_ = name;
  written_ = writeFailed_ = false;
  if (!file_.open(name)) return false;
  std::setvbuf(file_.file(), nullptr, _IONBF, 0);  // the sink does the buffering
  sink_ = std::make_unique<FormatSink>(file_.file());
  return true;
}

void TextOut::open(const std::string& name) {
  if (!tryOpen(name)) throw RunError("NO PUDO ABRIR EL FICHERO " + name, true);
}

void TextOut::finish() {
  if (!sink_) return;
  sink_->flush();
  if (sink_->failed() || std::fflush(file_.file()) != 0 || std::ferror(file_.file()) != 0) writeFailed_ = true;
  sink_.reset();
}

bool TextOut::commit() {
  finish();
  if (writeFailed_) {
    file_.discard();
    return false;
  }
  return file_.commit();
}

namespace {
// Length modifiers: hh, h, none, l, ll, L and z.
enum class Length { kChar, kShort, kNone, kLong, kLongLong, kLongDouble, kSize };

struct Conversion {
  bool plus = false, other = false;  // other: a flag handled by snprintf
  int width = 0, precision = -1;
  Length length = Length::kNone;
  char conversion = 0;
};

void pad(FormatSink& out, const char* text, size_t length, int width) {
  size_t spaces = static_cast<int>(length) < width ? static_cast<size_t>(width) - length : 0;
  char* p = out.room(spaces + length);
  for (size_t k = 0; k < spaces; ++k) p[k] = ' ';
  FormatSink::copySmall(p + spaces, text, length);
  out.advance(spaces + length);
}

// Fixed notation with `precision` decimals, correctly rounded half to even
// from the exact binary value, as glibc's printf does. Returns false when the
// value is out of the range handled here (the caller then uses snprintf).
bool fixedDigits(double value, int precision, char* buffer, size_t& length) {
  static const uint64_t kPowers[] = {1,         10,         100,         1000,         10000,
                                     100000,    1000000,    10000000,    100000000,    1000000000,
                                     10000000000ULL};
  if (precision < 0 || precision > 10) return false;
  uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  bool negative = bits >> 63;
  int exponent = static_cast<int>((bits >> 52) & 0x7FF);
  uint64_t mantissa = bits & ((uint64_t{1} << 52) - 1);
  if (exponent == 0x7FF) return false;  // inf and nan
  if (exponent == 0) {
    exponent = 1;  // subnormal
  } else {
    mantissa |= uint64_t{1} << 52;
  }
  int shift = exponent - 1075;  // value = mantissa * 2^shift
  if (shift > 10) return false;
  unsigned __int128 scaled = static_cast<unsigned __int128>(mantissa) * kPowers[precision];
  unsigned __int128 n;
  if (shift >= 0) {
    n = scaled << shift;
  } else if (-shift >= 120) {
    n = 0;  // far below half a unit of the last digit
  } else {
    int s = -shift;
    n = scaled >> s;
    unsigned __int128 rest = scaled & ((static_cast<unsigned __int128>(1) << s) - 1);
    unsigned __int128 half = static_cast<unsigned __int128>(1) << (s - 1);
    if (rest > half || (rest == half && (n & 1))) ++n;
  }
  uint64_t whole, fraction;
  if (n >> 64) {
    unsigned __int128 high = n / kPowers[precision];
    if (high >> 64) return false;
    whole = static_cast<uint64_t>(high);
    fraction = static_cast<uint64_t>(n % kPowers[precision]);
  } else {
    whole = static_cast<uint64_t>(n) / kPowers[precision];
    fraction = static_cast<uint64_t>(n) % kPowers[precision];
  }
  char* p = buffer;
  if (negative) *p++ = '-';
  p = std::to_chars(p, p + 24, whole).ptr;
  if (precision > 0) {
    static const char kPairs[] =
        "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
        "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
        "8081828384858687888990919293949596979899";
    *p++ = '.';
    int k = precision;
    for (; k >= 2; k -= 2) {
      std::memcpy(p + k - 2, kPairs + 2 * (fraction % 100), 2);
      fraction /= 100;
    }
    if (k == 1) p[0] = static_cast<char>('0' + fraction);
    p += precision;
  }
  length = static_cast<size_t>(p - buffer);
  return true;
}

// Rebuilds the conversion and lets snprintf do it (rare cases only).
template <class T>
void viaSnprintf(FormatSink& out, const char* start, const char* end, T value) {
  char conv[32];
  size_t length = static_cast<size_t>(end - start);
  if (length >= sizeof conv) length = sizeof conv - 1;
  std::memcpy(conv, start, length);
  conv[length] = 0;
  char small[512];
  int n = std::snprintf(small, sizeof small, conv, value);
  if (n < 0) return;
  if (static_cast<size_t>(n) < sizeof small) {
    out.append(small, static_cast<size_t>(n));
  } else {
    std::string big(static_cast<size_t>(n) + 1, '\0');
    std::snprintf(big.data(), big.size(), conv, value);
    out.append(big.data(), static_cast<size_t>(n));
  }
}

void convert(FormatSink& out, const Conversion& conv, const char* start, const char* end, const FormatArg& arg) {
  char buffer[64];
  size_t length = 0;
  switch (conv.conversion) {
    case 'd':
    case 'i': {
      if (conv.other || conv.precision >= 0) return viaSnprintf(out, start, end, static_cast<int>(arg.i));
      char* p = buffer;
      if (conv.plus && arg.i >= 0) *p++ = '+';
      p = std::to_chars(p, buffer + sizeof buffer, static_cast<int>(arg.i)).ptr;
      return pad(out, buffer, static_cast<size_t>(p - buffer), conv.width);
    }
    case 'f':
    case 'F': {
      int precision = conv.precision < 0 ? 6 : conv.precision;
      char* digits = buffer + 1;
      if (conv.other || !fixedDigits(arg.d, precision, digits, length)) return viaSnprintf(out, start, end, arg.d);
      if (conv.plus && digits[0] != '-') {
        buffer[0] = '+';
        return pad(out, buffer, length + 1, conv.width);
      }
      return pad(out, digits, length, conv.width);
    }
    case 's':
      if (conv.other || conv.precision >= 0) return viaSnprintf(out, start, end, arg.s);
      return pad(out, arg.s, std::strlen(arg.s), conv.width);
    case 'c':
      buffer[0] = static_cast<char>(arg.i);
      if (conv.other) return viaSnprintf(out, start, end, static_cast<int>(arg.i));
      return pad(out, buffer, 1, conv.width);
    default:
      if (arg.kind == FormatArg::kDouble) return viaSnprintf(out, start, end, arg.d);
      if (arg.kind == FormatArg::kString) return viaSnprintf(out, start, end, arg.s);
      return viaSnprintf(out, start, end, static_cast<int>(arg.i));
  }
}
}  // namespace

namespace {
Length lengthModifier(const char*& p) {
  if (p[0] == 'h') return p[1] == 'h' ? (p += 2, Length::kChar) : (++p, Length::kShort);
  if (p[0] == 'l') return p[1] == 'l' ? (p += 2, Length::kLongLong) : (++p, Length::kLong);
  if (p[0] == 'L') return ++p, Length::kLongDouble;
  if (p[0] == 'z') return ++p, Length::kSize;
  return Length::kNone;
}

// One literal run followed by at most one conversion.
struct Piece {
  const char* literal;
  size_t literalLength;
  bool hasConversion;
  Conversion conv;
  const char* start;  // the conversion's text, for the snprintf fallback
  const char* end;
};

std::vector<Piece> parseFormat(const char* fmt) {
  std::vector<Piece> pieces;
  const char* p = fmt;
  while (*p) {
    Piece piece{p, 0, false, Conversion{}, nullptr, nullptr};
    p = strchrnul(p, '%');
    piece.literalLength = static_cast<size_t>(p - piece.literal);
    if (*p == '%' && p[1] == '%') {
      piece.literalLength += 1;  // keep one '%' as text
      pieces.push_back(piece);
      p += 2;
      continue;
    }
    if (*p) {
      piece.start = p++;
      Conversion& conv = piece.conv;
      for (;; ++p) {
        if (*p == '+') conv.plus = true;
        else if (*p == '-' || *p == ' ' || *p == '0' || *p == '#') conv.other = true;
        else break;
      }
      while (*p >= '0' && *p <= '9') conv.width = conv.width * 10 + (*p++ - '0');
      if (*p == '.') {
        conv.precision = 0;
        ++p;
        while (*p >= '0' && *p <= '9') conv.precision = conv.precision * 10 + (*p++ - '0');
      }
      conv.length = lengthModifier(p);
      if (*p) {
        conv.conversion = *p++;
        piece.hasConversion = true;
        piece.end = p;
      }
    }
    pieces.push_back(piece);
  }
  return pieces;
}

enum class ArgKind { kInteger, kReal, kString, kOther };

ArgKind kindFor(char conversion) {
  switch (conversion) {
    case 'd': case 'i': case 'o': case 'u': case 'x': case 'X': case 'c':
      return ArgKind::kInteger;
    case 'f': case 'F': case 'e': case 'E': case 'g': case 'G': case 'a': case 'A':
      return ArgKind::kReal;
    case 's':
      return ArgKind::kString;
    default:
      return ArgKind::kOther;
  }
}

bool suits(const FormatArg& arg, ArgKind kind) {
  switch (kind) {
    case ArgKind::kInteger:
      return arg.kind == FormatArg::kInt || arg.kind == FormatArg::kChar;
    case ArgKind::kReal:
      return arg.kind == FormatArg::kDouble;
    case ArgKind::kString:
      return arg.kind == FormatArg::kString;
    default:
      return false;
  }
}

// Arguments packed by kind: each is checked against its conversion.
struct PackedArgs {
  const char* fmt;
  const FormatArg* args;
  int count;
  int next = 0;

  void convertNext(FormatSink& out, const Piece& piece) {
    if (next >= count || !suits(args[next], kindFor(piece.conv.conversion)))
      throw std::logic_error(std::string("argument ") + std::to_string(next + 1) + " does not suit its conversion " +
                             std::string(piece.start, piece.end) + " in the format \"" + fmt + "\"");
    convert(out, piece.conv, piece.start, piece.end, args[next++]);
  }
};

// printf's variable arguments, taken with the type each conversion names.
struct VariableArgs {
  va_list list;

  void convertNext(FormatSink& out, const Piece& piece) {
    const Conversion& conv = piece.conv;
    FormatArg arg;
    switch (kindFor(conv.conversion)) {
      case ArgKind::kInteger:
        // Wider integers are rare: snprintf formats them with their own type.
        if (conv.length == Length::kLong) return viaSnprintf(out, piece.start, piece.end, va_arg(list, long));
        if (conv.length == Length::kLongLong) return viaSnprintf(out, piece.start, piece.end, va_arg(list, long long));
        if (conv.length == Length::kSize) return viaSnprintf(out, piece.start, piece.end, va_arg(list, size_t));
        arg.kind = conv.conversion == 'c' ? FormatArg::kChar : FormatArg::kInt;
        arg.i = va_arg(list, int);
        break;
      case ArgKind::kReal:
        if (conv.length == Length::kLongDouble)
          return viaSnprintf(out, piece.start, piece.end, va_arg(list, long double));
        arg.kind = FormatArg::kDouble;
        arg.d = va_arg(list, double);
        break;
      case ArgKind::kString:
        arg.kind = FormatArg::kString;
        arg.s = va_arg(list, const char*);
        break;
      default:  // %p; the compiler refuses anything else for a literal format
        return viaSnprintf(out, piece.start, piece.end, va_arg(list, void*));
    }
    convert(out, conv, piece.start, piece.end, arg);
  }
};

template <class Args>
void appendPieces(FormatSink& out, const std::vector<Piece>& pieces, Args& args) {
  for (const Piece& piece : pieces) {
    out.append(piece.literal, piece.literalLength);
    if (piece.hasConversion) args.convertNext(out, piece);
  }
}

}  // namespace

// Parsed formats by address: the program's formats are string literals.
struct FormatCache {
  static constexpr size_t kSlots = 64;
  const char* keys[kSlots] = {};
  std::vector<Piece> parsed[kSlots];

  // The parse of fmt, made on its first use; null when every slot is taken.
  const std::vector<Piece>* find(const char* fmt) {
    size_t slot = (reinterpret_cast<uintptr_t>(fmt) >> 2) % kSlots;
    for (size_t probe = 0; probe < kSlots; ++probe, slot = (slot + 1) % kSlots) {
      if (keys[slot] == fmt) return &parsed[slot];
      if (!keys[slot]) {
        keys[slot] = fmt;
        parsed[slot] = parseFormat(fmt);
        return &parsed[slot];
      }
    }
    return nullptr;
  }
};

FormatSink::FormatSink(FILE* file) : file_(file) {}
FormatSink::~FormatSink() = default;

FormatCache& formatCache(FormatSink& out) {
  if (!out.cache_) out.cache_ = std::make_unique<FormatCache>();
  return *out.cache_;
}

namespace {
template <class Args>
void appendCached(FormatSink& out, const char* fmt, Args& args) {
  if (const std::vector<Piece>* pieces = formatCache(out).find(fmt)) return appendPieces(out, *pieces, args);
  appendPieces(out, parseFormat(fmt), args);  // cache full
}
}  // namespace

void appendFormatted(FormatSink& out, const char* fmt, const FormatArg* args, int count) {
  PackedArgs packed{fmt, args, count};
  appendPieces(out, parseFormat(fmt), packed);
}

void appendFormattedLiteral(FormatSink& out, const char* fmt, const FormatArg* args, int count) {
  PackedArgs packed{fmt, args, count};
  appendCached(out, fmt, packed);
}

void appendFormattedLiteral(FormatSink& out, const char* fmt, va_list args) {
  VariableArgs variable;
  va_copy(variable.list, args);
  appendCached(out, fmt, variable);
  va_end(variable.list);
}

void TextOut::print(const char* fmt, ...) {
  if (!sink_) return;
  written_ = true;
  va_list args;
  va_start(args, fmt);
  appendFormattedLiteral(*sink_, fmt, args);
  va_end(args);
}

}  // namespace calcest
