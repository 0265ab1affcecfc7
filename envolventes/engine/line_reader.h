#pragma once
// Line-by-line reading of the project files: each read takes one whole line,
// however long (calcest writes long lines for large values). The text is then
// scanned with the file's own format. Nothing is ever written past a buffer:
// string targets are sized from the line itself. Also the checked closing of
// the files the envelope writes.
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <string_view>
#include <tuple>
#include <type_traits>

#include "common/decimal_text.h"
#include "common/file_handle.h"
#include "common/scan.h"
#include "envolventes/engine/message_sink.h"

namespace envelope {

// Opens a file for reading; a directory of that name does not count as a file.
common::FileHandle openForReading(const std::string& path);

// True when openForReading(path) would give a file; nothing is opened.
bool canOpenForReading(const std::string& path);

namespace fields {
// The blanks of scanf in the C locale.
inline bool isBlank(char c) { return c == ' ' || static_cast<unsigned char>(c - '\t') < 5; }  // \t \n \v \f \r

// The next field of [at, end), after the blanks before it and up to a blank
// or the end; empty at the end of the line.
inline std::string_view next(const char*& at, const char* end) {
  while (at < end && isBlank(*at)) ++at;
  const char* start = at;
  while (at < end && !isBlank(*at)) ++at;
  return std::string_view(start, static_cast<size_t>(at - start));
}

// One field whole in its plain form: then the value is the one sscanf gives.
inline bool take(const char*& at, const char* end, int& value) {
  const std::string_view field = next(at, end);
  return common::readNumber(field.data(), field.data() + field.size(), value);
}
inline bool take(const char*& at, const char* end, float& value) {
  const std::string_view field = next(at, end);
  return common::readNumber(field.data(), field.data() + field.size(), value);
}
inline bool take(const char*& at, const char* end, std::string_view& word) {
  word = next(at, end);
  return !word.empty();
}

template <class T>
struct Held {
  T value{};
  void put(T* target) const { *target = value; }
};
template <>
struct Held<char> {
  std::string_view value;
  void put(char* target) const {
    std::memcpy(target, value.data(), value.size());
    target[value.size()] = '\0';
  }
};
}  // namespace fields

// sscanf(line, fmt, targets...) for formats made of %d, %f and %s conversions
// apart by blanks, `targets` in their order (a %s target as long as the line).
// A line whose fields are all there in their plain form is read field by
// field, with the same values; any other line, or one with fewer fields, goes
// to sscanf itself, so what it gives is always sscanf's.
template <class... Targets>
int scanLine(std::string_view line, const char* fmt, Targets*... targets) {
  const char* at = line.data();
  const char* const end = at + line.size();
  std::tuple<fields::Held<Targets>...> held;
  const bool whole = std::apply([&](auto&... h) { return (fields::take(at, end, h.value) && ...); }, held);
  if (!whole) return std::sscanf(std::string(line).c_str(), fmt, targets...);
  std::apply([&](const auto&... h) { (h.put(targets), ...); }, held);
  return static_cast<int>(sizeof...(Targets));
}

namespace fields {
// Where scanLine puts a record field: in the field itself, or for a char in
// the word it begins, read whole as %s reads it (the char takes its letter).
template <class T>
T* target(T& field, std::string&) {
  return &field;
}
inline char* target(char&, std::string& word) { return &word[0]; }
}  // namespace fields

// scanLine over the fields of a record (ints, floats and at most one char),
// in their order.
template <class... T>
int scanFields(std::string_view line, std::tuple<T&...> fields) {
  constexpr int words = (0 + ... + std::is_same_v<T, char>);
  static_assert(words <= 1 && !(std::is_same_v<T, double> || ...));
  static const std::string format = common::fieldsFormat<T...>(" %s");
  thread_local std::string word;
  if constexpr (words > 0) word.assign(line.size() + 1, '\0');  // %s can never overflow it
  return std::apply(
      [&](T&... field) {
        const int got = scanLine(line, format.c_str(), fields::target(field, word)...);
        ((std::is_same_v<T, char> && word[0] != '\0' ? void(field = static_cast<T>(word[0])) : void()), ...);
        return got;
      },
      fields);
}

class LineReader {
 public:
  explicit LineReader(FILE* file) : file_(file) {}
  // Reads the next line into `line`. At end of file returns false and leaves
  // `line` as it was (so a scan of it repeats the previous values).
  bool next(std::string& line);

 private:
  FILE* file_;
};

// The rest of a file read in large pieces (a file of moderate size in one)
// and taken line by line, each line the text LineReader would give, without a
// copy of it. Nothing is read beyond the piece that holds the line taken.
class TextLines {
 public:
  // Reads `file` into `buffer`, which keeps its room for the next file; the
  // lines point into it and into this object.
  TextLines(FILE* file, std::string& buffer);
  TextLines(const TextLines&) = delete;
  TextLines& operator=(const TextLines&) = delete;
  // The next line, valid until the next call; false at the end of the file,
  // `line` then holding the same text as before.
  bool next(std::string_view& line);

 private:
  static constexpr size_t kLeastRoom = 4096, kMostFirstRoom = size_t{16} << 20, kLookAhead = 32;
  size_t room() const { return buffer_.size() - kLookAhead; }
  // Moves the unread text to the front and reads more after it; false at the
  // end of the file. `line` is moved to a copy when its text moves.
  bool refill(std::string_view& line);
  // Reads until a line end lies within `wanted` unread bytes, or that many are
  // there, or the file ends; false when nothing is left.
  bool ensure(size_t wanted, std::string_view& line);

  // The first NUL byte of the unread text, or its end.
  const char* firstNul() const;

  FILE* file_;
  std::string& buffer_;
  const char* at_;
  const char* end_;
  const char* nul_;  // firstNul(), kept as the lines are taken
  bool ended_ = false;
  std::string previous_;  // the caller's line, when its text moved
  std::string pieces_;    // a line with a NUL byte, as the pieces of fgets make it
};

// "ERROR: NO SE PUDO ESCRIBIR EL FICHERO <path>", as calcest says it.
std::string writeErrorText(const std::string& path);

// Flushes and closes a file that was written; when any write or the close
// failed (a full disk), shows writeErrorText(path) and returns false.
bool closeWritten(common::FileHandle file, const std::string& path, MessageSink& sink);

// True when the text holds nothing but blanks and line ends.
bool isBlank(std::string_view text);

}  // namespace envelope
