#include "store/container_key_io.h"

#include "store/check_block.h"
#include "store/container.h"
#include "store/corruption.h"
#include "store/file_header.h"
#include "store/log.h"

#include <new>

namespace kovra::store {

namespace {
constexpr int key_block_whole = key_block_size + block_header_size;
}

container_key_block_io::container_key_block_io(int handle, free_lists lists) : handle_(handle), lists_(lists) {}

// A key block: a block of type 101 holding exactly 512 data bytes, inside the file.
bool container_key_block_io::key_block_at(int32_t position) {
  if (position < file_header_size + block_header_size) return false;
  block_header h;
  if (!read_block_header(handle_, position - block_header_size, h)) return false;
  return h.type == REC_TYPE_BTREE_LEAF && h.size == key_block_whole && h.capacity == key_block_size &&
         int64_t(position) + key_block_size <= file_length(handle_);
}

bool container_key_block_io::read_key_block(int32_t position, uint8_t out[key_block_size]) {
  return key_block_at(position) && read_at(handle_, position, out, key_block_size) == key_block_size;
}

bool container_key_block_io::write_key_block(int32_t position, const uint8_t data[key_block_size]) {
  return key_block_at(position) && write_at(handle_, position, data, key_block_size);
}

int32_t container_key_block_io::allocate_key_block(int set_no) {
  const int64_t end = file_length(handle_);
  if (end < 0 || end + key_block_whole > max_container_length) return -1;
  // Key blocks are appended at the end of the file, never taken from the free lists.
  if (expand_file(handle_, key_block_whole) < 0) return -1;
  block_header h;
  h.type = REC_TYPE_BTREE_LEAF;
  h.set_no = uint16_t(set_no);
  h.size = key_block_whole;
  h.capacity = h.used = key_block_size;
  if (!write_block_header(handle_, rec_pos(end), h)) return -1;
  const uint8_t zeros[key_block_size] = {};
  if (!write_at(handle_, end + block_header_size, zeros, key_block_size)) return -1;
  return int32_t(end + block_header_size);
}

void container_key_block_io::free_key_block(int32_t position) {
  if (!lists_.heads || !key_block_at(position)) return;
  put_free_block(lists_, position - block_header_size, key_block_whole);
}

bool container_key_block_io::read_index_header(int32_t position, uint8_t out[index_header_size]) {
  return position >= file_header_size && read_at(handle_, position, out, index_header_size) == index_header_size;
}

bool container_key_block_io::write_index_header(int32_t position, const uint8_t data[index_header_size]) {
  return position >= file_header_size && write_at(handle_, position, data, index_header_size);
}

void container_key_block_io::report_corruption(int32_t position, const std::string& what) {
  log_text("key block %ld: %s\n", long(position), what.c_str());
  write_corruption_report(handle_, position - block_header_size);
}

} // namespace kovra::store
