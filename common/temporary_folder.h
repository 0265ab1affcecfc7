#pragma once
// A folder of one's own under the temporary folder (TMPDIR, else /tmp),
// removed with everything in it when the object goes.
#include <string>

namespace common {

class TemporaryFolder {
 public:
  // `prefix`: the start of its name ("vigas-trazas"). path() is "" when no
  // folder could be made.
  explicit TemporaryFolder(const std::string& prefix);
  ~TemporaryFolder();
  TemporaryFolder(const TemporaryFolder&) = delete;
  TemporaryFolder& operator=(const TemporaryFolder&) = delete;
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

}  // namespace common
