#pragma once
// Graphic mode of the printed parts: the tables of table_layout.h measured in the printer's
// units (each column as wide as its sample text, the rest to the columns without one) and
// recorded into the report engine, with the part heading, its table-of-contents entry and the
// page header and footer of the document.
#include "printouts/print_document.h"
#include "printouts/printout_sink.h"
#include "report/raport.h"

#include <map>
#include <string>
#include <vector>

namespace kovra::printouts {

class graphic_sink : public printout_sink {
public:
  graphic_sink(report::VL_raport& raport, const print_document& doc, int padding);
  bool text_mode() const override { return false; }
  void part_heading(const std::string& title, bool new_page) override;
  void sub_heading(const std::string& text) override;
  void new_page() override;
  void table_heading(const table_layout& layout, const std::vector<table_row>& rows) override;
  void suspend_heading() override;
  void restore_heading() override;
  void end_table() override;
  void begin_block() override;
  void end_block() override;
  void row(const table_layout& layout, const table_row& row) override;
  void rule(const table_layout& layout, char ch) override;
  void rule_from(const table_layout& layout, int column, char ch) override;
  void toc_entry(uint8_t level, const std::string& number, const std::string& title) override;
  void constituent_bands(const print_estimate& e) override;

  // The widths of the layout's columns in device units.
  std::vector<int32_t> column_widths(const table_layout& layout);
  // The value headers were too wide for their columns and became "R", "M", "S".
  bool short_headers() const { return short_headers_; }
  // The report being recorded (the table of contents and the charts draw into it).
  report::VL_raport& raport() { return r_; }

private:
  int32_t record_row(const table_layout& layout, const table_row& row, int32_t y);
  void bands(const print_estimate* constituent = nullptr);

  report::VL_raport& r_;
  const print_document& doc_;
  int padding_;
  bool short_headers_ = false;
  // A restored table starts with the next row, so a summary that follows at once does not
  // get the table's header drawn above it.
  bool start_pending_ = false;
  void start_if_pending();
  std::map<std::string, std::vector<int32_t>> widths_;  // by the layout's columns
};

} // namespace kovra::printouts
