#pragma once
// VL_raport: records the drawing commands of a graphic printout, lays them out on pages and
// writes the finished pages to a private page file; the pages are replayed later onto a
// printer, a PDF writer or a preview image (report_output.h).
//
// Coordinates are device units of the target device. x is relative to the printable area,
// y to the band (row, header, footer) being recorded.
#include "report/page_replay.h"
#include "report/raport_buffer.h"
#include "report/report_tables.h"

#include <QFont>
#include <QImage>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QPaintDevice;

namespace kovra::report {

class page_file;

// One table-of-contents entry; the page is the number of the page it was recorded on.
struct toc_entry {
  uint8_t level = 0;
  std::string number;  // at most 13 characters
  std::string title;   // at most 255 characters
  int32_t page_no = 0;
};

// Page header and footer variants.
enum band_variant : int { BAND_DEFAULT = 0, BAND_ODD = 1, BAND_FIRST = 2 };

class VL_raport {
public:
  // Creates the page file; throws VL_raport_exception when it cannot.
  VL_raport();
  ~VL_raport();
  VL_raport(const VL_raport&) = delete;
  VL_raport& operator=(const VL_raport&) = delete;

  // --- lifecycle ---
  // Resets everything and rewinds the page file. `device` is measured with (its resolution
  // scales the fonts); it must outlive the recording. Returns whether a background was loaded.
  bool begin_report(int32_t left, int32_t width, const QImage* background, std::vector<report_pen> pens,
                    std::vector<report_font> fonts, QPaintDevice* device, int32_t first_page_no,
                    int32_t design_dpi, int32_t height, int32_t top);
  void end_report();
  int count_pages() const;
  // Pages are numbered from 1 within the report; last_page 0 means to the end.
  replay_result replay(page_canvas& canvas, bool preview, const page_filter& filter, int last_page,
                       int first_page) const;

  // --- raw commands (recorded into the current target) ---
  void select_pen(int32_t pen);
  void set_text_colour(int32_t colour);
  void draw_rectangle(const page_rect& r, int32_t brush = -1);
  void draw_round_rectangle(const page_rect& r, int32_t corner, int32_t brush = -1);
  void draw_line(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
  void draw_vertical_line(int32_t x, int32_t y1, int32_t y2);
  void draw_horizontal_line(int32_t x1, int32_t x2, int32_t y);
  void draw_arc(const page_rect& box, int32_t x_start, int32_t y_start, int32_t x_end, int32_t y_end);
  // Mazovia text.
  void draw_text(const std::string& text, const page_rect& r, int32_t v_inset, int32_t h_inset, uint32_t format);
  void draw_text_vcentred(const std::string& text, const page_rect& r);
  void select_font(int32_t font);
  void page_number_field(const page_rect& r);

  // --- measuring (with the font chosen by select_font_now) ---
  void select_font_now(int32_t font);
  int32_t measured_font() const { return measure_font_no_; }
  // Height of the text laid out in the rectangle's width less the insets, plus both vertical insets.
  int32_t measure_text(const std::string& text, const page_rect& r, int32_t v_inset, int32_t h_inset,
                       uint32_t format);
  // Width and height of the text laid out in `width` (no insets); a word wider than the width
  // makes the result wider than it.
  QSize text_size(const std::string& text, int32_t width, uint32_t format);
  // Trimmed single-line width plus an inset of 15 on both sides, in the given font.
  int32_t measure_text_width(const std::string& text, int32_t font);
  // Height of n lines in the given font.
  int32_t measure_lines(int n, int32_t font);

  // --- page structure ---
  void begin_page_header(int variant);
  void end_page_header(int variant, int32_t height);
  void begin_page_footer(int variant);
  void end_page_footer(int variant, int32_t height);
  void begin_table_header();
  void end_table_header(int32_t height);
  void begin_table_footer();
  void end_table_footer(int32_t height);
  void save_table_header();
  void restore_table_header();
  void begin_keep_together();
  void end_keep_together();
  void start_table();
  void end_row(int32_t height);
  void end_row_and_flush(int32_t height);
  void end_table();
  void add_space(int32_t dy);
  // A new page for what follows (add_space with the remaining height).
  void page_break() { add_space(remaining_); }
  void add_toc_entry(uint8_t level, const std::string& number, const std::string& title);

  // --- state ---
  int32_t left() const { return left_; }
  int32_t top() const { return top_; }
  int32_t width() const { return width_; }
  int32_t height() const { return height_; }
  int32_t remaining() const { return remaining_; }
  int32_t page_no() const { return page_no_; }
  int32_t first_page_no() const { return first_page_no_; }
  int32_t design_dpi() const { return design_dpi_; }
  int dpi_x() const { return dpi_x_; }
  int dpi_y() const { return dpi_y_; }
  bool keep_together() const { return keep_together_; }
  // Nothing has been placed on the page since it started, or a new page is due: a forced
  // page break here would only leave a page empty.
  bool at_page_top() const { return at_page_top_; }
  bool table_active() const { return table_active_; }
  int32_t page_header_height(int variant) const { return page_headers_[variant].height; }
  int32_t page_footer_height(int variant) const { return page_footers_[variant].height; }
  const std::vector<toc_entry>& toc_entries() const { return toc_; }
  void clear_toc() { toc_.clear(); }
  const std::vector<report_font>& fonts() const { return fonts_; }
  const std::vector<report_pen>& pens() const { return pens_; }
  const QImage& background() const { return background_; }
  QPaintDevice* device() const { return device_; }
  const page_file& file() const { return *file_; }
  int64_t first_page_offset() const { return first_page_offset_; }
  // A write of the page file failed (disk full): the pages are incomplete.
  bool write_failed() const;
  // Called with the number of finished pages each time a page is closed by the next one, so
  // the finished pages can be replayed while the rest is still being recorded.
  std::function<void(int)> on_page_finished;

private:
  void put(int32_t value) { target_->put_i32(value); }
  void put_rect(const page_rect& r);
  void flush(bool reserve_table_footer);
  void open_page();
  void write(const VL_raport_buffer& buffer);
  int header_variant() const;
  int footer_variant() const;
  void clear_table();

  std::unique_ptr<page_file> file_;
  QPaintDevice* device_ = nullptr;
  int dpi_x_ = 96, dpi_y_ = 96;
  int32_t left_ = 0, top_ = 0, current_y_ = 0, width_ = 0, height_ = 0, remaining_ = 0;
  int32_t design_dpi_ = 96;
  std::vector<report_font> fonts_;
  std::vector<report_pen> pens_;
  int32_t first_page_no_ = 1, page_no_ = 0;
  int64_t first_page_offset_ = -1, last_page_offset_ = -1;
  bool keep_together_ = false;
  bool at_page_top_ = false;
  VL_raport_buffer row_, block_;
  VL_raport_buffer page_headers_[3], page_footers_[3];
  bool header_defined_[3] = {}, footer_defined_[3] = {};
  VL_raport_buffer table_header_, table_footer_, saved_table_header_;
  bool table_active_ = false, table_header_on_page_ = false;
  VL_raport_buffer* target_ = &row_;
  QImage background_;
  std::vector<toc_entry> toc_;
  int32_t measure_font_no_ = -1;
  QFont measure_font_;
};

} // namespace kovra::report
