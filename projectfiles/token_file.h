#pragma once
// A text file of the suite cut into whitespace-separated words, each with the
// line and field it stands in. The report prints results exactly as their files
// hold them, and says where each value came from; line length and line breaks
// do not matter, as long as the words come in their order.
#include <string>
#include <vector>

#include "common/whole_file.h"

namespace projectfiles {

using namespace common;

struct Token {
  std::string text;
  int line = 0;   // 1-based
  int field = 0;  // 1-based position of the word in its line
};

// The place of a value in its file, written into the report beside it.
struct SourceValue {
  std::string text;  // exactly as in the file
  double value = 0;
  int line = 0, field = 0;
};

class TokenFile {
 public:
  // Reads the whole file; throws RunError naming it when it cannot be opened.
  explicit TokenFile(const std::string& path);
  // For tests and fuzzing: the words of a text held in memory.
  TokenFile(const std::string& name, const std::string& content);

  const std::string& name() const { return name_; }
  bool atEnd() const { return next_ >= tokens_.size(); }
  const Token* peek() const { return atEnd() ? nullptr : &tokens_[next_]; }

  // The next word; throws RunError naming the file and `item` at the end.
  const Token& word(const std::string& item);
  // The next word as a finite real / an integer, or RunError naming `item`.
  SourceValue real(const std::string& item);
  int integer(const std::string& item);
  // The next word must be exactly `expected`.
  void expect(const std::string& expected, const std::string& item);

  // The message for a file whose content does not match what it should hold.
  std::string errorText(const std::string& what) const;

 private:
  void split(const std::string& content);
  std::string name_;
  std::vector<Token> tokens_;
  size_t next_ = 0;
};

// Whole-word conversions (no trailing characters, finite reals).
bool parseReal(const std::string& text, double& value);
bool parseInteger(const std::string& text, int& value);

}  // namespace projectfiles
