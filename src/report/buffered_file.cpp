#include "report/buffered_file.h"

#include "report/page_file.h"
#include "report/raport_buffer.h"

#include <algorithm>
#include <cstring>

namespace kovra::report {

VL_buffered_file::VL_buffered_file(const page_file& file) : file_(file), buffer_(BUFFER_SIZE) {}

void VL_buffered_file::seek(int64_t offset) {
  buffer_pos_ = offset;
  index_ = 0;
  valid_ = 0;
}

bool VL_buffered_file::read(void* out, std::size_t size) {
  if (size <= valid_ - index_) {
    std::memcpy(out, buffer_.data() + index_, size);
    index_ += size;
    return true;
  }
  const int64_t start = position();
  if (start < 0 || size > static_cast<std::size_t>(file_.size() - std::min<int64_t>(start, file_.size())))
    return false;
  if (size > BUFFER_SIZE) {
    // Longer than the buffer: straight from the file, the buffer starts after it.
    if (file_.read_at(start, out, size) != size) return false;
    seek(start + static_cast<int64_t>(size));
    return true;
  }
  buffer_pos_ = start;
  index_ = 0;
  valid_ = file_.read_at(start, buffer_.data(), BUFFER_SIZE);
  if (size > valid_) return false;
  std::memcpy(out, buffer_.data(), size);
  index_ = size;
  return true;
}

bool VL_buffered_file::read_i32(int32_t& value) {
  uint8_t b[4];
  if (!read(b, 4)) return false;
  value = load_i32(b);
  return true;
}

} // namespace kovra::report
