#include "store/compressed_image.h"

#include "store/byte_order.h"
#include "store/container.h"
#include "store/file_access.h"
#include "store/file_header.h"

#include <algorithm>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

namespace kovra::store {

namespace {

constexpr size_t piece_size = 32768;

void scramble(uint8_t* stream, size_t size) {
  if (size < 4) return;
  put_u32(stream, get_u32(stream) ^ SCRAMBLE_WORD);
}

// Feeds one input piece through the stream; the output goes straight into the image, one
// 32 KB window at a time. Returns Z_OK to go on, Z_STREAM_END at the end, else a failure.
int feed(z_stream& z, uint8_t* in, size_t size, std::vector<uint8_t>& image, int64_t limit) {
  z.next_in = in;
  z.avail_in = uInt(size);
  for (;;) {
    const size_t before = image.size();
    if (int64_t(before) >= limit) return Z_DATA_ERROR;
    const size_t window = size_t(std::min<int64_t>(piece_size, limit - int64_t(before)));
    if (image.capacity() < before + window) image.reserve(std::max(before + window, image.capacity() * 2));
    image.resize(before + window);
    z.next_out = image.data() + before;
    z.avail_out = uInt(window);
    const int rc = inflate(&z, Z_NO_FLUSH);
    image.resize(before + (window - z.avail_out));
    if (rc == Z_STREAM_END) return Z_STREAM_END;
    if (rc != Z_OK && rc != Z_BUF_ERROR) return rc;
    if (z.avail_out != 0) return Z_OK;  // the piece is used up; the next one is needed
  }
}

template <typename NextPiece>
bool run_inflate(NextPiece next_piece, std::vector<uint8_t>& image, int64_t limit, size_t expected) {
  z_stream z{};
  if (inflateInit(&z) != Z_OK) return false;
  // Level-1 deflate of record data shrinks it to a third or so: start near the end size.
  if (expected > 0) image.reserve(std::min<size_t>(size_t(limit), image.size() + expected * 4));
  uint8_t piece[piece_size];
  bool first = true;
  int rc = Z_OK;
  for (;;) {
    const size_t got = next_piece(piece, sizeof piece);
    if (got == 0) break;  // the file ended before the stream
    if (first) scramble(piece, got);
    first = false;
    rc = feed(z, piece, got, image, limit);
    if (rc != Z_OK) break;
  }
  inflateEnd(&z);
  return rc == Z_STREAM_END;
}

bool write_all(int fd, int64_t offset, const uint8_t* data, size_t size) {
  while (size > 0) {
    const ssize_t n = file_pwrite(fd, data, size, offset);
    if (n <= 0) return false;
    data += n;
    size -= size_t(n);
    offset += n;
  }
  return true;
}

} // namespace

bool inflate_container(int fd, std::vector<uint8_t>& image, int64_t limit) {
  int64_t offset = file_header_size;
  auto next = [&](uint8_t* out, size_t size) -> size_t {
    size_t total = 0;
    while (total < size) {
      const ssize_t n = pread(fd, out + total, size - total, offset);
      if (n <= 0) break;
      total += size_t(n);
      offset += n;
    }
    return total;
  };
  struct stat st {};
  const size_t expected = fstat(fd, &st) == 0 && st.st_size > file_header_size ? size_t(st.st_size) : 0;
  return run_inflate(next, image, limit, expected);
}

bool inflate_bytes(const uint8_t* data, size_t size, std::vector<uint8_t>& image, int64_t limit) {
  size_t at = 0;
  auto next = [&](uint8_t* out, size_t want) -> size_t {
    const size_t n = std::min(want, size - at);
    if (n) std::memcpy(out, data + at, n);
    at += n;
    return n;
  };
  return run_inflate(next, image, limit, size);
}

std::vector<uint8_t> compress_image_body(const uint8_t* body, size_t size) {
  // compressBound, not a rule of thumb: incompressible data grows by more than 0.1 %.
  uLongf bound = compressBound(uLong(size));
  std::vector<uint8_t> stream(bound);
  if (compress2(stream.data(), &bound, body, uLong(size), 1) != Z_OK) return {};
  stream.resize(bound);
  scramble(stream.data(), stream.size());
  return stream;
}

int64_t write_compressed(int fd, std::vector<uint8_t>& image) {
  if (image.size() < size_t(file_header_size)) return -1;
  image[8] |= HEADER_COMPRESSED;
  const std::vector<uint8_t> stream =
      compress_image_body(image.data() + file_header_size, image.size() - file_header_size);
  if (stream.empty()) return -1;
  if (!write_all(fd, 0, image.data(), file_header_size)) return -1;
  if (!write_all(fd, file_header_size, stream.data(), stream.size())) return -1;
  const int64_t length = file_header_size + int64_t(stream.size());
  if (file_truncate(fd, off_t(length)) != 0) return -1;
  if (sync_file(fd) != 0) return -1;
  return length;
}

} // namespace kovra::store
