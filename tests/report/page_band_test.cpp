// Page header and footer definitions and their bands.
#include "report/page_band.h"
#include "shell/print_look.h"
#include "report/raport.h"
#include "report/recording_canvas.h"
#include "report/report_qt_support.h"
#include "report/report_tables.h"

#include <gtest/gtest.h>

#include <cstring>

namespace kovra::report {
namespace {

TEST(band_definition, defaults_stored_layout_and_round_trip) {
  const band_definition header = default_header_definition();
  uint8_t bytes[BAND_DEFINITION_SIZE];
  write_band_definition(header, bytes);
  EXPECT_EQ(bytes[0], 1);
  EXPECT_EQ(bytes[1], 1);
  EXPECT_EQ(bytes[2], 0);
  EXPECT_EQ(bytes[3], 0);
  // Slots 1 to 7 hold the kinds 1 to 7, each starting a new line.
  for (int i = 0; i < 7; ++i) {
    EXPECT_EQ(bytes[104 + 5 * i], i + 1);
    EXPECT_EQ(bytes[104 + 5 * i + 3], 1);
  }
  // Header: kinds 1 (right), 2, 3 and 5 (right) selected.
  const uint8_t selected[7] = {1, 1, 1, 0, 1, 0, 0};
  const uint8_t position[7] = {2, 0, 0, 0, 2, 0, 0};
  for (int i = 0; i < 7; ++i) {
    EXPECT_EQ(bytes[104 + 5 * i + 1], selected[i]) << i;
    EXPECT_EQ(bytes[104 + 5 * i + 4], position[i]) << i;
  }
  for (int i = 139; i < BAND_DEFINITION_SIZE; ++i) EXPECT_EQ(bytes[i], 0) << i;

  const band_definition footer = default_footer_definition();
  for (const auto& item : footer.items)
    EXPECT_EQ(item.selected, item.kind == BI_GENERAL_NAME);
  EXPECT_EQ(footer.items[3].position, BAND_RIGHT);

  band_definition d = header;
  d.flags = BAND_FLAG_LINE | BAND_FLAG_TITLE_PAGE;
  d.free_text = "Budowa";
  d.items[19] = {7, true, true, false, 1};
  write_band_definition(d, bytes);
  const band_definition back = parse_band_definition(bytes);
  EXPECT_EQ(back.flags, d.flags);
  EXPECT_EQ(back.free_text, "Budowa");
  EXPECT_EQ(back.items[19].kind, 7);
  EXPECT_TRUE(back.items[19].hidden);
  EXPECT_EQ(back.items[19].position, BAND_CENTRE);

  // A free text without its zero is cut at 100 characters; a bad position counts as left.
  std::memset(bytes + 3, 'x', 101);
  bytes[104 + 4] = 9;
  const band_definition odd = parse_band_definition(bytes);
  EXPECT_EQ(odd.free_text.size(), 100u);
  EXPECT_EQ(odd.items[0].position, BAND_LEFT);
}

TEST(band_texts, item_texts_dates_and_positions) {
  band_context ctx;
  ctx.program_label = "Kovra";
  ctx.file_path = "C:\\kosztorysy\\dom.jednorodzinny.kvr";
  ctx.tree_name = "Dom";
  ctx.general_name = "Budynek mieszkalny";
  ctx.date = "240105";
  band_definition def = default_header_definition();
  def.free_text = "wolny";
  EXPECT_EQ(band_item_text(BI_FILE_NAME, def, ctx), "dom.jednorodzinny");
  EXPECT_EQ(band_item_text(BI_PAGE_NUMBER, def, ctx), "strona nr: <page_no>");
  EXPECT_EQ(band_item_text(BI_DATE, def, ctx), "5.01.2024");
  EXPECT_EQ(band_item_text(BI_FREE_TEXT, def, ctx), "wolny");
  EXPECT_EQ(band_item_text(9, def, ctx), "???");
  EXPECT_EQ(format_band_date("851231"), "31.12.1985");
  EXPECT_EQ(format_band_date("791231"), "31.12.2079");
  EXPECT_EQ(format_band_date("12ab01"), "");
  EXPECT_EQ(format_band_date(""), "");
  EXPECT_STREQ(band_item_caption(5), "Numer strony");
  EXPECT_STREQ(band_item_caption(0), "???");

  auto texts = band_position_texts(def, ctx);
  EXPECT_EQ(texts[BAND_LEFT], "dom.jednorodzinny\nDom");
  EXPECT_EQ(texts[BAND_CENTRE], "");
  EXPECT_EQ(texts[BAND_RIGHT], "Kovra\nstrona nr: <page_no>");

  // Items without the new-line flag join the line before; hidden ones are left out.
  def.items[1].new_line = false;
  def.items[2].new_line = false;
  def.items[5] = {BI_DATE, true, true, true, BAND_LEFT};
  texts = band_position_texts(def, ctx);
  EXPECT_EQ(texts[BAND_LEFT], "dom.jednorodzinny Dom");
}

class bands : public ::testing::Test {
protected:
  void SetUp() override {
    r.begin_report(0, 4000, nullptr, pen_table_from_look(shell::default_print_look()),
                   font_table_from_look(shell::default_print_look()), &test::measuring_device(600), 3, 96, 6000, 200);
    ctx.file_path = "/x/budowa.kvr";
    ctx.tree_name = "Hala";
  }
  VL_raport r;
  band_context ctx;
};

TEST_F(bands, header_with_page_number_on_every_page_and_footer_with_its_line) {
  band_definition header = default_header_definition();
  header.flags = BAND_FLAG_LINE;
  const int32_t h = record_page_header(r, header, ctx);
  const int32_t line = r.measure_lines(1, 6);
  EXPECT_EQ(h, 2 * line + 65);  // two lines in the left and right columns
  band_definition footer = default_footer_definition();
  footer.flags = BAND_FLAG_LINE;
  ctx.general_name = "Hala magazynowa";
  const int32_t f = record_page_footer(r, footer, ctx);
  EXPECT_EQ(f, 50 + line);
  for (int i = 0; i < 3; ++i) {
    r.draw_text("row", {0, 0, 100, 100}, 0, 0, 0);
    r.add_space(r.remaining());
    r.end_row(100);
  }
  r.end_report();
  test::recording_canvas c;
  r.replay(c, false, {}, 3, 2);
  EXPECT_EQ(c.pages, (std::vector<int32_t>{4, 5}));
  std::vector<std::string> numbers;
  for (const auto& d : c.items)
    if (d.what == "number") numbers.push_back(d.text);
  EXPECT_EQ(numbers, (std::vector<std::string>{"4", "5"}));
  const auto on_page = c.texts_on(4);
  EXPECT_NE(std::find(on_page.begin(), on_page.end(), "strona nr: "), on_page.end());
  EXPECT_NE(std::find(on_page.begin(), on_page.end(), "Hala magazynowa"), on_page.end());
  // The number field stands right of its text, inside the page.
  for (const auto& d : c.items) {
    if (d.what == "number") EXPECT_LT(d.x, 4000);
  }
  int lines = 0;
  for (const auto& d : c.items) lines += d.what == "line" && d.page == 4;
  EXPECT_EQ(lines, 2);  // header and footer separating lines
}

// A left text too long for one line wraps: the band grows by its lines and the text is drawn
// in a rectangle of that height (not cut to its first line).
TEST_F(bands, a_wrapping_left_text_is_drawn_in_its_whole_height) {
  band_definition header = default_header_definition();
  for (auto& item : header.items) item.selected = item.kind == BI_FREE_TEXT;
  header.items[BI_FREE_TEXT - 1].position = BAND_LEFT;
  header.free_text = "Budowa hali magazynowej z zapleczem socjalnym i biurowym, etap drugi: konstrukcja";
  r.begin_report(0, 1200, nullptr, pen_table_from_look(shell::default_print_look()),
                 font_table_from_look(shell::default_print_look()), &test::measuring_device(600), 3, 96, 6000, 200);
  const int32_t line = r.measure_lines(1, 6);
  const int32_t h = record_page_header(r, header, ctx);
  ASSERT_GT(h - 65, line);  // more than one line at this width
  r.draw_text("row", {0, 0, 100, 100}, 0, 0, 0);
  r.end_row(100);
  r.end_report();
  test::recording_canvas c;
  r.replay(c, false, {}, 0, 1);
  const test::drawn* t = c.find_text(header.free_text);
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(t->bottom - t->y, h - 65);
}

TEST_F(bands, a_band_not_to_be_printed_is_empty) {
  band_definition header = default_header_definition();
  header.print = false;
  EXPECT_EQ(record_page_header(r, header, ctx), 0);
  EXPECT_EQ(r.page_header_height(BAND_DEFAULT), 0);
  r.draw_text("row", {0, 0, 100, 100}, 0, 0, 0);
  r.end_row(100);
  r.end_report();
  test::recording_canvas c;
  r.replay(c, false, {}, 0, 1);
  EXPECT_EQ(c.texts_on(3), (std::vector<std::string>{"row"}));
  EXPECT_EQ(c.find_text("row")->y, 200);
}

} // namespace
} // namespace kovra::report
