#pragma once
// A fresh temporary folder for one test, removed with everything in it afterwards.
#include <filesystem>
#include <string>

namespace kovra::test {

class temp_folder {
public:
  temp_folder();
  ~temp_folder();
  temp_folder(const temp_folder&) = delete;
  temp_folder& operator=(const temp_folder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // The folder as the store writes folders: absolute, ending in "/".
  std::string folder() const { return path_.string() + "/"; }
  // Writes `content` into a file inside the folder and returns its full path.
  std::string write(const std::string& name, const std::string& content = {}) const;
  std::string read(const std::string& name) const;

private:
  std::filesystem::path path_;
};

} // namespace kovra::test
