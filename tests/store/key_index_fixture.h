#pragma once
// A fresh key-index world per test: empty descriptor table and cache, an in-memory
// container, and a fatal handler that records instead of ending anything.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "store/key_block.h"
#include "store/key_block_io.h"
#include "store/key_index.h"
#include "store/key_index_verify.h"
#include "store/log.h"
#include "store/temp_folder_support.h"

namespace kovra::test {

class recording_fatal_handler : public store::fatal_handler {
public:
  void fatal(const std::string& text) override { texts.push_back(text); }
  std::vector<std::string> texts;
};

inline store::key_entry int_entry(int32_t key, int32_t value) {
  store::key_entry e;
  e.set_key_i32(key);
  e.set_value(value);
  return e;
}

inline int32_t key_i32(const store::key_entry& e) { return store::key_block::get32(e.key()); }

class KeyIndexTest : public ::testing::Test {
protected:
  void SetUp() override {
    store::reset_key_index_state();
    store::reset_log_state();
    store::set_program_folder(dir.folder());
    store::set_fatal_handler(&handler);
  }
  void TearDown() override {
    store::reset_key_index_state();
    store::set_fatal_handler(nullptr);
    store::reset_log_state();
    store::set_program_folder("");
  }

  // Creates one index in `io` at header position 0 and opens it; returns its number.
  int open_one(int key_type, int levels, int key_length) {
    store::key_descriptor d{int16_t(key_type), int16_t(levels), int16_t(key_length), &slot};
    EXPECT_EQ(store::create_key_index(io, 0, &d, 1, 3), store::KEY_OK);
    return reopen();
  }
  int reopen() {
    store::key_descriptor d{0, 0, 0, &slot};
    bool error = false;
    object = store::open_key_index(io, 0, 0, error, 3, &d, 1);
    EXPECT_NE(object, nullptr);
    EXPECT_FALSE(error);
    return slot;
  }
  // Writes everything back, releases and opens again (an empty cache afterwards).
  int cycle() {
    EXPECT_EQ(store::release_key_index(object), store::KEY_OK);
    return reopen();
  }
  store::key_index_check check() {
    EXPECT_EQ(store::write_key_index(object, 0), store::KEY_OK);
    return store::verify_key_index(io, 0);
  }
  // Every (key, value) from first to last.
  std::vector<std::pair<int32_t, int32_t>> walk_ints(int index) {
    std::vector<std::pair<int32_t, int32_t>> out;
    store::key_entry e;
    for (int r = store::key_first(index, e); r == store::KEY_OK; r = store::key_next(e))
      out.emplace_back(key_i32(e), e.value());
    return out;
  }
  std::string log_text() const { return dir.read("LOG.LOG"); }

  temp_folder dir;
  recording_fatal_handler handler;
  store::memory_key_block_io io;
  store::key_index* object = nullptr;
  int16_t slot = -1;
};

} // namespace kovra::test
