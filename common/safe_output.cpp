#include "common/safe_output.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "common/file_names.h"
#include "common/whole_file.h"

namespace common {

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

bool processRuns(long pid) { return pid > 0 && (kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM); }

}  // namespace

std::vector<std::string> namesAsideIn(const std::string& folder) {
  std::vector<std::string> names;
  DIR* listing = opendir(folder.c_str());
  if (!listing) return names;
  // The folder may hold many files: a name is made only for those of the form.
  while (const dirent* entry = readdir(listing)) {
    const char* const raw = entry->d_name;
    const size_t length = std::strlen(raw);
    if (raw[0] == '.' && length > 4 && std::memcmp(raw + length - 4, ".tmp", 4) == 0) names.emplace_back(raw, length);
  }
  closedir(listing);
  return names;
}

namespace {

// Removes the names aside of `path` that runs killed while they put their files
// in place left behind: ".NAME.PID.N.tmp" of a process that no longer runs,
// among `names`, the names aside of its folder.
void removeLeftAside(const std::string& path, const std::vector<std::string>& names) {
  const size_t slash = path.rfind('/');
  const std::string prefix = "." + (slash == std::string::npos ? path : path.substr(slash + 1)) + ".";
  const std::string folder = folderOf(path);
  std::error_code error;
  for (const std::string& name : names) {
    if (name.size() < prefix.size() + 4 || name.compare(0, prefix.size(), prefix) != 0) continue;
    const std::string numbers = name.substr(prefix.size(), name.size() - prefix.size() - 4);  // PID.N
    const size_t dot = numbers.find('.');
    const bool twoNumbers = dot != std::string::npos && dot > 0 && dot + 1 < numbers.size() &&
                            numbers.find('.', dot + 1) == std::string::npos &&
                            numbers.find_first_not_of("0123456789.") == std::string::npos;
    if (!twoNumbers) continue;
    if (!processRuns(std::strtol(numbers.c_str(), nullptr, 10)))
      std::filesystem::remove(std::filesystem::path(folder) / name, error);
  }
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

namespace {
// Whether this process may remove or replace the entry `info` of the folder of
// `path`: in a folder with the sticky bit only the owner of the entry or of
// the folder may (and the administrator).
bool stickyFolderAllows(const std::string& path, const struct stat& info) {
  struct stat folder;
  if (stat(folderOf(path).c_str(), &folder) != 0 || !(folder.st_mode & S_ISVTX)) return true;
  const uid_t self = geteuid();
  return self == 0 || info.st_uid == self || folder.st_uid == self;
}
}  // namespace

bool mayTakeName(const std::string& path) {
  struct stat info;
  if (lstat(path.c_str(), &info) != 0) return errno == ENOENT;
  // A directory could not be replaced at commit(), and a device or a FIFO is
  // not swapped for a plain file; a link is replaced, not written through.
  if (!S_ISREG(info.st_mode) && !S_ISLNK(info.st_mode)) {
    errno = S_ISDIR(info.st_mode) ? EISDIR : EINVAL;
    return false;
  }
  if (!stickyFolderAllows(path, info)) {
    errno = EPERM;
    return false;
  }
  // An existing file that may not be written is not replaced behind its back;
  // a link to nothing may be.
  return access(path.c_str(), F_OK) != 0 || access(path.c_str(), W_OK) == 0;
}

bool PendingFile::open(const std::string& path, OutputFolders* folders) {
  discard();
  path_ = path;
  if (!mayTakeName(path)) return false;
  OutputFolders own;
  if (!folders) folders = &own;
  removeLeftAside(path, folders->namesAsideOf(path));
  const mode_t mode = folders->creationMode();
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

namespace {
// A file the user made private (0600, say) stays so: the new file takes the
// permissions of the plain file whose name it takes, where there is one.
void keepModeOf(const std::string& path, int fd, const std::string& from) {
  struct stat earlier;
  if (lstat(path.c_str(), &earlier) != 0 || !S_ISREG(earlier.st_mode)) return;
  const mode_t mode = earlier.st_mode & 0777;
  if (fd >= 0)
    (void)fchmod(fd, mode);
  else
    (void)chmod(from.c_str(), mode);
}
}  // namespace

bool PendingFile::flush() { return file_ && std::fflush(file_) == 0 && std::ferror(file_) == 0; }

bool PendingFile::commit() {
  bool ok = flush();
  if (ok) keepModeOf(path_, fileno(file_), "");
  if (ok && namedAside_.empty()) {
    // A name no file has yet is given at once; an earlier file is replaced
    // through a name of the new one's own beside it.
    const std::string self = "/proc/self/fd/" + std::to_string(fileno(file_));
    if (linkat(AT_FDCWD, self.c_str(), AT_FDCWD, path_.c_str(), AT_SYMLINK_FOLLOW) == 0) {
      discard();
      return true;
    }
    const std::string aside = asideName(path_);
    ok = errno == EEXIST && linkat(AT_FDCWD, self.c_str(), AT_FDCWD, aside.c_str(), AT_SYMLINK_FOLLOW) == 0;
    if (ok) namedAside_ = aside;
  }
  ok = ok && std::rename(namedAside_.c_str(), path_.c_str()) == 0;
  if (ok) namedAside_.clear();
  discard();
  return ok;
}

void PendingFile::discard() {
  if (file_) std::fclose(file_);
  file_ = nullptr;
  if (!namedAside_.empty()) unlink(namedAside_.c_str());
  namedAside_.clear();
}

mode_t OutputFolders::creationMode() {
  if (mode_ == static_cast<mode_t>(-1)) {
    const mode_t mask = umask(0);
    umask(mask);
    mode_ = 0666 & ~mask;
  }
  return mode_;
}

const std::vector<std::string>& OutputFolders::namesAsideOf(const std::string& path) {
  const std::string folder = folderOf(path);
  auto listed = listed_.find(folder);
  if (listed == listed_.end()) listed = listed_.emplace(folder, namesAsideIn(folder)).first;
  return listed->second;
}

FILE* PendingFiles::open(const std::string& path) {
  PendingFile file;
  if (!file.open(path, &folders_)) return nullptr;
  files_.push_back(std::move(file));
  return files_.back().file();
}

bool PendingFiles::moveIn(const std::string& from, const std::string& path) {
  if (!mayTakeName(path)) return false;
  removeLeftAside(path, folders_.namesAsideOf(path));
  moves_.emplace_back(from, path);
  return true;
}

void PendingFiles::removeAtCommit(const std::string& path) { removals_.push_back(path); }

std::string notReplaceableText(const std::string& path) {
  return "ERROR: NO SE PUEDE SUSTITUIR EL FICHERO " + path +
         ": ES DE OTRO USUARIO Y EN ESTE DIRECTORIO CADA USUARIO SOLO PUEDE SUSTITUIR LOS SUYOS";
}

std::string othersOutput(const std::vector<std::string>& outputs) {
  for (const std::string& output : outputs)
    if (!mayTakeName(output) && errno == EPERM) return output;
  return "";
}

std::string PendingFiles::failureText() const {
  return failedError_ == EPERM ? notReplaceableText(failed_) : cannotWriteText(failed_);
}

bool PendingFiles::commit() {
  failed_.clear();
  failedError_ = 0;
  std::vector<std::string> names;
  for (const PendingFile& file : files_) names.push_back(file.path());
  for (const auto& move : moves_) names.push_back(move.second);
  // The folder may have changed since the files were opened: a name that
  // cannot be taken now, or an earlier file that cannot be removed, would
  // leave part of the set in place.
  for (const std::string& name : names) {
    if (mayTakeName(name)) continue;
    failedError_ = errno;
    failed_ = name;
    break;
  }
  if (failed_.empty() && !(failed_ = othersOutput(removals_)).empty()) failedError_ = EPERM;
  if (!failed_.empty()) {
    discard();
    return false;
  }
  for (PendingFile& file : files_)
    if (!file.flush()) {
      failed_ = file.path();
      discard();
      return false;
    }
  // Every byte has found room: what is left is naming, in the folder.
  for (PendingFile& file : files_)
    if (!file.commit() && failed_.empty()) failed_ = file.path();
  for (const auto& [from, to] : moves_) {
    keepModeOf(to, -1, from);
    if (std::rename(from.c_str(), to.c_str()) != 0 && failed_.empty()) failed_ = to;
  }
  std::vector<std::string> placed;
  for (const PendingFile& file : files_) placed.push_back(file.path());
  for (const auto& move : moves_) placed.push_back(move.second);
  for (const std::string& path : removals_)
    if (std::find(placed.begin(), placed.end(), path) == placed.end()) unlink(path.c_str());
  discard();
  return failed_.empty();
}

void PendingFiles::discard() {
  folders_ = OutputFolders();
  files_.clear();
  moves_.clear();
  removals_.clear();
}

SameFile outputThatIsAnInput(const std::vector<std::string>& outputs, const std::vector<std::string>& inputs) {
  struct Identity {
    dev_t device;
    ino_t inode;
  };
  std::vector<std::pair<const std::string*, Identity>> existing;
  for (const std::string& output : outputs) {
    struct stat out;
    if (stat(output.c_str(), &out) == 0) existing.push_back({&output, {out.st_dev, out.st_ino}});
  }
  if (existing.empty()) return {};
  // Each input looked at once, however many outputs there are.
  std::vector<std::pair<const std::string*, Identity>> read;
  for (const std::string& input : inputs) {
    struct stat in;
    if (stat(input.c_str(), &in) == 0) read.push_back({&input, {in.st_dev, in.st_ino}});
  }
  for (const auto& [output, out] : existing)
    for (const auto& [input, in] : read)
      if (in.device == out.device && in.inode == out.inode) return {*output, *input};
  return {};
}

std::string sameFileText(const std::string& program, const SameFile& same, const std::string& advice) {
  return "ERROR: " + program +
         " ESCRIBIR\xCD"
         "A " +
         same.output + ", QUE ES EL DATO " + same.input + ": " + advice + "\n";
}

std::string lockRefusalText(const std::string& name, long holder) {
  if (holder == kLockUnmade) return cannotCreateText(fileOf(name, kLockExt)) + "\n";
  if (holder == kLockNotAFile)
    return "ERROR: EL FICHERO DE BLOQUEO " + fileOf(name, kLockExt) +
           " NO ES UN FICHERO NORMAL (ES UN DIRECTORIO, UNA FIFO, UN ENLACE O UN DISPOSITIVO): B\xD3RRELO Y REPITA\n";
  return "ERROR: OTRA EJECUCI\xD3N (PROCESO " + std::to_string(holder) + ") EST\xC1 ESCRIBIENDO " + name +
         " EN ESTE DIRECTORIO: ESPERE A QUE TERMINE O ELIJA OTRO NOMBRE\n";
}

namespace {
// The process id a lock file holds, or 0.
long readHolder(int fd) {
  char text[32] = {};
  const ssize_t got = pread(fd, text, sizeof text - 1, 0);
  return got > 0 ? std::strtol(text, nullptr, 10) : 0;
}

bool sameFile(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

// A new lock file, locked and holding `id` before it takes the name `path`
// (where the system can make a nameless file): no one ever finds it empty or
// unlocked. -1 (errno set) when it cannot be made, with EEXIST when a file has
// the name; with no nameless files, -2 to open the name as an existing one.
int createLocked(const std::string& path, const std::string& id) {
  const int fd = ::open(folderOf(path).c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0644);
  if (fd < 0) return errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL ? -2 : -1;
  const std::string self = "/proc/self/fd/" + std::to_string(fd);
  const bool made = flock(fd, LOCK_EX | LOCK_NB) == 0 &&
                    write(fd, id.data(), id.size()) == static_cast<ssize_t>(id.size()) &&
                    linkat(AT_FDCWD, self.c_str(), AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW) == 0;
  if (made) return fd;
  const int why = errno;
  ::close(fd);
  errno = why;
  return -1;
}
}  // namespace

// The lock is the kernel's advisory lock on the file, not the id written in
// it: it goes with the process however that ends, and two runs can never both
// hold it. A holder unlinks the file before it lets it go, so a run that locked
// a file that no longer has the name tries again.
bool RunLock::acquire(const std::string& lockPath, long& holder) {
  release();
  holder = kLockUnmade;
  const std::string id = std::to_string(getpid()) + "\n";
  for (int attempt = 0; attempt < 100; ++attempt) {
    int fd = createLocked(lockPath, id);
    if (fd >= 0) {
      fd_ = fd;
      path_ = lockPath;
      return true;
    }
    if (fd == -1 && errno != EEXIST) return false;
    // O_NONBLOCK: a FIFO in the lock's place must not hold the run up.
    fd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0644);
    struct stat opened, named;
    if (fd < 0 || fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode)) {
      const int why = errno;
      if (fd >= 0) ::close(fd);
      if (fd >= 0 || why == ELOOP || why == EISDIR || why == ENXIO) holder = kLockNotAFile;
      return false;
    }
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
      // Held: the holder writes its id the moment it has the lock.
      const bool busy = errno == EWOULDBLOCK;
      for (int wait = 0; busy && wait < 20 && !processRuns(holder = readHolder(fd)); ++wait) usleep(10000);
      if (!busy) holder = kLockUnmade;
      ::close(fd);
      return false;
    }
    if (stat(lockPath.c_str(), &named) == 0 && sameFile(opened, named) &&
        pwrite(fd, id.data(), id.size(), 0) == static_cast<ssize_t>(id.size()) &&
        ftruncate(fd, static_cast<off_t>(id.size())) == 0) {
      fd_ = fd;
      path_ = lockPath;
      return true;
    }
    ::close(fd);  // let go by its holder as it was taken: try the name again
  }
  return false;
}

void RunLock::release() {
  if (path_.empty()) return;
  unlink(path_.c_str());
  ::close(fd_);
  fd_ = -1;
  path_.clear();
}

}  // namespace common
