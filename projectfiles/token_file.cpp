#include "projectfiles/token_file.h"

#include <cerrno>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "common/decimal_text.h"
#include "common/run_error.h"

namespace projectfiles {

using namespace common;

// A plain decimal, or else from_chars, gives the correctly rounded value strtod
// gives for the words they take whole; what it refuses or stops short of (a leading '+', hexadecimal,
// values out of range, any stray character) goes to strtod itself.
bool parseReal(std::string_view text, double& value) {
  if (text.empty()) return false;
  const char* end = text.data() + text.size();
  if (exactDecimal(text.data(), end, value)) return std::isfinite(value);
  const std::string copy(text);
  char* stop = nullptr;
  value = std::strtod(copy.c_str(), &stop);
  return stop == copy.c_str() + copy.size() && std::isfinite(value);
}

bool parseInteger(std::string_view text, int& value) {
  if (text.empty()) return false;
  const char* end = text.data() + text.size();
  int quickValue = 0;
  const auto quick = std::from_chars(text.data(), end, quickValue);
  if (quick.ec == std::errc() && quick.ptr == end) {
    value = quickValue;
    return true;
  }
  const std::string copy(text);
  char* stop = nullptr;
  errno = 0;
  long number = std::strtol(copy.c_str(), &stop, 10);
  if (stop != copy.c_str() + copy.size() || errno != 0 || number < INT_MIN || number > INT_MAX) return false;
  value = static_cast<int>(number);
  return true;
}

TokenFile::TokenFile(const std::string& path) : name_(path), content_(readWholeFile(path)) { findNext(); }

TokenFile::TokenFile(const std::string& name, std::string content) : name_(name), content_(std::move(content)) {
  findNext();
}

namespace {
// What separates words: blanks, and the line end, which also starts a new line.
enum : unsigned char { kWordChar, kBlank, kLineEnd };
struct CharKinds {
  unsigned char kind[256] = {};
  CharKinds() {
    for (unsigned char c : {' ', '\t', '\r', '\v', '\f'}) kind[c] = kBlank;
    kind[static_cast<unsigned char>('\n')] = kLineEnd;
  }
};
const CharKinds kKinds;
unsigned char kindOf(char c) { return kKinds.kind[static_cast<unsigned char>(c)]; }
}  // namespace

void TokenFile::findNext() {
  const char* const text = content_.data();
  const size_t size = content_.size();
  size_t pos = pos_;
  constexpr uint64_t kSpaces = 0x2020202020202020u, kHigh = 0x8080808080808080u;
  for (; pos < size; ++pos) {
    // The runs of spaces that align the columns, eight bytes at a time.
    for (uint64_t eight; pos + 8 <= size;) {
      std::memcpy(&eight, text + pos, 8);
      if (eight != kSpaces) {
        pos += static_cast<size_t>(__builtin_ctzll(eight ^ kSpaces) >> 3);
        break;
      }
      pos += 8;
    }
    while (pos < size && text[pos] == ' ') ++pos;
    if (pos == size) break;
    const unsigned char kind = kindOf(text[pos]);
    if (kind == kWordChar) break;
    if (kind == kLineEnd) {
      ++line_;
      field_ = 0;
    }
  }
  if (pos == size) {
    pos_ = pos;
    atEnd_ = true;
    return;
  }
  const size_t start = pos;
  // Every separator is a control character or the space: whatever is above
  // the space is part of the word without looking it up, eight bytes at a time
  // first (a byte is above the space when adding 0x5F to its low seven bits,
  // or the byte itself, sets its high bit); the first byte that is not is
  // looked up.
  for (uint64_t eight; pos + 8 <= size;) {
    std::memcpy(&eight, text + pos, 8);
    const uint64_t low = ~(((eight & ~kHigh) + 0x5F5F5F5F5F5F5F5Fu) | eight) & kHigh;
    if (low == 0) {
      pos += 8;
      continue;
    }
    pos += static_cast<size_t>(__builtin_ctzll(low) >> 3);
    if (kindOf(text[pos]) != kWordChar) break;
    ++pos;
  }
  while (pos < size && (static_cast<unsigned char>(text[pos]) > ' ' || kindOf(text[pos]) == kWordChar)) ++pos;
  pos_ = pos;
  next_ = {std::string_view(text + start, pos - start), line_, ++field_};
}

std::string TokenFile::errorText(const std::string& what) const {
  return "ERROR EN EL FICHERO " + name_ + ": " + what + "\n";
}

const Token& TokenFile::word(const std::string& item) {
  if (atEnd_) throw RunError(errorText("termina antes de tiempo (falta " + item + ")"));
  taken_ = next_;
  findNext();
  return taken_;
}

namespace {
std::string shown(std::string_view text) { return std::string(text.substr(0, 40)); }
}  // namespace

double TokenFile::number(const std::string& item) {
  const Token& token = word(item);
  double value = 0;
  if (!parseReal(token.text, value))
    throw RunError(errorText(formatText("%s: \"%s\" no es un n\xFAmero v\xE1lido (l\xEDnea %d)", item.c_str(),
                                        shown(token.text).c_str(), token.line)));
  return value;
}

SourceValue TokenFile::real(const std::string& item) {
  const double value = number(item);
  return {std::string(taken_.text), value, taken_.line, taken_.field};
}

int TokenFile::integer(const std::string& item) {
  const Token& token = word(item);
  int value = 0;
  if (!parseInteger(token.text, value))
    throw RunError(errorText(formatText("%s: \"%s\" no es un entero v\xE1lido (l\xEDnea %d)", item.c_str(),
                                        shown(token.text).c_str(), token.line)));
  return value;
}

void TokenFile::expect(const std::string& expected, const std::string& item) {
  const Token& token = word(item);
  if (token.text != expected)
    throw RunError(errorText(formatText("se esperaba \"%s\" en %s (l\xEDnea %d)", expected.c_str(), item.c_str(),
                                        token.line)));
}

}  // namespace projectfiles
