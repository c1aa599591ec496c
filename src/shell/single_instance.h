#pragma once
// One running copy per user: an exclusive lock on a lock file. The system drops the lock
// when the holding process ends in any way, so a crash never leaves a stale lock behind.
#include <string>

namespace kovra::shell {

enum class lock_result {
  acquired,         // this process is the only copy
  already_running,  // another holder has the lock
  unavailable,      // the lock file cannot be opened (no way to tell; the caller goes on)
};

class instance_lock {
public:
  instance_lock() = default;
  ~instance_lock() { release(); }
  instance_lock(const instance_lock&) = delete;
  instance_lock& operator=(const instance_lock&) = delete;
  instance_lock(instance_lock&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
  instance_lock& operator=(instance_lock&& other) noexcept;

  // Takes the lock on `path` (created when missing). Another open of the same file, in this
  // process or another, is refused while this one holds it.
  lock_result acquire(const std::string& path);
  bool held() const { return fd_ >= 0; }
  void release();

private:
  int fd_ = -1;
};

// Start-up's single-instance step: takes the lock, and when another copy holds it shows
// message 182 through the message sink.
lock_result claim_single_instance(const std::string& lock_path, instance_lock& lock);

} // namespace kovra::shell
