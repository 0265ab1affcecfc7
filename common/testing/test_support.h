#pragma once
// Helpers for end-to-end tests: a scratch directory, whole-file reads and writes,
// and running a program of the suite with its stdout captured and stdin closed.
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

// Runs `program` with `args` in directory `dir`; stdin is /dev/null unless
// `input` is given (then it is fed through a pipe and closed). The program is
// killed after `seconds`.
RunResult runProgram(const std::string& program, const std::vector<std::string>& args, const std::string& dir,
                     const std::string* input = nullptr, int seconds = 60);

// Lines of a text (split at '\n'; a last line without '\n' counts too).
std::vector<std::string> splitLines(const std::string& text);

}  // namespace testsupport
