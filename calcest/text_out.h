#pragma once
// The output files of calcest: written aside and put in place when complete,
// with printf formats (common/format.h) that are part of the file layouts.
#include <cstdio>
#include <functional>
#include <memory>
#include <string>

#include "common/format.h"
#include "common/safe_output.h"

namespace calcest {

using namespace common;

struct HandedBlocks;  // what of one file the writing thread still holds

// An output file written aside (see PendingFile): it takes the place of the
// earlier file of its name only at commit(), and a run that ends before leaves
// the earlier file as it was.
class TextOut {
 public:
  TextOut();
  TextOut(const TextOut&) = delete;
  TextOut& operator=(const TextOut&) = delete;
  // Waits for the blocks still being written before the file goes.
  ~TextOut();

  // Makes the file aside; throws RunError naming it when it cannot.
  void open(const std::string& name);
  // The same without throwing; false when the file cannot be made. `folders`
  // is given when many files are opened together.
  bool tryOpen(const std::string& name, OutputFolders* folders = nullptr);
  // Hands over what is buffered to be written; later prints are dropped. The
  // file stays aside until commit().
  void finish();
  // finish(), then puts the file in place of the earlier one. False when a byte
  // did not reach it or it could not be named: the earlier file then stays.
  bool commit();
  bool isOpen() const { return file_.isOpen(); }
  // True once something was printed: a trace the run never reached stays as
  // the last run left it.
  bool written() const { return written_; }
  // True when a byte did not reach the file (a full disk): known once it is
  // finished; waits for the blocks still being written.
  bool writeFailed();
  const std::string& name() const { return name_; }

  // Bytes already formatted, or the binary records of the bar record file.
  void write(const char* bytes, size_t count) {
    if (!writing_) return;
    written_ = true;
    buffer_.append(bytes, count);
    if (buffer_.size() >= kFlushAt) flush(true);
  }
  void write(const std::string& text) { write(text.data(), text.size()); }
  // What a deferred maker appends its bytes to (`bytes`). Calling cut() at a
  // place where the bytes may be parted hands what is made so far to the file
  // once it fills a block: a maker of many blocks fills the memory of one.
  class Made {
   public:
    Made(TextBuffer& buffer, std::function<void()> full) : bytes(buffer), full_(std::move(full)) {}
    TextBuffer& bytes;
    void cut() {
      if (bytes.size() >= kFlushAt) full_();
    }

   private:
    std::function<void()> full_;
  };
  // The bytes that `make` appends, in their place in the file; made on the
  // writing thread when there is one, so `make` may use only what it owns,
  // about `held` bytes (many may wait to be made while the run goes on).
  void defer(std::function<void(Made&)> make, size_t held = 0);
  // For a writer that copies many pieces of its own: room for `count` bytes
  // at the end of the buffer (null once the file is finished), then wrote()
  // with how many of them it filled.
  char* room(size_t count) { return writing_ ? buffer_.room(count) : nullptr; }
  void wrote(size_t count) {
    written_ = true;
    buffer_.advance(count);
    if (buffer_.size() >= kFlushAt) flush(true);
  }

  // fmt must be a string literal (its parse is kept by address); the compiler
  // checks the arguments against it as it does for printf.
  void print(const char* fmt, ...) __attribute__((format(printf, 2, 3)));

  // The file itself is unbuffered: whole blocks of this size go to it, written
  // by a second thread in the order they were handed over while the run goes
  // on (see text_out.cpp), once the run has written kStartWriterAfter bytes
  // itself. Small blocks keep the memory the run fills small: a page touched
  // for the first time costs a fault.
  static constexpr size_t kFlushAt = size_t{1} << 16;
  static constexpr size_t kStartWriterAfter = size_t{1} << 20;
  // Room a file's buffer starts with: a block and the line that ends it,
  // filled without growing and copying the buffer on the way.
  static constexpr size_t kFirstRoom = kFlushAt + (kFlushAt >> 3);

 private:
  // Hands the buffer over (`full`: it is full, which may start the writing
  // thread) or writes it at once: when there is no writing thread, and when
  // the writing thread is behind with bytes it makes and holds none of this
  // file's.
  void flush(bool full);
  // Waits until every block handed over has been written.
  void settle();

  PendingFile file_;
  std::unique_ptr<HandedBlocks> blocks_;
  TextBuffer buffer_;
  LiteralFormats formats_;
  std::string name_;
  bool writing_ = false;  // open and not yet finished
  bool written_ = false, writeFailed_ = false;
  bool handed_ = false;  // a block went to the writing thread
};

}  // namespace calcest
