#include "report/raport.h"

#include "report/page_file.h"
#include "report/page_opcodes.h"
#include "report/report_exception.h"
#include "report/report_qt_fonts.h"
#include "report/report_qt_text.h"
#include "report/text_format.h"
#include "store/text_helpers.h"

#include <QPaintDevice>

namespace kovra::report {

VL_raport::VL_raport() : file_(page_file::create()) {
  if (!file_) throw VL_raport_exception(RAPORT_CREATE_FAILED);
}

VL_raport::~VL_raport() = default;

bool VL_raport::begin_report(int32_t left, int32_t width, const QImage* background, std::vector<report_pen> pens,
                             std::vector<report_font> fonts, QPaintDevice* device, int32_t first_page_no,
                             int32_t design_dpi, int32_t height, int32_t top) {
  file_->rewind();
  device_ = device;
  dpi_x_ = device ? device->logicalDpiX() : 96;
  dpi_y_ = device ? device->logicalDpiY() : 96;
  if (dpi_x_ <= 0) dpi_x_ = 96;
  if (dpi_y_ <= 0) dpi_y_ = 96;
  left_ = left;
  top_ = top;
  current_y_ = top;
  width_ = width;
  height_ = height;
  remaining_ = 0;
  design_dpi_ = design_dpi > 0 ? design_dpi : 96;
  pens_ = std::move(pens);
  fonts_ = std::move(fonts);
  if (fonts_.empty()) fonts_.push_back(report_font{});
  if (pens_.empty()) pens_.push_back(report_pen{});
  first_page_no_ = first_page_no < 1 ? 1 : first_page_no;
  page_no_ = first_page_no_ - 1;
  first_page_offset_ = last_page_offset_ = -1;
  keep_together_ = false;
  at_page_top_ = true;  // nothing placed yet
  row_.clear();
  block_.clear();
  for (int v = 0; v < 3; ++v) {
    page_headers_[v].clear();
    page_footers_[v].clear();
    header_defined_[v] = footer_defined_[v] = false;
  }
  table_header_.clear();
  table_footer_.clear();
  saved_table_header_.clear();
  table_active_ = table_header_on_page_ = false;
  target_ = &row_;
  toc_.clear();
  measure_font_no_ = -1;
  background_ = (background && !background->isNull()) ? *background : QImage();
  return !background_.isNull();
}

void VL_raport::end_report() {
  // A block still held together is placed rather than lost.
  keep_together_ = false;
  flush(table_active_);
  file_->append_i32(OP_END);
}

int VL_raport::count_pages() const { return count_pages_in(*file_, first_page_offset_); }

replay_result VL_raport::replay(page_canvas& canvas, bool preview, const page_filter& filter, int last_page,
                                int first_page) const {
  replay_request request;
  request.left = left_;
  request.top = top_;
  request.first_page_no = first_page_no_;
  request.first_page = first_page;
  request.last_page = last_page;
  request.preview = preview;
  request.filter = filter;
  return replay_pages(*file_, first_page_offset_, request, canvas);
}

bool VL_raport::write_failed() const { return file_->write_failed(); }

// --- raw commands ---

void VL_raport::put_rect(const page_rect& r) {
  put(r.left);
  put(r.top);
  put(r.right);
  put(r.bottom);
}

void VL_raport::select_pen(int32_t pen) {
  put(OP_PEN);
  put(pen);
}

void VL_raport::set_text_colour(int32_t colour) {
  put(OP_TEXT_COLOUR);
  put(colour);
}

void VL_raport::draw_rectangle(const page_rect& r, int32_t brush) {
  put(OP_RECTANGLE);
  put_rect(r);
  put(brush);
}

void VL_raport::draw_round_rectangle(const page_rect& r, int32_t corner, int32_t brush) {
  put(OP_ROUND_RECT);
  put_rect(r);
  put(corner);
  put(brush);
}

void VL_raport::draw_line(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  put(OP_LINE);
  put(x1);
  put(y1);
  put(x2);
  put(y2);
}

void VL_raport::draw_vertical_line(int32_t x, int32_t y1, int32_t y2) {
  put(OP_VLINE);
  put(x);
  put(y1);
  put(y2);
}

void VL_raport::draw_horizontal_line(int32_t x1, int32_t x2, int32_t y) {
  put(OP_HLINE);
  put(x1);
  put(x2);
  put(y);
}

void VL_raport::draw_arc(const page_rect& box, int32_t x_start, int32_t y_start, int32_t x_end, int32_t y_end) {
  put(OP_ARC);
  put_rect(box);
  put(x_start);
  put(y_start);
  put(x_end);
  put(y_end);
}

void VL_raport::draw_text(const std::string& text, const page_rect& r, int32_t v_inset, int32_t h_inset,
                          uint32_t format) {
  const auto zero = text.find('\0');
  const std::size_t length = zero == std::string::npos ? text.size() : zero;
  put(OP_TEXT);
  put(static_cast<int32_t>(format));
  put(h_inset);
  put(v_inset);
  put(static_cast<int32_t>(length + 1));
  put_rect(r);
  target_->append(text.data(), length);
  const char nul = '\0';
  target_->append(&nul, 1);
}

void VL_raport::draw_text_vcentred(const std::string& text, const page_rect& r) {
  const auto zero = text.find('\0');
  const std::size_t length = zero == std::string::npos ? text.size() : zero;
  put(OP_TEXT_VCENTRED);
  put_rect(r);
  put(static_cast<int32_t>(length + 1));
  target_->append(text.data(), length);
  const char nul = '\0';
  target_->append(&nul, 1);
}

void VL_raport::select_font(int32_t font) {
  put(OP_FONT);
  put(font);
}

void VL_raport::page_number_field(const page_rect& r) {
  put(OP_PAGE_NUMBER);
  put_rect(r);
}

// --- measuring ---

void VL_raport::select_font_now(int32_t font) {
  if (font == measure_font_no_) return;
  const auto n = static_cast<std::size_t>(font);
  const report_font& f = (font >= 0 && n < fonts_.size()) ? fonts_[n] : fonts_.front();
  measure_font_ = make_qfont(f, dpi_x_, dpi_y_, false);
  measure_font_no_ = font;
}

QSize VL_raport::text_size(const std::string& text, int32_t width, uint32_t format) {
  if (measure_font_no_ < 0) select_font_now(0);
  return text_extent(measure_font_, device_, mazovia_qstring(text), width, format);
}

int32_t VL_raport::measure_text(const std::string& text, const page_rect& r, int32_t v_inset, int32_t h_inset,
                                uint32_t format) {
  const int32_t width = r.right - r.left - 2 * h_inset;
  return text_size(text, width, format).height() + 2 * v_inset;
}

int32_t VL_raport::measure_text_width(const std::string& text, int32_t font) {
  select_font_now(font);
  return text_size(store::trim(text), 1 << 24, DT_SINGLELINE).width() + 30;
}

int32_t VL_raport::measure_lines(int n, int32_t font) {
  select_font_now(font);
  if (n <= 0) return 0;
  std::string lines = "A";
  for (int i = 1; i < n; ++i) lines += "\nA";
  return text_size(lines, 1 << 24, DT_LEFT).height();
}

// --- page structure ---

void VL_raport::begin_page_header(int variant) {
  if (variant < 0 || variant > 2) return;
  page_headers_[variant].clear();
  target_ = &page_headers_[variant];
}

void VL_raport::end_page_header(int variant, int32_t height) {
  target_ = &row_;
  if (variant < 0 || variant > 2) return;
  page_headers_[variant].height = height;
  header_defined_[variant] = true;
}

void VL_raport::begin_page_footer(int variant) {
  if (variant < 0 || variant > 2) return;
  page_footers_[variant].clear();
  target_ = &page_footers_[variant];
}

void VL_raport::end_page_footer(int variant, int32_t height) {
  target_ = &row_;
  if (variant < 0 || variant > 2) return;
  page_footers_[variant].height = height;
  footer_defined_[variant] = true;
}

void VL_raport::begin_table_header() {
  table_header_.clear();
  target_ = &table_header_;
}

void VL_raport::end_table_header(int32_t height) {
  // The band carries its own advance, wherever it is written.
  table_header_.put_i32(OP_ADVANCE);
  table_header_.put_i32(height);
  table_header_.height = height;
  target_ = &row_;
}

void VL_raport::begin_table_footer() {
  table_footer_.clear();
  target_ = &table_footer_;
}

void VL_raport::end_table_footer(int32_t height) {
  table_footer_.put_i32(OP_ADVANCE);
  table_footer_.put_i32(height);
  table_footer_.height = height;
  target_ = &row_;
}

void VL_raport::save_table_header() {
  saved_table_header_.clear();
  saved_table_header_.append(table_header_);
  saved_table_header_.height = table_header_.height;
}

void VL_raport::restore_table_header() {
  table_header_.clear();
  table_header_.append(saved_table_header_);
  table_header_.height = saved_table_header_.height;
}

void VL_raport::begin_keep_together() { keep_together_ = true; }

void VL_raport::end_keep_together() {
  keep_together_ = false;
  flush(table_active_);
}

void VL_raport::start_table() {
  flush(true);
  if (!table_active_) {
    row_.append(table_header_);
    row_.height += table_header_.height;
    table_active_ = true;
  }
}

void VL_raport::end_row(int32_t height) {
  row_.put_i32(OP_ADVANCE);
  row_.put_i32(height);
  row_.height += height;
  if (keep_together_) {
    const int64_t needed = static_cast<int64_t>(table_active_ ? table_footer_.height : 0) + block_.height +
                           row_.height + (table_header_on_page_ ? table_header_.height : 0) +
                           page_headers_[0].height + page_footers_[0].height;
    if (needed > height_) {
      // Taller than any page: place what is held so far and hold the rest anew.
      keep_together_ = false;
      flush(table_active_);
      keep_together_ = true;
    }
  }
  block_.append(row_);
  block_.height += row_.height;
  row_.clear();
  flush(table_active_);
}

void VL_raport::end_row_and_flush(int32_t height) {
  row_.put_i32(OP_ADVANCE);
  row_.put_i32(height);
  row_.height += height;
  block_.append(row_);
  block_.height += row_.height;
  row_.clear();
  flush(false);
  clear_table();
}

void VL_raport::end_table() {
  row_.append(table_footer_);
  row_.height += table_footer_.height;
  block_.append(row_);
  block_.height += row_.height;
  row_.clear();
  flush(false);
  clear_table();
}

void VL_raport::clear_table() {
  table_header_.clear();
  table_footer_.clear();
  table_active_ = false;
  table_header_on_page_ = false;
}

void VL_raport::add_space(int32_t dy) {
  if (dy < 0) return;
  if (keep_together_) {
    // Counted in the held row so that the block's height includes it wherever it lands.
    row_.put_i32(OP_SPACE);
    row_.put_i32(dy);
    row_.height += dy;
    return;
  }
  flush(table_active_);
  if (dy < remaining_) {
    file_->append_i32(OP_SPACE);
    file_->append_i32(dy);
    remaining_ -= dy;
    at_page_top_ = false;
  } else {
    remaining_ = 0;
    at_page_top_ = true;  // what follows starts a page
  }
}

void VL_raport::add_toc_entry(uint8_t level, const std::string& number, const std::string& title) {
  toc_entry e;
  e.level = level;
  e.number = number.substr(0, 13);
  e.title = title.substr(0, 255);
  // What follows lands on the next page when this one is full or none is open yet.
  e.page_no = (first_page_offset_ >= 0 && remaining_ > 0) ? page_no_ : page_no_ + 1;
  toc_.push_back(std::move(e));
}

void VL_raport::write(const VL_raport_buffer& buffer) { file_->append(buffer.data(), buffer.length()); }

int VL_raport::header_variant() const {
  if (page_no_ == first_page_no_ && header_defined_[BAND_FIRST]) return BAND_FIRST;
  if ((page_no_ & 1) && header_defined_[BAND_ODD]) return BAND_ODD;
  return BAND_DEFAULT;
}

int VL_raport::footer_variant() const {
  if (page_no_ == first_page_no_ && footer_defined_[BAND_FIRST]) return BAND_FIRST;
  if ((page_no_ & 1) && footer_defined_[BAND_ODD]) return BAND_ODD;
  return BAND_DEFAULT;
}

void VL_raport::flush(bool reserve_table_footer) {
  if (keep_together_ || block_.empty()) return;
  const int64_t needed = static_cast<int64_t>(block_.height) + (reserve_table_footer ? table_footer_.height : 0);
  // A page that holds nothing yet is used even when the block is taller than it: another
  // page would only stay empty.
  const bool open_and_empty = at_page_top_ && first_page_offset_ >= 0 && remaining_ > 0;
  if (first_page_offset_ < 0 || (remaining_ < needed && !open_and_empty)) {
    const bool header_was_on_page = table_header_on_page_;
    if (header_was_on_page) write(table_footer_);
    open_page();
    table_header_on_page_ = false;
    if (header_was_on_page) {
      write(table_header_);
      remaining_ -= table_header_.height;
      table_header_on_page_ = true;
    }
  }
  remaining_ -= block_.height;
  write(block_);
  block_.clear();
  at_page_top_ = false;
  if (table_active_) table_header_on_page_ = true;
}

void VL_raport::open_page() {
  ++page_no_;
  const int64_t offset = file_->size();
  file_->append_i32(OP_PAGE);
  file_->append_i32(page_no_);
  file_->append_i32(static_cast<int32_t>(last_page_offset_));
  file_->append_i32(-1);
  if (last_page_offset_ >= 0) {
    uint8_t next[4];
    store_i32(next, static_cast<int32_t>(offset));
    file_->write_at(last_page_offset_ + 12, next, 4);
  } else {
    first_page_offset_ = offset;
  }
  last_page_offset_ = offset;
  if (page_no_ > 1 && on_page_finished) on_page_finished(page_no_ - 1);
  current_y_ = top_;
  remaining_ = height_;

  const VL_raport_buffer& header = page_headers_[header_variant()];
  write(header);
  file_->append_i32(OP_ADVANCE);
  file_->append_i32(header.height);
  current_y_ += header.height;
  remaining_ -= header.height;

  const VL_raport_buffer& footer = page_footers_[footer_variant()];
  file_->append_i32(OP_ORIGIN);
  file_->append_i32(top_ + height_ - footer.height);
  write(footer);
  file_->append_i32(OP_ORIGIN);
  file_->append_i32(current_y_);
  remaining_ -= footer.height;
  at_page_top_ = true;
}

} // namespace kovra::report
