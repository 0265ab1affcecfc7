#include "common/child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <optional>

namespace common {

namespace {

using Clock = std::chrono::steady_clock;

// A descriptor closed with the object.
class Descriptor {
 public:
  Descriptor() = default;
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  ~Descriptor() { reset(); }
  int get() const { return fd_; }
  bool isOpen() const { return fd_ >= 0; }
  void reset(int fd = -1) {
    if (fd_ >= 0) close(fd_);
    fd_ = fd;
  }

 private:
  int fd_ = -1;
};

// A pipe whose ends lie above the standard descriptors (a process started
// with one of them closed would otherwise get it as an end, and the child's
// dup2 onto it would clash) and close on exec, so that no other child started
// meanwhile keeps it open.
bool makePipe(Descriptor& readEnd, Descriptor& writeEnd) {
  int ends[2];
  if (pipe2(ends, O_CLOEXEC) != 0) return false;
  for (int& end : ends) {
    if (end >= 3) continue;
    const int moved = fcntl(end, F_DUPFD_CLOEXEC, 3);
    close(end);
    end = moved;
  }
  readEnd.reset(ends[0]);
  writeEnd.reset(ends[1]);
  return readEnd.isOpen() && writeEnd.isOpen();
}

// What the child does between fork and exec.
struct ChildSetup {
  const ChildProgram* program = nullptr;
  char* const* argv = nullptr;
  char* const* envp = nullptr;  // the environment; null: this process's
  int input = -1;               // the child's stdin; -1: /dev/null
  bool keepStdio = false;       // stdin, stdout and stderr stay this process's
  int output = -1;              // the child's stdout and stderr
  int startErrors = -1;         // where a failed start writes its errno
  int highestDescriptor = 0;
};

void closeRange(int from, int to) {
  if (from > to) return;
  if (close_range(static_cast<unsigned>(from), static_cast<unsigned>(to), 0) == 0) return;
  for (int fd = from; fd <= to; ++fd) close(fd);
}

// In the child: tells the parent why the start failed, and ends.
[[noreturn]] void startFailed(int startErrors) {
  const int error = errno != 0 ? errno : EINVAL;
  ssize_t written = write(startErrors, &error, sizeof error);
  (void)written;
  _exit(127);
}

// In the child: async-signal-safe calls only, since the parent may have had
// threads.
[[noreturn]] void becomeProgram(const ChildSetup& s) {
  auto fail = [&s] { startFailed(s.startErrors); };
  struct sigaction byDefault {};
  byDefault.sa_handler = SIG_DFL;
  for (int sig = 1; sig < NSIG; ++sig)
    if (sig != SIGKILL && sig != SIGSTOP) sigaction(sig, &byDefault, nullptr);
  errno = 0;
  if (s.program->prepare && !s.program->prepare()) fail();
  if (!s.program->folder.empty() && chdir(s.program->folder.c_str()) != 0) fail();
  if (!s.keepStdio) {
    const int input = s.input >= 0 ? s.input : open("/dev/null", O_RDONLY);
    if (input < 0 || dup2(input, STDIN_FILENO) < 0) fail();
    if (dup2(s.output, STDOUT_FILENO) < 0 || dup2(s.output, STDERR_FILENO) < 0) fail();
  }
  // The pipe of start errors closes at exec by itself.
  closeRange(3, s.startErrors - 1);
  if (close_range(static_cast<unsigned>(s.startErrors) + 1, ~0U, 0) != 0)
    closeRange(s.startErrors + 1, s.highestDescriptor);
  sigset_t none;
  sigemptyset(&none);
  sigprocmask(SIG_SETMASK, &none, nullptr);
  if (s.envp)
    execve(s.argv[0], s.argv, s.envp);
  else
    execv(s.argv[0], s.argv);
  startFailed(s.startErrors);
}

// Forks with every signal blocked, so that no handler of this process runs in
// the child before the child has reset them.
pid_t forkInto(const ChildSetup& setup) {
  sigset_t all, previous;
  sigfillset(&all);
  pthread_sigmask(SIG_SETMASK, &all, &previous);
  const pid_t pid = fork();
  if (pid == 0) becomeProgram(setup);
  const int forkError = errno;
  pthread_sigmask(SIG_SETMASK, &previous, nullptr);
  errno = forkError;
  return pid;
}

int waitStatus(pid_t pid, int options, pid_t& ended) {
  int status = 0;
  while ((ended = waitpid(pid, &status, options)) < 0 && errno == EINTR) {
  }
  return status;
}

// Once the child has forked: 0 when the program took its place, else the
// errno of the failed start (the child then reaped). The pipe's write end
// must be closed here already, or the read would wait forever.
int startErrorOf(pid_t pid, Descriptor& startErrors) {
  int error = 0;
  ssize_t got;
  while ((got = read(startErrors.get(), &error, sizeof error)) < 0 && errno == EINTR) {
  }
  startErrors.reset();
  if (got != static_cast<ssize_t>(sizeof error)) return 0;
  pid_t ended;
  waitStatus(pid, 0, ended);
  return error != 0 ? error : EINVAL;
}

int highestDescriptor() {
  rlimit limit{};
  if (getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) return 65535;
  return static_cast<int>(std::min<rlim_t>(limit.rlim_cur, 1 << 20)) - 1;
}

// The argument vector execv takes, pointing into `words`.
std::vector<char*> argumentVector(const std::vector<std::string>& words) {
  std::vector<char*> argv;
  for (const std::string& word : words) argv.push_back(const_cast<char*>(word.c_str()));
  argv.push_back(nullptr);
  return argv;
}

// The environment of a program that changes some entries: this process's
// entries of other names, then the changed ones (pointing into `program`).
std::vector<char*> environmentVector(const ChildProgram& program) {
  std::vector<char*> envp;
  if (program.environment.empty()) return envp;
  auto changed = [&program](const char* entry) {
    for (const std::string& own : program.environment) {
      const size_t name = own.find('=');
      if (std::strncmp(entry, own.c_str(), name + 1) == 0) return true;
    }
    return false;
  };
  for (char** entry = environ; *entry; ++entry)
    if (!changed(*entry)) envp.push_back(*entry);
  for (const std::string& own : program.environment) envp.push_back(const_cast<char*>(own.c_str()));
  envp.push_back(nullptr);
  return envp;
}

// Feeding a child that stops reading would raise SIGPIPE, which ends this
// process unless it is blocked: blocked while the run lasts, and one it raised
// taken back before the mask is restored.
class PipeSignalHeld {
 public:
  PipeSignalHeld() {
    sigemptyset(&pipe_);
    sigaddset(&pipe_, SIGPIPE);
    sigset_t pending;
    sigpending(&pending);
    alreadyPending_ = sigismember(&pending, SIGPIPE) == 1;
    pthread_sigmask(SIG_BLOCK, &pipe_, &previous_);
  }
  ~PipeSignalHeld() {
    if (!alreadyPending_) {
      const timespec now{0, 0};
      while (sigtimedwait(&pipe_, nullptr, &now) == SIGPIPE) {
      }
    }
    pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
  }
  PipeSignalHeld(const PipeSignalHeld&) = delete;
  PipeSignalHeld& operator=(const PipeSignalHeld&) = delete;

