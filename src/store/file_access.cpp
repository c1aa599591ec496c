#include "store/file_access.h"

#include "store/container.h"

#include <cerrno>
#include <unistd.h>

namespace kovra::store {

namespace {

struct fault_plan {
  int64_t fail_at = 0;
  int64_t steps = 0;
};

fault_plan& plan() {
  static fault_plan p;
  return p;
}

bool& disk_sync_on() {
  static bool on = true;
  return on;
}

// Counts the step; true when it is the one to fail.
bool step_fails() {
  fault_plan& p = plan();
  ++p.steps;
  if (p.fail_at == 0 || p.steps != p.fail_at) return false;
  errno = EIO;
  return true;
}

} // namespace

ssize_t file_pwrite(int fd, const void* data, std::size_t size, off_t offset) {
  return step_fails() ? -1 : ::pwrite(fd, data, size, offset);
}

ssize_t file_write(int fd, const void* data, std::size_t size) { return step_fails() ? -1 : ::write(fd, data, size); }

int file_truncate(int fd, off_t length) { return step_fails() ? -1 : ::ftruncate(fd, length); }

int file_sync(int fd, bool data_only) {
  if (step_fails()) return -1;
  if (!disk_sync_on()) return 0;
  return data_only ? ::fdatasync(fd) : ::fsync(fd);
}

void fail_file_step(int64_t n) { plan() = fault_plan{n, 0}; }
int64_t file_steps() { return plan().steps; }

void set_disk_sync(bool on) { disk_sync_on() = on; }
int sync_file(int fd) { return file_sync(fd); }

} // namespace kovra::store
