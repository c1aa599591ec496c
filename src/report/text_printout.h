#pragma once
// A text-mode printout from start to end: the page geometry from the printer configuration,
// the spool file with its initialisation and page-number line, the printout generators,
// and the copy to the printer or into a numbered file in the printouts folder.
#include "report/print_sink.h"
#include "report/printer_config.h"
#include "report/spooler.h"
#include "report/text_writer.h"

#include <functional>
#include <string>

namespace kovra::report {

enum class text_output {
  printer,       // raw bytes to the printer
  codes_file,    // "Zbiór Mazovia": printer codes kept, extension P..
  plain_file,    // "Zbiór": plain text, extension T..
  windows_file,  // "Zbiór Windows": plain text in Windows-1250, extension T..
};

struct text_print_folders {
  std::string program;    // font files
  std::string temp;       // the spool file
  std::string printouts;  // "wydruki"
  std::string config;     // path of "prnconf.cfg"; empty: not saved
};

struct text_print_job {
  std::string document_path;   // names the page-number line and the output file
  std::string chapter_name;    // Mazovia; set for a chapter of a compound estimate
  std::string estimate_name[2];// Mazovia, up to 56 characters each
  std::string date;            // dd/mm/yy
  int left_margin = 0, top_margin = 0, bottom_margin = 0, right_margin = 0;  // mm
  int first_page_number = 1;
  int first_page = 1, last_page = spool_all_pages;  // relative to the first page
  int copies = 1;
  text_output output = text_output::printer;
  bool split_blocks = false;   // "Wydruk dzielony": each block on one page
  // Shows the spool file; false cancels the printout. None: no preview.
  std::function<bool(const std::string& spool_path)> preview;
};

struct text_print_result {
  bool printed = false;
  std::string output_path;  // the file written, for file outputs
  spool_result spool = spool_result::done;
};

// The page-number line: "Zbiór: <name>" cut to fit, the program's label ending in
// "strona nr %3d", and a second line with the estimate's name and the date at column 119.
// The names are text: a "%" in them is escaped.
std::string make_page_line(const text_print_job& job);

// Runs the printout. `generators` write the printed parts; `printer` is the printer output
// (used for text_output::printer). The configuration is updated with the job's margins,
// the lines per page and the built codes, and saved.
text_print_result run_text_printout(printer_config& config, const text_print_folders& folders,
                                    const text_print_job& job, const std::function<void(text_writer&)>& generators,
                                    print_sink* printer);

} // namespace kovra::report
