#include "report/raport_buffer.h"

#include <algorithm>
#include <cstring>

namespace kovra::report {

void VL_raport_buffer::append(const void* data, std::size_t size) {
  if (size == 0) return;
  const std::size_t needed = bytes_.size() + size;
  if (needed > bytes_.capacity()) {
    // Grow by at least 500 bytes so that many small commands do not reallocate each time.
    bytes_.reserve(std::max(bytes_.capacity() + 500, needed));
  }
  const auto* p = static_cast<const uint8_t*>(data);
  bytes_.insert(bytes_.end(), p, p + size);
}

void VL_raport_buffer::put_i32(int32_t value) {
  uint8_t b[4];
  store_i32(b, value);
  append(b, 4);
}

void VL_raport_buffer::clear() {
  bytes_.clear();
  height = 0;
}

void VL_raport_buffer::release() {
  std::vector<uint8_t>().swap(bytes_);
  height = 0;
}

} // namespace kovra::report
