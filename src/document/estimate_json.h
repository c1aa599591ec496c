#pragma once
// Estimates as JSON (the form `kovra-cli dump` prints and `kovra-cli build` reads) and
// back, over records held in memory. Texts are UTF-8 in JSON and Mazovia in records.
// Record positions are not part of the form: records that others point at are shown in
// place, and a build lays them out itself.
#include "document/memory_records.h"
#include "store/file_header.h"

#include <nlohmann/json.hpp>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace kovra::document {

// One estimate: its header and main record set, and for a compound estimate the estimates
// of its external chapters by the path their chapter record names.
struct estimate_image {
  store::file_header header;
  std::unique_ptr<memory_records> records;
  std::map<std::string, std::unique_ptr<memory_records>> externals;
  std::map<std::string, store::file_header> external_headers;

  bool compound() const { return header.kind() == 2; }
};

// Turns survey records into their lines and back; the survey codec lives with the
// calculation, so the caller hands it in. Without it surveys are left out (and counted).
struct survey_json_codec {
  std::function<nlohmann::json(std::span<const uint8_t> record)> to_json;
  // None when the lines cannot be stored; an empty record for no lines.
  std::function<std::optional<std::vector<uint8_t>>(const nlohmann::json& lines)> from_json;
};

struct json_options {
  const survey_json_codec* survey = nullptr;
};

struct json_build_result {
  std::optional<estimate_image> image;  // none on error
  std::string error;                    // what and where, when the build failed
  int surveys_skipped = 0;
};

// The whole document in the dump form.
nlohmann::json estimate_to_json(const estimate_image& image, const json_options& options = {});
// A new estimate from the dump form; absent fields take the new-record defaults.
json_build_result estimate_from_json(const nlohmann::json& spec, const json_options& options = {});

// The same forms over any record source (a container's set as well as memory).
nlohmann::json simple_document_to_json(const record_source& src, const json_options& options = {});
// General data, additions, overheads and summary records of a compound estimate.
nlohmann::json compound_parts_to_json(const record_source& src, const json_options& options = {});
// A chapter record's fields, without its document.
nlohmann::json chapter_to_json(std::span<const uint8_t> chapter_bytes);
nlohmann::json header_to_json(const store::file_header& h);
// The header a build gives the document (kind from the presence of "chapters").
store::file_header header_of_json(const nlohmann::json& spec);

// Builds into `target`; an empty text on success, else what and where failed.
std::string build_simple_document(record_source& target, const nlohmann::json& doc, const json_options& options,
                                  int* surveys_skipped = nullptr);
// The compound estimate's own records and its chapter records (sub-set positions -1);
// `chapters` receives the chapter records' positions in the order of "chapters".
std::string build_compound_parts(record_source& target, const nlohmann::json& spec, const json_options& options,
                                 std::vector<rec_pos>& chapters);

} // namespace kovra::document

