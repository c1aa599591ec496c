#pragma once
// What the program's editors share: colours that follow the focus, the program-wide
// insert/overwrite mode, the text saved on entering (Escape brings it back) and the link to
// the grid when the editor serves as a cell editor.
#include <QColor>
#include <QString>

#include <functional>

class QKeyEvent;
class QWidget;

namespace kovra::controls {

class VL_editors_grid;

// The link of a cell editor to its grid (none when the editor stands on a form).
struct VL_grid_capability {
  VL_editors_grid* grid = nullptr;
  bool linked() const { return grid != nullptr; }
};

class VL_editor_base {
public:
  virtual ~VL_editor_base() = default;

  QColor ColorNormFrgr, ColorNormBkgr, ColorActvFrgr, ColorActvBkgr;
  void set_colours(const QColor& norm_text, const QColor& norm_back, const QColor& actv_text,
                   const QColor& actv_back);

  bool insert_mode() const { return insert_mode_; }
  virtual void set_insert_mode(bool insert) { insert_mode_ = insert; }

  VL_grid_capability& grid_link() { return link_; }
  QString saved_contents() const { return saved_; }

  // OnExit: clearing can_exit keeps the focus in the control.
  std::function<void(QWidget* sender, bool& can_exit)> OnExit;

  // The editor's text, whatever its kind.
  virtual QString editor_text() const = 0;
  virtual void set_editor_text(const QString& text) = 0;
  // Leaving: the editor's own checks, then OnExit. False keeps the focus.
  virtual bool exit_checks();
  // A grid opens the editor on a cell: the text, which Escape brings back.
  void begin_cell_edit(const QString& text) {
    set_editor_text(text);
    saved_ = text;
    saved_valid_ = true;
    exit_checked = false;
  }
  // Set by a grid that ran exit_checks while ending an edit, so leaving does not ask again.
  bool exit_checked = false;

protected:
  void init_editor(QWidget* self);
  void apply_colours(QWidget* self);
  // The Insert key without modifiers asks for the mode switch; true when it was consumed.
  bool insert_key(QKeyEvent* e);
  void enter_editor(QWidget* self);
  // On focus loss: runs the exit checks and tells the grid; false when the focus is taken back.
  bool leave_editor(QWidget* self);
  virtual void exit_refused() {}
  // Escape: the saved text comes back.
  void restore_saved() { set_editor_text(saved_); }
  bool is_grid_end_key(QKeyEvent* e, bool up_down, bool enter) const;

  bool insert_mode_ = true;
  QString saved_;
  bool saved_valid_ = false;
  VL_grid_capability link_;
};

// A message an editor shows (the range check of number editors). Tests replace the box.
using control_message_handler = std::function<void(QWidget* parent, const QString& caption, const QString& text)>;
void set_control_message_handler(control_message_handler handler);  // empty: the message box
void show_control_message(QWidget* parent, const QString& caption, const QString& text);

// A printable key (or any character from 0x80 on).
bool is_printable(const QChar& c);

} // namespace kovra::controls
