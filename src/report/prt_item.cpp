#include "report/prt_item.h"

#include "report/raport.h"
#include "report/report_tables.h"
#include "store/text_helpers.h"

#include <cmath>
#include <cstring>

namespace kovra::report {

void VL_prt_item::clear() {
  for (auto& c : cells) c = prt_cell{};
  count = 0;
  rect = {};
  height = 0;
}

namespace {

bool is_break_char(char c) { return std::strchr("*+-/ ", c) != nullptr && c != '\0'; }

int32_t font_colour(const VL_raport& r, int font) {
  const auto& fonts = r.fonts();
  return (font >= 0 && static_cast<std::size_t>(font) < fonts.size()) ? fonts[static_cast<std::size_t>(font)].colour
                                                                       : 0;
}

int cell_count(const VL_prt_item& item) { return std::clamp(item.count, 0, PRT_ITEM_CELLS); }

int32_t measure_cell(VL_raport& r, prt_cell& cell, int32_t padding) {
  r.select_font_now(cell.font);
  const int32_t inner = cell.width - 2 * CELL_INSET;
  QSize size = r.text_size(cell.text, inner, cell.format);
  if ((cell.format & DT_WORDBREAK) && !(cell.format & DT_SINGLELINE) && size.width() > inner && inner > 0 &&
      !cell.text.empty()) {
    const double len = static_cast<double>(cell.text.size());
    const int piece = static_cast<int>(std::lround(len * 0.95 * inner / size.width() + 0.5));
    cell.text = reflow_text(cell.text, piece < 1 ? 1 : piece);
    size = r.text_size(cell.text, inner, cell.format);
    if (size.width() > inner) {
      cell.format |= DT_EDITCONTROL;
      size = r.text_size(cell.text, inner, cell.format);
    }
  }
  return size.height() + 2 * padding;
}

} // namespace

std::string reflow_text(const std::string& text, int piece) {
  if (piece < 1) piece = 1;
  std::string out;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = std::min(text.size(), pos + static_cast<std::size_t>(piece));
    if (end < text.size()) {
      std::size_t cut = std::string::npos;
      for (std::size_t i = end; i > pos; --i)
        if (is_break_char(text[i - 1])) {
          cut = i;
          break;
        }
      if (cut == std::string::npos) {
        // No break character within the limit: the piece runs on to the next one.
        cut = end;
        while (cut < text.size() && !is_break_char(text[cut])) ++cut;
        if (cut < text.size()) ++cut;
      }
      end = cut;
    }
    std::string part = store::trim(text.substr(pos, end - pos));
    if (!part.empty()) {
      if (!out.empty()) out += ' ';
      out += part;
    }
    pos = end;
  }
  return out;
}

int32_t measure_row(VL_raport& r, VL_prt_item& item, int min_lines, bool auto_widths, int32_t total_width,
                    int stretch_cell, int32_t padding) {
  const int n = cell_count(item);
  for (int i = 0; i < n; ++i) item.cells[static_cast<std::size_t>(i)].text = store::trim(item.cells[static_cast<std::size_t>(i)].text);
  if (auto_widths) {
    int32_t others = 0;
    for (int i = 0; i < n; ++i) {
      if (i == stretch_cell) continue;
      auto& c = item.cells[static_cast<std::size_t>(i)];
      c.width = r.measure_text_width(c.text, c.font);
      others += c.width;
    }
    if (stretch_cell >= 0 && stretch_cell < n) {
      const int32_t rest = total_width - others;
      item.cells[static_cast<std::size_t>(stretch_cell)].width = rest > 0 ? rest : 0;
    }
  }
  int32_t minimum = 0;
  if (n > 0 && min_lines > 0) minimum = r.measure_lines(min_lines, item.cells[0].font) + 2 * padding;
  int32_t height = minimum;
  for (int i = 0; i < n; ++i) {
    auto& c = item.cells[static_cast<std::size_t>(i)];
    if (c.width <= 0) continue;
    height = std::max(height, measure_cell(r, c, padding));
  }
  item.height = height;
  item.rect = {0, 0, total_width, height};
  return height;
}

int32_t draw_row(VL_raport& r, VL_prt_item& item, int32_t y, bool outer_frame, int32_t padding) {
  const int n = cell_count(item);
  int32_t total = 0;
  for (int i = 0; i < n; ++i) total += std::max<int32_t>(0, item.cells[static_cast<std::size_t>(i)].width);
  const int32_t h = measure_row(r, item, 1, false, total, -1, padding);
  item.rect = {0, y, total, y + h};
  r.select_pen(0);
  int32_t x = item.rect.left;
  for (int i = 0; i < n; ++i) {
    const auto& c = item.cells[static_cast<std::size_t>(i)];
    if (c.width <= 0) continue;
    if (c.rule_after) r.draw_vertical_line(x + c.width, y, y + h);
    r.select_font(c.font);
    r.set_text_colour(font_colour(r, c.font));
    r.draw_text(c.text, {x, y, x + c.width, y + h}, padding, CELL_INSET, c.format);
    x += c.width;
  }
  if (outer_frame) {
    r.select_pen(1);
    r.draw_vertical_line(item.rect.left, y, y + h);
    r.draw_vertical_line(item.rect.right, y, y + h);
  }
  return h;
}

int32_t draw_row_with_leader(VL_raport& r, VL_prt_item& item, int32_t y, int32_t padding, bool outer_frame,
                             int leader_cell) {
  if (leader_cell >= 0 && leader_cell < cell_count(item)) {
    auto& c = item.cells[static_cast<std::size_t>(leader_cell)];
    r.select_font_now(c.font);
    const int32_t dots = r.text_size(". . . . . . . . . . .", 1 << 24, DT_SINGLELINE).width();
    if (dots > 0 && c.width > 1) {
      const long n = std::lround((c.width - 1) * 10.0 / dots + 0.5);
      if (n > 0 && static_cast<long>(c.text.size()) < 2 * n) {
        c.text.reserve(c.text.size() + static_cast<std::size_t>(2 * n));
        for (long i = 0; i < n; ++i) c.text += ". ";
      }
    }
  }
  return draw_row(r, item, y, outer_frame, padding);
}

void draw_row_rules(VL_raport& r, const VL_prt_item& item, int32_t y, int32_t height) {
  const int n = cell_count(item);
  int32_t x = item.rect.left;
  r.select_pen(0);
  for (int i = 0; i < n; ++i) {
    const auto& c = item.cells[static_cast<std::size_t>(i)];
    if (c.width <= 0) continue;
    x += c.width;
    if (c.rule_after && x < item.rect.right) r.draw_vertical_line(x, y, y + height);
  }
  r.select_pen(1);
  r.draw_vertical_line(item.rect.left, y, y + height);
  r.draw_vertical_line(item.rect.right, y, y + height);
}

void draw_row_line(VL_raport& r, const VL_prt_item& item, int32_t dy) {
  r.select_pen(1);
  r.draw_horizontal_line(item.rect.left, item.rect.right, dy);
}

} // namespace kovra::report
