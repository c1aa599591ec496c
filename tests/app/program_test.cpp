// The program from start to end: start-up and shutdown order with the login modes, one
// running copy, the recent list kept across runs, and the open requests of a second start.
#include "app/app_support.h"
#include "app/document_window.h"
#include "app/main_window.h"
#include "controls/editor_mode.h"
#include "shell/config_file_support.h"
#include "shell/ini_file.h"
#include "shell/users.h"

#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QTest>
#include <QTextEdit>
#include <QToolButton>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

using namespace kovra;
using namespace kovra::app;
using kovra::test::program_fixture;
using steps_t = std::vector<std::string>;

namespace {

shell::user_entry user(const std::string& login, const std::string& password) {
  shell::user_entry e;
  e.user.login = login;
  e.user.password_value = shell::password_value(password);
  return e;
}

} // namespace

TEST(Program, StartUpAndShutdownInOrderWithTheLoginModes) {
  program_fixture f;
  // An older screen look beside kovra.ini is taken over at start-up.
  std::filesystem::create_directories(f.user_folder());
  std::vector<uint8_t> des(4 + 1015, 0);
  des[0] = 1;
  test::write_file(f.user_folder() + "kovra.des", des);
  // First run: no users file, so one user without a password logs in silently.
  ASSERT_EQ(f.start(), -1);
  EXPECT_FALSE(std::filesystem::exists(f.user_folder() + "kovra.des"));
  EXPECT_EQ(f.login.asked, 0);
  EXPECT_EQ(f.program->steps, (steps_t{"start_up", "login", "main window", "tables", "splash", "status line"}));
  EXPECT_EQ(f.main().lbl_mode->text(), "WST");
  EXPECT_EQ(f.main().lbl_version->text(), "v.8.08");
  EXPECT_EQ(f.main().windowTitle(), "Kovra");

  // A second copy while this one runs: message 182, no window, exit code 0; the first runs on.
  {
    program_fixture second;
    second.program = std::make_unique<kovra_program>();
    second.program->messages = &second.sink;
    second.program->login = &second.login;
    second.program->socket_name = QString::fromStdString(f.socket());
    EXPECT_EQ(second.program->start(f.input()), 0);
    EXPECT_EQ(second.program->main_window(), nullptr);
    ASSERT_EQ(second.sink.requests().size(), 1u);
    EXPECT_EQ(second.sink.requests()[0].number, 182);
    second.program.reset();
  }
  EXPECT_TRUE(f.main().isVisible());

  f.program->shutdown();
  EXPECT_EQ(f.program->steps, (steps_t{"start_up", "login", "main window", "tables", "splash", "status line",
                                       "main window destroyed", "single instance released", "key index freed"}));

  // Two users: the dialog is asked; refusing it ends start-up without a window.
  test::write_file(f.user_folder() + "kovra.psd",
                   test::concat(test::config_header_bytes(), shell::encode_users({user("Kowalski", "abcdef"), user("Nowak", "")}, 0)));
  f.login.answer = [](shell::login_start&) { return false; };
  EXPECT_EQ(f.start(), 0);
  EXPECT_EQ(f.login.asked, 1);
  EXPECT_EQ(f.program->steps, (steps_t{"start_up", "login refused", "single instance released", "key index freed"}));
  EXPECT_EQ(f.program->main_window(), nullptr);

  // Answered: the chosen user is recorded in kovra.ini.
  f.login.answer = [](shell::login_start& s) {
    return shell::answer_login(s, "Nowak", "") == shell::login_answer::accepted;
  };
  EXPECT_EQ(f.start(), -1);
  EXPECT_EQ(shell::current_user().login, "Nowak");
  EXPECT_EQ(shell::ini_read(f.user_folder() + "kovra.ini", "Uzytkownik", "Login"), "Nowak");
}

TEST(Program, RecentListKeepsTheTenLatestAndIsWrittenAtExitAndReadAtStart) {
  program_fixture f;
  ASSERT_EQ(f.start(), -1);
  EXPECT_FALSE(f.main().item_recent_empty->isVisible() == false);  // "Pusty" while empty
  std::vector<std::string> files;
  for (int i = 1; i <= 11; ++i) files.push_back(f.demo("demo_house", "dom" + std::to_string(i)));
  for (const auto& file : files) {
    ASSERT_TRUE(f.main().open_estimate(file, 0, false));
    f.main().active_document()->parentWidget()->close();
  }
  // The ten latest, latest on top; closing one already listed moves it up, no duplicate.
  QStringList expected;
  for (int i = 11; i >= 2; --i) expected << QString::fromStdString(files[std::size_t(i - 1)]);
  EXPECT_EQ(f.main().recent(), expected);
  ASSERT_TRUE(f.main().open_estimate(files[4], 0, false));
  f.main().active_document()->parentWidget()->close();
  expected.removeAll(QString::fromStdString(files[4]));
  expected.prepend(QString::fromStdString(files[4]));
  EXPECT_EQ(f.main().recent(), expected);
  EXPECT_FALSE(f.main().item_recent_empty->isVisible());
  EXPECT_EQ(f.main().menu_recent->actions().size(), 11);  // placeholder + ten

  // A listed file that is gone: message 7 and the entry leaves the list.
  std::filesystem::remove(files[10]);
  for (QAction* a : f.main().menu_recent->actions())
    if (a->text() == QString::fromStdString(files[10])) a->trigger();
  ASSERT_FALSE(f.sink.requests().empty());
  EXPECT_EQ(f.sink.requests().back().number, 7);
  expected.removeAll(QString::fromStdString(files[10]));
  EXPECT_EQ(f.main().recent(), expected);

  // A temporary document: its file is deleted on closing and it is not listed.
  const std::string temporary = f.demo("demo_house", "tymczasowy");
  ASSERT_TRUE(f.main().open_estimate(temporary, 0, false));
  f.main().active_document()->set_temporary(true);
  f.main().active_document()->parentWidget()->close();
  EXPECT_FALSE(std::filesystem::exists(temporary));
  EXPECT_EQ(f.main().recent(), expected);

  f.stop();
  ASSERT_EQ(f.start(), -1);
  EXPECT_EQ(f.main().recent(), expected);
}

