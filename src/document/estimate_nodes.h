#pragma once
// Nodes of the estimate tree: Base_Node (kind, document, tree-view link), Elpz_Node (one
// node record of a simple estimate with its position), Koszt_Node (the estimate itself),
// and the tree that the window shares among the documents it shows.
#include "document/cpv_codes.h"
#include "document/elpz_record.h"
#include "document/record_source.h"
#include "document/smp_tree.h"
#include "document/tree_observer.h"

#include <string>
#include <vector>

namespace kovra::document {

struct estimate_doc;  // the open document (its open/close layer defines it)

// Node kinds.
enum : uint8_t { KIND_ESTIMATE = 1, KIND_CHAPTER = 2, KIND_WORK_GROUP = 3, KIND_ELEMENT = 4, KIND_POSITION = 6 };

inline constexpr std::size_t CAPTION_LIMIT = 124;

class Kvr_Tree8 : public Smp_Tree {
public:
  tree_observer* observer = nullptr;  // the window's tree view, none without a window
};

class Base_Node : public Smp_Node {
public:
  ~Base_Node() override = default;
  // The text shown for the node (Windows-1250); empty here.
  virtual std::string caption() const { return {}; }

  uint8_t kind = 0;
  // CPV codes (rebuilt by collect_cpv): the node's own pairs, its subtree's codes cut to
  // the node's level, and the distinct main codes of its subtree.
  std::vector<cpv_pair> cpv_own;
  std::vector<cpv_code> cpv_aggregated, cpv_collected;
  estimate_doc* doc = nullptr;
  record_source* records = nullptr;  // the records of the node's document
  Kvr_Tree8* tree = nullptr;
  void* view_node = nullptr;  // the tree-view entry mirroring this node (owned by the view)
};

class Elpz_Node : public Base_Node {
public:
  Elpz_Node() { kind = KIND_POSITION; }
  ~Elpz_Node() override;  // leaves its scaffolding's list and frees its linked nodes
  // Number, two blanks, description; more than 124 characters end in "...".
  std::string caption() const override;

  rec_pos pos = NO_POS;  // -1 while not stored
  elpz_record record;
  uint8_t mark = 0;
  std::vector<uint8_t> buffer;       // owned working buffer
  std::vector<Elpz_Node*> linked;    // a scaffolding: the positions that use it
  Elpz_Node* scaffold = nullptr;     // the scaffolding a position belongs to

  int16_t type() const { return record.type(); }
};

class Koszt_Node : public Base_Node {
public:
  Koszt_Node() { kind = KIND_ESTIMATE; }
};

// Caption of number and description as the tree shows it (internal code page in,
// Windows-1250 out).
std::string node_caption(std::string_view number, std::string_view description);

// Tree-view picture of a record type; -1 for types that are not shown.
int picture_of_type(int type);
int picture_of(const Base_Node& node);

// Writes the node's record back in place (keeping the stored length).
bool rewrite_elpz(Elpz_Node& node);
// Sets the level byte of the node and every node below it from the depths and writes the
// records back in place.
void write_levels(Elpz_Node& node);

// Tree operations that also tell the tree's observer.
void attach_last(Kvr_Tree8& tree, Base_Node* parent, Base_Node* node, int picture, const std::string& text);
void attach_first(Kvr_Tree8& tree, Base_Node* parent, Base_Node* node, int picture, const std::string& text);
void attach_before(Kvr_Tree8& tree, Base_Node* sibling, Base_Node* node, int picture, const std::string& text);
void attach_after(Kvr_Tree8& tree, Base_Node* sibling, Base_Node* node, int picture, const std::string& text);
// Removes and destroys the node's subtree, telling the observer first.
void remove_node(Kvr_Tree8& tree, Base_Node* node);

} // namespace kovra::document
