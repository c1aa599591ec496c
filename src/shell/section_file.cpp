#include "shell/section_file.h"

#include "store/file_header.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kovra::shell {
namespace {

constexpr const char* config_description = "Konfiguracja programu";

bool write_all(int fd, const uint8_t* p, std::size_t n, off_t at) {
  while (n > 0) {
    ssize_t w = ::pwrite(fd, p, n, at);
    if (w < 0 && errno == EINTR) continue;
    if (w <= 0) return false;
    p += w;
    n -= std::size_t(w);
    at += w;
  }
  return true;
}

bool read_all(int fd, uint8_t* p, std::size_t n, off_t at) {
  while (n > 0) {
    ssize_t r = ::pread(fd, p, n, at);
    if (r < 0 && errno == EINTR) continue;
    if (r <= 0) return false;
    p += r;
    n -= std::size_t(r);
    at += r;
  }
  return true;
}

class plain_section_file : public section_file {
public:
  explicit plain_section_file(int fd) : fd_(fd) {}
  ~plain_section_file() override {
    ::flock(fd_, LOCK_UN);
    ::close(fd_);
  }

  std::optional<std::vector<uint8_t>> read_body() override {
    struct stat st;
    if (::fstat(fd_, &st) != 0 || st.st_size < store::file_header_size) return std::nullopt;
    std::size_t n = std::size_t(st.st_size) - store::file_header_size;
    if (n > section_body_limit) return std::nullopt;
    std::vector<uint8_t> body(n);
    if (!read_all(fd_, body.data(), n, store::file_header_size)) return std::nullopt;
    return body;
  }

  bool write_body(std::span<const uint8_t> body) override {
    if (::ftruncate(fd_, store::file_header_size) != 0) return false;
    if (!write_all(fd_, body.data(), body.size(), store::file_header_size)) return false;
    return ::fsync(fd_) == 0;
  }

private:
  int fd_;
};

// The share modes: shared readers, one exclusive writer. A lock held by another opener
// makes the open fail at once instead of waiting.
bool take_lock(int fd, section_access access) {
  int op = (access == section_access::write_exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB;
  while (::flock(fd, op) != 0) {
    if (errno != EINTR) return false;
  }
  return true;
}

} // namespace

std::unique_ptr<section_file> open_section_file(const std::string& path, section_access access,
                                                section_open_status& status) {
  int flags = (access == section_access::write_exclusive ? O_RDWR : O_RDONLY) | O_CLOEXEC;
  int fd = ::open(path.c_str(), flags);
  if (fd < 0) {
    status = errno == ENOENT ? section_open_status::missing : section_open_status::cannot_open;
    return nullptr;
  }
  struct stat st;
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || !take_lock(fd, access)) {
    ::close(fd);
    status = section_open_status::cannot_open;
    return nullptr;
  }
  auto file = std::make_unique<plain_section_file>(fd);
  uint8_t raw[store::file_header_size];
  if (!read_all(fd, raw, sizeof raw, 0)) {
    status = section_open_status::foreign;
    return nullptr;
  }
  store::file_header h = store::decode_file_header(raw);
  if (!h.magic_ok() || h.file_type != store::FILE_TYPE_CONFIG) {
    status = section_open_status::foreign;
    return nullptr;
  }
  if (h.version != store::CONTAINER_VERSION) {
    status = section_open_status::wrong_version;
    return nullptr;
  }
  status = section_open_status::ok;
  return file;
}

std::unique_ptr<section_file> create_section_file(const std::string& path, section_open_status& status) {
  status = section_open_status::create_failed;
  int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) return nullptr;
  if (!take_lock(fd, section_access::write_exclusive) || ::ftruncate(fd, 0) != 0) {
    ::close(fd);
    return nullptr;
  }
  auto file = std::make_unique<plain_section_file>(fd);
  store::file_header h = store::header_template();
  h.file_type = store::FILE_TYPE_CONFIG;
  h.version = store::CONTAINER_VERSION;
  h.open_count = 0;
  store::set_header_description(h, config_description);
  uint8_t raw[store::file_header_size];
  store::encode_file_header(h, raw);
  if (!write_all(fd, raw, sizeof raw, 0)) return nullptr;
  status = section_open_status::ok;
  return file;
}

} // namespace kovra::shell
