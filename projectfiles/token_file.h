#pragma once
// A text file of the suite cut into whitespace-separated words, each with the
// line and field it stands in. The report prints results exactly as their files
// hold them, and says where each value came from; line length and line breaks
// do not matter, as long as the words come in their order.
#include <string>
#include <string_view>

#include "common/whole_file.h"

namespace projectfiles {

using namespace common;

// A word of the file; `text` points into the file's content held by its
// TokenFile, and stays valid as long as that does.
struct Token {
  std::string_view text;
  int line = 0;   // 1-based
  int field = 0;  // 1-based position of the word in its line
};

// The place of a value in its file, written into the report beside it.
struct SourceValue {
  std::string text;  // exactly as in the file
  double value = 0;
  int line = 0, field = 0;
};

// The words are found as they are asked for: a large file (the modes of a long
// beam) is never held a second time as a list of words.
class TokenFile {
 public:
  // Reads the whole file; throws RunError naming it when it cannot be opened.
  explicit TokenFile(const std::string& path);
  // For tests and fuzzing: the words of a text held in memory.
  TokenFile(const std::string& name, std::string content);
  // The words point into the content held here.
  TokenFile(const TokenFile&) = delete;
  TokenFile& operator=(const TokenFile&) = delete;

  const std::string& name() const { return name_; }
  bool atEnd() const { return atEnd_; }
  const Token* peek() const { return atEnd_ ? nullptr : &next_; }

  // The next word; throws RunError naming the file and `item` at the end. The
  // reference holds until the next word is taken.
  const Token& word(const std::string& item);
  // The next word as a finite real / an integer, or RunError naming `item`.
  SourceValue real(const std::string& item);
  int integer(const std::string& item);
  // As real(), for a value whose text and place are not kept.
  double number(const std::string& item);
  // The next word must be exactly `expected`.
  void expect(const std::string& expected, const std::string& item);

  // The message for a file whose content does not match what it should hold.
  std::string errorText(const std::string& what) const;

 private:
  void findNext();  // the word after the current one into next_, or atEnd_
  std::string name_, content_;
  size_t pos_ = 0;
  int line_ = 1, field_ = 0;
  Token next_, taken_;
  bool atEnd_ = false;
};

// Whole-word conversions (no trailing characters, finite reals), with the
// values strtod and strtol give.
bool parseReal(std::string_view text, double& value);
bool parseInteger(std::string_view text, int& value);

}  // namespace projectfiles
