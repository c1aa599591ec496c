#pragma once
// Share modes of container files between opens, on open-file-description locks.
//
// Each open holds shared locks on four marker bytes far beyond any data a container can
// hold (positions are 32-bit): "reads", "writes", "denies reading", "denies writing". A new
// open is refused when it wants an access that someone denies, or denies an access that
// someone holds. Locks belong to the open file description, so two opens inside one
// process see each other exactly as two processes do.

namespace kovra::store {

enum class share_access { read, read_write };
enum class share_deny { none, write, read_write };

// The access and denial of a container open mode (its low two bits):
// 0 read-write sharing all, 1 read-write exclusive, 2 read-only denying writers,
// 3 read-only sharing all.
share_access open_mode_access(int open_mode);
share_deny open_mode_deny(int open_mode);

// Takes the locks for `fd`; false (nothing held) when the sharing rules refuse. Atomic
// across processes: two opens that exclude each other never both succeed.
bool take_share_locks(int fd, share_access access, share_deny deny);
// True when some other open denies writing (a writer would be refused).
bool writing_denied(int fd);
// True when some other open holds the file for writing.
bool writing_held(int fd);

} // namespace kovra::store
