#include "printouts/print_dispatcher.h"

#include "printouts/estimate_printout.h"
#include "printouts/graphic_sink.h"
#include "printouts/other_parts.h"
#include "printouts/page_context.h"
#include "report/cups_sink.h"
#include "report/file_sink.h"
#include "report/printer_code_page.h"
#include "report/printer_dat.h"
#include "report/report_output.h"
#include "report/spooler.h"
#include "report/text_printout.h"
#include "report/text_writer.h"
#include "shell/print_block.h"
#include "shell/messages.h"
#include "shell/print_look.h"
#include "shell/progress.h"
#include "store/codepage.h"

#include <QPrinter>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace kovra::printouts {
namespace {

namespace fs = std::filesystem;

void remove_quietly(const std::string& path) {
  std::error_code ec;
  if (!path.empty()) fs::remove(path, ec);
}

// The spool file as UTF-8: its first line (the printer initialisation) left out, every
// control-code mark dropped except page ends, which become form feeds; CR LF becomes LF.
// Pages first..last (counted from 1) of the spool file as UTF-8: the first line (the printer
// initialisation) left out, every control-code mark dropped except page ends, which become
// form feeds; CR LF becomes LF. The number of pages the file holds goes to `pages`.
bool spool_to_utf8(const std::string& spool, const std::string& output, int first, int last, int& pages) {
  std::ifstream in(spool, std::ios::binary);
  if (!in) return false;
  std::ofstream out(output, std::ios::binary | std::ios::trunc);
  if (!out) return false;
  bool first_line = true, mark = false, cr = false;
  int page = 1;
  bool any_text = false;  // text after the last page end
  auto wanted = [&] { return page >= first && page <= last; };
  std::vector<char> chunk(1 << 16);
  std::string text;
  while (in) {
    in.read(chunk.data(), std::streamsize(chunk.size()));
    const std::size_t n = std::size_t(in.gcount());
    text.clear();
    for (std::size_t i = 0; i < n; ++i) {
      if (first_line) {
        first_line = chunk[i] != '\n';
        continue;
      }
      if (!mark && !cr) {  // plain runs are copied whole
        std::size_t end = i;
        while (end < n && chunk[end] != 27 && chunk[end] != '\r') ++end;
        if (end > i) any_text = true;
        if (wanted()) text.append(chunk.data() + i, end - i);
        if (end == n) break;
        i = end;
      }
      const char c = chunk[i];
      if (mark) {  // the slot after a mark byte
        if (c == char(report::SLOT_PAGE_END)) {
          if (wanted()) text += '\f';
          ++page;
          any_text = false;
        }
        mark = false;
        continue;
      }
      if (cr) {
        cr = false;
        if (c != '\n' && wanted()) text += '\r';
      }
      if (c == 27) {
        mark = true;
      } else if (c == '\r') {
        cr = true;
      } else {
        any_text = true;
        if (wanted()) text += c;
      }
    }
    out << store::mazovia_to_utf8(text);
  }
  pages = any_text ? page : page - 1;
  out.close();
  return bool(out);
}

} // namespace

std::vector<int> parts_to_print(const uint8_t* block, bool compound, const std::vector<int>& requested) {
  std::vector<int> out;
  const std::vector<int> order = shell::print_order(block);
  auto wanted = [&](int code) {
    if (!requested.empty()) {
      for (int r : requested)
        if (r == code || (compound && r == code + 100)) return true;
      return false;
    }
    return part_included(block, code) || (compound && part_included(block, code + 100));
  };
  for (int code : order) {
    if (code < 10 || code > 100) continue;  // settings entries; per-chapter codes go with their part
    if (wanted(code) && std::find(out.begin(), out.end(), code) == out.end()) out.push_back(code);
  }
  // A requested part missing from a damaged order still prints, after the others.
  for (int r : requested) {
    const int code = r > 100 ? r - 100 : r;
    if (code >= 10 && std::find(out.begin(), out.end(), code) == out.end()) out.push_back(code);
  }
  if (out.empty() && requested.empty()) out.push_back(40);
  return out;
}

