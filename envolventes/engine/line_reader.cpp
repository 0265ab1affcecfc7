#include "envolventes/engine/line_reader.h"

#include <sys/stat.h>
#include <unistd.h>

#include <charconv>

#include "common/decimal_text.h"

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
bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

// The next field, up to a blank or the end; empty at the end of the line.
std::string_view nextField(Fields& line) {
  while (line.next < line.end && isBlank(*line.next)) ++line.next;
  const char* start = line.next;
  while (line.next < line.end && !isBlank(*line.next)) ++line.next;
  return std::string_view(start, static_cast<size_t>(line.next - start));
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }
}  // namespace

bool take(Fields& line, int& value) {
  const std::string_view field = nextField(line);
  const size_t digits = field.size() - (!field.empty() && field[0] == '-' ? 1 : 0);
  if (digits == 0 || digits > 9) return false;
  for (size_t k = field.size() - digits; k < field.size(); ++k)
    if (!isDigit(field[k])) return false;
  const char* end = field.data() + field.size();
  return std::from_chars(field.data(), end, value).ptr == end;
}

bool take(Fields& line, float& value) {
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

bool take(Fields& line, std::string_view& word) {
  word = nextField(line);
  return !word.empty();
}
}  // namespace quick

bool LineReader::next(std::string& line) {
  char buffer[512];
  if (!std::fgets(buffer, sizeof buffer, file_)) return false;
  line.assign(buffer);
  while (!line.empty() && line.back() != '\n' && std::fgets(buffer, sizeof buffer, file_)) line += buffer;
  return true;
}

std::string writeErrorText(const std::string& path) { return "ERROR: NO SE PUDO ESCRIBIR EL FICHERO " + path; }

bool closeWritten(FileHandle file, const std::string& path, MessageSink& sink) {
  bool ok = std::fflush(file.get()) == 0 && !std::ferror(file.get());
  ok = std::fclose(file.release()) == 0 && ok;
  if (!ok) sink.showMessage(writeErrorText(path));
  return ok;
}

bool isBlank(const std::string& text) {
  for (char ch : text)
    if (ch != ' ' && ch != '\t' && ch != '\r' && ch != '\n') return false;
  return true;
}

}  // namespace envelope
