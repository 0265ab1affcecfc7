#include "common/page_viewer.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <thread>

#include "common/child_process.h"
#include "common/fellow_program.h"

namespace common {

std::vector<std::string> webrixCommandLine(const std::string& page) { return {page, page, "0"}; }

PageViewer pageViewerFor(const std::string& page) {
  const std::filesystem::path path(page);
  const std::string folder = path.has_parent_path() ? path.parent_path().string() : ".";
  if (const std::string webrix = fellowProgram("Webrix"); !webrix.empty()) {
    // Run beside the page, which it is given by name.
    std::vector<std::string> argv = webrixCommandLine(path.filename().string());
    argv.insert(argv.begin(), webrix);
    return {"Webrix", argv, folder};
  }
  if (const std::string browser = programOnPath("xdg-open"); !browser.empty()) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    return {"xdg-open", {browser, error ? page : absolute.string()}, folder};
  }
  return {};
}

std::string showPage(const std::string& page, std::string* viewer) {
  const PageViewer shown = pageViewerFor(page);
  if (viewer) *viewer = shown.name;
  if (shown.name.empty()) return "no se encuentra Webrix (" + fellowNotFoundText() + ") ni xdg-open en el PATH";
  ChildProgram child;
  child.argv = shown.argv;
  child.folder = shown.folder;
  const pid_t pid = startChild(child);
  if (pid < 0) return "no se pudo ejecutar " + shown.argv[0] + ": " + std::strerror(errno);
  // The browser lives on its own; its end is collected aside so that it
  // leaves nothing behind.
  std::thread([pid] { waitForChild(pid); }).detach();
  return "";
}

std::string installedGuide() {
  std::error_code error;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return "";
  const std::filesystem::path guide = self.parent_path().parent_path() / "share" / "vigas" / "guide.html";
  return std::filesystem::is_regular_file(guide, error) ? guide.string() : "";
}

}  // namespace common
