#pragma once
// The public calls of the graphic report engine: generate a report for a device, then
// write it to a PDF file, print it, or render a page for the preview.
//
// No exception leaves these calls: a page file that cannot be made, a failing generator or
// an output that cannot be written comes back as an error text.
#include "report/page_replay.h"
#include "shell/print_look.h"
#include "report/raport.h"

#include <QImage>
#include <QPageLayout>
#include <QPageSize>

#include <functional>
#include <memory>
#include <string>

class QPaintDevice;
class QPrinter;

namespace kovra::report {

struct report_page_setup {
  QPageSize page_size{QPageSize::A4};
  QPageLayout::Orientation orientation = QPageLayout::Portrait;
  int resolution = 600;  // dots per inch of a PDF writer
  double margin_top_mm = 5, margin_bottom_mm = 5, margin_left_mm = 5, margin_right_mm = 5;
  int first_page_no = 1;
  QImage background;     // stretched over the printable area of every page; null for none
};

// What the printout generators do: record into the report (begin_report has been called).
using report_generator = std::function<void(VL_raport&)>;

struct generated_report {
  std::unique_ptr<VL_raport> raport;
  QSize page_size;  // whole page in device units
  int pages = 0;
  std::string error;  // why there is no report
  explicit operator bool() const { return raport != nullptr; }
};

struct report_outcome {
  bool ok = false;
  int pages_drawn = 0;
  std::string error;
};

// A margin in millimetres as device units: trunc(dpi * mm / 25.4 + 0.5).
int32_t margin_units(int dpi, double mm);

// Sees the report while it is recorded: `pages` counts the pages finished so far.
using page_observer = std::function<void(const generated_report& report)>;

// Records the report with the metrics of `device` (a printer or PDF writer laid out for the
// whole page, no margins of its own). `observer` is called each time a page is finished.
generated_report generate_report(QPaintDevice& device, const QSize& page_size, const report_page_setup& setup,
                                 const shell::print_look& look, const report_generator& generator,
                                 const page_observer& observer = {});

// Records the report for a PDF writer at setup.resolution and writes the page range to `path`.
report_outcome write_report_pdf(const std::string& path, const report_page_setup& setup, const shell::print_look& look,
                                const report_generator& generator, int first_page = 1, int last_page = 0,
                                const page_filter& filter = {});

// Replays the range on a printer (recorded with that printer's metrics), each copy as its own job.
report_outcome print_report(const generated_report& report, QPrinter& printer, int first_page, int last_page,
                            int copies, const page_filter& filter = {});

// One page (index from 1) scaled onto a white image of the given size, with preview fonts.
QImage render_preview_page(const generated_report& report, int page_index, const QSize& image_size,
                           const page_filter& filter = {});

} // namespace kovra::report
