#include "shell/user_registry.h"

#include "shell/ini_file.h"
#include "shell/version_text.h"
#include "store/codepage.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace kovra::shell {
namespace fs = std::filesystem;
namespace {

std::string slash(std::string p) {
  if (!p.empty() && p.back() != '/') p += '/';
  return p;
}

std::string key_name() { return "Kovra" + std::to_string(program_major_version()); }

bool write_new_file(const std::string& path, const std::string& text, std::string* error) {
  std::error_code ec;
  fs::create_directories(fs::path(path).parent_path(), ec);
  std::ofstream f(path, std::ios::binary | std::ios::trunc);
  if (f) f << text;
  if (!f || !f.flush()) {
    if (error) *error = std::string(path) + ": " + std::strerror(errno ? errno : EIO);
    return false;
  }
  return true;
}

// Exec quoting of desktop entries: the path in double quotes with ", `, $ and \ escaped,
// then the string escape of the file format doubles each backslash.
std::string exec_quoted(const std::string& path) {
  std::string q = "\"";
  for (char c : path) {
    if (c == '"' || c == '`' || c == '$' || c == '\\') q += "\\\\";
    q += c;
  }
  return q + "\"";
}

} // namespace

registry_folders user_registry_folders() {
  registry_folders f;
  const char* home = std::getenv("HOME");
  std::string h = home && home[0] == '/' ? home : "/tmp";
  const char* cfg = std::getenv("XDG_CONFIG_HOME");
  const char* data = std::getenv("XDG_DATA_HOME");
  f.config_folder = slash(cfg && cfg[0] == '/' ? cfg : h + "/.config");
  f.data_folder = slash(data && data[0] == '/' ? data : h + "/.local/share");
  return f;
}

std::string program_settings_path(const registry_folders& f) {
  return slash(f.config_folder) + "kovra/" + key_name() + ".conf";
}

std::string desktop_entry_path(const registry_folders& f) { return slash(f.data_folder) + "applications/kovra.desktop"; }
std::string mime_package_path(const registry_folders& f) { return slash(f.data_folder) + "mime/packages/kovra-kvr.xml"; }

std::string desktop_entry_text(const std::string& program_file) {
  return "[Desktop Entry]\n"
         "Type=Application\n"
         "Name=" + std::string(kvr_type_name) + "\n"
         "Exec=" + exec_quoted(program_file) + " %f\n"
         "Icon=kovra\n"
         "MimeType=" + std::string(kvr_mime_type) + ";\n"
         "Terminal=false\n"
         "NoDisplay=true\n";
}

std::string mime_package_text() {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
         "  <mime-type type=\"" + std::string(kvr_mime_type) + "\">\n"
         "    <comment>" + std::string(kvr_type_name) + "</comment>\n"
         "    <glob pattern=\"*.kvr\"/>\n"
         "  </mime-type>\n"
         "</mime-info>\n";
}

bool write_kvr_association(const registry_folders& f, const std::string& program_file, std::string* error) {
  std::error_code ec;
  // An association already in place (ours, or edited by the user) is left as it is.
  if (fs::exists(mime_package_path(f), ec)) return false;
  if (!write_new_file(mime_package_path(f), mime_package_text(), error)) return false;
  if (!fs::exists(desktop_entry_path(f), ec) &&
      !write_new_file(desktop_entry_path(f), desktop_entry_text(program_file), error))
    return false;
  return true;
}

registry_result registry_last_user(const registry_folders& f, std::string& name, bool write,
                                   const std::string& program_folder, const std::string& program_file) {
  registry_result r;
  std::string path = program_settings_path(f);
  ini_file settings;
  if (!write) {
    r.key_opened = settings.load(path);
    if (r.key_opened) name = store::utf8_to_mazovia(settings.read_string(key_name(), "LastName", ""));
    return r;
  }
  std::error_code ec;
  fs::create_directories(fs::path(path).parent_path(), ec);
  if (!settings.load(path) && fs::exists(path, ec)) {
    r.error = path + ": " + std::strerror(EACCES);
    return r;
  }
  r.key_opened = true;
  settings.write(key_name(), "LastName", store::mazovia_to_utf8(name));
  settings.write(key_name(), "ApplicationPath", slash(program_folder));
  int err = 0;
  if (!settings.save(path, &err)) {
    r.key_opened = !fs::exists(fs::path(path).parent_path(), ec) ? false : true;
    r.error = path + ": " + std::strerror(err ? err : EIO);
    return r;
  }
  std::string assoc_error;
  r.association_written = write_kvr_association(f, program_file, &assoc_error);
  if (!assoc_error.empty()) r.error = assoc_error;
  return r;
}

} // namespace kovra::shell
