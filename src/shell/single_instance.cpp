#include "shell/single_instance.h"

#include "shell/messages.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace kovra::shell {

instance_lock& instance_lock::operator=(instance_lock&& other) noexcept {
  if (this != &other) {
    release();
    fd_ = other.fd_;
    other.fd_ = -1;
  }
  return *this;
}

lock_result instance_lock::acquire(const std::string& path) {
  release();
  // Close-on-exec: programs we start (a word processor) must not keep our lock alive.
  int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) return lock_result::unavailable;
  int rc;
  do {
    rc = ::flock(fd, LOCK_EX | LOCK_NB);
  } while (rc != 0 && errno == EINTR);
  if (rc != 0) {
    bool busy = errno == EWOULDBLOCK;
    ::close(fd);
    return busy ? lock_result::already_running : lock_result::unavailable;
  }
  fd_ = fd;
  return lock_result::acquired;
}

void instance_lock::release() {
  if (fd_ >= 0) {
    ::close(fd_);  // closing drops the lock; the file stays for the next start
    fd_ = -1;
  }
}

lock_result claim_single_instance(const std::string& lock_path, instance_lock& lock) {
  lock_result r = lock.acquire(lock_path);
  if (r == lock_result::already_running) msg_box(182);
  return r;
}

} // namespace kovra::shell