bool run_parts(printout_sink& sink, print_document& doc, const std::vector<int>& parts,
               const std::function<bool()>& stop) {
  uint8_t* block = doc.block.data();
  for (int code : parts) {
    switch (code) {
    case 40:
      if (!print_estimate_part(sink, doc, block, stop)) return false;
      break;
    default:
      if (!print_other_part(sink, doc, block, code, stop)) return false;
      break;
    }
  }
  return true;
}

std::string print_text(print_document& doc, const std::vector<int>& parts, const text_print_options& options,
                       const std::string& output, const std::string& queue) {
  report::printer_config config = options.config;
  const device_options dev = read_device_options(doc.block.data());
  config.left_margin = std::clamp(dev.margin_left, 0, report::max_margin_mm);
  config.top_margin = std::clamp(dev.margin_top, 0, report::max_margin_mm);
  config.bottom_margin = std::clamp(dev.margin_bottom, 0, report::max_margin_mm);
  config.right_margin = std::clamp(dev.margin_right, 0, report::max_margin_mm);
  config.lines_per_page =
      report::compute_lines_per_page(config.kind, config.paper_length, config.bottom_margin, config.density);
  report::build_setting_codes(config);

  std::string spool;
  std::FILE* stream = report::create_spool_file(options.temp_folder, spool);
  if (!stream) return "cannot create a spool file in \"" + options.temp_folder + "\"";
  report::text_writer w;
  w.set_layout(config.lines_per_page, report::doubled_line_feeds(config.density));
  w.open_spool(stream, dev.first_page_number);
  using namespace report;
  if (eight_lpi_family(config.density) || config.kind != PRINTER_DOT)
    w.write_printer_init({SLOT_RESET, SLOT_MODE_NORMAL, SLOT_EMPHASIS_OFF, SLOT_LEFT_MARGIN, SLOT_LINE_SPACING});
  else
    w.write_printer_init({SLOT_RESET, SLOT_MODE_NORMAL, SLOT_EMPHASIS_OFF, SLOT_LEFT_MARGIN});
  if (options.endless) {
    w.set_endless(true);
  } else {
    w.set_page_line(top_blank_lines(config), "%s", make_page_line(text_job_of(doc)).c_str());
  }
  if (!dev.continuous) w.set_auto_flush(false);
  text_sink sink(w);
  // The progress window with its stop button while the parts are written.
  shell::wait_open(nullptr, shell::ANIM_NONE, shell::WAIT_STOP, 175);
  const bool finished = run_parts(sink, doc, parts, [] { return !shell::wait_step(); });
  shell::wait_close();
  w.block_code(SLOT_DOCUMENT_END);
  w.end_page();
  if (!w.close_spool(SLOT_RESET)) {
    remove_quietly(spool);
    return "cannot write the spool file \"" + spool + "\"";
  }
  if (!finished) {
    shell::msg_box(177);
    remove_quietly(spool);
    return "the printout was stopped";
  }
  if (options.preview && !options.preview(spool)) {
    remove_quietly(spool);  // the user left the preview without printing
    return {};
  }

  std::string error;
  if (options.format == text_format::utf8) {
    const page_range range = page_range_of(dev);
    const int first = options.endless ? 1 : range.first - dev.first_page_number + 1;
    const int last = options.endless ? spool_all_pages : range.last - dev.first_page_number + 1;
    int pages = 0;
    if (!spool_to_utf8(spool, output, first, last, pages)) {
      error = "cannot write \"" + output + "\"";
    } else if (first > pages) {
      shell::msg_box(145, pages);
      error = "the page range holds no page of the printout";
    }
    remove_quietly(spool);
  } else {
    const page_range range = page_range_of(dev);
    spool_request request;
    request.source = spool;
    request.output = output;
    request.first_page = range.first - dev.first_page_number + 1;
    request.last_page = std::min(spool_all_pages, range.last - dev.first_page_number + 1);
    request.copies = dev.copies;
    request.show_progress = true;
    int table = config.code_page;
    if (options.format == text_format::windows) table = CODE_PAGE_WIN_ANSI;
    cups_sink printer(queue);
    if (options.format == text_format::printer_codes) {
      request.flags = queue.empty() ? (SPOOL_CODES | SPOOL_CREATE) : SPOOL_PRINTER;
    } else {
      request.flags = SPOOL_PLAIN | SPOOL_CREATE;
    }
    const spool_result r = spool_file(request, config.codes, code_page(table), queue.empty() ? nullptr : &printer);
    if (r != spool_result::done) error = "the text printout could not be written to \"" + output + "\"";
    remove_quietly(spool);  // the spooler deletes it after the last copy; gone also on failure
  }
  if (!error.empty() && queue.empty()) remove_quietly(output);
  return error;
}

