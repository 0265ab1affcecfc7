#include "envolventes/engine/output_files.h"

#include "envolventes/engine/line_reader.h"

namespace envelope {

using namespace common;

FILE* OutputFiles::create(const std::string& path) const {
  return aside_ ? aside_->open(path) : std::fopen(path.c_str(), "w");
}

bool OutputFiles::finish(FILE* file, const std::string& path, MessageSink& sink) const {
  if (!aside_) return closeWritten(FileHandle(file), path, sink);
  // What is still buffered must find room now, not at the commit.
  const bool ok = std::fflush(file) == 0 && !std::ferror(file);
  if (!ok) sink.showMessage(writeErrorText(path));
  return ok;
}

void OutputFiles::abandon(FILE* file) const {
  if (!aside_ && file) std::fclose(file);
}

}  // namespace envelope
