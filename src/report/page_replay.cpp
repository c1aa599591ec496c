#include "report/page_replay.h"

#include "report/buffered_file.h"
#include "report/page_file.h"
#include "report/page_opcodes.h"
#include "report/raport_buffer.h"

namespace kovra::report {

namespace {

struct page_record {
  int32_t page_no = 0;
  int32_t previous = -1;
  int32_t next = -1;
};

bool read_record(const page_file& file, int64_t offset, page_record& out) {
  uint8_t b[PAGE_RECORD_SIZE];
  if (offset < 0 || file.read_at(offset, b, sizeof b) != sizeof b) return false;
  if (load_i32(b) != OP_PAGE) return false;
  out.page_no = load_i32(b + 4);
  out.previous = load_i32(b + 8);
  out.next = load_i32(b + 12);
  return true;
}

// Pages are written one after the other, so a sound chain only moves forward: a link
// backwards (or onto itself) is damage and also ends what would be an endless walk.
bool valid_next(const page_record& r, int64_t offset) { return r.next == -1 || r.next > offset; }

bool read_rect(VL_buffered_file& in, page_rect& r) {
  return in.read_i32(r.left) && in.read_i32(r.top) && in.read_i32(r.right) && in.read_i32(r.bottom);
}

bool read_text(VL_buffered_file& in, const page_file& file, int32_t length, std::string& text) {
  if (length < 0 || length > file.size() - in.position()) return false;
  text.assign(static_cast<std::size_t>(length), '\0');
  if (length > 0 && !in.read(text.data(), text.size())) return false;
  const auto zero = text.find('\0');
  if (zero != std::string::npos) text.resize(zero);
  return true;
}

class replayer {
public:
  replayer(const page_file& file, const replay_request& request, page_canvas& canvas)
      : file_(file), in_(file), request_(request), canvas_(canvas) {}

  replay_result run(int64_t start) {
    in_.seek(start);
    for (;;) {
      int32_t op = 0;
      if (!in_.read_i32(op)) return damaged();
      if (op == OP_END) return result_;
      if (!command(op)) return result_;
    }
  }

private:
  replay_result damaged() {
    result_.damaged = true;
    return result_;
  }

  int32_t x(int32_t v) const { return v + request_.left; }
  int32_t y(int32_t v) const { return v + origin_; }
  page_rect place(page_rect r) const { return {x(r.left), y(r.top), x(r.right), y(r.bottom)}; }

