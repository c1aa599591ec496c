#include "record_set_support.h"

#include <cstring>

namespace kovra::test {

using namespace kovra::store;

bool create_test_set(const std::string& path) {
  create_set_request r;
  r.path = path;
  r.header_template = header_template();
  r.file_type = FILE_TYPE_ESTIMATE;
  r.version = CONTAINER_VERSION;
  r.class_count = 3;
  r.user_header_size = test_user_header_size;
  r.writer = [](int handle, int32_t position) {
    uint8_t user[test_user_header_size];
    std::memset(user, 'u', sizeof user);
    return write_at(handle, position, user, sizeof user);
  };
  return create_record_set(r);
}

open_set_request test_open_request(const std::string& path, test_classes& classes, int storage, int open_mode) {
  open_set_request r;
  r.path = path;
  r.storage = storage;
  r.open_mode = open_mode;
  r.file_type = FILE_TYPE_ESTIMATE;
  r.version = CONTAINER_VERSION;
  r.checks = CHECK_FILE_TYPE | CHECK_VERSION;
  r.classes = classes.c;
  r.class_count = 3;
  r.checksum_wanted = true;
  return r;
}

std::vector<uint8_t> pattern(size_t length, uint8_t seed) {
  std::vector<uint8_t> v(length);
  for (size_t i = 0; i < length; ++i) v[i] = uint8_t(seed + i * 31 + i / 256);
  return v;
}

} // namespace kovra::test
