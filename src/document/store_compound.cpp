#include "document/store_compound.h"

#include "document/chapter_open.h"
#include "document/data_chain.h"
#include "document/document_settings.h"
#include "document/estimate_doc.h"
#include "document/estimate_file.h"
#include "document/estimate_layout.h"
#include "document/memory_compound.h"
#include "store/container.h"
#include "store/record_set.h"

namespace kovra::document {

store_compound::store_compound(store_records& set, std::string path, const store::file_header& header,
                               const general_data& general, const overhead_record& overhead)
    : opener(open_chapter_file), set_(set), path_(std::move(path)), header_(header), general_(general),
      overhead_(overhead) {}

store_compound::store_compound(estimate_doc& compound)
    : store_compound(*compound.records, compound.path, compound.header, compound.general, compound.overhead) {}

std::vector<chapter_entry> store_compound::chapters() const { return read_chapter_entries(set_); }

std::string store_compound::resolve(const chapter_record& record) const {
  return chapter_file_path(path_, record.path());
}

std::unique_ptr<chapter_document> store_compound::open_chapter(const chapter_entry& entry) {
  chapter_record record = entry.record;
  // A walk without a window only reads: an internal chapter that has no sub-set yet is
  // none here (its window creates it).
  if (record.internal() && record.subset_pos() == NO_POS) return nullptr;
  chapter_open_options quiet;
  quiet.quiet = true;
  return document::open_chapter(*this, record, entry.pos, {}, quiet).chapter;
}

namespace {

// Stores the overhead record as the record of the chapter's current table.
void store_overhead(store_chapter& chapter) {
  general_data& g = chapter.general();
  const bool investor = g.investor_table() != 0;
  const rec_pos at = investor ? g.investor_overheads_record() : g.standard_overheads_record();
  const rec_pos p = store_data_record(chapter.records(), at, chapter.overhead.bytes, CHAIN_DATA);
  if (p == NO_POS) return;
  if (investor) g.set_investor_overheads_record(p);
  else g.set_standard_overheads_record(p);
}

} // namespace

std::unique_ptr<store_chapter> create_internal_chapter(store_compound& compound, chapter_record& record,
                                                       rec_pos record_pos) {
  if (compound.read_only() || !record.internal()) return nullptr;
  store_records& set = compound.set();
  store::record_class& chapters = set.classes()[CHAIN_CHPT_NODE];
  const rec_pos sub = create_chapter_subset(set, record.serial());
  if (sub == NO_POS) return nullptr;
  auto chapter_set = open_chapter_subset(set, sub);
  // The record names the sub-set before anything is stored in it, so that a failure up to
  // here leaves nothing but the freed block behind.
  chapter_record named = record;
  named.set_subset_pos(sub);
  if (chapter_set && set.rewrite(CHAIN_CHPT_NODE, record_pos, named.bytes) == NO_POS) {
    chapter_set->close(false);
    chapter_set.reset();
  }
  if (!chapter_set) {
    store::delete_subset(chapters, sub);
    record.set_subset_pos(NO_POS);
    return nullptr;
  }
  record = named;

  chapter_set->set_user_header(new_estimate_general_data(compound.general().purchase_cost_percent()).bytes);
  auto chapter = std::make_unique<store_chapter>(std::move(chapter_set), STORAGE_INTERNAL);
  chapter->load(compound.header());
  chapter->overhead = compound.overhead();
  copy_shared_general_data(compound.general(), chapter->general());
  // Kept in memory when it cannot be stored; the chapter still opens.
  store_overhead(*chapter);
  return chapter;
}

std::unique_ptr<compound_file> open_compound_file(const std::string& path, bool read_only) {
  auto out = std::make_unique<compound_file>();
  if (!read_estimate_header(path, out->header)) return nullptr;
  if (out->header.kind() != KIND_COMPOUND) {
    store::set_last_open_error(store::OPEN_WRONG_TYPE);
    return nullptr;
  }
  out->set = open_estimate_set(path, read_only);
  if (!out->set) return nullptr;
  out->general = general_data::from_bytes(out->set->user_header());
  const general_data before = out->general;
  out->overhead = load_overhead_record(*out->set, out->general, CHAIN_COMPOUND_DATA);
  if (out->general.bytes != before.bytes) out->set->set_user_header(out->general.bytes);
  return out;
}

} // namespace kovra::document
