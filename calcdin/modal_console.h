#pragma once
// The console dialogue of the modal engine behind a small interface, so the
// phases can be run and checked without a terminal.
#include <string>
#include <string_view>

namespace calcdin {

class Console {
 public:
  virtual ~Console() = default;
  virtual void write(std::string_view cp1252Text) = 0;
  virtual void waitKey() = 0;
};

// The real console: Windows-1252 text to stdout, key waits that never block
// without a terminal.
class TerminalConsole : public Console {
 public:
  void write(std::string_view cp1252Text) override;
  void waitKey() override;
};

// Keeps what was written and counts key waits (for tests and benchmarks).
class RecordingConsole : public Console {
 public:
  void write(std::string_view cp1252Text) override { text.append(cp1252Text); }
  void waitKey() override { ++keyWaits; }
  std::string text;
  int keyWaits = 0;
};

}  // namespace calcdin
