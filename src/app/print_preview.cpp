#include "app/print_preview.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace kovra::app {
namespace {

constexpr int cached_pages = 8;

} // namespace

preview_pages::preview_pages(const report::generated_report& rep, int dpi, QWidget* parent)
    : QAbstractScrollArea(parent), rep_(&rep), dpi_(std::max(1, dpi)) {
  setFocusPolicy(Qt::StrongFocus);
  viewport()->setAutoFillBackground(true);
  QPalette p = viewport()->palette();
  p.setColor(QPalette::Window, QColor(128, 128, 128));
  viewport()->setPalette(p);
  last_ = std::max(1, rep_->pages);
}

void preview_pages::set_report(const report::generated_report& rep) {
  rep_ = &rep;
  cache_.clear();
  cache_order_.clear();
  viewport()->update();
}

void preview_pages::set_range(int first, int last) {
  const int page = first_ == std::max(1, first) ? current_page() : std::max(1, first);
  first_ = std::max(1, first);
  last_ = std::max(first_, last);
  relayout();
  go_to_page(page);
}

void preview_pages::set_zoom(preview_zoom z) {
  const int page = current_page();
  zoom_ = z;
  relayout();
  go_to_page(page);
}

void preview_pages::set_two_pages(bool two) {
  const int page = current_page();
  two_ = two;
  relayout();
  go_to_page(page);
}

int preview_pages::row_height() const { return page_px_.height() + 20; }

int preview_pages::last_navigable() const {
  if (!two_) return last_;
  // Rows start at the first page of the range: the last row's first page.
  return first_ + ((last_ - first_) / 2) * 2;
}

int preview_pages::current_page() const {
  const int rowh = std::max(1, row_height());
  const int row = (verticalScrollBar()->value() + rowh / 2) / rowh;
  return std::clamp(first_ + row * (two_ ? 2 : 1), first_, last_navigable());
}

void preview_pages::go_to_page(int index) {
  index = std::clamp(index, first_, last_navigable());
  const int row = (index - first_) / (two_ ? 2 : 1);
  verticalScrollBar()->setValue(row * row_height());
  viewport()->update();
  if (index != last_reported_) {
    last_reported_ = index;
    emit page_changed(index);
  }
}

void preview_pages::relayout() {
  const QSize dev = rep_->page_size.isEmpty() ? QSize(210, 297) : rep_->page_size;
  const QSize vp = viewport()->size();
  const int per_row = two_ ? 2 : 1;
  double width = 0;
  switch (zoom_) {
    case preview_zoom::z500:
    case preview_zoom::z200:
    case preview_zoom::z100: {
      const double factor = zoom_ == preview_zoom::z500 ? 5.0 : zoom_ == preview_zoom::z200 ? 2.0 : 1.0;
      width = dev.width() * double(logicalDpiX()) / dpi_ * factor;
      break;
    }
    case preview_zoom::page_width:
      width = two_ ? vp.width() / 2 - 15 : vp.width() - 20;
      break;
    case preview_zoom::whole_page: {
      const double avail_w = two_ ? vp.width() / 2.0 - 15 : vp.width() - 20.0;
      const double avail_h = vp.height() - 20.0;
      width = std::min(avail_w, avail_h * dev.width() / dev.height());
      break;
    }
  }
  width = std::max(width, 20.0);
  const QSize px(int(width), int(width * dev.height() / dev.width()));
  if (px != page_px_) {
    cache_.clear();
    cache_order_.clear();
  }
  page_px_ = px;

  const int rows = (last_ - first_) / per_row + 1;
  const int rowh = row_height();
  QScrollBar* v = verticalScrollBar();
  if (zoom_ == preview_zoom::whole_page) {
    // A step is a whole page: the strip snaps to rows.
    v->setRange(0, (rows - 1) * rowh);
    v->setSingleStep(rowh);
    v->setPageStep(rowh);
  } else {
    v->setRange(0, std::max(0, rows * rowh + 10 - vp.height()));
    v->setSingleStep(std::max(1, rowh / 20));
    v->setPageStep(std::max(1, vp.height()));
  }
  const int content_w = per_row * (px.width() + 20) + 10;
  horizontalScrollBar()->setRange(0, std::max(0, content_w - vp.width()));
  horizontalScrollBar()->setSingleStep(std::max(1, px.width() / 20));
  horizontalScrollBar()->setPageStep(std::max(1, vp.width()));
  viewport()->update();
}

