#include "projectfiles/token_file.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "common/decimal_text.h"
#include "common/run_error.h"

namespace projectfiles {

using namespace common;

// What readNumber refuses (hexadecimal, values out of range, any stray
// character) goes to strtod itself.
bool parseReal(std::string_view text, double& value) {
  if (text.empty()) return false;
  if (readNumber(text.data(), text.data() + text.size(), value)) return true;
  const std::string copy(text);
  char* stop = nullptr;
  value = std::strtod(copy.c_str(), &stop);
  return stop == copy.c_str() + copy.size() && std::isfinite(value);
}

bool parseInteger(std::string_view text, int& value) {
  if (text.empty()) return false;
  if (readNumber(text.data(), text.data() + text.size(), value)) return true;
  const std::string copy(text);
  char* stop = nullptr;
  errno = 0;
  long number = std::strtol(copy.c_str(), &stop, 10);
  if (stop != copy.c_str() + copy.size() || errno != 0 || number < INT_MIN || number > INT_MAX) return false;
  value = static_cast<int>(number);
  return true;
}

TokenFile::TokenFile(const std::string& path, size_t piece)
    : name_(path), file_(openInputFile(path, "rb")), piece_(std::max<size_t>(piece, 1)) {
  if (!file_) throw RunError(cannotReadText(path));
  content_.resize(piece_);
  findNext();
}

TokenFile::TokenFile(const std::string& name, std::string content)
    : name_(name), content_(std::move(content)), size_(content_.size()) {
  findNext();
}

bool TokenFile::readMore(size_t from, size_t& shift) {
  shift = 0;
  if (!file_) return false;
  shift = std::min(from, kept_);
  if (shift > 0) {
    std::memmove(&content_[0], content_.data() + shift, size_ - shift);
    size_ -= shift;
  }
  if (kept_ != std::string::npos) kept_ -= shift;
  // A word longer than a piece makes room for itself.
  if (content_.size() - size_ < piece_) content_.resize(size_ + piece_);
  const size_t got = std::fread(&content_[size_], 1, content_.size() - size_, file_.get());
  if (std::ferror(file_.get())) throw RunError(cannotReadText(name_));
  size_ += got;
  if (got == 0) file_.reset();
  if (kept_ != std::string::npos) taken_.text = std::string_view(content_.data() + kept_, taken_.text.size());
  return got > 0;
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

// Inline in the readers of words: a long file is mostly this.
__attribute__((always_inline)) inline void TokenFile::findNext() {
  size_t pos = pos_, shift = 0;
  // The blanks and line ends before the word, a piece at a time.
  for (;; pos -= shift) {
    const char* const text = content_.data();
    const size_t size = size_;
    for (; pos < size; ++pos) {
      const unsigned char kind = kindOf(text[pos]);
      if (kind == kWordChar) break;
      if (kind == kLineEnd) {
        ++line_;
        field_ = 0;
      }
    }
    if (pos < size) break;
    if (!readMore(pos, shift)) {
      pos_ = pos - shift;
      atEnd_ = true;
      return;
    }
  }
  size_t start = pos;
  // The word runs to the next separator.
  for (;;) {
    const char* const text = content_.data();
    const size_t size = size_;
    while (pos < size && kindOf(text[pos]) == kWordChar) ++pos;
    if (pos < size) break;
    // The bytes kept move down also when the file has no more.
    const bool more = readMore(start, shift);
    start -= shift;
    pos -= shift;
    if (!more) break;
  }
  pos_ = pos;
  next_ = {std::string_view(content_.data() + start, pos - start), line_, ++field_};
}

std::string TokenFile::errorText(const std::string& what) const {
  return "ERROR EN EL FICHERO " + name_ + ": " + what + "\n";
}

const Token& TokenFile::word(const std::string& item) {
  if (atEnd_) throw RunError(errorText("termina antes de tiempo (falta " + item + ")"));
  taken_ = next_;
  kept_ = static_cast<size_t>(taken_.text.data() - content_.data());
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
    throw RunError(
        errorText(formatText("se esperaba \"%s\" en %s (l\xEDnea %d)", expected.c_str(), item.c_str(), token.line)));
}

}  // namespace projectfiles
