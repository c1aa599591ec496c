#pragma once
// Writes the lines of a text printout into a spool file, page by page.
//
// The spool file holds Mazovia text with line ends as CR LF and control-code marks: the byte
// 27 followed by the slot number. The mark of slot 1 separates pages. The first line of the
// file is the printer initialisation; pages follow.
//
// Text goes into a page heading (repeated at the top of every page) or into a block (lines
// kept together on one page). A page opens with the top blank lines, the page-number line
// (with its "%3d" replaced by the page number), a rule and the heading. Before a string
// reaches the file, the middle dot (250) becomes a blank, "@<n><any char><c>" becomes c
// repeated n times (n at most repeat_max), and at "4 lpi" and "3 lpi" each line feed is
// written twice and counts as two lines.
#include <cstdio>
#include <initializer_list>
#include <string>
#include <string_view>

namespace kovra::report {

class text_writer {
public:
  static constexpr std::size_t heading_capacity = 976;
  static constexpr std::size_t page_line_capacity = 610;
  static constexpr std::size_t block_capacity = 9394;
  static constexpr int repeat_max = 240;
  static constexpr int page_width = 120;
  static constexpr int before_first_page = 999;
  static constexpr int page_ended = 998;

  text_writer() = default;
  ~text_writer();
  text_writer(const text_writer&) = delete;
  text_writer& operator=(const text_writer&) = delete;

  // The page geometry; set before open_spool.
  void set_layout(int lines_per_page, bool doubled_line_feeds);

  // Creates the spool file. An existing file is overwritten only when the user agrees
  // (message 26); a file that cannot be created reports message 285. Pages are numbered
  // from first_page_number.
  bool open_spool(const std::string& path, int first_page_number);
  // Takes a spool file already created (and owned from now on) by create_spool_file.
  bool open_spool(std::FILE* file, int first_page_number);
  bool is_open() const { return file_ != nullptr; }

  // The printer initialisation: the marks of these slots and a line end, written at once
  // as the file's first line.
  void write_printer_init(std::initializer_list<int> slots);

  // The page-number line (formatted now; it keeps one "%3d" for the page number, see
  // page_line_text) and the
  // number of blank lines at the top of every page.
  void set_page_line(int top_blank_lines, const char* format, ...) __attribute__((format(printf, 3, 4)));
  void set_page_numbering(bool on) { numbering_ = on; }

  void heading_add(const char* format, ...) __attribute__((format(printf, 2, 3)));
  // Adds to the heading and writes the text now, on a new page when the heading and three
  // more lines would not fit on this one.
  void heading_show(const char* format, ...) __attribute__((format(printf, 2, 3)));
  void heading_clear() { heading_.clear(); }
  // Replaces the heading and writes it now, like heading_show. The text may hold
  // control-code marks (the byte 27 and the slot).
  void heading_replace(const std::string& text);
  // Puts back a heading (as heading() gave it) without writing it.
  void heading_restore(const std::string& text) {
    heading_.clear();
    append_bounded_heading(text);
  }

  // One endless page: no page ends, no page-number line, the heading written only when it
  // is set, no blank lines that only fill a page. For comparing printouts line by line.
  void set_endless(bool on);
  bool endless() const { return endless_; }

  void block_add(const char* format, ...) __attribute__((format(printf, 2, 3)));
  // block_add, then flush_block when auto-flush is on.
  void block_add_flush(const char* format, ...) __attribute__((format(printf, 2, 3)));
  // One line of text (no formatting) and its line end into the block; flushed when
  // auto-flush is on.
  void block_line(std::string_view text);
  // Returns the previous setting.
  bool set_auto_flush(bool on);

  // Writes the block, on a new page when it does not fit on this one. A block longer than
  // a whole page goes on over the following pages.
  void flush_block();
  void end_page();
  // n blank lines into the block, or the end of the page when fewer than n lines remain.
  void blank_lines(int n);
  // Blank lines into the block up to line n of the page.
  void pad_to_line(int n);
  // Lines still free on the page after the block (on a fresh page when none is open).
  int lines_left() const;

  // Control-code marks (slots 1..21 except the template slot 10). block_code(1) ends the page.
  void heading_code(int slot);
  void block_code(int slot);

  // Writes any pending block, the page separator when a page was ended, and the mark of
  // final_slot; closes the file. False when the file could not be written.
  bool close_spool(int final_slot);

  int page_number() const { return page_no_; }
  int lines_used() const { return used_; }
  int lines_per_page() const { return lines_per_page_; }
  const std::string& heading() const { return heading_; }
  const std::string& block() const { return block_; }

private:
  int cost(std::string_view text) const;
  int fresh_page_lines() const;
  void open_page();
  void write_text(std::string_view text);
  void write_raw(std::string_view bytes);
  void write_line_feeds(int n);
  void write_mark(int slot);
  void append_block(std::string text);
  void append_bounded_heading(const std::string& text);
  void count(int lines) {
    if (!endless_) used_ += lines;
  }

  std::FILE* file_ = nullptr;
  bool write_failed_ = false;
  int lines_per_page_ = 66;
  bool doubled_ = false;
  std::string heading_;
  std::string page_line_;
  std::string block_;
  int top_blank_ = 0;
  int used_ = before_first_page;
  int page_no_ = 0;
  bool numbering_ = true;
  bool auto_flush_ = true;
  bool any_page_ = false;
  bool page_has_body_ = false;
  bool endless_ = false;
};

// The page-number line as printed: the first "%3d" becomes the page number and "%%" a
// percent sign; anything else is text (the line carries file and estimate names).
std::string page_line_text(std::string_view line, int page_number);

// Creates a spool file with a fresh name in `folder`, exclusively (an existing file or link
// of that name is never followed), and keeps it open: the writer takes the stream. Null when
// it cannot be created; `path` then stays empty.
std::FILE* create_spool_file(const std::string& folder, std::string& path);

// A valid code-mark slot for spool files.
bool valid_mark_slot(int slot);

} // namespace kovra::report
