#pragma once
// The printed parts other than the estimate: the title page, the description texts, the bill
// of quantities, the summaries, the additions, the merged-element table, the statistics, the
// overhead note, the annexes and the table of contents. Parts without a generator (the list
// of catalogues and the price lists) print nothing.
#include "printouts/estimate_printout.h"

namespace kovra::printouts {

// The document's totals as opening it computes them (a compound: its chapters summed, its
// own additions and their VAT added).
calc::estimate_totals document_totals(const print_document& doc);

// Runs the generator of part `code`; false when the user stopped it.
bool print_other_part(printout_sink& sink, print_document& doc, uint8_t* block, int code, const stop_check& stop = {});

} // namespace kovra::printouts
