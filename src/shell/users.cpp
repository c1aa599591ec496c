#include "shell/users.h"

#include "shell/config_sections.h"
#include "shell/ini_file.h"
#include "shell/messages.h"
#include "shell/section_codec.h"
#include "store/codepage.h"

#include <cerrno>
#include <cstring>

namespace kovra::shell {
namespace {

constexpr uint32_t TAG_CMNY = section_tag("CMNY");
constexpr uint32_t TAG_USER = section_tag("USER");

bool read_user(byte_reader& r, user_record& u) {
  return r.u8(u.user_flag_1) && r.u8(u.user_flag_2) && r.fixed_text(u.login) && r.u32(u.password_value) &&
         r.u8(u.user_flag_3) && r.u8(u.user_flag_4) && r.fixed_text(u.data_folder) &&
         r.fixed_text(u.price_list_folder) && r.fixed_text(u.settings_path);
}

void write_user(byte_writer& w, const user_record& u) {
  w.u8(u.user_flag_1);
  w.u8(u.user_flag_2);
  w.fixed_text(u.login);
  w.u32(u.password_value);
  w.u8(u.user_flag_3);
  w.u8(u.user_flag_4);
  w.fixed_text(u.data_folder);
  w.fixed_text(u.price_list_folder);
  w.fixed_text(u.settings_path);
}

} // namespace

user_record default_user(const std::string& data_folder, const std::string& program_folder) {
  user_record u;
  u.data_folder = data_folder;
  u.settings_path = program_folder + "kovra.cfg";
  return u;
}

user_record& current_user() {
  static user_record u;
  return u;
}

void reset_current_user() { current_user() = user_record{}; }

uint32_t password_value(std::string_view text) {
  static const uint8_t key[8] = {0x5D, 0x13, 0xA8, 0x27, 0x6E, 0xC4, 0x09, 0x71};
  if (text.empty()) return 0;
  uint32_t a[4] = {0, 0, 0, 0};
  for (int i = 0; i < 4; ++i)
    for (std::size_t j = 0; j < text.size(); ++j) {
      int32_t c = int8_t(uint8_t(text[j]));
      a[i] += uint32_t(int32_t(key[(i + j) % 8]) ^ c);
    }
  return a[0] + (a[1] << 8) + (a[2] << 16) + (a[3] << 24);
}

uint32_t typed_password_value(std::string_view utf8) {
  std::string t = store::utf8_to_mazovia(utf8);
  store::mazovia_to_1250(t);
  return password_value(t);
}

std::vector<uint8_t> encode_users(const std::vector<user_entry>& users, int current) {
  byte_writer w;
  w.header(section_header{TAG_CMNY, 1, 0, -1, 1});
  w.optional_text(std::nullopt);
  w.optional_text(std::nullopt);
  w.header(section_header{TAG_USER, 1, 0, int16_t(current), int16_t(users.size())});
  for (const auto& e : users) {
    w.optional_text(e.name);
    write_user(w, e.user);
  }
  return std::move(w.bytes());
}

section_read read_users_section(Cfg_Psd& psd, byte_reader& r, section_header& h) {
  if (!r.header(h)) return section_read::end;
  if (h.tag == TAG_USER) {
    for (int i = 0; i < h.count; ++i) {
      user_entry e;
      if (!r.optional_text(e.name) || !read_user(r, e.user)) return section_read::cut_short;
      e.is_current = i == h.current ? 1 : 0;
      psd.entries.push_back(std::move(e));
    }
    return section_read::ok;
  }
  if (h.tag == TAG_CMNY)
    return r.optional_text(psd.firm_texts[0]) && r.optional_text(psd.firm_texts[1]) ? section_read::ok
                                                                                     : section_read::cut_short;
  return section_read::unknown_tag;  // another tag has no length to skip it by
}

bool read_users_sections(Cfg_Psd& psd, const uint8_t* data, std::size_t size) {
  byte_reader r(data, size);
  section_header h;
  while (true) {
    section_read s = read_users_section(psd, r, h);
    if (s == section_read::end) return true;
    if (s != section_read::ok) return false;
  }
}

psd_result Cfg_Psd::read(const std::string& path, const user_record& fallback) {
  entries.clear();
  firm_texts[0].reset();
  firm_texts[1].reset();
  file.reset();

  section_open_status status;
  file = open_section_file(path, section_access::read_shared, status);
  if (!file && status == section_open_status::missing) {
    auto created = create_section_file(path, status);
    user_entry e;
    e.is_current = 1;
    e.user = fallback;
    if (!created || !created->write_body(encode_users({e}, 0))) return psd_create_failed;
    created.reset();
    file = open_section_file(path, section_access::read_shared, status);
  }
  if (!file) {
    if (report_errors) {
      int number = status == section_open_status::foreign         ? 16
                   : status == section_open_status::wrong_version ? 76
                                                                   : 1;
      msg_box_screen(number, path.c_str());
    }
    return psd_open_failed;
  }
  auto body = file->read_body();
  if (!body || !read_users_sections(*this, body->data(), body->size())) return psd_read_failed;
  return psd_ok;
}

login_plan plan_login(int read_result, const std::vector<user_entry>& users,
                      const std::optional<std::string>& registry_last, const std::optional<std::string>& ini_login) {
  login_plan p;
  // With no user at all nobody could ever log in: treated like an unreadable file.
  if (read_result != psd_ok || users.empty()) {
    p.kind = login_plan::continue_as_default;
    return p;
  }
  if (users.size() == 1 && users[0].user.password_value == 0) {
    p.kind = login_plan::silent;
    p.silent_user = 0;
    return p;
  }
  p.kind = login_plan::ask;
  for (const auto& e : users) p.logins.push_back(e.user.login);
  auto select = [&p](const std::string& name) {
    for (std::size_t i = 0; i < p.logins.size(); ++i)
      if (p.logins[i] == name) {
        p.selected = int(i);
        return;
      }
  };
  if (registry_last) select(*registry_last);
  if (p.selected < 0) select(ini_login.value_or("Administrator"));
  if (p.selected < 0) p.selected = 0;
  return p;
}

login_answer check_login(const std::vector<user_entry>& users, const std::string& chosen_login,
                         std::string_view typed_password, user_record* accepted_user) {
  for (const auto& e : users) {
    if (e.user.login != chosen_login) continue;
    if (typed_password_value(typed_password) != e.user.password_value) return login_answer::wrong_password;
    if (accepted_user) *accepted_user = e.user;
    return login_answer::accepted;
  }
  return login_answer::no_such_user;
}

bool document_needs_password(uint32_t document_value, uint32_t user_value) {
  return document_value != 0 && document_value != user_value;
}

bool check_document_password(uint32_t stored_value, std::string_view typed_password) {
  return typed_password_value(typed_password) == stored_value;
}

std::optional<char> password_key(char c) {
  if (c >= 'A' && c <= 'Z') return char(c - 'A' + 'a');
  if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == 8) return c;
  return std::nullopt;
}