const QImage& preview_pages::page_image(int index) {
  auto it = cache_.find(index);
  if (it != cache_.end()) return *it;
  if (cache_order_.size() >= cached_pages) cache_.remove(cache_order_.takeFirst());
  cache_order_.append(index);
  return *cache_.insert(index, report::render_preview_page(*rep_, index, page_px_));
}

void preview_pages::paintEvent(QPaintEvent*) {
  QPainter painter(viewport());
  const int rowh = row_height();
  const int v = verticalScrollBar()->value();
  const int h = horizontalScrollBar()->value();
  const int per_row = two_ ? 2 : 1;
  const int first_row = std::max(0, (v - 10) / rowh);
  const int last_row = (v + viewport()->height()) / rowh;
  for (int row = first_row; row <= last_row; ++row) {
    for (int col = 0; col < per_row; ++col) {
      const int index = first_ + row * per_row + col;
      if (index > last_ && col == 0) return;
      const QRect box(10 + col * (page_px_.width() + 20) - h, 10 + row * rowh - v, page_px_.width(), page_px_.height());
      painter.fillRect(box, Qt::white);
      if (index <= last_ && index <= rep_->pages) painter.drawImage(box.topLeft(), page_image(index));
      painter.setPen(Qt::black);
      painter.drawRect(box.adjusted(0, 0, -1, -1));
    }
  }
}

void preview_pages::resizeEvent(QResizeEvent* e) {
  const int page = current_page();
  QAbstractScrollArea::resizeEvent(e);
  relayout();
  go_to_page(page);
}

void preview_pages::scrollContentsBy(int, int) {
  QScrollBar* v = verticalScrollBar();
  if (zoom_ == preview_zoom::whole_page) {
    const int rowh = std::max(1, row_height());
    const int snapped = (v->value() + rowh / 2) / rowh * rowh;
    if (snapped != v->value()) {
      v->setValue(snapped);
      return;
    }
  }
  viewport()->update();
  const int page = current_page();
  if (page != last_reported_) {
    last_reported_ = page;
    emit page_changed(page);
  }
}

void preview_pages::keyPressEvent(QKeyEvent* e) {
  QScrollBar* hs = horizontalScrollBar();
  const bool ctrl = e->modifiers() & Qt::ControlModifier;
  switch (e->key()) {
    case Qt::Key_Home:
      if (ctrl) go_to_page(first_);
      else hs->setValue(hs->value() - viewport()->width());
      return;
    case Qt::Key_End:
      if (ctrl) go_to_page(last_navigable());
      else hs->setValue(hs->value() + viewport()->width());
      return;
    default:
      QAbstractScrollArea::keyPressEvent(e);
  }
}

void preview_pages::mousePressEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton) emit clicked();
}

