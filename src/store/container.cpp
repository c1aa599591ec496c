#include "store/container.h"

#include "store/compressed_image.h"
#include "store/file_access.h"
#include "store/log.h"
#include "store/open_files.h"
#include "store/share_lock.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <new>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace kovra::store {

namespace {

constexpr size_t image_step = 8192;

struct container_entry {
  bool used = false;
  int fd = -1;
  int storage = STORAGE_DIRECT;
  int open_mode = 0;
  bool counted = false;  // the open raised open_count, so the close lowers it
  int64_t position = 0;
  std::vector<uint8_t> image;
  bool modified = false;
  bool saved = false;
  // False once a write or sync of the disk file failed: the file may not be whole. A later
  // flush that writes a whole image makes it whole again.
  bool whole = true;
};

struct container_table {
  std::array<container_entry, max_open_files> entries;
  uint8_t last_error = 0;
};

container_table& table() {
  static container_table t;
  return t;
}

container_entry* entry(int handle) {
  if (handle < 0 || handle >= max_open_files) return nullptr;
  container_entry& e = table().entries[size_t(handle)];
  return e.used ? &e : nullptr;
}

bool image_mode(const container_entry& e) { return e.storage != STORAGE_DIRECT; }

// Image growth keeps the capacity a multiple of 8 KB and at least one and a half times the
// old one: appending blocks one by one must not copy the whole image each time.
bool grow_image(container_entry& e, size_t length) {
  if (int64_t(length) > max_container_length) return false;
  try {
    if (length > e.image.capacity()) {
      const size_t wanted = std::max(length, e.image.capacity() + e.image.capacity() / 2);
      e.image.reserve((wanted + image_step - 1) / image_step * image_step);
    }
    e.image.resize(length);
  } catch (const std::bad_alloc&) {
    return false;
  }
  return true;
}

bool pwrite_all(int fd, int64_t offset, const uint8_t* data, size_t size) {
  while (size > 0) {
    const ssize_t n = file_pwrite(fd, data, size, off_t(offset));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data += n;
    size -= size_t(n);
    offset += n;
  }
  return true;
}

int64_t pread_all(int fd, int64_t offset, uint8_t* data, size_t size) {
  size_t total = 0;
  while (total < size) {
    const ssize_t n = pread(fd, data + total, size - total, off_t(offset + int64_t(total)));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return -1;
    if (n == 0) break;
    total += size_t(n);
  }
  return int64_t(total);
}

int take_handle() {
  for (int h = 0; h < max_open_files; ++h)
    if (!table().entries[size_t(h)].used) return h;
  return -1;
}

void release(int handle) {
  container_entry& e = table().entries[size_t(handle)];
  if (e.fd >= 0) ::close(e.fd);  // closing the description drops its share locks
  e = container_entry{};
  release_file(handle);
}

uint8_t map_open_errno(int err) {
  switch (err) {
  case ENOENT:
  case ENOTDIR: return OPEN_NOT_FOUND;
  case EMFILE:
  case ENFILE: return OPEN_TOO_MANY;
  case EACCES:
  case EPERM:
  case EROFS: return OPEN_ACCESS_DENIED;
  default: return OPEN_FAILED;
  }
}

// Loads the file into the image according to the storage mode. Fails for a compressed
// file asked as a plain image, for a broken stream and for files too long to address.
// `to_compress` tells that an uncompressed file was loaded in compressed-image mode.
bool load(container_entry& e, bool& to_compress) {
  to_compress = false;
  struct stat st {};
  if (fstat(e.fd, &st) != 0) return false;
  const int64_t length = st.st_size;
  if (length > max_container_length) return false;
  if (e.storage == STORAGE_DIRECT) return true;

  uint8_t head[file_header_size] = {};
  const int64_t head_read = pread_all(e.fd, 0, head, sizeof head);
  if (head_read < 0) return false;
  const bool compressed = head_read == file_header_size && (head[8] & HEADER_COMPRESSED);
  if (e.storage == STORAGE_IMAGE && compressed) return false;

  if (compressed) {
    if (!grow_image(e, file_header_size)) return false;
    std::memcpy(e.image.data(), head, file_header_size);
    try {
      return inflate_container(e.fd, e.image, max_container_length);
    } catch (const std::bad_alloc&) {
      return false;
    }
  }
  if (!grow_image(e, size_t(length))) return false;
  if (pread_all(e.fd, 0, e.image.data(), size_t(length)) != length) return false;
  to_compress = e.storage == STORAGE_COMPRESSED && length >= file_header_size;
  return true;
}

// The header check, first failure wins.
uint8_t check_header(const file_header& h, int checks, uint8_t file_type, int16_t version) {
  if (!h.magic_ok()) return OPEN_BAD_MAGIC;
  if ((checks & CHECK_FILE_TYPE) && h.file_type != file_type) return OPEN_WRONG_TYPE;
  if ((checks & CHECK_VERSION) && h.version != version)
    return (!(checks & CHECK_NOT_OPEN) || h.open_count == 0) ? OPEN_WRONG_VERSION : OPEN_WRONG_VERSION_IN_USE;
  if ((checks & CHECK_NOT_OPEN) && h.open_count != 0) return OPEN_COUNT_NOT_ZERO;
  return OPEN_OK;
}

bool change_open_count(int handle, int delta) {
  container_entry* e = entry(handle);
  if (!e) return false;
  uint8_t count = 0;
  if (read_at(handle, 7, &count, 1) != 1) return false;
  const int next = int(count) + delta;
  if (next < 0 || next > 255) return false;  // kept to its byte: no wrap-around
  count = uint8_t(next);
  // The header is stored as it is in every mode: the byte goes straight to the disk (and
  // to the image), without marking the image modified or recompressing it.
  if (image_mode(*e) && e->image.size() > 7) e->image[7] = count;
  if (!pwrite_all(e->fd, 7, &count, 1) || file_sync(e->fd, true) != 0) {
    e->whole = false;
    return false;
  }
  return true;
}

} // namespace