namespace {

// Before every graphic printout the reserved byte 600 of the block is cleared.
void clear_reserved_byte(print_document& doc) { doc.block[600] = 0; }

report::report_page_setup page_setup_of(const print_document& doc) {
  const device_options dev = read_device_options(doc.block.data());
  report::report_page_setup setup;
  setup.margin_top_mm = dev.margin_top;
  setup.margin_bottom_mm = dev.margin_bottom;
  setup.margin_left_mm = dev.margin_left;
  setup.margin_right_mm = dev.margin_right;
  setup.first_page_no = dev.first_page_number;
  return setup;
}

} // namespace

std::string print_pdf(print_document& doc, const std::vector<int>& parts, const std::string& output) {
  clear_reserved_byte(doc);
  const device_options dev = read_device_options(doc.block.data());
  const page_range range = page_range_of(dev);
  bool finished = true;
  const report::report_outcome r = report::write_report_pdf(
      output, page_setup_of(doc), shell::current_print_look(),
      [&](report::VL_raport& raport) {
        graphic_sink sink(raport, doc, shell::current_print_look().line_spacing);
        finished = run_parts(sink, doc, parts);
      },
      range.first - dev.first_page_number + 1, range.last - dev.first_page_number + 1);
  if (!r.ok || !finished) {
    remove_quietly(output);
    return r.error.empty() ? std::string("the printout was stopped") : r.error;
  }
  if (r.pages_drawn == 0) {
    remove_quietly(output);
    return "the page range holds no page of the printout";
  }
  return {};
}

std::string print_graphic(print_document& doc, const std::vector<int>& parts, QPrinter& printer) {
  clear_reserved_byte(doc);
  const device_options dev = read_device_options(doc.block.data());
  const page_range range = page_range_of(dev);
  printer.setFullPage(true);
  const QSize page = printer.pageLayout().fullRectPixels(printer.resolution()).size();
  bool finished = true;
  report::generated_report rep = report::generate_report(printer, page, page_setup_of(doc), shell::current_print_look(),
                                                         [&](report::VL_raport& raport) {
                                                           graphic_sink sink(raport, doc,
                                                                             shell::current_print_look().line_spacing);
                                                           finished = run_parts(sink, doc, parts);
                                                         });
  if (!rep) return rep.error;
  if (!finished) return "the printout was stopped";
  const report::report_outcome r = report::print_report(rep, printer, range.first - dev.first_page_number + 1,
                                                        range.last - dev.first_page_number + 1, dev.copies);
  return r.ok ? std::string() : r.error;
}

report::report_page_setup graphic_page_setup(const print_document& doc) { return page_setup_of(doc); }

report::generated_report record_graphic(print_document& doc, const std::vector<int>& parts, QPaintDevice& device,
                                        const QSize& page_size, const report::page_observer& observer) {
  clear_reserved_byte(doc);
  bool finished = true;
  report::generated_report rep =
      report::generate_report(device, page_size, page_setup_of(doc), shell::current_print_look(),
                              [&](report::VL_raport& raport) {
                                graphic_sink sink(raport, doc, shell::current_print_look().line_spacing);
                                finished = run_parts(sink, doc, parts);
                              },
                              observer);
  if (rep && !finished) {
    rep.raport.reset();
    rep.error = "the printout was stopped";
  }
  return rep;
}

} // namespace kovra::printouts
