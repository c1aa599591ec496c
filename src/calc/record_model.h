#pragma once
// The calculation's model of an estimate read straight from its stored records, and the
// results of a run written back into them. Together with `recalculate` this is what opening
// an estimate's window runs: model from the records, recalculation, write-back.
#include <memory>
#include <string>
#include <vector>

#include "calc/compound_recalc.h"
#include "calc/estimate_model.h"
#include "calc/recalculation.h"
#include "document/record_source.h"
#include "document/data_records.h"
#include "document/general_data.h"
#include "document/store_chapter.h"
#include "document/store_compound.h"
#include "document/store_records.h"
#include "store/file_header.h"

namespace kovra::calc {

// General data, the overhead record in use (the defaults of its kind, with their three
// settings, when it has none), additions, price records, and the nodes in chain order with
// their inputs blocks and scaffold links; the tree is built. False with a one-line reason
// in `error` when the records hold no usable node chain.
bool model_from_records(const document::record_source& src, estimate_model& model, std::string& error);

// Writes the results of a run into the records the model was read from: every node's
// values (and the scaffolding hours, one-off lines, merged-element fields) and the prices
// and quantities of the price records. Records are rewritten in place at their stored
// length; a record that already holds the run's values is left alone, so an estimate that
// is up to date stays unmodified. Returns the number of records that could not be
// rewritten (0 when all were).
int write_results(const estimate_model& model, document::record_source& dst);

// The summary records of a compound estimate written back after its run.
int write_summary_results(const compound_model& model, document::record_source& dst);

// A compound estimate opened for its recalculation: the model and the chapter documents
// that could be opened (kept open for the write-back).
struct compound_records {
  compound_model model;
  std::vector<std::unique_ptr<document::store_chapter>> chapters; // one per chapter, null when left out
};

// Reads an opened compound estimate file (document::open_compound_file): its settings,
// overhead record, additions and summary records, and every chapter opened as the
// compound's window opens it without asking (document::store_compound: internal
// sub-sets, external files; in a read-only compound nothing changes on disk). A chapter
// that does not open is marked unavailable and left out of the run.
bool compound_from_file(document::compound_file& file, const std::string& path, compound_records& out,
                        std::string& error);

// Closes the chapter documents opened by compound_from_file (writing their general data
// back when they can be written).
void close_chapters(compound_records& c);

// The model of an estimate document as it stands open: its records with the general data
// and overhead record the document works with (format upgrades applied, the program's
// current overhead record when none is stored).
bool model_from_document(const document::record_source& src, const document::general_data& general,
                         const document::overhead_record& overhead, estimate_model& model, std::string& error);

// The model of a simple estimate's records as opening its file reads them: the format
// upgrades judged by `header` and the overhead record loaded (both stored only where the
// records can be written), then model_from_document. `general`, given, receives the
// general data the document then works with.
bool model_from_opened(document::record_source& set, const store::file_header& header, estimate_model& model,
                       std::string& error, document::general_data* general = nullptr);

// The compound estimate's own part of its model: settings, overheads, additions and the
// summary records.
void compound_parts_from_records(const document::record_source& set, const document::general_data& general,
                                 const document::overhead_record& overhead, compound_model& m);
// A chapter's line of the model as its chapter record gives it (number, storage, quantity,
// precision code); its estimate is filled by the caller.
chapter_model chapter_from_record(const document::chapter_record& record);

// What opening a simple estimate file's window does before it shows anything: the format
// upgrades judged by the file's header and the overhead record loaded (both only in
// memory when the set is read-only), then recalculate_document below.
bool recalculate_opened(document::store_records& set, const store::file_header& header, bool write_back,
                        estimate_model& model, recalc_result& result, std::string& error, int* failed_writes = nullptr);

// What opening a simple estimate's window runs: the model from the records, the
// recalculation (prices written back into the model's price records) and, with
// `write_back`, the results written into the records. A reader that opened the file
// read-only passes false and leaves every record as it was. False with a reason when the
// records cannot be read as an estimate; `failed_writes` counts records not rewritten.
bool recalculate_records(document::record_source& src, bool write_back, estimate_model& model, recalc_result& result,
                         std::string& error, int* failed_writes = nullptr);

// The same for a compound estimate read by compound_from_file: every chapter and the
// merge into the summary records, then with `write_back` the chapters' records and the
// compound's summary records (`compound`) rewritten.
compound_result recalculate_compound_records(compound_records& c, document::record_source& compound, bool write_back,
                                             int* failed_writes = nullptr);

// An estimate file recalculated read-only, as its window would when opened, except that
// nothing is written back: the file and its external chapters stay as they were.
struct recalculated_estimate {
  bool compound = false;
  estimate_model model; // simple estimate
  recalc_result result;
  calc::compound_model compound_model;
  calc::compound_result compound_result;
};

// False with the reason (naming the file) in `error` when the file cannot be opened as an
// estimate.
bool recalculate_estimate_file(const std::string& path, recalculated_estimate& out, std::string& error);

} // namespace kovra::calc
