#include "report/spooler.h"

#include "report/file_sink.h"
#include "shell/messages.h"
#include "shell/progress.h"
#include "store/codepage.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>

namespace kovra::report {
namespace {

constexpr char mark_byte = 27;
constexpr std::size_t line_limit = 240;  // bytes read at a time

// One read of the spool file: up to and including a line feed, at most line_limit - 1
// bytes; a mark is never split.
std::size_t piece_end(const std::string& b, std::size_t at) {
  const std::size_t cap = std::min(b.size(), at + line_limit - 1);
  std::size_t i = at;
  while (i < cap) {
    if (b[i] == mark_byte) {
      i += 2;
      continue;
    }
    if (b[i++] == '\n') break;
  }
  return std::min(i, b.size());
}

// Where things are in a spool file.
struct spool_map {
  std::size_t init_end = 0;  // end of the first line
  std::size_t start = 0;     // where the first wanted page begins
  int pages = 0;
};

// Walks the bytes of one read: calls on_mark(slot, position after the mark) and
// on_byte(byte); a zero byte ends the read. on_mark returns false to stop; the position
// where the walk stopped is returned.
template <class Mark, class Byte>
std::size_t walk_piece(const std::string& b, std::size_t at, std::size_t end, Mark on_mark, Byte on_byte) {
  std::size_t i = at;
  while (i < end) {
    const char c = b[i];
    if (c == mark_byte) {
      if (i + 1 >= end) return end;  // a mark cut off at the end of the file is dropped
      const int slot = static_cast<unsigned char>(b[i + 1]);
      i += 2;
      if (!on_mark(slot, i)) return i;
      continue;
    }
    if (c == '\0') return end;
    on_byte(c);
    ++i;
  }
  return end;
}

spool_map map_spool(const std::string& b, int first) {
  spool_map m;
  m.init_end = piece_end(b, 0);
  m.start = m.init_end;
  bool text_after = false;
  int separators = 0;
  for (std::size_t at = m.init_end; at < b.size();) {
    const std::size_t end = piece_end(b, at);
    walk_piece(
        b, at, end,
        [&](int slot, std::size_t after) {
          if (slot == SLOT_PAGE_END) {
            text_after = false;
            if (++separators == first - 1) m.start = after;
          }
          return true;
        },
        [&](char c) {
          if (c != '\r' && c != '\n') text_after = true;
        });
    at = end;
  }
  m.pages = separators + (text_after ? 1 : 0);
  return m;
}

class converter {
public:
  converter(const printer_codes& codes, const code_page_table& table, bool plain, print_sink& out)
      : codes_(codes), table_(table), plain_(plain), out_(out) {}

  // Converts one read; counts down `pages_left` at each page end and stops after the one
  // that brings it to 0 (pages_left < 0: no limit). Returns where it stopped.
  std::size_t piece(const std::string& b, std::size_t at, std::size_t end, int& pages_left) {
    return walk_piece(
        b, at, end,
        [&](int slot, std::size_t) {
          if (slot == SLOT_PAGE_END) {
            const std::string& ff = codes_[SLOT_PAGE_END];
            put(plain_ && ff.empty() ? std::string_view("\f") : std::string_view(ff));
            if (pages_left > 0 && --pages_left == 0) return false;
          } else if (!plain_ && slot < printer_code_slots) {
            put(codes_[std::size_t(slot)]);
          }
          return true;
        },
        [&](char c) { pending_ += char(translate_byte(table_, static_cast<unsigned char>(c))); });
  }

  void put(std::string_view bytes) { pending_.append(bytes); }
  std::size_t pending_size() const { return pending_.size(); }

  // Sends what was converted; false when sending failed.
  bool flush() {
    if (!pending_.empty() && ok_) ok_ = out_.write(pending_.data(), pending_.size());
    pending_.clear();
    return ok_;
  }

private:
  const printer_codes& codes_;
  const code_page_table& table_;
  bool plain_;
  print_sink& out_;
  std::string pending_;
  bool ok_ = true;
};

// A spool file is read whole; one far beyond any printout is refused rather than loaded.
constexpr std::size_t max_spool_size = std::size_t(256) << 20;

bool read_all(std::FILE* f, std::string& out) {
  char chunk[1 << 15];
  std::size_t n;
  while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0) {
    out.append(chunk, n);
    if (out.size() > max_spool_size) return false;
  }
  return std::ferror(f) == 0;
}

// Sends b[from, to) in steps, updating the progress window; false when the user stopped.
struct progress_guard {
  bool shown;
  explicit progress_guard(bool show) : shown(show) {
    if (shown) shell::wait_open(nullptr, shell::ANIM_NONE, shell::WAIT_BAR | shell::WAIT_STOP, 175);
  }
  ~progress_guard() {
    if (shown) shell::wait_close();
  }
  bool step(std::size_t done, std::size_t total) {
    if (!shown) return true;
    shell::wait_set_position(total ? int(done * 100 / total) : 100);
    return shell::wait_step();
  }
};

} // namespace

