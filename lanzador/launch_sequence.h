#pragma once
// The launcher's start sequence without any window: the connection program and
// the library updater are started and waited for in turn, then the main program
// is started and left running. Programs are looked up in the current directory
// only, by their exact file name (never through PATH); one that is missing or
// cannot be started is skipped without a word.
//
// An installation configures the main program on the command line
// (--principal NAME): one of the suite's own programs, found as they find each
// other (common/fellow_program.h), in place of kaltro.exe. The connection
// program and the library updater stay those of the current directory, and
// the opening message then says which of them are not there.
#include <sys/types.h>

#include <string>
#include <vector>

namespace lanzador {

inline constexpr const char* kConnectionProgram = "conexion.exe";
inline constexpr const char* kLibraryUpdater = "kaltrozip.exe";
inline constexpr const char* kMainProgram = "kaltro.exe";
inline constexpr const char* kMainProgramFlag = "--principal";

// What the command line configures: the main program an installation names
// ("" for kaltro.exe of the current directory).
struct Options {
  std::string suiteMainProgram;
};
// --principal NAME; other words are left alone, as they always were. A
// --principal without a name configures nothing.
Options parseOptions(const std::vector<std::string>& args);

// Starts `name` from the current directory with argv = { name }. Returns the
// child's pid, or -1 when it cannot be started (missing, not executable, ...).
pid_t startProgram(const char* name);

// Blocks until the child ends (retrying on interrupted waits).
void waitForProgram(pid_t pid);

// The sequence after the opening message: both waited-for programs, then
// the main program. Returns the pid of the started main program
// (not waited for), or -1 when it could not be started.
pid_t runPrograms(const Options& options = {});

// What the opening message adds to its text for the configured launcher:
// the programs of the current directory it will skip, and the main program
// it will start. "" for the launcher as described (Windows-1252).
std::string configuredNote(const Options& options);

// The line the window shows when the main program could not be started.
std::string noticeText(const Options& options);

}  // namespace lanzador
