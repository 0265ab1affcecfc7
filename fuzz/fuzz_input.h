#pragma once
// Fuzz inputs reach the readers as real files (memory-backed), because the
// readers work on FILE streams and check sizes with fstat.
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>

class FuzzFile {
 public:
  FuzzFile(const uint8_t* data, size_t size) {
    int fd = memfd_create("fuzz", 0);
    if (fd < 0) return;
    size_t done = 0;
    while (done < size) {
      ssize_t n = write(fd, data + done, size - done);
      if (n <= 0) break;
      done += static_cast<size_t>(n);
    }
    lseek(fd, 0, SEEK_SET);
    file_ = fdopen(fd, "rb");
    if (!file_) close(fd);
  }
  ~FuzzFile() {
    if (file_) std::fclose(file_);
  }
  FuzzFile(const FuzzFile&) = delete;
  FuzzFile& operator=(const FuzzFile&) = delete;
  FILE* get() const { return file_; }

 private:
  FILE* file_ = nullptr;
};
