#pragma once
// Line-by-line reading of the project files: each read takes one whole line,
// however long (calcest writes long lines for large values). The text is then
// scanned with the file's own format. Nothing is ever written past a buffer:
// string targets are sized from the line itself. Also the checked closing of
// the files the envelope writes.
#include <cstdio>
#include <string>

#include "common/file_handle.h"
#include "envolventes/engine/message_sink.h"

namespace envelope {

using namespace common;

// Opens a file for reading; a directory of that name does not count as a file.
FileHandle openForReading(const std::string& path);

class LineReader {
 public:
  explicit LineReader(FILE* file) : file_(file) {}
  // Reads the next line into `line`. At end of file returns false and leaves
  // `line` as it was (so a scan of it repeats the previous values).
  bool next(std::string& line);

 private:
  FILE* file_;
};

// "ERROR: NO SE PUDO ESCRIBIR EL FICHERO <path>", as calcest says it.
std::string writeErrorText(const std::string& path);

// Flushes and closes a file that was written; when any write or the close
// failed (a full disk), shows writeErrorText(path) and returns false.
bool closeWritten(FileHandle file, const std::string& path, MessageSink& sink);

// True when the text holds nothing but blanks and line ends.
bool isBlank(const std::string& text);

}  // namespace envelope
