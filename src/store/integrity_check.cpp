#include "store/integrity_check.h"

#include "store/block_header.h"
#include "store/byte_order.h"
#include "store/check_block.h"
#include "store/container.h"
#include "store/container_key_io.h"
#include "store/key_index_verify.h"
#include "store/set_checksum.h"
#include "store/set_header.h"

#include <cstdarg>
#include <cstdio>
#include <map>
#include <new>
#include <set>
#include <stdexcept>

namespace kovra::store {

namespace {

constexpr int index_header_bytes = 68;
constexpr size_t max_problems = 1000;  // a wrecked file is described, not listed to exhaustion

struct checker {
  checker(int h, integrity_report& r) : handle(h), report(r) {}
  int handle;
  integrity_report& report;
  int64_t length = 0;
  std::map<rec_pos, block_header> blocks;  // every block of the tiling
  std::set<rec_pos> segments_seen;

  void problem(const char* format, ...) __attribute__((format(printf, 2, 3))) {
    if (report.problems.size() >= max_problems) return;
    char text[300];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    report.problems.emplace_back(text);
    if (report.problems.size() == max_problems) report.problems.emplace_back("too many problems; the rest not listed");
  }

  const block_header* block(rec_pos p) const {
    const auto it = blocks.find(p);
    return it == blocks.end() ? nullptr : &it->second;
  }

  bool read_set(int32_t base, set_header& out) {
    uint8_t bytes[set_header_size];
    if (read_at(handle, base, bytes, set_header_size) != set_header_size) return false;
    out = decode_set_header(bytes);
    return true;
  }

  // The blocks from `start` to the end of the file, one after another.
  void walk_blocks(int64_t start) {
    int64_t at = start;
    while (at < length) {
      block_header h;
      if (at + block_header_size > length || !read_block_header(handle, rec_pos(at), h)) {
        problem("%lld: %lld bytes after the last block are not a block", (long long)at, (long long)(length - at));
        return;
      }
      if (!block_header_sound(h) || h.size < block_header_size) {
        problem("%lld: block header unsound (size %d, capacity %d, used %d); the blocks after it are not checked",
                (long long)at, h.size, h.capacity, h.used);
        return;
      }
      if (at + h.size > length) {
        problem("%lld: block of %d bytes runs past the end of the file", (long long)at, h.size);
        return;
      }
      blocks.emplace(rec_pos(at), h);
      ++report.blocks;
      if (h.type == REC_TYPE_FREE) {
        ++report.free_blocks;
        report.free_bytes += h.size;
      }
      at += h.size;
    }
  }

  void check_free_lists(const int32_t heads[5]) {
    std::set<rec_pos> listed;
    for (int c = 0; c < free_list_count; ++c) {
      rec_pos prev = -1;
      size_t steps = 0;
      for (rec_pos p = heads[c]; p != -1; p = blocks.at(p).next) {
        if (++steps > blocks.size()) {
          problem("free list %d: loops", c);
          break;
        }
        const block_header* h = block(p);
        if (!h) {
          problem("free list %d: %ld is not a block", c, long(p));
          break;
        }
        if (h->type != REC_TYPE_FREE) problem("free list %d: %ld is not a free block", c, long(p));
        if (free_class(h->size) != c) problem("free list %d: %ld has %d bytes, outside the class", c, long(p), h->size);
        if (h->prev != prev) problem("free list %d: %ld does not link back to %ld", c, long(p), long(prev));
        if (!listed.insert(p).second) {
          problem("free list %d: %ld is listed twice", c, long(p));
          break;
        }
        prev = p;
      }
    }
    for (const auto& [p, h] : blocks)
      if (h.type == REC_TYPE_FREE && free_class(h.size) < free_list_count && !listed.count(p))
        problem("%ld: free block of %d bytes on no free list", long(p), h.size);
  }

