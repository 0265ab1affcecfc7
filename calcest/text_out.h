#pragma once
// Text output with printf formats. The formats are part of the file layouts, so
// every byte must be what printf gives; the formatter here produces exactly that
// (proved against snprintf by the tests) and is much faster on the large traces.
#include <cstdarg>
#include <cstdio>
#include <memory>
#include <string>

#include "common/safe_output.h"

namespace calcest {

using namespace common;

// One argument of a formatted write.
struct FormatArg {
  enum Kind { kInt, kDouble, kString, kChar } kind = kInt;
  long long i = 0;
  double d = 0.0;
  const char* s = nullptr;
};
inline FormatArg formatArg(int v) { return {FormatArg::kInt, v, 0.0, nullptr}; }
inline FormatArg formatArg(long v) { return {FormatArg::kInt, v, 0.0, nullptr}; }
inline FormatArg formatArg(unsigned long v) { return {FormatArg::kInt, static_cast<long long>(v), 0.0, nullptr}; }
inline FormatArg formatArg(double v) { return {FormatArg::kDouble, 0, v, nullptr}; }
inline FormatArg formatArg(const char* v) { return {FormatArg::kString, 0, 0.0, v}; }
inline FormatArg formatArg(char v) { return {FormatArg::kChar, v, 0.0, nullptr}; }

struct FormatCache;

// Where formatted bytes go: a growing memory buffer, or a file it is flushed to.
class FormatSink {
 public:
  explicit FormatSink(FILE* file = nullptr);
  FormatSink(const FormatSink&) = delete;
  FormatSink& operator=(const FormatSink&) = delete;
  ~FormatSink();

  // A place for at least n more bytes; finish with advance().
  char* room(size_t n) {
    if (capacity_ - used_ < n) makeRoom(n);
    return data_.get() + used_;
  }
  void advance(size_t n) { used_ += n; }
  void append(const char* text, size_t n) {
    char* to = room(n);
    copySmall(to, text, n);
    used_ += n;
  }
  // Short copies without a library call: two overlapping fixed-size moves.
  static void copySmall(char* to, const char* from, size_t n) {
    if (n >= 8 && n <= 16) {
      __builtin_memcpy(to, from, 8);
      __builtin_memcpy(to + n - 8, from + n - 8, 8);
    } else if (n >= 4 && n < 8) {
      __builtin_memcpy(to, from, 4);
      __builtin_memcpy(to + n - 4, from + n - 4, 4);
    } else if (n < 4) {
      for (size_t k = 0; k < n; ++k) to[k] = from[k];
    } else {
      __builtin_memcpy(to, from, n);
    }
  }
  void flush();  // writes the bytes to the file (file mode only)
  bool failed() const { return failed_; }  // a flush did not write every byte
  std::string str() const { return std::string(data_.get(), used_); }
  size_t size() const { return used_; }

 private:
  void makeRoom(size_t n);
  friend FormatCache& formatCache(FormatSink&);
  std::unique_ptr<FormatCache> cache_;  // parsed literal formats, made on first use
  FILE* file_;
  std::unique_ptr<char[]> data_;
  size_t used_ = 0, capacity_ = 0;
  bool failed_ = false;
};

// Appends fmt with its arguments, byte for byte as snprintf would. Each
// argument's kind must suit its conversion (an int for %d or %c, a double for
// %f, %e or %g, a string for %s) and no conversion may lack its argument: a
// mismatch throws std::logic_error rather than print a wrong value.
void appendFormatted(FormatSink& out, const char* fmt, const FormatArg* args, int count);
// The same for a format with static storage (a string literal): its parse is
// kept by address and reused.
void appendFormattedLiteral(FormatSink& out, const char* fmt, const FormatArg* args, int count);
// printf's own arguments, taken as the conversions ask for them.
void appendFormattedLiteral(FormatSink& out, const char* fmt, va_list args);

template <class... Args>
std::string formatted(const char* fmt, Args... args) {
  const FormatArg list[] = {formatArg(args)..., FormatArg{}};
  FormatSink out;
  appendFormatted(out, fmt, list, static_cast<int>(sizeof...(Args)));
  return out.str();
}

// An output file written aside (see PendingFile): it takes the place of the
// earlier file of its name only at commit(), and a run that ends before leaves
// the earlier file as it was.
class TextOut {
 public:
  TextOut() = default;
  TextOut(const TextOut&) = delete;
  TextOut& operator=(const TextOut&) = delete;

  // Makes the file aside; throws RunError naming it when it cannot.
  void open(const std::string& name);
  // The same without throwing; false when the file cannot be made.
  bool tryOpen(const std::string& name);
  // Writes out what is buffered; later prints are dropped. The file stays
  // aside until commit().
  void finish();
  // finish(), then puts the file in place of the earlier one. False when a byte
  // did not reach it or it could not be named: the earlier file then stays.
  bool commit();
  bool isOpen() const { return file_.isOpen(); }
  // True once something was printed: a trace the run never reached stays as
  // the last run left it.
  bool written() const { return written_; }
  // True when a byte did not reach the file (a full disk): known once it is
  // finished.
  bool writeFailed() const { return writeFailed_; }
  const std::string& name() const { return name_; }

  // Bytes already formatted, or the binary records of the bar record file.
  void write(const char* bytes, size_t count) {
    if (!sink_) return;
    written_ = true;
    sink_->append(bytes, count);
  }
  void write(const std::string& text) { write(text.data(), text.size()); }

  // fmt must be a string literal (its parse is cached by address); the
  // compiler checks the arguments against it as it does for printf.
  void print(const char* fmt, ...) __attribute__((format(printf, 2, 3)));

 private:
  PendingFile file_;
  std::unique_ptr<FormatSink> sink_;
  std::string name_;
  bool written_ = false, writeFailed_ = false;
};

}  // namespace calcest
