#include "envolventes/engine/line_reader.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <functional>

#include "common/decimal_text.h"
#include "common/whole_file.h"

#include "envolventes/engine/message_sink.h"

namespace envelope {

using namespace common;

FileHandle openForReading(const std::string& path) { return openInputFile(path); }

bool canOpenForReading(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && ::access(path.c_str(), R_OK) == 0;
}

TextLines::TextLines(FILE* file, std::string& buffer) : file_(file), buffer_(buffer) {
  // Room for the whole of a file of moderate size, so that one read takes it;
  // a larger one is read a piece at a time as its lines are taken.
  struct stat info {};
  size_t room = kLeastRoom;
  if (fstat(fileno(file), &info) == 0 && info.st_size > 0)
    room = std::clamp(static_cast<size_t>(info.st_size) + 1, kLeastRoom, kMostFirstRoom);
  if (buffer_.size() < room + kLookAhead) buffer_.resize(room + kLookAhead);
  at_ = end_ = nul_ = buffer_.data();
}

const char* TextLines::firstNul() const {
  const void* nul = std::memchr(at_, '\0', static_cast<size_t>(end_ - at_));
  return nul ? static_cast<const char*>(nul) : end_;
}

bool TextLines::refill(std::string_view& line) {
  if (ended_) return false;
  // The caller's line is kept as it is when the text it lies in moves.
  const std::less<const char*> before;
  if (!before(line.data(), buffer_.data()) && before(line.data(), buffer_.data() + buffer_.size())) {
    previous_.assign(line);
    line = previous_;
  }
  const size_t unread = static_cast<size_t>(end_ - at_);
  std::memmove(&buffer_[0], at_, unread);
  if (unread == room()) buffer_.resize(2 * room() + kLookAhead);
  const size_t got = std::fread(&buffer_[unread], 1, room() - unread, file_);
  at_ = buffer_.data();
  end_ = at_ + unread + got;
  nul_ = firstNul();
  ended_ = got == 0;
  return !ended_;
}

bool TextLines::ensure(size_t wanted, std::string_view& line) {
  for (;;) {
    const size_t unread = static_cast<size_t>(end_ - at_);
    if (std::memchr(at_, '\n', std::min(unread, wanted)) || unread >= wanted) return true;
    if (!refill(line)) return unread > 0;
  }
}

bool TextLines::next(std::string_view& line) {
  // Most lines end within the text read: one look for their end.
  const void* newline = std::memchr(at_, '\n', static_cast<size_t>(end_ - at_));
  if (!newline) {
    if (!ensure(SIZE_MAX, line)) return false;
    newline = std::memchr(at_, '\n', static_cast<size_t>(end_ - at_));
  }
  const char* stop = newline ? static_cast<const char*>(newline) + 1 : end_;
  if (nul_ >= stop) {
    line = std::string_view(at_, static_cast<size_t>(stop - at_));
    at_ = stop;
    return true;
  }
  // LineReader keeps of each piece of fgets (511 bytes at most, or up to a
  // line end) what comes before a NUL byte, and ends the line at a piece that
  // ends with the line end or is empty there.
  auto piece = [this, &line] {
    ensure(511, line);
    const char* limit = at_ + std::min<size_t>(511, static_cast<size_t>(end_ - at_));
    const void* found = std::memchr(at_, '\n', static_cast<size_t>(limit - at_));
    const char* pieceEnd = found ? static_cast<const char*>(found) + 1 : limit;
    const void* nul = std::memchr(at_, '\0', static_cast<size_t>(pieceEnd - at_));
    pieces_.append(at_, static_cast<size_t>((nul ? static_cast<const char*>(nul) : pieceEnd) - at_));
    at_ = pieceEnd;
  };
  pieces_.clear();
  piece();
  while (!pieces_.empty() && pieces_.back() != '\n' && ensure(1, line)) piece();
  line = pieces_;
  nul_ = firstNul();
  return true;
}

bool LineReader::next(std::string& line) {
  char buffer[512];
  if (!std::fgets(buffer, sizeof buffer, file_)) return false;
  line.assign(buffer);
  while (!line.empty() && line.back() != '\n' && std::fgets(buffer, sizeof buffer, file_)) line += buffer;
  return true;
}

std::string writeErrorText(const std::string& path) { return cannotWriteText(path); }

bool closeWritten(FileHandle file, const std::string& path, MessageSink& sink) {
  bool ok = std::fflush(file.get()) == 0 && !std::ferror(file.get());
  ok = std::fclose(file.release()) == 0 && ok;
  if (!ok) sink.showMessage(writeErrorText(path));
  return ok;
}

bool isBlank(std::string_view text) {
  for (char ch : text)
    if (ch != ' ' && ch != '\t' && ch != '\r' && ch != '\n') return false;
  return true;
}

}  // namespace envelope