Tdlg_rp_preview::Tdlg_rp_preview(report::generated_report rep, QPrinter* printer, rp_preview_setup setup,
                                 QWidget* parent)
    : QDialog(parent), rep_(std::move(rep)), printer_(printer), setup_(std::move(setup)) {
  setWindowTitle(QStringLiteral("Podgląd wydruku"));
  requested_last_ = setup_.last;
  const int last = setup_.last <= 0 ? rep_.pages : std::min(setup_.last, rep_.pages);
  setup_.first = std::max(1, setup_.first);
  setup_.last = std::max(setup_.first, last);

  auto* bar = new QHBoxLayout;
  auto button = [&](const QString& text) {
    auto* b = new QToolButton(this);
    b->setText(text);
    bar->addWidget(b);
    return b;
  };
  QToolButton* first_b = button(QStringLiteral("<<"));
  QToolButton* prev_b = button(QStringLiteral("<"));
  QToolButton* next_b = button(QStringLiteral(">"));
  QToolButton* last_b = button(QStringLiteral(">>"));
  bar->addWidget(new QLabel(QStringLiteral("Strona:"), this));
  page_ = new QSpinBox(this);
  page_->setRange(setup_.first + setup_.first_page_number - 1, setup_.last + setup_.first_page_number - 1);
  bar->addWidget(page_);
  zoom_ = new QComboBox(this);
  zoom_->addItems({QStringLiteral("500%"), QStringLiteral("200%"), QStringLiteral("100%"),
                   QStringLiteral("szerokość strony"), QStringLiteral("cała strona")});
  zoom_->setCurrentIndex(int(preview_zoom::whole_page));
  bar->addWidget(zoom_);
  two_ = new QToolButton(this);
  two_->setText(QStringLiteral("Dwie strony"));
  two_->setCheckable(true);
  bar->addWidget(two_);
  bar->addStretch();
  print_ = new QPushButton(QStringLiteral("&Drukuj"), this);
  print_->setEnabled(setup_.printing_allowed && printer_);
  bar->addWidget(print_);
  auto* close_b = new QPushButton(QStringLiteral("&Zamknij"), this);
  bar->addWidget(close_b);

  range_ = new QLabel(this);
  pages_ = new preview_pages(rep_, printer_ ? printer_->resolution() : 600, this);
  pages_->set_range(setup_.first, setup_.last);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(bar);
  layout->addWidget(range_);
  layout->addWidget(pages_, 1);
  resize(800, 900);

  auto step = [this](int pages) { return pages * (pages_->two_pages() ? 2 : 1); };
  connect(first_b, &QToolButton::clicked, this, [this] { pages_->go_to_page(setup_.first); });
  connect(prev_b, &QToolButton::clicked, this, [this, step] { pages_->go_to_page(pages_->current_page() - step(1)); });
  connect(next_b, &QToolButton::clicked, this, [this, step] { pages_->go_to_page(pages_->current_page() + step(1)); });
  connect(last_b, &QToolButton::clicked, this, [this] { pages_->go_to_page(pages_->last_navigable()); });
  connect(page_, &QSpinBox::valueChanged, this,
          [this](int number) { pages_->go_to_page(number - setup_.first_page_number + 1); });
  connect(pages_, &preview_pages::page_changed, this, [this](int index) {
    const QSignalBlocker block(page_);
    page_->setValue(index + setup_.first_page_number - 1);
  });
  connect(zoom_, &QComboBox::currentIndexChanged, this, [this](int i) { pages_->set_zoom(preview_zoom(i)); });
  connect(two_, &QToolButton::toggled, this, [this](bool on) { pages_->set_two_pages(on); });
  connect(pages_, &preview_pages::clicked, this, [this] {
    if (pages_->two_pages()) {
      pages_->set_two_pages(false);
      pages_->set_zoom(preview_zoom::whole_page);
    } else {
      pages_->set_zoom(pages_->zoom() == preview_zoom::whole_page ? preview_zoom::page_width
                                                                   : preview_zoom::whole_page);
    }
    const QSignalBlocker b1(zoom_), b2(two_);
    zoom_->setCurrentIndex(int(pages_->zoom()));
    two_->setChecked(pages_->two_pages());
  });
  connect(print_, &QPushButton::clicked, this, [this] {
    if (print_range()) accept();
  });
  connect(close_b, &QPushButton::clicked, this, &QDialog::reject);
  update_labels();
  pages_->setFocus();
}

Tdlg_rp_preview::~Tdlg_rp_preview() = default;

QString Tdlg_rp_preview::range_text() const {
  return QStringLiteral("Zakres stron: %1 - %2")
      .arg(setup_.first + setup_.first_page_number - 1)
      .arg(setup_.last + setup_.first_page_number - 1);
}

void Tdlg_rp_preview::update_labels() { range_->setText(range_text()); }

