#pragma once
// Where the envelope's files are written. In place: each is created (emptied)
// under its name and closed once written, as the viewer wants them, whose
// files exist from the moment the envelope is named and whose scripts follow
// every repaint. Aside: each is a new file of a set of PendingFiles that the
// caller puts in place only when the whole envelope is written, so that a run
// that stops leaves the earlier envelope as it was. The same writers serve both.
#include <cstdio>
#include <string>

#include "envolventes/engine/message_sink.h"
#include "common/safe_output.h"

namespace envelope {

class OutputFiles {
 public:
  OutputFiles() = default;  // in place
  explicit OutputFiles(common::PendingFiles& aside) : aside_(&aside) {}

  // The file to write `path` into; null (errno set) when it cannot be created.
  FILE* create(const std::string& path) const;
  // Ends the writing of a created file: false after writeErrorText(path) when
  // a byte did not reach it. In place the file is closed; aside the set keeps
  // it for its commit.
  bool finish(FILE* file, const std::string& path, MessageSink& sink) const;
  // Leaves a created file unfinished: closed in place, dropped with its set aside.
  void abandon(FILE* file) const;

 private:
  common::PendingFiles* aside_ = nullptr;
};

}  // namespace envelope
