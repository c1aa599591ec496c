#include "store/set_checksum.h"

#include "store/byte_order.h"
#include "store/container.h"
#include "store/file_header.h"

#include <vector>

namespace kovra::store {

bool compute_checksum(int handle, int32_t field_position, uint32_t& value) {
  const int64_t length = file_length(handle);
  if (length < 0) return false;
  uint32_t sum = 1;
  if (const uint8_t* image = container_image(handle)) {
    for (int64_t i = file_header_size; i < length; ++i) sum += image[i];
  } else {
    std::vector<uint8_t> buffer(65536);
    for (int64_t at = file_header_size; at < length;) {
      const int64_t n = read_at(handle, at, buffer.data(), std::min<int64_t>(int64_t(buffer.size()), length - at));
      if (n <= 0) return false;
      for (int64_t i = 0; i < n; ++i) sum += buffer[size_t(i)];
      at += n;
    }
  }
  // The field itself counts as zeros.
  uint8_t field[4] = {};
  const int64_t got = read_at(handle, field_position, field, 4);
  for (int64_t i = 0; i < got; ++i) sum -= field[i];
  value = sum;
  return true;
}

bool store_checksum(int handle, int32_t field_position, int32_t* stored) {
  const bool was_modified = container_modified(handle);
  uint32_t value = 0;
  if (!compute_checksum(handle, field_position, value)) return false;
  uint8_t field[4];
  put_u32(field, value);
  if (!write_at(handle, field_position, field, 4)) return false;
  if (!was_modified) set_container_modified(handle, false);
  if (stored) *stored = int32_t(value);
  return true;
}

int verify_checksum(int handle, int32_t field_position) {
  uint8_t field[4] = {};
  if (read_at(handle, field_position, field, 4) != 4) return 4;
  uint32_t value = 0;
  if (!compute_checksum(handle, field_position, value)) return 4;
  const uint32_t stored = get_u32(field);
  if (stored == value) return 0;
  if (stored - value == 1 || value - stored == 1) return 3;
  return 4;
}

} // namespace kovra::store
