#include "store/record_set.h"

#include "store/check_block.h"
#include "store/container.h"
#include "store/paths.h"
#include "store/record_set_internal.h"
#include "store/set_checksum.h"
#include "store/store_error.h"

#include <cstring>
#include <new>
#include <unistd.h>
#include <vector>

namespace kovra::store {

namespace {

// Writes bytes only when they differ from what the file holds, so that a flush of an
// unchanged set leaves the document unchanged.
bool write_if_changed(int handle, int32_t position, const uint8_t* data, int length) {
  std::vector<uint8_t> now(size_t(length), 0);
  if (read_at(handle, position, now.data(), length) == length && std::memcmp(now.data(), data, size_t(length)) == 0)
    return true;
  return write_at(handle, position, data, length);
}

bool write_set_header(record_set& s) {
  uint8_t bytes[set_header_size];
  encode_set_header(s.header, bytes);
  return write_if_changed(s.handle, s.base, bytes, set_header_size);
}

bool read_set_header(int handle, int32_t base, set_header& out) {
  uint8_t bytes[set_header_size];
  if (read_at(handle, base, bytes, set_header_size) != set_header_size) return false;
  out = decode_set_header(bytes);
  return true;
}

// A set header that can be trusted as far as the store's own use goes.
bool set_header_usable(const set_header& h, int64_t file_size, int class_count) {
  if (h.class_count < 0 || h.class_count > max_chains || h.user_header_size < 0) return false;
  if (class_count > max_chains) return false;
  for (int i = 0; i < max_chains; ++i) {
    for (rec_pos p : {h.first[i], h.last[i]})
      if (p != -1 && (p < file_header_size || p >= file_size)) return false;
  }
  return true;
}

void bind_classes(record_set& s, record_class* classes, int count) {
  for (int i = 0; i < count; ++i) {
    classes[i].chain = i;
    classes[i].set = &s;
  }
}

void unbind_classes(record_class* classes, int count) {
  for (int i = 0; i < count; ++i) classes[i].set = nullptr;
}

bool flush_one(record_set& s) {
  if (s.read_only) return true;
  bool ok = true;
  if (s.keys) ok = s.keys->write(s.base + set_header_size) && ok;
  ok = write_set_header(s) && ok;
  if (s.writer) ok = s.writer(s.handle, s.user_header) && ok;
  return ok;
}

// The checksum of the main set: stored with the field first zeroed in the header.
bool store_set_checksum(record_set& s, int32_t* value) {
  if (s.read_only || s.main || s.header.store_version < STORE_VERSION) return true;
  s.header.checksum = 0;
  const bool was_modified = container_modified(s.handle);
  if (!write_set_header(s)) return false;
  if (!was_modified) set_container_modified(s.handle, false);
  int32_t stored = 0;
  if (!store_checksum(s.handle, s.base + set_checksum_offset, &stored)) return false;
  s.header.checksum = stored;
  if (value) *value = stored;
  return true;
}

bool flush_all(record_set& s) {
  bool ok = true;
  for (record_set* sub = s.first_sub; sub; sub = sub->next_sub) ok = flush_one(*sub) && ok;
  ok = flush_one(s) && ok;
  // The stored checksum follows every flush: a document saved and then lost with the
  // program still matches its checksum.
  if (!s.main && s.checksum_wanted) ok = store_set_checksum(s, nullptr) && ok;
  if (s.storage == STORAGE_DIRECT && !s.read_only) ok = sync_container(s.handle) && ok;
  return ok;
}

void free_set(record_set* s) { delete s; }

} // namespace

bool create_record_set(const create_set_request& r) {
  if (r.class_count < 0 || r.class_count > max_chains || r.user_header_size < 0 ||
      r.user_header_size > 65535)
    return false;
  const int handle = create_container(r.path, STORAGE_DIRECT, r.header_template, r.file_type, r.version);
  if (handle < 0) return false;
  bool ok = false;
  try {
    record_set s;
    s.handle = handle;
    s.base = main_set_base;
    s.user_header = main_set_base + set_header_size + key_index_header_size;
    s.heads = s.header.free_heads;
    s.header.class_count = int16_t(r.class_count);
    s.header.user_header_size = int16_t(r.user_header_size);
    ok = expand_file(handle, set_header_size + key_index_header_size + r.user_header_size) >= 0;
    ok = ok && write_set_header(s);
    if (ok && r.keys.create) ok = r.keys.create(handle, s.base + set_header_size, 0);
    if (ok && r.writer) ok = r.writer(handle, s.user_header);
    ok = ok && store_set_checksum(s, nullptr);
  } catch (const store_failure&) {
    ok = false;
  } catch (const std::bad_alloc&) {
    ok = false;
  }
  close_container(handle);
  if (!ok) {
    ::unlink(r.path.c_str());
    set_last_open_error(OPEN_FAILED);
  }
  return ok;
}

record_set* open_record_set(const open_set_request& r, int* result) {
  if (result) *result = CHECKSUM_OK;
  set_last_open_error(OPEN_OK);
  if (r.class_count < 0 || r.class_count > max_chains) {
    set_last_open_error(OPEN_FAILED);
    return nullptr;
  }
  int open_mode = r.open_mode;
  bool copy_is_ours = false;
  if (r.working_copy) {
    const uint8_t code = prepare_working_copy(r.path, r.decision, open_mode, copy_is_ours);
    if (code != OPEN_OK) {
      set_last_open_error(code);
      return nullptr;
    }
  }
  const int handle = open_container(r.path, r.storage, open_mode, r.file_type, r.version, r.checks, nullptr);
  if (handle < 0) return nullptr;

  auto fail = [&](record_set* s, uint8_t code) -> record_set* {
    if (s) {
      if (s->keys) s->keys->release();
      unbind_classes(r.classes, r.class_count);
      delete s;
    }
    close_container(handle);
    set_last_open_error(code);
    return nullptr;
  };

  record_set* s = nullptr;
  try {
    s = new record_set;
    s->handle = handle;
    s->base = main_set_base;
    s->user_header = main_set_base + set_header_size + key_index_header_size;
    s->heads = s->header.free_heads;
    s->reader = r.reader;
    s->writer = r.writer;
    s->classes = r.classes;
    s->class_count = r.class_count;
    s->checksum_wanted = r.checksum_wanted;
    s->read_only = (open_mode & 3) >= 2;
    s->storage = r.storage;
    if (!read_set_header(handle, s->base, s->header) ||
        !set_header_usable(s->header, file_length(handle), r.class_count))
      return fail(s, OPEN_FAILED);
    if (r.keys.open) {
      s->keys = r.keys.open(handle, s->base + set_header_size, open_mode, 0);
      if (!s->keys) return fail(s, OPEN_FAILED);
    }
    bind_classes(*s, r.classes, r.class_count);
    if (r.reader && !r.reader(handle, s->user_header)) return fail(s, OPEN_FAILED);
    if (!check_free_heads(s->lists())) return fail(s, OPEN_FAILED);
    if (r.checksum_wanted && s->header.store_version >= STORE_VERSION && result)
      *result = verify_checksum(handle, s->base + set_checksum_offset);
    if (r.working_copy && copy_is_ours) {
      const std::string copy = working_copy_name(r.path);
      if (!write_working_copy(r.path, copy)) return fail(s, OPEN_COPY_FAILED);
      s->copy_path = copy;
    }
  } catch (const store_failure&) {
    return fail(s, OPEN_FAILED);
  } catch (const std::bad_alloc&) {
    return fail(s, OPEN_FAILED);
  }
  return s;
}

bool flush_record_set(record_set* s) {
  if (!s) return false;
  try {
    return flush_all(*s);
  } catch (const store_failure&) {
    return false;
  } catch (const std::bad_alloc&) {
    return false;
  }
}

bool close_record_set(record_set* s, int32_t* checksum_out, bool store_checksum) {
  if (!s || s->main) return false;
  bool ok = true;
  try {
    ok = check_free_heads(s->lists());
    // Sub-sets first, then the set itself.
    for (record_set* sub = s->first_sub; sub; sub = sub->next_sub) ok = flush_one(*sub) && ok;
    ok = flush_one(*s) && ok;
    while (record_set* sub = s->first_sub) {
      if (sub->keys) sub->keys->release();
      sub->keys.reset();
      unbind_classes(sub->classes, sub->class_count);
      s->first_sub = sub->next_sub;
      delete sub;
    }
    if (s->keys) s->keys->release();
    s->keys.reset();
    if (s->checksum_wanted && store_checksum) ok = store_set_checksum(*s, checksum_out) && ok;
    else if (checksum_out) *checksum_out = s->header.checksum;
    if (s->storage == STORAGE_DIRECT && !s->read_only) ok = sync_container(s->handle) && ok;
  } catch (const store_failure&) {
    ok = false;
  } catch (const std::bad_alloc&) {
    ok = false;
  }
  ok = close_container(s->handle) && ok;
  // The working copy goes only with a close that wrote everything: after any failure the
  // file may not be whole, and the copy is what the next open restores.
  if (ok && !s->copy_path.empty()) ::unlink(s->copy_path.c_str());
  unbind_classes(s->classes, s->class_count);
  free_set(s);
  return ok;
}

rec_pos create_subset(record_class& main_class, int set_no, int class_count, int user_header_size,
                      const key_index_binding& keys, const user_header_io& writer) {
  record_set* m = set_of(main_class);
  if (m && m->main) m = m->main;
  if (!m || m->read_only || class_count < 0 || class_count > max_chains || user_header_size < 0) return -1;
  const int32_t size = user_header_size + key_index_header_size + set_header_size + block_header_size;
  if (size > max_block_size) return -1;
  try {
    const rec_pos p = detail::take_free_block(m->lists(), size);
    block_header bh;
    bh.type = REC_TYPE_SUBFILE_HDR;
    bh.set_no = uint16_t(set_no);
    bh.size = uint16_t(size);
    bh.capacity = bh.used = uint16_t(size - block_header_size);
    if (!write_block_header(m->handle, p, bh)) return -1;
    std::vector<uint8_t> zeros(size_t(size - block_header_size), 0);
    if (!write_at(m->handle, p + block_header_size, zeros.data(), int64_t(zeros.size()))) return -1;
    record_set sub;
    sub.handle = m->handle;
    sub.base = p + block_header_size;
    sub.header.set_no = int16_t(set_no);
    sub.header.class_count = int16_t(class_count);
    sub.header.user_header_size = int16_t(user_header_size);
    for (int32_t& head : sub.header.free_heads) head = 0;  // meaningful in the main set only
    if (!write_set_header(sub)) return -1;
    if (keys.create && !keys.create(m->handle, sub.base + set_header_size, set_no)) return -1;
    if (writer && !writer(m->handle, sub.base + set_header_size + key_index_header_size)) return -1;
    require_sound_block(m->handle, p);
    return p;
  } catch (const store_failure&) {
    return -1;
  } catch (const std::bad_alloc&) {
    return -1;
  }
}

record_set* open_subset(record_class& main_class, rec_pos position, record_class* classes, int class_count,
                        const key_index_binding& keys, const user_header_io& reader, const user_header_io& writer) {
  record_set* m = set_of(main_class);
  if (m && m->main) m = m->main;
  if (!m || class_count < 0 || class_count > max_chains) return nullptr;
  record_set* s = nullptr;
  try {
    block_header bh;
    if (!read_block_header(m->handle, position, bh) || bh.type != REC_TYPE_SUBFILE_HDR ||
        !block_is_sound(m->handle, position) ||
        bh.capacity < set_header_size + key_index_header_size)
      return nullptr;
    s = new record_set;
    s->handle = m->handle;
    s->block = position;
    s->base = position + block_header_size;
    s->user_header = s->base + set_header_size + key_index_header_size;
    s->heads = m->heads;
    s->reader = reader;
    s->writer = writer;
    s->classes = classes;
    s->class_count = class_count;
    s->read_only = m->read_only;
    s->storage = m->storage;
    s->main = m;
    if (!read_set_header(m->handle, s->base, s->header) ||
        !set_header_usable(s->header, file_length(m->handle), class_count) ||
        set_header_size + key_index_header_size + s->header.user_header_size > bh.capacity) {
      delete s;
      return nullptr;
    }
    if (keys.open) {
      s->keys = keys.open(m->handle, s->base + set_header_size, container_open_mode(m->handle), s->header.set_no);
      if (!s->keys) {
        delete s;
        return nullptr;
      }
    }
    bind_classes(*s, classes, class_count);
    if (reader && !reader(m->handle, s->user_header)) {
      if (s->keys) s->keys->release();
      unbind_classes(classes, class_count);
      delete s;
      return nullptr;
    }
    s->next_sub = m->first_sub;
    if (m->first_sub) m->first_sub->prev_sub = s;
    m->first_sub = s;
    return s;
  } catch (const store_failure&) {
  } catch (const std::bad_alloc&) {
  }
  if (s) unbind_classes(classes, class_count);
  delete s;
  return nullptr;
}

bool close_subset(record_class* classes) {
  if (!classes) return false;
  record_set* s = set_of(classes[0]);
  if (!s || !s->main) return false;
  bool ok = true;
  try {
    ok = flush_one(*s);
  } catch (const store_failure&) {
    ok = false;
  } catch (const std::bad_alloc&) {
    ok = false;
  }
  if (s->keys) s->keys->release();
  unbind_classes(s->classes, s->class_count);
  record_set* m = s->main;
  if (s->prev_sub) s->prev_sub->next_sub = s->next_sub;
  else m->first_sub = s->next_sub;
  if (s->next_sub) s->next_sub->prev_sub = s->prev_sub;
  delete s;
  return ok;
}

bool delete_subset(record_class& main_class, rec_pos position) {
  record_set* m = set_of(main_class);
  if (m && m->main) m = m->main;
  if (!m || m->read_only) return false;
  for (record_set* sub = m->first_sub; sub; sub = sub->next_sub)
    if (sub->block == position) return false;  // still open
  block_header bh;
  if (!read_block_header(m->handle, position, bh) || bh.type != REC_TYPE_SUBFILE_HDR) return false;
  return put_free_block(m->lists(), position, bh.size);
}

int set_handle(const record_set* s) { return s ? s->handle : -1; }
const set_header& set_header_of(const record_set* s) { return s->header; }
int32_t set_base(const record_set* s) { return s ? s->base : -1; }
int32_t set_user_header_position(const record_set* s) { return s ? s->user_header : -1; }
const std::string& set_working_copy(const record_set* s) { return s->copy_path; }

} // namespace kovra::store
