#pragma once
// Estimate files (.kvr) written from and read into the JSON form, through the store.
//
// Reading opens the file read-only: nothing of it (open count, checksum, working copy)
// changes. Record positions in the JSON read from a file are the file's own.
#include "document/estimate_json.h"
#include "document/store_records.h"

#include <nlohmann/json.hpp>

#include <memory>
#include <string>

namespace kovra::document {

// A file, or one internal chapter of it, opened as a record source.
struct opened_estimate {
  store::file_header header;
  std::unique_ptr<store_records> records;  // main set
};

// Reads the header of an estimate file without opening it for work (nothing changes on
// disk). False with last_open_error() set when it is no estimate file.
bool read_estimate_header(const std::string& path, store::file_header& header);

// Creates an empty estimate file of the header's kind. False when it cannot be created.
bool create_estimate_file(const std::string& path, const store::file_header& header);

// Opens the main set of an estimate file. `read_only` opens it shared for reading (the
// file stays as it is). Gives none with last_open_error() / the checksum result set.
// `compressed`: a file opened for writing is written back compressed.
std::unique_ptr<store_records> open_estimate_set(const std::string& path, bool read_only, int* checksum_result = nullptr,
                                                 bool compressed = true);

// Opens the internal chapter stored as the sub-set at `position` of an open compound set.
std::unique_ptr<store_records> open_chapter_subset(store_records& compound, rec_pos position);
// Creates an empty internal chapter sub-set; its position, -1 on failure.
rec_pos create_chapter_subset(store_records& compound, uint16_t set_no);

// Writes a new estimate file from the dump form. External chapters with a document go
// to the path their record names (a relative one next to the compound file). Empty text
// on success, else what failed.
std::string build_estimate_file(const nlohmann::json& spec, const std::string& path, const json_options& options = {},
                                int* surveys_skipped = nullptr);

// The dump form of an estimate file, read without changing it. Empty text on success.
std::string dump_estimate_file(const std::string& path, nlohmann::json& out, const json_options& options = {});

// Why the last open of `path` failed, as one line naming the file.
std::string open_error_text(const std::string& path);

// Where an external chapter's path points, seen from the compound file.
std::string chapter_file_path(const std::string& compound_path, const std::string& chapter_path);

} // namespace kovra::document
