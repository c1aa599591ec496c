#include "report/text_printout.h"

#include "report/file_sink.h"
#include "report/font_download.h"
#include "report/printer_code_page.h"
#include "report/printer_dat.h"
#include "report/printout_names.h"
#include "shell/messages.h"
#include "store/codepage.h"
#include "store/paths.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace kovra::report {
namespace {

constexpr int right_part_width = 46;  // "   " + label + "strona nr NNN", line feed not counted
constexpr int left_part_width = text_writer::page_width - right_part_width;
constexpr std::size_t estimate_piece = 56;

std::string escape_percent(const std::string& text) {
  std::string out;
  for (char c : text) {
    out += c;
    if (c == '%') out += '%';
  }
  return out;
}

std::string fit(std::string text, std::size_t width) {
  if (text.size() > width) text = text.substr(0, width - 3) + "...";
  text.resize(width, ' ');
  return text;
}

} // namespace

std::string make_page_line(const text_print_job& job) {
  std::string left = store::utf8_to_mazovia("Zbiór: ");
  if (!job.chapter_name.empty()) left += job.chapter_name + ", ";
  left += store::utf8_to_mazovia(store::name_part(job.document_path));
  const std::string label = fit("Kovra - kosztorys", right_part_width - 3 - 13);
  std::string line = escape_percent(fit(left, left_part_width)) + "   " + escape_percent(label) + "strona nr %3d\n";

  std::string name = job.estimate_name[0].substr(0, estimate_piece);
  const std::string second = job.estimate_name[1].substr(0, estimate_piece);
  if (!second.empty()) name += " " + second;
  std::string date = job.date.substr(0, 8);
  date.insert(0, 8 - date.size(), ' ');
  line += escape_percent(fit(name, text_writer::page_width - 8)) + escape_percent(date) + "\n";
  return line;
}

text_print_result run_text_printout(printer_config& config, const text_print_folders& folders,
                                    const text_print_job& job, const std::function<void(text_writer&)>& generators,
                                    print_sink* printer) {
  text_print_result result;
  // 1. Margins and geometry.
  config.left_margin = std::clamp(job.left_margin, 0, max_margin_mm);
  config.top_margin = std::clamp(job.top_margin, 0, max_margin_mm);
  config.bottom_margin = std::clamp(job.bottom_margin, 0, max_margin_mm);
  config.right_margin = std::clamp(job.right_margin, 0, max_margin_mm);
  config.lines_per_page = compute_lines_per_page(config.kind, config.paper_length, config.bottom_margin, config.density);
  build_setting_codes(config);
  if (!folders.config.empty()) write_printer_config(folders.config, config);

  // 2-3. The spool file and the printer initialisation.
  std::string spool;
  std::FILE* spool_file_stream = create_spool_file(folders.temp, spool);
  text_writer writer;
  writer.set_layout(config.lines_per_page, doubled_line_feeds(config.density));
  if (!spool_file_stream) {
    shell::msg_box_screen(285, folders.temp.c_str());
    return result;
  }
  writer.open_spool(spool_file_stream, std::max(1, job.first_page_number));
  if (eight_lpi_family(config.density) || config.kind != PRINTER_DOT)
    writer.write_printer_init({SLOT_RESET, SLOT_MODE_NORMAL, SLOT_EMPHASIS_OFF, SLOT_LEFT_MARGIN, SLOT_LINE_SPACING});
  else
    writer.write_printer_init({SLOT_RESET, SLOT_MODE_NORMAL, SLOT_EMPHASIS_OFF, SLOT_LEFT_MARGIN});

  // 4-6. Page-number line, block mode, the printed parts.
  writer.set_page_line(top_blank_lines(config), "%s", make_page_line(job).c_str());
  if (job.split_blocks) writer.set_auto_flush(false);
  generators(writer);

  // 7. End of document.
  writer.block_code(SLOT_DOCUMENT_END);
  writer.end_page();
  if (!writer.close_spool(SLOT_RESET)) {
    shell::msg_box_screen(285, spool.c_str());
    std::filesystem::remove(spool);
    return result;
  }

  // 8. Output.
  if (job.preview && !job.preview(spool)) {
    std::filesystem::remove(spool);
    return result;
  }
  spool_request request;
  request.source = spool;
  request.first_page = job.first_page;
  request.last_page = job.last_page;
  request.show_progress = true;  // the progress window with its stop button

  const bool file_output = job.output != text_output::printer;
  const bool fonts = uses_downloaded_fonts(config);
  if (file_output) {
    store::force_directories(folders.printouts);
    const char letter = job.output == text_output::codes_file ? printer_code_file_letter : plain_file_letter;
    auto name = next_printout_name(folders.printouts, store::name_part(job.document_path), letter);
    if (!name) {
      shell::msg_box_screen(285, folders.printouts.c_str());
      std::filesystem::remove(spool);
      return result;
    }
    request.output = *name;
    result.output_path = *name;
  }

  switch (job.output) {
  case text_output::printer: {
    if (!printer) {
      shell::msg_box(209);
      std::filesystem::remove(spool);
      return result;
    }
    if (fonts && !fonts_sent_to_printer()) {
      if (!printer->begin(print_document_name)) {
        shell::msg_box(209);
        std::filesystem::remove(spool);
        return result;
      }
      const bool sent = send_font_files(*printer, folders.program);
      const bool ended = printer->end();
      if (!sent || !ended) {
        std::filesystem::remove(spool);
        return result;
      }
      set_fonts_sent_to_printer(true);
    }
    request.flags = SPOOL_PRINTER;
    request.copies = job.copies;
    result.spool = spool_file(request, config.codes,
                              fonts ? font_download_code_page() : code_page(config.code_page), printer);
    break;
  }
  case text_output::codes_file: {
    request.flags = SPOOL_CODES | SPOOL_CREATE;
    if (fonts) {
      file_sink out(request.output, true);
      const bool opened = out.begin(print_document_name);
      const bool sent = opened && send_font_files(out, folders.program);
      out.end();
      if (!sent) {
        if (!opened) shell::msg_box_screen(172, request.output.c_str());
        std::filesystem::remove(spool);
        return result;
      }
      request.flags = SPOOL_CODES;  // after the fonts
    }
    result.spool = spool_file(request, config.codes,
                              fonts ? font_download_code_page() : code_page(config.code_page), nullptr);
    break;
  }
  case text_output::plain_file:
    request.flags = SPOOL_PLAIN | SPOOL_CREATE;
    result.spool = spool_file(request, config.codes, code_page(config.code_page), nullptr);
    break;
  case text_output::windows_file: {
    // Win ANSI for this run only; the saved value lets the choice be restored.
    const int chosen = config.code_page;
    config.saved_code_page = chosen + 1;
    config.code_page = CODE_PAGE_WIN_ANSI;
    if (!folders.config.empty()) write_printer_config(folders.config, config);
    request.flags = SPOOL_PLAIN | SPOOL_CREATE;
    result.spool = spool_file(request, config.codes, code_page(CODE_PAGE_WIN_ANSI), nullptr);
    config.code_page = chosen;
    config.saved_code_page = 0;
    if (!folders.config.empty()) write_printer_config(folders.config, config);
    break;
  }
  }
  if (result.spool != spool_result::done) std::filesystem::remove(spool);
  result.printed = result.spool == spool_result::done;
  return result;
}

} // namespace kovra::report
