#pragma once
// Line-by-line reading of the project files: each read takes one whole line,
// however long (calcest writes long lines for large values). The text is then
// scanned with the file's own format. Nothing is ever written past a buffer:
// string targets are sized from the line itself. Also the checked closing of
// the files the envelope writes.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <string_view>
#include <tuple>
#include <type_traits>
#include <utility>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define ENVELOPE_WIDE_LINES 1
#else
#define ENVELOPE_WIDE_LINES 0
#endif

#include "common/decimal_text.h"
#include "common/file_handle.h"
#include "envolventes/engine/message_sink.h"

namespace envelope {

using namespace common;

// Opens a file for reading; a directory of that name does not count as a file.
FileHandle openForReading(const std::string& path);

// True when openForReading(path) would give a file; nothing is opened.
bool canOpenForReading(const std::string& path);

namespace quick {
// One field of a line, taken after the blanks before it, when it is whole in
// its plain form: an integer of at most nine digits with an optional '-'; a
// decimal real (optional sign, digits, point, exponent) that from_chars reads
// to its end; any word. Then the value is the one sscanf gives.
struct Fields {
  const char* next;
  const char* end;
  const char* readable;  // the memory after the line that may be looked at, up to here
};
bool take(Fields& line, int& value);
bool take(Fields& line, float& value);
bool take(Fields& line, std::string_view& word);

// Eight bytes of the text at p, the first in the lowest byte.
inline uint64_t eightBytes(const char* p) {
  uint64_t bytes;
  std::memcpy(&bytes, p, sizeof bytes);
  return bytes;
}

// The usual field of the files, a plain decimal of at most seven digits with
// its sign, when its sign and eight bytes from its first digit or point may be
// looked at and it ends within them, before the end of the line: its digits
// and point are found in those bytes at once and its digits made a whole
// number in three steps, which divided by the exact power of ten of its
// decimals gives the value shortPlain gives. Null for anything else.
inline const char* shortPlainInEight(const char* p, const char* end, float& value) {
  static constexpr float kPowers[8] = {1e0f, 1e1f, 1e2f, 1e3f, 1e4f, 1e5f, 1e6f, 1e7f};
  const bool negative = *p == '-';
  const char* const q = p + (negative || *p == '+');
  // Digits become 0..9 and every other byte 10 or more; the high bit of each
  // byte of `other` marks a byte that is no digit.
  const uint64_t values = eightBytes(q) ^ 0x3030303030303030u;
  const uint64_t other = notDigitBytes(values);
  if (other == 0) return nullptr;  // eight digits or more
  const int first = __builtin_ctzll(other) >> 3;
  const bool point = q[first] == '.';
  int stop = first;
  uint64_t digits = values;
  if (point) {
    const uint64_t rest = other & (other - 1);
    if (rest == 0) return nullptr;
    stop = __builtin_ctzll(rest) >> 3;
    // The point taken out: the bytes after it move down one place.
    const uint64_t below = (uint64_t{1} << (8 * first)) - 1;
    digits = (values & below) | ((values >> 8) & ~below);
  }
  const int digitCount = stop - point;
  const char c = q[stop];
  if (digitCount == 0 || q + stop >= end || !(c == ' ' || static_cast<unsigned char>(c - '\t') < 5)) return nullptr;
  // The digits to the top of the word behind zeros.
  digits = eightDigitsValue(digits << 8 * (8 - digitCount));
  const float magnitude = static_cast<float>(digits) / kPowers[stop - first - point];
  value = negative ? -magnitude : magnitude;
  return q + stop;
}

// take() for a real, first tried where the line may be looked at beyond the
// field: the spaces before it skipped eight at a time, then shortPlainInEight.
inline bool takeQuickly(Fields& line, float& value) {
  const char* p = line.next;
  if (line.readable - p >= 24) {
    constexpr uint64_t kSpaces = 0x2020202020202020u;
    uint64_t notSpaces = eightBytes(p) ^ kSpaces;  // zero bytes are spaces
    if (notSpaces == 0) notSpaces = eightBytes(p += 8) ^ kSpaces;
    if (notSpaces != 0) {
      p += __builtin_ctzll(notSpaces) >> 3;
      if (p < line.end)
        if (const char* stop = shortPlainInEight(p, line.end, value)) {
          line.next = stop;
          return true;
        }
    }
  }
  return take(line, value);
}
template <class T>
bool takeQuickly(Fields& line, T& value) {
  return take(line, value);
}

// A whole line of plain fields at once, for formats of %d and %f alone. The
// first 64 bytes of the line are classed in one pass, one bit a byte; the
// fields are then found from the bits, each read with shortPlainInEight's
// steps, with no byte looked at again.
struct LineBits {
  uint64_t blank;  // scanf's blanks, and every byte after the line
  uint64_t point;
  uint64_t minus;
  uint64_t sign;   // '-' and '+'
  uint64_t other;  // no blank, digit, point or sign

