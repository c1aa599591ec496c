#pragma once
// What the program records about itself for the user after the login: its per-user
// settings file (the last user and the program's folder) and the ".kvr" association with
// the desktop (a desktop entry and a shared-mime-info package). Every folder is given by
// the caller, so tests never touch the real home folder.
#include <optional>
#include <string>

namespace kovra::shell {

inline constexpr const char* kvr_mime_type = "application/x-kovra-kosztorys";
inline constexpr const char* kvr_type_name = "Kosztorys Kovra";

struct registry_folders {
  std::string config_folder;  // usually $XDG_CONFIG_HOME (~/.config)
  std::string data_folder;    // usually $XDG_DATA_HOME (~/.local/share)
};

// The folders of the process environment (XDG variables, else under HOME).
registry_folders user_registry_folders();

// "<config>/kovra/Kovra<major>.conf": section "Kovra<major>" with "LastName" and
// "ApplicationPath".
std::string program_settings_path(const registry_folders& f);

struct registry_result {
  bool key_opened = false;        // the settings file could be read (or, writing, created)
  std::optional<std::string> error;  // system error text to show; the program goes on
  bool association_written = false;
};

// Reading: `name` becomes "LastName" (internal text). Writing: "LastName" = name and
// "ApplicationPath" = program_folder (with a trailing "/"); then, when the desktop has no
// association for *.kvr from us yet, writes it. `program_file` is the program's path.
registry_result registry_last_user(const registry_folders& f, std::string& name, bool write,
                                   const std::string& program_folder = "", const std::string& program_file = "");

// The association files, written only when missing; true when written now.
bool write_kvr_association(const registry_folders& f, const std::string& program_file, std::string* error = nullptr);
std::string desktop_entry_path(const registry_folders& f);
std::string mime_package_path(const registry_folders& f);
std::string desktop_entry_text(const std::string& program_file);
std::string mime_package_text();

} // namespace kovra::shell
