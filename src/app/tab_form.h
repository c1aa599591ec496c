#pragma once
// TTabForm: the base of page windows and views, hosted in a page or a window and told
// when its page is shown and hidden; Tfrm_dsc: the base of the page windows.
#include <QWidget>
#include <string>
#include <vector>

namespace kovra::document {
class Base_Node;
}

namespace kovra::app {

class Tfrm_child;

class TTabForm : public QWidget {
public:
  explicit TTabForm(QWidget* parent = nullptr);

  // Re-parents the form into `parent` (filling it) and enables it, or with no parent
  // disables it; then sets its visibility.
  void host(QWidget* parent, bool visible);

  // Page protocol: activate 0 then 1 when its page is shown, deactivate 1 then 0 when it is
  // hidden, after_activate(0) after activate.
  virtual void activate(int stage) { calls.push_back("activate " + std::to_string(stage)); }
  virtual void deactivate(int stage) { calls.push_back("deactivate " + std::to_string(stage)); }
  virtual void set_shown(bool shown) { shown_ = shown; }
  virtual void after_activate(int flag) { calls.push_back("after_activate " + std::to_string(flag)); }
  bool shown() const { return shown_; }

  std::vector<std::string> calls;  // the protocol as it arrived (diagnostics, tests)

private:
  bool shown_ = false;
};

// A page whose view this edition does not have yet: it says so, and shows nothing else.
class Tfrm_pending_view : public TTabForm {
public:
  Tfrm_pending_view(const QString& view_class, const QString& caption, QWidget* parent = nullptr);
  QString view_class() const { return objectName(); }
};

class Tfrm_dsc : public TTabForm {
public:
  explicit Tfrm_dsc(Tfrm_child* owner, QWidget* parent = nullptr) : TTabForm(parent), owner_(owner) {}
  Tfrm_child* owner() const { return owner_; }

  void hold_autosave();
  void release_autosave();

  virtual void show_position(int index, document::Base_Node* node, const std::string& text) = 0;
  virtual void show_summary(int kind) = 0;
  virtual void activate_window(bool full) = 0;
  virtual void deactivate_window(bool full) = 0;
  virtual void switch_page(bool forward) = 0;
  virtual void show_total() = 0;

private:
  Tfrm_child* owner_;
};

} // namespace kovra::app
