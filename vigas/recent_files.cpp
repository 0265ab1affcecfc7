#include "vigas/recent_files.h"

#include <algorithm>

namespace vigas {

void RecentFiles::add(const std::string& path) {
  if (path.empty() || capacity_ == 0) return;
  remove(path);
  paths_.insert(paths_.begin(), path);
  if (paths_.size() > capacity_) paths_.resize(capacity_);
}

void RecentFiles::remove(const std::string& path) {
  paths_.erase(std::remove(paths_.begin(), paths_.end(), path), paths_.end());
}

std::string RecentFiles::text() const {
  std::string text;
  for (const std::string& path : paths_) text += path + "\n";
  return text;
}

RecentFiles RecentFiles::fromText(const std::string& text, size_t capacity) {
  RecentFiles recent(capacity);
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(start, end - start);
    if (!line.empty()) lines.push_back(line);
    start = end + 1;
  }
  // Oldest first, so that the newest ends on top.
  for (auto line = lines.rbegin(); line != lines.rend(); ++line) recent.add(*line);
  return recent;
}

}  // namespace vigas
