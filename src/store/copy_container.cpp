#include "store/copy_container.h"

#include "store/compressed_image.h"
#include "store/container.h"

#include <new>
#include <unistd.h>
#include <vector>

namespace kovra::store {

int copy_container(int destination, int source, const copy_progress& progress) {
  if (!valid_container(destination) || !valid_container(source) || destination == source) return COPY_FAILED;
  try {
    if (container_storage(source) == STORAGE_COMPRESSED) {
      const int64_t length = file_length(source);
      std::vector<uint8_t> image(container_image(source), container_image(source) + length);
      const int64_t written = write_compressed(container_fd(destination), image);
      if (written < 0) return COPY_FAILED;
      if (progress && !progress(written, length)) return COPY_STOPPED;
      return COPY_OK;
    }
    constexpr int64_t step = 65536;
    std::vector<uint8_t> buffer(step);
    const int64_t length = file_length(source);
    if (length < 0) return COPY_FAILED;
    int64_t done = 0;
    while (done < length) {
      const int64_t n = read_at(source, done, buffer.data(), std::min(step, length - done));
      if (n <= 0 || !write_at(destination, done, buffer.data(), n)) return COPY_FAILED;
      done += n;
      if (progress && !progress(done, done)) return COPY_STOPPED;
    }
    if (!set_length(destination, length)) return COPY_FAILED;
    return COPY_OK;
  } catch (const std::bad_alloc&) {
    return COPY_FAILED;
  }
}

} // namespace kovra::store
