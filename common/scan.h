#pragma once
// Checked formatted reading of the suite's text inputs. Each read uses the file's
// own scanf format; a value that is missing or malformed, or a real that is not a
// finite number, stops the run with a message that names the file and the item.
#include <cstdio>
#include <string>

namespace common {

class Scanner {
 public:
  Scanner(FILE* file, std::string fileName) : file_(file), fileName_(std::move(fileName)) {}

  // Reads every conversion of fmt or throws RunError naming `item`.
  void read(const std::string& item, const char* fmt, ...);

  // As read(), but a clean end of file before the first value returns false; so
  // does a Ctrl-Z byte there (the end mark of a Windows text file).
  bool readUnlessEnd(const std::string& item, const char* fmt, ...);

  FILE* file() const { return file_; }
  const std::string& fileName() const { return fileName_; }

  // Size in bytes of a regular file, or -1 when it cannot be told (a pipe).
  long long sizeInBytes() const;

 private:
  bool scan(bool endAllowed, const std::string& item, const char* fmt, va_list args);
  bool atTextEnd();  // skips blanks; true at the end of the file or a Ctrl-Z
  FILE* file_;
  std::string fileName_;
};

// The message used when a value cannot be read.
std::string readErrorText(const std::string& fileName, const std::string& item);

// Number of assigning conversions in a scanf format.
int countConversions(const char* fmt);

}  // namespace common
