#include "app/progress_window.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <cmath>

namespace kovra::app {

namespace {
constexpr int animation_size = 50;
constexpr int frame_width = 2;  // border + bevel of a panel
constexpr int min_width_with_bar = 500;
}

wait_animation::wait_animation(QWidget* parent) : QWidget(parent) {
  setFixedSize(animation_size, animation_size);
}

void wait_animation::start(int code) {
  code_ = code;
  frame_ = 0;
  update();
}

void wait_animation::advance() {
  if (!running()) return;
  ++frame_;
  update();
}

void wait_animation::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  const int step = frame_ % frames_per_round;
  const QPointF c(width() / 2.0, height() / 2.0);
  if (code_ == shell::ANIM_COPY_FILE) {
    // Two folders and a sheet on its way from the left one to the right one.
    p.setBrush(QColor(0xE0, 0xC0, 0x40));
    p.drawRect(2, 30, 14, 10);
    p.drawRect(width() - 16, 30, 14, 10);
    p.setBrush(Qt::white);
    const double x = 4 + (width() - 16) * step / double(frames_per_round - 1);
    p.drawRect(QRectF(x, 12 + 8 * std::sin(step * M_PI / (frames_per_round - 1)) * -1 + 8, 10, 12));
    return;
  }
  // Searching: a ring of dots, one of them lit, going round.
  for (int i = 0; i < frames_per_round; ++i) {
    const double a = 2 * M_PI * i / frames_per_round;
    const QPointF d(c.x() + 18 * std::cos(a), c.y() + 18 * std::sin(a));
    p.setBrush(i == step ? palette().highlight() : palette().mid());
    p.setPen(Qt::NoPen);
    p.drawEllipse(d, 3.5, 3.5);
  }
}

Tdlg_wait_bar::Tdlg_wait_bar(QWidget* owner) : QDialog(owner), owner_(owner) {
  setObjectName("Tdlg_wait_bar");
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
  setWindowTitle("Kovra");
  lbl_heading = new QLabel(this);
  lbl_message = new QLabel(this);
  lbl_message->setWordWrap(true);
  lbl_heading->setWordWrap(true);
  anim_ = new wait_animation(this);
  bar_ = new QProgressBar(this);
  bar_->setRange(0, 100);
  btn_stop = new QPushButton("&Przerwij", this);
  connect(btn_stop, &QPushButton::clicked, this, [this] { stop_pressed_ = true; });
}

void Tdlg_wait_bar::show(const shell::progress_view& view) {
  delete layout();
  const bool has_animation = view.layout != shell::progress_layout::no_animation;
  lbl_heading->setText(QString::fromStdString(view.heading));
  lbl_heading->setVisible(!view.heading.empty());
  lbl_message->setText(QString::fromStdString(view.text));
  anim_->setVisible(has_animation);
  anim_->start(view.animation);
  bar_->setVisible(view.bar);
  bar_->setValue(0);
  btn_stop->setVisible(view.stop_button);
  stop_pressed_ = false;

  // Sizes from the word-wrapped texts, then the layout rules of the shell.
  const int text_width = view.layout == shell::progress_layout::top_animation ? 300 : 200;
  const QFontMetrics fm(lbl_message->font());
  shell::progress_metrics m;
  m.message_height = fm.boundingRect(QRect(0, 0, text_width, 10000), Qt::TextWordWrap, lbl_message->text()).height();
  m.heading_height = view.heading.empty() ? 0
                     : fm.boundingRect(QRect(0, 0, text_width, 10000), Qt::TextWordWrap, lbl_heading->text()).height();
  m.panel_frame = frame_width;
  m.main_frame = frame_width;
  m.spacer = view.heading.empty() ? 0 : 4;
  m.bar_height = bar_->sizeHint().height();
  m.stop_panel_height = btn_stop->sizeHint().height() + 8;
  shell::progress_size size = shell::progress_window_size(m, view.layout, view.bar, view.stop_button);
  int width = size.client_width;
  if (view.bar && width < min_width_with_bar) width = min_width_with_bar;

  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(frame_width, frame_width, frame_width, frame_width);
  outer->setSpacing(m.spacer);
  outer->addWidget(lbl_heading);
  auto* content = view.layout == shell::progress_layout::left_animation ? static_cast<QBoxLayout*>(new QHBoxLayout)
                                                                       : new QVBoxLayout;
  if (has_animation) content->addWidget(anim_, 0, Qt::AlignCenter);
  content->addWidget(lbl_message, 1);
  outer->addLayout(content, 1);
  outer->addWidget(bar_);
  outer->addWidget(btn_stop, 0, Qt::AlignHCenter);
  setFixedSize(width, size.client_height);

  // Centred over the owner, else over the screen.
  QRect area = owner_ && owner_->isVisible() ? owner_->frameGeometry()
               : QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->availableGeometry()
                                                  : QRect(0, 0, 1024, 768);
  move(area.center() - QPoint(width / 2, size.client_height / 2));

  previously_active_ = QApplication::activeWindow();
  disabled_.clear();
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w != this && w->isVisible() && w->isEnabled()) {
      w->setEnabled(false);
      disabled_.emplace_back(w);
    }
  QDialog::show();
  raise();
}

void Tdlg_wait_bar::set_position(int position) { bar_->setValue(position); }

bool Tdlg_wait_bar::refresh() {
  ++refreshes_;
  anim_->advance();
  repaint();
  QCoreApplication::processEvents();
  bool stop = stop_pressed_;
  stop_pressed_ = false;
  return stop;
}

void Tdlg_wait_bar::hide() {
  for (auto& w : disabled_)
    if (w) w->setEnabled(true);
  disabled_.clear();
  QDialog::hide();
  if (previously_active_) previously_active_->activateWindow();
}

std::vector<int> qt_timer_control::stop_running_timers() {
  std::vector<int> ids;
  for (QWidget* top : QApplication::topLevelWidgets())
    for (QTimer* t : top->findChildren<QTimer*>())
      if (t->isActive()) {
        t->stop();
        ids.push_back(int(stopped_.size()));
        stopped_.emplace_back(t);
      }
  return ids;
}

void qt_timer_control::restart_timers(const std::vector<int>& ids) {
  for (int id : ids)
    if (id >= 0 && id < int(stopped_.size()) && stopped_[std::size_t(id)]) stopped_[std::size_t(id)]->start();
  stopped_.clear();
}

} // namespace kovra::app