  // The bits of a line of `size` bytes, the bytes after it taken for blanks.
  LineBits endingAt(size_t size) const {
    LineBits bits = *this;
    if (size < 64) {
      const uint64_t after = ~uint64_t{0} << size;
      bits.blank |= after;
      bits.point &= ~after, bits.minus &= ~after, bits.sign &= ~after, bits.other &= ~after;
    }
    return bits;
  }
};
constexpr size_t kLineBytes = 64;

// The bits of the 64 bytes at p, of which the line's are the first `size`.
__attribute__((always_inline)) inline LineBits classify(const char* p, size_t size) {
  LineBits bits{};
#if defined(__SSE2__)
  for (int k = 0; k < 4; ++k) {
    const __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * k));
    const __m128i blank = _mm_or_si128(_mm_cmpeq_epi8(c, _mm_set1_epi8(' ')),
                                       _mm_and_si128(_mm_cmpgt_epi8(c, _mm_set1_epi8('\t' - 1)),
                                                     _mm_cmplt_epi8(c, _mm_set1_epi8('\r' + 1))));
    const __m128i digit = _mm_and_si128(_mm_cmpgt_epi8(c, _mm_set1_epi8('0' - 1)), _mm_cmplt_epi8(c, _mm_set1_epi8('9' + 1)));
    const __m128i point = _mm_cmpeq_epi8(c, _mm_set1_epi8('.'));
    const __m128i minus = _mm_cmpeq_epi8(c, _mm_set1_epi8('-'));
    const __m128i sign = _mm_or_si128(minus, _mm_cmpeq_epi8(c, _mm_set1_epi8('+')));
    const __m128i known = _mm_or_si128(_mm_or_si128(blank, digit), _mm_or_si128(point, sign));
    const int shift = 16 * k;
    bits.blank |= static_cast<uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(blank))) << shift;
    bits.point |= static_cast<uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(point))) << shift;
    bits.minus |= static_cast<uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(minus))) << shift;
    bits.sign |= static_cast<uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(sign))) << shift;
    bits.other |= static_cast<uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(known)) ^ 0xFFFFu) << shift;
  }
#else
  for (size_t k = 0; k < kLineBytes; ++k) {
    const char c = p[k];
    const uint64_t bit = uint64_t{1} << k;
    const bool blank = c == ' ' || static_cast<unsigned char>(c - '\t') < 5;
    const bool known = blank || (c >= '0' && c <= '9') || c == '.' || c == '-' || c == '+';
    if (blank) bits.blank |= bit;
    if (c == '.') bits.point |= bit;
    if (c == '-') bits.minus |= bit;
    if (c == '-' || c == '+') bits.sign |= bit;
    if (!known) bits.other |= bit;
  }
#endif
  return bits.endingAt(size);
}

