#include "shell/users.h"

#include "shell/config_file_support.h"
#include "shell/ini_file.h"
#include "shell/messages.h"
#include "shell/section_codec.h"
#include "shell/temp_folder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace kovra::shell;
using namespace kovra::test;

namespace {

user_entry make_user(const std::string& login, const std::string& password) {
  user_entry e;
  e.user.login = login;
  e.user.password_value = password_value(password);
  e.user.data_folder = "/dane/";
  e.user.settings_path = "/prog/kovra.cfg";
  return e;
}

struct UsersTest : ::testing::Test {
  temp_folder dir;
  std::string path = dir.path() + "kovra.psd";
  recording_message_sink sink;
  void SetUp() override { set_message_sink(&sink); }
  void TearDown() override { set_message_sink(nullptr); }
};

} // namespace

// ---- password value ----

TEST(PasswordValue, KeyTableSumsWithSignedBytes) {
  EXPECT_EQ(password_value(""), 0u);
  EXPECT_EQ(password_value("a"), 0x46C9723Cu);
  EXPECT_EQ(password_value("abc"), 0xFA1C8178u);
  EXPECT_EQ(password_value("haslo1"), 0x06737FC3u);
  EXPECT_EQ(password_value("\xB9" "bc"), 0x5063B920u);  // "ąbc" in Windows-1250
  EXPECT_EQ(password_value("9bc"), 0xD1E439A0u);         // the same byte below 128
  EXPECT_EQ(password_value("\xE6"), 0xC04DF4BBu);
  EXPECT_EQ(typed_password_value("ąbc"), password_value("\xB9" "bc"));
}

// ---- users file ----

TEST_F(UsersTest, MissingFileIsCreatedWithAdministratorAndReadBack) {
  Cfg_Psd psd;
  user_record fallback = default_user("/dane/", "/prog/");
  ASSERT_EQ(psd.read(path, fallback), psd_ok);
  ASSERT_EQ(psd.entries.size(), 1u);
  EXPECT_EQ(psd.entries[0].user.login, "Administrator");
  EXPECT_EQ(psd.entries[0].user.password_value, 0u);
  EXPECT_EQ(psd.entries[0].user.data_folder, "/dane/");
  EXPECT_EQ(psd.entries[0].user.settings_path, "/prog/kovra.cfg");
  EXPECT_EQ(psd.entries[0].user.user_flag_4, 1);
  EXPECT_EQ(psd.entries[0].is_current, 1);
  EXPECT_FALSE(psd.entries[0].name);
  EXPECT_TRUE(sink.requests().empty());
  psd.close();

  auto bytes = read_file(path);
  auto h = kovra::store::decode_file_header(bytes.data());
  EXPECT_EQ(h.file_type, 41);
  EXPECT_EQ(kovra::store::header_description(h), "Konfiguracja programu");
  EXPECT_EQ(tag_text(get_u32(bytes.data() + 293)), "CMNY");
  EXPECT_EQ(get_i16(bytes.data() + 293 + 9), -1);
  EXPECT_EQ(get_i16(bytes.data() + 293 + 11), 1);
  std::size_t user = 293 + 13 + 4;
  EXPECT_EQ(tag_text(get_u32(bytes.data() + user)), "USER");
  EXPECT_EQ(get_i16(bytes.data() + user + 9), 0);
  EXPECT_EQ(get_i16(bytes.data() + user + 11), 1);
  // name absent, flags 1 1, "Administrator" with its terminator
  EXPECT_EQ(get_u16(bytes.data() + user + 13), 0);
  EXPECT_EQ(bytes[user + 15], 1);
  EXPECT_EQ(bytes[user + 16], 1);
  EXPECT_EQ(get_u16(bytes.data() + user + 17), 13);
}