uint8_t last_open_error() { return table().last_error; }
void set_last_open_error(uint8_t code) { table().last_error = code; }

int create_container(const std::string& path, int storage, const file_header& header_template, uint8_t file_type,
                     int16_t version) {
  set_last_open_error(OPEN_OK);
  if (storage < STORAGE_DIRECT || storage > STORAGE_COMPRESSED) {
    set_last_open_error(OPEN_FAILED);
    return -1;
  }
  const int handle = take_handle();
  if (handle < 0) {
    set_last_open_error(OPEN_FAILED);
    return -1;
  }
  // No O_TRUNC: a file that another open holds must survive the attempt.
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
  if (fd < 0) {
    set_last_open_error(OPEN_FAILED);
    return -1;
  }
  if (!take_share_locks(fd, share_access::read_write, share_deny::read_write) || ftruncate(fd, 0) != 0) {
    ::close(fd);
    set_last_open_error(OPEN_FAILED);
    return -1;
  }
  container_entry& e = table().entries[size_t(handle)];
  e = container_entry{};
  e.used = true;
  e.fd = fd;
  e.storage = storage;
  e.open_mode = OPEN_EXCLUSIVE;
  e.counted = true;
  register_file(handle, path, OPEN_EXCLUSIVE, OPEN_OK);

  file_header h = header_template;
  h.magic[0] = 'V';
  h.magic[1] = 'L';
  h.file_type = file_type;
  h.version = version;
  h.open_count = 1;
  h.flags &= uint8_t(~HEADER_COMPRESSED);
  uint8_t bytes[file_header_size];
  encode_file_header(h, bytes);
  if (!write_at(handle, 0, bytes, sizeof bytes) || (e.storage == STORAGE_DIRECT && !sync_container(handle))) {
    release(handle);
    ::unlink(path.c_str());
    set_last_open_error(OPEN_FAILED);
    return -1;
  }
  // The header on disk carries the open count even before the first flush of an image.
  if (image_mode(e)) pwrite_all(fd, 0, bytes, sizeof bytes);
  return handle;
}

