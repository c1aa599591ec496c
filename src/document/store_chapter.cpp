#include "document/store_chapter.h"

#include "document/document_settings.h"
#include "document/estimate_doc.h"
#include "document/estimate_file.h"
#include "document/estimate_layout.h"
#include "store/container.h"

#include <algorithm>

namespace kovra::document {

store_chapter::store_chapter(std::unique_ptr<store_records> set, uint8_t storage_kind)
    : set_(std::move(set)), general_(general_data::from_bytes(set_->user_header())) {
  storage = storage_kind;
}

store_chapter::store_chapter(std::unique_ptr<store_records> set, uint8_t storage_kind, const general_data& general)
    : set_(std::move(set)), general_(general) {
  storage = storage_kind;
}

store_chapter::~store_chapter() { close(); }

void store_chapter::load(const store::file_header& header) {
  upgrade_document(*set_, general_, header);
  print_config = load_print_config(*set_, general_, CHAIN_DATA);
  overhead = load_overhead_record(*set_, general_, CHAIN_DATA);
}

bool store_chapter::editable() const { return !set_->read_only() && general_.valuation_lock() == 0; }

bool store_chapter::close(bool store_checksum) {
  if (!set_->set()) return true;
  const std::vector<uint8_t> stored = set_->user_header();
  if (store_checksum && !set_->read_only() && !std::equal(stored.begin(), stored.end(), general_.bytes.begin()))
    set_->set_user_header(general_.bytes);
  return set_->close(store_checksum);
}

std::unique_ptr<store_chapter> open_internal_chapter(store_records& compound, rec_pos position,
                                                     const store::file_header& compound_header) {
  auto set = open_chapter_subset(compound, position);
  if (!set) return nullptr;
  auto chapter = std::make_unique<store_chapter>(std::move(set), STORAGE_INTERNAL);
  chapter->load(compound_header);
  return chapter;
}

std::unique_ptr<store_chapter> open_chapter_file(const std::string& path, bool read_only) {
  store::file_header h;
  if (!read_estimate_header(path, h)) return nullptr;
  if (h.kind() == KIND_COMPOUND) {
    // A compound estimate cannot stand as another's chapter.
    store::set_last_open_error(store::OPEN_WRONG_TYPE);
    return nullptr;
  }
  // The file opens as any simple estimate does; its password is the caller's question.
  estimate_doc doc;
  uint8_t error = store::OPEN_OK;
  if (!open_simple_estimate(doc, path, &error, false, nullptr, false, read_only)) {
    store::set_last_open_error(error);
    return nullptr;
  }
  auto chapter = std::make_unique<store_chapter>(std::move(doc.records), STORAGE_EXTERNAL, doc.general);
  chapter->print_config = std::move(doc.print_config);
  chapter->overhead = doc.overhead;
  return chapter;
}

} // namespace kovra::document
