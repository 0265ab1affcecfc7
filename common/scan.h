#pragma once
// Checked formatted reading of the suite's text inputs. Each read uses the file's
// own scanf format; a value that is missing or malformed, or a real that is not a
// finite number, stops the run with a message that names the file and the item.
#include <cstdio>
#include <string>
#include <tuple>

namespace common {

// What a read is of, named in its message as "what position" or "what
// position, part"; the text is made only when the read fails.
struct ScanItem {
  const char* what;
  int position;
  const char* part = nullptr;
  std::string text() const;
};

// The scanf format of a record's fields in their order, one blank apart: %d
// an int, %f a float, %lf a double, and for a char `letter` (" %c" where the
// letter alone is read, " %s" where the word it begins is).
inline const char* conversionOf(int*, const char*) { return " %d"; }
inline const char* conversionOf(float*, const char*) { return " %f"; }
inline const char* conversionOf(double*, const char*) { return " %lf"; }
inline const char* conversionOf(char*, const char* letter) { return letter; }
template <class... T>
std::string fieldsFormat(const char* letter) {
  return (std::string() + ... + conversionOf(static_cast<T*>(nullptr), letter)).substr(1);
}

class Scanner {
 public:
  Scanner(FILE* file, std::string fileName) : file_(file), fileName_(std::move(fileName)) {}

  // Reads every conversion of fmt or throws RunError naming `item`.
  void read(const std::string& item, const char* fmt, ...);
  void read(const ScanItem& item, const char* fmt, ...);

  // As read(), but a clean end of file before the first value returns false; so
  // does a Ctrl-Z byte there (the end mark of a Windows text file).
  bool readUnlessEnd(const std::string& item, const char* fmt, ...);
  // readUnlessEnd over the fields of a record, a char field its letter.
  template <class... T>
  bool readFieldsUnlessEnd(const std::string& item, std::tuple<T&...> fields) {
    static const std::string format = fieldsFormat<T...>(" %c");
    return std::apply([&](T&... field) { return readUnlessEnd(item, format.c_str(), &field...); }, fields);
  }

  FILE* file() const { return file_; }
  const std::string& fileName() const { return fileName_; }

  // Size in bytes of a regular file, or -1 when it cannot be told (a pipe).
  long long sizeInBytes() const;

  // Where in the file the reading stands: just after the last value read, or
  // where a failed read stopped (what ftell on the file would tell).
  long long offset() const { return base_ + static_cast<long long>(at_); }
  // True once a read has met the end of the file (what feof would tell).
  bool reachedEnd() const { return reachedEnd_; }
  // The line (from 1) of the file where the reading stands, for a file read
  // from its start; 0 when that cannot be told.
  int line() const;

 private:
  // The rest of the file is read into memory on the first read: a value in
  // its plain form is taken from there directly, anything else by the C
  // library's scanf over the same bytes, so that what is read is what fscanf
  // on the file would give.
  void load();
  enum class Scan { Read, Ended, Failed };
  Scan scan(bool endAllowed, const char* fmt, va_list args);
  bool scanPlain(const char* fmt, va_list args);  // false: nothing taken
  int scanGeneral(const char* fmt, va_list args);
  bool atTextEnd();  // skips blanks; true at the end of the file or a Ctrl-Z
  FILE* file_;
  std::string fileName_;
  std::string text_;
  size_t at_ = 0;
  long long base_ = 0;
  bool loaded_ = false, reachedEnd_ = false;
};

// The message used when a value cannot be read.
std::string readErrorText(const std::string& fileName, const std::string& item);

// Number of assigning conversions in a scanf format.
int countConversions(const char* fmt);

}  // namespace common
