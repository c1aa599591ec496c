// The index header and fresh indexes, byte by byte; opening and the descriptor table.
#include <cstring>

#include "store/key_index_fixture.h"
#include "store/key_index_header.h"

using namespace kovra::store;
using kovra::test::KeyIndexTest;
namespace kb = kovra::store::key_block;

namespace {

int16_t i16(const uint8_t* p) { return int16_t(p[0] | p[1] << 8); }

} // namespace

TEST(KeyIndexHeader, FieldsSitAtTheirOffsetsAndTheCountKeeps24Bits) {
  index_header h;
  h.free_blocks = 0x01020304;
  h.index_count = 2;
  h.indexes[1] = {3, 0x123456, 7, 6, 10, 0x0A0B0C0D};
  uint8_t out[index_header_size];
  encode_index_header(h, out);
  EXPECT_EQ(i16(out), 0);
  EXPECT_EQ(kb::get32(out + 2), 0x01020304);
  EXPECT_EQ(kb::get32(out + 6), 0);
  EXPECT_EQ(i16(out + 10), 2);
  const uint8_t* j1 = out + 12 + 14;
  EXPECT_EQ(j1[0], 3);
  EXPECT_EQ(j1[1], 0x12);
  EXPECT_EQ(i16(j1 + 2), 7);
  EXPECT_EQ(i16(j1 + 4), 6);
  EXPECT_EQ(i16(j1 + 6), 10);
  EXPECT_EQ(uint16_t(i16(j1 + 8)), 0x3456);
  EXPECT_EQ(kb::get32(j1 + 10), 0x0A0B0C0D);
  const index_header back = decode_index_header(out);
  EXPECT_EQ(back.indexes[1].count, 0x123456);
  EXPECT_EQ(back.indexes[1].root, 0x0A0B0C0D);
  EXPECT_EQ(back.free_blocks, 0x01020304);
}

TEST_F(KeyIndexTest, CreateBuildsOneEndMarkerBlockPerLevelAndTheHeader) {
  key_descriptor d[2] = {{KEY_INT32, 3, 4, nullptr}, {KEY_BYTES, 1, 6, nullptr}};
  ASSERT_EQ(create_key_index(io, 0, d, 2, 9), KEY_OK);
  const uint8_t* img = io.image().data();
  const index_header h = decode_index_header(img);
  EXPECT_EQ(h.free_blocks, -1);
  EXPECT_EQ(h.index_count, 2);
  EXPECT_EQ(h.indexes[0].levels, 3);
  EXPECT_EQ(h.indexes[0].entry_size, 8);
  EXPECT_EQ(h.indexes[1].entry_size, 10);
  EXPECT_EQ(h.indexes[0].count, 0);

  // Walk index 0 from its root: every level one entry with the maximum key.
  int32_t pos = h.indexes[0].root;
  for (int lv = 2; lv >= 0; --lv) {
    const uint8_t* b = img + pos;
    EXPECT_EQ(img[pos - 17], 101);       // block type
    EXPECT_EQ(i16(img + pos - 16), 9);   // set number
    EXPECT_EQ(kb::level(b), lv);
    EXPECT_EQ(kb::used(b), 8);
    const uint8_t* e = kb::entry(b, 0);
    EXPECT_EQ(kb::get32(e + 4), 0x7FFFFFFF);
    pos = kb::entry_value(e);
    if (lv == 0) EXPECT_EQ(pos, -1);
  }
  const uint8_t* b1 = img + h.indexes[1].root;
  EXPECT_EQ(kb::used(b1), 10);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(kb::entry_key(kb::entry(b1, 0))[i], 0xFF);
}

TEST_F(KeyIndexTest, AFreshThreeLevelIndexIsEmpty) {
  const int ix = open_one(KEY_INT32, 3, 4);
  key_entry e;
  EXPECT_EQ(key_first(ix, e), KEY_END);
  EXPECT_EQ(key_last(ix, e), KEY_END);
  e = kovra::test::int_entry(12345, 0);
  EXPECT_EQ(key_find(ix, e), KEY_NOT_FOUND);
  e = kovra::test::int_entry(0x7FFFFFFF, 0);
  EXPECT_EQ(key_find(ix, e), KEY_END);
  EXPECT_EQ(key_next(e), KEY_END);
  EXPECT_EQ(key_current(e), KEY_END);
  EXPECT_EQ(key_count(ix), 0);
  EXPECT_TRUE(check().ok());
}

TEST_F(KeyIndexTest, SearchingForTheMaximumKeyItselfGivesOneNotZero) {
  const int ix = open_one(KEY_BYTES, 2, 6);
  key_entry e;
  std::memset(e.key(), 0xFF, 6);
  EXPECT_EQ(key_find(ix, e), KEY_END);
  // Nor can it be inserted: it would be taken for the end marker.
  e.set_value(5);
  EXPECT_EQ(key_insert_unique(ix, e), KEY_END);
  std::memset(e.key(), 0xFF, 5);
  e.key()[5] = 0xFE;
  EXPECT_EQ(key_insert_unique(ix, e), KEY_OK);
  EXPECT_EQ(key_find(ix, e), KEY_OK);
  EXPECT_EQ(e.value(), 5);
}

