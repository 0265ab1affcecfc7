#include "line_reader.h"

#include <sys/stat.h>

#include <cmath>
#include <vector>

namespace envelope {

FilePtr openForReading(const std::string& path) {
  FilePtr file(std::fopen(path.c_str(), "r"));
  struct stat info;
  if (file && (fstat(fileno(file.get()), &info) != 0 || S_ISDIR(info.st_mode))) file.reset();
  return file;
}

bool LineReader::next(std::string& line, int limit) {
  std::vector<char> buffer(static_cast<size_t>(limit) + 1);
  if (!std::fgets(buffer.data(), limit + 1, file_)) return false;
  line.assign(buffer.data());
  return true;
}

bool isBlank(const std::string& text) {
  for (char ch : text)
    if (ch != ' ' && ch != '\t' && ch != '\r' && ch != '\n') return false;
  return true;
}

// Truncations are done in double so that no value can overflow an integer.
bool IsZero(float v) { return std::trunc(static_cast<double>(v * 100000.0f)) == 0.0; }

bool NearlyEqual(float a, float b) {
  double tb = std::trunc(static_cast<double>(b * -100000.0f));
  double ta = std::trunc(static_cast<double>(a * -100000.0f));
  return std::fabs(tb - ta) < 2.0;
}

}  // namespace envelope
