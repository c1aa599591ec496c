#pragma once
// Sequential reader over a page file with a 32 KB buffer, used while pages are replayed.
#include <cstdint>
#include <vector>

namespace kovra::report {

class page_file;

class VL_buffered_file {
public:
  static constexpr std::size_t BUFFER_SIZE = 0x8000;

  explicit VL_buffered_file(const page_file& file);

  // Continues reading at the given file offset.
  void seek(int64_t offset);
  // Reads exactly size bytes; false (and nothing consumed) when the file ends first.
  bool read(void* out, std::size_t size);
  bool read_i32(int32_t& value);
  // File offset of the next byte to be read.
  int64_t position() const { return buffer_pos_ + static_cast<int64_t>(index_); }

private:
  const page_file& file_;
  std::vector<uint8_t> buffer_;
  int64_t buffer_pos_ = 0;  // file offset of buffer_[0]
  std::size_t index_ = 0;   // next byte in the buffer
  std::size_t valid_ = 0;   // bytes of the buffer that hold file data
};

} // namespace kovra::report
