#include "common/format.h"

#include <locale.h>

#include <cmath>
#include <cstdio>

namespace common {

namespace {
// The files' decimal point is '.', whatever locale a toolkit may have set:
// what the C library writes is written in the C locale, on this thread only.
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

void appendByLibrary(TextBuffer& out, const char* fmt, va_list args) {
  const CNumbers numbers;
  va_list copy;
  va_copy(copy, args);
  const size_t room = 256;  // most lines fit: one call then writes them in place
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

void appendByLibrary(TextBuffer& out, const char* fmt, ...) __attribute__((format(printf, 2, 3)));
void appendByLibrary(TextBuffer& out, const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  appendByLibrary(out, fmt, args);
  va_end(args);
}

// The conversions the files are made of, written here by std::to_chars, which
// rounds the exact binary value as printf does: %d, %f and %lf, %s and %c,
// with a width and, for reals, the '+' flag and a precision.
struct Conversion {
  bool plus = false;
  int width = 0, precision = -1;
  char kind = 0;
};
constexpr int kMostDigits = 60;  // beyond, the library writes the real

// Reads the conversion after a '%'; false for anything else (other flags, '*',
// argument numbers, other lengths and kinds), which the library writes.
bool parse(const char*& p, Conversion& c) {
  const char* q = p;
  auto number = [&q] {
    int n = 0;
    while (*q >= '0' && *q <= '9' && n < 1000) n = n * 10 + (*q++ - '0');
    return n;
  };
  c.plus = *q == '+';
  if (c.plus) ++q;
  if (*q == '0') return false;  // the flag '0'
  c.width = number();
  if (*q == '.') {
    ++q;
    c.precision = number();
  }
  const bool isLong = *q == 'l';
  if (isLong) ++q;
  c.kind = *q;
  switch (c.kind) {
    case 'f':  // %f and %lf, with '+', width and precision
      if (c.precision > kMostDigits) return false;
      break;
    case 'd':  // '+' and width
      if (isLong || c.precision >= 0) return false;
      break;
    case 's':
    case 'c':  // width
      if (isLong || c.plus || c.precision >= 0) return false;
      break;
    default: return false;
  }
  if (c.width >= 1000) return false;
  p = q + 1;
  return true;
}

void pad(TextBuffer& out, const char* text, size_t length, int width) {
  const size_t spaces = static_cast<size_t>(width) > length ? static_cast<size_t>(width) - length : 0;
  char* at = out.room(spaces + length);
  std::memset(at, ' ', spaces);
  if (length) std::memcpy(at + spaces, text, length);
  out.advance(spaces + length);
}

// Takes the `length` bytes written at `at`, the start of the buffer's room,
// set right in `width` as pad() sets them.
void takeWritten(TextBuffer& out, char* at, size_t length, int width) {
  if (static_cast<size_t>(width) > length) {
    const size_t spaces = static_cast<size_t>(width) - length;
    std::memmove(at + spaces, at, length);
    std::memset(at, ' ', spaces);
    length += spaces;
  }
  out.advance(length);
}

void fixed(TextBuffer& out, double value, int precision, int width, bool plus) {
  if (!std::isfinite(value) || precision > kMostDigits) {
    appendByLibrary(out, plus ? "%+*.*f" : "%*.*f", width, precision, value);
    return;
  }
  const size_t most = 320 + kMostDigits;  // DBL_MAX has 309 digits before the point
  char* const start = out.room(most + static_cast<size_t>(width));
  char* at = start;
  if (plus && !std::signbit(value)) *at++ = '+';
  at = std::to_chars(at, start + most, value, std::chars_format::fixed, precision).ptr;
  takeWritten(out, start, static_cast<size_t>(at - start), width);
}

void integer(TextBuffer& out, int value, int width, bool plus) {
  const size_t most = 12;  // a sign and ten digits
  char* const start = out.room(most + static_cast<size_t>(width));
  char* at = start;
  if (plus && value >= 0) *at++ = '+';
  at = std::to_chars(at, start + most, value).ptr;
  takeWritten(out, start, static_cast<size_t>(at - start), width);
}

}  // namespace

void appendFormatV(TextBuffer& out, const char* fmt, va_list args) {
  const size_t start = out.size();
  va_list list;
  va_copy(list, args);
  for (const char* p = fmt; *p;) {
    const char* percent = p;  // the formats' literal runs are short: a loop beats a call
    while (*percent && *percent != '%') ++percent;
    out.append(p, static_cast<size_t>(percent - p));
    if (!*percent) break;
    p = percent + 1;
    if (*p == '%') {
      out.append(p++, 1);
      continue;
    }
    Conversion c;
    if (!parse(p, c)) {  // one the library writes: it writes the whole format
      va_end(list);
      out.truncate(start);
      return appendByLibrary(out, fmt, args);
    }
    switch (c.kind) {
      case 'f': fixed(out, va_arg(list, double), c.precision < 0 ? 6 : c.precision, c.width, c.plus); break;
      case 'd': integer(out, va_arg(list, int), c.width, c.plus); break;
      case 'c': {
        const char ch = static_cast<char>(va_arg(list, int));
        pad(out, &ch, 1, c.width);
        break;
      }
      default: {
        const char* s = va_arg(list, const char*);
        if (!s) s = "(null)";  // what the C library writes for it
        pad(out, s, std::strlen(s), c.width);
      }
    }
  }
  va_end(list);
}

void appendFormat(TextBuffer& out, const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  appendFormatV(out, fmt, args);
  va_end(args);
}

void appendFixed(TextBuffer& out, double value, int precision, int width, bool plus) {
  fixed(out, value, precision, width, plus);
}

void appendInt(TextBuffer& out, int value, int width) { integer(out, value, width, false); }

std::string formatText(const char* fmt, ...) {
  TextBuffer out;
  va_list args;
  va_start(args, fmt);
  appendFormatV(out, fmt, args);
  va_end(args);
  return out.str();
}

}  // namespace common