int open_container(const std::string& path, int storage, int open_mode, uint8_t file_type, int16_t version,
                   int checks, file_header* header_out) {
  set_last_open_error(OPEN_OK);
  const int mode = open_mode & 3;
  if (storage < STORAGE_DIRECT || storage > STORAGE_COMPRESSED) {
    set_last_open_error(OPEN_FAILED);
    return -1;
  }
  if (mode <= 1) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
      set_last_open_error(OPEN_FAILED);
      return -1;
    }
    if (!S_ISREG(st.st_mode) || ::access(path.c_str(), R_OK | W_OK) != 0) {
      set_last_open_error(OPEN_NOT_WRITABLE);
      return -1;
    }
  }
  const int fd = ::open(path.c_str(), (mode <= 1 ? O_RDWR : O_RDONLY) | O_CLOEXEC);
  if (fd < 0) {
    set_last_open_error(map_open_errno(errno));
    return -1;
  }
  struct stat st {};
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    set_last_open_error(OPEN_FAILED);
    return -1;
  }
  if (!take_share_locks(fd, open_mode_access(mode), open_mode_deny(mode))) {
    ::close(fd);
    set_last_open_error(OPEN_ACCESS_DENIED);
    return -1;
  }
  const int handle = take_handle();
  if (handle < 0) {
    ::close(fd);
    set_last_open_error(OPEN_TOO_MANY);
    return -1;
  }
  container_entry& e = table().entries[size_t(handle)];
  e = container_entry{};
  e.used = true;
  e.fd = fd;
  e.storage = storage;
  e.open_mode = open_mode;
  register_file(handle, path, open_mode, OPEN_OK);

  bool to_compress = false;
  if (!load(e, to_compress)) {
    release(handle);
    set_last_open_error(OPEN_FAILED);
    return -1;
  }
  uint8_t bytes[file_header_size] = {};
  if (read_at(handle, 0, bytes, sizeof bytes) != file_header_size) {
    release(handle);  // too short to hold a header: not a container
    set_last_open_error(OPEN_BAD_MAGIC);
    return -1;
  }
  file_header h = decode_file_header(bytes);
  // Files of old versions stored the character "4" as their open counter.
  if (mode != 3 && h.version <= 104 && h.open_count == 0x34 && h.kind() == 18) {
    h.open_count = 0;
    const uint8_t zero = 0;
    write_at(handle, 7, &zero, 1);
  }
  const uint8_t code = check_header(h, checks, file_type, version);
  if (code != OPEN_OK) {
    release(handle);
    set_last_open_error(code);
    return -1;
  }
  // An uncompressed document opened as a compressed image is stored compressed from now
  // on. Only after the checks: a file that is not ours is never rewritten, nor one opened
  // for reading only.
  if (to_compress && mode <= 1 && write_compressed(e.fd, e.image) < 0) {
    // Put the plain bytes back: the file may have been half overwritten.
    e.image[8] = uint8_t(e.image[8] & ~HEADER_COMPRESSED);
    if (pwrite_all(e.fd, 0, e.image.data(), e.image.size())) file_truncate(e.fd, off_t(e.image.size()));
    release(handle);
    set_last_open_error(OPEN_FAILED);
    return -1;
  }
  if (to_compress) h.flags = e.image[8];
  // Only a writer records itself in open_count (a read-only open could not write it).
  if (!(open_mode & OPEN_KEEP_COUNT) && mode <= 1) {
    if (increment_open_count(handle)) {
      e.counted = true;
      h.open_count = h.open_count < 255 ? uint8_t(h.open_count + 1) : h.open_count;
    }
  }
  if (header_out) *header_out = h;
  return handle;
}

bool close_container(int handle) {
  container_entry* e = entry(handle);
  if (!e) return false;
  if (e->counted) decrement_open_count(handle);
  const bool whole = e->whole;
  release(handle);
  return whole;
}

bool valid_container(int handle) { return entry(handle) != nullptr; }

int container_storage(int handle) {
  const container_entry* e = entry(handle);
  return e ? e->storage : 0;
}

int container_open_mode(int handle) {
  const container_entry* e = entry(handle);
  return e ? e->open_mode : -1;
}

const std::string& container_path(int handle) { return file_path(handle); }

int64_t read_at(int handle, int64_t offset, void* buffer, int64_t length) {
  container_entry* e = entry(handle);
  if (!e || offset < 0 || length < 0) return -1;
  if (!image_mode(*e)) {
    const int64_t n = pread_all(e->fd, offset, static_cast<uint8_t*>(buffer), size_t(length));
    if (n >= 0) e->position = offset + n;
    return n;
  }
  const int64_t size = int64_t(e->image.size());
  const int64_t n = offset >= size ? 0 : std::min(length, size - offset);
  if (n > 0) std::memcpy(buffer, e->image.data() + offset, size_t(n));
  e->position = offset + n;
  return n;
}