#if ENVELOPE_WIDE_LINES
// classify() 32 bytes at a time, where the processor has them.
__attribute__((target("avx2"), always_inline)) inline LineBits classifyWide(const char* p, size_t size) {
  LineBits bits{};
  for (int k = 0; k < 2; ++k) {
    const __m256i c = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + 32 * k));
    const __m256i blank = _mm256_or_si256(_mm256_cmpeq_epi8(c, _mm256_set1_epi8(' ')),
                                          _mm256_and_si256(_mm256_cmpgt_epi8(c, _mm256_set1_epi8('\t' - 1)),
                                                           _mm256_cmpgt_epi8(_mm256_set1_epi8('\r' + 1), c)));
    const __m256i digit = _mm256_and_si256(_mm256_cmpgt_epi8(c, _mm256_set1_epi8('0' - 1)),
                                           _mm256_cmpgt_epi8(_mm256_set1_epi8('9' + 1), c));
    const __m256i point = _mm256_cmpeq_epi8(c, _mm256_set1_epi8('.'));
    const __m256i minus = _mm256_cmpeq_epi8(c, _mm256_set1_epi8('-'));
    const __m256i sign = _mm256_or_si256(minus, _mm256_cmpeq_epi8(c, _mm256_set1_epi8('+')));
    const __m256i known = _mm256_or_si256(_mm256_or_si256(blank, digit), _mm256_or_si256(point, sign));
    const int shift = 32 * k;
    bits.blank |= static_cast<uint64_t>(static_cast<uint32_t>(_mm256_movemask_epi8(blank))) << shift;
    bits.point |= static_cast<uint64_t>(static_cast<uint32_t>(_mm256_movemask_epi8(point))) << shift;
    bits.minus |= static_cast<uint64_t>(static_cast<uint32_t>(_mm256_movemask_epi8(minus))) << shift;
    bits.sign |= static_cast<uint64_t>(static_cast<uint32_t>(_mm256_movemask_epi8(sign))) << shift;
    bits.other |= static_cast<uint64_t>(~static_cast<uint32_t>(_mm256_movemask_epi8(known))) << shift;
  }
  return bits.endingAt(size);
}
#endif

// The fields of a line taken in their order from its bits, when the line
// holds nothing but blanks and plain fields within its first 64 bytes: digits,
// points, and a sign only where a field starts. A real is taken when it has
// one point and at most eight digits, an integer when it has no point and at
// most eight digits, and either when it ends within those bytes; the value is
// then the one sscanf gives: the digits made a whole number as in
// shortPlainInEight, divided by the exact power of ten. The starts, points
// and ends of the fields are taken in turn from the bits, lowest first, so
// that nothing is shifted by a varying count but through tables.
class PlainFields {
 public:
  PlainFields(const char* line, const LineBits& bits) : line_(line), points_(bits.point) {
    const uint64_t filled = ~bits.blank;
    const uint64_t starts = filled & ~(filled << 1);
    plain_ = (bits.other | (bits.sign & ~starts)) == 0;
    // Where the digits of each field start, after its sign.
    firsts_ = (starts & ~bits.sign) | ((starts & bits.sign) << 1);
    negatives_ = (starts & bits.minus) << 1;
    stops_ = ~filled & (filled << 1);
  }
  bool plain() const { return plain_; }

  template <class T>
  __attribute__((always_inline)) bool take(T& value) {
    constexpr bool kInteger = std::is_same<T, int>::value;
    if (stops_ == 0) return false;
    const uint64_t firstBit = firsts_ & (0 - firsts_), stopBit = stops_ & (0 - stops_);
    const unsigned first = static_cast<unsigned>(__builtin_ctzll(firsts_)), stop = static_cast<unsigned>(__builtin_ctzll(stops_));
    firsts_ ^= firstBit, stops_ ^= stopBit;
    const unsigned size = stop - first;
    constexpr uint64_t kZeros = 0x3030303030303030u;
    uint64_t digits = eightBytes(line_ + first) ^ kZeros;
    unsigned digitCount = size, decimals = 0;
    if constexpr (!kInteger) {
      // Its point, and no other before the end of the field.
      if (points_ == 0) return false;
      const uint64_t pointBit = points_ & (0 - points_);
      points_ ^= pointBit;
      if (!(firstBit <= pointBit && pointBit < stopBit)) return false;
      const unsigned at = static_cast<unsigned>(__builtin_ctzll(pointBit)) - first;
      // The point taken out: the bytes after it move down one place, read
      // one byte further on (a field of eight digits has nine bytes).
      const uint64_t below = kBelow[at < 8 ? at : 8];
      digits = (digits & below) | ((eightBytes(line_ + first + 1) ^ kZeros) & ~below);
      digitCount = size - 1, decimals = stop - 1 - first - at;
    }
    if ((points_ & (stopBit - 1)) != 0 || digitCount - 1 > 7) return false;
    // The digits to the top of the word behind zeros.
    digits = eightDigitsValue(digits * kToTop[digitCount]);
    const bool negative = (negatives_ & firstBit) != 0;
    if constexpr (kInteger) {
      value = negative ? -static_cast<int>(digits) : static_cast<int>(digits);
    } else {
      // Up to seven digits the whole number is a float and one float division
      // rounds the decimal. Eight may make more than a float holds: the
      // quotient in double, rounded once more to float, is still the nearest
      // float to the decimal (double has twice the bits of float, and two more).
      const float magnitude = digitCount <= 7 ? static_cast<float>(digits) / kFloatPowers[decimals & 7]
                                              : static_cast<float>(static_cast<double>(digits) / kPowers[decimals & 15]);
      value = negative ? -magnitude : magnitude;
    }
    return true;
  }

