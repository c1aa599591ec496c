#pragma once
// VL_multi_edit: the multi-line text editor.
#include "controls/editor_base.h"

#include <QPlainTextEdit>

namespace kovra::controls {

class VL_multi_edit : public QPlainTextEdit, public VL_editor_base {
  Q_OBJECT
public:
  explicit VL_multi_edit(QWidget* parent = nullptr);

  // With FlushReturns every run of line breaks becomes one blank and trailing blanks go,
  // when the text is set or read; switching it on rewrites the current text.
  void set_flush_returns(bool on);
  bool flush_returns() const { return flush_returns_; }
  bool WantReturns = true;
  void set_word_wrap(bool on);
  bool AutoSelect = false;

  QString text() const;
  void set_text(const QString& t);
  QString editor_text() const override { return text(); }
  void set_editor_text(const QString& t) override { set_text(t); }
  void set_insert_mode(bool insert) override;

  // Display lines of the text at the current width (wrapped lines counted).
  int line_count() const;

  static QString flushed(const QString& t);

protected:
  bool event(QEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void focusInEvent(QFocusEvent* e) override;
  void focusOutEvent(QFocusEvent* e) override;

private:
  bool flush_returns_ = false;
};

} // namespace kovra::controls
