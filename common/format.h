#pragma once
// printf formatting for the suite's files and messages. The formats are part of
// the file layouts, so the bytes must be exactly what printf writes. The digits
// come from std::to_chars, which rounds correctly as glibc's printf does and
// never looks at the locale (the suite's programs keep the "C" numeric locale).
// A format with a conversion the suite does not use (%x, %p, %n, '#', long
// double, wide characters, argument numbers...) is written by vsnprintf whole.
#include <cstdarg>
#include <cstddef>
#include <cstring>
#include <memory>
#include <string>

namespace common {

// A growing byte buffer that formatted text is appended to.
class TextBuffer {
 public:
  // A place for at least n more bytes; finish with advance().
  char* room(size_t n) {
    if (capacity_ - used_ < n) grow(n);
    return data_.get() + used_;
  }
  void advance(size_t n) { used_ += n; }
  void append(const char* text, size_t n) {
    std::memcpy(room(n), text, n);
    used_ += n;
  }
  void reserve(size_t n) { room(n); }
  void clear() { used_ = 0; }
  void truncate(size_t n) { used_ = n < used_ ? n : used_; }
  const char* data() const { return data_.get(); }
  size_t size() const { return used_; }
  std::string str() const { return std::string(data_.get(), used_); }

 private:
  void grow(size_t n);
  std::unique_ptr<char[]> data_;
  size_t used_ = 0, capacity_ = 0;
};

// Appends fmt with its arguments, byte for byte as vsnprintf would write them.
void appendFormatV(TextBuffer& out, const char* fmt, va_list args);
void appendFormat(TextBuffer& out, const char* fmt, ...) __attribute__((format(printf, 2, 3)));

// The same as a string (for messages built from values).
std::string formatText(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

}  // namespace common
