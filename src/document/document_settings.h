#pragma once
// What an estimate document works with besides its records: the format upgrades of older
// files, its print configuration and its overhead record (stored in the data chain, or the
// program's current ones stored there at first open), and the general data of a new
// simple estimate.
#include "document/data_chain.h"
#include "document/general_data.h"
#include "document/record_source.h"
#include "store/file_header.h"

#include <vector>

namespace kovra::document {

// Brings a document of an older revision of the format up to date, judged by the header of
// the file that holds it: below revision 2 the code key is rebuilt from the price records,
// below 6 the R, M and S coefficients become 1.0, below 7 multiplicity_in_unit is cleared.
void upgrade_document(record_source& records, general_data& g, const store::file_header& header);

// The print configuration named by the general data, or (none stored) the program's
// current one, then stored as a new record whose position the general data keeps. A
// document that cannot be written keeps it in memory only. `data_chain`: 4 in a simple, 2
// in a compound estimate.
std::vector<uint8_t> load_print_config(record_source& records, general_data& g, int data_chain);

// The overhead record of the document's table (investor or standard), or (none stored) the
// program's current one for that table with its three setting bytes, stored as above.
overhead_record load_overhead_record(record_source& records, general_data& g, int data_chain);
// The same record without storing anything: the one stored for the table, else the current
// one of that table, whose three setting bytes `g` takes. `stored_out` tells which it was.
overhead_record read_or_current_overheads(const record_source& records, general_data& g, int data_chain,
                                          bool* stored_out = nullptr);

// The general data of a new simple estimate from the program settings; the purchase-cost
// percentage is given (a chapter takes its compound's), both purchase-cost rates unset.
general_data new_estimate_general_data(float purchase_cost_percent);

} // namespace kovra::document
