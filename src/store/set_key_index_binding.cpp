#include "store/set_key_index_binding.h"

#include <memory>

#include "store/container_key_io.h"

namespace kovra::store {

namespace {

// One open index header of a set; holds the container access the index works through.
class container_key_index final : public set_key_index {
public:
  explicit container_key_index(int handle) : io_(handle) {}
  ~container_key_index() override { release(); }

  bool open(int32_t header_position, int open_mode, int set_no, const std::vector<key_descriptor>& descriptors) {
    bool error = false;
    index_ = open_key_index(io_, header_position, open_mode, error, set_no, descriptors.data(),
                            int(descriptors.size()));
    return index_ != nullptr;
  }
  bool write(int32_t header_position) override {
    return index_ && write_key_index(index_, header_position) == KEY_OK;
  }
  void release() override {
    if (index_) release_key_index(index_);
    index_ = nullptr;
  }

private:
  container_key_block_io io_;
  key_index* index_ = nullptr;
};

} // namespace

key_index_binding bind_key_indexes(std::vector<key_descriptor> descriptors) {
  key_index_binding b;
  b.create = [descriptors](int handle, int32_t header_position, int set_no) {
    container_key_block_io io(handle);
    return create_key_index(io, header_position, descriptors.data(), int(descriptors.size()), set_no) == KEY_OK;
  };
  b.open = [descriptors](int handle, int32_t header_position, int open_mode,
                         int set_no) -> std::unique_ptr<set_key_index> {
    auto index = std::make_unique<container_key_index>(handle);
    if (!index->open(header_position, open_mode, set_no, descriptors)) return nullptr;
    return index;
  };
  return b;
}

} // namespace kovra::store
