// Font and pen tables taken from the print look.
#include "report/report_tables.h"

#include <gtest/gtest.h>

namespace kovra::report {
namespace {

TEST(report_tables, fonts_follow_the_elements_and_pens_the_rule_widths) {
  shell::print_look look = shell::default_print_look();
  look.design.fonts[2] = shell::look_font{10, 0, shell::font_bold | shell::font_italic, "Liberation Serif", 0};
  look.design.elements[6].font = 2;           // the page band borrows font 2
  look.design.elements[6].colour = 0x0000FF;  // red
  look.design.elements[5].colour = 0x80000008;  // a system colour
  look.design.elements[4].font = 99;          // outside the font table
  look.inner_rule = -3;
  look.outer_rule = 5000;

  const auto fonts = font_table_from_look(look);
  ASSERT_EQ(fonts.size(), 8u);
  EXPECT_EQ(fonts[PE_PAGE_BAND].face, "Liberation Serif");
  EXPECT_EQ(fonts[PE_PAGE_BAND].height, 13);  // 10 pt at 96 dpi
  EXPECT_EQ(fonts[PE_PAGE_BAND].weight, 700);
  EXPECT_TRUE(fonts[PE_PAGE_BAND].italic);
  EXPECT_EQ(fonts[PE_PAGE_BAND].charset, 238);
  EXPECT_EQ(fonts[PE_PAGE_BAND].colour, 0x0000FF);
  EXPECT_EQ(fonts[PE_EMPHASIS].colour, 0);
  EXPECT_FALSE(fonts[PE_ELEMENT].face.empty() && fonts[PE_ELEMENT].height == 0);

  const auto pens = pen_table_from_look(look);
  ASSERT_EQ(pens.size(), 2u);
  EXPECT_EQ(pens[0].width, 0);
  EXPECT_EQ(pens[1].width, 1000);

  shell::print_look empty;
  EXPECT_EQ(font_table_from_look(empty).size(), 8u);  // missing elements take the default look
}

} // namespace
} // namespace kovra::report
