#include "common/console.h"

#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <string>

#include "common/cp1252.h"

namespace common {

namespace {
// Whether the locale the environment names (LC_ALL, else LC_CTYPE, else LANG,
// the first one set) has the UTF-8 character set: "es_ES.UTF-8", "C.utf8".
bool localeIsUtf8() {
  for (const char* name : {"LC_ALL", "LC_CTYPE", "LANG"}) {
    const char* value = std::getenv(name);
    if (!value || !*value) continue;
    const char* dot = std::strchr(value, '.');
    if (!dot) return false;
    std::string charset(dot + 1, std::strcspn(dot + 1, "@"));
    for (char& c : charset) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return charset == "utf-8" || charset == "utf8";
  }
  return false;
}
}  // namespace

namespace {
// The files stay Windows-1252; the console is read in the locale's character
// set, on a terminal as in a pipe or a log.
void writeConverted(std::string_view text, FILE* stream) {
  static const bool utf8 = localeIsUtf8();
  if (utf8) {
    std::string converted = cp1252ToUtf8(text);
    std::fwrite(converted.data(), 1, converted.size(), stream);
  } else {
    std::fwrite(text.data(), 1, text.size(), stream);
  }
}

// The errno of the first write to stdout that failed; 0 while none has.
int& consoleFailure() {
  static int failure = 0;
  return failure;
}

// Just after a write or flush of stdout, while errno still tells why it failed.
void noteConsoleFailure() {
  if (std::ferror(stdout) && consoleFailure() == 0) consoleFailure() = errno != 0 ? errno : EIO;
}
}  // namespace

void consoleWrite(std::string_view text) {
  writeConverted(text, stdout);
  noteConsoleFailure();
}

void consoleWriteError(std::string_view text) {
  writeConverted(text, stderr);
  std::fflush(stderr);
}

int finishConsole() {
  std::fflush(stdout);
  noteConsoleFailure();
  return consoleFailure();
}

void waitKey() {
  std::fflush(stdout);
  noteConsoleFailure();
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

bool asksForKey(std::string_view text) {
  static constexpr std::string_view kWords = "presione una tecla";
  for (size_t at = 0; at + kWords.size() <= text.size(); ++at) {
    size_t k = 0;
    while (k < kWords.size() &&
           std::tolower(static_cast<unsigned char>(text[at + k])) == static_cast<unsigned char>(kWords[k]))
      ++k;
    if (k == kWords.size()) return true;
  }
  return false;
}

void TerminalConsole::write(std::string_view text) {
  if (text.empty()) return;
  consoleWrite(text);
  asked_ = asked_ || asksForKey(text);
  lineOpen_ = text.back() != '\n';
}

void TerminalConsole::waitKey() {
  if (isatty(STDIN_FILENO)) {
    const bool onStdout = isatty(STDOUT_FILENO);
    if (!asked_ || !onStdout) {
      std::fflush(stdout);
      const std::string prompt = std::string(onStdout && lineOpen_ ? "\n" : "") + kKeyPrompt + "\n";
      if (onStdout) {
        consoleWrite(prompt);
        lineOpen_ = false;
      } else {
        std::fputs(prompt.c_str(), stderr);
      }
    }
  }
  asked_ = false;
  common::waitKey();
}

}  // namespace common
