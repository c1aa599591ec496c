#include "controls/page_ctrl.h"

#include <QPainter>

namespace kovra::controls {

VL_tab_bar::VL_tab_bar(VL_page_ctrl* owner) : QTabBar(owner), owner_(owner) {}

void VL_tab_bar::paintEvent(QPaintEvent* e) {
  QTabBar::paintEvent(e);
  if (!owner_->tab_use_extend_draw()) return;
  QPainter p(this);
  for (int i = 0; i < count(); ++i) {
    const bool active = i == currentIndex();
    QRect r = tabRect(i).adjusted(2, 2, -2, -2);
    if (!active) r.translate(0, 2);
    p.fillRect(r, active ? owner_->TabActvBkgr : owner_->TabInActvBkgr);
    p.setPen(active ? owner_->TabActvFrgr : owner_->TabInActvFrgr);
    p.setFont(font());
    p.drawText(r, Qt::AlignCenter | Qt::TextSingleLine, tabText(i).remove('&'));
  }
}

VL_page_ctrl::VL_page_ctrl(QWidget* parent) : QTabWidget(parent) {
  setTabBar(new VL_tab_bar(this));
  const QPalette pal = palette();
  TabActvFrgr = TabInActvFrgr = pal.color(QPalette::WindowText);
  TabActvBkgr = TabInActvBkgr = pal.color(QPalette::Button);
}

void VL_page_ctrl::set_tab_use_extend_draw(bool on) {
  extend_draw_ = on;
  if (on) owner_draw_ = true;
  tabBar()->update();
}

void VL_page_ctrl::set_owner_draw(bool on) {
  owner_draw_ = on;
  if (!on) extend_draw_ = false;
  tabBar()->update();
}

} // namespace kovra::controls
