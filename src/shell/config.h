#pragma once
// The program configuration "kovra.cfg": general settings, the description standard, the
// overhead and print standards and the price-list settings. The file is never kept open:
// every operation builds a Config, opens and reads the file, takes what it needs and closes.
#include "shell/config_sections.h"
#include "shell/general_settings.h"
#include "shell/section_file.h"

#include <array>
#include <memory>
#include <optional>
#include <string>

namespace kovra::shell {

// Price-list settings ("CENN"); this edition carries them back unchanged.
struct price_list_settings {
  std::array<std::string, 12> price_list_files;  // 3 x 3 table of R, M, S files, then 3 more
  std::array<uint16_t, 4> price_list_flags{};    // R, M, S, simplified positions
  uint8_t price_list_byte = 0;
  double labour_rate = 0.0;
  uint8_t price_list_flag = 0;
};

class Config {
public:
  Config();
  Config(const Config&) = delete;
  Config& operator=(const Config&) = delete;

  section_header ogol_header;
  general_record general;
  section_header opis_header;
  std::optional<std::string> description;  // internal text
  Cfg_ovrhd_strd ovrh;
  Cfg_ovrhd_inw ovri;
  Cfg_print_strd prnt;
  Cfg_print_inw prni;
  section_header cenn_header;
  price_list_settings cenn;

  std::unique_ptr<section_file> file;  // open while an operation runs
};

// The description of three empty parts: twice the part separator of the description view.
std::string default_description();

void set_config_defaults(Config& c);

// One section at the reader's position: `end` when fewer than 13 bytes remain.
section_read read_config_section(Config& c, byte_reader& r, section_header& h);
// Reads sections from the bytes after the header. Ends successfully when fewer than 13 bytes
// remain; fails on an unknown tag or a section cut short.
bool read_config_sections(Config& c, const uint8_t* data, std::size_t size);
// The sections in writing order: "OGOL" (version 3), "OPIS", "OVRH", "OVRI", "PRNT", "PRNI"
// (both version 2), "CENN".
std::vector<uint8_t> encode_config_sections(Config& c);

// Opens `path` exclusively and reads it into `c`; a missing file is created with the
// defaults. A file of another program or that cannot be opened shows message 16, one of
// another format version message 76; neither is changed. A file whose sections cannot be
// read fails without a message and is not changed either.
bool open_config(Config& c, const std::string& path);
bool write_config(Config& c);
void close_config(Config& c);

// Where kovra.cfg lives (set at start-up).
void set_config_path(const std::string& path);
const std::string& config_path();
void reset_config_path();

// True when read from the file; otherwise `record` gets the general defaults (its
// trailing_flag_2 keeps its value).
bool load_general_settings(general_record& record, const std::string& path = config_path());
// Rewrites the file with `record` in place of the general settings, keeping every other
// section; false (nothing written) when the file cannot be opened and read.
bool save_general_settings(const general_record& record, const std::string& path = config_path());
// The current variant of "OVRI" (investor) or "OVRH" into 717 bytes; false when none.
bool get_current_overheads(uint8_t* out, bool investor, const std::string& path = config_path());
// The current variant of "PRNI" (investor) or "PRNT" into 10,907 bytes; false when none.
bool get_current_print_options(uint8_t* out, bool investor, const std::string& path = config_path());

} // namespace kovra::shell
