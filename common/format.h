#pragma once
// printf formatting for the suite's files and messages. The formats are part of
// the file layouts, so the bytes must be exactly what printf writes: the
// conversions the files are made of (%d, %f and %lf, %s, %c with a width, the
// '+' flag and a precision) by std::to_chars, which rounds as printf does,
// anything else by the C library's vsnprintf; neither looks at the locale.
// The compiler checks the arguments against the format as it does for printf.
#include <algorithm>
#include <charconv>
#include <cstdarg>
#include <cstddef>
#include <cstring>
#include <string>

namespace common {

// A growing byte buffer that formatted text is appended to.
class TextBuffer {
 public:
  // A place for at least n more bytes; finish with advance().
  char* room(size_t n) {
    if (bytes_.size() - used_ < n) bytes_.resize(std::max(used_ + n, 2 * bytes_.size()));
    return bytes_.data() + used_;
  }
  void advance(size_t n) { used_ += n; }
  void append(const char* text, size_t n) {
    if (n) std::memcpy(room(n), text, n);
    used_ += n;
  }
  void reserve(size_t n) { room(n); }
  void clear() { used_ = 0; }
  void truncate(size_t n) { used_ = n < used_ ? n : used_; }
  const char* data() const { return bytes_.data(); }
  size_t size() const { return used_; }
  std::string str() const { return bytes_.substr(0, used_); }

 private:
  std::string bytes_;  // its size is the room; the first used_ bytes are the text
  size_t used_ = 0;
};

// Appends fmt with its arguments, byte for byte as vsnprintf writes them.
void appendFormatV(TextBuffer& out, const char* fmt, va_list args);
void appendFormat(TextBuffer& out, const char* fmt, ...) __attribute__((format(printf, 2, 3)));

// What "%W.Pf" (width, precision; "%+W.Pf" with `plus`) writes, and "%Wd",
// for writers whose width or precision is a variable.
void appendFixed(TextBuffer& out, double value, int precision = 6, int width = 0, bool plus = false);
void appendInt(TextBuffer& out, int value, int width = 0);

// Copies a string literal, without its terminating NUL, to `at` and returns
// its end.
template <size_t N>
inline char* putLiteral(char* at, const char (&literal)[N]) {
  std::memcpy(at, literal, N - 1);
  return at + N - 1;
}

// Writes what "%d" writes at `at` (room for 11 bytes) and returns its end.
inline char* putInt(char* at, int value) { return std::to_chars(at, at + 11, value).ptr; }

// The same as a string (for messages built from values).
std::string formatText(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

}  // namespace common
