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
#include <memory>
#include <string>
#include <utility>

namespace common {

// A growing byte buffer that formatted text is appended to. Its room is left
// uninitialised: a page of it is first touched when text reaches it.
class TextBuffer {
 public:
  TextBuffer() = default;
  TextBuffer(const TextBuffer&) = delete;
  TextBuffer& operator=(const TextBuffer&) = delete;
  TextBuffer(TextBuffer&& other) noexcept { swap(other); }
  TextBuffer& operator=(TextBuffer&& other) noexcept {
    TextBuffer gone(std::move(other));
    swap(gone);
    return *this;
  }

  // A place for at least n more bytes; finish with advance().
  // Never null, even for no bytes on an empty buffer.
  char* room(size_t n) {
    if (capacity_ - used_ < n || !bytes_) grow(std::max({used_ + n, 2 * capacity_, kLeastRoom}));
    return bytes_.get() + used_;
  }
  void advance(size_t n) { used_ += n; }
  void append(const char* text, size_t n) {
    if (n) std::memcpy(room(n), text, n);
    used_ += n;
  }
  void reserve(size_t n) { room(n); }
  void clear() { used_ = 0; }
  void truncate(size_t n) { used_ = n < used_ ? n : used_; }
  const char* data() const { return bytes_ ? bytes_.get() : ""; }
  size_t size() const { return used_; }
  std::string str() const { return used_ ? std::string(bytes_.get(), used_) : std::string(); }

 private:
  void swap(TextBuffer& other) noexcept {
    std::swap(bytes_, other.bytes_);
    std::swap(capacity_, other.capacity_);
    std::swap(used_, other.used_);
  }
  void grow(size_t capacity) {
    std::unique_ptr<char[]> bigger(new char[capacity]);
    if (used_) std::memcpy(bigger.get(), bytes_.get(), used_);
    bytes_ = std::move(bigger);
    capacity_ = capacity;
  }

  static constexpr size_t kLeastRoom = 64;
  std::unique_ptr<char[]> bytes_;  // the first used_ of capacity_ bytes are the text
  size_t capacity_ = 0, used_ = 0;
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
