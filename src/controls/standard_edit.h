#pragma once
// One-line editors: VL_standard_edit and its kinds VL_line_edit (text) and VL_number_edit
// (numbers in the program's display form).
#include "controls/editor_base.h"

#include <QLineEdit>

namespace kovra::controls {

class VL_standard_edit : public QLineEdit, public VL_editor_base {
  Q_OBJECT
public:
  explicit VL_standard_edit(QWidget* parent = nullptr);

  // The characters the user may type; empty allows all.
  virtual void set_char_range(const QString& range) { char_range_ = range; }
  QString char_range() const { return char_range_; }

  QString editor_text() const override { return text(); }
  void set_editor_text(const QString& t) override { setText(t); }

protected:
  bool event(QEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void focusInEvent(QFocusEvent* e) override;
  void focusOutEvent(QFocusEvent* e) override;
  // A typed character as it goes into the text; nothing when it is dropped.
  virtual bool filter_char(QChar& c) const;
  virtual void entering() {}
  void exit_refused() override;

  QString char_range_;
};

class VL_line_edit : public VL_standard_edit {
  Q_OBJECT
public:
  explicit VL_line_edit(QWidget* parent = nullptr) : VL_standard_edit(parent) {}
};

class VL_number_edit : public VL_standard_edit {
  Q_OBJECT
public:
  explicit VL_number_edit(QWidget* parent = nullptr);

  // The first "," or "." of the range becomes the system decimal separator.
  void set_char_range(const QString& range) override;

  // Reading cleans the text (it is put back) and gives Min for a text that is no number.
  double value();
  void set_value(double v);
  double Min = 0, Max = 0;  // both 0: no range check

  // OnFormat: may replace the display text of a value.
  std::function<void(VL_number_edit* sender, double value, QString& text)> OnFormat;
  // OnPerformCheck: clearing check_it replaces the range check by check_result.
  std::function<void(VL_number_edit* sender, bool& check_it, bool& check_result)> OnPerformCheck;

  // The range check of leaving: a value just over a bound becomes the bound; beyond it the
  // message box is shown and false returned.
  bool range_check();
  bool exit_checks() override;

  // The display form of a value: digits grouped, two to six decimals.
  static QString display_text(double value);
  // The text as it is edited and read: without a range that holds the decimal separator it
  // ends before the first separator; then only the characters of the range are kept.
  QString cleaned_text() const;

protected:
  bool filter_char(QChar& c) const override;
  void entering() override;
  void exit_refused() override;
  void focusInEvent(QFocusEvent* e) override;
  void focusOutEvent(QFocusEvent* e) override;
};

} // namespace kovra::controls
