#pragma once
// Tdlg_wait_bar: the progress window of long operations (heading, catalogue message,
// animation, bar, stop button), and the timers it stops while it is shown.
#include "shell/progress.h"

#include <QDialog>
#include <QPointer>
#include <QTimer>
#include <vector>

class QLabel;
class QProgressBar;
class QPushButton;

namespace kovra::app {

// A small animation drawn by the window itself: a ring of dots (searching) or a sheet
// moving between two folders (copying); it runs three rounds per start.
class wait_animation : public QWidget {
public:
  explicit wait_animation(QWidget* parent = nullptr);
  void start(int code);
  void advance();
  int frame() const { return frame_; }
  bool running() const { return frame_ < rounds * frames_per_round; }

  static constexpr int frames_per_round = 12;
  static constexpr int rounds = 3;

protected:
  void paintEvent(QPaintEvent*) override;

private:
  int code_ = 0;
  int frame_ = 0;
};

class Tdlg_wait_bar : public QDialog, public shell::progress_ui {
public:
  explicit Tdlg_wait_bar(QWidget* owner = nullptr);

  void show(const shell::progress_view& view) override;
  void set_position(int position) override;
  bool refresh() override;
  void hide() override;

  int refresh_count() const { return refreshes_; }
  QLabel* heading_label() const { return lbl_heading; }
  QLabel* message_label() const { return lbl_message; }
  QProgressBar* bar() const { return bar_; }
  QPushButton* stop_button() const { return btn_stop; }
  wait_animation* animation() const { return anim_; }

private:
  QLabel* lbl_heading;
  QLabel* lbl_message;
  wait_animation* anim_;
  QProgressBar* bar_;
  QPushButton* btn_stop;
  QWidget* owner_;
  bool stop_pressed_ = false;
  int refreshes_ = 0;
  QPointer<QWidget> previously_active_;
  std::vector<QPointer<QWidget>> disabled_;
};

// The running timers of every window: stopped while a progress window is shown, exactly
// those started again afterwards.
class qt_timer_control : public shell::timer_control {
public:
  std::vector<int> stop_running_timers() override;
  void restart_timers(const std::vector<int>& ids) override;

private:
  std::vector<QPointer<QTimer>> stopped_;
};

} // namespace kovra::app
