#include "common/fellow_program.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>

namespace common {

namespace {
std::string executableIn(const std::string& folder, const std::string& name) {
  if (folder.empty()) return "";
  const std::string path = folder + "/" + name;
  std::error_code error;
  return std::filesystem::is_regular_file(path, error) && access(path.c_str(), X_OK) == 0 ? path : "";
}
}  // namespace

std::string fellowProgram(const std::string& name) {
  if (const char* chosen = std::getenv("VIGAS_BIN")) return executableIn(chosen, name);
  std::error_code error;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  if (!error) {
    const std::string beside = executableIn(self.parent_path().string(), name);
    if (!beside.empty()) return beside;
  }
  const char* path = std::getenv("PATH");
  std::string rest = path ? path : "";
  while (!rest.empty()) {
    const size_t colon = rest.find(':');
    const std::string found = executableIn(rest.substr(0, colon), name);
    if (!found.empty()) return found;
    rest = colon == std::string::npos ? "" : rest.substr(colon + 1);
  }
  return "";
}

}  // namespace common
