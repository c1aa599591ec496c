#pragma once
// The program environment fixed at start-up: folders from the command line, the files whose
// paths follow from them, the default user, the single-instance lock, the version stamp and
// the text-printer configuration. Built from argv and the process environment, without
// windows, so the windowed program, kovra-cli and tests share it.
#include "shell/command_line.h"
#include "shell/ini_form.h"
#include "shell/single_instance.h"

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace kovra::shell {

struct startup_input {
  std::vector<std::string> args;            // argv; args[0] names the program
  std::map<std::string, std::string> env;   // HOME, XDG_DATA_HOME, XDG_RUNTIME_DIR, PATH
  std::string current_dir;                  // relative folders are taken against it
  // Reads prnconf.cfg into the configuration text printing uses. The reader belongs to
  // the printing layer, which knows the format; without one the step is skipped.
  std::function<void(const std::string& prnconf_path)> read_printer_config;

  static startup_input from_process(int argc, char** argv);
};

// The user before anyone logs in.
struct default_user_record {
  std::string login = "Administrator";
  std::string password;     // none
  std::string data_folder;
  std::string config_path;  // kovra.cfg in the program folder
};

// Every folder is absolute and ends in "/".
struct program_environment {
  std::string program_folder;
  std::string shared_folder;     // -s, else the program folder
  std::string data_folder;       // -d, else <program>/dane/
  std::string printouts_folder;  // <data>/wydruki/
  std::string pdf_folder;        // <data>/pdf/
  std::string user_folder;       // -u, else the per-user data folder kovra_p/
  std::string ini_folder;        // -i when it exists or can be made, else the user folder

  std::string psd_path;      // kovra.psd, users
  std::string cfg_path;      // kovra.cfg, program configuration
  std::string prnconf_path;  // prnconf.cfg, text-printer configuration
  std::string ini_path;      // kovra.ini
  std::string des_path;      // kovra.des, older screen look beside kovra.ini
  std::string bazaaiob_path; // bazaaiob.dat, path only
  std::string help_path;     // Kovra8_p.hlp in the program folder
  std::string lock_path;     // single-instance lock

  default_user_record default_user;

  // Folders that could not be created (not an error here: the first file operation reports).
  std::vector<std::string> folders_not_created;
};

// A folder value made absolute against `current_dir`, "." and ".." steps folded away, ending
// in "/".
std::string absolute_folder(const std::string& value, const std::string& current_dir);

// Folders and file paths, with the folders created when missing.
program_environment make_program_environment(const startup_input& input);

struct startup_result {
  program_environment environment;
  instance_lock lock;
  lock_result instance = lock_result::unavailable;
  bool general_settings_loaded = false;    // false: the defaults are in use
  std::optional<ini_form_error> ini_error; // set_ini_filename was already called in this run

  bool already_running() const { return instance == lock_result::already_running; }
};

// The steps of start-up that need no window: folders, default user, single instance
// (message 182 when another copy runs; the remaining steps are then skipped), version
// stamp, built-in document texts, prnconf.cfg (through the input's reader), the paths of
// kovra.cfg and kovra.ini, and the
// general settings (kovra.cfg is created with the defaults when missing) and the print look.
startup_result start_up(const startup_input& input);

} // namespace kovra::shell
