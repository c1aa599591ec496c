#include "report/report_output.h"

#include "report/qt_page_canvas.h"
#include "report/report_exception.h"
#include "report/report_gui.h"
#include "report/report_tables.h"

#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>

#include <cmath>
#include <exception>

namespace kovra::report {

int32_t margin_units(int dpi, double mm) { return static_cast<int32_t>(std::trunc(dpi * mm / 25.4 + 0.5)); }

generated_report generate_report(QPaintDevice& device, const QSize& page_size, const report_page_setup& setup,
                                 const shell::print_look& look, const report_generator& generator,
                                 const page_observer& observer) {
  generated_report out;
  out.page_size = page_size;
  try {
    out.raport = std::make_unique<VL_raport>();
    VL_raport& raport = *out.raport;
    const int dpi_x = device.logicalDpiX(), dpi_y = device.logicalDpiY();
    const int32_t left = margin_units(dpi_x, setup.margin_left_mm);
    const int32_t right = margin_units(dpi_x, setup.margin_right_mm);
    const int32_t top = margin_units(dpi_y, setup.margin_top_mm);
    const int32_t bottom = margin_units(dpi_y, setup.margin_bottom_mm);
    raport.begin_report(left, page_size.width() - left - right, &setup.background, pen_table_from_look(look),
                        font_table_from_look(look), &device, setup.first_page_no, 96,
                        page_size.height() - top - bottom, top);
    if (observer) {
      raport.on_page_finished = [&](int pages) {
        out.pages = pages;
        observer(out);
      };
    }
    if (generator) generator(raport);
    raport.end_report();
    raport.on_page_finished = nullptr;
    if (raport.write_failed()) {
      out.raport.reset();  // the report and its page file go here
      out.pages = 0;
      out.error = "Nie można zapisać stron wydruku (brak miejsca na dysku?)";
      return out;
    }
    out.pages = raport.count_pages();
  } catch (const std::exception& e) {
    out.raport.reset();
    out.pages = 0;
    out.error = e.what();
  } catch (...) {
    out.raport.reset();
    out.pages = 0;
    out.error = "Nieznany błąd w czasie tworzenia wydruku";
  }
  return out;
}

namespace {

report_outcome replay_on(const generated_report& report, QPainter& painter, QPagedPaintDevice* paged,
                         bool preview, int first_page, int last_page, const page_filter& filter) {
  report_outcome out;
  qt_page_canvas canvas(painter, *report.raport, preview, paged);
  const replay_result r = report.raport->replay(canvas, preview, filter, last_page, first_page);
  out.pages_drawn = r.pages_drawn;
  out.ok = !r.damaged;
  if (r.damaged) out.error = "Uszkodzony zbiór stron wydruku";
  return out;
}

} // namespace

report_outcome write_report_pdf(const std::string& path, const report_page_setup& setup, const shell::print_look& look,
                                const report_generator& generator, int first_page, int last_page,
                                const page_filter& filter) {
  ensure_gui_application();
  const wait_cursor busy;
  report_outcome out;
  if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
    // A console application object made elsewhere: fonts cannot be used.
    out.error = "Wydruk graficzny wymaga aplikacji graficznej";
    return out;
  }
  try {
    QPdfWriter writer(QString::fromStdString(path));
    writer.setResolution(setup.resolution > 0 ? setup.resolution : 600);
    writer.setPageLayout(QPageLayout(setup.page_size, setup.orientation, QMarginsF(0, 0, 0, 0)));
    writer.setCreator(QStringLiteral("Kovra"));
    const QSize page = writer.pageLayout().fullRectPixels(writer.resolution()).size();
    generated_report report = generate_report(writer, page, setup, look, generator);
    if (!report) {
      out.error = report.error;
      return out;
    }
    QPainter painter;
    if (!painter.begin(&writer)) {
      out.error = "Nie można zapisać zbioru " + path;
      return out;
    }
    out = replay_on(report, painter, &writer, false, first_page, last_page, filter);
    if (!painter.end() && out.ok) {
      out.ok = false;
      out.error = "Nie można zapisać zbioru " + path;
    }
  } catch (const std::exception& e) {
    out.ok = false;
    out.error = e.what();
  }
  return out;
}

report_outcome print_report(const generated_report& report, QPrinter& printer, int first_page, int last_page,
                            int copies, const page_filter& filter) {
  report_outcome out;
  if (!report) {
    out.error = report.error;
    return out;
  }
  out.ok = true;
  const wait_cursor busy;
  try {
    for (int copy = 0; copy < std::max(1, copies); ++copy) {
      QPainter painter;
      if (!painter.begin(&printer)) {
        out.ok = false;
        out.error = "Nie można rozpocząć wydruku";
        return out;
      }
      const report_outcome one = replay_on(report, painter, &printer, false, first_page, last_page, filter);
      painter.end();
      out.pages_drawn += one.pages_drawn;
      if (!one.ok) {
        out.ok = false;
        out.error = one.error;
        return out;
      }
    }
  } catch (const std::exception& e) {
    out.ok = false;
    out.error = e.what();
  }
  return out;
}

QImage render_preview_page(const generated_report& report, int page_index, const QSize& image_size,
                           const page_filter& filter) {
  QImage image(image_size, QImage::Format_RGB32);
  image.fill(Qt::white);
  if (!report || page_index < 1 || image_size.isEmpty()) return image;
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
  painter.setWindow(QRect(QPoint(0, 0), report.page_size));
  painter.setViewport(QRect(QPoint(0, 0), image_size));
  replay_on(report, painter, nullptr, true, page_index, page_index, filter);
  return image;
}

} // namespace kovra::report
