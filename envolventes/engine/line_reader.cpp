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

FileHandle openForReading(const std::string& path) {
  return openInputFile(path);
}

bool canOpenForReading(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && ::access(path.c_str(), R_OK) == 0;
}

namespace quick {
namespace {
// The blanks of scanf in the C locale.
bool isBlank(char c) { return c == ' ' || static_cast<unsigned char>(c - '\t') < 5; }  // \t \n \v \f \r

// The next field, up to a blank or the end; empty at the end of the line.
std::string_view nextField(Fields& line) {
  while (line.next < line.end && isBlank(*line.next)) ++line.next;
  const char* start = line.next;
  while (line.next < line.end && !isBlank(*line.next)) ++line.next;
  return std::string_view(start, static_cast<size_t>(line.next - start));
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

void skipBlanks(Fields& line) {
  while (line.next < line.end && isBlank(*line.next)) ++line.next;
}

bool endsField(const Fields& line, const char* p) { return p == line.end || isBlank(*p); }

// The field as the whole check below takes it, for what the plain forms miss.
bool takeChecked(Fields& line, float& value) {
  std::string_view field = nextField(line);
  // calcest writes a sign '+' before some values; scanf reads "+x" as x, which
  // from_chars does not take.
  if (field.size() > 1 && field[0] == '+' && (isDigit(field[1]) || field[1] == '.')) field.remove_prefix(1);
  if (field.empty() || !(isDigit(field[0]) || field[0] == '-' || field[0] == '.')) return false;
  for (char c : field)
    if (!(isDigit(c) || c == '.' || c == '-' || c == '+' || c == 'e' || c == 'E')) return false;
  // Out of range (overflow or underflow) is left to scanf, as is anything
  // from_chars stops short of.
  return exactDecimal(field.data(), field.data() + field.size(), value);
}

// The usual field of the files, a plain decimal of at most seven digits with
// its sign, read in the pass that finds its end: a whole number below 2^24
// divided by an exact power of ten, the value plainDecimal gives. Null for
// anything else.
const char* shortPlain(const char* p, const char* end, float& value) {
  static constexpr float kPowers[8] = {1e0f, 1e1f, 1e2f, 1e3f, 1e4f, 1e5f, 1e6f, 1e7f};
  bool negative = false;
  if (p < end && (*p == '-' || *p == '+')) negative = *p++ == '-';
  uint32_t digits = 0;
  int count = 0, decimals = 0;
  for (; p < end && isDigit(*p); ++p, ++count) digits = digits * 10 + static_cast<uint32_t>(*p - '0');
  if (p < end && *p == '.')
    for (++p; p < end && isDigit(*p); ++p, ++decimals) digits = digits * 10 + static_cast<uint32_t>(*p - '0');
  count += decimals;
  if (count == 0 || count > 7) return nullptr;
  const float magnitude = static_cast<float>(digits) / kPowers[decimals];
  value = negative ? -magnitude : magnitude;
  return p;
}
}  // namespace

// At most nine digits after an optional '-', up to a blank or the end.
bool take(Fields& line, int& value) {
  skipBlanks(line);
  const char* p = line.next;
  const bool negative = p < line.end && *p == '-';
  if (negative) ++p;
  const char* digits = p;
  // Ten digits are looked at to tell a tenth apart: 64 bits hold them.
  int64_t magnitude = 0;
  for (; p < line.end && p - digits < 10 && isDigit(*p); ++p) magnitude = magnitude * 10 + (*p - '0');
  if (p == digits || p - digits > 9 || !endsField(line, p)) return false;
  value = static_cast<int>(negative ? -magnitude : magnitude);
  line.next = p;
  return true;
}

// A plain decimal, with the sign '+' scanf takes, is read in the pass that
// finds its end; anything else is checked whole.
bool take(Fields& line, float& value) {
  skipBlanks(line);
  const char* p = line.next;
  if (p + 1 < line.end && *p == '+' && !(isDigit(p[1]) || p[1] == '.')) return takeChecked(line, value);
  float read = 0;
  const char* stop = shortPlain(p, line.end, read);
  if (!stop) {
    if (p < line.end && *p == '+') ++p;
    stop = plainDecimalPrefix(p, line.end, read);
  }
  if (!stop || !endsField(line, stop)) return takeChecked(line, value);
  value = read;
  line.next = stop;
  return true;
}

bool take(Fields& line, std::string_view& word) {
  word = nextField(line);
  return !word.empty();
}

bool wideLines() {
#if ENVELOPE_WIDE_LINES
  return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("bmi") && __builtin_cpu_supports("bmi2");
#else
  return false;
#endif
}
}  // namespace quick

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
