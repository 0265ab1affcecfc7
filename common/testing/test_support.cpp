#include "common/testing/test_support.h"

#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <pty.h>
#include <sys/file.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "common/child_process.h"
#include "common/file_names.h"
#include "common/run_error.h"

namespace testsupport {

using namespace common;

ScratchDir::ScratchDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "vigas-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

ScratchDir::~ScratchDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

void ScratchDir::write(const std::string& name, const std::string& bytes) const { writeFile(file(name), bytes); }
std::string ScratchDir::read(const std::string& name) const { return readFile(file(name)); }
bool ScratchDir::exists(const std::string& name) const { return std::filesystem::exists(file(name)); }

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void writeFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  if (!out) throw std::runtime_error("cannot write " + path);
  out << bytes;
}

namespace {
constexpr uid_t kNobody = 65534;

// In the child, before the program starts.
bool applyLimits(const RunLimits& limits) {
  if (limits.fileSizeLimit > 0) {
    // SIGXFSZ stays at its default, which ends the program: it must turn the
    // signal into a failed write itself, as a user's ulimit -f would need.
    const rlimit size{static_cast<rlim_t>(limits.fileSizeLimit), static_cast<rlim_t>(limits.fileSizeLimit)};
    if (setrlimit(RLIMIT_FSIZE, &size) != 0) return false;
  }
  if (limits.unprivileged && geteuid() == 0)
    return setgroups(0, nullptr) == 0 && setgid(kNobody) == 0 && setuid(kNobody) == 0;
  return true;
}
}  // namespace

RunResult runProgram(const std::string& program, const std::vector<std::string>& args, const std::string& dir,
                     const std::string* input, int seconds, const RunLimits& limits) {
  ChildProgram child;
  child.argv.push_back(program);
  child.argv.insert(child.argv.end(), args.begin(), args.end());
  child.folder = dir;
  child.environment = {"LC_ALL=" + limits.locale};
  child.prepare = [&limits] { return applyLimits(limits); };
  const ChildRun run = runChild(child, input, seconds);
  RunResult result;
  // A program that could not start counts as one that ended at once with the
  // shell's status for it.
  if (!run.started()) {
    result.status = 127;
    return result;
  }
  result.status = run.status;
  result.signal = run.signal;
  result.timedOut = run.timedOut;
  result.output = run.output;
  return result;
}

namespace {
void giveToNobody(const std::string& dir) {
  if (lchown(dir.c_str(), kNobody, kNobody) != 0) throw std::runtime_error("chown failed");
  for (const auto& entry : std::filesystem::recursive_directory_iterator(dir))
    if (lchown(entry.path().c_str(), kNobody, kNobody) != 0) throw std::runtime_error("chown failed");
}
}  // namespace

RunResult runInReadOnlyFolder(const std::string& program, const std::vector<std::string>& args, const std::string& dir,
                              int seconds) {
  if (geteuid() == 0) giveToNobody(dir);
  chmod(dir.c_str(), 0555);
  RunLimits unprivileged;
  unprivileged.unprivileged = true;
  RunResult result = runProgram(program, args, dir, nullptr, seconds, unprivileged);
  chmod(dir.c_str(), 0755);
  return result;
}

bool runInSharedFolder(const std::string& program, const std::vector<std::string>& args, const std::string& dir,
                       const std::string& foreign, RunResult& result) {
  if (geteuid() != 0) return false;
  giveToNobody(dir);
  if (chown(dir.c_str(), 0, 0) != 0 || chown((dir + "/" + foreign).c_str(), 0, 0) != 0) return false;
  chmod((dir + "/" + foreign).c_str(), 0666);
  chmod(dir.c_str(), 01777);
  RunLimits unprivileged;
  unprivileged.unprivileged = true;
  result = runProgram(program, args, dir, nullptr, 60, unprivileged);
  chmod(dir.c_str(), 0755);
  return true;
}

namespace {
// Reads what the terminal shows until `done` says so, the program closes it,
// or the time runs out.
void readTerminal(int terminal, std::string& shown, const std::function<bool()>& done, int milliseconds) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  while (!done()) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
    if (left.count() <= 0) return;
    pollfd ready{terminal, POLLIN, 0};
    if (poll(&ready, 1, static_cast<int>(left.count())) <= 0) return;
    char piece[512];
    const ssize_t got = read(terminal, piece, sizeof piece);
    if (got <= 0) return;  // EIO: every descriptor of the program's side is closed
    shown.append(piece, static_cast<size_t>(got));
  }
}

