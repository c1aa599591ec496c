#pragma once
// VL_page_ctrl: a page control whose tabs are drawn in the colours of the active and the
// inactive tab.
#include <QTabBar>
#include <QTabWidget>

namespace kovra::controls {

class VL_page_ctrl;

class VL_tab_bar : public QTabBar {
  Q_OBJECT
public:
  explicit VL_tab_bar(VL_page_ctrl* owner);

protected:
  void paintEvent(QPaintEvent* e) override;

private:
  VL_page_ctrl* owner_;
};

class VL_page_ctrl : public QTabWidget {
  Q_OBJECT
public:
  explicit VL_page_ctrl(QWidget* parent = nullptr);

  QColor TabActvFrgr, TabActvBkgr, TabInActvFrgr, TabInActvBkgr;
  // The extended drawing turns owner drawing on; turning owner drawing off ends it.
  void set_tab_use_extend_draw(bool on);
  bool tab_use_extend_draw() const { return extend_draw_; }
  void set_owner_draw(bool on);
  bool owner_draw() const { return owner_draw_; }

private:
  bool owner_draw_ = true;
  bool extend_draw_ = true;
};

} // namespace kovra::controls
