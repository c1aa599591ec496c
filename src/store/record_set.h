#pragma once
// Record sets: the main set of a container (at 293) and its sub-sets (in type-100 blocks),
// each with up to ten chains, a key index and a user header that belongs to the document
// layer. The document layer reaches a chain through its `record_class`.
#include "store/block_header.h"
#include "store/file_header.h"
#include "store/set_header.h"
#include "store/working_copy.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace kovra::store {

struct record_set;

// The document layer's handle to one chain.
struct record_class {
  uint8_t rec_type = 0;
  uint8_t auto_number = 0;  // 1: new records get the chain's next serial in their first two bytes
  int32_t chain = -1;       // set when the set is opened (the place in the table)
  record_set* set = nullptr;
};

inline constexpr int key_index_header_size = 68;

// The key index of a set, as the set sees it: written back at flush, released at close.
class set_key_index {
public:
  virtual ~set_key_index() = default;
  virtual bool write(int32_t header_position) = 0;
  virtual void release() = 0;
};

// How a set's key index is made and opened (the caller binds its descriptors in). Without
// them the 68-byte area is left zeroed and no index is opened.
struct key_index_binding {
  std::function<bool(int handle, int32_t header_position, int set_no)> create;
  std::function<std::unique_ptr<set_key_index>(int handle, int32_t header_position, int open_mode, int set_no)> open;
};

// User header reader and writer: (handle, user header position).
using user_header_io = std::function<bool(int handle, int32_t position)>;

struct create_set_request {
  std::string path;
  file_header header_template;
  uint8_t file_type = 0;
  int16_t version = 0;
  int class_count = 0;
  int user_header_size = 0;
  key_index_binding keys;
  user_header_io writer;
};

// Creates the container with an empty main set, stores the checksum and closes it.
bool create_record_set(const create_set_request& request);

struct open_set_request {
  std::string path;
  int storage = 1;
  int open_mode = 0;
  uint8_t file_type = 0;
  int16_t version = 0;
  int checks = 0;
  record_class* classes = nullptr;
  int class_count = 0;
  key_index_binding keys;
  user_header_io reader;
  user_header_io writer;
  bool working_copy = false;  // keep a ".kv~" copy while open (documents opened for work)
  leftover_decision decision;  // empty: the standard decision
  bool checksum_wanted = false;
};

// Checksum results of an open.
enum checksum_result : int { CHECKSUM_OK = 0, CHECKSUM_OFF_BY_ONE = 3, CHECKSUM_MISMATCH = 4 };

// Opens the container and its main set. nullptr on failure, with last_open_error() set
// (243-255); `result` receives 0, 3 or 4.
record_set* open_record_set(const open_set_request& request, int* result = nullptr);
// Flushes sub-sets and the set, stores the checksum (unless `store_checksum` is false: a
// document refused for its checksum is closed unchanged), closes the container, deletes
// the working copy (kept when anything failed: the file may not be whole), unbinds the
// classes and frees the set. `checksum_out` may be null.
bool close_record_set(record_set* set, int32_t* checksum_out = nullptr, bool store_checksum = true);
// Writes back key index, set header and user header of every open sub-set and then of the
// set; flushes system buffers in direct storage.
bool flush_record_set(record_set* set);

// Sub-sets, in blocks of the main set's free space.
rec_pos create_subset(record_class& main_class, int set_no, int class_count, int user_header_size,
                      const key_index_binding& keys, const user_header_io& writer);
record_set* open_subset(record_class& main_class, rec_pos position, record_class* classes, int class_count,
                        const key_index_binding& keys, const user_header_io& reader, const user_header_io& writer);
bool close_subset(record_class* classes);
bool delete_subset(record_class& main_class, rec_pos position);

// What the set holds (for the document layer and the integrity check).
int set_handle(const record_set* set);
const set_header& set_header_of(const record_set* set);
int32_t set_base(const record_set* set);
int32_t set_user_header_position(const record_set* set);
const std::string& set_working_copy(const record_set* set);

} // namespace kovra::store
