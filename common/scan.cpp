#include "common/scan.h"

#include <sys/stat.h>

#include <cctype>
#include <cmath>
#include <cstdarg>

#include "common/run_error.h"

namespace common {

std::string readErrorText(const std::string& fileName, const std::string& item) {
  return "ERROR DE LECTURA EN EL FICHERO " + fileName + ": " + item + " (falta un dato o no es un n\xFAmero v\xE1lido)\n";
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
    if (*p == 'l') { isLong = true; ++p; }
    switch (*p) {
      case 'f': case 'e': case 'g':
        if (isLong) {
          if (!std::isfinite(*va_arg(args, double*))) return false;
        } else {
          if (!std::isfinite(*va_arg(args, float*))) return false;
        }
        break;
      case 'd':
        if (isLong) (void)va_arg(args, long*); else (void)va_arg(args, int*);
        break;
      default:
        (void)va_arg(args, void*);
    }
  }
  return true;
}
}  // namespace

bool Scanner::atTextEnd() {
  // A Ctrl-Z byte ends a text file written on Windows, as a text-mode read there
  // would have it; whatever follows it is not part of the file.
  constexpr int kEndOfTextMark = 0x1A;
  int c;
  do c = std::getc(file_);
  while (c != EOF && std::isspace(c));
  if (c == EOF || c == kEndOfTextMark) return true;
  std::ungetc(c, file_);
  return false;
}

bool Scanner::scan(bool endAllowed, const std::string& item, const char* fmt, va_list args) {
  if (endAllowed && atTextEnd()) return false;
  va_list check;
  va_copy(check, args);
  int expected = countConversions(fmt);
  int got = std::vfscanf(file_, fmt, args);
  if (got == EOF && endAllowed) {
    va_end(check);
    return false;
  }
  bool ok = got == expected && realsAreFinite(fmt, check);
  va_end(check);
  if (!ok) throw RunError(readErrorText(fileName_, item));
  return true;
}

void Scanner::read(const std::string& item, const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  try {
    scan(false, item, fmt, args);
  } catch (...) {
    va_end(args);
    throw;
  }
  va_end(args);
}

bool Scanner::readUnlessEnd(const std::string& item, const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  bool result;
  try {
    result = scan(true, item, fmt, args);
  } catch (...) {
    va_end(args);
    throw;
  }
  va_end(args);
  return result;
}

long long Scanner::sizeInBytes() const {
  struct stat info {};
  if (fstat(fileno(file_), &info) != 0 || !S_ISREG(info.st_mode)) return -1;
  return static_cast<long long>(info.st_size);
}

}  // namespace common
