#include "shell/login_flow.h"

#include "shell/config_file_support.h"
#include "shell/ini_file.h"
#include "shell/messages.h"
#include "shell/temp_folder.h"

#include <gtest/gtest.h>

using namespace kovra::shell;
using namespace kovra::test;

namespace {
struct LoginFlowTest : ::testing::Test {
  temp_folder dir;
  registry_folders folders{dir.path() + "config", dir.path() + "data"};
  std::string psd = dir.path() + "kovra.psd";
  std::string ini = dir.path() + "kovra.ini";
  recording_message_sink sink;
  void SetUp() override {
    set_message_sink(&sink);
    reset_current_user();
  }
  void TearDown() override {
    set_message_sink(nullptr);
    reset_current_user();
  }
};

user_entry user(const std::string& login, const std::string& password) {
  user_entry e;
  e.user.login = login;
  e.user.password_value = password_value(password);
  return e;
}
} // namespace

TEST_F(LoginFlowTest, FirstRunCreatesTheUsersAndLogsInSilently) {
  user_record fallback = default_user("/dane/", "/prog/");
  fallback.login = "Administrator";
  auto s = begin_login(psd, ini, fallback, folders);
  EXPECT_EQ(s.plan.kind, login_plan::silent);
  EXPECT_EQ(current_user().data_folder, "/dane/");
  auto f = finish_login(true, ini, folders, "/prog/", "/prog/kovra");
  EXPECT_TRUE(f.ok);
  EXPECT_EQ(ini_read(ini, "Uzytkownik", "Login"), "Administrator");
  std::string last;
  registry_last_user(folders, last, false);
  EXPECT_EQ(last, "Administrator");
  EXPECT_TRUE(sink.requests().empty());
}

TEST_F(LoginFlowTest, DialogPreselectsTheRegistryUserAndUnreadableFileGoesOnAsDefault) {
  write_file(psd, concat(config_header_bytes(), encode_users({user("Kowalski", "abcdef"), user("Nowak", "")}, 0)));
  std::string last = "Nowak";
  registry_last_user(folders, last, true, "/p/", "/p/kovra");
  auto s = begin_login(psd, ini, user_record{}, folders);
  EXPECT_EQ(s.plan.kind, login_plan::ask);
  EXPECT_EQ(s.plan.selected, 1);
  EXPECT_EQ(current_user().login, "Administrator");
  s.users.close();

  write_file(psd, concat(config_header_bytes(), std::vector<uint8_t>{'U', 'S', 'E', 'R', 1, 0, 0, 0, 0, 0, 0, 5, 0}));
  auto bad = begin_login(psd, ini, user_record{}, folders);
  EXPECT_EQ(bad.plan.kind, login_plan::continue_as_default);
  ASSERT_EQ(sink.requests().size(), 1u);
  EXPECT_EQ(sink.requests()[0].number, 17);
  EXPECT_NE(sink.requests()[0].text.find("z hasłami"), std::string::npos);
  EXPECT_FALSE(finish_login(false, ini, folders, "/p/", "/p/kovra").ok);
}
