#include "document/memory_compound.h"

#include "document/estimate_layout.h"

#include <algorithm>

namespace kovra::document {

namespace {
class memory_chapter : public chapter_document {
public:
  explicit memory_chapter(memory_records& records)
      : records_(records), general_(general_data::from_bytes(records.user_header())) {}
  ~memory_chapter() override {
    bool was_modified = records_.modified();
    records_.set_user_header(general_.bytes);
    records_.set_modified(was_modified);
  }
  record_source& records() override { return records_; }
  general_data& general() override { return general_; }

private:
  memory_records& records_;
  general_data general_;
};
} // namespace

void copy_shared_general_data(const general_data& compound, general_data& chapter) {
  std::copy(compound.bytes.begin() + gd::SHARED_BEGIN, compound.bytes.begin() + gd::SHARED_END,
            chapter.bytes.begin() + gd::SHARED_BEGIN);
  chapter.set_labour_rate(compound.labour_rate());
  chapter.bytes[gd::LABOUR_RATE_SWITCH] = compound.labour_rate_switch();
  chapter.set_investor_table(compound.investor_table());
}

std::vector<chapter_entry> memory_compound::chapters() const { return read_chapter_entries(main_); }

std::unique_ptr<chapter_document> memory_compound::open_chapter(const chapter_entry& entry) {
  memory_records* records = nullptr;
  chapter_record rec = entry.record;
  if (rec.internal()) {
    records = main_.subset(rec.subset_pos());
    if (!records && rec.subset_pos() == NO_POS) {
      rec_pos at = main_.create_subset(rec.serial());
      records = main_.subset(at);
      general_data compound = general_data::from_bytes(main_.user_header());
      general_data g = new_general_data();
      g.set_purchase_cost_percent(compound.purchase_cost_percent());
      copy_shared_general_data(compound, g);
      records->set_user_header(g.bytes);
      rec.set_subset_pos(at);
      main_.rewrite(CHAIN_CHPT_NODE, entry.pos, rec.bytes);
    }
  } else {
    auto it = externals_.find(rec.path());
    if (it != externals_.end()) records = it->second.get();
  }
  if (!records) return nullptr;
  auto doc = std::make_unique<memory_chapter>(*records);
  doc->chapter = rec;
  doc->chapter_pos = entry.pos;
  doc->storage = rec.internal() ? STORAGE_INTERNAL : STORAGE_EXTERNAL;
  return doc;
}

} // namespace kovra::document
