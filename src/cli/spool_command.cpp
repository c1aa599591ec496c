// kovra-cli spool: turns a spool file (or a plain text file) into the bytes a character
// printer gets, into a file or a CUPS queue; kovra-cli printers: the printer models and
// the printer queues.
#include "cli/command.h"
#include "report/cups_sink.h"
#include "report/file_sink.h"
#include "report/printer_config.h"
#include "report/printer_dat.h"
#include "report/spooler.h"
#include "report/text_writer.h"
#include "store/codepage.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <sstream>
#include <unistd.h>

namespace kovra::cli {
namespace {

namespace fs = std::filesystem;
using namespace kovra::report;

std::string default_definitions() {
  std::error_code ec;
  const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  return ((ec ? fs::path(".") : exe.parent_path()) / "printer.dat").string();
}

bool parse_int(const std::string& s, int& out) {
  if (s.empty() || s.size() > 6) return false;
  char* end = nullptr;
  long v = std::strtol(s.c_str(), &end, 10);
  if (*end != '\0') return false;
  out = int(v);
  return true;
}

// Writes a UTF-8 text file as a spool file: one line per line, a form feed ends the page.
bool text_to_spool(const std::string& text_path, std::FILE* spool, const printer_config& config,
                   std::ostream& err) {
  text_writer w;
  w.set_layout(config.lines_per_page, doubled_line_feeds(config.density));
  if (!w.open_spool(spool, 1)) return false;  // the writer owns the stream from here
  std::ifstream in(text_path, std::ios::binary);
  if (!in) {
    err << "kovra-cli: cannot open \"" << text_path << "\"\n";
    w.close_spool(0);
    return false;
  }
  w.write_printer_init({SLOT_RESET, SLOT_MODE_NORMAL, SLOT_EMPHASIS_OFF, SLOT_LEFT_MARGIN, SLOT_LINE_SPACING});
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::size_t start = 0;
    for (std::size_t ff; (ff = line.find('\f', start)) != std::string::npos; start = ff + 1) {
      if (ff > start) w.block_add_flush("%s", store::utf8_to_mazovia(line.substr(start, ff - start)).c_str());
      w.end_page();
    }
    w.block_add_flush("%s\n", store::utf8_to_mazovia(line.substr(start)).c_str());
  }
  w.block_code(SLOT_DOCUMENT_END);
  w.end_page();
  return w.close_spool(SLOT_RESET);
}

int run_spool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  std::string source, output, queue, model_name, definitions = default_definitions();
  int code_page_id = -1, first = 1, last = spool_all_pages, copies = 1;
  bool plain = false, text = false, to_queue = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&](std::string& v) {
      if (i + 1 >= args.size()) return false;
      v = args[++i];
      return true;
    };
    std::string v;
    if (a == "--printer" && value(model_name)) continue;
    if (a == "--definitions" && value(definitions)) continue;
    if (a == "-o" && value(output)) continue;
    if (a == "--queue" && value(queue)) {
      to_queue = true;
      continue;
    }
    if (a == "--default-queue") {
      to_queue = true;
      continue;
    }
    if (a == "--code-page" && value(v) && parse_int(v, code_page_id) && code_page_id >= 0 &&
        code_page_id < code_page_count)
      continue;
    if (a == "--copies" && value(v) && parse_int(v, copies) && copies >= 1 && copies <= spool_max_copies) continue;
    if (a == "--pages" && value(v)) {
      const auto dash = v.find('-');
      if (dash != std::string::npos && parse_int(v.substr(0, dash), first) &&
          (dash + 1 == v.size() || parse_int(v.substr(dash + 1), last)) && first >= 1 && last >= first)
        continue;
      if (dash == std::string::npos && parse_int(v, first) && first >= 1) {
        last = first;
        continue;
      }
    }
    if (a == "--plain") {
      plain = true;
      continue;
    }
    if (a == "--text") {
      text = true;
      continue;
    }
    if (a.empty() || a[0] == '-' || !source.empty()) {
      err << "kovra-cli spool: bad argument \"" << a << "\"\n";
      return exit_usage;
    }
    source = a;
  }
  if (source.empty() || model_name.empty() || (output.empty() == !to_queue)) {
    err << "usage: kovra-cli spool FILE --printer MODEL (-o OUT | --queue NAME | --default-queue) [options]\n";
    return exit_usage;
  }

  auto defs = load_printer_dat(definitions);
  if (!defs) return exit_cannot_open;
  const printer_model* model = defs->find_model(model_name);
  if (!model) {
    err << "kovra-cli spool: no printer model \"" << model_name << "\" in \"" << definitions << "\"\n";
    return exit_usage;
  }
  printer_config config;
  choose_printer_model(config, *model, defs->codes_of(*model));
  if (code_page_id >= 0) config.code_page = code_page_id;
  build_setting_codes(config);

  std::string spool = source;
  std::string temporary;
  if (text) {
    std::FILE* stream = create_spool_file(fs::temp_directory_path().string(), temporary);
    if (!stream) return exit_failed;
    spool = temporary;
    if (!text_to_spool(source, stream, config, err)) {
      std::error_code ec;
      fs::remove(spool, ec);
      return exit_cannot_open;
    }
  }

  spool_request r;
  r.source = spool;
  r.output = output;
  r.first_page = first;
  r.last_page = last;
  r.copies = copies;
  r.flags = (temporary.empty() ? SPOOL_KEEP_SOURCE : 0) | (plain ? SPOOL_PLAIN : 0) |
            (to_queue ? SPOOL_PRINTER : (plain ? 0 : SPOOL_CODES) | SPOOL_CREATE);
  cups_sink printer(queue);
  const spool_result result = spool_file(r, config.codes, code_page(config.code_page), to_queue ? &printer : nullptr);
  if (!temporary.empty()) {
    std::error_code ec;
    fs::remove(temporary, ec);
  }
  switch (result) {
  case spool_result::done: return exit_ok;
  case spool_result::missing_source:
  case spool_result::cannot_open: return exit_cannot_open;
  default: return exit_failed;
  }
}

