#pragma once
// Users ("kovra.psd") and passwords. Users and documents keep a 32-bit value computed from
// a password, never the text. The login dialog is a thin layer over the decisions here.
#include "shell/section_codec.h"
#include "shell/section_file.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kovra::shell {

struct user_record {
  uint8_t user_flag_1 = 1;
  uint8_t user_flag_2 = 1;
  std::string login = "Administrator";  // internal text, at most 259 characters
  uint32_t password_value = 0;          // 0: no password
  uint8_t user_flag_3 = 0;
  uint8_t user_flag_4 = 1;
  std::string data_folder;
  std::string price_list_folder;
  std::string settings_path;
};

// The record a new users file and the run before the login get.
user_record default_user(const std::string& data_folder, const std::string& program_folder);

// The logged-in user for the whole run.
user_record& current_user();
void reset_current_user();  // back to "Administrator" without password (tests)

// 0 for an empty text; otherwise four sums of (key byte XOR signed text byte) packed into
// one value (bytes above 127 count as negative numbers).
uint32_t password_value(std::string_view text);
// The value of a password typed on screen (UTF-8), taken in Windows-1250 as the system's
// edit controls give it.
uint32_t typed_password_value(std::string_view utf8);

struct user_entry {
  uint8_t deleted = 0;
  uint8_t is_current = 0;
  std::optional<std::string> name;
  user_record user;
};

// Results of reading the users file.
enum psd_result : int {
  psd_ok = 0,
  psd_create_failed = 1,
  psd_open_failed = 2,
  psd_read_failed = 3,
};

class Cfg_Psd {
public:
  std::unique_ptr<section_file> file;  // open read-only while the login dialog exists
  std::vector<user_entry> entries;
  std::optional<std::string> firm_texts[2];
  bool report_errors = true;

  // Creates a missing file with `fallback` as its only, current user; then opens the file
  // read-only (shared) and reads it. A file that cannot be opened shows message 1 (16 for a
  // file of another program, 76 for another format version) when report_errors is set.
  psd_result read(const std::string& path, const user_record& fallback);
  void close() { file.reset(); }
};

// The users file's sections: "CMNY" (version 1, current -1, two absent texts) and "USER".
std::vector<uint8_t> encode_users(const std::vector<user_entry>& users, int current);
section_read read_users_section(Cfg_Psd& psd, byte_reader& r, section_header& h);
// False when a section is cut short or has another tag.
bool read_users_sections(Cfg_Psd& psd, const uint8_t* data, std::size_t size);

// The start-up login decision.
struct login_plan {
  enum kind_t {
    continue_as_default,  // users unreadable: message 17 "z hasłami", then go on as the default user
    silent,               // one user without a password: logged in without the dialog
    ask,                  // show the dialog
  } kind = ask;
  std::vector<std::string> logins;  // the choice list, file order
  int selected = -1;                // index into logins
  int silent_user = -1;             // index into the users for `silent`
};
// `registry_last` is "LastName" of the per-user settings; `ini_login` is "Login" of
// "Uzytkownik" in kovra.ini (nothing when absent, which counts as "Administrator"); both as
// internal text, like the logins.
login_plan plan_login(int read_result, const std::vector<user_entry>& users,
                      const std::optional<std::string>& registry_last, const std::optional<std::string>& ini_login);

enum class login_answer {
  no_such_user,    // nothing happens
  wrong_password,  // message 311, the password edit gets the focus again
  accepted,        // the user becomes current_user
};
login_answer check_login(const std::vector<user_entry>& users, const std::string& chosen_login,
                         std::string_view typed_password, user_record* accepted_user = nullptr);

// A protected estimate asks for its password unless it has none or the logged-in user's.
bool document_needs_password(uint32_t document_value, uint32_t user_value);
// Mode 1: true when the typed password matches (else message 311 and the dialog stays).
bool check_document_password(uint32_t stored_value, std::string_view typed_password);

// Mode 2: typing keeps only a-z, 0-9 and Backspace (8), capitals folded; nothing when the
// key is refused.
std::optional<char> password_key(char c);
struct chosen_password {
  int message = 0;   // 312 (too short; empty and focus the first entry), 313 (entries differ;
                     // empty and focus the second), 0 accepted
  uint32_t value = 0;
};
chosen_password choose_password(std::string_view first, std::string_view second);

// Dialog captions and placement keys by mode (0 login, 1 document password, 2 new password).
const char* login_dialog_caption(int mode);
const char* login_dialog_key(int mode);
bool login_dialog_stores_placement(int mode);

// "Login" of "Uzytkownik" in kovra.ini as internal text (the file holds UTF-8).
std::optional<std::string> last_login_from_ini(const std::string& ini_path);
// After the login: "Login" of "Uzytkownik" in kovra.ini. Nothing on success, else the text to
// show (UTF-8); the login then fails.
std::optional<std::string> store_last_login(const std::string& ini_path, const std::string& login);

} // namespace kovra::shell
