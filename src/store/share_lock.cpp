#include "store/share_lock.h"

#include <fcntl.h>
#include <unistd.h>

namespace kovra::store {

namespace {

// Marker bytes: above every offset a 32-bit record position can reach.
constexpr off_t marker_base = off_t(1) << 40;
enum marker : off_t { reads = 0, writes = 1, denies_read = 2, denies_write = 3 };

// True when another open description holds any lock on the marker byte.
bool held_by_other(int fd, marker m) {
  struct flock probe {};
  probe.l_type = F_WRLCK;
  probe.l_whence = SEEK_SET;
  probe.l_start = marker_base + m;
  probe.l_len = 1;
  if (fcntl(fd, F_OFD_GETLK, &probe) != 0) return false;
  return probe.l_type != F_UNLCK;
}

bool hold(int fd, marker m) {
  struct flock lock {};
  lock.l_type = F_RDLCK;
  lock.l_whence = SEEK_SET;
  lock.l_start = marker_base + m;
  lock.l_len = 1;
  return fcntl(fd, F_OFD_SETLK, &lock) == 0;
}

void release_all(int fd) {
  struct flock lock {};
  lock.l_type = F_UNLCK;
  lock.l_whence = SEEK_SET;
  lock.l_start = marker_base;
  lock.l_len = 4;
  fcntl(fd, F_OFD_SETLK, &lock);
}

} // namespace

share_access open_mode_access(int open_mode) {
  return (open_mode & 3) <= 1 ? share_access::read_write : share_access::read;
}

share_deny open_mode_deny(int open_mode) {
  switch (open_mode & 3) {
  case 1: return share_deny::read_write;
  case 2: return share_deny::write;
  default: return share_deny::none;
  }
}

bool take_share_locks(int fd, share_access access, share_deny deny) {
  const bool writing = access == share_access::read_write;
  const bool deny_read = deny == share_deny::read_write;
  const bool deny_write = deny != share_deny::none;
  // Take first, then look. Of two opens racing, the one that looks last sees the other's
  // locks, so they can never both pass; at worst both are refused.
  bool ok = hold(fd, reads);
  if (ok && writing) ok = hold(fd, writes);
  if (ok && deny_read) ok = hold(fd, denies_read);
  if (ok && deny_write) ok = hold(fd, denies_write);
  ok = ok && !held_by_other(fd, denies_read) && !(writing && held_by_other(fd, denies_write)) &&
       !(deny_read && held_by_other(fd, reads)) && !(deny_write && held_by_other(fd, writes));
  if (!ok) release_all(fd);
  return ok;
}

bool writing_denied(int fd) { return held_by_other(fd, denies_write); }
bool writing_held(int fd) { return held_by_other(fd, writes); }

} // namespace kovra::store
