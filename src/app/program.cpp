#include "app/program.h"

#include "app/main_window.h"
#include "app/splash_window.h"
#include "controls/screen_look.h"
#include "report/printer_config.h"
#include "shell/command_line.h"
#include "shell/messages.h"
#include "shell/user_registry.h"
#include "shell/version_text.h"
#include "store/corruption.h"
#include "store/key_index.h"
#include "store/log.h"
#include "store/store_notice.h"

#include <QApplication>
#include <QFileInfo>
#include <stdexcept>
#include <unistd.h>

namespace kovra::app {

kovra_program::kovra_program() = default;

kovra_program::~kovra_program() {
  if (main_ || handlers_installed_) shutdown();
}

void kovra_program::install_handlers() {
  shell::set_message_sink(messages ? messages : &message_boxes);
  store::set_store_notice_sink(&notices_);
  auto end = end_program ? end_program : [](int code) {
    store::flush_log();
    ::_exit(code);  // the damaged file is left as it is; its working copy restores it next time
  };
  corruption_ = std::make_unique<shell::catalogue_corruption_handler>(end);
  store::set_corruption_handler(corruption_.get());
  store::set_fatal_handler(&fatal_);
  wait_bar_ = std::make_unique<Tdlg_wait_bar>();
  shell::set_progress_ui(wait_bar_.get());
  shell::set_timer_control(&timers_);
  document::set_password_question(passwords ? passwords : &password_dialog);
  handlers_installed_ = true;
}

void kovra_program::remove_handlers() {
  if (!handlers_installed_) return;
  document::set_password_question(nullptr);
  shell::set_timer_control(nullptr);
  shell::set_progress_ui(nullptr);
  store::set_fatal_handler(nullptr);
  store::set_corruption_handler(nullptr);
  store::set_store_notice_sink(nullptr);
  shell::set_message_sink(nullptr);
  wait_bar_.reset();
  handlers_installed_ = false;
}

int kovra_program::start(const shell::startup_input& input) {
  install_handlers();
  const auto runtime = input.env.find("XDG_RUNTIME_DIR");
  const QString socket = !socket_name.isEmpty() ? socket_name
                         : instance_socket_name(runtime == input.env.end() ? std::string() : runtime->second);
  std::vector<std::string> words(input.args.size() > 1 ? input.args.begin() + 1 : input.args.end(), input.args.end());
  std::vector<std::string> files = shell::file_arguments(words);
  for (auto& f : files)
    if (!f.empty() && f[0] != '/') f = input.current_dir + "/" + f;

  // A second start given files hands them to the running program and ends.
  if (!files.empty() && forward_to_running(socket, files)) {
    steps.push_back("forwarded");
    shutdown();
    return 0;
  }
  shell::startup_input with_reader = input;
  if (!with_reader.read_printer_config)  // prnconf.cfg into the configuration text printing uses
    with_reader.read_printer_config = [](const std::string& path) { report::load_current_printer_config(path); };
  if (!with_reader.load_screen_look)  // the grids' and editors' look, an older kovra.des taken over
    with_reader.load_screen_look = [](const std::string& ini) { controls::load_screen_look(ini); };
  startup_ = shell::start_up(with_reader, login ? login : &login_dialog);
  steps.push_back("start_up");
  if (startup_.already_running()) {
    shutdown();
    return 0;
  }
  if (store::fatal_error_raised()) {
    shutdown();
    return 1;
  }
  if (!startup_.logged_in) {
    steps.push_back("login refused");
    shutdown();
    return 0;
  }
  steps.push_back("login");
  if (startup_.association_written) refresh_desktop_databases(shell::registry_folders_of(input).data_folder);
  try {
    main_ = std::make_unique<Tfrm_main>(startup_.environment.ini_path, QString::fromStdString(shell::version_text()),
                                        startup_.environment.help_path, startup_.environment.data_folder);
    main_->prnconf_path = startup_.environment.prnconf_path;
    steps.push_back("main window");
    check_shortcuts();  // the hint and shortcut table
    store::reset_key_index_state();
    steps.push_back("tables");
    Tdlg_winieta splash;
    splash.show_step("Inicjalizacja programu", 0);
    splash.show_step("Inicjalizacja programu", 4);
    splash.show_step("Inicjalizacja katalogów", 10);
    steps.push_back("splash");
  } catch (const std::exception& e) {
    shell::show_error_text(e.what());
    shutdown();
    return 0;
  }
  server_ = std::make_unique<instance_server>();
  server_->on_command = [this](const std::string& command) {
    if (main_) main_->open_request(command);
  };
  server_->listen(socket);
  main_->set_insert_mode(true);
  steps.push_back("status line");
  main_->show();
  for (const std::string& f : files)
    if (QFileInfo(QString::fromStdString(f)).isFile()) main_->open_estimate(f, 0, true);
  return -1;
}

int kovra_program::run(const shell::startup_input& input) {
  int rc = start(input);
  if (rc >= 0) return rc;
  rc = QApplication::exec();
  shutdown();
  return rc;
}

void kovra_program::shutdown() {
  if (main_) {
    if (main_->isVisible()) main_->close();  // documents closed, placement and recent list stored
    server_.reset();
    main_.reset();
    steps.push_back("main window destroyed");
  }
  startup_.lock.release();
  steps.push_back("single instance released");
  store::reset_key_index_state();
  steps.push_back("key index freed");
  remove_handlers();
}

} // namespace kovra::app
