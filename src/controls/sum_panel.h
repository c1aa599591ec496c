#pragma once
// VL_sum_panel: a value panel ("Wartość: " and the like) that sizes itself to its caption.
#include <QLabel>

namespace kovra::controls {

class VL_sum_panel : public QLabel {
  Q_OBJECT
public:
  explicit VL_sum_panel(QWidget* parent = nullptr);

  bool HilightBackground = true;
  void set_min_width(int w);
  int min_width() const { return min_width_; }
  // Sets the caption; the panel becomes as wide as the caption and two blanks, at least MinWidth.
  void set_caption(const QString& caption);

private:
  int min_width_ = 0;
};

} // namespace kovra::controls
