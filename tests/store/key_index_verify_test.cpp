// The integrity check: a sound index reads clean, each kind of damage is named.
#include "store/key_index_fixture.h"
#include "store/key_index_header.h"

using namespace kovra::store;
using kovra::test::int_entry;
using kovra::test::KeyIndexTest;
namespace kb = kovra::store::key_block;

class KeyVerify : public KeyIndexTest {
protected:
  void build() {
    ix = open_one(KEY_INT32, 1, 4);
    for (int32_t k = 0; k < 300; ++k) ASSERT_EQ(key_insert_unique(ix, int_entry(k, k)), KEY_OK);
    for (int32_t k = 0; k < 80; ++k) ASSERT_EQ(key_delete(ix, int_entry(k, k)), KEY_OK);  // frees blocks
    ASSERT_EQ(release_key_index(object), KEY_OK);
    header = decode_index_header(io.image().data());
    root = io.image().data() + header.indexes[0].root;
  }
  int32_t child(int n) { return kb::entry_value(kb::entry(root, 8 * n)); }
  uint8_t* block(int32_t pos) { return io.image().data() + pos; }
  bool mentions(const key_index_check& c, const std::string& what) {
    for (const std::string& p : c.problems)
      if (p.find(what) != std::string::npos) return true;
    return false;
  }
  int ix = -1;
  index_header header;
  uint8_t* root = nullptr;
};

TEST_F(KeyVerify, ASoundIndexReportsItsCountsAndNothingElse) {
  build();
  const key_index_check c = verify_key_index(io, 0);
  EXPECT_TRUE(c.ok());
  ASSERT_EQ(c.indexes.size(), 1u);
  EXPECT_EQ(c.indexes[0].count, 220);
  EXPECT_EQ(c.indexes[0].levels, 2);
  EXPECT_GE(c.free_key_blocks, 1);
  EXPECT_GE(c.key_blocks, 4);
}

TEST_F(KeyVerify, EachDamageIsNamedAndTheCheckGoesOn) {
  build();
  const std::vector<uint8_t> good = io.image();
  auto damaged = [&](auto change) {
    io.image() = good;
    root = io.image().data() + header.indexes[0].root;
    change();
    return verify_key_index(io, 0);
  };
  EXPECT_TRUE(mentions(damaged([&] { kb::put32(kb::entry_key(kb::entry(block(child(1)), 0)), -5); }), "out of order"));
  EXPECT_TRUE(mentions(damaged([&] { kb::put32(kb::entry_key(kb::entry(root, 0)), 1); }), "largest key"));
  EXPECT_TRUE(mentions(damaged([&] { kb::put16(io.image().data() + 20, 7); }), "header says"));
  EXPECT_TRUE(mentions(damaged([&] { kb::set_level(block(child(0)), 1); }), "level"));
  EXPECT_TRUE(mentions(damaged([&] { kb::set_used(block(child(0)), 9); }), "bytes in use"));
  EXPECT_TRUE(mentions(damaged([&] { kb::set_entry_value(kb::entry(root, 8), child(0)); }), "reached twice"));
  EXPECT_TRUE(mentions(damaged([&] { kb::set_entry_value(kb::entry(root, 0), 12345); }), "not a key block"));
  EXPECT_TRUE(mentions(damaged([&] {
    const int32_t leaf = child(int(kb::used(root) / 8 - 1));
    kb::set_entry_value(kb::entry(block(leaf), kb::used(block(leaf)) - 8), 0);
  }), "end marker"));
  EXPECT_TRUE(mentions(damaged([&] { kb::put32(io.image().data() + 2, child(0)); }), "live block"));
  EXPECT_TRUE(mentions(damaged([&] {
    const int32_t head = header.free_blocks;
    kb::set_next_free(block(head), head);
  }), "circle"));
  EXPECT_TRUE(mentions(damaged([&] { kb::put16(io.image().data() + 10, 0); }), "index count"));
  // Several problems at once are all listed.
  const key_index_check many = damaged([&] {
    kb::put16(io.image().data() + 20, 7);
    kb::set_level(block(child(0)), 1);
  });
  EXPECT_GE(many.problems.size(), 2u);
}