TEST_F(KeyIndexTest, OpeningFillsTheCallersSlotsFromTheHeaderAndReleaseFreesThem) {
  int16_t a = -1, b = -1;
  key_descriptor d[2] = {{KEY_INT16, 1, 2, &a}, {KEY_TEXT, 2, 12, &b}};
  ASSERT_EQ(create_key_index(io, 0, d, 2, 0), KEY_OK);
  // The caller's types do not matter at open; the header decides.
  key_descriptor wrong[2] = {{KEY_BYTES, 5, 30, &a}, {KEY_BYTES, 5, 30, &b}};
  bool error = true;
  key_index* obj = open_key_index(io, 0, 2, error, 0, wrong, 2);
  ASSERT_NE(obj, nullptr);
  EXPECT_FALSE(error);
  EXPECT_NE(a, b);
  EXPECT_EQ(key_levels(a), 1);
  EXPECT_EQ(key_levels(b), 2);
  EXPECT_EQ(key_index_number(obj, 1), b);

  // A second open of the same header shares the object.
  int16_t a2 = -1;
  key_descriptor again{KEY_INT16, 1, 2, &a2};
  EXPECT_EQ(open_key_index(io, 0, 0, error, 0, &again, 1), obj);
  EXPECT_EQ(a2, a);
  EXPECT_EQ(release_key_index(obj), KEY_OK);
  EXPECT_EQ(key_levels(a), 1);
  EXPECT_EQ(release_key_index(obj), KEY_OK);
  EXPECT_EQ(key_levels(a), -1);
  key_entry e;
  EXPECT_EQ(key_first(a, e), KEY_ERROR);
}

TEST_F(KeyIndexTest, TheDescriptorTableGrowsPastTwentyFiveOpenIndexes) {
  std::vector<kovra::store::memory_key_block_io> files(30);
  std::vector<key_index*> objects;
  std::vector<int16_t> numbers(30, -1);
  for (size_t i = 0; i < files.size(); ++i) {
    key_descriptor d{KEY_INT32, 1, 4, &numbers[i]};
    ASSERT_EQ(create_key_index(files[i], 0, &d, 1, 0), KEY_OK);
    bool error = false;
    objects.push_back(open_key_index(files[i], 0, 0, error, 0, &d, 1));
    ASSERT_NE(objects.back(), nullptr);
    ASSERT_EQ(key_insert_unique(numbers[i], kovra::test::int_entry(int32_t(i), int32_t(i))), KEY_OK);
  }
  for (size_t i = 0; i < files.size(); ++i) {
    key_entry e;
    ASSERT_EQ(key_first(numbers[i], e), KEY_OK);
    EXPECT_EQ(e.value(), int32_t(i));
  }
  for (key_index* o : objects) EXPECT_EQ(release_key_index(o), KEY_OK);
}

TEST_F(KeyIndexTest, BadHeadersAreRefusedAtOpen) {
  open_one(KEY_INT32, 2, 4);
  ASSERT_EQ(release_key_index(object), KEY_OK);
  const std::vector<uint8_t> good = io.image();
  struct damage {
    int offset;
    uint8_t byte;
  };
  for (damage dmg : {damage{10, 0}, damage{10, 4}, damage{12, 0}, damage{12, 17}, damage{14, 6 + 4},
                     damage{16, 40}, damage{18, 9}, damage{25, 0x80}}) {
    io.image() = good;
    io.image()[size_t(dmg.offset)] = dmg.byte;
    bool error = false;
    key_descriptor d{};
    EXPECT_EQ(open_key_index(io, 0, 0, error, 0, &d, 1), nullptr) << dmg.offset;
    EXPECT_TRUE(error);
  }
  kovra::store::memory_key_block_io tiny(std::vector<uint8_t>(10, 0));
  bool error = false;
  key_descriptor d{};
  EXPECT_EQ(open_key_index(tiny, 0, 0, error, 0, &d, 1), nullptr);
  EXPECT_TRUE(error);
}

TEST_F(KeyIndexTest, CreateRefusesBadDescriptors) {
  key_descriptor bad[] = {{KEY_INT32, 0, 4, nullptr}, {KEY_INT32, 17, 4, nullptr}, {KEY_INT32, 1, 2, nullptr},
                          {KEY_TEXT, 1, 33, nullptr}, {9, 1, 4, nullptr}};
  for (const key_descriptor& d : bad) EXPECT_EQ(create_key_index(io, 0, &d, 1, 0), KEY_ERROR);
  key_descriptor ok{KEY_INT32, 1, 4, nullptr};
  EXPECT_EQ(create_key_index(io, 0, &ok, 0, 0), KEY_ERROR);
  io.set_allocation_limit(0);
  EXPECT_EQ(create_key_index(io, 0, &ok, 1, 0), KEY_ERROR);
}
