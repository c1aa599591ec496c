#include "store/working_copy.h"

#include "store/container.h"
#include "store/file_access.h"
#include "store/paths.h"
#include "store/share_lock.h"
#include "store/store_notice.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace kovra::store {

namespace {

bool copy_file(const std::string& from, const std::string& to) {
  const int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) return false;
  const int out = ::open(to.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (out < 0) {
    ::close(in);
    return false;
  }
  std::vector<char> buffer(65536);
  bool ok = true;
  for (;;) {
    const ssize_t n = ::read(in, buffer.data(), buffer.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) ok = false;
    if (n <= 0) break;
    for (ssize_t done = 0; done < n;) {
      const ssize_t w = file_write(out, buffer.data() + done, size_t(n - done));
      if (w < 0 && errno == EINTR) continue;
      if (w <= 0) {
        ok = false;
        break;
      }
      done += w;
    }
    if (!ok) break;
  }
  if (ok && sync_file(out) != 0) ok = false;
  ::close(in);
  if (::close(out) != 0) ok = false;
  return ok;
}

// True when some open of the document (this process or another) holds it for writing:
// the copy beside it is then that open's own.
bool written_elsewhere(const std::string& document) {
  const int fd = ::open(document.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool busy = writing_held(fd);
  ::close(fd);
  return busy;
}

} // namespace

leftover_choice standard_leftover_decision(const std::string& document, const std::string& copy) {
  struct stat doc {}, cp {};
  if (::stat(document.c_str(), &doc) == 0 && ::stat(copy.c_str(), &cp) == 0 && cp.st_size < doc.st_size &&
      (cp.st_mtim.tv_sec < doc.st_mtim.tv_sec ||
       (cp.st_mtim.tv_sec == doc.st_mtim.tv_sec && cp.st_mtim.tv_nsec < doc.st_mtim.tv_nsec)))
    return leftover_choice::ignore;
  store_notice(180, document);
  return leftover_choice::restore;
}

uint8_t prepare_working_copy(const std::string& document, const leftover_decision& decision, int& open_mode,
                             bool& copy_is_ours) {
  copy_is_ours = true;
  struct stat st {};
  if (::stat(document.c_str(), &st) != 0) return OPEN_NOT_FOUND;
  if (::access(document.c_str(), W_OK) != 0) open_mode = OPEN_READ_SHARED | (open_mode & OPEN_KEEP_COUNT);
  if (written_elsewhere(document)) {
    copy_is_ours = false;
    return OPEN_OK;
  }
  const std::string copy = working_copy_name(document);
  if (::access(copy.c_str(), F_OK) != 0) return OPEN_OK;
  const leftover_choice choice = decision ? decision(document, copy) : standard_leftover_decision(document, copy);
  if (choice == leftover_choice::stop) return OPEN_REFUSED_LEFTOVER;
  if (choice == leftover_choice::restore && !copy_file(copy, document)) return OPEN_COPY_FAILED;
  return OPEN_OK;
}

bool write_working_copy(const std::string& document, const std::string& copy) {
  return copy_file(document, copy);
}

} // namespace kovra::store
