#include "store/temp_folder_support.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace kovra::test {

temp_folder::temp_folder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "kovra-store-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

temp_folder::~temp_folder() {
  std::error_code ec;
  std::filesystem::permissions(path_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ec);
  std::filesystem::remove_all(path_, ec);
}

std::string temp_folder::write(const std::string& name, const std::string& content) const {
  const std::filesystem::path p = path_ / name;
  std::ofstream out(p, std::ios::binary);
  out << content;
  return p.string();
}

std::string temp_folder::read(const std::string& name) const {
  std::ifstream in(path_ / name, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

} // namespace kovra::test
