#pragma once
// An input or numerical error that ends a program run. It carries the exact
// console text (Windows-1252 bytes) and the exit status; only main() prints it.
#include <stdexcept>
#include <string>

#include "common/format.h"  // formatText, which the messages are built with

namespace common {

struct RunError : std::runtime_error {
  std::string text;  // printed as it stands (most messages have no line feed)
  int status = 1;    // process exit status
  bool waitForKey = false;

  explicit RunError(std::string message, bool keyWait = false, int exitStatus = 1)
      : std::runtime_error(message), text(std::move(message)), status(exitStatus), waitForKey(keyWait) {}
};

}  // namespace common
