#pragma once
// Copies a spool file to a printer or a file, page range by page range and copy by copy.
//
// Text copies send the spool file's first line (the printer initialisation) and then the
// pages first..last (counted from 1 at the file's first page); each byte of the Polish-letter
// range goes through the code-page table and each control-code mark is replaced by the
// bytes of its slot. Binary copies send the file as it is.
#include "report/print_sink.h"
#include "report/printer_code_page.h"
#include "report/printer_codes.h"

#include <string>

namespace kovra::report {

enum spool_flag : int {
  SPOOL_BINARY = 1,       // the file as it is: no pages, no conversion
  SPOOL_KEEP_SOURCE = 2,  // otherwise the source is deleted after the last copy
  SPOOL_PRINTER = 4,      // to the printer sink
  SPOOL_CODES = 8,        // to the output file, control codes kept
  SPOOL_PLAIN = 16,       // every mark but the page end is dropped
  SPOOL_CREATE = 32,      // the output file is created anew (otherwise appended to)
};

inline constexpr int spool_all_pages = 9999;
inline constexpr int spool_max_copies = 999;
inline constexpr const char* print_document_name = "Kovra - kosztorys";

struct spool_request {
  std::string source;
  std::string output;  // the output file unless SPOOL_PRINTER
  int first_page = 1;
  int last_page = spool_all_pages;
  int copies = 1;
  int flags = 0;
  bool show_progress = false;
};

// Outcome; each failure has been reported with its catalogue message.
enum class spool_result {
  done,
  missing_source,     // 171
  cannot_open,        // 172 (source or output file)
  no_pages,           // 145: the range holds no page
  printer_unavailable,// 209
  send_failed,        // 178
  stopped,            // 177: the user stopped it
};

// Pages in a spool file: the page separators after the first line, and one more when text
// follows the last separator.
int count_spool_pages(const std::string& bytes);

// `printer` is used with SPOOL_PRINTER (nullptr there reports message 209).
spool_result spool_file(const spool_request& request, const printer_codes& codes, const code_page_table& table,
                        print_sink* printer);

} // namespace kovra::report
