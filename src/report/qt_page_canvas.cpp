#include "report/qt_page_canvas.h"

#include "report/raport.h"
#include "report/report_qt_fonts.h"
#include "report/report_qt_text.h"
#include "report/text_format.h"

#include <QPagedPaintDevice>
#include <QPainter>
#include <QPolygon>

#include <cmath>

namespace kovra::report {

qt_page_canvas::qt_page_canvas(QPainter& painter, const VL_raport& report, bool preview, QPagedPaintDevice* paged)
    : painter_(painter), report_(report), paged_(paged) {
  for (const auto& f : report.fonts()) fonts_.push_back(make_qfont(f, report.dpi_x(), report.dpi_y(), preview));
  for (const auto& p : report.pens()) pens_.push_back(make_qpen(p));
  line_pen_ = pens_.empty() ? QPen(Qt::black, 0) : pens_.front();
  painter_.setPen(line_pen_);
  painter_.setBrush(Qt::NoBrush);
  painter_.setBackgroundMode(Qt::TransparentMode);
  if (!fonts_.empty()) painter_.setFont(fonts_.front());
}

void qt_page_canvas::start_page(int32_t page_no, bool first) {
  if (paged_ && !first) paged_->newPage();
  const QImage& bg = report_.background();
  if (!bg.isNull())
    painter_.drawImage(QRect(report_.left(), report_.top(), report_.width(), report_.height()), bg);
}

void qt_page_canvas::select_pen(int32_t pen) {
  if (pen == pen_ || pen < 0 || static_cast<std::size_t>(pen) >= pens_.size()) return;
  pen_ = pen;
  line_pen_ = pens_[static_cast<std::size_t>(pen)];
  painter_.setPen(line_pen_);
}

void qt_page_canvas::select_font(int32_t font) {
  if (font == font_ || font < 0 || static_cast<std::size_t>(font) >= fonts_.size()) return;
  font_ = font;
  painter_.setFont(fonts_[static_cast<std::size_t>(font)]);
}

void qt_page_canvas::text_colour(int32_t colour) { text_colour_ = colour_from_ref(colour); }

void qt_page_canvas::rectangle(const page_rect& r, int32_t brush) {
  if (brush != -1)
    painter_.fillRect(QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1)), colour_from_ref(brush));
  const QPoint points[5] = {{r.left, r.top}, {r.right, r.top}, {r.right, r.bottom}, {r.left, r.bottom}, {r.left, r.top}};
  painter_.drawPolyline(points, 5);
}

void qt_page_canvas::round_rect(const page_rect& r, int32_t corner, int32_t brush) {
  painter_.setBrush(brush == -1 ? QBrush(Qt::NoBrush) : QBrush(colour_from_ref(brush)));
  const double radius = std::max(0, corner) / 2.0;
  painter_.drawRoundedRect(QRectF(QPointF(r.left, r.top), QPointF(r.right, r.bottom)), radius, radius);
  painter_.setBrush(Qt::NoBrush);
}

void qt_page_canvas::line(int32_t x1, int32_t y1, int32_t x2, int32_t y2) { painter_.drawLine(x1, y1, x2, y2); }

void qt_page_canvas::draw_text_flags(const QString& text, const page_rect& r, int flags) {
  if (text.isEmpty() || r.right <= r.left) return;
  painter_.setPen(text_colour_);
  painter_.drawText(QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1)), flags, text);
  painter_.setPen(line_pen_);
}

void qt_page_canvas::text(const std::string& text, const page_rect& r, int32_t format) {
  const QFontMetrics fm(painter_.font(), painter_.device());
  const QString t = break_wide_words(fm, mazovia_qstring(text), std::max(1, r.right - r.left),
                                     static_cast<uint32_t>(format));
  draw_text_flags(t, r, qt_text_flags(static_cast<uint32_t>(format)));
}

void qt_page_canvas::page_number(const page_rect& r, int32_t page_no) {
  draw_text_flags(QString::asprintf("%3d", page_no), r, Qt::AlignRight | Qt::AlignVCenter | Qt::TextSingleLine |
                                                           Qt::TextDontClip);
}

void qt_page_canvas::arc(const page_rect& box, int32_t x_start, int32_t y_start, int32_t x_end, int32_t y_end) {
  const QRectF rect(QPointF(box.left, box.top), QPointF(box.right, box.bottom));
  const QPointF c = rect.center();
  // Angles as Qt counts them: counter-clockwise from three o'clock, y pointing up.
  const double start = std::atan2(c.y() - y_start, x_start - c.x()) * 180.0 / M_PI;
  const double end = std::atan2(c.y() - y_end, x_end - c.x()) * 180.0 / M_PI;
  double span = end - start;
  while (span <= 0) span += 360.0;
  painter_.drawArc(rect, static_cast<int>(std::lround(start * 16)), static_cast<int>(std::lround(span * 16)));
}

void qt_page_canvas::text_vcentred(const std::string& text, const page_rect& r) {
  draw_text_flags(mazovia_qstring(text), r, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine);
}

} // namespace kovra::report
