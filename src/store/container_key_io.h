#pragma once
// Key blocks and index headers of the key index, stored in a container.
#include "store/free_space.h"
#include "store/key_block_io.h"

namespace kovra::store {

class container_key_block_io final : public key_block_io {
public:
  // `lists` (optional) is where freed key blocks go when a whole index is dropped.
  explicit container_key_block_io(int handle, free_lists lists = {});

  bool read_key_block(int32_t position, uint8_t out[key_block_size]) override;
  bool write_key_block(int32_t position, const uint8_t data[key_block_size]) override;
  int32_t allocate_key_block(int set_no) override;
  void free_key_block(int32_t position) override;
  bool read_index_header(int32_t position, uint8_t out[index_header_size]) override;
  bool write_index_header(int32_t position, const uint8_t data[index_header_size]) override;
  // Writes the container's corruption description for the key block (no handler call: the
  // index goes on to its own fatal-error path).
  void report_corruption(int32_t position, const std::string& what) override;

  int handle() const { return handle_; }

private:
  bool key_block_at(int32_t position);

  int handle_;
  free_lists lists_;
};

} // namespace kovra::store
