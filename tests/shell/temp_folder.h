#pragma once
// A fresh folder under the system's temporary folder, removed with everything in it.
#include <cstdlib>
#include <filesystem>
#include <string>

namespace kovra::test {

class temp_folder {
public:
  temp_folder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kovra_shell_XXXXXX").string();
    path_ = ::mkdtemp(pattern.data()) ? pattern + "/" : std::string();
  }
  ~temp_folder() {
    std::error_code ec;
    if (!path_.empty()) std::filesystem::remove_all(path_, ec);
  }
  // Absolute, ends in "/".
  const std::string& path() const { return path_; }

private:
  std::string path_;
};

} // namespace kovra::test
