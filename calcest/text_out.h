#pragma once
// The output files of calcest: written aside and put in place when complete,
// with printf formats (common/format.h) that are part of the file layouts.
#include <cstdio>
#include <string>

#include "common/format.h"
#include "common/safe_output.h"

namespace calcest {

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
  // The same without throwing; false when the file cannot be made. `folders`
  // is given when many files are opened together.
  bool tryOpen(const std::string& name, common::OutputFolders* folders = nullptr);
  // Writes what is buffered; later prints are dropped. The file stays aside
  // until commit().
  void finish();
  // finish(), then puts the file in place of the earlier one. False when a byte
  // did not reach it or it could not be named: the earlier file then stays.
  bool commit();
  bool isOpen() const { return file_.isOpen(); }
  // True once something was printed: a trace the run never reached stays as
  // the last run left it.
  bool written() const { return written_; }
  // True when a byte did not reach the file (a full disk).
  bool writeFailed();
  const std::string& name() const { return name_; }

  // Bytes already formatted, or the binary records of the bar record file.
  void write(const char* bytes, size_t count) {
    if (!writing_) return;
    written_ = true;
    buffer_.append(bytes, count);
    if (buffer_.size() >= kFlushAt) flush();
  }
  void write(const std::string& text) { write(text.data(), text.size()); }

  // The compiler checks the arguments against fmt as it does for printf.
  void print(const char* fmt, ...) __attribute__((format(printf, 2, 3)));

  // The buffered bytes go to the file in blocks of about this size.
  static constexpr size_t kFlushAt = size_t{1} << 16;

 private:
  void flush();

  common::PendingFile file_;
  common::TextBuffer buffer_;
  std::string name_;
  bool writing_ = false;  // open and not yet finished
  bool written_ = false, writeFailed_ = false;
};

}  // namespace calcest
