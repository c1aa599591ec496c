#include "report/text_writer.h"

#include "report/printer_codes.h"
#include "shell/messages.h"
#include "store/codepage.h"

#include <algorithm>
#include <cstdarg>
#include <filesystem>
#include <unistd.h>
#include <vector>

namespace kovra::report {
namespace {

constexpr char mark_byte = 27;
constexpr unsigned char middle_dot = 250;

// Formats into at most capacity - 1 bytes. A mark byte or a zero byte coming from the text
// would be read back as a control code or a line end: they become blanks.
std::string vformat(std::size_t capacity, const char* format, va_list values) {
  // Most lines fit a small buffer; a longer text is formatted again at its size.
  char small[512];
  va_list again;
  va_copy(again, values);
  int n = std::vsnprintf(small, sizeof small, format, values);
  std::string text;
  if (n < 0) {
    va_end(again);
    return {};
  }
  const std::size_t wanted = std::min<std::size_t>(std::size_t(n), capacity - 1);
  if (std::size_t(n) < sizeof small) {
    text.assign(small, wanted);
  } else {
    std::vector<char> buffer(std::size_t(n) + 1);
    std::vsnprintf(buffer.data(), buffer.size(), format, again);
    text.assign(buffer.data(), wanted);
  }
  va_end(again);
  std::replace(text.begin(), text.end(), mark_byte, ' ');
  std::replace(text.begin(), text.end(), '\0', ' ');
  return text;
}

void append_bounded(std::string& buffer, std::string_view text, std::size_t capacity) {
  if (buffer.size() + 1 >= capacity) return;
  buffer.append(text.substr(0, capacity - 1 - buffer.size()));
}

std::string mark(int slot) { return {mark_byte, char(slot)}; }

} // namespace

std::string page_line_text(std::string_view line, int page_number) {
  std::string out;
  bool numbered = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    if (line[i] == '%' && i + 1 < line.size() && line[i + 1] == '%') {
      out += '%';
      ++i;
    } else if (!numbered && line.substr(i, 3) == "%3d") {
      char number[16];
      std::snprintf(number, sizeof number, "%3d", page_number);
      out += number;
      numbered = true;
      i += 2;
    } else {
      out += line[i];
    }
  }
  return out;
}

std::FILE* create_spool_file(const std::string& folder, std::string& path) {
  path.clear();
  std::string pattern = (std::filesystem::path(folder.empty() ? "/tmp" : folder) / "kovra_spool_XXXXXX").string();
  const int fd = ::mkstemp(pattern.data());  // O_CREAT | O_EXCL, mode 0600
  if (fd < 0) return nullptr;
  std::FILE* file = ::fdopen(fd, "wb");
  if (!file) {
    ::close(fd);
    ::unlink(pattern.c_str());
    return nullptr;
  }
  path = pattern;
  return file;
}

bool valid_mark_slot(int slot) { return slot >= 1 && slot < printer_code_slots && slot != SLOT_LEFT_MARGIN_FORMAT; }

text_writer::~text_writer() {
  if (file_) std::fclose(file_);
}

void text_writer::set_layout(int lines_per_page, bool doubled_line_feeds) {
  lines_per_page_ = std::max(1, lines_per_page);
  doubled_ = doubled_line_feeds;
}

bool text_writer::open_spool(const std::string& path, int first_page_number) {
  if (file_) {
    std::fclose(file_);
    file_ = nullptr;
  }
  const std::string& shown = path;  // as typed
  std::error_code ec;
  if (std::filesystem::exists(path, ec) && shell::msg_box_screen(26, shown.c_str()) != shell::result_ok) return false;
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) {
    shell::msg_box_screen(285, shown.c_str());
    return false;
  }
  return open_spool(file, first_page_number);
}

bool text_writer::open_spool(std::FILE* file, int first_page_number) {
  if (file_) std::fclose(file_);
  file_ = file;
  if (!file_) return false;
  write_failed_ = false;
  heading_.clear();
  page_line_.clear();
  block_.clear();
  top_blank_ = 0;
  used_ = before_first_page;
  page_no_ = first_page_number - 1;
  numbering_ = true;
  auto_flush_ = true;
  any_page_ = false;
  page_has_body_ = false;
  return true;
}

void text_writer::write_raw(std::string_view bytes) {
  if (!file_ || bytes.empty()) return;
  if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) write_failed_ = true;
}

