#pragma once
// A page canvas that writes down what a replay draws, for checking page layout.
#include "report/page_replay.h"

#include <string>
#include <vector>

namespace kovra::test {

struct drawn {
  int32_t page = 0;   // page number the item was drawn on
  std::string what;   // "text", "line", "number", "rect", ...
  std::string text;   // text, or the page number of a number field
  int32_t x = 0, y = 0, bottom = 0;
};

class recording_canvas : public report::page_canvas {
public:
  std::vector<drawn> items;
  std::vector<int32_t> pages;
  int pen_changes = 0;

  void start_page(int32_t page_no, bool) override { pages.push_back(page_no); page_ = page_no; }
  void select_pen(int32_t) override { ++pen_changes; }
  void select_font(int32_t) override {}
  void text_colour(int32_t) override {}
  void rectangle(const report::page_rect& r, int32_t) override { add("rect", "", r.left, r.top, r.bottom); }
  void round_rect(const report::page_rect& r, int32_t, int32_t) override { add("round", "", r.left, r.top, r.bottom); }
  void line(int32_t x1, int32_t y1, int32_t, int32_t y2) override { add("line", "", x1, y1, y2); }
  void text(const std::string& t, const report::page_rect& r, int32_t) override { add("text", t, r.left, r.top, r.bottom); }
  void page_number(const report::page_rect& r, int32_t n) override {
    add("number", std::to_string(n), r.left, r.top, r.bottom);
  }
  void arc(const report::page_rect& r, int32_t, int32_t, int32_t, int32_t) override { add("arc", "", r.left, r.top, r.bottom); }
  void text_vcentred(const std::string& t, const report::page_rect& r) override { add("vtext", t, r.left, r.top, r.bottom); }

  // Texts drawn on one page, in order.
  std::vector<std::string> texts_on(int32_t page) const {
    std::vector<std::string> out;
    for (const auto& d : items)
      if (d.page == page && d.what == "text") out.push_back(d.text);
    return out;
  }
  const drawn* find_text(const std::string& t) const {
    for (const auto& d : items)
      if (d.what == "text" && d.text == t) return &d;
    return nullptr;
  }

private:
  void add(const char* what, const std::string& text, int32_t x, int32_t y, int32_t bottom) {
    items.push_back({page_, what, text, x, y, bottom});
  }
  int32_t page_ = 0;
};

} // namespace kovra::test
