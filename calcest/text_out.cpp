#include "text_out.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <string.h>

#include <vector>

#include "run_error.h"

namespace {
constexpr size_t kFileBuffer = 1 << 18;
}

void FormatSink::makeRoom(size_t n) {
  if (file_) {
    flush();
    if (capacity_ >= n) return;
  }
  size_t grown = std::max({n + used_, 2 * capacity_, file_ ? kFileBuffer : size_t{256}});
  char* bigger = new char[grown];
  if (used_) std::memcpy(bigger, data_, used_);
  delete[] data_;
  data_ = bigger;
  capacity_ = grown;
}

void FormatSink::flush() {
  if (file_ && used_) std::fwrite(data_, 1, used_, file_);
  if (file_) used_ = 0;
}

bool TextOut::tryOpen(const std::string& name) {
  close();
  file_ = std::fopen(name.c_str(), "w");
  if (!file_) return false;
  std::setvbuf(file_, nullptr, _IONBF, 0);  // the sink does the buffering
  sink_ = new FormatSink(file_);
  return true;
}

void TextOut::open(const std::string& name) {
  if (!tryOpen(name)) throw RunError("NO PUDO ABRIR EL FICHERO " + name, true);
}

void TextOut::close() {
  if (!file_) return;
  sink_->flush();
  delete sink_;
  sink_ = nullptr;
  std::fclose(file_);
  file_ = nullptr;
}

namespace {
struct Spec {
  bool plus = false, other = false;  // other: a flag handled by snprintf
  int width = 0, precision = -1;
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
  char spec[32];
  size_t length = static_cast<size_t>(end - start);
  if (length >= sizeof spec) length = sizeof spec - 1;
  std::memcpy(spec, start, length);
  spec[length] = 0;
  char small[512];
  int n = std::snprintf(small, sizeof small, spec, value);
  if (n < 0) return;
  if (static_cast<size_t>(n) < sizeof small) {
    out.append(small, static_cast<size_t>(n));
  } else {
    std::string big(static_cast<size_t>(n) + 1, '\0');
    std::snprintf(big.data(), big.size(), spec, value);
    out.append(big.data(), static_cast<size_t>(n));
  }
}

void convert(FormatSink& out, const Spec& spec, const char* start, const char* end, const FormatArg& arg) {
  char buffer[64];
  size_t length = 0;
  switch (spec.conversion) {
    case 'd':
    case 'i': {
      if (spec.other || spec.precision >= 0) return viaSnprintf(out, start, end, static_cast<int>(arg.i));
      char* p = buffer;
      if (spec.plus && arg.i >= 0) *p++ = '+';
      p = std::to_chars(p, buffer + sizeof buffer, static_cast<int>(arg.i)).ptr;
      return pad(out, buffer, static_cast<size_t>(p - buffer), spec.width);
    }
    case 'f':
    case 'F': {
      int precision = spec.precision < 0 ? 6 : spec.precision;
      char* digits = buffer + 1;
      if (spec.other || !fixedDigits(arg.d, precision, digits, length)) return viaSnprintf(out, start, end, arg.d);
      if (spec.plus && digits[0] != '-') {
        buffer[0] = '+';
        return pad(out, buffer, length + 1, spec.width);
      }
      return pad(out, digits, length, spec.width);
    }
    case 's':
      if (spec.other || spec.precision >= 0) return viaSnprintf(out, start, end, arg.s);
      return pad(out, arg.s, std::strlen(arg.s), spec.width);
    case 'c':
      buffer[0] = static_cast<char>(arg.i);
      if (spec.other) return viaSnprintf(out, start, end, static_cast<int>(arg.i));
      return pad(out, buffer, 1, spec.width);
    default:
      if (arg.kind == FormatArg::kDouble) return viaSnprintf(out, start, end, arg.d);
      if (arg.kind == FormatArg::kString) return viaSnprintf(out, start, end, arg.s);
      return viaSnprintf(out, start, end, static_cast<int>(arg.i));
  }
}
}  // namespace

namespace {
// One literal run followed by at most one conversion.
struct Piece {
  const char* literal;
  size_t literalLength;
  bool hasConversion;
  Spec spec;
  const char* start;  // the conversion's text, for the snprintf fallback
  const char* end;
};

std::vector<Piece> parseFormat(const char* fmt) {
  std::vector<Piece> pieces;
  const char* p = fmt;
  while (*p) {
    Piece piece{p, 0, false, Spec{}, nullptr, nullptr};
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
      Spec& spec = piece.spec;
      for (;; ++p) {
        if (*p == '+') spec.plus = true;
        else if (*p == '-' || *p == ' ' || *p == '0' || *p == '#') spec.other = true;
        else break;
      }
      while (*p >= '0' && *p <= '9') spec.width = spec.width * 10 + (*p++ - '0');
      if (*p == '.') {
        spec.precision = 0;
        ++p;
        while (*p >= '0' && *p <= '9') spec.precision = spec.precision * 10 + (*p++ - '0');
      }
      while (*p == 'l' || *p == 'h' || *p == 'L' || *p == 'z') ++p;
      if (*p) {
        spec.conversion = *p++;
        piece.hasConversion = true;
        piece.end = p;
      }
    }
    pieces.push_back(piece);
  }
  return pieces;
}

void appendPieces(FormatSink& out, const std::vector<Piece>& pieces, const FormatArg* args, int count) {
  int next = 0;
  for (const Piece& piece : pieces) {
    out.append(piece.literal, piece.literalLength);
    if (!piece.hasConversion) continue;
    if (next >= count) return;  // a format with more conversions than values
    convert(out, piece.spec, piece.start, piece.end, args[next++]);
  }
}

}  // namespace

// Parsed formats by address: the program's formats are string literals.
struct FormatCache {
  static constexpr size_t kSlots = 64;
  const char* keys[kSlots] = {};
  std::vector<Piece> parsed[kSlots];
};

FormatSink::~FormatSink() {
  delete[] data_;
  delete cache_;
}

void appendFormatted(FormatSink& out, const char* fmt, const FormatArg* args, int count) {
  appendPieces(out, parseFormat(fmt), args, count);
}

void appendFormattedLiteral(FormatSink& out, const char* fmt, const FormatArg* args, int count) {
  if (!out.cache_) out.cache_ = new FormatCache;
  FormatCache& cache = *out.cache_;
  size_t slot = (reinterpret_cast<uintptr_t>(fmt) >> 2) % FormatCache::kSlots;
  for (size_t probe = 0; probe < FormatCache::kSlots; ++probe, slot = (slot + 1) % FormatCache::kSlots) {
    if (cache.keys[slot] == fmt) return appendPieces(out, cache.parsed[slot], args, count);
    if (!cache.keys[slot]) {
      cache.keys[slot] = fmt;
      cache.parsed[slot] = parseFormat(fmt);
      return appendPieces(out, cache.parsed[slot], args, count);
    }
  }
  appendFormatted(out, fmt, args, count);  // cache full
}
