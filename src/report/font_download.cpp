#include "report/font_download.h"

#include "report/printer_code_page.h"
#include "report/printer_config.h"
#include "report/printer_dat.h"
#include "shell/messages.h"
#include "store/codepage.h"

#include <cstdio>
#include <filesystem>

namespace kovra::report {
namespace {

bool fonts_sent = false;

} // namespace

bool uses_downloaded_fonts(const printer_config& config) {
  return config.font == FONT_LOAD && config.code_page == CODE_PAGE_MAZOVIA;
}

bool fonts_sent_to_printer() { return fonts_sent; }
void set_fonts_sent_to_printer(bool sent) { fonts_sent = sent; }
void reset_font_download() { fonts_sent = false; }

bool send_font_files(print_sink& out, const std::string& program_folder) {
  for (const char* name : font_file_names) {
    const std::string path = (std::filesystem::path(program_folder) / name).string();
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) {
      shell::msg_box_screen(171, path.c_str());
      return false;
    }
    char chunk[1 << 14];
    std::size_t n;
    bool ok = true;
    while (ok && (n = std::fread(chunk, 1, sizeof chunk, f)) > 0) ok = out.write(chunk, n);
    std::fclose(f);
    if (!ok) {
      shell::msg_box(178);
      return false;
    }
  }
  return true;
}

} // namespace kovra::report
