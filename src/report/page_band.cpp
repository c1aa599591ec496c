#include "report/page_band.h"

#include "report/raport.h"
#include "report/text_format.h"
#include "shell/print_block.h"
#include "store/paths.h"
#include "store/text_helpers.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <vector>

namespace kovra::report {

namespace {

constexpr int32_t BAND_FONT = 6;
constexpr int32_t HEADER_GAP = 65;
constexpr int32_t FOOTER_GAP = 50;

std::vector<std::string> split_on_newlines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start <= text.size()) {
    const auto nl = text.find('\n', start);
    if (nl == std::string::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, nl - start));
    start = nl + 1;
  }
  if (lines.size() == 1 && lines[0].empty()) lines.clear();
  return lines;
}

// Draws the band's lines and returns the height of the texts.
int32_t record_band_texts(VL_raport& r, const std::array<std::string, 3>& texts, int32_t y0) {
  const int32_t right = r.width() - 1;
  r.select_font(BAND_FONT);
  const auto& fonts = r.fonts();
  r.set_text_colour(fonts.size() > BAND_FONT ? fonts[BAND_FONT].colour : 0);
  r.select_font_now(BAND_FONT);
  const int32_t line_height = r.measure_lines(1, BAND_FONT);
  const int32_t number_width = r.text_size("9999", 1 << 24, DT_SINGLELINE).width();
  std::array<std::vector<std::string>, 3> lines;
  std::size_t count = 0;
  for (int p = 0; p < 3; ++p) {
    lines[static_cast<std::size_t>(p)] = split_on_newlines(texts[static_cast<std::size_t>(p)]);
    count = std::max(count, lines[static_cast<std::size_t>(p)].size());
  }
  const uint32_t formats[3] = {DT_LEFT | DT_WORDBREAK | DT_NOPREFIX, DT_CENTER | DT_SINGLELINE | DT_NOPREFIX,
                               DT_RIGHT | DT_SINGLELINE | DT_NOPREFIX};
  int32_t y = y0;
  for (std::size_t i = 0; i < count; ++i) {
    int32_t h = line_height;
    for (int p = 0; p < 3; ++p) {
      const auto& pl = lines[static_cast<std::size_t>(p)];
      if (i >= pl.size() || pl[i].empty()) continue;
      std::string text = pl[i];
      const auto token = text.find(PAGE_NO_TOKEN);
      const bool numbered = token != std::string::npos;
      if (numbered) text.erase(token, std::strlen(PAGE_NO_TOKEN));
      const int32_t available = right - (numbered ? number_width : 0);
      const uint32_t format = formats[p];
      const int32_t text_height = std::max(line_height, r.text_size(text, available, format).height());
      h = std::max(h, text_height);
      if (!numbered) {
        // A left text that wraps is drawn in the height it was measured with.
        r.draw_text(text, {0, y, right, y + text_height}, 0, 0, format);
        continue;
      }
      const int32_t text_width = std::min(available, r.text_size(text, 1 << 24, DT_SINGLELINE).width());
      int32_t x = 0;
      if (p == BAND_CENTRE) x = std::max(0, (right - text_width - number_width) / 2);
      else if (p == BAND_RIGHT) x = right - number_width - text_width;
      r.draw_text(text, {x, y, x + text_width + 1, y + line_height}, 0, 0, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);
      r.page_number_field({x + text_width, y, x + text_width + number_width, y + line_height});
    }
    y += h;
  }
  return y - y0;
}

} // namespace

const char* band_item_caption(int kind) {
  switch (kind) {
  case BI_LOGO: return "Logo Kovra";
  case BI_FILE_NAME: return "Nazwa pliku";
  case BI_TREE_NAME: return "Nazwa z drzewka";
  case BI_GENERAL_NAME: return "Nazwa z danych ogólnych";
  case BI_PAGE_NUMBER: return "Numer strony";
  case BI_DATE: return "Data";
  case BI_FREE_TEXT: return "Dowolny tekst";
  default: return "???";
  }
}

band_definition default_header_definition() {
  uint8_t bytes[BAND_DEFINITION_SIZE];
  shell::default_header_definition(bytes);
  return parse_band_definition(bytes);
}

band_definition default_footer_definition() {
  uint8_t bytes[BAND_DEFINITION_SIZE];
  shell::default_footer_definition(bytes);
  return parse_band_definition(bytes);
}

