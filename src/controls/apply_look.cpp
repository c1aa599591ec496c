#include "controls/apply_look.h"

#include "controls/combo.h"
#include "controls/multi_edit.h"
#include "controls/page_ctrl.h"
#include "controls/screen_look.h"
#include "controls/standard_edit.h"
#include "controls/std_grid.h"
#include "controls/sum_panel.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSplitter>
#include <QStatusBar>
#include <QToolButton>
#include <QTreeView>

namespace kovra::controls {
namespace {

const TEXT_ELEM& element(int i) { return screen_elements()[std::size_t(i)]; }
QFont element_font(int i) {
  const auto& fonts = screen_fonts();
  const int f = element(i).font;
  return fonts[std::size_t(f >= 0 && f < int(fonts.size()) ? f : 0)].font;
}

void set_colours(QWidget* w, const QColor* text, const QColor* back) {
  QPalette pal = w->palette();
  if (text) {
    pal.setColor(QPalette::WindowText, *text);
    pal.setColor(QPalette::Text, *text);
    pal.setColor(QPalette::ButtonText, *text);
  }
  if (back) pal.setColor(QPalette::Base, *back);
  w->setPalette(pal);
}

void editor_look(VL_editor_base* e, QWidget* w) {
  const TEXT_ELEM& basic = element(elem_basic);
  const TEXT_ELEM& edited = element(elem_edited);
  w->setFont(element_font(elem_basic));
  e->set_colours(basic.text, basic.background, edited.text, edited.background);
  set_colours(w, &basic.text, &basic.background);
}

void apply(QWidget* w, QWidget* parent) {
  const TEXT_ELEM& basic = element(elem_basic);
  if (qobject_cast<QTreeView*>(w)) return;  // trees keep their own look
  if (auto* g = qobject_cast<VL_std_grid*>(w)) {
    g->setFont(element_font(elem_basic));
    if (!g->has_look()) g->use_screen_look();
    set_colours(g, &basic.text, nullptr);
    g->set_line_color(basic.text);
    g->set_line_color_on(true);
  } else if (auto* s = qobject_cast<VL_sum_panel*>(w)) {
    s->setFont(element_font(elem_element_name));
    if (s->HilightBackground) {
      const TEXT_ELEM& h = element(elem_highlighted);
      QPalette pal = s->palette();
      pal.setColor(QPalette::WindowText, h.text);
      pal.setColor(QPalette::Window, h.background);
      s->setPalette(pal);
    }
    s->set_caption(s->text());
  } else if (auto* e = dynamic_cast<VL_standard_edit*>(w)) {
    editor_look(e, w);
    w->setFixedHeight(24);
  } else if (auto* m = dynamic_cast<VL_multi_edit*>(w)) {
    editor_look(m, w);
    m->AutoSelect = true;
  } else if (auto* c = dynamic_cast<VL_combo*>(w)) {
    editor_look(c, w);
  } else if (auto* l = dynamic_cast<VL_list_box*>(w)) {
    editor_look(l, w);
  } else if (auto* pc = qobject_cast<VL_page_ctrl*>(w)) {
    const TEXT_ELEM& a = element(elem_tab_active);
    const TEXT_ELEM& i = element(elem_tab_inactive);
    pc->TabActvFrgr = a.text;
    pc->TabActvBkgr = a.background;
    pc->TabInActvFrgr = i.text;
    pc->TabInActvBkgr = i.background;
    pc->setFont(element_font(elem_tab_active));
    set_colours(pc, &a.text, nullptr);
    pc->setUsesScrollButtons(true);
  } else if (qobject_cast<QLabel*>(w) || qobject_cast<QAbstractButton*>(w)) {
    if (auto* tb = qobject_cast<QToolButton*>(w)) tb->setAutoRaise(true);
    if (parent) w->setFont(parent->font());
    set_colours(w, &element(elem_fixed_text).text, nullptr);
  } else if (qobject_cast<QHeaderView*>(w)) {
    w->setFont(element_font(elem_header));
  } else if (qobject_cast<QLineEdit*>(w) || qobject_cast<QComboBox*>(w) || qobject_cast<QListWidget*>(w)) {
    w->setFont(element_font(elem_basic));
    set_colours(w, &basic.text, &basic.background);
  } else if (auto* sb = qobject_cast<QStatusBar*>(w)) {
    sb->setFont(element_font(elem_basic));
    sb->setFixedHeight(QFontMetrics(sb->font()).height() + 8);
  } else if (auto* sp = qobject_cast<QSplitter*>(w)) {
    sp->setHandleWidth(8);
  } else {
    w->setFont(element_font(elem_basic));
    set_colours(w, &basic.text, nullptr);
  }
  for (QObject* child : w->children())
    if (auto* cw = qobject_cast<QWidget*>(child); cw && !cw->isWindow()) apply(cw, w);
}

} // namespace

void apply_screen_look(QWidget* form) {
  if (form) apply(form, nullptr);
}

} // namespace kovra::controls
