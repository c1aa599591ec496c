#include "controls/combo.h"

#include "controls/editors_grid.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace kovra::controls {

VL_combo::VL_combo(QWidget* parent) : QComboBox(parent) { init_editor(this); }

void VL_combo::set_editor_text(const QString& t) {
  const int i = findText(t);
  if (i >= 0) setCurrentIndex(i);
  else if (isEditable()) setEditText(t);
}

bool VL_combo::event(QEvent* e) {
  if (e->type() == QEvent::KeyPress && link_.linked()) {
    auto* k = static_cast<QKeyEvent*>(e);
    if ((k->key() == Qt::Key_Tab || k->key() == Qt::Key_Backtab) && handle_key(k)) return true;
  }
  return QComboBox::event(e);
}

bool VL_combo::eventFilter(QObject* watched, QEvent* e) {
  if (watched == lineEdit() && e->type() == QEvent::KeyPress && handle_key(static_cast<QKeyEvent*>(e))) return true;
  return QComboBox::eventFilter(watched, e);
}

bool VL_combo::handle_key(QKeyEvent* e) {
  if (insert_key(e)) return true;
  if (is_grid_end_key(e, false, true)) {
    if (e->key() == Qt::Key_Escape) restore_saved();
    link_.grid->end_edit(e->key());
    return true;
  }
  switch (e->key()) {
  case Qt::Key_Escape:
    restore_saved();
    if (lineEdit()) lineEdit()->selectAll();
    return true;
  case Qt::Key_Return:
  case Qt::Key_Enter:
    focusNextPrevChild(true);
    return true;
  case Qt::Key_Up:
  case Qt::Key_Down:
    if (!view()->isVisible()) {
      showPopup();
      return true;
    }
    return false;
  default: break;
  }
  QLineEdit* le = lineEdit();
  const QString t = e->text();
  if (le && !insert_mode_ && t.size() == 1 && is_printable(t[0])) {
    if (le->hasSelectedText()) le->del();
    const int pos = le->cursorPosition();
    if (pos < le->text().size() && is_printable(le->text()[pos])) le->setSelection(pos, 1);
    le->insert(t);
    return true;
  }
  return false;
}

void VL_combo::keyPressEvent(QKeyEvent* e) {
  if (!handle_key(e)) QComboBox::keyPressEvent(e);
}

void VL_combo::focusInEvent(QFocusEvent* e) {
  QComboBox::focusInEvent(e);
  if (lineEdit()) lineEdit()->installEventFilter(this);
  enter_editor(this);
}

void VL_combo::focusOutEvent(QFocusEvent* e) {
  QComboBox::focusOutEvent(e);
  leave_editor(this);
}

VL_list_box::VL_list_box(QWidget* parent) : QListWidget(parent) { init_editor(this); }

void VL_list_box::set_editor_text(const QString& t) {
  const auto found = findItems(t, Qt::MatchExactly);
  if (!found.isEmpty()) setCurrentItem(found.front());
}

void VL_list_box::focusInEvent(QFocusEvent* e) {
  QListWidget::focusInEvent(e);
  enter_editor(this);
}

void VL_list_box::focusOutEvent(QFocusEvent* e) {
  QListWidget::focusOutEvent(e);
  apply_colours(this);
}

} // namespace kovra::controls
