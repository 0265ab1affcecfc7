#pragma once
// A scratch directory for the targets whose engines read and write files by
// name, and a guard that works inside it and goes back to the caller's
// directory afterwards, so no target ever writes into the directory it was
// started from.
#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "common/testing/test_support.h"

// The process's scratch directory (removed with its files at exit).
inline const testsupport::ScratchDir& fuzzScratch() {
  static const testsupport::ScratchDir dir;
  return dir;
}

inline std::string bytesOf(const uint8_t* data, size_t size) {
  return std::string(reinterpret_cast<const char*>(data), size);
}

// A file of the repository's fixtures or examples, read once.
inline std::string fixtureFile(const std::string& path) { return testsupport::readFile(path); }

class InScratchDir {
 public:
  InScratchDir() : previous_(open(".", O_RDONLY | O_DIRECTORY)) {
    if (chdir(fuzzScratch().path().c_str()) != 0) std::abort();
  }
  ~InScratchDir() {
    if (previous_ >= 0) {
      if (fchdir(previous_) != 0) std::abort();
      close(previous_);
    }
  }
  InScratchDir(const InScratchDir&) = delete;
  InScratchDir& operator=(const InScratchDir&) = delete;

 private:
  int previous_;
};
