#pragma once
// Helpers shared by the tests: a scratch directory, whole-file reads and writes,
// running a program of the suite with its stdout captured and stdin closed, and
// for the readers' unit tests a file holding given bytes and the text of the
// RunError they throw.
#include <cstddef>
#include <cstdio>
#include <functional>
#include <initializer_list>
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
  int status = -1;        // exit status, or -1 when killed by a signal
  int signal = 0;         // the signal that ended it, if any
  bool timedOut = false;  // killed after the time limit
  std::string output;     // everything written to stdout and stderr
};

// What a run may not do. Permissions do not bind root: an unprivileged run is
// made the user "nobody" (65534) when the tests run as root.
struct RunLimits {
  bool unprivileged = false;
  long long fileSizeLimit = 0;  // bytes (0: none); SIGXFSZ at its default, as a user's ulimit -f leaves it
  // The program's locale (LC_ALL): by default the console comes in the files'
  // character set, whatever the locale the tests run in.
  std::string locale = "C";
};

// Runs `program` with `args` in directory `dir` (common::runChild); stdin is
// /dev/null unless `input` is given (then it is fed through a pipe and closed).
// The program is killed after `seconds`; one that cannot start ends with 127.
RunResult runProgram(const std::string& program, const std::vector<std::string>& args, const std::string& dir,
                     const std::string* input = nullptr, int seconds = 60, const RunLimits& limits = {});

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

// As runProgram, in `dir` made read-only for the run. Permissions do not bind
// root: as root the folder and its files are given to the unprivileged user
// "nobody" (65534) first, and the program runs as that user.
RunResult runInReadOnlyFolder(const std::string& program, const std::vector<std::string>& args, const std::string& dir,
                              int seconds = 60);

// As runProgram, as the user "nobody", in `dir` made a shared folder (mode
// 1777, as /tmp) where everything is nobody's but the file `foreign`, which
// is root's and writable by all. Only root can set that up: false elsewhere.
bool runInSharedFolder(const std::string& program, const std::vector<std::string>& args, const std::string& dir,
                       const std::string& foreign, RunResult& result);

// What a directory holds, its subfolders included: relative name -> a file's
// length and a hash of its bytes, a link's target ("-> target"), a folder "/",
// or the kind of anything else (a FIFO is not opened). Two snapshots are equal
// when nothing in the folder was added, removed or changed.
using FolderContents = std::map<std::string, std::string>;
FolderContents folderContents(const std::string& dir);
// The names added, removed or changed in `dir` since it held `before`.
std::vector<std::string> changesSince(const FolderContents& before, const std::string& dir);

// The id of a process that has ended, as that of a run that was killed.
long endedProcessId();

// The holders a lock file may name: a running run that holds the lock, whose
// lock stands; a run that was killed, and a running process that holds no
// lock (an id reused after a reboot): the next run takes their lock over.
struct LockHolder {
  enum Kind { kHoldingRun, kKilledRun, kOtherProcess };
  const char* what;
  Kind kind;
  bool running() const { return kind == kHoldingRun; }  // the lock stands
};
std::vector<LockHolder> lockHolders();

// The lock file `path` as such a holder leaves it, its id in it; a running
// holder holds it (an advisory lock, as a run does) until this object goes.
class PlantedLock {
 public:
  PlantedLock(const LockHolder& holder, const std::string& path);
  ~PlantedLock();
  PlantedLock(const PlantedLock&) = delete;
  PlantedLock& operator=(const PlantedLock&) = delete;
  long id() const { return id_; }

 private:
  long id_ = 0;
  long process_ = -1;  // what runs until this object goes
};

// Runs `body` in a child process killed after `seconds`: 1 when it returned
// true, 0 when false, -1 when it did not end in time (it hung).
int inChildWithin(int seconds, const std::function<bool()>& body);

// calcest on STEM.dat and STEM.caf of directory `dir`, writing STEM.res, .fmc
// and .bar there.
RunResult runCalcest(const std::string& calcest, const std::string& dir, const std::string& stem, int seconds = 60);

// Copies the files STEM + each of `extensions` from folder `from` into `dir`.
void copyProject(const std::string& from, const std::string& stem, const ScratchDir& dir,
                 std::initializer_list<const char*> extensions);
// The same for a project's inputs, its model and its loads.
void copyProject(const std::string& from, const std::string& stem, const ScratchDir& dir);

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

// A program run on a pseudo-terminal, as a person runs it: its stdin, stderr
// and (unless `stdoutFile` names a file of `dir` for it) its stdout are the
// terminal, in the C locale. Once the terminal shows `awaited` (or after 10
// s), the run gets half a second to end on its own; then one key is typed and
// the terminal is read until the program ends.
struct TerminalRun {
  std::string shown;          // everything the terminal showed ("\n" shown as "\r\n")
  bool waitedForKey = false;  // still running half a second after `awaited` appeared
  int status = -1;            // exit status, -1 when a signal ended it
};
TerminalRun runOnTerminal(const std::string& program, const std::vector<std::string>& args, const std::string& dir,
                          const std::string& awaited, const std::string& stdoutFile = "");

// Lines of a text (split at '\n'; a last line without '\n' counts too).
std::vector<std::string> splitLines(const std::string& text);

}  // namespace testsupport
