#pragma once
// Outputs that never cost the user an earlier result or an input:
// - PendingFile: a file written aside and put in place whole, only when the run
//   is complete; until then the earlier file of that name stays as it was, and
//   a run that fails or is killed leaves nothing of the new one behind;
// - outputs named like an input are found before anything is written;
// - RunLock: one run at a time on one name in one folder.
#include <sys/types.h>

#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace common {

// What several outputs opened together look up once: the names aside in the
// folder of each (listed at its first output) and the mode of new files.
class OutputFolders {
 public:
  const std::vector<std::string>& namesAsideOf(const std::string& path);
  mode_t creationMode();

 private:
  std::map<std::string, std::vector<std::string>> listed_;
  mode_t mode_ = static_cast<mode_t>(-1);
};

class PendingFile {
 public:
  PendingFile() = default;
  PendingFile(const PendingFile&) = delete;
  PendingFile& operator=(const PendingFile&) = delete;
  PendingFile(PendingFile&& other) noexcept;
  PendingFile& operator=(PendingFile&& other) noexcept;
  ~PendingFile() { discard(); }

  // Makes the new file in the folder of `path` without a name yet. False (errno
  // set) when the folder takes no new file, or `path` exists and may not be
  // written (a read-only file stays read-only) or is no plain file or link (a
  // directory, a FIFO, a device). What runs killed before left aside of that
  // name is removed. `folders` is given when many files are opened together.
  bool open(const std::string& path, OutputFolders* folders = nullptr);
  FILE* file() const { return file_; }
  const std::string& path() const { return path_; }
  bool isOpen() const { return file_ != nullptr; }

  // Writes out what is buffered: false when a byte did not reach the file (a
  // full disk).
  bool flush();
  // flush(), then gives the file its name in place of the earlier one and
  // closes it. False when a byte did not reach it or it could not be named:
  // then the earlier file is as it was.
  bool commit();
  // Drops the new file; the earlier one stays.
  void discard();

 private:
  FILE* file_ = nullptr;
  std::string path_;
  std::string namedAside_;  // set when the system cannot make a nameless file, and while it replaces one
};

// The names in `folder` of the form of a file written aside (".NAME.PID.N.tmp").
std::vector<std::string> namesAsideIn(const std::string& folder);

// Whether a new file may take the name `path`: no file has it, or one that may
// be written (a read-only file stays read-only, and a folder is no file to
// replace). False with errno set otherwise: EPERM for another user's file in a
// folder where each user may replace only their own (the sticky bit, as /tmp
// has), which the renaming would fail on.
bool mayTakeName(const std::string& path);

// "ERROR: NO SE PUEDE SUSTITUIR EL FICHERO path: ES DE OTRO USUARIO ..." (no
// line end): an output that mayTakeName refuses with EPERM.
std::string notReplaceableText(const std::string& path);

// The first of `outputs` that is another user's in such a folder, or "".
std::string othersOutput(const std::vector<std::string>& outputs);

// The outputs of one run, put in place together at its end: new files written
// aside, files finished in a scratch folder and moved in, and files of an
// earlier run removed. Until commit() nothing of the run is in place.
class PendingFiles {
 public:
  // A new file to be put in place as `path`; null (errno set) when it cannot
  // be made. The set owns it.
  FILE* open(const std::string& path);
  // A finished file `from` (on the same disk) to be moved to `path`; false
  // (errno set) when `path` may not be replaced.
  bool moveIn(const std::string& from, const std::string& path);
  // A file of an earlier run that the commit removes, when no new file takes
  // its name.
  void removeAtCommit(const std::string& path);

  // Every new file is first written out whole, and every name is checked
  // free to take (or to remove); only then does each take its name, the files
  // of the scratch folder move in and the earlier files go: a full disk, or
  // another user's file in a shared folder, leaves everything as it was.
  // False, with failed() naming the file and failureText() saying why, when
  // not every file is in place.
  bool commit();
  const std::string& failed() const { return failed_; }
  // "ERROR: NO SE PUDO ESCRIBIR EL FICHERO failed()", or notReplaceableText.
  std::string failureText() const;
  // Drops every new file; files to be moved in stay where they are.
  void discard();

 private:
  std::vector<PendingFile> files_;
  OutputFolders folders_;
  std::vector<std::pair<std::string, std::string>> moves_;  // from, to
  std::vector<std::string> removals_;
  std::string failed_;
  int failedError_ = 0;
};

// The first output that is the same file as one of the inputs (through links
// and other names), or "" when there is none. Files that do not exist yet are
// no input's.
struct SameFile {
  std::string output, input;
};
SameFile outputThatIsAnInput(const std::vector<std::string>& outputs, const std::vector<std::string>& inputs);
// The suite's refusal of such an output: "ERROR: PROGRAM ESCRIBIRÍA output, QUE
// ES EL DATO input: advice\n".
std::string sameFileText(const std::string& program, const SameFile& same, const std::string& advice);

// What RunLock::acquire gives as the holder when no process holds the lock:
// NAME.lock could not be made or opened, or something that is no plain file
// (a directory, a FIFO, a link, a device) stands in its place.
constexpr long kLockUnmade = 0, kLockNotAFile = -1;

// The refusal of a run that could not take the lock on `name`: another running
// process holds it ("ERROR: OTRA EJECUCION (PROCESO holder) ESTA ESCRIBIENDO
// name ...", accented), or one of the two cases above.
std::string lockRefusalText(const std::string& name, long holder);

// A lock on a name in a folder: an advisory lock (flock) held for the run on
// the file NAME.lock, which holds the process id for the message of a run
// refused; the file is removed when the lock goes. The kernel lets the lock go
// when its process ends, however it ends: the file of a run that was killed,
// or one naming any other process, is taken over.
class RunLock {
 public:
  RunLock() = default;
  RunLock(const RunLock&) = delete;
  RunLock& operator=(const RunLock&) = delete;
  ~RunLock() { release(); }

  // False when another process holds it (`holder` its id), or with `holder`
  // kLockUnmade or kLockNotAFile.
  bool acquire(const std::string& lockPath, long& holder);
  void release();

 private:
  std::string path_;
  int fd_ = -1;
};

}  // namespace common
