#pragma once
// Container files: the handle table, opening and creating with the header checks, and byte
// access that works alike whether a file is used directly on disk, held as a memory image,
// or held as an image of a deflate-compressed file.
//
// Handles are small numbers (0-99). Nothing here throws: failures come back as -1 / false,
// and opens and creates leave their code in last_open_error().
#include "store/file_header.h"

#include <cstdint>
#include <string>

namespace kovra::store {

enum storage_mode : int { STORAGE_DIRECT = 1, STORAGE_IMAGE = 2, STORAGE_COMPRESSED = 3 };

// Open modes: the low two bits pick access and sharing; bit 3 leaves open_count alone.
enum open_mode_bits : int {
  OPEN_SHARED = 0,     // read-write, others may read and write
  OPEN_EXCLUSIVE = 1,  // read-write, others may neither read nor write
  OPEN_READ_DENY_WRITE = 2,
  OPEN_READ_SHARED = 3,
  OPEN_KEEP_COUNT = 8,
};

// Header checks asked of open_container.
enum open_checks : int { CHECK_FILE_TYPE = 1, CHECK_VERSION = 2, CHECK_NOT_OPEN = 4 };

// Last-open-error codes.
enum open_error : uint8_t {
  OPEN_OK = 0,
  OPEN_REFUSED_LEFTOVER = 243,
  OPEN_COPY_FAILED = 244,
  OPEN_NOT_FOUND = 245,
  OPEN_TOO_MANY = 246,
  OPEN_NOT_WRITABLE = 247,
  OPEN_ACCESS_DENIED = 249,
  OPEN_COUNT_NOT_ZERO = 250,
  OPEN_WRONG_VERSION_IN_USE = 251,
  OPEN_WRONG_VERSION = 252,
  OPEN_WRONG_TYPE = 253,
  OPEN_BAD_MAGIC = 254,
  OPEN_FAILED = 255,
};

// The scrambling word laid over the first four bytes of a compressed stream.
inline constexpr uint32_t SCRAMBLE_WORD = 0x5E8A4F17;
// Images never reach past what a 32-bit record position can address.
inline constexpr int64_t max_container_length = INT32_MAX;

uint8_t last_open_error();
void set_last_open_error(uint8_t code);

// Creates (or empties) the file and writes the template with file_type, version and
// open_count 1. A file that another open holds is left as it is and the create fails.
int create_container(const std::string& path, int storage, const file_header& header_template,
                     uint8_t file_type, int16_t version);
// Opens with the sharing of `open_mode`, loads the file by `storage`, checks the header and
// (unless bit 3 or a read-only mode) raises open_count. `header_out` may be null.
int open_container(const std::string& path, int storage, int open_mode, uint8_t file_type, int16_t version,
                   int checks, file_header* header_out);
// Lowers open_count when the open raised it, releases the handle and its image. Changes to
// an image that were not flushed are dropped. False when the file on disk may not be whole
// (a write or sync of it failed, the last one included).
bool close_container(int handle);

bool valid_container(int handle);
int container_storage(int handle);
int container_open_mode(int handle);
const std::string& container_path(int handle);

// Byte access. Reads return the count read (short at the end), -1 on a bad handle or
// system error; writes return success. Image writes past the end lengthen the image.
int64_t read_at(int handle, int64_t offset, void* buffer, int64_t length);
bool write_at(int handle, int64_t offset, const void* buffer, int64_t length);
int64_t read_next(int handle, void* buffer, int64_t length);
bool write_next(int handle, const void* buffer, int64_t length);
// origin: SEEK_SET, SEEK_CUR or SEEK_END; returns the new position or -1.
int64_t seek(int handle, int64_t offset, int origin);

int64_t file_length(int handle);
bool set_length(int handle, int64_t length);
// Lengthens the container by n bytes and returns the old length. A failure is fatal
// ("expand_file" through fatal_error) and gives -1.
int64_t expand_file(int handle, int64_t n);

// Writes an image back (compressed in compressed-image mode) and flushes system buffers;
// nothing happens while the modified flag is clear.
bool flush_container(int handle);
// Flushes system buffers only (direct storage).
bool sync_container(int handle);
// False once a write or sync of the disk file failed and no whole image was written since.
bool container_whole(int handle);

// Modified: changed since the last flush. Saved: a flush wrote changes to disk.
bool container_modified(int handle);
bool container_saved(int handle);
// Sets or clears both flags at once.
void set_container_changed(int handle, bool changed);
void set_container_modified(int handle, bool modified);

// The image itself (image modes only; nullptr in direct mode): for whole-file sums and copies.
const uint8_t* container_image(int handle);

// The system descriptor of the file (copies of the disk bytes); -1 for a bad handle.
int container_fd(int handle);

// open_count in the file, changed by one and written back as that one byte. It stays
// within 0-255 (a wrapped counter would read as "closed properly"): false when the count
// is already at the bound or cannot be written.
bool increment_open_count(int handle);
bool decrement_open_count(int handle);

// Whether flushes reach the disk (fsync). On by default; fuzzers and benchmarks that
// write thousands of scratch files turn it off.
void set_disk_sync(bool on);
// fsync of `fd` when disk sync is on; 0 (success) otherwise.
int sync_file(int fd);

// Closes every handle (tests).
void reset_containers();

} // namespace kovra::store
