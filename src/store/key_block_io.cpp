#include "store/key_block_io.h"

#include <cstring>

namespace kovra::store {

namespace {

// The container's block header as far as key blocks need it.
constexpr int block_header_bytes = 17;
constexpr uint8_t key_block_type = 101;
constexpr uint8_t free_block_type = 255;
constexpr int key_block_whole_size = key_block_size + block_header_bytes;

uint16_t get_u16(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }
void put_u16(uint8_t* p, uint16_t v) {
  p[0] = uint8_t(v);
  p[1] = uint8_t(v >> 8);
}
void put_i32(uint8_t* p, int32_t v) {
  uint32_t u = uint32_t(v);
  for (int i = 0; i < 4; ++i) p[i] = uint8_t(u >> (8 * i));
}

} // namespace

memory_key_block_io::memory_key_block_io() : image_(index_header_size, 0) {}

memory_key_block_io::memory_key_block_io(std::vector<uint8_t> image) : image_(std::move(image)) {}

bool memory_key_block_io::key_block_at(int32_t position) const {
  if (position < block_header_bytes) return false;
  const size_t start = size_t(position) - block_header_bytes;
  if (start + key_block_whole_size > image_.size()) return false;
  const uint8_t* h = image_.data() + start;
  return h[0] == key_block_type && get_u16(h + 3) == key_block_whole_size && get_u16(h + 5) == key_block_size;
}

bool memory_key_block_io::read_key_block(int32_t position, uint8_t out[key_block_size]) {
  ++reads_;
  if (!key_block_at(position)) return false;
  std::memcpy(out, image_.data() + position, key_block_size);
  return true;
}

bool memory_key_block_io::write_key_block(int32_t position, const uint8_t data[key_block_size]) {
  ++writes_;
  if (writes_fail_ || !key_block_at(position)) return false;
  std::memcpy(image_.data() + position, data, key_block_size);
  return true;
}

int32_t memory_key_block_io::allocate_key_block(int set_no) {
  if (allocation_limit_ == 0) return -1;
  if (image_.size() + key_block_whole_size > max_image_size_) return -1;
  if (image_.size() + key_block_whole_size > size_t(INT32_MAX)) return -1;
  if (allocation_limit_ > 0) --allocation_limit_;
  ++allocations_;
  const size_t start = image_.size();
  image_.resize(start + key_block_whole_size, 0);
  uint8_t* h = image_.data() + start;
  h[0] = key_block_type;
  put_u16(h + 1, uint16_t(set_no));
  put_u16(h + 3, key_block_whole_size);
  put_u16(h + 5, key_block_size);
  put_u16(h + 7, key_block_size);
  put_i32(h + 9, -1);
  put_i32(h + 13, -1);
  return int32_t(start + block_header_bytes);
}

void memory_key_block_io::free_key_block(int32_t position) {
  if (!key_block_at(position)) return;
  ++freed_;
  uint8_t* h = image_.data() + position - block_header_bytes;
  h[0] = free_block_type;
  put_u16(h + 1, 0);
}

bool memory_key_block_io::read_index_header(int32_t position, uint8_t out[index_header_size]) {
  if (position < 0 || size_t(position) + index_header_size > image_.size()) return false;
  std::memcpy(out, image_.data() + position, index_header_size);
  return true;
}

bool memory_key_block_io::write_index_header(int32_t position, const uint8_t data[index_header_size]) {
  ++writes_;
  if (writes_fail_ || position < 0 || size_t(position) + index_header_size > image_.size()) return false;
  std::memcpy(image_.data() + position, data, index_header_size);
  return true;
}

void memory_key_block_io::report_corruption(int32_t position, const std::string& what) {
  reports_.push_back(std::to_string(position) + ": " + what);
}

} // namespace kovra::store
