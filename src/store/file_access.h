#pragma once
// The system calls that change the store's files on disk: writes, length changes and
// syncs. They pass through here so that tests can make the n-th of them fail, as a full
// disk or a failing device would, and check what a failure at that step leaves behind.
#include <cstddef>
#include <cstdint>
#include <sys/types.h>

namespace kovra::store {

ssize_t file_pwrite(int fd, const void* data, std::size_t size, off_t offset);
ssize_t file_write(int fd, const void* data, std::size_t size);
int file_truncate(int fd, off_t length);
// fsync (fdatasync when `data_only`) while disk sync is on; a step either way.
int file_sync(int fd, bool data_only = false);

// Tests: counting from now, step `n` (1 = the next call above) fails with EIO; 0 lets
// every step through again.
void fail_file_step(int64_t n);
// Steps taken since the last fail_file_step.
int64_t file_steps();

} // namespace kovra::store
