#include "shell/login_flow.h"

#include "shell/messages.h"
#include "store/codepage.h"

namespace kovra::shell {

login_start begin_login(const std::string& psd_path, const std::string& ini_path, const user_record& fallback,
                        const registry_folders& folders) {
  login_start s;
  s.users.report_errors = true;
  int result = s.users.read(psd_path, fallback);
  std::optional<std::string> registry_name;
  std::string name;
  if (registry_last_user(folders, name, false).key_opened && !name.empty()) registry_name = name;
  s.plan = plan_login(result, s.users.entries, registry_name, last_login_from_ini(ini_path));
  if (s.plan.kind == login_plan::continue_as_default) {
    std::string what = store::utf8_to_mazovia("z hasłami");
    msg_box(17, what.c_str());
  } else if (s.plan.kind == login_plan::silent) {
    current_user() = s.users.entries[std::size_t(s.plan.silent_user)].user;
  }
  return s;
}

login_answer answer_login(const login_start& start, const std::string& chosen_login, std::string_view typed_password) {
  user_record accepted;
  login_answer a = check_login(start.users.entries, chosen_login, typed_password, &accepted);
  if (a == login_answer::accepted) current_user() = accepted;
  if (a == login_answer::wrong_password) msg_box(311);
  return a;
}

login_finish finish_login(bool confirmed, const std::string& ini_path, const registry_folders& folders,
                          const std::string& program_folder, const std::string& program_file) {
  login_finish f;
  std::string name = current_user().login;
  registry_result reg = registry_last_user(folders, name, true, program_folder, program_file);
  f.registry_error = reg.error;
  f.association_written = reg.association_written;
  f.ini_error = store_last_login(ini_path, current_user().login);
  f.ok = confirmed && !f.ini_error;
  return f;
}

} // namespace kovra::shell
