#include "lanzador/launch_sequence.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <initializer_list>

namespace lanzador {

pid_t startProgram(const char* name) {
  // posix_spawn (not posix_spawnp): a bare name is resolved against the
  // current directory, so nothing on PATH is ever picked up.
  posix_spawn_file_actions_t actions;
  posix_spawnattr_t attributes;
  if (posix_spawn_file_actions_init(&actions) != 0) return -1;
  if (posix_spawnattr_init(&attributes) != 0) {
    posix_spawn_file_actions_destroy(&actions);
    return -1;
  }
  // The child must not keep the launcher's display connection or other
  // descriptors: the launcher's window has to vanish when the launcher ends.
  posix_spawn_file_actions_addclosefrom_np(&actions, 3);
  // Nor inherit signal settings the GUI toolkit made for itself.
  sigset_t all, none;
  sigfillset(&all);
  sigemptyset(&none);
  posix_spawnattr_setsigdefault(&attributes, &all);
  posix_spawnattr_setsigmask(&attributes, &none);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);

  char* argv[] = {const_cast<char*>(name), nullptr};
  pid_t pid = -1;
  int failed = posix_spawn(&pid, name, &actions, &attributes, argv, environ);
  posix_spawnattr_destroy(&attributes);
  posix_spawn_file_actions_destroy(&actions);
  return failed ? -1 : pid;
}

void waitForProgram(pid_t pid) {
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
}

pid_t runPrograms() {
  for (const char* name : {kConnectionProgram, kLibraryUpdater}) {
    pid_t pid = startProgram(name);
    if (pid > 0) waitForProgram(pid);
  }
  return startProgram(kMainProgram);
}

}  // namespace lanzador