TEST_F(UsersTest, SeveralUsersReadInFileOrderWithTheCurrentFlagged) {
  std::vector<user_entry> users = {make_user("Administrator", ""), make_user("Kowalski", "tajne1"),
                                   make_user("Nowak", "")};
  users[1].user.price_list_folder = "/cenniki/";
  users[1].name = "wpis";
  write_file(path, concat(config_header_bytes(), encode_users(users, 1)));
  Cfg_Psd psd;
  ASSERT_EQ(psd.read(path, user_record{}), psd_ok);
  ASSERT_EQ(psd.entries.size(), 3u);
  EXPECT_EQ(psd.entries[1].user.login, "Kowalski");
  EXPECT_EQ(psd.entries[1].user.price_list_folder, "/cenniki/");
  EXPECT_EQ(psd.entries[1].name, std::optional<std::string>("wpis"));
  EXPECT_EQ(psd.entries[1].is_current, 1);
  EXPECT_EQ(psd.entries[0].is_current, 0);
  // Shared reading: a second reader at the same time is fine.
  Cfg_Psd other;
  EXPECT_EQ(other.read(path, user_record{}), psd_ok);
}

TEST_F(UsersTest, DamagedForeignAndUnopenableFiles) {
  auto good = concat(config_header_bytes(), encode_users({make_user("A", "x")}, 0));
  for (std::size_t cut = 294; cut < good.size(); cut += 3) {
    std::vector<uint8_t> bytes(good.begin(), good.begin() + std::ptrdiff_t(cut));
    write_file(path, bytes);
    Cfg_Psd psd;
    int r = psd.read(path, user_record{});
    // Less than a header left after the start or after the 17-byte CMNY section reads fine.
    bool whole = cut - 293 < 13 || (cut >= 293 + 17 && cut < 293 + 17 + 13);
    EXPECT_EQ(r, whole ? psd_ok : psd_read_failed) << cut;
    EXPECT_EQ(read_file(path), bytes);
  }
  EXPECT_TRUE(sink.requests().empty());

  write_file(path, concat(config_header_bytes(2), encode_users({}, -1)));
  Cfg_Psd psd;
  EXPECT_EQ(psd.read(path, user_record{}), psd_open_failed);
  ASSERT_EQ(sink.requests().size(), 1u);
  EXPECT_EQ(sink.requests()[0].number, 16);

  sink.clear();
  write_file(path, concat(config_header_bytes(41, 801), encode_users({}, -1)));
  EXPECT_EQ(psd.read(path, user_record{}), psd_open_failed);
  ASSERT_EQ(sink.requests().size(), 1u);
  EXPECT_EQ(sink.requests()[0].number, 76);

  sink.clear();
  psd.report_errors = false;
  EXPECT_EQ(psd.read(dir.path() + "no/such/folder/kovra.psd", user_record{}), psd_create_failed);
  EXPECT_TRUE(sink.requests().empty());
}

// ---- login decision ----

TEST(LoginPlan, SingleUserWithoutPasswordLogsInSilently) {
  auto p = plan_login(psd_ok, {make_user("Administrator", "")}, std::nullopt, std::nullopt);
  EXPECT_EQ(p.kind, login_plan::silent);
  EXPECT_EQ(p.silent_user, 0);

  p = plan_login(psd_ok, {make_user("Administrator", "sekret")}, std::nullopt, std::nullopt);
  EXPECT_EQ(p.kind, login_plan::ask);
  EXPECT_EQ(p.logins, (std::vector<std::string>{"Administrator"}));
  EXPECT_EQ(p.selected, 0);
}

TEST(LoginPlan, PreselectionFromRegistryThenIniThenFirst) {
  std::vector<user_entry> users = {make_user("Kowalski", "a"), make_user("Administrator", ""), make_user("Nowak", "")};
  EXPECT_EQ(plan_login(psd_ok, users, std::string("Nowak"), std::string("Kowalski")).selected, 2);
  EXPECT_EQ(plan_login(psd_ok, users, std::string("Nieznany"), std::string("Kowalski")).selected, 0);
  EXPECT_EQ(plan_login(psd_ok, users, std::nullopt, std::nullopt).selected, 1);  // ini default "Administrator"
  EXPECT_EQ(plan_login(psd_ok, users, std::nullopt, std::string("nowak")).selected, 0);  // exact match only
  std::vector<user_entry> two = {make_user("B", ""), make_user("C", "")};
  EXPECT_EQ(plan_login(psd_ok, two, std::nullopt, std::nullopt).selected, 0);
}

TEST(LoginPlan, UnreadableOrEmptyUserListContinuesAsTheDefaultUser) {
  EXPECT_EQ(plan_login(psd_read_failed, {make_user("A", "x")}, std::nullopt, std::nullopt).kind,
            login_plan::continue_as_default);
  EXPECT_EQ(plan_login(psd_open_failed, {}, std::nullopt, std::nullopt).kind, login_plan::continue_as_default);
  EXPECT_EQ(plan_login(psd_ok, {}, std::nullopt, std::nullopt).kind, login_plan::continue_as_default);
}

