#pragma once
// Where a printed part goes: the report engine (graphic mode) or the text writer (text mode).
// Generators describe headings, tables and rows once; each sink lays them out its own way.
#include "printouts/table_layout.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kovra::report {
class text_writer;
class VL_raport;
} // namespace kovra::report

namespace kovra::printouts {

class printout_sink {
public:
  virtual ~printout_sink() = default;
  virtual bool text_mode() const = 0;

  // The common part heading: a new page when asked, the title centred (text: upper-cased and
  // letter-spaced), a table-of-contents entry with the part's letter (graphic).
  virtual void part_heading(const std::string& title, bool new_page) = 0;
  // A heading inside a part (a constituent estimate's name), emphasised.
  virtual void sub_heading(const std::string& text) = 0;
  // A new page, unless the current page holds nothing of the body yet.
  virtual void new_page() = 0;

  // The table heading repeated on every page while the table runs.
  virtual void table_heading(const table_layout& layout, const std::vector<table_row>& rows) = 0;
  virtual void suspend_heading() = 0;
  virtual void restore_heading() = 0;
  virtual void end_table() = 0;

  // Rows of one block are kept on one page when the printout asks for it.
  virtual void begin_block() = 0;
  virtual void end_block() = 0;
  virtual void row(const table_layout& layout, const table_row& row) = 0;
  // A rule across the table ('-' or '=' for elements), or over the columns from `column` on.
  virtual void rule(const table_layout& layout, char ch) = 0;
  virtual void rule_from(const table_layout& layout, int column, char ch) = 0;

  // A table-of-contents entry (graphic mode; text printouts have none): level 1 a constituent
  // estimate, 3 a work group, 4 an element.
  virtual void toc_entry(uint8_t, const std::string&, const std::string&) {}
  // The page header and footer recomputed for one constituent estimate (graphic mode).
  virtual void constituent_bands(const struct print_estimate&) {}
  // A line of free text outside any table (text mode; graphic sinks ignore it).
  virtual void text_line(const std::string&, bool) {}
  // A line of free text in pieces, each after the printer code of its slot (0: none), such as
  // the wide print of a title or the chart mode around bars (text mode; graphic sinks ignore it).
  struct coded_piece {
    int slot;
    std::string text;
  };
  virtual void coded_line(const std::vector<coded_piece>&) {}
  // Lines left on the text page; -1 in graphic mode and on one endless page.
  virtual int lines_left() const { return -1; }

  // The part's letter for the table of contents: "B" for the first part after the title page.
  char next_part_letter() { return part_letter_++; }

private:
  char part_letter_ = 'B';
};

// Text mode through the text writer; `continuous` lets blocks flow over page ends.
class text_sink : public printout_sink {
public:
  explicit text_sink(report::text_writer& writer) : w_(writer) {}
  bool text_mode() const override { return true; }
  void part_heading(const std::string& title, bool new_page) override;
  void sub_heading(const std::string& text) override;
  void new_page() override;
  void table_heading(const table_layout& layout, const std::vector<table_row>& rows) override;
  void suspend_heading() override;
  void restore_heading() override;
  void end_table() override;
  void begin_block() override {}
  void end_block() override;
  void row(const table_layout& layout, const table_row& row) override;
  void rule(const table_layout& layout, char ch) override;
  void rule_from(const table_layout& layout, int column, char ch) override;
  void text_line(const std::string& text, bool emphasis) override { line(text, emphasis); }
  void coded_line(const std::vector<coded_piece>& pieces) override;
  int lines_left() const override;

private:
  void line(const std::string& text, bool emphasis);

  report::text_writer& w_;
  bool first_heading_ = true;
  std::string saved_heading_;
};

// Letter-spaced, upper-cased title lines of at most 72 characters (internal code page).
std::vector<std::string> text_title_lines(const std::string& title);

} // namespace kovra::printouts
