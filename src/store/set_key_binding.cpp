#include "store/set_key_binding.h"

#include "store/container.h"
#include "store/container_key_io.h"

#include <memory>
#include <vector>

namespace kovra::store {

namespace {

// The open index with the block I/O it reads through; the I/O lives as long as the index.
class container_set_keys final : public set_key_index {
public:
  explicit container_set_keys(int handle) : io(handle) {}
  ~container_set_keys() override { release(); }

  bool write(int32_t header_position) override {
    return index && write_key_index(index, header_position) == KEY_OK;
  }
  void release() override {
    if (index) release_key_index(index);
    index = nullptr;
  }

  container_key_block_io io;
  key_index* index = nullptr;
};

} // namespace

key_index_binding bind_key_indexes(const key_descriptor* descriptors, int count) {
  auto kept = std::make_shared<std::vector<key_descriptor>>(descriptors, descriptors + (count > 0 ? count : 0));
  key_index_binding b;
  b.create = [kept](int handle, int32_t header_position, int set_no) {
    container_key_block_io io(handle);
    return create_key_index(io, header_position, kept->data(), int(kept->size()), set_no) == KEY_OK;
  };
  b.open = [kept](int handle, int32_t header_position, int open_mode,
                  int set_no) -> std::unique_ptr<set_key_index> {
    auto keys = std::make_unique<container_set_keys>(handle);
    bool error = false;
    keys->index = open_key_index(keys->io, header_position, open_mode, error, set_no, kept->data(),
                                 int(kept->size()));
    if (!keys->index || error) return nullptr;
    return keys;
  };
  return b;
}

} // namespace kovra::store
