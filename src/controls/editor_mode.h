#pragma once
// The program-wide insert/overwrite mode of the editors. An editor asks for the mode to be
// switched when the user presses Insert; the main window decides (it shows "WST" or "NAD")
// and sets the mode, which every editor follows.
#include <QObject>

#include <functional>

namespace kovra::controls {

class VL_editor_mode : public QObject {
  Q_OBJECT
public:
  static VL_editor_mode& instance();

  bool insert_mode() const { return insert_mode_; }
  // Sets the mode and tells every editor (they follow through insert_mode_changed).
  void set_insert_mode(bool insert);
  // The main window's answer to a switch request: true when it accepted (it then calls
  // set_insert_mode). Without a handler every request is accepted and applied here.
  void set_switch_handler(std::function<bool(bool insert)> handler) { handler_ = std::move(handler); }
  // An editor's request (the Insert key); true when accepted, and the key is then consumed.
  bool request_switch(bool insert);
  void reset();  // insert mode, no handler (tests)

signals:
  void insert_mode_changed(bool insert);

private:
  bool insert_mode_ = true;
  std::function<bool(bool)> handler_;
};

} // namespace kovra::controls
