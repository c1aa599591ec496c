#include "shell/config.h"

#include "shell/messages.h"

namespace kovra::shell {
namespace {

constexpr int message_foreign_file = 16;
constexpr int message_wrong_version = 76;

section_header make_header(uint32_t tag, uint8_t version) {
  section_header h;
  h.tag = tag;
  h.version = version;
  h.current = 0;
  h.count = 1;
  return h;
}

bool read_cenn(byte_reader& r, price_list_settings& p) {
  for (auto& f : p.price_list_files)
    if (!r.fixed_text(f)) return false;
  for (auto& f : p.price_list_flags)
    if (!r.u16(f)) return false;
  return r.u8(p.price_list_byte) && r.f64(p.labour_rate) && r.u8(p.price_list_flag);
}

void write_cenn(byte_writer& w, const price_list_settings& p) {
  for (const auto& f : p.price_list_files) w.fixed_text(f);
  for (uint16_t f : p.price_list_flags) w.u16(f);
  w.u8(p.price_list_byte);
  w.f64(p.labour_rate);
  w.u8(p.price_list_flag);
}

std::string& stored_config_path() {
  static std::string path;
  return path;
}

} // namespace

Config::Config()
    : ogol_header(make_header(TAG_OGOL, 3)),
      general(default_general_record()),
      opis_header(make_header(TAG_OPIS, 1)),
      cenn_header(make_header(TAG_CENN, 1)) {}

std::string default_description() {
  static const unsigned char bytes[] = {13, 10, 0xB7, 0xB7, 0xB7, 13, 10, 13, 10, 0xB7, 0xB7, 0xB7, 13, 10};
  return std::string(reinterpret_cast<const char*>(bytes), sizeof bytes);
}

void set_config_defaults(Config& c) {
  c.ogol_header = make_header(TAG_OGOL, 3);
  c.general = default_general_record();
  c.opis_header = make_header(TAG_OPIS, 1);
  c.description = default_description();
  for (Cfg_base* s : std::initializer_list<Cfg_base*>{&c.ovrh, &c.ovri, &c.prnt, &c.prni}) s->set_default_entry();
  c.cenn_header = make_header(TAG_CENN, 1);
  c.cenn = price_list_settings{};
}

section_read read_config_section(Config& c, byte_reader& r, section_header& h) {
  if (!r.header(h)) return section_read::end;
  if (h.tag == TAG_OGOL) {
    c.ogol_header = h;
    if (!r.bytes(c.general.block.data(), general_block_size)) return section_read::cut_short;
    c.general.trailing_flag_1 = 1;
    c.general.trailing_byte = 6;
    c.general.trailing_flag_2 = 0;
    uint8_t b;
    if (h.version > 1) {
      if (!r.u8(c.general.trailing_flag_1) || !r.u8(b)) return section_read::cut_short;
      c.general.trailing_byte = b;
    }
    if (h.version > 2 && !r.u8(c.general.trailing_flag_2)) return section_read::cut_short;
    return section_read::ok;
  }
  if (h.tag == TAG_OPIS) {
    c.opis_header = h;
    return r.optional_text(c.description) ? section_read::ok : section_read::cut_short;
  }
  if (h.tag == TAG_CENN) {
    c.cenn_header = h;
    return read_cenn(r, c.cenn) ? section_read::ok : section_read::cut_short;
  }
  Cfg_base* variants = h.tag == TAG_OVRH   ? static_cast<Cfg_base*>(&c.ovrh)
                       : h.tag == TAG_OVRI ? static_cast<Cfg_base*>(&c.ovri)
                       : h.tag == TAG_PRNT ? static_cast<Cfg_base*>(&c.prnt)
                       : h.tag == TAG_PRNI ? static_cast<Cfg_base*>(&c.prni)
                                           : nullptr;
  if (!variants) return section_read::unknown_tag;
  return variants->read_section(r, h) ? section_read::ok : section_read::cut_short;
}

bool read_config_sections(Config& c, const uint8_t* data, std::size_t size) {
  byte_reader r(data, size);
  section_header h;
  while (true) {
    section_read s = read_config_section(c, r, h);
    if (s == section_read::end) return true;
    if (s != section_read::ok) return false;
  }
}

std::vector<uint8_t> encode_config_sections(Config& c) {
  byte_writer w;
  c.ogol_header.version = 3;
  w.header(c.ogol_header);
  w.raw(c.general.block.data(), general_block_size);
  w.u8(c.general.trailing_flag_1);
  w.u8(uint8_t(c.general.trailing_byte));
  w.u8(c.general.trailing_flag_2);
  w.header(c.opis_header);
  w.optional_text(c.description);
  c.ovrh.write_section(w);
  c.ovri.write_section(w);
  c.prnt.write_section(w);
  c.prni.write_section(w);
  w.header(c.cenn_header);
  write_cenn(w, c.cenn);
  return std::move(w.bytes());
}

bool open_config(Config& c, const std::string& path) {
  section_open_status status;
  c.file = open_section_file(path, section_access::write_exclusive, status);
  if (c.file) {
    auto body = c.file->read_body();
    if (body && read_config_sections(c, body->data(), body->size())) return true;
    c.file.reset();
    return false;
  }
  if (status == section_open_status::missing) {
    c.file = create_section_file(path, status);
    if (c.file) {
      set_config_defaults(c);
      if (write_config(c)) return true;
      c.file.reset();
    }
    msg_box_screen(message_foreign_file, path.c_str());
    return false;
  }
  msg_box_screen(status == section_open_status::wrong_version ? message_wrong_version : message_foreign_file,
                 path.c_str());
  return false;
}

bool write_config(Config& c) {
  if (!c.file) return false;
  std::vector<uint8_t> body = encode_config_sections(c);
  return c.file->write_body(body);
}

void close_config(Config& c) { c.file.reset(); }

void set_config_path(const std::string& path) { stored_config_path() = path; }
const std::string& config_path() { return stored_config_path(); }
void reset_config_path() { stored_config_path().clear(); }

bool load_general_settings(general_record& record, const std::string& path) {
  Config c;
  bool ok = open_config(c, path);
  if (ok)
    record = c.general;
  else
    fill_general_defaults(record);
  close_config(c);
  return ok;
}

bool save_general_settings(const general_record& record, const std::string& path) {
  Config c;
  if (!open_config(c, path)) return false;
  c.general = record;
  bool ok = write_config(c);
  close_config(c);
  return ok;
}

namespace {

bool get_current(Cfg_base& (*pick)(Config&), uint8_t* out, const std::string& path) {
  Config c;
  if (!open_config(c, path)) return false;
  Cfg_base& section = pick(c);
  const variant_entry* e = section.current_entry();
  if (e) section.copy_data(e->data, out);
  close_config(c);
  return e != nullptr;
}

} // namespace

bool get_current_overheads(uint8_t* out, bool investor, const std::string& path) {
  return get_current(investor ? +[](Config& c) -> Cfg_base& { return c.ovri; }
                              : +[](Config& c) -> Cfg_base& { return c.ovrh; },
                     out, path);
}

bool get_current_print_options(uint8_t* out, bool investor, const std::string& path) {
  return get_current(investor ? +[](Config& c) -> Cfg_base& { return c.prni; }
                              : +[](Config& c) -> Cfg_base& { return c.prnt; },
                     out, path);
}

} // namespace kovra::shell
