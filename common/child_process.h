#pragma once
// The one way the suite starts another program. The child gets no descriptor
// of this process but its standard three, and every signal at its default and
// unblocked: whatever a window toolkit or a test runner set up for itself must
// not reach the program it starts, nor keep this process's pipes and display
// connection alive after it ends. The program is never looked up on PATH: a
// bare name is a file of the child's working folder.
#include <sys/types.h>

#include <cstddef>

#include <functional>
#include <string>
#include <vector>

namespace common {

struct ChildProgram {
  std::vector<std::string> argv;  // argv[0]: the program's path
  std::string folder;             // where it runs; empty: this process's folder
  // Called in the child once its signals are reset, before it moves to its
  // folder: async-signal-safe calls only (this process may have threads).
  // False ends the child as a start that failed, with errno as the reason.
  std::function<bool()> prepare;
  // "NAME=VALUE" entries the child's environment takes in place of this
  // process's value of NAME; the rest of the environment is passed on.
  std::vector<std::string> environment;
  // Bytes of its output runChild keeps, the last ones (what ends a run is
  // said last): a program that floods its output costs no more memory than
  // this. 0: all of it.
  size_t outputLimit = 0;
};

struct ChildRun {
  int startError = 0;     // errno of a start that failed; nothing below is then set
  int status = -1;        // exit status, -1 when a signal ended it
  int signal = 0;         // the signal that ended it, if any
  bool timedOut = false;  // killed (SIGKILL) at the time limit
  std::string output;     // stdout and stderr, in the order written
  bool started() const { return startError == 0; }
};

// Runs the program to its end and captures stdout and stderr together. Its
// stdin reads `input` (then end of file), or /dev/null when there is none. A
// time limit of 0 waits however long it takes. Output a process started by
// the child writes after the child has ended is not waited for.
ChildRun runChild(const ChildProgram& program, const std::string* input = nullptr, int timeoutSeconds = 0);

// Starts the program with this process's stdin, stdout and stderr and does
// not wait for it: its pid, or -1 when it cannot start (errno tells why).
pid_t startChild(const ChildProgram& program);

// Waits for a child that startChild started (retrying interrupted waits) and
// returns its wait status.
int waitForChild(pid_t pid);

}  // namespace common
