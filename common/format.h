#pragma once
// printf formatting for the suite's files and messages. The formats are part of
// the file layouts, so the bytes must be exactly what printf writes. The
// conversions the files use (%d, %f and %lf, %s, %c with width, precision and
// '+') are done here: integers and the digits beyond 64 bits by std::to_chars,
// fixed notation that fits 64 bits by exact integer scaling, both rounding the
// exact binary value as glibc's printf does, neither looking at the locale.
// Other flags and conversions (%e, %g, %x, %ld...) go to snprintf one by one; a
// format with what only the library can do (%n, %p, '*', argument numbers,
// %hd, long double, wide characters) is written by vsnprintf whole.
#include <cstdarg>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

namespace common {

// How a TextBuffer lets its memory go: back to the heap, or to whoever lent it.
struct TextBufferFree {
  void (*release)(char*) = nullptr;  // set for lent memory
  void operator()(char* p) const {
    if (release)
      release(p);
    else
      std::free(p);
  }
};

// A growing byte buffer that formatted text is appended to.
class TextBuffer {
 public:
  TextBuffer() = default;
  // A buffer that starts in `memory`, room for `capacity` bytes lent by an
  // owner who takes it back through `release` once the buffer leaves it: when
  // it grows beyond it, and when it goes.
  TextBuffer(char* memory, size_t capacity, void (*release)(char*))
      : data_(memory, TextBufferFree{release}), capacity_(capacity) {}
  TextBuffer(TextBuffer&& other) noexcept
      : data_(std::move(other.data_)), used_(other.used_), capacity_(other.capacity_) {
    other.used_ = other.capacity_ = 0;
  }
  TextBuffer& operator=(TextBuffer&& other) noexcept {
    data_ = std::move(other.data_);
    used_ = other.used_;
    capacity_ = other.capacity_;
    other.used_ = other.capacity_ = 0;
    return *this;
  }

  // A place for at least n more bytes; finish with advance().
  char* room(size_t n) {
    if (capacity_ - used_ < n) grow(n);
    return data_.get() + used_;
  }
  void advance(size_t n) { used_ += n; }
  void append(const char* text, size_t n) {
    copy(room(n), text, n);
    used_ += n;
  }
  // Most pieces of a line are a few bytes: two overlapping fixed-size moves
  // copy them without a library call.
  static void copy(char* to, const char* from, size_t n) {
    if (n >= 8 && n <= 16) {
      __builtin_memcpy(to, from, 8);
      __builtin_memcpy(to + n - 8, from + n - 8, 8);
    } else if (n >= 4 && n < 8) {
      __builtin_memcpy(to, from, 4);
      __builtin_memcpy(to + n - 4, from + n - 4, 4);
    } else if (n < 4) {
      for (size_t k = 0; k < n; ++k) to[k] = from[k];
    } else {
      std::memcpy(to, from, n);
    }
  }
  void reserve(size_t n) { room(n); }
  void clear() { used_ = 0; }
  void truncate(size_t n) { used_ = n < used_ ? n : used_; }
  const char* data() const { return data_.get(); }
  size_t size() const { return used_; }
  std::string str() const { return std::string(data_.get(), used_); }

 private:
  void grow(size_t n);
  std::unique_ptr<char, TextBufferFree> data_;  // grown by realloc: a large buffer moves without a copy
  size_t used_ = 0, capacity_ = 0;
};

// Appends fmt with its arguments, byte for byte as vsnprintf would write them.
void appendFormatV(TextBuffer& out, const char* fmt, va_list args);

// One conversion without a format to read, for writers of many numbers:
// appendFixed writes what "%W.Pf" (width, precision; "%+W.Pf" with `plus`)
// writes, appendInt what "%Wd" writes.
void appendFixed(TextBuffer& out, double value, int precision = 6, int width = 0, bool plus = false);
void appendInt(TextBuffer& out, int value, int width = 0);

// putInt beyond 0..9999.
char* putIntSlow(char* at, int value);

// The decimal digits of 00..99, two by two.
extern const char kDigitPairs[201];

// Copies a string literal, without its terminating NUL, to `at` and returns
// its end.
template <size_t N>
inline char* putLiteral(char* at, const char (&literal)[N]) {
  std::memcpy(at, literal, N - 1);
  return at + N - 1;
}

// Writes what "%d" writes at `at` (room for 11 bytes) and returns its end:
// the small numbers of drawing coordinates without a library call.
inline char* putInt(char* at, int value) {
  const unsigned v = static_cast<unsigned>(value);
  if (v < 100) {
    if (v < 10) {
      *at = static_cast<char>('0' + v);
      return at + 1;
    }
    std::memcpy(at, kDigitPairs + 2 * v, 2);
    return at + 2;
  }
  if (v < 10000) {
    const unsigned high = v / 100;
    if (high < 10) {
      *at++ = static_cast<char>('0' + high);
    } else {
      std::memcpy(at, kDigitPairs + 2 * high, 2);
      at += 2;
    }
    std::memcpy(at, kDigitPairs + 2 * (v % 100), 2);
    return at + 2;
  }
  return putIntSlow(at, value);
}

// For a writer that prints the same few string literals many times (the
// traces): each format is parsed once and its parse kept by the literal's
// address, so fmt must have static storage.
class LiteralFormats {
 public:
  LiteralFormats();
  LiteralFormats(const LiteralFormats&) = delete;
  LiteralFormats& operator=(const LiteralFormats&) = delete;
  ~LiteralFormats();
  void appendV(TextBuffer& out, const char* literal, va_list args);
  void append(TextBuffer& out, const char* literal, ...) __attribute__((format(printf, 3, 4)));

 private:
  struct Slots;
  std::unique_ptr<Slots> slots_;  // made on first use
};
void appendFormat(TextBuffer& out, const char* fmt, ...) __attribute__((format(printf, 2, 3)));

// The same as a string (for messages built from values).
std::string formatText(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

}  // namespace common
