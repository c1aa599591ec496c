#include "store/paths.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>
#include <unistd.h>
#include <vector>

#include "store/log.h"

namespace kovra::store {

namespace fs = std::filesystem;

namespace {

size_t file_part_start(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? 0 : slash + 1;
}

// Position of the extension's dot inside the file part, or npos.
size_t extension_dot(const std::string& path) {
  const size_t start = file_part_start(path);
  const size_t dot = path.rfind('.');
  return dot == std::string::npos || dot < start ? std::string::npos : dot;
}

std::string current_folder() {
  std::error_code ec;
  const fs::path cwd = fs::current_path(ec);
  return ec ? std::string("/") : add_backslash(cwd.string());
}

std::string executable_folder() {
  std::error_code ec;
  const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  return ec ? std::string() : folder_part(exe.string());
}

} // namespace

std::string from_stored_path(const std::string& stored) {
  std::string path = stored;
  std::replace(path.begin(), path.end(), '\\', '/');
  return path;
}

bool force_directories(const std::string& path) {
  if (path.empty()) return false;
  std::error_code ec;
  fs::create_directories(fs::path(path), ec);
  return fs::is_directory(fs::path(path), ec);
}

std::string make_absolute(const std::string& folder) {
  std::string full = add_backslash(folder);
  if (full.empty() || full[0] != '/') full = current_folder() + full;

  std::vector<std::string> steps;
  size_t pos = 0;
  while (pos < full.size()) {
    size_t end = full.find('/', pos);
    if (end == std::string::npos) end = full.size();
    const std::string step = full.substr(pos, end - pos);
    if (step == "..") {
      if (!steps.empty()) steps.pop_back();
    } else if (!step.empty() && step != ".") {
      steps.push_back(step);
    }
    pos = end + 1;
  }
  std::string result = "/";
  for (const std::string& step : steps) result += step + "/";
  return result;
}

std::string add_backslash(const std::string& path) {
  if (path.empty() || path.back() == '/') return path;
  return path + "/";
}

std::string folder_part(const std::string& path) { return path.substr(0, file_part_start(path)); }

std::string name_part(const std::string& path) {
  const size_t start = file_part_start(path);
  const size_t dot = extension_dot(path);
  return path.substr(start, (dot == std::string::npos ? path.size() : dot) - start);
}

std::string extension_part(const std::string& path) {
  const size_t dot = extension_dot(path);
  return dot == std::string::npos ? std::string() : path.substr(dot);
}

std::string join(const std::string& folder, const std::string& name, const std::string& extension) {
  std::string result = folder_part(folder);
  result += name.empty() ? name_part(folder) : name;
  if (extension.empty())
    result += extension_part(folder);
  else
    result += extension[0] == '.' ? extension : "." + extension;
  return result;
}

std::string with_subfolder(const std::string& path, const std::string& name) {
  return add_backslash(folder_part(path) + name);
}

void set_program_folder_from_command(const std::string& first_word) {
  std::string folder = folder_part(first_word);
  if (folder.empty()) folder = executable_folder();
  set_program_folder(make_absolute(folder));
}

std::string program_file(const std::string& name) { return program_folder() + name; }

std::string working_copy_name(const std::string& path) {
  const size_t dot = extension_dot(path);
  if (dot == std::string::npos) return path + ".~~~";
  std::string result = path.substr(0, dot + 1);
  for (size_t i = 1; i <= 2; ++i) result += dot + i < path.size() ? path[dot + i] : '~';
  return result + "~";
}

std::optional<std::string> numbered_name(const std::string& folder_and_extension, const std::string& prefix) {
  if (prefix.size() > 2) return std::nullopt;
  const int digits = 3 - int(prefix.size());
  const std::string folder = folder_part(folder_and_extension);
  const std::string extension = extension_part(folder_and_extension);

  long highest = -1;
  std::error_code ec;
  const fs::path dir = folder.empty() ? fs::path(".") : fs::path(folder);
  if (fs::exists(dir, ec)) {
    fs::directory_iterator it(dir, ec);
    if (ec) return std::nullopt;  // an unreadable folder could hide a name we would overwrite
    for (; it != fs::directory_iterator(); it.increment(ec)) {
      if (ec) return std::nullopt;
      const std::string name = it->path().filename().string();
      if (name.size() <= prefix.size() + extension.size()) continue;
      if (name.compare(0, prefix.size(), prefix) != 0) continue;
      if (name.compare(name.size() - extension.size(), extension.size(), extension) != 0) continue;
      const std::string number = name.substr(prefix.size(), name.size() - prefix.size() - extension.size());
      if (!std::all_of(number.begin(), number.end(), [](unsigned char c) { return std::isdigit(c) != 0; }))
        continue;
      // Anything longer than the widest number we write is out of range anyway.
      const long n = number.size() > 6 ? 1000000 : std::stol(number);
      highest = std::max(highest, n);
    }
  }

  long limit = 1;
  for (int i = 0; i < digits; ++i) limit *= 10;
  const long next = highest + 1;
  if (next >= limit) return std::nullopt;
  // prefix followed by the number zero-padded to `digits` places ("%s%0*d")
  std::string number = std::to_string(next);
  number.insert(0, size_t(digits) - number.size(), '0');
  return folder + prefix + number + extension;
}

} // namespace kovra::store
