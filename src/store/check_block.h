#pragma once
// The consistency check of one block and its chain neighbours.
#include "store/block_header.h"

namespace kovra::store {

// True when the block at `position` is sound (position -1 counts as sound). Never reports;
// `why` (optional) receives what is wrong. Used by the integrity check.
bool block_is_sound(int handle, rec_pos position, const char** why = nullptr);

// The store's check after every change: a broken block takes the corruption path and
// throws store_failure (inside the store only).
void require_sound_block(int handle, rec_pos position);

// Public form: false (after the corruption report) when the block is broken.
bool check_block(int handle, rec_pos position);

// Reads a block header within the file; false when it does not lie inside the file.
bool read_block_header(int handle, rec_pos position, block_header& out);
bool write_block_header(int handle, rec_pos position, const block_header& h);

} // namespace kovra::store