int run_printers(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  std::string definitions = default_definitions();
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--definitions" && i + 1 < args.size()) {
      definitions = args[++i];
    } else {
      err << "kovra-cli printers: bad argument \"" << args[i] << "\"\n";
      return exit_usage;
    }
  }
  auto defs = load_printer_dat(definitions);
  if (!defs) return exit_cannot_open;
  static const char* const kinds[] = {"DOT", "LASER", "INK"};
  static const char* const letters[] = {"CHOOSE", "ASCII", "MAZOVIA", "LATIN2"};
  out << "models:\n";
  for (const auto& maker : defs->makers)
    for (const auto& m : maker.models)
      out << "  " << store::mazovia_to_utf8(maker.name) << " / " << store::mazovia_to_utf8(m.name) << "  ("
          << kinds[m.kind] << ", " << letters[m.letters] << (m.paper == PAPER_CUT_SHEET ? ", A4" : "")
          << (m.font == FONT_LOAD ? ", fonts loaded" : "") << ")\n";
  out << "queues:\n";
  for (const auto& q : printer_queues())
    out << "  " << q.name << (q.is_default ? " (default)" : "") << (q.info.empty() ? "" : "  " + q.info)
        << (q.location.empty() ? "" : "  [" + q.location + "]") << "\n";
  return exit_ok;
}

const command_registration spool_reg{
    {"spool",
     "FILE --printer MODEL (-o OUT | --queue NAME | --default-queue) [--definitions FILE] [--code-page 0-3] "
     "[--pages A-B] [--copies N] [--plain] [--text]",
     "convert a spool file (--text: a UTF-8 text file) into a character printer's bytes; the raw bytes go to "
     "a file or a CUPS queue",
     run_spool}};

const command_registration printers_reg{{"printers", "[--definitions FILE]",
                                         "list the character printer models and the CUPS printer queues",
                                         run_printers}};

} // namespace
} // namespace kovra::cli
