#include "common/scan.h"

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdarg>
#include <cstring>
#include <new>

#include "common/decimal_text.h"
#include "common/run_error.h"

namespace common {

std::string readErrorText(const std::string& fileName, const std::string& item) {
  return "ERROR DE LECTURA EN EL FICHERO " + fileName + ": " + item +
         " (falta un dato o no es un n\xFAmero v\xE1lido)\n";
}

int countConversions(const char* fmt) {
  int count = 0;
  for (const char* p = fmt; *p; ++p) {
    if (*p != '%') continue;
    ++p;
    if (*p == '%') continue;
    if (*p == '*') continue;
    ++count;
  }
  return count;
}

namespace {
// Walks the conversions of fmt alongside the argument pointers and checks that
// every real read is finite ("nan" and "inf" are accepted by scanf, not by us).
bool realsAreFinite(const char* fmt, va_list args) {
  for (const char* p = fmt; *p; ++p) {
    if (*p != '%') continue;
    ++p;
    if (*p == '%' || *p == '*') continue;
    while (*p >= '0' && *p <= '9') ++p;
    bool isLong = false;
    if (*p == 'l') {
      isLong = true;
      ++p;
    }
    switch (*p) {
      case 'f':
      case 'e':
      case 'g':
        if (isLong) {
          if (!std::isfinite(*va_arg(args, double*))) return false;
        } else {
          if (!std::isfinite(*va_arg(args, float*))) return false;
        }
        break;
      case 'd':
        if (isLong)
          (void)va_arg(args, long*);
        else
          (void)va_arg(args, int*);
        break;
      default: (void)va_arg(args, void*);
    }
  }
  return true;
}
}  // namespace

namespace {
// The blanks of scanf in the C locale.
bool isBlank(char c) { return c == ' ' || static_cast<unsigned char>(c - '\t') < 5; }  // \t \n \v \f \r
bool isDigit(char c) { return static_cast<unsigned char>(c - '0') < 10; }

}  // namespace

int Scanner::line() const {
  if (!loaded_ || base_ != 0) return 0;
  const size_t end = std::min(at_, text_.size());
  return 1 + static_cast<int>(std::count(text_.begin(), text_.begin() + static_cast<std::ptrdiff_t>(end), '\n'));
}

void Scanner::load() {
  if (loaded_) return;
  loaded_ = true;
  const long long start = ftello(file_);
  base_ = start > 0 ? start : 0;
  // A file of known size is asked for one byte more than it holds, so that
  // the room made for it (zeros written before the read) is about what the
  // read fills; one that grew or has no size is read on in pieces.
  constexpr size_t kPiece = 64 * 1024;
  size_t piece = kPiece;
  struct stat info {};
  if (fstat(fileno(file_), &info) == 0 && S_ISREG(info.st_mode) && info.st_size > base_) {
    piece = static_cast<size_t>(info.st_size - base_) + 1;
    text_.reserve(piece);
  }
  for (;;) {
    const size_t used = text_.size();
    text_.resize(used + piece);
    const size_t got = std::fread(&text_[used], 1, piece, file_);
    text_.resize(used + got);
    if (got < piece) break;
    piece = kPiece;
  }
  // An editor that saves in UTF-8 may put its byte-order mark first: it is no
  // part of the title or of the first value.
  if (base_ == 0 && text_.compare(0, 3, "\xEF\xBB\xBF") == 0) at_ = 3;
}

bool Scanner::atTextEnd() {
  // A Ctrl-Z byte ends a text file written on Windows, as a text-mode read there
  // would have it; whatever follows it is not part of the file.
  constexpr char kEndOfTextMark = 0x1A;
  while (at_ < text_.size() && isBlank(text_[at_])) ++at_;
  if (at_ == text_.size()) {
    reachedEnd_ = true;
    return true;
  }
  if (text_[at_] != kEndOfTextMark) return false;
  ++at_;
  return true;
}

bool Scanner::scanPlain(const char* fmt, va_list args) {
  struct Taken {
    char conversion;  // 'c', 's', 'd', 'f' (float) or 'F' (double)
    int integer;
    float single;
    double real;
    const char* text;
    size_t length;
  };
  constexpr int kMostValues = 16;
  Taken taken[kMostValues];
  int count = 0;
  const char* p = text_.data() + at_;
  const char* const end = text_.data() + text_.size();
  bool metEnd = false;
  for (const char* f = fmt; *f; ++f) {
    if (isBlank(*f)) {
      while (p < end && isBlank(*p)) ++p;
      metEnd = metEnd || p == end;
      continue;
    }
    if (*f != '%' || count == kMostValues) return false;
    ++f;
    size_t width = 0;
    for (; isDigit(*f) && width < 100000; ++f) width = width * 10 + static_cast<size_t>(*f - '0');
    const bool isLong = *f == 'l';
    if (isLong) ++f;
    Taken& t = taken[count++];
    t.conversion = *f;
    if (*f == 'c') {
      if (isLong || width > 1 || p == end) return false;
      t.text = p++;
      continue;
    }
    // Every other conversion here takes blanks and then a field up to a blank.
    while (p < end && isBlank(*p)) ++p;
    const char* const start = p;
    while (p < end && !isBlank(*p)) ++p;
    if (p == start) return false;
    metEnd = metEnd || p == end;
    switch (*f) {
      case 's':
        if (isLong || (width && static_cast<size_t>(p - start) > width)) return false;
        t.text = start;
        t.length = static_cast<size_t>(p - start);
        break;
      case 'd':
        if (isLong || width || !readNumber(start, p, t.integer)) return false;
        break;
      case 'f':
        if (width) return false;
        if (isLong) {
          t.conversion = 'F';
          if (!readNumber(start, p, t.real)) return false;
        } else if (!readNumber(start, p, t.single)) {
          return false;
        }
        break;
      default: return false;
    }
  }
  if (count == 0) return false;
  for (int k = 0; k < count; ++k) {
    const Taken& t = taken[k];
    switch (t.conversion) {
      case 'c': *va_arg(args, char*) = *t.text; break;
      case 's': {
        char* target = va_arg(args, char*);
        std::memcpy(target, t.text, t.length);
        target[t.length] = '\0';
        break;
      }
      case 'd': *va_arg(args, int*) = t.integer; break;
      case 'f': *va_arg(args, float*) = t.single; break;
      default: *va_arg(args, double*) = t.real; break;
    }
  }
  at_ = static_cast<size_t>(p - text_.data());
  reachedEnd_ = reachedEnd_ || metEnd;
  return true;
}

int Scanner::scanGeneral(const char* fmt, va_list args) {
  const size_t left = text_.size() - at_;
  FILE* rest = fmemopen(&text_[0] + at_, left, "r");
  if (!rest) throw std::bad_alloc();
  const int got = std::vfscanf(rest, fmt, args);
  const long used = std::ftell(rest);
  if (std::feof(rest)) reachedEnd_ = true;
  std::fclose(rest);
  if (used > 0) at_ += static_cast<size_t>(used);
  return got;
}

Scanner::Scan Scanner::scan(bool endAllowed, const char* fmt, va_list args) {
  load();
  if (endAllowed && atTextEnd()) return Scan::Ended;
  // A plain read takes every conversion, and its reals are finite.
  va_list plain;
  va_copy(plain, args);
  const bool wasPlain = scanPlain(fmt, plain);
  va_end(plain);
  if (wasPlain) return Scan::Read;
  va_list check;
  va_copy(check, args);
  const int expected = countConversions(fmt);
  const int got = scanGeneral(fmt, args);
  Scan result = Scan::Read;
  if (got == EOF && endAllowed)
    result = Scan::Ended;
  else if (got != expected || !realsAreFinite(fmt, check))
    result = Scan::Failed;
  va_end(check);
  return result;
}

std::string ScanItem::text() const {
  std::string text = std::string(what) + " " + std::to_string(position);
  if (part) text += std::string(", ") + part;
  return text;
}

void Scanner::read(const std::string& item, const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  const Scan result = scan(false, fmt, args);
  va_end(args);
  if (result != Scan::Read) throw RunError(readErrorText(fileName_, item));
}

void Scanner::read(const ScanItem& item, const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  const Scan result = scan(false, fmt, args);
  va_end(args);
  if (result != Scan::Read) throw RunError(readErrorText(fileName_, item.text()));
}

bool Scanner::readUnlessEnd(const std::string& item, const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  const Scan result = scan(true, fmt, args);
  va_end(args);
  if (result == Scan::Failed) throw RunError(readErrorText(fileName_, item));
  return result == Scan::Read;
}

long long Scanner::sizeInBytes() const {
  struct stat info {};
  if (fstat(fileno(file_), &info) != 0 || !S_ISREG(info.st_mode)) return -1;
  return static_cast<long long>(info.st_size);
}

}  // namespace common
