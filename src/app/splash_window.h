#pragma once
// Tdlg_winieta: the splash window shown while the shared windows are prepared at start-up.
#include <QDialog>

class QLabel;
class QProgressBar;

namespace kovra::app {

class Tdlg_winieta : public QDialog {
public:
  explicit Tdlg_winieta(QWidget* parent = nullptr);
  // The text and the step (0..10) of the preparation.
  void show_step(const QString& text, int step);
  QLabel* lbl_text;
  QProgressBar* bar;
};

} // namespace kovra::app
