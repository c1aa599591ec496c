#include "controls/sum_panel.h"

#include <QFontMetrics>

#include <algorithm>

namespace kovra::controls {

VL_sum_panel::VL_sum_panel(QWidget* parent) : QLabel(parent) {
  setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  setFrameStyle(QFrame::Panel | QFrame::Sunken);
  setAutoFillBackground(true);
}

void VL_sum_panel::set_min_width(int w) {
  min_width_ = w;
  set_caption(text());
}

void VL_sum_panel::set_caption(const QString& caption) {
  setText(caption);
  const int w = QFontMetrics(font()).horizontalAdvance(caption + "  ") + 2 * frameWidth();
  setFixedWidth(std::max(w, min_width_));
}

} // namespace kovra::controls
