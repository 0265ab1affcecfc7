#include "calcest/text_out.h"

#include <cstdarg>

#include "common/run_error.h"

namespace calcest {

using namespace common;

bool TextOut::tryOpen(const std::string& name, OutputFolders* folders) {
  buffer_.clear();
  name_ = name;
  writing_ = written_ = writeFailed_ = false;
  if (!file_.open(name, folders)) return false;
  writing_ = true;
  return true;
}

void TextOut::open(const std::string& name) {
  if (!tryOpen(name)) throw RunError("NO PUDO ABRIR EL FICHERO " + name, true);
}

void TextOut::flush() {
  if (!buffer_.size()) return;
  if (std::fwrite(buffer_.data(), 1, buffer_.size(), file_.file()) != buffer_.size()) writeFailed_ = true;
  buffer_.clear();
}

void TextOut::finish() {
  if (!writing_) return;
  flush();
  writing_ = false;
  buffer_ = TextBuffer();
}

bool TextOut::writeFailed() {
  if (file_.isOpen() && (std::fflush(file_.file()) != 0 || std::ferror(file_.file()) != 0)) writeFailed_ = true;
  return writeFailed_;
}

bool TextOut::commit() {
  finish();
  if (writeFailed()) {
    file_.discard();
    return false;
  }
  return file_.commit();
}

void TextOut::print(const char* fmt, ...) {
  if (!writing_) return;
  written_ = true;
  va_list args;
  va_start(args, fmt);
  appendFormatV(buffer_, fmt, args);
  va_end(args);
  if (buffer_.size() >= kFlushAt) flush();
}

}  // namespace calcest
