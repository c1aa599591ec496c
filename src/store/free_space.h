#pragma once
// Free space of a container: five doubly-linked lists of free blocks by size class, with
// heads kept in the main record set's header. Sub-sets share the main set's lists.
#include "store/block_header.h"

namespace kovra::store {

struct free_lists {
  int handle = -1;
  int32_t* heads = nullptr;  // the five list heads (in the main set's header copy)
};

// A block of `size` bytes (header included, 17-65,535): the tail of a free block of a
// larger class, or new space at the end of the file. The caller writes its header.
// -1 on failure (after the corruption report when a list is damaged).
rec_pos get_free_block(const free_lists& lists, int32_t size);

// Frees a block, merging it with the free blocks that follow it while the sum stays below
// 65,535. False on failure.
bool put_free_block(const free_lists& lists, rec_pos position, int32_t size);

// True when every list head is sound: a free block without prev whose size lies in its
// class. `why` (optional) says what is wrong. Never reports.
bool free_heads_sound(const free_lists& lists, const char** why = nullptr);
// The same, taking the corruption path on a damaged head; false then.
bool check_free_heads(const free_lists& lists);

namespace detail {
// Throwing forms for use inside the store.
rec_pos take_free_block(const free_lists& lists, int32_t size);
void give_free_block(const free_lists& lists, rec_pos position, int32_t size);
void add_to_free_list(const free_lists& lists, rec_pos position, int32_t size);
void remove_from_free_list(const free_lists& lists, rec_pos position, const block_header& h);
void require_free_head(const free_lists& lists, int c);
} // namespace detail

} // namespace kovra::store