  void check_blob(rec_pos p, const block_header& h) {
    std::vector<uint8_t> data(h.used);
    if (h.used < 10 || read_at(handle, p + block_header_size, data.data(), h.used) != h.used) {
      problem("%ld: blob header too short", long(p));
      return;
    }
    const int32_t total = get_i32(data.data() + 2);
    const int32_t n = get_i32(data.data() + 6);
    if (n < 0 || 10 + 4 * int64_t(n) > h.used) {
      problem("%ld: blob header counts %d segments in %d bytes", long(p), n, h.used);
      return;
    }
    int64_t sum = 0;
    for (int32_t i = 0; i < n; ++i) {
      const rec_pos seg = get_i32(data.data() + 10 + 4 * i);
      const block_header* s = block(seg);
      if (!s || s->type != REC_TYPE_BLOB_SEGMENT) {
        problem("%ld: blob segment %d at %ld is not a segment block", long(p), i, long(seg));
        continue;
      }
      if (!segments_seen.insert(seg).second) problem("%ld: blob segment %ld used twice", long(p), long(seg));
      sum += s->capacity;
    }
    if (sum != total) problem("%ld: blob of %d bytes has %lld bytes of segments", long(p), total, (long long)sum);
  }

  void check_chains(const set_header& sh, int set_no, integrity_report::set_info& info) {
    for (int k = 0; k < max_chains; ++k) {
      if (sh.first[k] == -1 && sh.last[k] == -1 && sh.count[k] == 0 && k >= sh.class_count) continue;
      integrity_report::chain_info chain;
      chain.chain = k;
      rec_pos prev = -1;
      int64_t count = 0;
      size_t steps = 0;
      int type = -1;
      for (rec_pos p = sh.first[k]; p != -1;) {
        if (++steps > blocks.size()) {
          problem("set %d chain %d: loops", set_no, k);
          break;
        }
        const block_header* h = block(p);
        if (!h) {
          problem("set %d chain %d: %ld is not a block", set_no, k, long(p));
          break;
        }
        if (h->type == REC_TYPE_FREE || h->type == REC_TYPE_BTREE_LEAF || h->type == REC_TYPE_BLOB_SEGMENT ||
            h->type == REC_TYPE_SUBFILE_HDR) {
          problem("set %d chain %d: %ld is a block of type %d, not a record", set_no, k, long(p), h->type);
          break;
        }
        if (h->set_no != set_no) problem("set %d chain %d: %ld belongs to set %d", set_no, k, long(p), h->set_no);
        if (h->prev != prev) problem("set %d chain %d: %ld does not link back to %ld", set_no, k, long(p), long(prev));
        if (h->type == REC_TYPE_BLOB) check_blob(p, *h);
        else if (type == -1) type = h->type;
        else if (h->type != type)
          problem("set %d chain %d: %ld has type %d among records of type %d", set_no, k, long(p), h->type, type);
        ++count;
        prev = p;
        p = h->next;
      }
      if (prev != sh.last[k]) problem("set %d chain %d: ends at %ld, last is %ld", set_no, k, long(prev), long(sh.last[k]));
      if (uint16_t(count) != sh.count[k])
        problem("set %d chain %d: %lld records, count says %d", set_no, k, (long long)count, sh.count[k]);
      chain.type = type < 0 ? 0 : type;
      chain.count = int(count);
      info.chains.push_back(chain);
    }
  }

  // The set's key index; a header counting no index belongs to a set made without one.
  void check_keys(int32_t header_position, int set_no, integrity_report::set_info& info) {
    uint8_t count[2] = {};
    if (read_at(handle, header_position + 10, count, 2) == 2 && get_i16(count) == 0) return;
    container_key_block_io io(handle);
    const key_index_check k = verify_key_index(io, header_position);
    for (const auto& s : k.indexes) info.keys.push_back({s.index, s.count, s.levels});
    for (const auto& p : k.problems) problem("set %d: %s", set_no, p.c_str());
  }