TEST(LoginCheck, PasswordsAndUnknownUsers) {
  std::vector<user_entry> users = {make_user("Administrator", ""), make_user("Kowalski", "tajne1")};
  user_record got;
  EXPECT_EQ(check_login(users, "Administrator", "", &got), login_answer::accepted);
  EXPECT_EQ(got.login, "Administrator");
  EXPECT_EQ(check_login(users, "Administrator", "x", &got), login_answer::wrong_password);
  EXPECT_EQ(check_login(users, "Kowalski", "tajne1", &got), login_answer::accepted);
  EXPECT_EQ(got.login, "Kowalski");
  EXPECT_EQ(check_login(users, "Kowalski", "Tajne1", &got), login_answer::wrong_password);
  EXPECT_EQ(check_login(users, "kowalski", "tajne1", &got), login_answer::no_such_user);
}

// ---- document passwords ----

TEST(DocumentPassword, AskedOnlyForAnotherUsersValue) {
  uint32_t mine = password_value("moje12");
  EXPECT_FALSE(document_needs_password(0, mine));
  EXPECT_FALSE(document_needs_password(mine, mine));
  EXPECT_TRUE(document_needs_password(password_value("obce12"), mine));
  EXPECT_TRUE(check_document_password(password_value("obce12"), "obce12"));
  EXPECT_FALSE(check_document_password(password_value("obce12"), "obce13"));
  EXPECT_TRUE(check_document_password(0, ""));
}

TEST(ChoosePassword, LengthMatchAndKeyFolding) {
  EXPECT_EQ(choose_password("abcde", "abcde").message, 312);
  EXPECT_EQ(choose_password("", "").message, 312);
  EXPECT_EQ(choose_password("abcdef", "abcdeg").message, 313);
  auto ok = choose_password("abc123", "abc123");
  EXPECT_EQ(ok.message, 0);
  EXPECT_EQ(ok.value, password_value("abc123"));
  EXPECT_EQ(password_key('Q'), 'q');
  EXPECT_EQ(password_key('q'), 'q');
  EXPECT_EQ(password_key('7'), '7');
  EXPECT_EQ(password_key(8), char(8));
  EXPECT_EQ(password_key(' '), std::nullopt);
  EXPECT_EQ(password_key('-'), std::nullopt);
  EXPECT_EQ(password_key(char(0xB9)), std::nullopt);
  EXPECT_STREQ(login_dialog_caption(2), "Zmiana hasła");
  EXPECT_STREQ(login_dialog_key(1), "Sprawdz haslo");
  EXPECT_FALSE(login_dialog_stores_placement(0));
}

TEST(LastLogin, StoredInTheIniAndReadOnlyFolderGivesTheMessage) {
  temp_folder dir;
  std::string ini = dir.path() + "kovra.ini";
  std::string login = "Kowalski \xA7";  // "Kowalski ł" in Mazovia... any internal text
  EXPECT_EQ(store_last_login(ini, login), std::nullopt);
  EXPECT_EQ(last_login_from_ini(ini), login);
  // A read-only kovra.ini gets the message and stays as it is (also for an administrator).
  ::chmod(ini.c_str(), 0444);
  auto refused = store_last_login(ini, "Nowak");
  ASSERT_TRUE(refused);
  EXPECT_EQ(refused->rfind("Zbiór: " + ini + " jest \"Tylko do odczytu\"", 0), 0u) << *refused;
  EXPECT_EQ(last_login_from_ini(ini), login);
  struct stat st {};
  ASSERT_EQ(::stat(ini.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0444u);
  if (::geteuid() != 0) {
    std::string ro = dir.path() + "ro/";
    ::mkdir(ro.c_str(), 0555);
    auto e = store_last_login(ro + "kovra.ini", "A");
    ASSERT_TRUE(e);
    EXPECT_EQ(*e, "Zbiór: " + ro + "kovra.ini jest \"Tylko do odczytu\", zapis nie jest możliwy !\nFolder z "
                  "programem \"Kovra\" oraz podfoldery i zbiory powinny mieć pełne prawa tworzenia, zapisu i "
                  "modyfikacji !");
  }
}