void Tdlg_rp_preview::update_page_count() {
  const int pages = shown_->pages;
  const int last = requested_last_ <= 0 ? pages : std::min(requested_last_, pages);
  setup_.last = std::max(setup_.first, last);
  {
    const QSignalBlocker block(page_);
    page_->setRange(setup_.first + setup_.first_page_number - 1, setup_.last + setup_.first_page_number - 1);
  }
  pages_->set_range(setup_.first, setup_.last);
  print_->setEnabled(!recording() && setup_.printing_allowed && printer_);
  update_labels();
}

void Tdlg_rp_preview::show_recording(const report::generated_report& recording) {
  shown_ = &recording;
  pages_->set_report(recording);
  update_page_count();
}

void Tdlg_rp_preview::set_report(report::generated_report rep) {
  rep_ = std::move(rep);
  shown_ = &rep_;
  pages_->set_report(rep_);
  update_page_count();
}

bool Tdlg_rp_preview::print_range(QString* error) {
  if (!printer_ || !rep_ || recording()) return false;
  if (setup_.before_print) setup_.before_print();
  bool printed = false;
  if (setup_.first <= rep_.pages) {
    const int status = setup_.printer_check ? setup_.printer_check() : 0;
    if (status != 0) {
      if (setup_.check_failed) setup_.check_failed(status);
    } else {
      printer_->setDocName(setup_.title);
      const report::report_outcome r =
          report::print_report(rep_, *printer_, setup_.first, setup_.last, setup_.copies, setup_.filter);
      printed = r.ok;
      if (!r.ok && error) *error = QString::fromStdString(r.error);
    }
  }
  if (setup_.after_print) setup_.after_print();
  update_labels();
  return printed;
}

std::unique_ptr<Tdlg_rp_preview> record_preview(QWidget* parent, QPrinter& printer, const report_recorder& record,
                                                rp_preview_setup preview, QString* error,
                                                const std::function<void()>& shown) {
  printer.setFullPage(true);
  const QSize page = printer.pageLayout().fullRectPixels(printer.resolution()).size();
  auto dialog = std::make_unique<Tdlg_rp_preview>(report::generated_report{}, &printer, std::move(preview), parent);
  dialog->setWindowModality(Qt::ApplicationModal);
  // Events are served between pages, at most every tenth of a second, so the preview pages
  // through what is finished while the rest is recorded; the pages are not recorded twice.
  QElapsedTimer since_events;
  bool first = true;
  const auto observer = [&](const report::generated_report& recording) {
    if (first) {
      first = false;
      dialog->show_recording(recording);
      dialog->show();
      dialog->pages()->repaint();
      if (shown) shown();
      since_events.start();
    } else if (since_events.elapsed() >= 100) {
      if (dialog->isVisible()) dialog->show_recording(recording);
      QCoreApplication::processEvents();
      since_events.restart();
    }
  };
  report::generated_report rep;
  {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    rep = record(printer, page, observer);
    QApplication::restoreOverrideCursor();
  }
  if (!rep) {
    if (error) *error = QString::fromStdString(rep.error);
    return nullptr;
  }
  const bool was_shown = !first;
  dialog->set_report(std::move(rep));
  if (!was_shown && shown) {
    dialog->show();
    dialog->pages()->repaint();
    shown();
  }
  return dialog;
}

bool show_report(QWidget* parent, QPrinter& printer, const report_recorder& record, rp_preview_setup preview,
                 bool with_preview, QString* error) {
  if (!with_preview) {
    printer.setFullPage(true);
    const QSize page = printer.pageLayout().fullRectPixels(printer.resolution()).size();
    report::generated_report rep = record(printer, page, {});
    if (!rep) {
      if (error) *error = QString::fromStdString(rep.error);
      return false;
    }
    Tdlg_rp_preview dialog(std::move(rep), &printer, std::move(preview), parent);
    return dialog.print_range(error);
  }
  std::unique_ptr<Tdlg_rp_preview> dialog = record_preview(parent, printer, record, std::move(preview), error, [] {});
  if (!dialog) return false;
  // Closed by the user while the pages were still being recorded: nothing more to show.
  if (dialog->isVisible()) dialog->exec();
  return true;
}

} // namespace kovra::app
