// Blobs: records above 64,512 bytes, kept as a header record in the chain (total length,
// segment count and positions) and unlinked segment blocks of 32,768 bytes.
#include "store/byte_order.h"
#include "store/check_block.h"
#include "store/container.h"
#include "store/corruption.h"
#include "store/records_internal.h"
#include "store/store_error.h"

#include <cstring>

namespace kovra::store::detail {

namespace {

constexpr int32_t segment_size = 32768;
constexpr int blob_head_size = 10;

struct blob_head {
  int32_t total = 0;
  std::vector<rec_pos> segments;
};

// The blob header record, checked against itself and the file before anything is trusted.
blob_head read_head(record_set& s, rec_pos at, const block_header& h) {
  if (h.used < blob_head_size) report_corruption(s.handle, at);
  std::vector<uint8_t> data(h.used);
  if (read_at(s.handle, at + block_header_size, data.data(), h.used) != h.used) report_corruption(s.handle, at);
  blob_head b;
  b.total = get_i32(data.data() + 2);
  const int32_t n = get_i32(data.data() + 6);
  if (n < 0 || blob_head_size + 4 * int64_t(n) > h.used || b.total < 0 ||
      int64_t(b.total) > int64_t(n) * segment_size || int64_t(b.total) > file_length(s.handle))
    report_corruption(s.handle, at);
  b.segments.resize(size_t(n));
  for (int32_t i = 0; i < n; ++i) b.segments[size_t(i)] = get_i32(data.data() + blob_head_size + 4 * i);
  return b;
}

block_header segment_header(record_set& s, rec_pos at, rec_pos owner) {
  block_header h;
  if (!read_block_header(s.handle, at, h) || h.type != REC_TYPE_BLOB_SEGMENT || !block_header_sound(h) ||
      h.prev != -1 || h.next != -1 || int64_t(at) + h.size > file_length(s.handle))
    report_corruption(s.handle, at == -1 ? owner : at);
  return h;
}

} // namespace

void write_blob_segments(record_set& s, const uint8_t* data, int64_t length, std::vector<rec_pos>& out) {
  const int64_t n = (length + segment_size - 1) / segment_size;
  if (blob_head_size + 4 * n > 64512) throw store_failure("blob too long");
  out.clear();
  for (int64_t i = 0; i < n; ++i) {
    const int32_t piece = int32_t(std::min<int64_t>(segment_size, length - i * segment_size));
    const rec_pos at = take_free_block(s.lists(), piece + block_header_size);
    out.push_back(at);  // listed before it is written, so a failed write can give it back
    block_header h;
    h.type = REC_TYPE_BLOB_SEGMENT;
    h.set_no = uint16_t(s.header.set_no);
    h.size = uint16_t(piece + block_header_size);
    h.capacity = h.used = uint16_t(piece);
    if (!write_block_header(s.handle, at, h) ||
        !write_at(s.handle, at + block_header_size, data + i * segment_size, piece))
      throw store_failure("blob write failed");
  }
}

void give_back_segments(record_set& s, const std::vector<rec_pos>& segments) noexcept {
  for (rec_pos seg : segments) {
    try {
      block_header h;
      if (read_block_header(s.handle, seg, h)) give_free_block(s.lists(), seg, h.size);
    } catch (...) {
      // The block stays taken: lost space, never a block used twice.
    }
  }
}

std::vector<segment_block> blob_segments(record_set& s, rec_pos at, const block_header& h) {
  const blob_head b = read_head(s, at, h);
  std::vector<segment_block> out;
  for (rec_pos seg : b.segments) out.push_back({seg, segment_header(s, seg, at).size});
  return out;
}

void free_blob_segments(record_set& s, rec_pos at, const block_header& h) {
  for (const segment_block& seg : blob_segments(s, at, h)) give_free_block(s.lists(), seg.position, seg.size);
}

bool read_blob(record_set& s, rec_pos at, const block_header& h, std::vector<uint8_t>& out) {
  const blob_head b = read_head(s, at, h);
  out.assign(size_t(b.total), 0);
  int64_t filled = 0;
  for (rec_pos seg : b.segments) {
    const block_header sh = segment_header(s, seg, at);
    if (filled + sh.capacity > b.total) report_corruption(s.handle, seg);
    if (read_at(s.handle, seg + block_header_size, out.data() + filled, sh.capacity) != sh.capacity) return false;
    filled += sh.capacity;
  }
  if (filled != b.total) report_corruption(s.handle, at);
  return true;
}

} // namespace kovra::store::detail
