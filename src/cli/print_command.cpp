// kovra-cli print FILE [options] -o OUT
//
// Prints an estimate without windows through the print dispatcher, starting from the
// document's own print settings; the options change that block in memory only, so FILE is
// never changed. Writes nothing but OUT, and removes OUT again when the print fails.
#include "cli/command.h"
#include "printouts/print_dispatcher.h"
#include "printouts/print_document.h"
#include "printouts/print_options.h"
#include "report/printer_dat.h"
#include "report/report_gui.h"
#include "shell/print_block.h"

#include <QPrinter>

#include <cstdlib>
#include <filesystem>
#include <ostream>
#include <sstream>

namespace kovra::cli {
namespace {

namespace fs = std::filesystem;
using namespace kovra::printouts;

std::string program_file(const char* name) {
  std::error_code ec;
  const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  return ((ec ? fs::path(".") : exe.parent_path()) / name).string();
}

bool parse_int(const std::string& s, int& out, int low, int high) {
  if (s.empty() || s.size() > 6) return false;
  char* end = nullptr;
  const long v = std::strtol(s.c_str(), &end, 10);
  if (*end != '\0' || v < low || v > high) return false;
  out = int(v);
  return true;
}

bool parse_parts(const std::string& s, std::vector<int>& out) {
  std::stringstream in(s);
  std::string item;
  while (std::getline(in, item, ',')) {
    int code = 0;
    if (!parse_int(item, code, 1, 199) || !shell::find_print_part(code)) return false;
    out.push_back(code);
  }
  return !out.empty();
}

struct option_setting {
  int part = 0;
  std::string caption, value;
};

int run_print(const std::vector<std::string>& args, std::ostream&, std::ostream& err) {
  std::string file, output, mode, format, pages, printer_model, queue;
  std::vector<int> parts;
  std::vector<option_setting> settings;
  int first_page = 0, copies = 0;
  bool endless = false;
  auto usage = [&](const std::string& what) {
    err << "kovra-cli print: " << what << "\n"
        << "usage: kovra-cli print FILE [--parts CODES] [--option PART:CAPTION=VALUE]... [--mode graphic|text]\n"
           "       [--format pdf|printer|text|utf8] [--endless] [--pages A-B] [--first-page N] [--copies N]\n"
           "       [--printer MODEL] (-o OUT | --queue NAME)\n";
    return exit_usage;
  };
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&](std::string& v) {
      if (i + 1 >= args.size()) return false;
      v = args[++i];
      return true;
    };
    std::string v;
    if (a == "-o") {
      if (!value(output)) return usage("-o needs a file");
    } else if (a == "--parts") {
      if (!value(v) || !parse_parts(v, parts)) return usage("bad --parts");
    } else if (a == "--option") {
      if (!value(v)) return usage("--option needs PART:CAPTION=VALUE");
      const auto colon = v.find(':'), eq = v.find('=');
      option_setting s;
      if (colon == std::string::npos || eq == std::string::npos || eq < colon ||
          !parse_int(v.substr(0, colon), s.part, 1, 199))
        return usage("bad --option \"" + v + "\"");
      s.caption = v.substr(colon + 1, eq - colon - 1);
      s.value = v.substr(eq + 1);
      settings.push_back(s);
    } else if (a == "--mode") {
      if (!value(mode) || (mode != "graphic" && mode != "text")) return usage("bad --mode");
    } else if (a == "--format") {
      if (!value(format) || (format != "pdf" && format != "printer" && format != "text" && format != "utf8"))
        return usage("bad --format");
    } else if (a == "--endless") {
      endless = true;
    } else if (a == "--pages") {
      if (!value(pages) || pages.empty()) return usage("bad --pages");
    } else if (a == "--first-page") {
      if (!value(v) || !parse_int(v, first_page, 1, 9999)) return usage("bad --first-page");
    } else if (a == "--copies") {
      if (!value(v) || !parse_int(v, copies, 1, 999)) return usage("bad --copies");
    } else if (a == "--queue") {
      if (!value(queue) || queue.empty()) return usage("--queue needs a CUPS queue");
    } else if (a == "--printer") {
      if (!value(printer_model)) return usage("--printer needs a model");
    } else if (!a.empty() && a[0] != '-' && file.empty()) {
      file = a;
    } else {
      return usage("bad argument \"" + a + "\"");
    }
  }
  if (file.empty() || (output.empty() == queue.empty())) return usage("FILE and either -o OUT or --queue NAME are needed");

