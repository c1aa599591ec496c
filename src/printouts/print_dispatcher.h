#pragma once
// The print dispatcher: walks the printed parts in the block's order and runs each part's
// generator, in graphic mode into the report engine (a printer or a PDF file) or in text mode
// into a spool file that goes to a character printer or a file.
#include "printouts/print_document.h"
#include "printouts/print_options.h"
#include "printouts/printout_sink.h"
#include "report/printer_config.h"
#include "report/report_output.h"

#include <functional>
#include <string>
#include <vector>

class QPrinter;

namespace kovra::printouts {

// The codes to print, in the block's order: `requested` (or, when empty, the parts the block
// includes, or 40 alone when it includes none). A per-chapter code (part + 100) of a
// compound estimate prints its part.
std::vector<int> parts_to_print(const uint8_t* block, bool compound, const std::vector<int>& requested);

// Runs the generators of `parts` into the sink. False when the user stopped it.
bool run_parts(printout_sink& sink, print_document& doc, const std::vector<int>& parts,
               const std::function<bool()>& stop = {});

enum class text_format {
  printer_codes,  // the bytes a character printer receives, control codes included
  plain,          // "Zbiór": plain text in the configuration's code page
  windows,        // "Zbiór Windows": plain text in Windows-1250
  utf8,           // UTF-8 without control codes, page ends as form feeds
};

struct text_print_options {
  report::printer_config config;  // printer codes, code page and page geometry
  text_format format = text_format::utf8;
  bool endless = false;           // one endless page
  std::string temp_folder;        // where the spool file is made
  // Shown the finished spool file before any output; false ends the printout quietly.
  std::function<bool(const std::string& spool)> preview;
};

// A text printout of `parts` into `output` (a file), or to the CUPS queue `queue` for
// text_format::printer_codes when `queue` is not empty. A failure removes the output and
// returns the reason.
std::string print_text(print_document& doc, const std::vector<int>& parts, const text_print_options& options,
                       const std::string& output, const std::string& queue = {});

// A graphic printout into a PDF file (pages of the block's range, A4, the block's margins),
// or onto a printer (a CUPS queue) with the block's copies. Failures remove the output and
// return the reason.
std::string print_pdf(print_document& doc, const std::vector<int>& parts, const std::string& output);
std::string print_graphic(print_document& doc, const std::vector<int>& parts, QPrinter& printer);

// The page setup of the document's graphic printouts: the block's margins and first page number.
report::report_page_setup graphic_page_setup(const print_document& doc);
// The graphic report of `parts` recorded once with the metrics of `device` (laid out for the
// whole page of `page_size` device units): what a preview shows and later prints. `observer`
// sees each page as it is finished.
report::generated_report record_graphic(print_document& doc, const std::vector<int>& parts, QPaintDevice& device,
                                        const QSize& page_size, const report::page_observer& observer = {});

} // namespace kovra::printouts
