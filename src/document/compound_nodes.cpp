#include "document/compound_nodes.h"

#include "document/estimate_layout.h"
#include "store/codepage.h"

#include <unordered_set>

namespace kovra::document {

std::vector<chapter_entry> read_chapter_entries(const record_source& compound) {
  std::vector<chapter_entry> out;
  // A sub-set belongs to one chapter. A later record naming the same sub-set (a damaged
  // file) is passed over: two chapter documents over one sub-set would each keep their own
  // key index of it and overwrite each other's records.
  std::unordered_set<rec_pos> subsets;
  std::size_t limit = compound.count(CHAIN_CHPT_NODE) + 1;
  std::vector<uint8_t> data;
  for (rec_pos p = compound.locate(CHAIN_CHPT_NODE, FIRST_REC, NO_POS); p != NO_POS && limit-- > 0;
       p = compound.locate(CHAIN_CHPT_NODE, NEXT_REC, p)) {
    if (!compound.read(CHAIN_CHPT_NODE, p, data)) continue;
    chapter_record record = chapter_record::from_bytes(data);
    if (record.internal() && record.subset_pos() != NO_POS && !subsets.insert(record.subset_pos()).second) continue;
    out.push_back({p, record});
  }
  return out;
}

Rozdz_Node::Rozdz_Node(std::unique_ptr<chapter_document> chapter) : chapter_(std::move(chapter)) {
  kind = KIND_CHAPTER;
  if (chapter_) records = &chapter_->records();
}

std::string Rozdz_Node::caption() const {
  if (!chapter_) return {};
  return node_caption(chapter_->chapter.number(), chapter_->general().name());
}

int chapter_picture(const Rozdz_Node& node) {
  return node.chapter() && node.chapter()->storage == STORAGE_INTERNAL ? 1 : 2;
}

std::string estimate_node_text(const general_data& general, bool compound) {
  if (!compound) return "Kosztorys";
  std::string name = general.name();
  store::mazovia_to_1250(name);
  return name;
}

Compound_Iterator::Compound_Iterator(compound_source& source) : source_(source), entries_(source.chapters()) {}

chapter_document* Compound_Iterator::open_from(int k) {
  current_.reset();  // the previous chapter is closed first
  index_ = -1;
  if (k >= int(entries_.size())) return nullptr;
  current_ = source_.open_chapter(entries_[std::size_t(k)]);
  if (!current_) {
    failed_ = k;  // the walk ends at a chapter that does not open
    return nullptr;
  }
  index_ = k;
  return current_.get();
}

chapter_document* Compound_Iterator::first_chapter() {
  failed_ = -1;
  return open_from(0);
}

chapter_document* Compound_Iterator::next_chapter() { return index_ < 0 ? nullptr : open_from(index_ + 1); }

chapter_document* Compound_Node_Iterator::from_node(Smp_Node* n) {
  for (; n; n = n->next)
    if (auto r = dynamic_cast<Rozdz_Node*>(n); r && r->chapter()) {
      node_ = r;
      return r->chapter();
    }
  node_ = nullptr;
  return nullptr;
}

chapter_document* Compound_Node_Iterator::first_chapter() {
  if (owned_) return owned_->first_chapter();
  return from_node(estimate_->first_child);
}

chapter_document* Compound_Node_Iterator::next_chapter() {
  if (owned_) return owned_->next_chapter();
  return node_ ? from_node(node_->next) : nullptr;
}

} // namespace kovra::document
