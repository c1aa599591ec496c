#pragma once
// Storage seen by the key index: 512-byte key blocks and the 68-byte index header,
// addressed by container positions. The container implements it over its file; the
// in-memory version below serves tests, fuzzers and benchmarks.
//
// Key-block positions point at the block's data, that is 17 bytes after its block
// header. A key block is a block of type 101 whose data is exactly 512 bytes.
#include <cstdint>
#include <string>
#include <vector>

namespace kovra::store {

inline constexpr int key_block_size = 512;
inline constexpr int index_header_size = 68;

class key_block_io {
public:
  virtual ~key_block_io() = default;

  // Reads the 512 data bytes of the key block at `position`. False when the position
  // does not hold a sound key block (outside the file, wrong block header).
  virtual bool read_key_block(int32_t position, uint8_t out[key_block_size]) = 0;
  // Writes the 512 data bytes of the key block at `position`; false on failure.
  virtual bool write_key_block(int32_t position, const uint8_t data[key_block_size]) = 0;
  // Appends a new key block to the container (block header type 101 with `set_no`,
  // data zeroed) and returns its data position, or -1 when the container cannot grow.
  virtual int32_t allocate_key_block(int set_no) = 0;
  // Gives a key block back to the container's free space. The index never calls this
  // (freed key blocks stay on its own list); it is for code that drops a whole index.
  virtual void free_key_block(int32_t position) = 0;

  // The 68-byte index header at `position`; false when it cannot be read or written.
  virtual bool read_index_header(int32_t position, uint8_t out[index_header_size]) = 0;
  virtual bool write_index_header(int32_t position, const uint8_t data[index_header_size]) = 0;

  // Records a damaged key block for the container's corruption report (the container's
  // description file). Only a report: the index afterwards takes the fatal-error path
  // itself and hands an error back to its caller.
  virtual void report_corruption(int32_t position, const std::string& what) = 0;
};

// A container image held in memory: any bytes may be loaded (fuzzing), blocks are
// appended at the end with their 17-byte headers. Faults can be injected.
class memory_key_block_io final : public key_block_io {
public:
  // An image with room for an index header at position 0 (zeroed).
  memory_key_block_io();
  // An image made of the given bytes, taken as they are.
  explicit memory_key_block_io(std::vector<uint8_t> image);

  bool read_key_block(int32_t position, uint8_t out[key_block_size]) override;
  bool write_key_block(int32_t position, const uint8_t data[key_block_size]) override;
  int32_t allocate_key_block(int set_no) override;
  void free_key_block(int32_t position) override;
  bool read_index_header(int32_t position, uint8_t out[index_header_size]) override;
  bool write_index_header(int32_t position, const uint8_t data[index_header_size]) override;
  void report_corruption(int32_t position, const std::string& what) override;

  const std::vector<uint8_t>& image() const { return image_; }
  std::vector<uint8_t>& image() { return image_; }

  // Allocations still allowed before allocate_key_block fails (-1: unlimited).
  void set_allocation_limit(int remaining) { allocation_limit_ = remaining; }
  // Writes fail while this is set.
  void set_writes_fail(bool fail) { writes_fail_ = fail; }
  // Image size above which allocation fails (the fuzzers bound growth with it).
  void set_max_image_size(size_t bytes) { max_image_size_ = bytes; }

  int reads() const { return reads_; }
  int writes() const { return writes_; }
  int allocations() const { return allocations_; }
  int freed() const { return freed_; }
  // Corruption reports made so far, "position: what" each.
  const std::vector<std::string>& corruption_reports() const { return reports_; }

private:
  bool key_block_at(int32_t position) const;

  std::vector<uint8_t> image_;
  int allocation_limit_ = -1;
  bool writes_fail_ = false;
  size_t max_image_size_ = size_t(1) << 30;
  int reads_ = 0;
  int writes_ = 0;
  int allocations_ = 0;
  int freed_ = 0;
  std::vector<std::string> reports_;
};

} // namespace kovra::store