band_definition parse_band_definition(const uint8_t* bytes) {
  band_definition def;
  def.created = bytes[0];
  def.print = bytes[1] != 0;
  def.flags = bytes[2];
  const auto* text = reinterpret_cast<const char*>(bytes + 3);
  def.free_text.assign(text, strnlen(text, BAND_FREE_TEXT_MAX));
  for (int i = 0; i < BAND_ITEM_SLOTS; ++i) {
    const uint8_t* s = bytes + 104 + 5 * i;
    auto& item = def.items[static_cast<std::size_t>(i)];
    item.kind = s[0];
    item.selected = s[1] != 0;
    item.hidden = s[2] != 0;
    item.new_line = s[3] != 0;
    item.position = s[4] <= BAND_RIGHT ? s[4] : uint8_t{BAND_LEFT};
  }
  return def;
}

void write_band_definition(const band_definition& def, uint8_t* out) {
  std::memset(out, 0, BAND_DEFINITION_SIZE);
  out[0] = def.created;
  out[1] = def.print ? 1 : 0;
  out[2] = def.flags;
  std::memcpy(out + 3, def.free_text.data(), std::min<std::size_t>(def.free_text.size(), BAND_FREE_TEXT_MAX));
  for (int i = 0; i < BAND_ITEM_SLOTS; ++i) {
    uint8_t* s = out + 104 + 5 * i;
    const auto& item = def.items[static_cast<std::size_t>(i)];
    s[0] = item.kind;
    s[1] = item.selected;
    s[2] = item.hidden;
    s[3] = item.new_line;
    s[4] = item.position;
  }
}

std::string format_band_date(const std::string& d) {
  if (d.size() < 6) return {};
  for (int i = 0; i < 6; ++i)
    if (!std::isdigit(static_cast<unsigned char>(d[static_cast<std::size_t>(i)]))) return {};
  const std::string century = d[0] >= '8' ? "19" : "20";
  std::string day = d.substr(4, 2);
  if (day[0] == '0') day.erase(0, 1);
  return day + "." + d.substr(2, 2) + "." + century + d.substr(0, 2);
}

std::string band_item_text(int kind, const band_definition& def, const band_context& ctx) {
  switch (kind) {
  case BI_LOGO: return ctx.program_label;
  case BI_FILE_NAME: return store::name_part(store::from_stored_path(ctx.file_path));
  case BI_TREE_NAME: return ctx.tree_name;
  case BI_GENERAL_NAME: return ctx.general_name;
  case BI_PAGE_NUMBER: return std::string("strona nr: ") + PAGE_NO_TOKEN;
  case BI_DATE: return format_band_date(ctx.date);
  case BI_FREE_TEXT: return def.free_text;
  default: return "???";
  }
}

std::array<std::string, 3> band_position_texts(const band_definition& def, const band_context& ctx) {
  std::array<std::string, 3> texts;
  for (const auto& item : def.items) {
    if (item.kind == 0 || !item.selected || item.hidden) continue;
    std::string& out = texts[item.position <= BAND_RIGHT ? item.position : 0];
    if (!out.empty()) out += item.new_line ? "\n" : " ";
    out += band_item_text(item.kind, def, ctx);
  }
  for (auto& t : texts) {
    // Trim blanks and line breaks at both ends.
    const auto first = t.find_first_not_of(" \n");
    const auto last = t.find_last_not_of(" \n");
    t = first == std::string::npos ? std::string() : t.substr(first, last - first + 1);
  }
  return texts;
}

int32_t record_page_header(VL_raport& r, const band_definition& def, const band_context& ctx) {
  r.begin_page_header(BAND_DEFAULT);
  int32_t height = 0;
  if (def.print) {
    const int32_t text_height = record_band_texts(r, band_position_texts(def, ctx), 0);
    if (def.flags & BAND_FLAG_LINE) {
      r.select_pen(0);
      r.draw_horizontal_line(0, r.width() - 1, text_height + HEADER_GAP / 2);
    }
    height = text_height + HEADER_GAP;
  }
  r.end_page_header(BAND_DEFAULT, height);
  return height;
}

int32_t record_page_footer(VL_raport& r, const band_definition& def, const band_context& ctx) {
  r.begin_page_footer(BAND_DEFAULT);
  int32_t height = 0;
  if (def.print) {
    if (def.flags & BAND_FLAG_LINE) {
      r.select_pen(0);
      r.draw_horizontal_line(0, r.width() - 1, FOOTER_GAP);
    }
    height = FOOTER_GAP + record_band_texts(r, band_position_texts(def, ctx), FOOTER_GAP);
  }
  r.end_page_footer(BAND_DEFAULT, height);
  return height;
}

} // namespace kovra::report
