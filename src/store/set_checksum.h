#pragma once
// The checksum of a container: 1 plus the sum of every byte after the file header, taken
// while the main set's checksum field holds 0, in wrapping 32-bit arithmetic.
#include <cstdint>

namespace kovra::store {

// The value for the file as it stands, with the field at `field_position` counted as 0.
// False when the file cannot be read.
bool compute_checksum(int handle, int32_t field_position, uint32_t& value);

// Writes the value into the field; the modified flag is kept as it was before, so that a
// stored checksum alone does not make a document "changed".
bool store_checksum(int handle, int32_t field_position, int32_t* stored = nullptr);

// 0 equal, 3 off by exactly one, 4 otherwise (or unreadable).
int verify_checksum(int handle, int32_t field_position);

} // namespace kovra::store
