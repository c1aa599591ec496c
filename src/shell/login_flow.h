#pragma once
// The start-up login without its dialog: what can be decided before the dialog is shown and
// what is recorded after it. The dialog itself only runs when the plan says `ask`.
#include "shell/user_registry.h"
#include "shell/users.h"

#include <optional>
#include <string>

namespace kovra::shell {

struct login_start {
  Cfg_Psd users;      // kept open (read-only) while the dialog exists
  login_plan plan;
};

// Reads the users file (creating it with `fallback` when missing) and decides: an unreadable
// file shows message 17 ("z hasłami") and leaves current_user as it is; a single user
// without a password becomes current_user at once; otherwise the dialog is needed, with the
// user preselected from the per-user settings, then kovra.ini, then the first.
login_start begin_login(const std::string& psd_path, const std::string& ini_path, const user_record& fallback,
                        const registry_folders& folders);

// The start-up login dialog, shown only when the plan says `ask`. The windowed program
// answers it with its dialog; without one nobody can answer and the login is refused.
class login_question {
public:
  virtual ~login_question() = default;
  // True when the user confirmed; current_user then holds the chosen user.
  virtual bool ask(login_start& start) = 0;
};

// "&OK" of the dialog: the chosen login and the typed password (UTF-8). An accepted user
// becomes current_user; a wrong password shows message 311.
login_answer answer_login(const login_start& start, const std::string& chosen_login, std::string_view typed_password);

struct login_finish {
  bool ok = false;                         // the program may go on
  bool association_written = false;        // the desktop association was written now
  std::optional<std::string> registry_error;  // shown, then ignored
  std::optional<std::string> ini_error;       // shown; the login fails
};

// After the dialog (or without it): records current_user's login in the per-user settings
// (and the desktop association when missing) and in kovra.ini. `confirmed` is whether the
// dialog was confirmed or skipped.
login_finish finish_login(bool confirmed, const std::string& ini_path, const registry_folders& folders,
                          const std::string& program_folder, const std::string& program_file);

} // namespace kovra::shell
