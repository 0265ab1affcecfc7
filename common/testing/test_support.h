#pragma once
// Helpers shared by the tests: a scratch directory, whole-file reads and writes,
// running a program of the suite with its stdout captured and stdin closed, and
// for the readers' unit tests a file holding given bytes and the text of the
// RunError they throw.
#include <cstddef>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace testsupport {

// A fresh directory under the system temp dir, removed with everything in it.
class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;
  const std::string& path() const { return path_; }
  std::string file(const std::string& name) const { return path_ + "/" + name; }
  void write(const std::string& name, const std::string& bytes) const;
  std::string read(const std::string& name) const;
  bool exists(const std::string& name) const;

 private:
  std::string path_;
};

std::string readFile(const std::string& path);
void writeFile(const std::string& path, const std::string& bytes);

struct RunResult {
  int status = -1;         // exit status, or -1 when killed by a signal
  int signal = 0;          // the signal that ended it, if any
  bool timedOut = false;   // killed after the time limit
  std::string output;      // everything written to stdout and stderr
};

// What a run may not do. Permissions do not bind root: an unprivileged run is
// made the user "nobody" (65534) when the tests run as root.
struct RunLimits {
  bool unprivileged = false;
  long long fileSizeLimit = 0;  // bytes (0: none); a longer write fails instead of killing the program
};

// Runs `program` with `args` in directory `dir`; stdin is /dev/null unless
// `input` is given (then it is fed through a pipe and closed). The program is
// killed after `seconds`.
RunResult runProgram(const std::string& program, const std::vector<std::string>& args, const std::string& dir,
                     const std::string* input = nullptr, int seconds = 60, const RunLimits& limits = {});

// `program` run unprivileged in `dir` made read-only: the folder and what it
// holds belong to the user of the run (its files stay writable), and the folder
// takes no new name. Writable again afterwards.
RunResult runInReadOnlyFolder(const std::string& program, const std::vector<std::string>& args,
                              const std::string& dir);

// Every name in a folder with what it holds: a file's length and a hash of its
// bytes, a link's target ("-> target"), or the kind of anything else (a FIFO
// is not opened). Two snapshots are equal when nothing in the folder was added,
// removed or changed.
std::map<std::string, std::string> folderContents(const std::string& dir);

// A copy of the files of folder `from` on a small disk of its own (a tmpfs
// mounted at `path`) with about `room` bytes left: a disk that fills up. Only
// root may mount: mounted() tells whether the disk is there; it is unmounted
// with the object.
class FullDisk {
 public:
  FullDisk(const std::string& from, const std::string& path, std::size_t room);
  ~FullDisk();
  FullDisk(const FullDisk&) = delete;
  FullDisk& operator=(const FullDisk&) = delete;
  bool mounted() const { return mounted_; }

 private:
  std::string path_;
  bool mounted_ = false;
};

// calcest on STEM.dat and STEM.caf of directory `dir`, writing STEM.res, .fmc
// and .bar there.
RunResult runCalcest(const std::string& calcest, const std::string& dir, const std::string& stem, int seconds = 60);

// The envelope example projects env_a, env_b and env_c, copied from
// `examplesDir` into `dir` and analysed there by calcest. False when calcest is
// not built or a run fails.
bool analyseEnvelopeExamples(const std::string& calcest, const std::string& examplesDir, const ScratchDir& dir);

// A temporary file holding the given bytes, rewound: input for the readers
// without a directory.
struct TempFile {
  explicit TempFile(const std::string& bytes);
  ~TempFile();
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;
  FILE* file;
};

// The text of the RunError `action` throws, or "" when it throws none.
std::string runErrorText(const std::function<void()>& action);

// An input that is no plain file: a directory or a FIFO put in place of file
// `name` of `dir`, or the device /dev/zero named instead. Returns the name to
// give the program.
enum class NonPlainFile { kDirectory, kFifo, kDevice };
std::string putNonPlainFile(const ScratchDir& dir, const std::string& name, NonPlainFile kind);

// The folder of one run on a bad day: made in a scratch directory, where a
// condition may move it (onto a full disk).
struct RunFolder {
  ScratchDir scratch;
  std::string path = scratch.path();  // where the run happens
  std::unique_ptr<FullDisk> disk;

  // Moves the folder's files onto a disk of their own with `room` bytes left
  // (see FullDisk for where none can be mounted).
  void moveToFullDisk(std::size_t room);
};

// Lines of a text (split at '\n'; a last line without '\n' counts too).
std::vector<std::string> splitLines(const std::string& text);

}  // namespace testsupport
