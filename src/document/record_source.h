#pragma once
// The records of one estimate record set as the document layer sees them: chains of
// records addressed by position, a user header, and the key indexes over the price chain.
//
// The tree and the schema operations work through this interface only, so that they run
// the same over an open container and over records held in memory (tests, JSON build).
// Nothing here throws; failures come back as -1 / false.
#include "document/bytes.h"

#include <cstddef>
#include <optional>
#include <span>
#include <vector>

namespace kovra::document {

// Locate and insert modes.
enum rec_mode : int { FIRST_REC = 0, PREV_REC = 1, THIS_REC = 2, NEXT_REC = 3, LAST_REC = 4 };

struct key_entry {
  rec_pos value = NO_POS;
  std::vector<uint8_t> key;
};

// Results of key_insert.
inline constexpr int KEY_OK = 0;
inline constexpr int KEY_REF_NOT_FOUND = 2;
inline constexpr int KEY_DUPLICATE = 3;

class record_source {
public:
  virtual ~record_source() = default;

  virtual int chain_count() const = 0;
  // FIRST_REC / LAST_REC: the chain's first / last record; PREV_REC / NEXT_REC: the
  // neighbour of `pos`; THIS_REC: `pos` when it is a record of the chain. -1 none.
  virtual rec_pos locate(int chain, int mode, rec_pos pos) const = 0;
  // The record's stored bytes; false when `pos` is no record of the chain.
  virtual bool read(int chain, rec_pos pos, std::vector<uint8_t>& out) const = 0;
  virtual std::size_t count(int chain) const = 0;
  // Inserts relative to `pos` (FIRST_REC and LAST_REC ignore it). An auto-numbered chain
  // writes the record's serial number into the first two bytes of `data`, so the caller
  // sees it. Returns the new position, -1 on failure.
  virtual rec_pos insert(int chain, int mode, rec_pos pos, std::span<uint8_t> data) = 0;
  // Replaces the record's bytes; returns its (possibly new) position, -1 on failure.
  virtual rec_pos rewrite(int chain, rec_pos pos, std::span<const uint8_t> data) = 0;
  // Overwrites the record's stored bytes in place; the record keeps its length (extra
  // bytes of `data` are dropped, a shorter `data` changes only its length of bytes).
  virtual bool rewrite_keep_size(int chain, rec_pos pos, std::span<const uint8_t> data) = 0;
  virtual bool remove(int chain, rec_pos pos) = 0;
  // Relinks the record before / after `ref` (PREV_REC / NEXT_REC) or to either end of the
  // chain (FIRST_REC / LAST_REC); its position and bytes stay.
  virtual bool move_record(int chain, rec_pos pos, int mode, rec_pos ref) = 0;

  virtual std::vector<uint8_t> user_header() const = 0;
  virtual void set_user_header(std::span<const uint8_t> data) = 0;

  virtual int key_count() const = 0;
  // The first entry whose key is not below `key`; none at the end of the index.
  virtual std::optional<key_entry> key_seek(int index, std::span<const uint8_t> key) const = 0;
  // Values of the entries whose key equals `key`, in index order.
  virtual std::vector<rec_pos> key_values(int index, std::span<const uint8_t> key) const = 0;
  // Adds (key, value) among the entries with an equal key: FIRST_REC before all of them,
  // LAST_REC after all, PREV_REC / NEXT_REC before / after the one whose value is `ref`.
  // KEY_OK, KEY_REF_NOT_FOUND, or KEY_DUPLICATE when the same key and value exist.
  virtual int key_insert(int index, std::span<const uint8_t> key, rec_pos value, int mode, rec_pos ref) = 0;
  virtual bool key_delete(int index, std::span<const uint8_t> key, rec_pos value) = 0;
  // The whole index in order.
  virtual std::vector<key_entry> key_entries(int index) const = 0;

  // Unsaved changes of the container.
  virtual bool modified() const = 0;
  virtual void set_modified(bool value) = 0;
};

// Reads a record or gives an empty buffer.
std::vector<uint8_t> read_or_empty(const record_source& src, int chain, rec_pos pos);

} // namespace kovra::document
