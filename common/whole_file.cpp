#include "common/whole_file.h"

#include <sys/stat.h>

#include <cstdio>

#include "common/file_handle.h"
#include "common/run_error.h"
#include "common/safe_output.h"

namespace common {

std::string cannotReadText(const std::string& path) { return "ERROR: NO SE PUEDE LEER EL FICHERO " + path + "\n"; }
std::string cannotCreateText(const std::string& path) { return "ERROR: NO SE PUEDE CREAR EL FICHERO " + path; }
std::string cannotWriteText(const std::string& path) { return "ERROR: NO SE PUDO ESCRIBIR EL FICHERO " + path; }

std::string readWholeFile(const std::string& path) {
  FileHandle in = openInputFile(path, "rb");
  if (!in) throw RunError(cannotReadText(path));
  std::string content;
  // Read straight into a string sized from the file's length; whatever else
  // the file holds by then (it may have grown) is appended after it.
  struct stat info {};
  if (fstat(fileno(in.get()), &info) == 0 && info.st_size > 0) {
    content.resize(static_cast<size_t>(info.st_size));
    content.resize(std::fread(&content[0], 1, content.size(), in.get()));
  }
  char buffer[65536];
  size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, in.get())) > 0) content.append(buffer, got);
  if (std::ferror(in.get())) throw RunError(cannotReadText(path));
  return content;
}

void writeWholeFile(const std::string& path, const std::string& content, const std::string& shownName) {
  const std::string& name = shownName.empty() ? path : shownName;
  FileHandle out(std::fopen(path.c_str(), "wb"));
  if (!out) throw RunError(cannotCreateText(name) + "\n");
  const bool written = std::fwrite(content.data(), 1, content.size(), out.get()) == content.size();
  if (std::fclose(out.release()) != 0 || !written) throw RunError(cannotWriteText(name) + "\n");
}

void writeAside(PendingFiles& files, const std::string& path, const std::string& content) {
  FILE* out = files.open(path);
  if (!out) throw RunError(cannotCreateText(path) + "\n");
  // The bytes must find room now: the commit only names the file.
  if (std::fwrite(content.data(), 1, content.size(), out) != content.size() || std::fflush(out) != 0)
    throw RunError(cannotWriteText(path) + "\n");
}

}  // namespace common
