#include "app/app_support.h"

#include "app/main_window.h"
#include "shell/ini_form.h"
#include "shell/general_settings.h"
#include "shell/users.h"
#include "store/file_header.h"
#include "store/log.h"

#include <QElapsedTimer>
#include <QFont>
#include <QFontDatabase>
#include <QTimer>
#include <filesystem>

namespace kovra::test {

QApplication& test_app() {
  static int argc = 1;
  static char name[] = "app_tests";
  static char* argv[] = {name, nullptr};
  static QApplication* app = [] {
    auto* a = new QApplication(argc, argv);
    const int id = QFontDatabase::addApplicationFont("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf");
    if (id >= 0) QApplication::setFont(QFont(QFontDatabase::applicationFontFamilies(id).value(0), 9));
    return a;
  }();
  return *app;
}

bool wait_until(const std::function<bool()>& done, int ms) {
  QElapsedTimer t;
  t.start();
  while (!done()) {
    if (t.elapsed() > ms) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  return true;
}

void click_later(const std::function<void()>& click) { QTimer::singleShot(0, click); }

program_fixture::program_fixture() {
  test_app();
  shell::reset_ini_filename();
  shell::reset_general_settings();
  shell::reset_current_user();
  store::reset_log_state();
}

program_fixture::~program_fixture() {
  stop();
  shell::reset_ini_filename();
  shell::reset_current_user();
  store::reset_header_template();
  store::reset_log_state();
}

shell::startup_input program_fixture::input(std::vector<std::string> files) const {
  shell::startup_input in;
  in.args = {std::string(KOVRA_BINARY_DIR) + "/bin/kovra", "-u" + user_folder(), "-d" + tmp.path() + "dane/"};
  in.args.insert(in.args.end(), files.begin(), files.end());
  in.env["HOME"] = tmp.path() + "home";
  in.env["XDG_RUNTIME_DIR"] = tmp.path();
  in.current_dir = tmp.path();
  return in;
}

int program_fixture::start(std::vector<std::string> files) {
  stop();
  shell::reset_ini_filename();
  program = std::make_unique<app::kovra_program>();
  program->messages = &sink;
  program->login = &login;
  program->socket_name = QString::fromStdString(socket());
  program->end_program = [](int) {};
  return program->start(input(std::move(files)));
}

void program_fixture::stop() {
  if (program) program->shutdown();
  program.reset();
}

app::Tfrm_main& program_fixture::main() const { return *program->main_window(); }

std::string program_fixture::demo(const std::string& which, const std::string& name) const {
  const std::string to = tmp.path() + (name.empty() ? which : name) + ".kvr";
  const std::string from = std::string(KOVRA_BINARY_DIR) + "/examples/";
  std::filesystem::copy_file(from + which + ".kvr", to, std::filesystem::copy_options::overwrite_existing);
  if (which == "demo_compound")  // its external chapter lies beside it
    std::filesystem::copy_file(from + "demo_garage.kvr", tmp.path() + "demo_garage.kvr",
                               std::filesystem::copy_options::overwrite_existing);
  return to;
}

} // namespace kovra::test