TEST(Program, SecondStartForwardsItsFileAndAStaleSocketIsReplaced) {
  program_fixture f;
  const std::string socket = f.tmp.path() + "kovra-" + std::to_string(::getuid()) + ".sock";
  // A socket left by a crashed run: bound, nobody listening.
  int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  std::snprintf(addr.sun_path, sizeof addr.sun_path, "%s", socket.c_str());
  ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
  ::close(fd);

  f.program = std::make_unique<kovra_program>();
  f.program->messages = &f.sink;
  f.program->login = &f.login;
  ASSERT_EQ(f.program->start(f.input()), -1);
  EXPECT_TRUE(f.program->server()->replaced_stale());

  // The real program started again with a file hands it over and ends.
  const std::string file = f.demo("demo_house");
  QProcess second;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("XDG_RUNTIME_DIR", QString::fromStdString(f.tmp.path()));
  env.insert("HOME", QString::fromStdString(f.tmp.path() + "home"));
  env.insert("QT_QPA_PLATFORM", "offscreen");
  second.setProcessEnvironment(env);
  second.start(QString(KOVRA_BINARY_DIR) + "/bin/kovra",
               {QString::fromStdString("-u" + f.user_folder()), QString::fromStdString(file)});
  ASSERT_TRUE(test::wait_until([&] { return f.main().documents().size() == 1; }, 10000));
  ASSERT_TRUE(test::wait_until([&] { return second.state() == QProcess::NotRunning; }, 5000));
  EXPECT_EQ(second.exitCode(), 0);
  EXPECT_EQ(f.main().documents()[0]->file_name(), file);

  // The same file requested again activates its window; a request for a missing file or
  // without "open" opens nothing.
  f.main().open_request("[open(\"" + file + "\")]");
  f.main().open_request("[open(\"" + f.tmp.path() + "missing.kvr\")]");
  f.main().open_request("[close(\"" + file + "\")]");
  EXPECT_EQ(f.main().documents().size(), 1);
  EXPECT_TRUE(f.sink.requests().empty());
}

TEST(Program, InsertKeySwitchesEveryEditorAndHintsCanBeSwitchedOff) {
  program_fixture f;
  ASSERT_EQ(f.start(), -1);
  QLineEdit line(&f.main());
  QTextEdit text(&f.main());
  line.setText("abc");
  line.setCursorPosition(0);
  QTest::keyClick(&line, Qt::Key_Insert);
  EXPECT_EQ(f.main().lbl_mode->text(), "NAD");
  EXPECT_TRUE(text.overwriteMode());
  QTest::keyClicks(&line, "XYZW");  // over "abc", then on at the end
  EXPECT_EQ(line.text(), "XYZW");
  QTest::keyClick(&text, Qt::Key_Insert, Qt::ShiftModifier);  // with Shift: not the mode key
  EXPECT_EQ(f.main().lbl_mode->text(), "NAD");
  QTest::keyClick(&text, Qt::Key_Insert);
  EXPECT_EQ(f.main().lbl_mode->text(), "WST");
  EXPECT_FALSE(text.overwriteMode());
  line.setCursorPosition(0);
  QTest::keyClicks(&line, "a");
  EXPECT_EQ(line.text(), "aXYZW");
  // The component library's editors ask the main window, and follow it.
  EXPECT_TRUE(controls::VL_editor_mode::instance().request_switch(false));
  EXPECT_EQ(f.main().lbl_mode->text(), "NAD");
  f.main().set_insert_mode(true);
  EXPECT_TRUE(controls::VL_editor_mode::instance().insert_mode());

  // Tool buttons: "caption  (shortcut)" as tooltip, the sentence in the status line.
  EXPECT_EQ(f.main().btn_open->toolTip(), "Otwórz  (Ctrl+O)");
  EXPECT_EQ(f.main().btn_open->statusTip(), "Otwiera istniejący kosztorys");
  EXPECT_EQ(f.main().item_open->shortcut(), QKeySequence("Ctrl+O"));
  f.main().apply_hints(false);
  EXPECT_TRUE(f.main().btn_open->toolTip().isEmpty());
  EXPECT_TRUE(f.main().item_open->statusTip().isEmpty());
}
