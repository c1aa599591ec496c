#include "store/key_types.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace kovra::store;

namespace {

int cmp(int type, int length, std::initializer_list<uint8_t> a, std::initializer_list<uint8_t> b) {
  uint8_t x[32] = {}, y[32] = {};
  std::copy(a.begin(), a.end(), x);
  std::copy(b.begin(), b.end(), y);
  return compare_keys(type, length, x, y);
}

} // namespace

TEST(KeyTypes, NumericKeysCompareAsLittleEndianNumbersOfTheirSignedness) {
  EXPECT_LT(cmp(KEY_INT16, 2, {0xFF, 0xFF}, {0x01, 0x00}), 0);  // -1 < 1
  EXPECT_GT(cmp(KEY_UINT16, 2, {0xFF, 0xFF}, {0x01, 0x00}), 0);  // 65535 > 1
  EXPECT_GT(cmp(KEY_INT16, 2, {0x00, 0x01}, {0xFF, 0x00}), 0);  // 256 > 255
  EXPECT_LT(cmp(KEY_INT32, 4, {0, 0, 0, 0x80}, {0, 0, 0, 0}), 0);
  EXPECT_GT(cmp(KEY_UINT32, 4, {0, 0, 0, 0x80}, {0, 0, 0, 0}), 0);
  EXPECT_EQ(cmp(KEY_INT32, 8, {1, 0, 0, 0, 9}, {1, 0, 0, 0, 7}), 0);  // bytes past the number do not count
}

TEST(KeyTypes, TextKeysStopAtTheTerminatorAndTheLength) {
  EXPECT_EQ(cmp(KEY_TEXT, 4, {'a', 'b', 0, 'x'}, {'a', 'b', 0, 'y'}), 0);
  EXPECT_LT(cmp(KEY_TEXT, 4, {'a', 'b', 0}, {'a', 'b', 'c'}), 0);
  EXPECT_LT(cmp(KEY_TEXT, 4, {'A'}, {'a'}), 0);
  EXPECT_EQ(cmp(KEY_TEXT_NOCASE, 4, {'A', 'b'}, {'a', 'B'}), 0);
  EXPECT_EQ(cmp(KEY_TEXT, 2, {'a', 'b', 'x'}, {'a', 'b', 'y'}), 0);
  EXPECT_GT(cmp(KEY_TEXT, 2, {0x80}, {'z'}), 0);  // bytes are unsigned
}

TEST(KeyTypes, RawAndNumberThenBytesKeys) {
  EXPECT_EQ(cmp(KEY_BYTES, 3, {1, 0, 2}, {1, 0, 2}), 0);
  EXPECT_LT(cmp(KEY_BYTES, 3, {1, 0, 2}, {1, 0, 3}), 0);
  EXPECT_GT(cmp(KEY_UINT32_BYTES2, 6, {0, 0, 0, 1, 0, 0}, {0xFF, 0, 0, 0, 9, 9}), 0);
  EXPECT_LT(cmp(KEY_UINT32_BYTES2, 6, {5, 0, 0, 0, 1, 2}, {5, 0, 0, 0, 1, 3}), 0);
  EXPECT_EQ(cmp(KEY_UINT32_BYTES2, 8, {5, 0, 0, 0, 1, 2, 7}, {5, 0, 0, 0, 1, 2, 8}), 0);
}

TEST(KeyTypes, MaximumKeysCompareAtOrAboveEveryKey) {
  for (int type : {0, 1, 2, 3, 4, 5, 7, 8}) {
    const int length = type == 8 ? 6 : 4;
    uint8_t max[32];
    fill_max_key(type, length, max);
    uint8_t probe[32] = {};
    for (int v : {0, 1, 0x7F, 0x80, 0xFE}) {
      std::memset(probe, v, 32);
      EXPECT_GT(compare_keys(type, length, max, probe), 0) << type << " " << v;
    }
    EXPECT_EQ(compare_keys(type, length, max, max), 0);
  }
  uint8_t max[32];
  fill_max_key(KEY_INT16, 2, max);
  EXPECT_EQ(max[0], 0xFF);
  EXPECT_EQ(max[1], 0x7F);
  fill_max_key(KEY_BYTES, 6, max);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(max[i], 0xFF);
}

TEST(KeyTypes, LayoutLimits) {
  EXPECT_TRUE(key_layout_valid(KEY_INT16, 2));
  EXPECT_FALSE(key_layout_valid(KEY_INT32, 2));
  EXPECT_FALSE(key_layout_valid(KEY_UINT32_BYTES2, 5));
  EXPECT_TRUE(key_layout_valid(KEY_TEXT, 32));
  EXPECT_FALSE(key_layout_valid(KEY_TEXT, 33));
  EXPECT_FALSE(key_layout_valid(KEY_BYTES, 0));
  EXPECT_FALSE(key_layout_valid(9, 4));
  EXPECT_FALSE(key_layout_valid(-1, 4));
  EXPECT_TRUE(key_layout_valid(KEY_UPPER_POLISH, 10));
}
