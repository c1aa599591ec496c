#pragma once
// "Podgląd wydruku": the pages of a graphic printout, recorded once, replayed on the screen one
// or two at a time at several zooms, and the page range printed with its copies.
#include "report/report_output.h"

#include <QAbstractScrollArea>
#include <QDialog>
#include <QHash>

#include <functional>
#include <memory>

class QComboBox;
class QLabel;
class QPrinter;
class QSpinBox;
class QToolButton;
class QPushButton;

namespace kovra::app {

struct rp_preview_setup {
  int first_page_number = 1;
  int first = 1;  // range as page indexes from 1
  int last = 0;   // 0: the last page of the report
  int copies = 1;
  QString title;  // of the print job
  bool printing_allowed = true;
  std::function<void()> before_print, after_print;
  // The printer's state before printing: 0 lets printing go on; anything else is passed to
  // check_failed and nothing is printed.
  std::function<int()> printer_check;
  std::function<void(int)> check_failed;
  report::page_filter filter;
};

// The zoom list, in order; "cała strona" is the default.
enum class preview_zoom { z500, z200, z100, page_width, whole_page };

// The strip of pages: one row of one or two pages per step, drawn from the recorded pages
// (a few rendered pages are kept, so scrolling back and forth replays nothing twice).
class preview_pages : public QAbstractScrollArea {
  Q_OBJECT
 public:
  preview_pages(const report::generated_report& rep, int dpi, QWidget* parent = nullptr);
  // Shows another report (the recording one while its pages are being finished).
  void set_report(const report::generated_report& rep);
  void set_range(int first, int last);
  void set_zoom(preview_zoom z);
  preview_zoom zoom() const { return zoom_; }
  void set_two_pages(bool two);
  bool two_pages() const { return two_; }
  int current_page() const;  // index from 1
  void go_to_page(int index);
  int last_navigable() const;
  QSize page_pixels() const { return page_px_; }

 signals:
  void page_changed(int index);
  void clicked();

 protected:
  void paintEvent(QPaintEvent*) override;
  void resizeEvent(QResizeEvent*) override;
  void keyPressEvent(QKeyEvent*) override;
  void mousePressEvent(QMouseEvent*) override;
  void scrollContentsBy(int dx, int dy) override;

 private:
  void relayout();
  int row_height() const;
  const QImage& page_image(int index);

  const report::generated_report* rep_;
  int dpi_;
  int first_ = 1, last_ = 1;
  preview_zoom zoom_ = preview_zoom::whole_page;
  bool two_ = false;
  QSize page_px_;
  QHash<int, QImage> cache_;
  QList<int> cache_order_;
  int last_reported_ = -1;
};

class Tdlg_rp_preview : public QDialog {
  Q_OBJECT
 public:
  // `rep` was recorded with the metrics of `printer` (device units at printer->resolution()).
  Tdlg_rp_preview(report::generated_report rep, QPrinter* printer, rp_preview_setup setup, QWidget* parent = nullptr);
  ~Tdlg_rp_preview() override;

  int page_count() const { return shown_->pages; }
  // While the report is recorded: the pages finished so far are shown (printing waits).
  void show_recording(const report::generated_report& recording);
  // The finished report takes the recording's place.
  void set_report(report::generated_report rep);
  bool recording() const { return shown_ != &rep_; }
  QString range_text() const;
  preview_pages* pages() const { return pages_; }
  // "&Drukuj": the range with its copies on the printer. False when nothing was printed.
  bool print_range(QString* error = nullptr);

 private:
  void update_labels();
  void update_page_count();

  report::generated_report rep_;
  const report::generated_report* shown_ = &rep_;
  int requested_last_ = 0;
  QPrinter* printer_;
  rp_preview_setup setup_;
  preview_pages* pages_ = nullptr;
  QComboBox* zoom_ = nullptr;
  QSpinBox* page_ = nullptr;
  QToolButton* two_ = nullptr;
  QLabel* range_ = nullptr;
  QPushButton* print_ = nullptr;
};

// Makes the report for a device laid out for a whole page of the given size in device units.
// The observer is to be called with each finished page.
using report_recorder = std::function<report::generated_report(QPaintDevice& device, const QSize& page_size,
                                                               const report::page_observer& observer)>;

// Records the report with `printer`'s metrics into a preview that opens on the first finished
// page and grows while the rest is recorded (events are served between pages). `shown` is
// called once the first page is on the screen. Null when the report could not be made (reason
// in `error`); the preview may have been closed by the user while recording.
std::unique_ptr<Tdlg_rp_preview> record_preview(QWidget* parent, QPrinter& printer, const report_recorder& record,
                                                rp_preview_setup preview, QString* error = nullptr,
                                                const std::function<void()>& shown = {});

// Records the report with `printer`'s metrics and shows it modally (or prints it at once when
// not `with_preview`). False when the report could not be made or printed (reason in `error`).
bool show_report(QWidget* parent, QPrinter& printer, const report_recorder& record, rp_preview_setup preview,
                 bool with_preview, QString* error = nullptr);

} // namespace kovra::app
