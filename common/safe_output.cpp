#include "safe_output.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>

namespace {

std::string folderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// A name beside `path` that no other file has: the leading dot keeps it out of
// listings, the process id and a counter out of another run's way.
std::string asideName(const std::string& path) {
  static unsigned counter = 0;
  const size_t slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? "" : path.substr(0, slash + 1);
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  return folder + "." + name + "." + std::to_string(getpid()) + "." + std::to_string(++counter) + ".tmp";
}

mode_t creationMode() {
  const mode_t mask = umask(0);
  umask(mask);
  return 0666 & ~mask;
}

}  // namespace

PendingFile::PendingFile(PendingFile&& other) noexcept
    : file_(other.file_), path_(std::move(other.path_)), namedAside_(std::move(other.namedAside_)) {
  other.file_ = nullptr;
}

PendingFile& PendingFile::operator=(PendingFile&& other) noexcept {
  if (this != &other) {
    discard();
    file_ = other.file_;
    path_ = std::move(other.path_);
    namedAside_ = std::move(other.namedAside_);
    other.file_ = nullptr;
  }
  return *this;
}

bool PendingFile::open(const std::string& path) {
  discard();
  path_ = path;
  // A directory could not be replaced at commit(), and a device or a FIFO is
  // not swapped for a plain file; a link is replaced, not written through.
  struct stat existing;
  if (lstat(path.c_str(), &existing) == 0 && !S_ISREG(existing.st_mode) && !S_ISLNK(existing.st_mode)) {
    errno = S_ISDIR(existing.st_mode) ? EISDIR : EINVAL;
    return false;
  }
  // An existing file that may not be written is not replaced behind its back.
  if (access(path.c_str(), F_OK) == 0 && access(path.c_str(), W_OK) != 0) return false;
  const mode_t mode = creationMode();
  // A nameless file vanishes by itself when the process dies before commit.
  int fd = ::open(folderOf(path).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
  if (fd < 0 && (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL)) {
    namedAside_ = asideName(path);
    fd = ::open(namedAside_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd < 0) namedAside_.clear();
  }
  if (fd < 0) return false;
  file_ = fdopen(fd, "wb");
  if (!file_) {
    const int why = errno;
    ::close(fd);
    if (!namedAside_.empty()) unlink(namedAside_.c_str());
    namedAside_.clear();
    errno = why;
    return false;
  }
  return true;
}

bool PendingFile::commit() {
  if (!file_) return false;
  bool ok = std::fflush(file_) == 0 && std::ferror(file_) == 0;
  std::string aside = namedAside_;
  if (ok && aside.empty()) {
    // Give the nameless file a name of its own, then move it over the old one.
    aside = asideName(path_);
    const std::string self = "/proc/self/fd/" + std::to_string(fileno(file_));
    ok = linkat(AT_FDCWD, self.c_str(), AT_FDCWD, aside.c_str(), AT_SYMLINK_FOLLOW) == 0;
    if (!ok) aside.clear();
  }
  // The name is taken straight after the link, the file closed only then: a
  // run killed between link and rename leaves the file under its aside name.
  if (ok) ok = std::rename(aside.c_str(), path_.c_str()) == 0;
  if (!ok && !aside.empty()) unlink(aside.c_str());
  ok = std::fclose(file_) == 0 && ok;  // every byte was written out above
  file_ = nullptr;
  namedAside_.clear();
  return ok;
}

void PendingFile::discard() {
  if (!file_) return;
  std::fclose(file_);
  file_ = nullptr;
  if (!namedAside_.empty()) unlink(namedAside_.c_str());
  namedAside_.clear();
}

SameFile outputThatIsAnInput(const std::vector<std::string>& outputs, const std::vector<std::string>& inputs) {
  for (const std::string& output : outputs) {
    struct stat out;
    if (stat(output.c_str(), &out) != 0) continue;
    for (const std::string& input : inputs) {
      struct stat in;
      if (stat(input.c_str(), &in) == 0 && in.st_dev == out.st_dev && in.st_ino == out.st_ino) return {output, input};
    }
  }
  return {};
}

std::string sameFileText(const std::string& program, const SameFile& same, const std::string& advice) {
  return "ERROR: " + program + " ESCRIBIR\xCD" "A " + same.output + ", QUE ES EL DATO " + same.input + ": " + advice + "\n";
}

namespace {
bool processRuns(long pid) { return pid > 0 && (kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM); }

long readHolder(const std::string& path) {
  FILE* file = std::fopen(path.c_str(), "r");
  if (!file) return -1;
  long pid = 0;
  if (std::fscanf(file, "%ld", &pid) != 1) pid = 0;
  std::fclose(file);
  return pid;
}
}  // namespace

bool RunLock::acquire(const std::string& lockPath, long& holder) {
  release();
  holder = 0;
  for (int attempt = 0; attempt < 3; ++attempt) {
    const int fd = ::open(lockPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd >= 0) {
      const std::string pid = std::to_string(getpid()) + "\n";
      const bool written = write(fd, pid.data(), pid.size()) == static_cast<ssize_t>(pid.size());
      ::close(fd);
      if (!written) {
        unlink(lockPath.c_str());
        return false;
      }
      path_ = lockPath;
      return true;
    }
    if (errno != EEXIST) return false;
    const long pid = readHolder(lockPath);
    // A lock just made may not hold its number yet; one still empty a moment
    // later was left by a run killed as it made it.
    if (pid == 0) {
      usleep(50000);
      if (readHolder(lockPath) != 0) continue;
    } else if (processRuns(pid) && pid != getpid()) {
      holder = pid;
      return false;
    }
    unlink(lockPath.c_str());  // left by a run that was killed
  }
  return false;
}

void RunLock::release() {
  if (path_.empty()) return;
  unlink(path_.c_str());
  path_.clear();
}
