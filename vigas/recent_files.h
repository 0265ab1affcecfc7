#pragma once
// The list of recently opened beams for the File menu: newest first, no
// path twice, at most a few. The window keeps it between sessions as text
// (one path a line) wherever it keeps its settings.
#include <string>
#include <vector>

namespace vigas {

class RecentFiles {
 public:
  explicit RecentFiles(size_t capacity = 8) : capacity_(capacity) {}

  // Puts the path first (moving it up when listed), dropping the oldest past capacity.
  void add(const std::string& path);
  // Takes a path off (a file that could not be opened).
  void remove(const std::string& path);
  const std::vector<std::string>& paths() const { return paths_; }

  std::string text() const;
  // Lines of `text`, newest first, as text() gives them; blank lines skipped.
  static RecentFiles fromText(const std::string& text, size_t capacity = 8);

 private:
  size_t capacity_;
  std::vector<std::string> paths_;
};

}  // namespace vigas
