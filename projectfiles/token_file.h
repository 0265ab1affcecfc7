#pragma once
// A text file of the suite cut into whitespace-separated words, each with the
// line and field it stands in. The report prints results exactly as their files
// hold them, and says where each value came from; line length and line breaks
// do not matter, as long as the words come in their order.
#include <cstddef>
#include <string>
#include <string_view>

#include "common/file_handle.h"
#include "common/whole_file.h"

namespace projectfiles {

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

// The words are found as they are asked for, the file read a piece at a time
// as they are: a large file (the modes of a long beam) is never held whole,
// nor as a list of words.
class TokenFile {
 public:
  // Reads the file in pieces of `piece` bytes; throws RunError naming it when
  // it cannot be opened or read.
  explicit TokenFile(const std::string& path, size_t piece = size_t{1} << 17);
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
  inline void findNext();  // the word after the current one into next_, or atEnd_
  // Moves the bytes from `from` (or from the word taken, if that is before)
  // to the front and reads the next piece after them; `shift` is how far they
  // moved, also when nothing more was read. False at the end of the file.
  bool readMore(size_t from, size_t& shift);
  std::string name_, content_;       // the file's text from the word taken on
  common::FileHandle file_;          // null once read to its end, or for a text
  size_t size_ = 0, piece_ = 0;      // bytes of content_ read; bytes read at a time
  size_t kept_ = std::string::npos;  // where the word taken starts
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
