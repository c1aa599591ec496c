#include "shell/print_block.h"

#include "shell/section_codec.h"
#include "store/codepage.h"

#include <gtest/gtest.h>

using namespace kovra::shell;
namespace o = kovra::shell::print_offset;

namespace {
bool on(const print_block& b, std::size_t off, int item) { return item_on(b.data(), off, item); }
int selected(const print_block& b, std::size_t off) {
  uint32_t v = get_group(b.data(), off).value;
  int n = 0, item = 0;
  for (int i = 0; i < 32; ++i)
    if (v >> i & 1) ++n, item = i;
  return n == 1 ? item : -1;
}
} // namespace

TEST(DefaultPrintBlock, OrderWithNothingIncludedAndThePageSettings) {
  print_block b = default_print_block();
  EXPECT_EQ(print_order(b.data()), (std::vector<int>{1,  2,  3,  4,  5,  9,  10, 15, 115, 25, 125, 30,
                                                     35, 40, 45, 145, 50, 150, 55, 155, 60, 160, 65,
                                                     165, 70, 75, 80, 85, 185, 90, 93, 96, 100}));
  for (int code = 0; code < 200; ++code) {
    EXPECT_EQ(b[o::include + code], 0) << code;
    EXPECT_EQ(b[o::new_page + code], 0) << code;
  }
  EXPECT_EQ(selected(b, o::device), 1);
  EXPECT_EQ(selected(b, o::print_mode), 1);
  EXPECT_EQ(selected(b, o::print_kind), 1);
  EXPECT_EQ(selected(b, o::file_type), 1);
  EXPECT_EQ(selected(b, o::page_range_mode), 1);
  for (std::size_t m : {o::margin_top, o::margin_bottom, o::margin_left, o::margin_right}) {
    EXPECT_EQ(get_u16(b.data() + m), 5);
    EXPECT_EQ(get_u16(b.data() + m + 2), 0);
  }
  EXPECT_EQ(get_text(b.data() + o::page_range, o::page_range_size), "1-9999");
  EXPECT_EQ(get_u32(b.data() + o::copies), 1u);
  EXPECT_EQ(get_u32(b.data() + o::first_page_number), 1u);
  EXPECT_TRUE(on(b, o::number_on_title, 1));
  EXPECT_EQ(selected(b, o::calc_method), 3);
  EXPECT_TRUE(on(b, o::calc_as_estimate, 1));
  EXPECT_EQ(selected(b, o::overheads_level), 1);
  EXPECT_EQ(selected(b, o::labour), 2);
  EXPECT_EQ(selected(b, o::names), 1);
  EXPECT_EQ(selected(b, o::quantities), 1);
  EXPECT_EQ(get_group(b.data(), o::general_checks).value, (1u << 1) | (1u << 2) | (1u << 5));
  EXPECT_TRUE(on(b, o::multiplicity_in_unit, 1));
  for (std::size_t t : title_offsets()) EXPECT_EQ(b[t], 0) << t;
}

TEST(DefaultPrintBlock, PartPages) {
  print_block b = default_print_block();
  EXPECT_EQ(selected(b, 3875), 2);  // RMS osobno
  EXPECT_EQ(selected(b, 3883), 2);  // Pełny
  EXPECT_EQ(get_group(b.data(), 3891).value, 0b1101111110u);
  EXPECT_EQ(get_group(b.data(), 4175).value, 0b1101110u);
  EXPECT_EQ(get_group(b.data(), 4735).value, 0b1101110u);
  EXPECT_EQ(get_group(b.data(), 4451).value, 0b110110u);
  EXPECT_EQ(get_group(b.data(), 1975).value, 0b110u);
  EXPECT_EQ(get_group(b.data(), 2251).value, 0b1110010u);
  EXPECT_FALSE(on(b, 2259, 2));  // list of divisions off
  for (std::size_t off : {5287, 5579, 5879, 6179, 6471, 6763, 7055, 7339})
    EXPECT_EQ(get_group(b.data(), off).value, 0b1100u) << off;
  EXPECT_EQ(selected(b, 5303), 1);
  EXPECT_EQ(selected(b, 5295), 2);
  EXPECT_EQ(selected(b, 5871), 1);
  EXPECT_EQ(selected(b, 7631), 1);
  EXPECT_TRUE(on(b, 9539, 1));
  EXPECT_TRUE(on(b, 10087, 2));
  EXPECT_FALSE(on(b, 10087, 1));
  EXPECT_TRUE(on(b, 10631, 2));
  EXPECT_FALSE(on(b, 10363, 2));
}

