#pragma once
// Reading and writing the records a node points at: its inputs block, survey record,
// scaffold links and texts.
#include "document/elpz_record.h"
#include "document/general_data.h"
#include "document/inputs_block.h"
#include "document/record_source.h"

#include <optional>
#include <string>
#include <vector>

namespace kovra::document {

// The variant's 3-byte table row followed by its entries; empty when the position has no
// inputs block or the variant is missing or empty.
std::vector<uint8_t> read_inputs_variant(const record_source& src, const elpz_record& record, int variant);
// The whole inputs block decoded (no variants when there is none).
inputs_block read_inputs(const record_source& src, const elpz_record& record);

// The stored survey record of a node (the survey codec reads it), empty when none.
std::vector<uint8_t> read_survey_bytes(const record_source& src, const elpz_record& record);

// Positions linked to a scaffolding (empty for other nodes).
std::vector<rec_pos> read_scaffold_links(const record_source& src, const elpz_record& record);

// Node text (0 note, 1 CPV codes, 2 specification) from the text chain, in the internal
// code page; none when the record holds no position or the record cannot be read.
std::optional<std::string> read_node_text_raw(const record_source& src, const elpz_record& record, int which);
// The same converted to Windows-1250.
std::optional<std::string> read_node_text(const record_source& src, const elpz_record& record, int which);

// The estimate's own texts (0 note, 1 CPV codes, 2 specification) from the data chain; a
// stored position of 0 or below is set to -1 and gives none. Internal code page.
std::optional<std::string> read_estimate_text_raw(const record_source& src, general_data& g, int which,
                                                  int data_chain = 4);
// The same converted to Windows-1250, as the node texts are.
std::optional<std::string> read_estimate_text(const record_source& src, general_data& g, int which,
                                              int data_chain = 4);

} // namespace kovra::document
