#pragma once
// VL_combo (a combo box) and VL_list_box, with the editors' colours and keys.
#include "controls/editor_base.h"

#include <QComboBox>
#include <QListWidget>

namespace kovra::controls {

class VL_combo : public QComboBox, public VL_editor_base {
  Q_OBJECT
public:
  explicit VL_combo(QWidget* parent = nullptr);

  QString editor_text() const override { return currentText(); }
  void set_editor_text(const QString& t) override;

protected:
  bool event(QEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void focusInEvent(QFocusEvent* e) override;
  void focusOutEvent(QFocusEvent* e) override;

private:
  bool handle_key(QKeyEvent* e);  // true: used
};

class VL_list_box : public QListWidget, public VL_editor_base {
  Q_OBJECT
public:
  explicit VL_list_box(QWidget* parent = nullptr);

  QString editor_text() const override { return currentItem() ? currentItem()->text() : QString(); }
  void set_editor_text(const QString& t) override;

protected:
  void focusInEvent(QFocusEvent* e) override;
  void focusOutEvent(QFocusEvent* e) override;
};

} // namespace kovra::controls