TEST(DefaultPrintBlock, HeaderAndFooterDefinitions) {
  print_block b = default_print_block();
  const uint8_t* h = b.data() + o::header_definition;
  const uint8_t* f = b.data() + o::footer_definition;
  for (const uint8_t* d : {h, f}) {
    EXPECT_EQ(d[0], 1);
    EXPECT_EQ(d[1], 1);
    EXPECT_EQ(d[2], 0);
    EXPECT_EQ(d[3], 0);
    for (int slot = 0; slot < 20; ++slot) {
      const uint8_t* s = d + 104 + 5 * slot;
      EXPECT_EQ(s[0], slot < 7 ? slot + 1 : 0);
      EXPECT_EQ(s[3], slot < 7 ? 1 : 0);
    }
  }
  auto sel = [](const uint8_t* d, int kind) { return d[104 + 5 * (kind - 1) + 1]; };
  auto pos = [](const uint8_t* d, int kind) { return d[104 + 5 * (kind - 1) + 4]; };
  for (int k = 1; k <= 7; ++k) {
    EXPECT_EQ(sel(h, k), (k == 1 || k == 2 || k == 3 || k == 5) ? 1 : 0) << k;
    EXPECT_EQ(sel(f, k), k == 4 ? 1 : 0) << k;
  }
  EXPECT_EQ(pos(h, 1), 2);
  EXPECT_EQ(pos(h, 2), 0);
  EXPECT_EQ(pos(h, 5), 2);
  EXPECT_EQ(pos(f, 4), 2);
}

TEST(OptionGroups, RadioRepairPicksTheFirstEnabledItem) {
  option_group none{0, 0};
  repair_radio(none, 3);
  EXPECT_EQ(none.value, 1u << 1);

  option_group only_disabled{1u << 1, 1u << 1};
  repair_radio(only_disabled, 3);
  EXPECT_EQ(only_disabled.value, 1u << 2);

  option_group from_second{0, 0};
  repair_radio(from_second, 4, 2);
  EXPECT_EQ(from_second.value, 1u << 2);

  option_group fine{1u << 3, 1u << 1};
  repair_radio(fine, 3);
  EXPECT_EQ(fine.value, 1u << 3);

  option_group all_disabled{0, 0b1110};
  repair_radio(all_disabled, 3);
  EXPECT_EQ(all_disabled.value, 0u);
}

TEST(OptionGroups, DisablingForcesTheValueAndTheBlockRepairRestoresRadios) {
  option_group g{0b110, 0};
  set_item_enabled(g, 2, false, false);
  EXPECT_EQ(g.value, 0b010u);
  EXPECT_EQ(g.disabled, 0b100u);
  set_item_enabled(g, 3, false, true);
  EXPECT_EQ(g.value, 0b1010u);
  set_item_enabled(g, 2, true, false);
  EXPECT_EQ(g.disabled, 0b1000u);
  EXPECT_EQ(g.value, 0b1010u);  // enabling keeps the value

  print_block b = default_print_block();
  put_group(b.data(), o::device, option_group{1u << 1, 1u << 1});  // printer selected but disabled
  put_group(b.data(), o::calc_method, option_group{0, 0});
  repair_radio_groups(b.data());
  EXPECT_EQ(get_group(b.data(), o::device).value, 1u << 2);
  EXPECT_EQ(get_group(b.data(), o::calc_method).value, 1u << 1);
  EXPECT_EQ(get_group(b.data(), o::labour).value, 1u << 2);  // untouched
}

TEST(PrintParts, CodesCaptionsAndDepths) {
  auto parts = print_parts();
  EXPECT_EQ(parts.size(), 33u);
  ASSERT_NE(find_print_part(145), nullptr);
  EXPECT_STREQ(find_print_part(145)->caption, "Zestawienie robocizny z rozdziałów");
  EXPECT_EQ(find_print_part(145)->depth, 1);
  EXPECT_EQ(find_print_part(45)->depth, 0);
  EXPECT_STREQ(find_print_part(9)->caption, "");
  EXPECT_EQ(find_print_part(11), nullptr);
  // Every part of the default order is in the table.
  for (int code : print_order(default_print_block().data())) EXPECT_NE(find_print_part(code), nullptr) << code;
}

TEST(PrintTitles, EmptyTitleTakesTheListsFirstEntry) {
  print_block b = default_print_block();
  EXPECT_EQ(kovra::store::mazovia_to_utf8(effective_title(b.data(), 3907)), "Kosztorys inwestorski");
  EXPECT_EQ(kovra::store::mazovia_to_utf8(get_text(b.data() + 3907, title_size)), "Kosztorys inwestorski");
  EXPECT_EQ(kovra::store::mazovia_to_utf8(effective_title(b.data(), 4191)), "Kosztorys uproszczony");
  EXPECT_EQ(kovra::store::mazovia_to_utf8(effective_title(b.data(), 10095)),
            "Spis kalkulacji szczegółowych - załącznik 1");
  put_text(b.data() + 1439, title_size, "Moj tytul");
  EXPECT_EQ(effective_title(b.data(), 1439), "Moj tytul");
  for (std::size_t t : title_offsets()) EXPECT_FALSE(title_list(t).empty()) << t;
  EXPECT_TRUE(title_list(1440).empty());
}
