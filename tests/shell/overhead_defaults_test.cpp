#include "shell/overhead_defaults.h"

#include "shell/section_codec.h"
#include "store/codepage.h"

#include <gtest/gtest.h>

#include <set>

using namespace kovra::shell;

namespace {
using cells = std::set<std::pair<int, int>>;

void expect_zero_cells(const overhead_block& b, const cells& zero) {
  for (int r = 0; r < overhead_rows; ++r)
    for (int c = 0; c < overhead_columns; ++c)
      EXPECT_EQ(overhead_rate(b.data(), r, c), zero.count({r, c}) ? 0.0f : -1.0f) << r << "," << c;
}
} // namespace

TEST(OverheadDefaults, StandardRecord) {
  overhead_block b;
  b.fill(0xCC);
  standard_overhead_defaults(b.data());
  EXPECT_EQ(get_i16(b.data()), 5);
  const char* names[] = {"Koszty zakupu", "Koszty pośrednie", "Zysk", "Czynny zakład", "Warunki szkodliwe",
                         "", "", "", "", "", "Generalne wykonawstwo", "VAT"};
  for (int r = 0; r < overhead_rows; ++r)
    EXPECT_EQ(kovra::store::mazovia_to_utf8(overhead_row_name(b.data(), r)), names[r]);
  expect_zero_cells(b, {{0, 1}, {1, 0}, {1, 1}, {1, 2}, {2, 0}, {2, 1}, {2, 2}, {2, 3}, {2, 4}, {2, 5},
                        {3, 0}, {3, 2}, {4, 0}, {10, 6}, {11, 6}});
  for (int i = 0; i < 4; ++i) EXPECT_EQ(overhead_switch(b.data(), i), 0);
  EXPECT_EQ(get_f64(b.data() + overhead_factor_offset), 1.0);
  EXPECT_EQ(b[714], 0);
  EXPECT_EQ(b[715], 0);
  EXPECT_EQ(b[716], 0);
}

TEST(OverheadDefaults, InvestorRecord) {
  overhead_block b;
  investor_overhead_defaults(b.data());
  EXPECT_EQ(get_i16(b.data()), 5);
  EXPECT_EQ(kovra::store::mazovia_to_utf8(overhead_row_name(b.data(), 1)), "Koszty pośrednie");
  expect_zero_cells(b, {{1, 0}, {1, 2}, {2, 0}, {2, 1}, {2, 2}, {2, 3}, {2, 4}, {2, 5}, {11, 6}});
  EXPECT_EQ(get_f64(b.data() + 706), 1.0);
  EXPECT_EQ(b[714], 2);
  EXPECT_EQ(b[715], 1);
  EXPECT_EQ(b[716], 0);
}
