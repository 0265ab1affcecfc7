#include "projectfiles/token_file.h"

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>

#include "common/run_error.h"

namespace projectfiles {

using namespace common;

bool parseReal(const std::string& text, double& value) {
  if (text.empty()) return false;
  char* end = nullptr;
  value = std::strtod(text.c_str(), &end);
  return end == text.c_str() + text.size() && std::isfinite(value);
}

bool parseInteger(const std::string& text, int& value) {
  if (text.empty()) return false;
  char* end = nullptr;
  errno = 0;
  long number = std::strtol(text.c_str(), &end, 10);
  if (end != text.c_str() + text.size() || errno != 0 || number < INT_MIN || number > INT_MAX) return false;
  value = static_cast<int>(number);
  return true;
}

TokenFile::TokenFile(const std::string& path) : name_(path) { split(readWholeFile(path)); }

TokenFile::TokenFile(const std::string& name, const std::string& content) : name_(name) { split(content); }

void TokenFile::split(const std::string& content) {
  int line = 1, field = 0;
  size_t i = 0;
  while (i < content.size()) {
    char c = content[i];
    if (c == '\n') {
      ++line;
      field = 0;
      ++i;
    } else if (c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f') {
      ++i;
    } else {
      size_t start = i;
      while (i < content.size() && content[i] != '\n' && content[i] != ' ' && content[i] != '\t' &&
             content[i] != '\r' && content[i] != '\v' && content[i] != '\f')
        ++i;
      tokens_.push_back({content.substr(start, i - start), line, ++field});
    }
  }
}

std::string TokenFile::errorText(const std::string& what) const {
  return "ERROR EN EL FICHERO " + name_ + ": " + what + "\n";
}

const Token& TokenFile::word(const std::string& item) {
  if (atEnd()) throw RunError(errorText("termina antes de tiempo (falta " + item + ")"));
  return tokens_[next_++];
}

SourceValue TokenFile::real(const std::string& item) {
  const Token& token = word(item);
  SourceValue out{token.text, 0.0, token.line, token.field};
  if (!parseReal(token.text, out.value))
    throw RunError(errorText(formatText("%s: \"%s\" no es un n\xFAmero v\xE1lido (l\xEDnea %d)", item.c_str(), token.text.substr(0, 40).c_str(), token.line)));
  return out;
}

int TokenFile::integer(const std::string& item) {
  const Token& token = word(item);
  int value = 0;
  if (!parseInteger(token.text, value))
    throw RunError(errorText(formatText("%s: \"%s\" no es un entero v\xE1lido (l\xEDnea %d)", item.c_str(), token.text.substr(0, 40).c_str(), token.line)));
  return value;
}

void TokenFile::expect(const std::string& expected, const std::string& item) {
  const Token& token = word(item);
  if (token.text != expected)
    throw RunError(errorText(formatText("se esperaba \"%s\" en %s (l\xEDnea %d)", expected.c_str(), item.c_str(),
                                        token.line)));
}

}  // namespace projectfiles
