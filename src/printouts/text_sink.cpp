#include "printouts/printout_sink.h"

#include "report/printer_codes.h"
#include "report/text_writer.h"
#include "store/codepage.h"

#include <QString>

namespace kovra::printouts {
namespace {

using report::text_writer;

constexpr int title_width = 72;

std::string mark(int slot) { return {char(27), char(slot)}; }

} // namespace

std::vector<std::string> text_title_lines(const std::string& title) {
  // Upper case through Unicode: the internal code page has no case table of its own.
  const std::string upper =
      store::utf8_to_mazovia(QString::fromStdString(store::mazovia_to_utf8(title)).toUpper().toStdString());
  std::string spaced;
  for (std::size_t i = 0; i < upper.size(); ++i) {
    spaced += upper[i];
    if (i + 1 < upper.size()) spaced += ' ';
  }
  if (int(spaced.size()) <= title_width) return {spaced};
  // Words of the spaced title are separated by three blanks (the blank itself spaced).
  std::vector<std::string> lines;
  std::string line;
  std::size_t i = 0;
  while (i < spaced.size()) {
    std::size_t gap = spaced.find("   ", i);
    const std::string word = spaced.substr(i, gap == std::string::npos ? std::string::npos : gap - i);
    i = gap == std::string::npos ? spaced.size() : gap + 3;
    const std::string joined = line.empty() ? word : line + "   " + word;
    if (int(joined.size()) <= title_width || line.empty()) {
      line = joined;
    } else {
      lines.push_back(line);
      line = word;
    }
    while (int(line.size()) > title_width) {
      lines.push_back(line.substr(0, title_width));
      line.erase(0, title_width);
    }
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}

void text_sink::line(const std::string& text, bool emphasis) {
  if (!emphasis) {
    w_.block_line(text);
    return;
  }
  w_.block_code(report::SLOT_EMPHASIS_ON);
  w_.block_add("%s", text.c_str());
  w_.block_code(report::SLOT_EMPHASIS_OFF);
  w_.block_add_flush("\n");
}

void text_sink::coded_line(const std::vector<coded_piece>& pieces) {
  for (const coded_piece& p : pieces) {
    if (p.slot != 0) w_.block_code(p.slot);
    if (!p.text.empty()) w_.block_add("%s", p.text.c_str());
  }
  w_.block_add_flush("\n");
}

void text_sink::part_heading(const std::string& title, bool new_page) {
  int blank = first_heading_ ? 2 : 5;
  first_heading_ = false;
  if (new_page) {
    w_.end_page();
    blank = 2;
  } else if (w_.lines_left() < blank + 7) {
    w_.end_page();
    blank = 2;
  }
  w_.heading_clear();
  w_.blank_lines(blank);
  for (const std::string& l : text_title_lines(title)) {
    const int lead = (title_width - int(l.size())) / 2;
    w_.block_code(report::SLOT_MODE_HEADING);
    w_.block_code(report::SLOT_EMPHASIS_ON);
    w_.block_add("%s%s", std::string(std::size_t(lead), ' ').c_str(), l.c_str());
    w_.block_code(report::SLOT_EMPHASIS_OFF);
    w_.block_code(report::SLOT_MODE_NORMAL);
    w_.block_add("\n");
  }
  w_.blank_lines(2);
  w_.flush_block();
}

void text_sink::sub_heading(const std::string& text) {
  w_.heading_clear();
  w_.blank_lines(1);
  line(text, true);
  w_.blank_lines(1);
  w_.flush_block();
}

void text_sink::new_page() { w_.end_page(); }

int text_sink::lines_left() const { return w_.endless() ? -1 : w_.lines_left(); }

void text_sink::table_heading(const table_layout& layout, const std::vector<table_row>& rows) {
  std::string text = mark(report::SLOT_EMPHASIS_ON);
  for (const table_row& r : rows)
    for (const std::string& l : text_lines(layout, r)) text += l + "\n";
  text += mark(report::SLOT_EMPHASIS_OFF) + full_rule('-') + "\n";
  w_.heading_replace(text);
}

void text_sink::suspend_heading() {
  w_.flush_block();
  saved_heading_ = w_.heading();
  w_.heading_clear();
}

void text_sink::restore_heading() {
  w_.flush_block();
  w_.heading_restore(saved_heading_);
  saved_heading_.clear();
}

void text_sink::end_table() {
  w_.flush_block();
  w_.heading_clear();
}

void text_sink::end_block() { w_.flush_block(); }

void text_sink::row(const table_layout& layout, const table_row& r) {
  const bool emphasis = r.style == row_style::emphasis || r.style == row_style::heading;
  for (const std::string& l : text_lines(layout, r)) line(l, emphasis);
  if (r.style == row_style::element || r.style == row_style::group) line(full_rule('='), false);
}

void text_sink::rule(const table_layout&, char ch) { line(full_rule(ch), false); }

void text_sink::rule_from(const table_layout& layout, int column, char ch) {
  line(printouts::rule_from(layout, column, ch), false);
}

} // namespace kovra::printouts
