#include "common/format.h"

#include <locale.h>

#include <cstdio>

namespace common {

namespace {
// The files' decimal point is '.', whatever locale a toolkit may have set:
// the text is written in the C locale, on this thread only.
class CNumbers {
 public:
  CNumbers() : before_(c() ? uselocale(c()) : nullptr) {}
  ~CNumbers() {
    if (before_) uselocale(before_);
  }
  CNumbers(const CNumbers&) = delete;
  CNumbers& operator=(const CNumbers&) = delete;

 private:
  static locale_t c() {
    static const locale_t made = newlocale(LC_ALL_MASK, "C", nullptr);
    return made;
  }
  locale_t before_;
};
}  // namespace

void appendFormatV(TextBuffer& out, const char* fmt, va_list args) {
  const CNumbers numbers;
  // Most lines fit the room already there: one call then writes them in place.
  va_list copy;
  va_copy(copy, args);
  const size_t room = 256;
  int n = std::vsnprintf(out.room(room), room, fmt, copy);
  va_end(copy);
  if (n < 0) return;
  const size_t length = static_cast<size_t>(n);
  if (length >= room) {
    // %n counts from the start of this call's text, so the text is written
    // again from the same place, with room for all of it.
    va_copy(copy, args);
    std::vsnprintf(out.room(length + 1), length + 1, fmt, copy);
    va_end(copy);
  }
  out.advance(length);
}

void appendFormat(TextBuffer& out, const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  appendFormatV(out, fmt, args);
  va_end(args);
}

void appendFixed(TextBuffer& out, double value, int precision, int width, bool plus) {
  appendFormat(out, plus ? "%+*.*f" : "%*.*f", width, precision, value);
}

void appendInt(TextBuffer& out, int value, int width) { appendFormat(out, "%*d", width, value); }

std::string formatText(const char* fmt, ...) {
  TextBuffer out;
  va_list args;
  va_start(args, fmt);
  appendFormatV(out, fmt, args);
  va_end(args);
  return out.str();
}

}  // namespace common
