#pragma once
// The records of the data chain that the general data points at, read and written
// through a record source. `data_chain` is 4 in a simple and 2 in a compound estimate.
#include "document/data_records.h"
#include "document/general_data.h"
#include "document/record_source.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace kovra::document {

std::vector<addition> read_additions(const record_source& src, const general_data& g, int data_chain);
// Rewrites, adds or (for an empty list) deletes the additions record and updates g.
void write_additions(record_source& src, general_data& g, std::span<const addition> list, int data_chain);

// An authors position of 0 or below is read as none and becomes -1.
std::vector<author> read_authors(const record_source& src, general_data& g, int data_chain);
void write_authors(record_source& src, general_data& g, std::span<const author> list, int data_chain);

// The three description texts converted to Windows-1250 (absent parts none).
std::array<std::optional<std::string>, 3> read_description(const record_source& src, const general_data& g,
                                                          int data_chain);
// The stored (internal code page) description text, none without a record.
std::optional<std::string> read_description_raw(const record_source& src, const general_data& g, int data_chain);

// An overhead record or the print configuration block at a position; none when the
// position is 0 or below or the record cannot be read.
std::optional<overhead_record> read_overhead_record(const record_source& src, rec_pos pos, int data_chain);
std::optional<std::vector<uint8_t>> read_print_config(const record_source& src, rec_pos pos, int data_chain);

// Stores a record of the data chain: rewrites the one at `pos` (when there is one) or
// adds a new one; returns its position. An empty `data` deletes it and gives -1.
rec_pos store_data_record(record_source& src, rec_pos pos, std::span<const uint8_t> data, int data_chain);

} // namespace kovra::document