bool write_at(int handle, int64_t offset, const void* buffer, int64_t length) {
  container_entry* e = entry(handle);
  if (!e || offset < 0 || length < 0 || offset + length > max_container_length) return false;
  if ((e->open_mode & 3) >= 2) return false;
  if (!image_mode(*e)) {
    if (!pwrite_all(e->fd, offset, static_cast<const uint8_t*>(buffer), size_t(length))) {
      e->whole = false;
      return false;
    }
  } else {
    if (size_t(offset + length) > e->image.size() && !grow_image(*e, size_t(offset + length))) return false;
    if (length > 0) std::memcpy(e->image.data() + offset, buffer, size_t(length));
  }
  e->position = offset + length;
  e->modified = true;
  return true;
}

int64_t read_next(int handle, void* buffer, int64_t length) {
  const container_entry* e = entry(handle);
  return e ? read_at(handle, e->position, buffer, length) : -1;
}

bool write_next(int handle, const void* buffer, int64_t length) {
  const container_entry* e = entry(handle);
  return e ? write_at(handle, e->position, buffer, length) : false;
}

int64_t seek(int handle, int64_t offset, int origin) {
  container_entry* e = entry(handle);
  if (!e) return -1;
  int64_t base = 0;
  if (origin == SEEK_CUR) base = e->position;
  else if (origin == SEEK_END) base = file_length(handle);
  else if (origin != SEEK_SET) return -1;
  if (base < 0 || base + offset < 0) return -1;
  e->position = base + offset;
  return e->position;
}

int64_t file_length(int handle) {
  const container_entry* e = entry(handle);
  if (!e) return -1;
  if (image_mode(*e)) return int64_t(e->image.size());
  struct stat st {};
  return fstat(e->fd, &st) == 0 ? int64_t(st.st_size) : -1;
}

bool set_length(int handle, int64_t length) {
  container_entry* e = entry(handle);
  if (!e || length < 0 || length > max_container_length || (e->open_mode & 3) >= 2) return false;
  if (image_mode(*e)) {
    if (!grow_image(*e, size_t(length))) return false;
  } else if (file_truncate(e->fd, off_t(length)) != 0) {
    e->whole = false;
    return false;
  }
  e->modified = true;
  return true;
}

int64_t expand_file(int handle, int64_t n) {
  const int64_t old = file_length(handle);
  if (old < 0 || n < 0 || !set_length(handle, old + n)) {
    fatal_error("expand_file");
    return -1;
  }
  return old;
}

bool flush_container(int handle) {
  container_entry* e = entry(handle);
  if (!e) return false;
  if (!e->modified) return true;
  if ((e->open_mode & 3) >= 2) return false;
  bool ok = true;
  switch (e->storage) {
  case STORAGE_IMAGE:
    ok = pwrite_all(e->fd, 0, e->image.data(), e->image.size()) &&
         file_truncate(e->fd, off_t(e->image.size())) == 0;
    break;
  case STORAGE_COMPRESSED: ok = write_compressed(e->fd, e->image) >= 0; break;
  default: break;
  }
  // A sync that fails is a flush that failed: the bytes may never reach the disk.
  ok = ok && sync_file(e->fd) == 0;
  if (!ok) {
    e->whole = false;
    return false;
  }
  if (image_mode(*e)) e->whole = true;
  e->modified = false;
  e->saved = true;
  return true;
}

bool sync_container(int handle) {
  container_entry* e = entry(handle);
  if (!e) return false;
  if (sync_file(e->fd) == 0) return true;
  e->whole = false;
  return false;
}

bool container_whole(int handle) {
  const container_entry* e = entry(handle);
  return e && e->whole;
}

bool container_modified(int handle) {
  const container_entry* e = entry(handle);
  return e && e->modified;
}

bool container_saved(int handle) {
  const container_entry* e = entry(handle);
  return e && e->saved;
}

void set_container_changed(int handle, bool changed) {
  if (container_entry* e = entry(handle)) e->modified = e->saved = changed;
}

void set_container_modified(int handle, bool modified) {
  if (container_entry* e = entry(handle)) e->modified = modified;
}

const uint8_t* container_image(int handle) {
  const container_entry* e = entry(handle);
  return e && image_mode(*e) ? e->image.data() : nullptr;
}

bool increment_open_count(int handle) { return change_open_count(handle, +1); }
bool decrement_open_count(int handle) { return change_open_count(handle, -1); }

void reset_containers() {
  for (int h = 0; h < max_open_files; ++h)
    if (table().entries[size_t(h)].used) release(h);
  table().last_error = 0;
}

int container_fd(int handle) {
  const container_entry* e = entry(handle);
  return e ? e->fd : -1;
}

} // namespace kovra::store
