#pragma once
// An open C stdio file that closes itself. Files whose writes must be checked
// are released and closed by hand, where the close's result can be seen.
#include <cstdio>
#include <memory>

struct FileCloser {
  void operator()(FILE* f) const {
    if (f) std::fclose(f);
  }
};
using FileHandle = std::unique_ptr<FILE, FileCloser>;
