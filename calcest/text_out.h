#pragma once
// A text output file written with printf formats. The formats are part of the
// file layouts, so every byte must be what printf would give.
#include <cstdio>
#include <string>

class TextOut {
 public:
  TextOut() = default;
  TextOut(const TextOut&) = delete;
  TextOut& operator=(const TextOut&) = delete;
  ~TextOut() { close(); }

  // Opens `name` with mode "w" (large buffer); throws RunError when it cannot.
  void open(const std::string& name);
  // Opens without throwing; false when the file cannot be created.
  bool tryOpen(const std::string& name);
  void close();
  bool isOpen() const { return file_ != nullptr; }

  template <class... Args>
  void print(const char* fmt, Args... args) {
    if (!file_) return;
    if constexpr (sizeof...(Args) == 0)
      std::fputs(fmt, file_);
    else
      std::fprintf(file_, fmt, args...);
  }

 private:
  FILE* file_ = nullptr;
  char* buffer_ = nullptr;
};
