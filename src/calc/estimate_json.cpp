#include "calc/estimate_json.h"

#include <nlohmann/json.hpp>

#include "calc/record_model.h"
#include "document/compound_nodes.h"
#include "document/document_settings.h"
#include "document/estimate_json.h"
#include "document/estimate_layout.h"

namespace kovra::calc {

// The JSON form has one reader, the document layer's: it lays the estimate out as records
// in memory, and the model is read from those records as from an opened file.

bool json_is_compound(const nlohmann::json& doc) { return doc.is_object() && doc.contains("chapters"); }

bool estimate_from_json(const nlohmann::json& doc, estimate_model& model, std::string& error) {
  model = estimate_model{};
  if (!doc.is_object()) {
    error = "not an estimate: the JSON document is not an object";
    return false;
  }
  if (json_is_compound(doc)) {
    error = "not a simple estimate: it has a chapter list";
    return false;
  }
  document::json_build_result built = document::estimate_from_json(doc);
  if (!built.image) {
    error = built.error;
    return false;
  }
  return model_from_opened(*built.image->records, built.image->header, model, error);
}

bool compound_from_json(const nlohmann::json& doc, compound_model& model, std::string& error) {
  model = compound_model{};
  if (!json_is_compound(doc) || !doc["chapters"].is_array()) {
    error = "not a compound estimate: no chapter list";
    return false;
  }
  document::json_build_result built = document::estimate_from_json(doc);
  if (!built.image) {
    error = built.error;
    return false;
  }
  document::estimate_image& image = *built.image;
  document::memory_records& set = *image.records;
  document::general_data general = document::general_data::from_bytes(set.user_header());
  const document::overhead_record overhead = document::load_overhead_record(set, general, document::CHAIN_COMPOUND_DATA);
  compound_parts_from_records(set, general, overhead, model);
  for (const document::chapter_entry& entry : document::read_chapter_entries(set)) {
    chapter_model ch = chapter_from_record(entry.record);
    // An internal chapter is upgraded as its compound file is; an external one as its own.
    document::memory_records* records = nullptr;
    store::file_header header = image.header;
    if (entry.record.internal()) {
      records = set.subset(entry.record.subset_pos());
    } else if (auto it = image.externals.find(entry.record.path()); it != image.externals.end()) {
      records = it->second.get();
      header = image.external_headers[entry.record.path()];
    }
    ch.available = records != nullptr;  // a chapter without its estimate is left out of the run
    if (records && !model_from_opened(*records, header, ch.doc, error)) {
      error = "chapter " + entry.record.number() + ": " + error;
      return false;
    }
    model.chapters.push_back(std::move(ch));
  }
  return true;
}

} // namespace kovra::calc
