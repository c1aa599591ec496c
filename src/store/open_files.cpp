#include "store/open_files.h"

#include "store/share_lock.h"

#include <array>
#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace kovra::store {

namespace {

struct open_file_entry {
  std::string path;  // as registered; empty while the handle is free
  std::string key;   // resolved spelling used for lookups
  int mode = -1;
  uint8_t error = 0;
};

std::array<open_file_entry, max_open_files>& table() {
  static std::array<open_file_entry, max_open_files> entries;
  return entries;
}

bool valid_handle(int handle) { return handle >= 0 && handle < max_open_files; }

// One spelling per file: absolute, with "." and ".." folded and symbolic links of the
// existing part resolved.
std::string lookup_key(const std::string& path) {
  namespace fs = std::filesystem;
  std::error_code ec;
  fs::path resolved = fs::weakly_canonical(fs::path(path), ec);
  if (ec) {
    resolved = fs::absolute(fs::path(path), ec);
    if (ec) return path;
    resolved = resolved.lexically_normal();
  }
  return resolved.string();
}

} // namespace

bool register_file(int handle, const std::string& path, int open_mode, uint8_t open_error) {
  if (!valid_handle(handle) || path.empty()) return false;
  open_file_entry& e = table()[size_t(handle)];
  e.path = path;
  e.key = lookup_key(path);
  e.mode = open_mode;
  e.error = open_error;
  return true;
}

void release_file(int handle) {
  if (valid_handle(handle)) table()[size_t(handle)] = open_file_entry{};
}

const std::string& file_path(int handle) {
  static const std::string none;
  return valid_handle(handle) ? table()[size_t(handle)].path : none;
}

int file_open_mode(int handle) { return valid_handle(handle) ? table()[size_t(handle)].mode : -1; }

uint8_t file_open_error(int handle) { return valid_handle(handle) ? table()[size_t(handle)].error : 0; }

int find_open_file(const std::string& path) {
  if (path.empty()) return -1;
  const std::string key = lookup_key(path);
  for (int h = 0; h < max_open_files; ++h) {
    const open_file_entry& e = table()[size_t(h)];
    if (!e.path.empty() && e.key == key) return h;
  }
  return -1;
}

bool is_writable(const std::string& path) {
  if (path.empty()) return false;
  const int held = find_open_file(path);
  if (held >= 0) {
    const int mode = table()[size_t(held)].mode & 3;
    return mode == 0 || mode == 1;
  }
  struct stat st {};
  const bool existed = ::stat(path.c_str(), &st) == 0;
  if (existed && !S_ISREG(st.st_mode)) return false;
  const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC | (existed ? 0 : O_CREAT | O_EXCL), 0666);
  if (fd < 0) return false;
  const bool writable = !writing_denied(fd);
  ::close(fd);
  if (!existed) ::unlink(path.c_str());
  return writable;
}

void reset_open_files() { table().fill(open_file_entry{}); }

} // namespace kovra::store
