#include "document/store_chapter.h"

#include "document/document_settings.h"
#include "document/estimate_file.h"
#include "document/estimate_layout.h"
#include "shell/messages.h"
#include "store/codepage.h"
#include "store/container.h"
#include "store/records.h"

#include <algorithm>

namespace kovra::document {

store_chapter::store_chapter(std::unique_ptr<store_records> set, uint8_t storage_kind)
    : set_(std::move(set)), general_(general_data::from_bytes(set_->user_header())) {
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

  auto set = store_records::simple_layout();
  store::open_set_request r = set->open_request(path);
  r.storage = store::STORAGE_COMPRESSED;
  r.open_mode = read_only ? (store::OPEN_READ_SHARED | store::OPEN_KEEP_COUNT)
                          : (store::OPEN_EXCLUSIVE | store::OPEN_KEEP_COUNT);
  r.checks = store::CHECK_FILE_TYPE | store::CHECK_VERSION | store::CHECK_NOT_OPEN;
  r.checksum_wanted = true;
  r.working_copy = !read_only;
  int result = store::CHECKSUM_OK;
  store::record_set* opened = store::open_record_set(r, &result);
  if (!opened) return nullptr;
  set->attach(opened);
  if (result == store::CHECKSUM_OFF_BY_ONE || result == store::CHECKSUM_MISMATCH) {
    const std::string shown = store::utf8_to_mazovia(path);
    shell::msg_box(result == store::CHECKSUM_OFF_BY_ONE ? 239 : 238, shown.c_str());
    set->close(false);
    store::set_last_open_error(store::OPEN_OK);
    return nullptr;
  }
  auto chapter = std::make_unique<store_chapter>(std::move(set), STORAGE_EXTERNAL);
  chapter->load(h);
  return chapter;
}

} // namespace kovra::document