[[noreturn]] void execOnTerminal(int terminal, const std::vector<std::string>& argv, const std::string& dir,
                                 const std::string& stdoutFile) {
  setsid();
  ioctl(terminal, TIOCSCTTY, 0);
  dup2(terminal, STDIN_FILENO);
  dup2(terminal, STDERR_FILENO);
  const int out =
      stdoutFile.empty() ? terminal : open((dir + "/" + stdoutFile).c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  dup2(out, STDOUT_FILENO);
  if (chdir(dir.c_str()) != 0) _exit(126);
  setenv("LC_ALL", "C", 1);
  std::vector<char*> args;
  for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
  args.push_back(nullptr);
  execv(args[0], args.data());
  _exit(127);
}
}  // namespace

TerminalRun runOnTerminal(const std::string& program, const std::vector<std::string>& args, const std::string& dir,
                          const std::string& awaited, const std::string& stdoutFile) {
  int master = -1, slave = -1;
  if (openpty(&master, &slave, nullptr, nullptr, nullptr) != 0) throw std::runtime_error("openpty failed");
  std::vector<std::string> argv{program};
  argv.insert(argv.end(), args.begin(), args.end());
  std::fflush(nullptr);
  const pid_t child = fork();
  if (child == 0) {
    close(master);
    execOnTerminal(slave, argv, dir, stdoutFile);
  }
  close(slave);
  TerminalRun run;
  int wait = 0;
  readTerminal(
      master, run.shown, [&] { return run.shown.find(awaited) != std::string::npos; }, 10000);
  readTerminal(
      master, run.shown, [] { return false; }, 500);
  run.waitedForKey = waitpid(child, &wait, WNOHANG) == 0;
  if (run.waitedForKey) {
    if (::write(master, "x", 1) != 1) kill(child, SIGKILL);
    readTerminal(
        master, run.shown, [] { return false; }, 10000);
    kill(child, SIGKILL);  // no effect on a program that has ended
    waitpid(child, &wait, 0);
  }
  close(master);
  run.status = WIFEXITED(wait) ? WEXITSTATUS(wait) : -1;
  return run;
}

namespace {
// Short enough for a failed comparison to show: the length and a hash.
std::string fingerprint(const std::string& bytes) {
  return std::to_string(bytes.size()) + " bytes, hash " + std::to_string(std::hash<std::string>()(bytes));
}
}  // namespace

FolderContents folderContents(const std::string& dir) {
  FolderContents contents;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(dir)) {
    const std::string name = std::filesystem::relative(entry.path(), dir).string();
    if (entry.is_symlink())
      contents[name] = "-> " + std::filesystem::read_symlink(entry.path()).string();
    else if (entry.is_directory())
      contents[name] = "/";
    else if (entry.is_regular_file())
      contents[name] = fingerprint(readFile(entry.path().string()));
    else
      contents[name] = "<special file>";
  }
  return contents;
}

std::vector<std::string> changesSince(const FolderContents& before, const std::string& dir) {
  const FolderContents after = folderContents(dir);
  std::vector<std::string> changed;
  for (const auto& [name, bytes] : before) {
    const auto now = after.find(name);
    if (now == after.end() || now->second != bytes) changed.push_back(name);
  }
  for (const auto& entry : after)
    if (!before.count(entry.first)) changed.push_back(entry.first);
  return changed;
}

long endedProcessId() {
  const pid_t child = fork();
  if (child == 0) _exit(0);
  waitpid(child, nullptr, 0);
  return child;
}

std::vector<LockHolder> lockHolders() {
  return {{"a running run", LockHolder::kHoldingRun},
          {"a killed run", LockHolder::kKilledRun},
          {"a running process holding no lock", LockHolder::kOtherProcess}};
}

namespace {
// A child that holds `path` locked (if `holding`) with its id in it, and sleeps.
pid_t sleeper(const std::string& path, bool holding) {
  int ready[2];
  if (pipe(ready) != 0) throw std::runtime_error("pipe failed");
  const pid_t child = fork();
  if (child == 0) {
    if (holding) {
      const int fd = open(path.c_str(), O_RDWR | O_CREAT, 0644);
      const std::string id = std::to_string(getpid()) + "\n";
      if (fd < 0 || flock(fd, LOCK_EX) != 0 || write(fd, id.data(), id.size()) != static_cast<ssize_t>(id.size()))
        _exit(1);
    }
    (void)!write(ready[1], "x", 1);
    pause();
    _exit(0);
  }
  char c;
  (void)!read(ready[0], &c, 1);
  close(ready[0]);
  close(ready[1]);
  return child;
}
}  // namespace

