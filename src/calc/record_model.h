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
#include "document/store_records.h"

namespace kovra::calc {

// General data, the overhead record in use (the defaults of its kind when it has none),
// additions, price records, and the nodes in chain order with their inputs blocks and
// scaffold links; the tree is built. False with a one-line reason in `error` when the
// records hold no usable node chain.
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

// A compound estimate opened over its records: the model and the record sets of the
// chapters that could be opened (kept open for the write-back).
struct compound_records {
  compound_model model;
  std::vector<std::unique_ptr<document::store_records>> chapter_sets; // one per chapter, null when not opened
};

// Opens one chapter of an open compound set: an internal chapter as its sub-set, an
// external one as the file its record names (relative to the compound file). Null when
// it cannot be opened. The one place chapters are opened, so that their opening can grow
// (locks, messages) without touching the calculation.
std::unique_ptr<document::store_records> open_chapter(document::store_records& compound, const std::string& compound_path,
                                                      std::span<const uint8_t> chapter_record, bool read_only);

// Reads a compound estimate: its settings, overheads, additions and summary records, and
// every chapter (a chapter that cannot be opened is marked unavailable and left out).
bool compound_from_records(document::store_records& compound, const std::string& compound_path, bool read_only,
                           compound_records& out, std::string& error);

// Closes the chapter sets opened by compound_from_records.
void close_chapters(compound_records& c);

// What opening a simple estimate's window runs: the model from the records, the
// recalculation (prices written back into the model's price records) and, with
// `write_back`, the results written into the records. A reader that opened the file
// read-only passes false and leaves every record as it was. False with a reason when the
// records cannot be read as an estimate; `failed_writes` counts records not rewritten.
bool recalculate_records(document::record_source& src, bool write_back, estimate_model& model, recalc_result& result,
                         std::string& error, int* failed_writes = nullptr);

// The same for a compound estimate read by compound_from_records: every chapter and the
// merge into the summary records, then with `write_back` the chapters' records and the
// compound's summary records (`compound`) rewritten.
compound_result recalculate_compound_records(compound_records& c, document::record_source& compound, bool write_back,
                                             int* failed_writes = nullptr);

} // namespace kovra::calc
