#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "common/file_handle.h"

namespace common {

FileHandle openInputFile(const std::string& path, const char* mode) {
  // Without O_NONBLOCK, opening a FIFO with no writer would wait for one.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return nullptr;
  struct stat info;
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    const int why = S_ISDIR(info.st_mode) ? EISDIR : EINVAL;
    ::close(fd);
    errno = why;
    return nullptr;
  }
  fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  FileHandle file(fdopen(fd, mode));
  if (!file) ::close(fd);
  return file;
}

}  // namespace common