  void check_set(int32_t base, int set_no, int64_t limit) {
    set_header sh;
    if (!read_set(base, sh)) {
      problem("set %d: header at %ld cannot be read", set_no, long(base));
      return;
    }
    integrity_report::set_info info;
    info.set_no = set_no;
    if (sh.set_no != set_no) problem("set %d: its header says set %d", set_no, sh.set_no);
    if (sh.class_count < 0 || sh.class_count > max_chains) problem("set %d: %d chains", set_no, sh.class_count);
    if (int64_t(base) + set_header_size + index_header_bytes + sh.user_header_size > limit)
      problem("set %d: user header of %d bytes does not fit", set_no, sh.user_header_size);
    check_chains(sh, set_no, info);
    check_keys(base + set_header_size, set_no, info);
    report.sets.push_back(info);
  }

  void run() {
    length = file_length(handle);
    report.length = length;
    set_header main;
    if (length < main_set_base + set_header_size + index_header_bytes || !read_set(main_set_base, main)) {
      problem("the file is too short for a record set");
      return;
    }
    const int64_t first_block =
        int64_t(main_set_base) + set_header_size + index_header_bytes + std::max<int16_t>(main.user_header_size, 0);
    if (first_block > length) {
      problem("the user header of %d bytes runs past the end of the file", main.user_header_size);
      return;
    }
    walk_blocks(first_block);
    check_free_lists(main.free_heads);
    check_set(main_set_base, 0, first_block);
    for (const auto& [p, h] : blocks) {
      if (h.type == REC_TYPE_SUBFILE_HDR) {
        if (h.capacity < set_header_size + index_header_bytes) problem("%ld: sub-set block too small", long(p));
        else check_set(p + block_header_size, h.set_no, int64_t(p) + h.size);
      }
    }
    for (const auto& [p, h] : blocks)
      if (h.type == REC_TYPE_BLOB_SEGMENT && !segments_seen.count(p))
        problem("%ld: blob segment that no blob uses", long(p));
    for (const auto& [p, h] : blocks) {
      if (h.type == REC_TYPE_FREE || h.type == REC_TYPE_BLOB_SEGMENT || h.type == REC_TYPE_BTREE_LEAF) continue;
      const char* why = nullptr;
      if (!block_is_sound(handle, p, &why)) problem("%ld: %s", long(p), why);
    }
    if (main.store_version >= STORE_VERSION) {
      switch (verify_checksum(handle, main_set_base + set_checksum_offset)) {
      case 0: report.checksum = "ok"; break;
      case 3:
        report.checksum = "off_by_one";
        problem("checksum differs by one");
        break;
      default:
        report.checksum = "mismatch";
        problem("checksum mismatch");
        break;
      }
    }
  }
};

} // namespace

void check_open_container(int handle, integrity_report& report) {
  try {
    checker c(handle, report);
    c.run();
  } catch (const std::bad_alloc&) {
    report.problems.emplace_back("out of memory while checking");
  } catch (const std::out_of_range&) {
    report.problems.emplace_back("free list leaves the file's blocks");
  }
}

integrity_report check_container(const std::string& path) {
  integrity_report report;
  const int handle = open_container(path, STORAGE_COMPRESSED, OPEN_READ_SHARED | OPEN_KEEP_COUNT, 0, 0, 0,
                                    &report.header);
  if (handle < 0) {
    const uint8_t code = last_open_error();
    if (code == OPEN_FAILED) {
      // A container whose body cannot be read (a damaged compressed stream) is an unsound
      // container, not "no container".
      const int raw = open_container(path, STORAGE_DIRECT, OPEN_READ_SHARED | OPEN_KEEP_COUNT, 0, 0, 0,
                                     &report.header);
      if (raw >= 0) {
        report.is_container = true;
        report.length = file_length(raw);
        report.problems.emplace_back(report.header.compressed() ? "the compressed body cannot be inflated"
                                                                : "the file cannot be read");
        close_container(raw);
        return report;
      }
    }
    report.open_problem = code == OPEN_BAD_MAGIC       ? "not a container"
                          : code == OPEN_NOT_FOUND     ? "file not found"
                          : code == OPEN_ACCESS_DENIED ? "locked by another program"
                                                       : "cannot be opened";
    return report;
  }
  report.is_container = true;
  check_open_container(handle, report);
  close_container(handle);
  return report;
}

} // namespace kovra::store