int count_spool_pages(const std::string& bytes) { return map_spool(bytes, 1).pages; }

spool_result spool_file(const spool_request& request, const printer_codes& codes, const code_page_table& table,
                        print_sink* printer) {
  const std::string& shown = request.source;  // as typed
  std::error_code ec;
  if (!std::filesystem::exists(request.source, ec)) {
    shell::msg_box_screen(171, shown.c_str());
    return spool_result::missing_source;
  }
  std::string bytes;
  {
    std::FILE* f = std::fopen(request.source.c_str(), "rb");
    const bool read = f && read_all(f, bytes);
    if (f) std::fclose(f);
    if (!read) {
      shell::msg_box_screen(172, shown.c_str());
      return spool_result::cannot_open;
    }
  }

  const bool binary = request.flags & SPOOL_BINARY;
  const int first = std::max(1, request.first_page);
  const int last = std::max(first, std::min(request.last_page, spool_all_pages));
  spool_map map;
  if (!binary) {
    // The range is checked before anything is opened, so an output file is not emptied
    // and no printer job is started for nothing.
    map = map_spool(bytes, first);
    if (first > map.pages) {
      shell::msg_box(145, map.pages);
      return spool_result::no_pages;
    }
  }

  const bool to_printer = request.flags & SPOOL_PRINTER;
  if (to_printer && !printer) {
    shell::msg_box(209);
    return spool_result::printer_unavailable;
  }
  std::unique_ptr<file_sink> file;
  if (!to_printer) file = std::make_unique<file_sink>(request.output, (request.flags & SPOOL_CREATE) != 0);
  print_sink& out = to_printer ? *printer : *file;

  progress_guard progress(request.show_progress);
  const int copies = std::clamp(request.copies, 1, spool_max_copies);
  for (int copy = 0; copy < copies; ++copy) {
    if (!out.begin(print_document_name)) {
      if (to_printer) {
        shell::msg_box(209);
        return spool_result::printer_unavailable;
      }
      shell::msg_box_screen(172, request.output.c_str());
      return spool_result::cannot_open;
    }
    if (file) file->set_create_anew(false);  // further copies follow the first one
    bool sent = true;
    bool stopped = false;
    if (binary) {
      for (std::size_t at = 0; at < bytes.size() && sent; at += line_limit) {
        sent = out.write(bytes.data() + at, std::min(line_limit, bytes.size() - at));
        if (!progress.step(at, bytes.size())) stopped = true;
        if (stopped) break;
      }
    } else {
      converter conv(codes, table, (request.flags & SPOOL_PLAIN) != 0, out);
      int no_limit = -1;
      conv.piece(bytes, 0, map.init_end, no_limit);
      int pages_left = last - first + 1;
      for (std::size_t at = map.start; at < bytes.size() && pages_left > 0;) {
        const std::size_t end = piece_end(bytes, at);
        const std::size_t stop = conv.piece(bytes, at, end, pages_left);
        at = stop;
        if (conv.pending_size() >= 4096 && !conv.flush()) break;
        if (!progress.step(at, bytes.size())) {
          stopped = true;
          break;
        }
      }
      sent = conv.flush();
    }
    const bool ended = out.end();
    if (stopped) {
      shell::msg_box(177);
      // A character printer stops in the middle of a page: its paper has to be set to the
      // top of a new page before anything else is printed.
      if (to_printer) shell::msg_box(174);
      if (copy + 1 < copies) shell::msg_box(176);
      return spool_result::stopped;
    }
    if (!sent || !ended) {
      shell::msg_box(178);
      return spool_result::send_failed;
    }
  }
  if (!(request.flags & SPOOL_KEEP_SOURCE)) std::filesystem::remove(request.source, ec);
  return spool_result::done;
}

} // namespace kovra::report
