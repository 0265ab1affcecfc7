#pragma once
// Console layer shared by the calculation programs: exact message output and a
// key wait that never blocks when standard input is not a terminal. Phases that
// are run and checked without a terminal talk through a Console.
#include <string>
#include <string_view>

#include "common/run_error.h"

namespace common {

// Writes Windows-1252 text to stdout, converted to UTF-8 when the locale's
// character set is UTF-8 (LC_ALL, LC_CTYPE, LANG), also to a pipe or a file.
void consoleWrite(std::string_view cp1252Text);
// The same to stderr, at once: what must be said when stdout could not be.
void consoleWriteError(std::string_view cp1252Text);
// Writes out what stdout holds: 0, or the errno of the first write to it that
// failed (EPIPE: its reader has gone).
int finishConsole();

// Waits for one key. On a terminal: one raw key press without echo. Otherwise one
// byte is consumed if it is already there; a closed or empty stdin never blocks.
void waitKey();

// What a key wait shows on a terminal when the text before it does not ask
// for a key: nobody waits without being told.
inline constexpr const char* kKeyPrompt = "Presione una tecla para continuar";

// Whether the text asks for a key ("Presione una tecla", in either case).
bool asksForKey(std::string_view cp1252Text);

class Console {
 public:
  virtual ~Console() = default;
  virtual void write(std::string_view cp1252Text) = 0;
  virtual void waitKey() = 0;
};

// The real console: consoleWrite() and waitKey(). A key wait on a terminal
// shows kKeyPrompt first, on a line of its own, unless the text written since
// the last wait asked for the key on the terminal itself; when stdout is not
// the terminal the prompt goes to stderr.
class TerminalConsole : public Console {
 public:
  void write(std::string_view cp1252Text) override;
  void waitKey() override;

 private:
  bool asked_ = false;     // the text since the last wait asks for a key
  bool lineOpen_ = false;  // the last text written did not end its line
};

// Keeps what was written and counts key waits (for tests and benchmarks).
class RecordingConsole : public Console {
 public:
  void write(std::string_view cp1252Text) override { text.append(cp1252Text); }
  void waitKey() override { ++keyWaits; }
  std::string text;
  int keyWaits = 0;
};

}  // namespace common