void text_writer::write_line_feeds(int n) {
  for (int i = 0; i < n * (doubled_ ? 2 : 1); ++i) write_raw("\r\n");
}

void text_writer::write_mark(int slot) { write_raw(mark(slot)); }

void text_writer::write_text(std::string_view text) {
  std::string out;
  out.reserve(text.size() + 16);
  static constexpr char specials[] = {mark_byte, char(middle_dot), '\n', '@'};
  for (std::size_t i = 0; i < text.size(); ++i) {
    // Plain runs are copied whole.
    const std::size_t next = text.find_first_of(std::string_view(specials, sizeof specials), i);
    if (next != i) {
      const std::size_t end = next == std::string_view::npos ? text.size() : next;
      out.append(text.data() + i, end - i);
      if (end == text.size()) break;
      i = end;
    }
    const char c = text[i];
    if (c == mark_byte) {
      out += c;
      if (i + 1 < text.size()) out += text[++i];
    } else if (static_cast<unsigned char>(c) == middle_dot) {
      out += ' ';
    } else if (c == '\n') {
      out += doubled_ ? "\r\n\r\n" : "\r\n";
    } else if (c == '@' && i + 1 < text.size() && text[i + 1] >= '0' && text[i + 1] <= '9') {
      // Repeat mark: '@', a count, one separator, the character.
      std::size_t j = i + 1;
      long count = 0;
      while (j < text.size() && text[j] >= '0' && text[j] <= '9') {
        count = std::min<long>(count * 10 + (text[j] - '0'), repeat_max);
        ++j;
      }
      const std::size_t at = j + 1;  // past the separator
      const unsigned char r = at < text.size() ? static_cast<unsigned char>(text[at]) : 0;
      if (r < ' ' || r == 127) {  // no character to repeat, or a line end or mark: not a repeat mark
        out += c;
        continue;
      }
      out.append(std::size_t(count), r == middle_dot ? ' ' : char(r));
      i = at;
    } else {
      out += c;
    }
  }
  write_raw(out);
}

int text_writer::cost(std::string_view text) const {
  int n = int(std::count(text.begin(), text.end(), '\n'));
  return doubled_ ? 2 * n : n;
}

int text_writer::fresh_page_lines() const {
  int lines = cost(heading_);
  if (numbering_ && !page_line_.empty()) lines += cost(page_line_) + (doubled_ ? 4 : 2);
  return lines;
}

void text_writer::open_page() {
  if (any_page_) write_mark(SLOT_PAGE_END);
  any_page_ = true;
  ++page_no_;
  write_line_feeds(top_blank_);
  used_ = 0;
  page_has_body_ = false;
  if (numbering_ && !page_line_.empty()) {
    write_text(page_line_text(page_line_, page_no_));
    write_text(std::string(page_width, '-') + "\n\n");
    used_ += cost(page_line_) + (doubled_ ? 4 : 2);
  }
  write_text(heading_);
  used_ += cost(heading_);
}

void text_writer::set_page_line(int top_blank_lines, const char* format, ...) {
  va_list values;
  va_start(values, format);
  page_line_ = vformat(page_line_capacity, format, values);
  va_end(values);
  top_blank_ = std::max(0, top_blank_lines);
}

void text_writer::heading_add(const char* format, ...) {
  va_list values;
  va_start(values, format);
  append_bounded(heading_, vformat(heading_capacity, format, values), heading_capacity);
  va_end(values);
}

void text_writer::heading_show(const char* format, ...) {
  va_list values;
  va_start(values, format);
  const std::string text = vformat(heading_capacity, format, values);
  va_end(values);
  const std::size_t before = heading_.size();
  append_bounded(heading_, text, heading_capacity);
  const std::string_view added = std::string_view(heading_).substr(before);
  flush_block();
  if (used_ >= page_ended || lines_per_page_ - used_ < cost(heading_) + 3) {
    open_page();  // writes the whole heading, the new text included
  } else {
    write_text(added);
    count(cost(added));
  }
  page_has_body_ = true;
}

void text_writer::heading_replace(const std::string& text) {
  heading_.clear();
  append_bounded(heading_, text, heading_capacity);
  flush_block();
  if (used_ >= page_ended || lines_per_page_ - used_ < cost(heading_) + 3) {
    open_page();
  } else {
    write_text(heading_);
    count(cost(heading_));
  }
  page_has_body_ = true;
}

