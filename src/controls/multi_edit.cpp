#include "controls/multi_edit.h"

#include "controls/editors_grid.h"

#include <QKeyEvent>
#include <QTextBlock>
#include <QTextLayout>

namespace kovra::controls {

VL_multi_edit::VL_multi_edit(QWidget* parent) : QPlainTextEdit(parent) {
  init_editor(this);
  setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  connect(this, &QPlainTextEdit::textChanged, this, [this] {
    if (isVisible() && link_.linked()) link_.grid->editor_text_changed();
  });
}

QString VL_multi_edit::flushed(const QString& t) {
  QString out;
  bool in_break = false;
  for (QChar c : t) {
    const bool br = c == '\n' || c == '\r' || c == QChar::ParagraphSeparator || c == QChar::LineSeparator;
    if (br) {
      if (!in_break) out += ' ';
      in_break = true;
    } else {
      out += c;
      in_break = false;
    }
  }
  while (out.endsWith(' ')) out.chop(1);
  return out;
}

void VL_multi_edit::set_flush_returns(bool on) {
  flush_returns_ = on;
  if (on) setPlainText(flushed(toPlainText()));
}

void VL_multi_edit::set_word_wrap(bool on) { setLineWrapMode(on ? WidgetWidth : NoWrap); }

QString VL_multi_edit::text() const { return flush_returns_ ? flushed(toPlainText()) : toPlainText(); }

void VL_multi_edit::set_text(const QString& t) { setPlainText(flush_returns_ ? flushed(t) : t); }

void VL_multi_edit::set_insert_mode(bool insert) {
  VL_editor_base::set_insert_mode(insert);
  setOverwriteMode(false);  // overwriting is done here, so that line breaks are never replaced
}

int VL_multi_edit::line_count() const {
  int n = 0;
  for (QTextBlock b = document()->begin(); b.isValid(); b = b.next())
    n += b.layout() && b.layout()->lineCount() > 0 ? b.layout()->lineCount() : 1;
  return std::max(n, 1);
}

bool VL_multi_edit::event(QEvent* e) {
  if (e->type() == QEvent::KeyPress && link_.linked()) {
    auto* k = static_cast<QKeyEvent*>(e);
    if (k->key() == Qt::Key_Tab || k->key() == Qt::Key_Backtab) {
      keyPressEvent(k);
      return true;
    }
  }
  return QPlainTextEdit::event(e);
}

void VL_multi_edit::keyPressEvent(QKeyEvent* e) {
  if (insert_key(e)) return;
  if (is_grid_end_key(e, false, !WantReturns)) {
    if (e->key() == Qt::Key_Escape) restore_saved();
    link_.grid->end_edit(e->key());
    return;
  }
  const bool enter = e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
  if (e->key() == Qt::Key_Escape) {
    restore_saved();
    selectAll();
    return;
  }
  if (enter) {
    if (!WantReturns) QWidget::focusNextPrevChild(true);  // the line feed itself is dropped
    else QPlainTextEdit::keyPressEvent(e);
    return;
  }
  const QString t = e->text();
  if (t.size() == 1 && is_printable(t[0]) && !(e->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
    QTextCursor c = textCursor();
    if (!insert_mode_) {
      if (c.hasSelection()) c.removeSelectedText();
      if (!c.atBlockEnd()) {
        const QChar under = document()->characterAt(c.position());
        if (is_printable(under)) c.movePosition(QTextCursor::NextCharacter, QTextCursor::KeepAnchor);
      }
    }
    c.insertText(t);
    setTextCursor(c);
    return;
  }
  QPlainTextEdit::keyPressEvent(e);
}

void VL_multi_edit::focusInEvent(QFocusEvent* e) {
  QPlainTextEdit::focusInEvent(e);
  const bool first = !saved_valid_;
  enter_editor(this);
  if (first) {
    if (AutoSelect) selectAll();
    else moveCursor(QTextCursor::End);
  }
}

void VL_multi_edit::focusOutEvent(QFocusEvent* e) {
  QPlainTextEdit::focusOutEvent(e);
  leave_editor(this);
}

} // namespace kovra::controls
