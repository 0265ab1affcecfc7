#pragma once
// Where the engine's messages go: the viewer shows each one in a message box
// with an OK button, the batch front end prints them, tests record them.
// Texts are Windows-1252 bytes.
#include <string>
#include <vector>

namespace envelope {

class MessageSink {
 public:
  virtual ~MessageSink() = default;
  virtual void showMessage(const std::string& cp1252Text) = 0;
};

// Keeps every message in order (tests, and callers that report later).
class RecordingMessageSink : public MessageSink {
 public:
  void showMessage(const std::string& cp1252Text) override { messages.push_back(cp1252Text); }
  std::vector<std::string> messages;
};

}  // namespace envelope