 private:
  static constexpr float kFloatPowers[8] = {1e0f, 1e1f, 1e2f, 1e3f, 1e4f, 1e5f, 1e6f, 1e7f};
  static constexpr double kPowers[16] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1, 1, 1, 1, 1, 1, 1};
  // The bytes below byte k, and the factor that moves k bytes to the top.
  static constexpr uint64_t kBelow[9] = {0,           0xFF,           0xFFFF,           0xFFFFFF,          0xFFFFFFFF,
                                         0xFFFFFFFFFF, 0xFFFFFFFFFFFF, 0xFFFFFFFFFFFFFF, ~uint64_t{0}};
  static constexpr uint64_t kToTop[9] = {0, uint64_t{1} << 56, uint64_t{1} << 48, uint64_t{1} << 40, uint64_t{1} << 32,
                                         uint64_t{1} << 24, uint64_t{1} << 16, uint64_t{1} << 8, 1};

  const char* line_;
  uint64_t points_, firsts_, negatives_, stops_;
  bool plain_;
};

// The values of a line whose fields, as many as `values`, are all plain and
// end within its first 64 bytes, as PlainFields takes them; false for
// anything else. Narrow: in 16 bytes at a time; wide: 32 at a time, with the
// processor's bit instructions. The two give the same.
template <class... T>
inline bool plainLineNarrow(const char* line, size_t size, T&... values) {
  PlainFields fields(line, classify(line, size));
  return fields.plain() && (fields.take(values) && ...);
}
#if ENVELOPE_WIDE_LINES
template <class... T>
__attribute__((target("avx2,bmi,bmi2"))) bool plainLineWide(const char* line, size_t size, T&... values) {
  PlainFields fields(line, classifyWide(line, size));
  return fields.plain() && (fields.take(values) && ...);
}
#else
template <class... T>
bool plainLineWide(const char* line, size_t size, T&... values) {
  return plainLineNarrow(line, size, values...);
}
#endif
// True when the processor has what plainLineWide needs.
bool wideLines();

// plainLine for a line of at most 64 bytes that may be looked at 72 bytes
// from its start (a field's eight bytes may start at byte 63); a longer line
// is left to the reading field by field rather than tried twice.
template <class... T>
inline bool plainLine(std::string_view text, const char* readable, T&... values) {
  const char* const line = text.data();
  if (text.size() > kLineBytes || readable - line < static_cast<std::ptrdiff_t>(kLineBytes + 8)) return false;
#if ENVELOPE_WIDE_LINES
  static const bool wide = wideLines();
  if (wide) return plainLineWide(line, text.size(), values...);
#endif
  return plainLineNarrow(line, text.size(), values...);
}

template <class T>
struct Held {
  T value{};
  void put(T* target) const { *target = value; }
};
template <>
struct Held<char> {
  std::string_view value;
  void put(char* target) const {
    std::memcpy(target, value.data(), value.size());
    target[value.size()] = '\0';
  }
};

template <class Tuple, class... Targets, size_t... I>
void putAll(const Tuple& held, std::index_sequence<I...>, Targets*... targets) {
  (std::get<I>(held).put(targets), ...);
}
}  // namespace quick

