#pragma once
// The compressed form of a container: the 293 header bytes as they are (bit 7 of flags
// set), then one zlib stream of everything after the header, its first four bytes
// exclusive-or'ed with the scrambling word.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace kovra::store {

// Reads the stream that follows the header in `fd` and appends the inflated bytes to
// `image` (which already holds the header). Fails on a stream error, on a file that ends
// before the stream does, and on output that would pass `limit` bytes of image.
bool inflate_container(int fd, std::vector<uint8_t>& image, int64_t limit);

// Same, from bytes in memory (after the header); for tests and fuzzing.
bool inflate_bytes(const uint8_t* data, size_t size, std::vector<uint8_t>& image, int64_t limit);

// Sets bit 7 in the image's flags, writes the header, compresses the rest at level 1 and
// writes it, cuts the file after the stream and flushes. When compression fails nothing
// after the header is touched. Returns the file length written, or -1.
int64_t write_compressed(int fd, std::vector<uint8_t>& image);

// The stream alone (scrambled), for tests and copies. Empty on failure.
std::vector<uint8_t> compress_image_body(const uint8_t* body, size_t size);

} // namespace kovra::store