 private:
  sigset_t pipe_, previous_;
  bool alreadyPending_ = false;
};

void readWhatIsThere(Descriptor& from, std::string& into, size_t limit) {
  char buffer[65536];
  while (from.isOpen()) {
    const ssize_t got = read(from.get(), buffer, sizeof buffer);
    if (got > 0) {
      into.append(buffer, static_cast<size_t>(got));
      if (limit > 0 && into.size() > limit) into.erase(0, into.size() - limit);
    } else if (got == 0 || (errno != EINTR && errno != EAGAIN)) {
      from.reset();  // end of file
    } else if (errno == EAGAIN) {
      return;
    }
  }
}

void feed(Descriptor& to, const std::string& input, size_t& fed) {
  while (to.isOpen() && fed < input.size()) {
    const ssize_t put = write(to.get(), input.data() + fed, std::min<size_t>(input.size() - fed, 65536));
    if (put > 0) {
      fed += static_cast<size_t>(put);
    } else if (errno == EAGAIN) {
      return;
    } else if (errno != EINTR) {
      to.reset();  // the child no longer reads
    }
  }
  to.reset();  // all of it given: end of file
}

// Lets a poll wake when the child ends; -1 where the kernel has no such
// descriptor (the loop then looks every few milliseconds).
int exitDescriptor(pid_t pid) {
#ifdef SYS_pidfd_open
  return static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
#else
  (void)pid;
  return -1;
#endif
}

void setOutcome(ChildRun& run, int status) {
  if (WIFEXITED(status)) run.status = WEXITSTATUS(status);
  if (WIFSIGNALED(status)) run.signal = WTERMSIG(status);
}

}  // namespace

ChildRun runChild(const ChildProgram& program, const std::string* input, int timeoutSeconds) {
  ChildRun run;
  if (program.argv.empty()) {
    run.startError = EINVAL;
    return run;
  }
  const Clock::time_point deadline = Clock::now() + std::chrono::seconds(timeoutSeconds);
  std::vector<char*> argv = argumentVector(program.argv), envp = environmentVector(program);
  Descriptor outRead, outWrite, inRead, inWrite, errorsRead, errorsWrite;
  if (!makePipe(outRead, outWrite) || !makePipe(errorsRead, errorsWrite) || (input && !makePipe(inRead, inWrite))) {
    run.startError = errno != 0 ? errno : EMFILE;
    return run;
  }
  std::optional<PipeSignalHeld> pipeSignal;
  if (input) pipeSignal.emplace();
  ChildSetup setup;
  setup.program = &program;
  setup.argv = argv.data();
  setup.envp = envp.empty() ? nullptr : envp.data();
  setup.input = input ? inRead.get() : -1;
  setup.output = outWrite.get();
  setup.startErrors = errorsWrite.get();
  setup.highestDescriptor = highestDescriptor();
  const pid_t pid = forkInto(setup);
  const int forkError = errno;
  outWrite.reset();
  inRead.reset();
  errorsWrite.reset();
  if (pid < 0) {
    run.startError = forkError;
    return run;
  }
  if ((run.startError = startErrorOf(pid, errorsRead)) != 0) return run;

  fcntl(outRead.get(), F_SETFL, O_NONBLOCK);
  if (input) fcntl(inWrite.get(), F_SETFL, O_NONBLOCK);
  Descriptor exited;
  exited.reset(exitDescriptor(pid));
  size_t fed = 0;
  int status = 0;
  for (;;) {
    pollfd watched[3];
    nfds_t count = 0;
    if (outRead.isOpen()) watched[count++] = {outRead.get(), POLLIN, 0};
    if (inWrite.isOpen()) watched[count++] = {inWrite.get(), POLLOUT, 0};
    if (exited.isOpen()) watched[count++] = {exited.get(), POLLIN, 0};
    int wait = -1;
    if (timeoutSeconds > 0)
      wait = static_cast<int>(std::max<long long>(
          0, std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count() + 1));
    if (!exited.isOpen()) wait = wait < 0 ? 10 : std::min(wait, 10);
    poll(watched, count, wait);
    readWhatIsThere(outRead, run.output, program.outputLimit);
    if (input) feed(inWrite, *input, fed);
    pid_t ended;
    status = waitStatus(pid, WNOHANG, ended);
    if (ended == pid) break;
    if (timeoutSeconds > 0 && Clock::now() >= deadline) {
      kill(pid, SIGKILL);
      status = waitStatus(pid, 0, ended);
      run.timedOut = true;
      break;
    }
  }
  readWhatIsThere(outRead, run.output, program.outputLimit);
  setOutcome(run, status);
  return run;
}

pid_t startChild(const ChildProgram& program) {
  if (program.argv.empty()) {
    errno = EINVAL;
    return -1;
  }
  std::vector<char*> argv = argumentVector(program.argv), envp = environmentVector(program);
  Descriptor errorsRead, errorsWrite;
  if (!makePipe(errorsRead, errorsWrite)) return -1;
  ChildSetup setup;
  setup.program = &program;
  setup.argv = argv.data();
  setup.envp = envp.empty() ? nullptr : envp.data();
  setup.keepStdio = true;
  setup.startErrors = errorsWrite.get();
  setup.highestDescriptor = highestDescriptor();
  const pid_t pid = forkInto(setup);
  const int forkError = errno;
  errorsWrite.reset();
  if (pid < 0) {
    errno = forkError;
    return -1;
  }
  if (const int error = startErrorOf(pid, errorsRead)) {
    errno = error;
    return -1;
  }
  return pid;
}

int waitForChild(pid_t pid) {
  pid_t ended;
  return waitStatus(pid, 0, ended);
}

}  // namespace common
