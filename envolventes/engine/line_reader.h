#pragma once
// Line-by-line reading of the project files: each read takes one whole line,
// however long (calcest writes long lines for large values). The text is then
// scanned with the file's own format. Nothing is ever written past a buffer:
// string targets are sized from the line itself. Also the checked closing of
// the files the envelope writes.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <string_view>
#include <tuple>
#include <type_traits>
#include <utility>

#include "common/file_handle.h"
#include "envolventes/engine/message_sink.h"

namespace envelope {

using namespace common;

// Opens a file for reading; a directory of that name does not count as a file.
FileHandle openForReading(const std::string& path);

// True when openForReading(path) would give a file; nothing is opened.
bool canOpenForReading(const std::string& path);

namespace quick {
// One field of a line, taken after the blanks before it, when it is whole in
// its plain form: an integer of at most nine digits with an optional '-'; a
// decimal real (optional sign, digits, point, exponent) that from_chars reads
// to its end; any word. Then the value is the one sscanf gives.
struct Fields {
  const char* next;
  const char* end;
  const char* readable;  // the memory after the line that may be looked at, up to here
};
bool take(Fields& line, int& value);
bool take(Fields& line, float& value);
bool take(Fields& line, std::string_view& word);

// Eight bytes of the text at p, the first in the lowest byte.
inline uint64_t eightBytes(const char* p) {
  uint64_t bytes;
  std::memcpy(&bytes, p, sizeof bytes);
  return bytes;
}

// The usual field of the files, a plain decimal of at most seven digits with
// its sign, when its sign and eight bytes from its first digit or point may be
// looked at and it ends within them, before the end of the line: its digits
// and point are found in those bytes at once and its digits made a whole
// number in three steps, which divided by the exact power of ten of its
// decimals gives the value shortPlain gives. Null for anything else.
inline const char* shortPlainInEight(const char* p, const char* end, float& value) {
  static constexpr float kPowers[8] = {1e0f, 1e1f, 1e2f, 1e3f, 1e4f, 1e5f, 1e6f, 1e7f};
  const bool negative = *p == '-';
  const char* const q = p + (negative || *p == '+');
  // Digits become 0..9 and every other byte 10 or more; the high bit of each
  // byte of `other` marks a byte that is no digit.
  const uint64_t values = eightBytes(q) ^ 0x3030303030303030u;
  constexpr uint64_t kHigh = 0x8080808080808080u;
  const uint64_t other = (((values & ~kHigh) + 0x7676767676767676u) | values) & kHigh;
  if (other == 0) return nullptr;  // eight digits or more
  const int first = __builtin_ctzll(other) >> 3;
  const bool point = q[first] == '.';
  int stop = first;
  uint64_t digits = values;
  if (point) {
    const uint64_t rest = other & (other - 1);
    if (rest == 0) return nullptr;
    stop = __builtin_ctzll(rest) >> 3;
    // The point taken out: the bytes after it move down one place.
    const uint64_t below = (uint64_t{1} << (8 * first)) - 1;
    digits = (values & below) | ((values >> 8) & ~below);
  }
  const int digitCount = stop - point;
  const char c = q[stop];
  if (digitCount == 0 || q + stop >= end || !(c == ' ' || static_cast<unsigned char>(c - '\t') < 5)) return nullptr;
  // The digits to the top of the word behind zeros, then pairs, fours and
  // eights of them combined.
  digits <<= 8 * (8 - digitCount);
  digits = (digits * 10 + (digits >> 8)) & 0x00FF00FF00FF00FFu;
  digits = (digits * 100 + (digits >> 16)) & 0x0000FFFF0000FFFFu;
  digits = (digits * 10000 + (digits >> 32)) & 0xFFFFFFFFu;
  const float magnitude = static_cast<float>(digits) / kPowers[stop - first - point];
  value = negative ? -magnitude : magnitude;
  return q + stop;
}

// take() for a real, first tried where the line may be looked at beyond the
// field: the spaces before it skipped eight at a time, then shortPlainInEight.
inline bool takeQuickly(Fields& line, float& value) {
  const char* p = line.next;
  if (line.readable - p >= 24) {
    constexpr uint64_t kSpaces = 0x2020202020202020u;
    uint64_t notSpaces = eightBytes(p) ^ kSpaces;  // zero bytes are spaces
    if (notSpaces == 0) notSpaces = eightBytes(p += 8) ^ kSpaces;
    if (notSpaces != 0) {
      p += __builtin_ctzll(notSpaces) >> 3;
      if (p < line.end)
        if (const char* stop = shortPlainInEight(p, line.end, value)) {
          line.next = stop;
          return true;
        }
    }
  }
  return take(line, value);
}
template <class T>
bool takeQuickly(Fields& line, T& value) {
  return take(line, value);
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

template <class Tuple, class... Targets, size_t... I>
void putAll(const Tuple& held, std::index_sequence<I...>, Targets*... targets) {
  (std::get<I>(held).put(targets), ...);
}
}  // namespace quick

// sscanf(line, fmt, targets...) for formats made of %d, %f and %s conversions
// apart by blanks, `targets` in their order (a %s target as long as the line).
// A line whose fields are all there in their plain form is read without scanf,
// with the same values; any other line, or one with fewer fields, goes to
// sscanf itself, so what it gives is always sscanf's.
// The line lies in memory that may be looked at up to `readable` (at least its end).
template <class... Targets>
int scanLineWithin(std::string_view line, const char* readable, const char* fmt, Targets*... targets) {
  quick::Fields fields{line.data(), line.data() + line.size(), readable};
  std::tuple<quick::Held<Targets>...> held;
  const bool whole = std::apply([&](auto&... h) { return (quick::takeQuickly(fields, h.value) && ...); }, held);
  if (!whole) return std::sscanf(std::string(line).c_str(), fmt, targets...);
  quick::putAll(held, std::index_sequence_for<Targets...>{}, targets...);
  return static_cast<int>(sizeof...(Targets));
}
template <class... Targets>
int scanLine(std::string_view line, const char* fmt, Targets*... targets) {
  return scanLineWithin(line, line.data() + line.size(), fmt, targets...);
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
  // How far the memory after a line it gave may be looked at: some bytes
  // beyond the text read are kept for that.
  const char* readableAfter(std::string_view line) const {
    const std::less<const char*> before;
    const char* const start = buffer_.data();
    const char* const stop = start + buffer_.size();
    if (!before(line.data(), start) && before(line.data(), stop)) return stop;
    return line.data() + line.size();
  }

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
bool closeWritten(FileHandle file, const std::string& path, MessageSink& sink);

// True when the text holds nothing but blanks and line ends.
bool isBlank(std::string_view text);

}  // namespace envelope
