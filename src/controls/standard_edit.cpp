#include "controls/standard_edit.h"

#include "calc/decimal_separator.h"
#include "calc/number_text.h"
#include "controls/editors_grid.h"

#include <QKeyEvent>

#include <cmath>
#include <cstdio>
#include <cstring>

namespace kovra::controls {
namespace {

constexpr double bound_tolerance = 1.0000000000001;

QChar decimal_separator() { return QChar(calc::system_decimal_separator()); }

QString plain_number(double v) {
  QString s = QString::number(v, 'g', 15);
  s.replace('.', decimal_separator());
  return s;
}

} // namespace

VL_standard_edit::VL_standard_edit(QWidget* parent) : QLineEdit(parent) { init_editor(this); }

bool VL_standard_edit::event(QEvent* e) {
  // Tab ends a cell edit instead of moving the focus.
  if (e->type() == QEvent::KeyPress && link_.linked()) {
    auto* k = static_cast<QKeyEvent*>(e);
    if (k->key() == Qt::Key_Tab || k->key() == Qt::Key_Backtab) {
      keyPressEvent(k);
      return true;
    }
  }
  return QLineEdit::event(e);
}

bool VL_standard_edit::filter_char(QChar& c) const { return char_range_.isEmpty() || char_range_.contains(c); }

void VL_standard_edit::keyPressEvent(QKeyEvent* e) {
  if (insert_key(e)) return;
  if (is_grid_end_key(e, true, true)) {
    if (e->key() == Qt::Key_Escape) restore_saved();
    link_.grid->end_edit(e->key());
    return;
  }
  switch (e->key()) {
  case Qt::Key_Escape:
    restore_saved();
    selectAll();
    return;
  case Qt::Key_Return:
  case Qt::Key_Enter:
    focusNextPrevChild(true);
    return;
  default: break;
  }
  const QString t = e->text();
  if (t.size() == 1 && is_printable(t[0]) && !(e->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
    QChar c = t[0];
    if (!filter_char(c)) return;
    if (!insert_mode_) {
      if (hasSelectedText()) del();
      const int pos = cursorPosition();
      if (pos < text().size() && is_printable(text()[pos])) setSelection(pos, 1);
    }
    insert(QString(c));
    return;
  }
  QLineEdit::keyPressEvent(e);
}

void VL_standard_edit::focusInEvent(QFocusEvent* e) {
  QLineEdit::focusInEvent(e);
  entering();
  enter_editor(this);
}

void VL_standard_edit::focusOutEvent(QFocusEvent* e) {
  QLineEdit::focusOutEvent(e);
  leave_editor(this);
}

void VL_standard_edit::exit_refused() {}

// ---- numbers ----

VL_number_edit::VL_number_edit(QWidget* parent) : VL_standard_edit(parent) {
  char_range_ = "0123456789-";
  setAlignment(Qt::AlignRight);
}

void VL_number_edit::set_char_range(const QString& range) {
  QString r = range;
  for (int i = 0; i < r.size(); ++i)
    if (r[i] == ',' || r[i] == '.') {
      r[i] = decimal_separator();
      break;
    }
  char_range_ = r;
}

bool VL_number_edit::filter_char(QChar& c) const {
  if (!char_range_.isEmpty() && !char_range_.contains(c)) return false;
  if (c == '.' || c == ',') {
    c = decimal_separator();
    const QString kept = hasSelectedText() ? QString(text()).remove(selectionStart(), selectedText().size()) : text();
    if (kept.contains(c)) return false;
  }
  return true;
}

QString VL_number_edit::display_text(double v) {
  char buf[96];
  std::snprintf(buf, sizeof buf - 40, "%.6f", v);
  // Two to six decimals: the trailing zeros beyond the second go.
  std::size_t len = std::strlen(buf);
  const char* point = std::strchr(buf, '.');
  const std::size_t min_len = std::size_t(point - buf) + 3;
  while (len > min_len && buf[len - 1] == '0') buf[--len] = '\0';
  if (std::strcmp(buf, "-0.00") == 0) std::strcpy(buf, "0.00");
  calc::group_digits(buf, sizeof buf, 0);
  calc::to_display_separator(buf);
  return QString::fromLatin1(buf);
}

QString VL_number_edit::cleaned_text() const {
  const QChar sep = decimal_separator();
  QString t = text();
  if (!char_range_.contains(sep)) {
    int cut = -1;
    for (int i = 0; i < t.size() && cut < 0; ++i)
      if (t[i] == ',' || t[i] == '.' || t[i] == sep) cut = i;
    if (cut >= 0) t.truncate(cut);
  }
  if (!char_range_.isEmpty()) {
    QString kept;
    for (QChar c : t)
      if (char_range_.contains(c)) kept += c;
    t = kept;
  }
  return t;
}

double VL_number_edit::value() {
  const QChar sep = decimal_separator();
  const bool was_empty = text().trimmed().isEmpty();
  QString t = cleaned_text();
  if (t != text()) {
    const bool m = isModified();
    setText(t);
    setModified(m);
  }
  // An empty field is 0; a text that held no number at all (all of it filtered) is Min.
  if (t.isEmpty()) return was_empty ? 0.0 : Min;
  t.replace(sep, '.');
  bool ok = false;
  const double v = t.toDouble(&ok);
  return ok && std::isfinite(v) ? v : Min;
}

void VL_number_edit::set_value(double v) {
  QString t = display_text(v);
  if (OnFormat) OnFormat(this, v, t);
  setText(t);
}

bool VL_number_edit::range_check() {
  if (Min == 0 && Max == 0) return true;
  if (OnPerformCheck) {
    bool check_it = true, result = true;
    OnPerformCheck(this, check_it, result);
    if (!check_it) return result;
  }
  const double v = value();
  if (v > Max) {
    if (v <= Max * bound_tolerance) {
      set_value(Max);
      return true;
    }
    show_control_message(this, "Błąd !", "Zbyt duża wartość.\n\nMaksymalna wartość to " + plain_number(Max));
    return false;
  }
  if (v < Min) {
    if (v * bound_tolerance >= Min) {
      set_value(Min);
      return true;
    }
    show_control_message(this, "Błąd !", "Zbyt mała wartość.\n\nMinimalna wartość to " + plain_number(Min));
    return false;
  }
  return true;
}

bool VL_number_edit::exit_checks() {
  if (!range_check()) return false;
  if (!VL_standard_edit::exit_checks()) return false;
  set_value(value());
  return true;
}

void VL_number_edit::exit_refused() { restore_saved(); }

void VL_number_edit::entering() {
  // Grouping characters go while the number is edited, and so do the decimals of a field
  // that takes none (a whole number shown as "1 234,00" is edited as "1234", not "123400");
  // the modified flag stays.
  const QString t = cleaned_text();
  if (t != text()) {
    const bool m = isModified();
    setText(t);
    setModified(m);
  }
}

void VL_number_edit::focusInEvent(QFocusEvent* e) {
  setAlignment(Qt::AlignLeft);
  VL_standard_edit::focusInEvent(e);
}

void VL_number_edit::focusOutEvent(QFocusEvent* e) {
  setAlignment(Qt::AlignRight);
  VL_standard_edit::focusOutEvent(e);
}

} // namespace kovra::controls
