#pragma once
// Console layer shared by the calculation programs: exact message output and a
// key wait that never blocks when standard input is not a terminal. Phases that
// are run and checked without a terminal talk through a Console.
#include <string>
#include <string_view>

#include "common/run_error.h"

namespace common {

// Writes Windows-1252 text to stdout. On a UTF-8 terminal the text is converted so
// accents show; to a pipe or file the bytes go out unchanged.
void consoleWrite(std::string_view cp1252Text);

// Waits for one key. On a terminal: one raw key press without echo. Otherwise one
// byte is consumed if it is already there; a closed or empty stdin never blocks.
void waitKey();

class Console {
 public:
  virtual ~Console() = default;
  virtual void write(std::string_view cp1252Text) = 0;
  virtual void waitKey() = 0;
};

// The real console: consoleWrite() and waitKey().
class TerminalConsole : public Console {
 public:
  void write(std::string_view cp1252Text) override { consoleWrite(cp1252Text); }
  void waitKey() override { common::waitKey(); }
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
