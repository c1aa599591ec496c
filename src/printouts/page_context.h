#pragma once
// What the page bands and the text page-number line show of a document: its file name, the
// name its tree shows, the name of its general data and its date.
#include "printouts/print_document.h"
#include "report/page_band.h"
#include "report/text_printout.h"

#include <array>
#include <string>

namespace kovra::printouts {

// The graphic header and footer items of a document, or of one constituent estimate.
report::band_context band_context_of(const print_document& doc, const print_estimate* constituent = nullptr);

// The text page-number line's job: file, names in two pieces of 56 characters, date dd/mm/yy.
report::text_print_job text_job_of(const print_document& doc);

// "yymmdd" as "dd/mm/yy"; an unreadable date gives "".
std::string text_page_date(const std::string& yymmdd);
// A name cut into two pieces of at most 56 characters.
std::array<std::string, 2> name_pieces(const std::string& name);

} // namespace kovra::printouts
