#include "printouts/graphic_sink.h"

#include "printouts/page_context.h"
#include "report/page_band.h"
#include "report/prt_item.h"
#include "report/report_tables.h"
#include "report/text_format.h"
#include "shell/print_block.h"
#include "store/codepage.h"

#include <algorithm>

namespace kovra::printouts {
namespace {

using namespace kovra::report;

uint8_t font_of(row_style s) {
  switch (s) {
  case row_style::element: return PE_ELEMENT;
  case row_style::group: return PE_GROUP;
  case row_style::emphasis: return PE_EMPHASIS;
  case row_style::heading: return PE_TABLE_HEADER;
  default: return PE_BODY;
  }
}

uint16_t format_of(const table_cell& c, bool heading) {
  uint16_t f = c.align == cell_align::right ? DT_RIGHT : c.align == cell_align::centre ? DT_CENTER : DT_LEFT;
  if (heading) return DT_CENTER | DT_WORDBREAK;
  return c.wrap ? uint16_t(f | DT_WORDBREAK) : uint16_t(f | DT_SINGLELINE | DT_BOTTOM);
}

bool is_rms_header(const std::string& t) {
  return t == " Robocizna " || t == store::utf8_to_mazovia(" Materiały ") || t == store::utf8_to_mazovia("  Sprzęt   ") ||
         t == "Uproszczone";
}

std::string short_header(const std::string& t) {
  if (t == "Uproszczone") return "U";
  if (t == " Robocizna ") return "R";
  if (t == store::utf8_to_mazovia(" Materiały ")) return "M";
  return "S";
}

} // namespace

graphic_sink::graphic_sink(VL_raport& raport, const print_document& doc, int padding)
    : r_(raport), doc_(doc), padding_(padding) {}

std::vector<int32_t> graphic_sink::column_widths(const table_layout& layout) {
  std::string key;
  for (const table_column& c : layout.columns) key += std::to_string(c.width) + ":" + c.sample + "|";
  if (auto it = widths_.find(key); it != widths_.end()) return it->second;
  std::vector<int32_t> w(layout.columns.size(), 0);
  int32_t used = 0, free_chars = 0;
  for (std::size_t i = 0; i < w.size(); ++i) {
    const table_column& c = layout.columns[i];
    if (c.sample.empty()) {
      free_chars += std::max(1, c.width);
      continue;
    }
    w[i] = r_.measure_text_width(store::utf8_to_mazovia(c.sample), PE_BODY);
    used += w[i];
  }
  const int32_t rest = std::max<int32_t>(0, r_.width() - 1 - used);
  int32_t given = 0;
  int last_free = -1;
  for (std::size_t i = 0; i < w.size(); ++i) {
    if (!layout.columns[i].sample.empty()) continue;
    w[i] = int32_t(int64_t(rest) * std::max(1, layout.columns[i].width) / std::max(1, free_chars));
    given += w[i];
    last_free = int(i);
  }
  if (last_free >= 0) w[std::size_t(last_free)] += rest - given;
  widths_[key] = w;
  return w;
}

int32_t graphic_sink::record_row(const table_layout& layout, const table_row& row, int32_t y) {
  const std::vector<int32_t> widths = column_widths(layout);
  const std::vector<table_cell> cells = complete_cells(layout, row);
  VL_prt_item item;
  item.clear();
  const bool heading = row.style == row_style::heading;
  std::vector<std::pair<int32_t, int32_t>> dashes;  // a cell of dashes is a line in graphic mode
  int32_t x = 0;
  for (std::size_t i = 0; i < cells.size() && int(i) < PRT_ITEM_CELLS; ++i) {
    const table_cell& c = cells[i];
    prt_cell& p = item.cells[i];
    p.text = c.text;
    const bool dash_cell = c.text.size() >= 3 && c.text.find_first_not_of('-') == std::string::npos;
    if (dash_cell) p.text.clear();
    if (heading && short_headers_ && is_rms_header(c.text)) p.text = short_header(c.text);
    for (int k = c.first; k < c.first + c.span && k < int(widths.size()); ++k) p.width += widths[std::size_t(k)];
    p.rule_after = c.rule_after && i + 1 < cells.size();
    p.format = format_of(c, heading);
    p.font = font_of(row.style);
    item.count = int(i) + 1;
    if (c.leader && !heading) {
      // A text that fits one line is followed by as many dots as fill the cell.
      const int32_t room = p.width - 2 * padding_ - r_.measure_text_width(c.text + " ", p.font);
      const int32_t ten = r_.measure_text_width(". . . . . . . . . . .", p.font);
      if (ten > 0 && room > 0) {
        const long pairs = long(room) * 10 / ten;
        p.text += " ";
        for (long k = 0; k < pairs; ++k) p.text += ". ";
        p.format = uint16_t(DT_LEFT | DT_SINGLELINE | DT_BOTTOM);
      }
    }
    if (dash_cell) dashes.emplace_back(x, x + p.width);
    x += p.width;
  }
  const int32_t h = draw_row(r_, item, y, true, padding_);
  r_.select_pen(0);
  for (const auto& [x0, x1] : dashes) r_.draw_horizontal_line(x0, x1, y + h / 2);
  return h;
}

void graphic_sink::bands(const print_estimate* constituent) {
  const uint8_t* b = doc_.block.data();
  const band_context ctx = band_context_of(doc_, constituent);
  record_page_header(r_, parse_band_definition(b + shell::print_offset::header_definition), ctx);
  record_page_footer(r_, parse_band_definition(b + shell::print_offset::footer_definition), ctx);
}

void graphic_sink::part_heading(const std::string& title, bool new_page) {
  bands();
  short_headers_ = false;  // every part starts again with the full headers
  if (start_pending_) end_table();  // a restored table that never went on
  if (new_page) this->new_page();
  const std::string text = "\n\n" + title + "\n";
  r_.begin_keep_together();
  r_.start_table();
  r_.select_font_now(PE_TITLE);
  r_.select_font(PE_TITLE);
  r_.set_text_colour(r_.fonts().size() > PE_TITLE ? r_.fonts()[PE_TITLE].colour : 0);
  const page_rect rect{0, 0, r_.width() - 1, 0};
  const int32_t h = r_.measure_text(text, rect, padding_, CELL_INSET, DT_CENTER | DT_WORDBREAK);
  r_.draw_text(text, {0, 0, r_.width() - 1, h}, padding_, CELL_INSET, DT_CENTER | DT_WORDBREAK);
  r_.end_row(h);
  r_.end_keep_together();
  r_.add_toc_entry(0, std::string(1, next_part_letter()), title);
}

void graphic_sink::sub_heading(const std::string& text) {
  if (start_pending_) end_table();
  r_.begin_keep_together();
  r_.select_font_now(PE_EMPHASIS);
  r_.select_font(PE_EMPHASIS);
  const std::string t = "\n" + text;
  const int32_t h = r_.measure_text(t, {0, 0, r_.width() - 1, 0}, padding_, CELL_INSET, DT_LEFT | DT_WORDBREAK);
  r_.draw_text(t, {0, 0, r_.width() - 1, h}, padding_, CELL_INSET, DT_LEFT | DT_WORDBREAK);
  r_.end_row(h);
  r_.end_keep_together();
}

void graphic_sink::new_page() {
  if (r_.at_page_top()) return;  // never twice for the same page
  r_.page_break();
}

void graphic_sink::table_heading(const table_layout& layout, const std::vector<table_row>& rows) {
  // The value headers give way to "R", "M", "S" when a column is narrower than its header.
  const std::vector<int32_t> widths = column_widths(layout);
  for (const table_row& row : rows)
    for (const table_cell& c : row.cells)
      if (is_rms_header(c.text) && c.first < int(widths.size()) &&
          r_.measure_text_width(c.text, PE_TABLE_HEADER) > widths[std::size_t(c.first)])
        short_headers_ = true;
  start_pending_ = false;
  r_.end_table();  // whatever table ran before (the part heading's) ends here
  r_.begin_table_header();
  int32_t y = 0;
  for (table_row row : rows) {
    row.style = row_style::heading;
    y += record_row(layout, row, y);
  }
  r_.select_pen(1);
  r_.draw_horizontal_line(0, r_.width() - 1, y);
  r_.end_table_header(y);
  r_.start_table();
}

void graphic_sink::suspend_heading() {
  start_pending_ = false;
  r_.save_table_header();
  r_.end_table();
}

void graphic_sink::restore_heading() {
  r_.restore_table_header();
  start_pending_ = true;
}

void graphic_sink::start_if_pending() {
  if (!start_pending_) return;
  start_pending_ = false;
  r_.start_table();
}

void graphic_sink::end_table() {
  start_pending_ = false;
  r_.end_table();
}

void graphic_sink::toc_entry(uint8_t level, const std::string& number, const std::string& title) {
  r_.add_toc_entry(level, number, title);
}

void graphic_sink::constituent_bands(const print_estimate& e) { bands(&e); }

void graphic_sink::begin_block() {
  start_if_pending();
  r_.begin_keep_together();
}

void graphic_sink::end_block() { r_.end_keep_together(); }

void graphic_sink::row(const table_layout& layout, const table_row& row) {
  start_if_pending();
  const int32_t h = record_row(layout, row, 0);
  if (row.style == row_style::element || row.style == row_style::group) {
    r_.select_pen(1);
    r_.draw_horizontal_line(0, r_.width() - 1, h);
  }
  r_.end_row(h);
}

void graphic_sink::rule(const table_layout&, char ch) {
  start_if_pending();
  r_.select_pen(ch == '=' ? 1 : 0);
  r_.draw_horizontal_line(0, r_.width() - 1, 0);
  r_.end_row(0);
}

void graphic_sink::rule_from(const table_layout& layout, int column, char) {
  start_if_pending();
  const std::vector<int32_t> widths = column_widths(layout);
  int32_t x = 0;
  for (int c = 0; c < column && c < int(widths.size()); ++c) x += widths[std::size_t(c)];
  r_.select_pen(0);
  r_.draw_horizontal_line(x, r_.width() - 1, 0);
  r_.end_row(0);
}

} // namespace kovra::printouts
