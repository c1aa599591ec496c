#pragma once
// The windowed program from start to end: the handlers the core calls (messages, store
// notices, corruption, fatal errors, progress, passwords), start-up with the login dialog,
// the main window and the single-instance service, the message loop, and the shutdown.
#include "app/instance_server.h"
#include "app/login_dialog.h"
#include "app/message_box.h"
#include "app/progress_window.h"
#include "shell/startup.h"
#include "shell/store_bridge.h"

#include <memory>
#include <string>
#include <vector>

namespace kovra::app {

class Tfrm_main;

class kovra_program {
public:
  kovra_program();
  ~kovra_program();

  // Start-up up to the message loop. -1: the program goes on (run the loop, then
  // shutdown()); otherwise the exit code (shutdown has run).
  int start(const shell::startup_input& input);
  // The whole run: start, message loop, shutdown.
  int run(const shell::startup_input& input);
  void shutdown();

  Tfrm_main* main_window() const { return main_.get(); }
  const shell::startup_result& startup() const { return startup_; }
  instance_server* server() const { return server_.get(); }
  // The corruption handler installed in the store while the program runs.
  store::corruption_handler* corruption() const { return corruption_.get(); }

  // What ran, in order (the start-up and shutdown steps).
  std::vector<std::string> steps;

  // Replacements (tests): where messages go, who answers the login and the passwords,
  // how the program ends after corruption, and the socket of the single instance.
  shell::message_sink* messages = nullptr;
  shell::login_question* login = nullptr;
  document::password_question* passwords = nullptr;
  std::function<void(int)> end_program;
  QString socket_name;

  gui_message_sink message_boxes;
  gui_login_question login_dialog;
  gui_password_question password_dialog;

private:
  void install_handlers();
  void remove_handlers();

  shell::startup_result startup_;
  std::unique_ptr<Tfrm_main> main_;
  std::unique_ptr<instance_server> server_;
  std::unique_ptr<Tdlg_wait_bar> wait_bar_;
  qt_timer_control timers_;
  gui_fatal_handler fatal_;
  shell::catalogue_store_notices notices_;
  std::unique_ptr<shell::catalogue_corruption_handler> corruption_;
  bool handlers_installed_ = false;
};

} // namespace kovra::app