PlantedLock::PlantedLock(const LockHolder& holder, const std::string& path) {
  std::filesystem::remove(path);
  if (holder.running()) {
    process_ = id_ = sleeper(path, true);
    return;
  }
  id_ = holder.kind == LockHolder::kKilledRun ? endedProcessId() : (process_ = sleeper(path, false));
  writeFile(path, std::to_string(id_) + "\n");
}

PlantedLock::~PlantedLock() {
  if (process_ <= 0) return;
  kill(static_cast<pid_t>(process_), SIGKILL);
  waitpid(static_cast<pid_t>(process_), nullptr, 0);
}

int inChildWithin(int seconds, const std::function<bool()>& body) {
  const pid_t child = fork();
  if (child == 0) {
    alarm(static_cast<unsigned>(seconds));
    _exit(body() ? 1 : 0);
  }
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

FullDisk::FullDisk(const std::string& from, const std::string& path, std::size_t room) : path_(path) {
  // tmpfs counts whole pages per file.
  constexpr std::size_t kPage = 4096;
  std::size_t used = 0;
  for (const auto& entry : std::filesystem::directory_iterator(from))
    if (entry.is_regular_file()) used += (entry.file_size() + kPage - 1) / kPage * kPage;
  std::filesystem::create_directory(path);
  const std::string options = "size=" + std::to_string(used + room) + ",mode=755";
  mounted_ = geteuid() == 0 && mount("tmpfs", path.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, options.c_str()) == 0;
  if (!mounted_) return;
  for (const auto& entry : std::filesystem::directory_iterator(from))
    if (entry.path() != path && !entry.is_directory())
      std::filesystem::copy(entry.path(), path + "/" + entry.path().filename().string(),
                            std::filesystem::copy_options::copy_symlinks);
}

FullDisk::~FullDisk() {
  if (mounted_) umount2(path_.c_str(), MNT_DETACH);
}

std::string putNonPlainFile(const ScratchDir& dir, const std::string& name, NonPlainFile kind) {
  if (kind == NonPlainFile::kDevice) return "/dev/zero";
  std::filesystem::remove(dir.file(name));
  if (kind == NonPlainFile::kDirectory)
    std::filesystem::create_directory(dir.file(name));
  else if (mkfifo(dir.file(name).c_str(), 0644) != 0)
    throw std::runtime_error("mkfifo failed");
  return name;
}

void RunFolder::moveToFullDisk(std::size_t room) {
  path = scratch.file("lleno");
  disk = std::make_unique<FullDisk>(scratch.path(), path, room);
}

std::vector<std::string> splitLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

RunResult runCalcest(const std::string& calcest, const std::string& dir, const std::string& stem, int seconds) {
  return runProgram(calcest, common::calcestCommandLine(stem), dir, nullptr, seconds);
}

void copyProject(const std::string& from, const std::string& stem, const ScratchDir& dir,
                 std::initializer_list<const char*> extensions) {
  for (const char* ext : extensions) dir.write(stem + ext, readFile(from + "/" + stem + ext));
}

void copyProject(const std::string& from, const std::string& stem, const ScratchDir& dir) {
  copyProject(from, stem, dir, {common::kModelExt, common::kLoadsExt});
}

bool analyseEnvelopeExamples(const std::string& calcest, const std::string& examplesDir, const ScratchDir& dir) {
  if (!std::filesystem::exists(calcest)) return false;
  for (std::string p : {"env_a", "env_b", "env_c"}) {
    copyProject(examplesDir + "/envolvente", p, dir,
                {common::kModelExt, common::kLoadsExt, common::kDescriptionExt, common::kForceTableExt});
    if (runCalcest(calcest, dir.path(), p).status != 0) return false;
  }
  return true;
}

TempFile::TempFile(const std::string& bytes) {
  file = std::tmpfile();
  if (!file) throw std::runtime_error("tmpfile failed");
  std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::rewind(file);
}
TempFile::~TempFile() { std::fclose(file); }

std::string runErrorText(const std::function<void()>& action) {
  try {
    action();
  } catch (const RunError& e) {
    return e.text;
  }
  return "";
}

}  // namespace testsupport
