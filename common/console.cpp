#include "common/console.h"

#include <langinfo.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <clocale>
#include <cstdio>
#include <cstring>
#include <string>

#include "common/cp1252.h"

namespace common {

namespace {
bool stdoutIsUtf8Terminal() {
  static int answer = -1;
  if (answer < 0) {
    answer = 0;
    if (isatty(STDOUT_FILENO)) {
      std::setlocale(LC_CTYPE, "");
      const char* codeset = nl_langinfo(CODESET);
      answer = codeset && std::strcmp(codeset, "UTF-8") == 0;
    }
  }
  return answer == 1;
}
}  // namespace

void consoleWrite(std::string_view text) {
  if (stdoutIsUtf8Terminal()) {
    std::string utf8 = cp1252ToUtf8(text);
    std::fwrite(utf8.data(), 1, utf8.size(), stdout);
  } else {
    std::fwrite(text.data(), 1, text.size(), stdout);
  }
}

void waitKey() {
  std::fflush(stdout);
  char key = 0;
  if (isatty(STDIN_FILENO)) {
    termios saved{};
    if (tcgetattr(STDIN_FILENO, &saved) == 0) {
      termios raw = saved;
      raw.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO);
      raw.c_cc[VMIN] = 1;
      raw.c_cc[VTIME] = 0;
      tcsetattr(STDIN_FILENO, TCSANOW, &raw);
      ssize_t got = read(STDIN_FILENO, &key, 1);
      (void)got;
      tcsetattr(STDIN_FILENO, TCSANOW, &saved);
      return;
    }
  }
  // Not a terminal: take one byte if one is waiting, never block.
  pollfd input{STDIN_FILENO, POLLIN, 0};
  if (poll(&input, 1, 0) > 0 && (input.revents & POLLIN)) {
    ssize_t got = read(STDIN_FILENO, &key, 1);
    (void)got;
  }
}

}  // namespace common
