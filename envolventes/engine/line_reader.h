#pragma once
// Line-by-line reading of the project files: each read takes at most `limit`
// characters of the current line (the line end included), as a fixed buffer of
// limit + 1 bytes would; a longer line continues in the next read. The text is
// then scanned with the file's own format. Nothing is ever written past a buffer:
// string targets are sized from the line itself.
#include <cstdio>
#include <memory>
#include <string>

namespace envelope {

// Line limits of the project files.
constexpr int kShortLine = 98;   // beam data, results, point results, point counts
constexpr int kLoadLine = 139;   // load lines
constexpr int kForceLine = 298;  // force-table lines

struct FileCloser {
  void operator()(FILE* f) const {
    if (f) std::fclose(f);
  }
};
using FilePtr = std::unique_ptr<FILE, FileCloser>;

// Opens a file for reading; a directory of that name does not count as a file.
FilePtr openForReading(const std::string& path);

class LineReader {
 public:
  explicit LineReader(FILE* file) : file_(file) {}
  // Reads the next piece of line into `line`. At end of file returns false and
  // leaves `line` as it was (so a scan of it repeats the previous values).
  bool next(std::string& line, int limit);

 private:
  FILE* file_;
};

// True when the text holds nothing but blanks and line ends.
bool isBlank(const std::string& text);

// The two comparisons the reading, the envelopes and the drawing share.
bool IsZero(float v);                  // v * 100000, truncated, is 0
bool NearlyEqual(float a, float b);    // within one unit of the fifth decimal

}  // namespace envelope
