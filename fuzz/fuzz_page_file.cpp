// Replays arbitrary bytes as a page file: counting pages and replaying ranges must end
// cleanly (no crash, hang or unbounded allocation) whatever the file holds.
#include "report/page_file.h"
#include "report/page_replay.h"

#include <cstddef>
#include <cstdint>

namespace {

using namespace kovra::report;

class null_canvas : public page_canvas {
public:
  long calls = 0;
  void start_page(int32_t, bool) override { ++calls; }
  void select_pen(int32_t) override { ++calls; }
  void select_font(int32_t) override { ++calls; }
  void text_colour(int32_t) override { ++calls; }
  void rectangle(const page_rect&, int32_t) override { ++calls; }
  void round_rect(const page_rect&, int32_t, int32_t) override { ++calls; }
  void line(int32_t, int32_t, int32_t, int32_t) override { ++calls; }
  void text(const std::string& t, const page_rect&, int32_t) override { calls += static_cast<long>(t.size()); }
  void page_number(const page_rect&, int32_t) override { ++calls; }
  void arc(const page_rect&, int32_t, int32_t, int32_t, int32_t) override { ++calls; }
  void text_vcentred(const std::string& t, const page_rect&) override { calls += static_cast<long>(t.size()); }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static auto file = page_file::create();
  if (!file) return 0;
  file->rewind();
  file->append(data, size);
  (void)count_pages_in(*file, 0);
  null_canvas canvas;
  replay_request all;
  replay_pages(*file, 0, all, canvas);
  replay_request range;
  range.first_page = 2;
  range.last_page = 3;
  range.filter = [](int32_t page, bool) { return page % 2 == 0; };
  replay_pages(*file, 0, range, canvas);
  return 0;
}
