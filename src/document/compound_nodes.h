#pragma once
// Compound estimates in the tree and without it: the chapter node, the chapter documents
// it owns, and the two iterators over all chapters of a compound estimate. Chapters are
// reached through a compound_source, so the same code runs over an open container and
// over records held in memory.
#include "document/chapter_record.h"
#include "document/estimate_nodes.h"
#include "document/general_data.h"

#include <memory>
#include <vector>

namespace kovra::document {

// Storage of a chapter document.
inline constexpr uint8_t STORAGE_STANDALONE = 0;
inline constexpr uint8_t STORAGE_EXTERNAL = 1;
inline constexpr uint8_t STORAGE_INTERNAL = 2;

// One open chapter: its records and general data, a copy of its chapter record and where
// that record is. Closing (the destructor) closes the chapter's sub-set or file.
class chapter_document {
public:
  virtual ~chapter_document() = default;
  virtual record_source& records() = 0;
  virtual general_data& general() = 0;

  chapter_record chapter;
  rec_pos chapter_pos = NO_POS;
  uint8_t storage = STORAGE_EXTERNAL;
};

struct chapter_entry {
  rec_pos pos = NO_POS;
  chapter_record record;
};

// The chapter records of a compound's record set in chain order (a damaged chain ends
// after as many steps as it has records). A record naming the sub-set of an earlier one is
// passed over.
std::vector<chapter_entry> read_chapter_entries(const record_source& compound);

class compound_source {
public:
  virtual ~compound_source() = default;
  // The chapter records in chain order.
  virtual std::vector<chapter_entry> chapters() const = 0;
  // Opens one chapter; none when it cannot be opened.
  virtual std::unique_ptr<chapter_document> open_chapter(const chapter_entry& entry) = 0;
};

// A chapter of a compound estimate in the tree. Owns its chapter document.
class Rozdz_Node : public Base_Node {
public:
  explicit Rozdz_Node(std::unique_ptr<chapter_document> chapter);
  // Chapter number, two blanks, the chapter document's name (124-character limit).
  std::string caption() const override;
  chapter_document* chapter() const { return chapter_.get(); }

private:
  std::unique_ptr<chapter_document> chapter_;
};

// Picture of a chapter node: 1 stored in the compound file, 2 in a file of its own.
int chapter_picture(const Rozdz_Node& node);

// Tree-view text of the estimate node: the compound estimate's name (Windows-1250, as the
// captions are), "Kosztorys" for a simple estimate.
std::string estimate_node_text(const general_data& general, bool compound);

// Walks the chapters of a compound estimate without a tree; at most one chapter is open
// at a time (the previous one is closed before the next is opened). A chapter that does
// not open ends the walk: the step gives none, and failed() names that chapter's index.
class Compound_Iterator {
public:
  explicit Compound_Iterator(compound_source& source);
  chapter_document* first_chapter();
  chapter_document* next_chapter();
  int index() const { return index_; }
  // Index of the chapter that did not open, -1 when the walk was not cut short.
  int failed() const { return failed_; }
  const std::vector<chapter_entry>& entries() const { return entries_; }

private:
  chapter_document* open_from(int k);
  compound_source& source_;
  std::vector<chapter_entry> entries_;
  std::unique_ptr<chapter_document> current_;
  int index_ = -1;
  int failed_ = -1;
};

// With a loaded tree: the chapter nodes under the estimate node; otherwise an owned
// Compound_Iterator.
class Compound_Node_Iterator {
public:
  explicit Compound_Node_Iterator(Koszt_Node& estimate) : estimate_(&estimate) {}
  explicit Compound_Node_Iterator(compound_source& source) : owned_(std::make_unique<Compound_Iterator>(source)) {}
  chapter_document* first_chapter();
  chapter_document* next_chapter();
  Rozdz_Node* current_node() const { return node_; }

private:
  chapter_document* from_node(Smp_Node* n);
  Koszt_Node* estimate_ = nullptr;
  Rozdz_Node* node_ = nullptr;
  std::unique_ptr<Compound_Iterator> owned_;
};

} // namespace kovra::document
