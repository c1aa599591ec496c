#pragma once
// A growable byte buffer of recorded page commands that also knows the height they take.
#include <cstdint>
#include <string_view>
#include <vector>

namespace kovra::report {

class VL_raport_buffer {
public:
  int32_t height = 0;

  const uint8_t* data() const { return bytes_.data(); }
  int32_t length() const { return static_cast<int32_t>(bytes_.size()); }
  int32_t capacity() const { return static_cast<int32_t>(bytes_.capacity()); }
  bool empty() const { return bytes_.empty(); }

  void append(const void* data, std::size_t size);
  void append(const VL_raport_buffer& other) { append(other.data(), other.bytes_.size()); }
  void put_i32(int32_t value);
  // Empties the buffer and its height; the allocation is kept for the next block.
  void clear();
  // Drops the allocation as well.
  void release();

private:
  std::vector<uint8_t> bytes_;
};

// Little-endian 32-bit signed numbers, the only number form of the page file.
inline void store_i32(uint8_t* out, int32_t value) {
  const auto v = static_cast<uint32_t>(value);
  out[0] = static_cast<uint8_t>(v);
  out[1] = static_cast<uint8_t>(v >> 8);
  out[2] = static_cast<uint8_t>(v >> 16);
  out[3] = static_cast<uint8_t>(v >> 24);
}
inline int32_t load_i32(const uint8_t* in) {
  return static_cast<int32_t>(static_cast<uint32_t>(in[0]) | (static_cast<uint32_t>(in[1]) << 8) |
                              (static_cast<uint32_t>(in[2]) << 16) | (static_cast<uint32_t>(in[3]) << 24));
}

} // namespace kovra::report
