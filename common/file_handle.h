#pragma once
// An open C stdio file that closes itself. Files whose writes must be checked
// are released and closed by hand, where the close's result can be seen.
#include <cstdio>
#include <memory>
#include <string>

namespace common {

struct FileCloser {
  void operator()(FILE* f) const {
    if (f) std::fclose(f);
  }
};
using FileHandle = std::unique_ptr<FILE, FileCloser>;

// Opens a file for reading only when it is a regular file: a directory, a FIFO
// or a device is refused (null, errno set) rather than read as empty or waited
// on. Null too when it cannot be opened.
FileHandle openInputFile(const std::string& path, const char* mode = "r");

}  // namespace common
