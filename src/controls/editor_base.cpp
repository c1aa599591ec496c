#include "controls/editor_base.h"

#include "controls/editor_mode.h"
#include "controls/editors_grid.h"

#include <QKeyEvent>
#include <QMessageBox>
#include <QPalette>
#include <QTimer>
#include <QWidget>

namespace kovra::controls {
namespace {

control_message_handler& message_handler() {
  static control_message_handler h;
  return h;
}

} // namespace

void set_control_message_handler(control_message_handler handler) { message_handler() = std::move(handler); }

void show_control_message(QWidget* parent, const QString& caption, const QString& text) {
  if (message_handler()) message_handler()(parent, caption, text);
  else QMessageBox::critical(parent, caption, text);
}

bool is_printable(const QChar& c) { return c.unicode() >= 0x80 || (c.unicode() >= 0x20 && c.unicode() != 0x7F); }

void VL_editor_base::set_colours(const QColor& norm_text, const QColor& norm_back, const QColor& actv_text,
                                 const QColor& actv_back) {
  ColorNormFrgr = norm_text;
  ColorNormBkgr = norm_back;
  ColorActvFrgr = actv_text;
  ColorActvBkgr = actv_back;
}

void VL_editor_base::init_editor(QWidget* self) {
  const QPalette pal = self->palette();
  set_colours(pal.color(QPalette::Text), pal.color(QPalette::Base), pal.color(QPalette::Text),
              pal.color(QPalette::Base));
  insert_mode_ = VL_editor_mode::instance().insert_mode();
  QObject::connect(&VL_editor_mode::instance(), &VL_editor_mode::insert_mode_changed, self,
                   [this](bool insert) { set_insert_mode(insert); });
}

void VL_editor_base::apply_colours(QWidget* self) {
  const bool focus = self->hasFocus();
  QPalette pal = self->palette();
  pal.setColor(QPalette::Text, focus ? ColorActvFrgr : ColorNormFrgr);
  pal.setColor(QPalette::Base, focus ? ColorActvBkgr : ColorNormBkgr);
  pal.setColor(QPalette::Disabled, QPalette::Text, QColor(0x80, 0x80, 0x80));
  self->setPalette(pal);
}

bool VL_editor_base::insert_key(QKeyEvent* e) {
  if (e->key() != Qt::Key_Insert || (e->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)))
    return false;
  return VL_editor_mode::instance().request_switch(!insert_mode_);
}

void VL_editor_base::enter_editor(QWidget* self) {
  apply_colours(self);
  if (!saved_valid_) {
    saved_ = editor_text();
    saved_valid_ = true;
  }
}

bool VL_editor_base::exit_checks() {
  bool can_exit = true;
  if (OnExit) OnExit(dynamic_cast<QWidget*>(this), can_exit);
  return can_exit;
}

bool VL_editor_base::leave_editor(QWidget* self) {
  apply_colours(self);
  if (exit_checked) {  // the grid asked already
    exit_checked = false;
    saved_valid_ = false;
    return true;
  }
  if (!exit_checks()) {
    exit_refused();
    QTimer::singleShot(0, self, [self] { self->setFocus(Qt::OtherFocusReason); });
    return false;
  }
  saved_valid_ = false;
  if (link_.linked()) link_.grid->editor_left(self);
  return true;
}

bool VL_editor_base::is_grid_end_key(QKeyEvent* e, bool up_down, bool enter) const {
  if (!link_.linked()) return false;
  switch (e->key()) {
  case Qt::Key_Tab:
  case Qt::Key_Backtab:
  case Qt::Key_Escape: return true;
  case Qt::Key_Return:
  case Qt::Key_Enter: return enter;
  case Qt::Key_Up:
  case Qt::Key_Down: return up_down;
  default: return false;
  }
}

} // namespace kovra::controls
