#include "printouts/table_layout.h"

#include <algorithm>

namespace kovra::printouts {

int table_layout::text_offset(int column) const {
  int x = 1;  // the opening "|"
  for (int c = 0; c < column && c < int(columns.size()); ++c) x += columns[std::size_t(c)].width + 1;
  return x;
}

int table_layout::text_width(int first, int span) const {
  int w = 0;
  for (int c = first; c < first + span && c < int(columns.size()); ++c) w += columns[std::size_t(c)].width;
  return w + std::max(0, span - 1);
}

std::vector<table_cell> complete_cells(const table_layout& layout, const table_row& row) {
  std::vector<table_cell> sorted = row.cells;
  std::stable_sort(sorted.begin(), sorted.end(), [](const table_cell& a, const table_cell& b) { return a.first < b.first; });
  std::vector<table_cell> out;
  int next = 0;
  for (const table_cell& cell : sorted) {
    if (cell.first < next) continue;  // overlaps the cell before it
    for (; next < cell.first; ++next) out.push_back(table_cell{"", next});
    out.push_back(cell);
    next = cell.first + cell.span;
  }
  for (; next < int(layout.columns.size()); ++next) out.push_back(table_cell{"", next});
  return out;
}

std::vector<std::string> wrap_text(const std::string& text, int width) {
  std::vector<std::string> lines;
  if (width <= 0) return {std::string()};
  std::size_t start = 0;
  while (true) {
    const std::size_t nl = text.find('\n', start);
    const std::string paragraph = text.substr(start, nl == std::string::npos ? std::string::npos : nl - start);
    // Words keep the blanks between them on a line; a break drops the blanks at it.
    std::string line;
    std::size_t i = paragraph.find_first_not_of(' ');
    std::string gap;
    while (i != std::string::npos && i < paragraph.size()) {
      std::size_t j = paragraph.find(' ', i);
      if (j == std::string::npos) j = paragraph.size();
      std::string word = paragraph.substr(i, j - i);
      const std::size_t next = paragraph.find_first_not_of(' ', j);
      const std::string following = paragraph.substr(j, (next == std::string::npos ? paragraph.size() : next) - j);
      i = next;
      while (!word.empty()) {
        const std::size_t need = line.empty() ? word.size() : line.size() + gap.size() + word.size();
        if (need <= std::size_t(width)) {
          if (!line.empty()) line += gap;
          line += word;
          word.clear();
        } else if (!line.empty()) {
          lines.push_back(line);
          line.clear();
        } else {  // a word wider than the column is cut
          lines.push_back(word.substr(0, std::size_t(width)));
          word.erase(0, std::size_t(width));
        }
      }
      gap = following;
    }
    lines.push_back(line);
    if (nl == std::string::npos) break;
    start = nl + 1;
  }
  return lines;
}

std::vector<std::string> cut_text(const std::string& text, int width, const char* breaks) {
  std::vector<std::string> lines;
  std::string rest = text;
  const std::string_view set(breaks);
  while (int(rest.size()) > width && width > 0) {
    int cut = -1;
    for (int p = width - 1; p >= 0; --p)
      if (set.find(rest[std::size_t(p)]) != std::string_view::npos) {
        cut = p + 1;
        break;
      }
    if (cut <= 0) cut = width;
    std::string line = rest.substr(0, std::size_t(cut));
    while (!line.empty() && line.back() == ' ') line.pop_back();
    lines.push_back(line);
    rest.erase(0, std::size_t(cut));
    while (!rest.empty() && rest.front() == ' ') rest.erase(0, 1);
  }
  lines.push_back(rest);
  return lines;
}

std::string pad_left(const std::string& text, int width) {
  std::string s = text.substr(0, std::size_t(std::max(0, width)));
  s.resize(std::size_t(std::max(0, width)), ' ');
  return s;
}

std::string pad_right(const std::string& text, int width) {
  if (width <= 0) return {};
  if (int(text.size()) >= width) {
    // A longer text keeps its end when what goes is blank (numbers padded in front).
    const std::size_t cut = text.size() - std::size_t(width);
    if (text.find_first_not_of(' ') >= cut) return text.substr(cut);
    return text.substr(0, std::size_t(width));
  }
  return std::string(std::size_t(width) - text.size(), ' ') + text;
}

std::string pad_centre(const std::string& text, int width) {
  if (int(text.size()) >= width) return pad_left(text, width);
  const int left = (width - int(text.size())) / 2;
  return pad_left(std::string(std::size_t(left), ' ') + text, width);
}

std::vector<std::string> text_lines(const table_layout& layout, const table_row& row) {
  const std::vector<table_cell> cells = complete_cells(layout, row);
  std::vector<std::vector<std::string>> wrapped(cells.size());
  std::size_t count = 1;
  for (std::size_t i = 0; i < cells.size(); ++i) {
    const int w = layout.text_width(cells[i].first, cells[i].span);
    if (cells[i].wrap) {
      wrapped[i] = cells[i].breaks ? cut_text(cells[i].text, w, cells[i].breaks) : wrap_text(cells[i].text, w);
      count = std::max(count, wrapped[i].size());
    }
  }
  std::vector<std::string> lines(count, "|");
  for (std::size_t i = 0; i < cells.size(); ++i) {
    const table_cell& c = cells[i];
    const int w = layout.text_width(c.first, c.span);
    const bool last_cell = i + 1 == cells.size();
    for (std::size_t l = 0; l < count; ++l) {
      std::string field;
      if (c.wrap) field = l < wrapped[i].size() ? wrapped[i][l] : std::string();
      else if (l + 1 == count) field = c.text;
      switch (c.align) {
      case cell_align::left: field = pad_left(field, w); break;
      case cell_align::right: field = pad_right(field, w); break;
      case cell_align::centre: field = pad_centre(field, w); break;
      }
      lines[l] += field;
      lines[l] += (c.rule_after || last_cell) ? '|' : ' ';
    }
  }
  return lines;
}

std::string full_rule(char ch) { return std::string(std::size_t(text_line_width), ch); }

std::string rule_from(const table_layout& layout, int column, char ch) {
  const int at = layout.text_offset(column) - 1;  // the separator before the column
  std::string s = "|" + std::string(std::size_t(std::max(0, at - 1)), ' ');
  s += std::string(std::size_t(std::max(0, text_line_width - 1 - int(s.size()))), ch);
  return s + "|";
}

} // namespace kovra::printouts