chosen_password choose_password(std::string_view first, std::string_view second) {
  if (first.size() < 6) return {312, 0};
  if (first != second) return {313, 0};
  return {0, typed_password_value(first)};
}

const char* login_dialog_caption(int mode) {
  switch (mode) {
  case 1: return "Sprawdzenie hasła";
  case 2: return "Zmiana hasła";
  default: return "Logowanie";
  }
}

const char* login_dialog_key(int mode) {
  switch (mode) {
  case 1: return "Sprawdz haslo";
  case 2: return "Zapisz haslo";
  default: return "Logowanie";
  }
}

bool login_dialog_stores_placement(int mode) { return mode == 1 || mode == 2; }

std::optional<std::string> last_login_from_ini(const std::string& ini_path) {
  auto v = ini_read(ini_path, "Uzytkownik", "Login");
  if (!v) return std::nullopt;
  return store::utf8_to_mazovia(*v);
}

std::optional<std::string> store_last_login(const std::string& ini_path, const std::string& login) {
  int err = 0;
  if (ini_write(ini_path, "Uzytkownik", "Login", store::mazovia_to_utf8(login), &err)) return std::nullopt;
  if (err == EACCES || err == EROFS || err == EPERM)
    return "Zbiór: " + ini_path +
           " jest \"Tylko do odczytu\", zapis nie jest możliwy !\nFolder z programem \"Kovra\" oraz podfoldery "
           "i zbiory powinny mieć pełne prawa tworzenia, zapisu i modyfikacji !";
  return std::string(std::strerror(err ? err : EIO));
}

} // namespace kovra::shell