  // Returns false when the replay stops (range done or damage).
  bool command(int32_t op) {
    int32_t a = 0, b = 0, c = 0, d = 0;
    page_rect r;
    std::string text;
    switch (op) {
    case OP_PAGE: {
      if (!in_.read_i32(a) || !in_.read_i32(b) || !in_.read_i32(c)) return fail();
      origin_ = request_.top;
      if (request_.last_page > 0 &&
          static_cast<int64_t>(a) > static_cast<int64_t>(request_.first_page_no) + request_.last_page - 1)
        return false;
      page_no_ = a;
      drawing_ = !request_.filter || request_.filter(a, request_.preview);
      if (drawing_) {
        canvas_.start_page(a, result_.pages_drawn == 0);
        ++result_.pages_drawn;
      }
      return true;
    }
    case OP_PEN:
    case OP_FONT:
    case OP_TEXT_COLOUR:
      if (!in_.read_i32(a)) return fail();
      if (drawing_) {
        if (op == OP_PEN) canvas_.select_pen(a);
        else if (op == OP_FONT) canvas_.select_font(a);
        else canvas_.text_colour(a);
      }
      return true;
    case OP_RECTANGLE:
      if (!read_rect(in_, r) || !in_.read_i32(a)) return fail();
      if (drawing_) canvas_.rectangle(place(r), a);
      return true;
    case OP_ROUND_RECT:
      if (!read_rect(in_, r) || !in_.read_i32(a) || !in_.read_i32(b)) return fail();
      if (drawing_) canvas_.round_rect(place(r), a, b);
      return true;
    case OP_LINE:
      if (!in_.read_i32(a) || !in_.read_i32(b) || !in_.read_i32(c) || !in_.read_i32(d)) return fail();
      if (drawing_) canvas_.line(x(a), y(b), x(c), y(d));
      return true;
    case OP_VLINE:
      if (!in_.read_i32(a) || !in_.read_i32(b) || !in_.read_i32(c)) return fail();
      if (drawing_) canvas_.line(x(a), y(b), x(a), y(c));
      return true;
    case OP_HLINE:
      if (!in_.read_i32(a) || !in_.read_i32(b) || !in_.read_i32(c)) return fail();
      if (drawing_) canvas_.line(x(a), y(c), x(b), y(c));
      return true;
    case OP_TEXT: {
      int32_t format = 0, h_inset = 0, v_inset = 0, length = 0;
      if (!in_.read_i32(format) || !in_.read_i32(h_inset) || !in_.read_i32(v_inset) || !in_.read_i32(length) ||
          !read_rect(in_, r) || !read_text(in_, file_, length, text))
        return fail();
      if (drawing_) {
        page_rect p = place(r);
        p.left += h_inset;
        p.right -= h_inset;
        p.top += v_inset;
        p.bottom -= v_inset;
        canvas_.text(text, p, format);
      }
      return true;
    }
    case OP_ADVANCE:
    case OP_SPACE:
      if (!in_.read_i32(a)) return fail();
      origin_ += a;
      return true;
    case OP_ORIGIN:
      if (!in_.read_i32(a)) return fail();
      origin_ = a;
      return true;
    case OP_PAGE_NUMBER:
      if (!read_rect(in_, r)) return fail();
      if (drawing_) canvas_.page_number(place(r), page_no_);
      return true;
    case OP_ARC: {
      int32_t e = 0, f = 0, g = 0, h = 0;
      if (!read_rect(in_, r) || !in_.read_i32(e) || !in_.read_i32(f) || !in_.read_i32(g) || !in_.read_i32(h))
        return fail();
      if (drawing_) canvas_.arc(place(r), x(e), y(f), x(g), y(h));
      return true;
    }
    case OP_TEXT_VCENTRED:
      if (!read_rect(in_, r) || !in_.read_i32(a) || !read_text(in_, file_, a, text)) return fail();
      if (drawing_) canvas_.text_vcentred(text, place(r));
      return true;
    default:
      return fail();
    }
  }

  bool fail() {
    result_.damaged = true;
    return false;
  }

  const page_file& file_;
  VL_buffered_file in_;
  const replay_request& request_;
  page_canvas& canvas_;
  replay_result result_;
  int32_t origin_ = 0;
  int32_t page_no_ = 0;
  bool drawing_ = false;
};

} // namespace

int count_pages_in(const page_file& file, int64_t first_offset) {
  int count = 0;
  int64_t offset = first_offset;
  page_record record;
  while (offset >= 0 && read_record(file, offset, record)) {
    ++count;
    if (!valid_next(record, offset)) break;
    offset = record.next;
  }
  return count;
}

replay_result replay_pages(const page_file& file, int64_t first_offset, const replay_request& request,
                           page_canvas& canvas) {
  if (request.first_page < 1) return {};
  const int64_t wanted = static_cast<int64_t>(request.first_page_no) + request.first_page - 1;
  int64_t offset = first_offset;
  page_record record;
  while (offset >= 0) {
    if (!read_record(file, offset, record)) return {0, true};
    if (record.page_no == wanted) {
      replayer r(file, request, canvas);
      return r.run(offset);
    }
    if (!valid_next(record, offset)) return {0, true};
    offset = record.next;
  }
  return {};  // the range starts beyond the last page: nothing to draw
}

} // namespace kovra::report
