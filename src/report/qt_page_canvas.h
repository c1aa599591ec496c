#pragma once
// Replays page-file commands with a QPainter (printer, PDF writer or preview image).
#include "report/page_replay.h"
#include "report/report_tables.h"

#include <QFont>
#include <QImage>
#include <QPen>
#include <vector>

class QPainter;
class QPagedPaintDevice;

namespace kovra::report {

class VL_raport;

class qt_page_canvas : public page_canvas {
public:
  // `paged` is the printing device whose pages are ended between replayed pages; nullptr in
  // preview. Fonts are made for the report's recording resolution (0.9 of it in preview).
  qt_page_canvas(QPainter& painter, const VL_raport& report, bool preview, QPagedPaintDevice* paged);

  void start_page(int32_t page_no, bool first) override;
  void select_pen(int32_t pen) override;
  void select_font(int32_t font) override;
  void text_colour(int32_t colour) override;
  void rectangle(const page_rect& r, int32_t brush) override;
  void round_rect(const page_rect& r, int32_t corner, int32_t brush) override;
  void line(int32_t x1, int32_t y1, int32_t x2, int32_t y2) override;
  void text(const std::string& text, const page_rect& r, int32_t format) override;
  void page_number(const page_rect& r, int32_t page_no) override;
  void arc(const page_rect& box, int32_t x_start, int32_t y_start, int32_t x_end, int32_t y_end) override;
  void text_vcentred(const std::string& text, const page_rect& r) override;

private:
  void draw_text_flags(const QString& text, const page_rect& r, int flags);

  QPainter& painter_;
  const VL_raport& report_;
  QPagedPaintDevice* paged_;
  std::vector<QFont> fonts_;
  std::vector<QPen> pens_;
  int32_t pen_ = -1, font_ = -1;
  QPen line_pen_;
  QColor text_colour_ = Qt::black;
};

} // namespace kovra::report
