#pragma once
// Reading a page file back: the page chain, the page count and the replay of a page range
// onto a canvas. Bad page files (damaged, truncated, looping chains) end the replay; they
// never crash or hang it.
#include <cstdint>
#include <functional>
#include <string>

namespace kovra::report {

class page_file;

struct page_rect {
  int32_t left = 0, top = 0, right = 0, bottom = 0;
};

// What a replay draws on. Coordinates are absolute device units of the recording device.
class page_canvas {
public:
  virtual ~page_canvas() = default;
  // A page that is to be drawn starts; `first` is true for the first page drawn in this replay.
  virtual void start_page(int32_t page_no, bool first) = 0;
  virtual void select_pen(int32_t pen) = 0;
  virtual void select_font(int32_t font) = 0;
  virtual void text_colour(int32_t colour) = 0;
  virtual void rectangle(const page_rect& r, int32_t brush) = 0;
  virtual void round_rect(const page_rect& r, int32_t corner, int32_t brush) = 0;
  virtual void line(int32_t x1, int32_t y1, int32_t x2, int32_t y2) = 0;
  // Mazovia text (no terminating zero) in the rectangle already shrunk by the insets.
  virtual void text(const std::string& text, const page_rect& r, int32_t format) = 0;
  virtual void page_number(const page_rect& r, int32_t page_no) = 0;
  // Bounding box, start point and end point, as the classic arc call takes them.
  virtual void arc(const page_rect& box, int32_t x_start, int32_t y_start, int32_t x_end, int32_t y_end) = 0;
  virtual void text_vcentred(const std::string& text, const page_rect& r) = 0;
};

// Decides per page number whether a page is drawn; the second argument is the preview flag.
using page_filter = std::function<bool(int32_t page_no, bool preview)>;

struct replay_request {
  int32_t left = 0;            // added to every x
  int32_t top = 0;             // band origin at every page start
  int32_t first_page_no = 1;   // number of the report's first page
  int first_page = 1;          // range as page indexes from 1
  int last_page = 0;           // 0: to the end
  bool preview = false;
  page_filter filter;          // empty: every page
};

struct replay_result {
  int pages_drawn = 0;
  bool damaged = false;  // the file ended early or held something that is not a command
};

// Walks the page chain from first_offset (-1: no pages). A damaged chain counts the pages
// reached before the damage.
int count_pages_in(const page_file& file, int64_t first_offset);

replay_result replay_pages(const page_file& file, int64_t first_offset, const replay_request& request,
                           page_canvas& canvas);

} // namespace kovra::report
