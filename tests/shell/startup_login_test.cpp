// Start-up's login step with its dialog answered by a stand-in, and the screen look loaded
// only once the user is in.
#include "shell/startup.h"

#include "shell/config_file_support.h"
#include "shell/general_settings.h"
#include "shell/ini_file.h"
#include "shell/messages.h"
#include "shell/temp_folder.h"
#include "shell/user_registry.h"
#include "shell/users.h"
#include "store/file_header.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

using namespace kovra::shell;
using namespace kovra::test;
namespace fs = std::filesystem;

namespace {

struct scripted_login : login_question {
  std::function<bool(login_start&)> answer;
  int asked = 0;
  bool ask(login_start& s) override {
    ++asked;
    return answer(s);
  }
};

struct StartupLoginTest : ::testing::Test {
  temp_folder tmp;
  recording_message_sink sink;

  void SetUp() override {
    set_message_sink(&sink);
    reset_ini_filename();
    reset_general_settings();
    reset_current_user();
  }
  void TearDown() override {
    set_message_sink(nullptr);
    reset_ini_filename();
    reset_current_user();
    kovra::store::reset_header_template();
  }
  std::vector<std::string> looks_loaded;  // the INI files the screen look was loaded from
  startup_input input() {
    startup_input in;
    in.load_screen_look = [this](const std::string& ini) { looks_loaded.push_back(ini); };
    in.args = {tmp.path() + "prog/kovra"};
    in.env["HOME"] = tmp.path() + "home";
    in.env["XDG_RUNTIME_DIR"] = tmp.path();
    in.current_dir = tmp.path();
    return in;
  }
};

user_entry user(const std::string& login, const std::string& password) {
  user_entry e;
  e.user.login = login;
  e.user.password_value = password_value(password);
  return e;
}

} // namespace

TEST_F(StartupLoginTest, FirstRunLogsInSilentlyAsTheDefaultUserWithItsDataFolder) {
  scripted_login dialog;
  dialog.answer = [](login_start&) { return true; };
  startup_result r = start_up(input(), &dialog);
  EXPECT_EQ(r.login, login_plan::silent);
  EXPECT_TRUE(r.logged_in);
  EXPECT_EQ(dialog.asked, 0);
  EXPECT_EQ(current_user().login, "Administrator");
  EXPECT_EQ(current_user().data_folder, tmp.path() + "prog/dane/");
  EXPECT_EQ(current_user().settings_path, tmp.path() + "prog/kovra.cfg");
  EXPECT_EQ(ini_read(r.environment.ini_path, "Uzytkownik", "Login"), "Administrator");
  // The per-user settings and the association went under the start's HOME.
  EXPECT_TRUE(fs::exists(tmp.path() + "home/.config/kovra/Kovra8.conf"));
  EXPECT_TRUE(r.association_written);
  EXPECT_TRUE(sink.requests().empty());
}

TEST_F(StartupLoginTest, DialogAnswersWrongThenRightAndARefusalEndsStartUpBeforeTheScreenLook) {
  program_environment e = make_program_environment(input());
  write_file(e.psd_path, concat(config_header_bytes(), encode_users({user("Kowalski", "abcdef"), user("Nowak", "")}, 0)));

  scripted_login refuse;
  refuse.answer = [](login_start&) { return false; };
  {
    startup_result r = start_up(input(), &refuse);
    EXPECT_EQ(r.login, login_plan::ask);
    EXPECT_FALSE(r.logged_in);
    EXPECT_EQ(refuse.asked, 1);
    EXPECT_TRUE(looks_loaded.empty());  // the steps after the login never ran
    EXPECT_EQ(current_user().login, "Administrator");
  }
  reset_ini_filename();
  scripted_login dialog;
  dialog.answer = [](login_start& s) {
    EXPECT_EQ(s.plan.logins, (std::vector<std::string>{"Kowalski", "Nowak"}));
    EXPECT_EQ(answer_login(s, "Kowalski", "abcdeg"), login_answer::wrong_password);
    EXPECT_EQ(answer_login(s, "Kowalsky", "abcdef"), login_answer::no_such_user);
    return answer_login(s, "Kowalski", "abcdef") == login_answer::accepted;
  };
  startup_result r = start_up(input(), &dialog);
  EXPECT_TRUE(r.logged_in);
  EXPECT_EQ(current_user().login, "Kowalski");
  EXPECT_EQ(ini_read(e.ini_path, "Uzytkownik", "Login"), "Kowalski");
  ASSERT_EQ(sink.requests().size(), 1u);
  EXPECT_EQ(sink.requests()[0].number, 311);

  EXPECT_EQ(looks_loaded, (std::vector<std::string>{e.ini_path}));
}
