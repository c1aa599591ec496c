#include "shell/section_file.h"

#include "store/container.h"
#include "store/file_header.h"

#include <sys/stat.h>

namespace kovra::shell {
namespace {

constexpr const char* config_description = "Konfiguracja programu";

// One container handle, used directly on disk, closed with the object.
class container_section_file : public section_file {
public:
  explicit container_section_file(int handle) : handle_(handle) {}
  ~container_section_file() override { store::close_container(handle_); }

  std::optional<std::vector<uint8_t>> read_body() override {
    int64_t length = store::file_length(handle_);
    if (length < store::file_header_size) return std::nullopt;
    auto n = uint64_t(length - store::file_header_size);
    if (n > section_body_limit) return std::nullopt;
    std::vector<uint8_t> body(n);
    if (n && store::read_at(handle_, store::file_header_size, body.data(), int64_t(n)) != int64_t(n))
      return std::nullopt;
    return body;
  }

  bool write_body(std::span<const uint8_t> body) override {
    if (!store::set_length(handle_, store::file_header_size)) return false;
    if (!body.empty() && !store::write_at(handle_, store::file_header_size, body.data(), int64_t(body.size())))
      return false;
    return store::sync_container(handle_);
  }

private:
  int handle_;
};

bool exists(const std::string& path) {
  struct stat st;
  return ::lstat(path.c_str(), &st) == 0;
}

} // namespace

std::unique_ptr<section_file> open_section_file(const std::string& path, section_access access,
                                                section_open_status& status) {
  // The configuration's open counter is not kept: a file held for one operation at a time
  // has nothing to record.
  int mode = access == section_access::write_exclusive ? (store::OPEN_EXCLUSIVE | store::OPEN_KEEP_COUNT)
                                                       : store::OPEN_READ_SHARED;
  int handle = store::open_container(path, store::STORAGE_DIRECT, mode, store::FILE_TYPE_CONFIG,
                                     store::CONTAINER_VERSION, store::CHECK_FILE_TYPE | store::CHECK_VERSION, nullptr);
  if (handle >= 0) {
    status = section_open_status::ok;
    return std::make_unique<container_section_file>(handle);
  }
  switch (store::last_open_error()) {
  case store::OPEN_BAD_MAGIC:
  case store::OPEN_WRONG_TYPE: status = section_open_status::foreign; break;
  case store::OPEN_WRONG_VERSION:
  case store::OPEN_WRONG_VERSION_IN_USE: status = section_open_status::wrong_version; break;
  default: status = exists(path) ? section_open_status::cannot_open : section_open_status::missing; break;
  }
  return nullptr;
}

std::unique_ptr<section_file> create_section_file(const std::string& path, section_open_status& status) {
  store::file_header h = store::header_template();
  store::set_header_description(h, config_description);
  int handle = store::create_container(path, store::STORAGE_DIRECT, h, store::FILE_TYPE_CONFIG,
                                       store::CONTAINER_VERSION);
  if (handle < 0) {
    status = section_open_status::create_failed;
    return nullptr;
  }
  status = section_open_status::ok;
  return std::make_unique<container_section_file>(handle);
}

} // namespace kovra::shell
