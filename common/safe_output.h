#pragma once
// Outputs that never cost the user an earlier result or an input:
// - PendingFile: a file written aside and put in place whole, only when the run
//   is complete; until then the earlier file of that name stays as it was, and
//   a run that fails or is killed leaves nothing of the new one behind;
// - outputs named like an input are found before anything is written;
// - RunLock: one run at a time on one name in one folder.
#include <cstdio>
#include <string>
#include <vector>

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
  // directory, a FIFO, a device).
  bool open(const std::string& path);
  FILE* file() const { return file_; }
  const std::string& path() const { return path_; }
  bool isOpen() const { return file_ != nullptr; }

  // Writes out what is buffered, closes the file and gives it its name in place
  // of the earlier one. False when a byte did not reach it or it could not be
  // named: then the earlier file is as it was.
  bool commit();
  // Drops the new file; the earlier one stays.
  void discard();

 private:
  FILE* file_ = nullptr;
  std::string path_;
  std::string namedAside_;  // set when the system cannot make a nameless file
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

// A lock on a name in a folder: the file NAME.lock, made exclusively, holding
// the process id, removed when the lock goes. A lock whose process no longer
// runs (a run that was killed) is taken over.
class RunLock {
 public:
  RunLock() = default;
  RunLock(const RunLock&) = delete;
  RunLock& operator=(const RunLock&) = delete;
  ~RunLock() { release(); }

  // False when another running process holds it (`holder` its id, 0 when the
  // lock cannot be made or read at all).
  bool acquire(const std::string& lockPath, long& holder);
  void release();

 private:
  std::string path_;
};