void text_writer::append_bounded_heading(const std::string& text) { append_bounded(heading_, text, heading_capacity); }

void text_writer::set_endless(bool on) {
  endless_ = on;
  if (on) {
    numbering_ = false;
    lines_per_page_ = 1 << 20;
  }
}

void text_writer::append_block(std::string text) {
  if (block_.size() + text.size() + 1 > block_capacity && !block_.empty()) flush_block();
  append_bounded(block_, text, block_capacity);
}

void text_writer::block_add(const char* format, ...) {
  va_list values;
  va_start(values, format);
  append_block(vformat(block_capacity, format, values));
  va_end(values);
}

void text_writer::block_add_flush(const char* format, ...) {
  va_list values;
  va_start(values, format);
  append_block(vformat(block_capacity, format, values));
  va_end(values);
  if (auto_flush_) flush_block();
}

void text_writer::block_line(std::string_view text) {
  std::string line(text.substr(0, block_capacity - 2));
  std::replace(line.begin(), line.end(), '\0', ' ');
  std::replace(line.begin(), line.end(), mark_byte, ' ');
  line += '\n';
  append_block(std::move(line));
  if (auto_flush_) flush_block();
}

bool text_writer::set_auto_flush(bool on) {
  const bool before = auto_flush_;
  auto_flush_ = on;
  return before;
}

void text_writer::flush_block() {
  if (block_.empty() || !file_) return;
  if (used_ >= page_ended || (page_has_body_ && used_ + cost(block_) > lines_per_page_)) open_page();
  std::size_t pos = 0;
  while (pos < block_.size()) {
    std::size_t end = block_.find('\n', pos);
    end = end == std::string::npos ? block_.size() : end + 1;
    const std::string_view line = std::string_view(block_).substr(pos, end - pos);
    const int lines = cost(line);
    if (page_has_body_ && lines > 0 && used_ + lines > lines_per_page_) open_page();
    write_text(line);
    count(lines);
    page_has_body_ = true;
    pos = end;
  }
  block_.clear();
}

void text_writer::end_page() {
  flush_block();
  if (endless_) return;
  if (used_ < page_ended) used_ = page_ended;
}

int text_writer::lines_left() const {
  const int used = used_ >= page_ended ? fresh_page_lines() : used_;
  return std::max(0, lines_per_page_ - used - cost(block_));
}

void text_writer::blank_lines(int n) {
  if (n <= 0) return;
  if (lines_left() < n * (doubled_ ? 2 : 1)) {
    end_page();
    return;
  }
  append_block(std::string(std::size_t(n), '\n'));
}

void text_writer::pad_to_line(int n) {
  if (endless_) return;
  const int current = (used_ >= page_ended ? fresh_page_lines() : used_) + cost(block_);
  if (current >= n) return;
  const int feeds = (n - current) / (doubled_ ? 2 : 1);
  if (feeds > 0) append_block(std::string(std::size_t(feeds), '\n'));
}

void text_writer::heading_code(int slot) {
  if (valid_mark_slot(slot) && slot != SLOT_PAGE_END) append_bounded(heading_, mark(slot), heading_capacity);
}

void text_writer::block_code(int slot) {
  if (slot == SLOT_PAGE_END) {
    end_page();
  } else if (valid_mark_slot(slot)) {
    append_block(mark(slot));
  }
}

bool text_writer::close_spool(int final_slot) {
  if (!file_) return false;
  flush_block();  // a block still pending is printed, not lost
  if (used_ == page_ended) write_mark(SLOT_PAGE_END);
  if (valid_mark_slot(final_slot)) write_mark(final_slot);
  const bool ok = !write_failed_ && std::ferror(file_) == 0;
  const bool closed = std::fclose(file_) == 0;
  file_ = nullptr;
  heading_.clear();
  heading_.shrink_to_fit();
  block_.clear();
  block_.shrink_to_fit();
  page_line_.clear();
  used_ = before_first_page;
  return ok && closed;
}

void text_writer::write_printer_init(std::initializer_list<int> slots) {
  for (int s : slots)
    if (valid_mark_slot(s)) write_mark(s);
  write_raw("\r\n");
}

} // namespace kovra::report
