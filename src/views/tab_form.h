#pragma once
// TTabForm: the base of every page of a document window (and of the page windows that host
// them): told when its page is shown and hidden, when the chosen node changes and when a
// recalculation gave new values.
#include <QWidget>
#include <string>
#include <vector>

namespace kovra::document {
class Base_Node;
}

namespace kovra::views {

class view_host;

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

  // The estimate the page shows was bound, unbound or recalculated: read it again.
  virtual void values_changed() {}
  // The node chosen in the tree changed (none: the estimate itself).
  virtual void node_changed(document::Base_Node* node) {}

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

} // namespace kovra::views
