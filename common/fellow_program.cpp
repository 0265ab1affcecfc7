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

// The folder VIGAS_BIN names; "" when it is unset or empty, as a shell
// setting VIGAS_BIN= leaves it.
std::string chosenFolder() {
  const char* chosen = std::getenv("VIGAS_BIN");
  return chosen ? chosen : "";
}

std::filesystem::path self() {
  std::error_code error;
  const std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::filesystem::path() : path;
}

std::string searchPath() {
  const char* path = std::getenv("PATH");
  return path ? path : "";
}
}  // namespace

std::string fellowProgram(const std::string& name) {
  if (const std::string chosen = chosenFolder(); !chosen.empty()) return executableIn(chosen, name);
  if (const std::filesystem::path program = self(); !program.empty()) {
    std::string beside = executableIn(program.parent_path().string(), name);
    if (!beside.empty()) return beside;
  }
  return programOnPath(name);
}

std::string programOnPath(const std::string& name) {
  std::string rest = searchPath();
  while (!rest.empty()) {
    const size_t colon = rest.find(':');
    std::string found = executableIn(rest.substr(0, colon), name);
    if (!found.empty()) return found;
    rest = colon == std::string::npos ? "" : rest.substr(colon + 1);
  }
  return "";
}

std::string fellowNotFoundText() {
  if (const std::string chosen = chosenFolder(); !chosen.empty()) return "no est\xE1 en VIGAS_BIN (" + chosen + ")";
  return "no est\xE1 junto a " + self().string() + " ni en el PATH (" + searchPath() + ")";
}

}  // namespace common
