#pragma once
// The launcher's start sequence without any window: the connection program and
// the library updater are started and waited for in turn, then the main program
// is started and left running. Programs are looked up in the current directory
// only, by their exact file name (never through PATH); one that is missing or
// cannot be started is skipped without a word.
#include <sys/types.h>

namespace lanzador {

inline constexpr const char* kConnectionProgram = "conexion.exe";
inline constexpr const char* kLibraryUpdater = "kaltrozip.exe";
inline constexpr const char* kMainProgram = "kaltro.exe";

// Starts `name` from the current directory with argv = { name }. Returns the
// child's pid, or -1 when it cannot be started (missing, not executable, ...).
pid_t startProgram(const char* name);

// Blocks until the child ends (retrying on interrupted waits).
void waitForProgram(pid_t pid);

// The sequence after the opening message: both waited-for programs, then
// the main program. Returns the pid of the started main program
// (not waited for), or -1 when it could not be started.
pid_t runPrograms();

}  // namespace lanzador
