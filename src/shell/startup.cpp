#include "shell/startup.h"

#include "shell/config.h"
#include "shell/general_settings.h"
#include "shell/print_look.h"
#include "shell/version_text.h"
#include "store/document_texts.h"
#include "store/log.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <unistd.h>

namespace kovra::shell {
namespace fs = std::filesystem;

namespace {

std::string with_slash(std::string path) {
  if (path.empty() || path.back() != '/') path += '/';
  return path;
}

std::string env_value(const startup_input& in, const char* name) {
  auto it = in.env.find(name);
  return it == in.env.end() ? std::string() : it->second;
}

bool is_absolute(const std::string& p) { return !p.empty() && p[0] == '/'; }

// The folder of the program file. argv[0] without a "/" was found on PATH; a symbolic link
// (a launcher in /usr/bin) is followed to the real program so its folders are found.
std::string find_program_folder(const startup_input& in) {
  std::string name = in.args.empty() ? std::string() : in.args[0];
  std::string file;
  if (name.find('/') != std::string::npos) {
    file = is_absolute(name) ? name : with_slash(in.current_dir) + name;
  } else if (!name.empty()) {
    std::string path = env_value(in, "PATH");
    std::size_t start = 0;
    while (start <= path.size()) {
      std::size_t end = path.find(':', start);
      if (end == std::string::npos) end = path.size();
      std::string dir = path.substr(start, end - start);
      if (dir.empty()) dir = in.current_dir;
      std::string candidate = with_slash(dir) + name;
      if (::access(candidate.c_str(), X_OK) == 0) {
        file = is_absolute(candidate) ? candidate : with_slash(in.current_dir) + candidate;
        break;
      }
      start = end + 1;
    }
  }
  if (file.empty()) return absolute_folder(".", in.current_dir);
  std::error_code ec;
  fs::path real = fs::canonical(file, ec);
  fs::path folder = ec ? fs::path(file).parent_path() : real.parent_path();
  return absolute_folder(folder.string(), in.current_dir);
}

std::string default_user_folder(const startup_input& in, const std::string& program_folder) {
  std::string data_home = env_value(in, "XDG_DATA_HOME");
  if (is_absolute(data_home)) return absolute_folder(data_home + "/kovra_p", "/");
  std::string home = env_value(in, "HOME");
  if (is_absolute(home)) return absolute_folder(home + "/.local/share/kovra_p", "/");
  return program_folder + "kovra_p/";
}

bool make_folder(const std::string& folder) {
  std::error_code ec;
  fs::create_directories(folder, ec);
  return fs::is_directory(folder, ec);
}

} // namespace

startup_input startup_input::from_process(int argc, char** argv) {
  startup_input in;
  for (int i = 0; i < argc; ++i) in.args.emplace_back(argv[i] ? argv[i] : "");
  for (const char* name : {"HOME", "XDG_DATA_HOME", "XDG_RUNTIME_DIR", "PATH"})
    if (const char* v = std::getenv(name)) in.env[name] = v;
  std::error_code ec;
  in.current_dir = fs::current_path(ec).string();
  if (ec) in.current_dir = "/";
  return in;
}

std::string absolute_folder(const std::string& value, const std::string& current_dir) {
  fs::path p(value);
  if (!p.is_absolute()) p = fs::path(with_slash(current_dir.empty() ? "/" : current_dir)) / p;
  std::string folded = p.lexically_normal().string();
  return with_slash(folded);
}

program_environment make_program_environment(const startup_input& in) {
  std::vector<std::string> words(in.args.size() > 1 ? in.args.begin() + 1 : in.args.end(), in.args.end());
  folder_options opt = parse_folder_options(words);
  const std::string& cwd = in.current_dir;

  program_environment e;
  auto create = [&e](const std::string& folder) {
    if (!make_folder(folder)) e.folders_not_created.push_back(folder);
  };

  e.program_folder = find_program_folder(in);
  e.shared_folder = opt.shared ? absolute_folder(*opt.shared, cwd) : e.program_folder;
  create(e.shared_folder);
  e.data_folder = opt.data ? absolute_folder(*opt.data, cwd) : e.program_folder + "dane/";
  create(e.data_folder);
  e.printouts_folder = e.data_folder + "wydruki/";
  e.pdf_folder = e.data_folder + "pdf/";
  create(e.printouts_folder);
  create(e.pdf_folder);
  e.user_folder = opt.user ? absolute_folder(*opt.user, cwd) : default_user_folder(in, e.program_folder);
  create(e.user_folder);

  e.psd_path = e.user_folder + "kovra.psd";
  e.cfg_path = e.user_folder + "kovra.cfg";
  e.prnconf_path = e.user_folder + "prnconf.cfg";
  e.ini_folder = e.user_folder;
  if (opt.ini) {
    std::string folder = absolute_folder(*opt.ini, cwd);
    if (make_folder(folder)) e.ini_folder = folder;
  }
  e.ini_path = e.ini_folder + "kovra.ini";
  e.des_path = e.ini_folder + "kovra.des";
  e.bazaaiob_path = e.user_folder + "bazaaiob.dat";
  e.help_path = e.program_folder + "Kovra8_p.hlp";

  std::string runtime = env_value(in, "XDG_RUNTIME_DIR");
  e.lock_path = (is_absolute(runtime) ? with_slash(runtime) : e.user_folder) + "kovra.lock";

  e.default_user.data_folder = e.data_folder;
  e.default_user.config_path = e.program_folder + "kovra.cfg";
  return e;
}

startup_result start_up(const startup_input& input) {
  startup_result r;
  r.environment = make_program_environment(input);
  // The log, fatal-error path and program files are found through the store's copy.
  store::set_program_folder(r.environment.program_folder);
  r.instance = claim_single_instance(r.environment.lock_path, r.lock);
  if (r.already_running()) return r;
  stamp_version();
  store::document_text(0);  // converts the built-in texts once, now
  if (input.read_printer_config) input.read_printer_config(r.environment.prnconf_path);
  set_config_path(r.environment.cfg_path);
  r.ini_error = set_ini_filename(r.environment.ini_path);
  r.general_settings_loaded = load_general_settings(general_settings());
  load_print_look(r.environment.ini_path);
  return r;
}

} // namespace kovra::shell
