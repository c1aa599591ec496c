#pragma once
// Tables of the printed parts, described once for both modes: the columns (a width in
// characters for text mode, a sample text whose width sizes the graphic column) and rows of
// cells that span columns. Text mode turns a row into 121-character lines with "|" between
// fields; graphic mode measures the samples and draws the same cells (printout_sink.h).
#include <string>
#include <vector>

namespace kovra::printouts {

inline constexpr int text_line_width = 121;

struct table_column {
  int width = 0;       // characters in text mode
  std::string sample;  // graphic: the column is as wide as this text; empty: the stretch column
};

enum class cell_align { left, right, centre };

struct table_cell {
  std::string text;    // internal code page; '\n' forces a new line in a wrapped cell
  int first = 0;       // first column
  int span = 1;        // columns covered
  cell_align align = cell_align::left;
  bool wrap = false;   // word-wrapped over as many lines as it needs, from the top
  bool rule_after = true;  // "|" after the cell, else a blank
  const char* breaks = nullptr;  // wrapped: cut after one of these characters (none: at blanks)
  bool leader = false;  // graphic: a dot leader fills the cell after a text that fits one line
};

enum class row_style { normal, emphasis, element, group, heading };

struct table_row {
  std::vector<table_cell> cells;
  row_style style = row_style::normal;
};

struct table_layout {
  std::vector<table_column> columns;
  // Text offset of column c: the position of its first character in the line.
  int text_offset(int column) const;
  // Characters covered by `span` columns from `first` (the separators between them included).
  int text_width(int first, int span) const;
};

// The cells of one row laid out across the columns: missing columns become blank cells.
std::vector<table_cell> complete_cells(const table_layout& layout, const table_row& row);

// The text lines of a row: "|", each cell's field and its separator; wrapped cells take
// as many lines as they need, the other cells stand on the last line (values at the bottom).
std::vector<std::string> text_lines(const table_layout& layout, const table_row& row);

// Words of `text` in lines of at most `width` characters; a word longer than the width is
// cut. '\n' starts a new line. An empty text gives one empty line.
std::vector<std::string> wrap_text(const std::string& text, int width);

// The text cut into lines of `width` characters after the last of `breaks` that keeps the line
// within the width (a blank at the cut is dropped), or at the width when there is none.
std::vector<std::string> cut_text(const std::string& text, int width, const char* breaks);

// The text cut or padded to exactly `width` characters.
std::string pad_left(const std::string& text, int width);   // text left, blanks after
std::string pad_right(const std::string& text, int width);  // right-aligned; a longer text keeps its end
std::string pad_centre(const std::string& text, int width);

// A rule of `ch` across the whole line, and one that starts at a column: "|", blanks up to the
// column's separator, `ch` up to the last character, "|".
std::string full_rule(char ch);
std::string rule_from(const table_layout& layout, int column, char ch);

} // namespace kovra::printouts