// sscanf(line, fmt, targets...) for formats made of %d, %f and %s conversions
// apart by blanks, `targets` in their order (a %s target as long as the line).
// A line whose fields are all there in their plain form is read without scanf,
// with the same values; any other line, or one with fewer fields, goes to
// sscanf itself, so what it gives is always sscanf's.
// The line lies in memory that may be looked at up to `readable` (at least its end).
template <class... Targets>
int scanLineWithin(std::string_view line, const char* readable, const char* fmt, Targets*... targets) {
  if constexpr (((std::is_same<Targets, int>::value || std::is_same<Targets, float>::value) && ...)) {
    std::tuple<Targets...> values;
    if (std::apply([&](auto&... v) { return quick::plainLine(line, readable, v...); }, values)) {
      std::apply([&](const auto&... v) { ((*targets = v), ...); }, values);
      return static_cast<int>(sizeof...(Targets));
    }
  }
  quick::Fields fields{line.data(), line.data() + line.size(), readable};
  std::tuple<quick::Held<Targets>...> held;
  const bool whole = std::apply([&](auto&... h) { return (quick::takeQuickly(fields, h.value) && ...); }, held);
  if (!whole) return std::sscanf(std::string(line).c_str(), fmt, targets...);
  quick::putAll(held, std::index_sequence_for<Targets...>{}, targets...);
  return static_cast<int>(sizeof...(Targets));
}
template <class... Targets>
int scanLine(std::string_view line, const char* fmt, Targets*... targets) {
  return scanLineWithin(line, line.data() + line.size(), fmt, targets...);
}

class LineReader {
 public:
  explicit LineReader(FILE* file) : file_(file) {}
  // Reads the next line into `line`. At end of file returns false and leaves
  // `line` as it was (so a scan of it repeats the previous values).
  bool next(std::string& line);

 private:
  FILE* file_;
};

// The rest of a file read in large pieces (a file of moderate size in one)
// and taken line by line, each line the text LineReader would give, without a
// copy of it. Nothing is read beyond the piece that holds the line taken.
class TextLines {
 public:
  // Reads `file` into `buffer`, which keeps its room for the next file; the
  // lines point into it and into this object.
  TextLines(FILE* file, std::string& buffer);
  TextLines(const TextLines&) = delete;
  TextLines& operator=(const TextLines&) = delete;
  // The next line, valid until the next call; false at the end of the file,
  // `line` then holding the same text as before.
  bool next(std::string_view& line);
  // How far the memory after a line it gave may be looked at: some bytes
  // beyond the text read are kept for that.
  const char* readableAfter(std::string_view line) const {
    const std::less<const char*> before;
    const char* const start = buffer_.data();
    const char* const stop = start + buffer_.size();
    if (!before(line.data(), start) && before(line.data(), stop)) return stop;
    return line.data() + line.size();
  }

 private:
  static constexpr size_t kLeastRoom = 4096, kMostFirstRoom = size_t{16} << 20, kLookAhead = 32;
  size_t room() const { return buffer_.size() - kLookAhead; }
  // Moves the unread text to the front and reads more after it; false at the
  // end of the file. `line` is moved to a copy when its text moves.
  bool refill(std::string_view& line);
  // Reads until a line end lies within `wanted` unread bytes, or that many are
  // there, or the file ends; false when nothing is left.
  bool ensure(size_t wanted, std::string_view& line);

  // The first NUL byte of the unread text, or its end.
  const char* firstNul() const;

  FILE* file_;
  std::string& buffer_;
  const char* at_;
  const char* end_;
  const char* nul_;  // firstNul(), kept as the lines are taken
  bool ended_ = false;
  std::string previous_;  // the caller's line, when its text moved
  std::string pieces_;    // a line with a NUL byte, as the pieces of fgets make it
};

// "ERROR: NO SE PUDO ESCRIBIR EL FICHERO <path>", as calcest says it.
std::string writeErrorText(const std::string& path);

// Flushes and closes a file that was written; when any write or the close
// failed (a full disk), shows writeErrorText(path) and returns false.
bool closeWritten(FileHandle file, const std::string& path, MessageSink& sink);

// True when the text holds nothing but blanks and line ends.
bool isBlank(std::string_view text);

}  // namespace envelope