  print_document doc;
  std::string error;
  if (!open_print_document(file, doc, error)) {
    err << error << "\n";
    return exit_cannot_open;
  }
  uint8_t* block = doc.block.data();
  const int own_method = document_calc_method(doc);
  for (const option_setting& s : settings) {
    if (!set_option_by_caption(block, s.part, s.caption, s.value, own_method, error)) {
      err << "kovra-cli print: " << error << "\n";
      return exit_usage;
    }
  }
  if (!pages.empty() && !set_option_by_caption(block, 1, "Zakres stron:", pages, own_method, error)) {
    err << "kovra-cli print: " << error << "\n";
    return exit_usage;
  }
  if (first_page > 0) set_option_by_caption(block, 1, "Numer pierwszej strony", std::to_string(first_page), 0, error);
  if (copies > 0) set_option_by_caption(block, 1, "Liczba kopii", std::to_string(copies), 0, error);

  const device_options dev = read_device_options(block);
  bool text_mode = mode.empty() ? dev.text_mode : mode == "text";
  if (format.empty()) format = text_mode ? (queue.empty() ? "text" : "printer") : "pdf";
  if (!queue.empty() && format != "printer" && format != "pdf")
    return usage("--queue takes the printer's bytes (--format printer) or the graphic pages");
  if (format == "pdf" && mode == "text") return usage("--format pdf is a graphic format");
  if (format != "pdf" && mode == "graphic") return usage("--format " + format + " is a text format");
  text_mode = format != "pdf";
  if (endless && !text_mode) return usage("--endless is for text mode only");

  const std::vector<int> chosen = parts_to_print(block, doc.compound, parts);
  // Given parts replace the block's include flags, so that a part and its per-chapter
  // variant print as asked.
  if (!parts.empty()) {
    for (int code = 10; code < 200; ++code) include_part(block, code, false);
    for (int code : parts) include_part(block, code, true);
  }
  if (!text_mode) {
    report::ensure_gui_application();
    if (queue.empty()) {
      error = print_pdf(doc, chosen, output);
    } else {
      QPrinter printer(QPrinter::HighResolution);
      printer.setPrinterName(QString::fromStdString(queue));
      if (!printer.isValid()) return usage("no printer queue \"" + queue + "\"");
      error = print_graphic(doc, chosen, printer);
    }
  } else {
    text_print_options options;
    options.format = format == "utf8" ? text_format::utf8
                     : format == "printer" ? text_format::printer_codes
                     : dev.file_type == text_file_type::windows ? text_format::windows
                                                                : text_format::plain;
    options.endless = endless;
    options.temp_folder = fs::temp_directory_path().string();
    if (!printer_model.empty()) {
      auto defs = report::load_printer_dat(program_file("printer.dat"));
      if (!defs) return exit_failed;
      const report::printer_model* model = defs->find_model(printer_model);
      if (!model) return usage("no printer model \"" + printer_model + "\"");
      report::choose_printer_model(options.config, *model, defs->codes_of(*model));
    }
    error = print_text(doc, chosen, options, output, queue);
  }
  if (!error.empty()) {
    err << "kovra-cli print: " << file << ": " << error << "\n";
    return exit_failed;
  }
  return exit_ok;
}

const command_registration print_reg{
    {"print",
     "FILE [--parts CODES] [--option PART:CAPTION=VALUE]... [--mode graphic|text] [--format pdf|printer|text|utf8] "
     "[--endless] [--pages A-B] [--first-page N] [--copies N] [--printer MODEL] (-o OUT | --queue NAME)",
     "print an estimate's parts to a PDF file, a character printer's bytes or a text file; --queue sends the "
     "pages (graphic) or the printer's bytes (text) to a CUPS queue instead",
     run_print}};

} // namespace
} // namespace kovra::cli
