#pragma once
// Moving groups and elements inside the estimate tree: the generic move by attach mode,
// and the two commands "Przesuń w prawo" (indent) and "Przesuń w lewo" (outdent).
#include "document/estimate_nodes.h"

#include <functional>

namespace kovra::shell {
class message_sink;
}

namespace kovra::document {

// Attach modes of a move.
enum move_mode : int { MOVE_AFTER_LAST_SIBLING = 0, MOVE_LAST_CHILD = 2, MOVE_FIRST_CHILD = 3, MOVE_BEFORE = 4 };

// Moves `node` with its subtree to `target` by mode. Refused (false) when the target lies
// in the node's own subtree. Afterwards the level bytes below the node follow the depths
// and the node records are relinked so that the chain is the tree's pre-order again (also
// in a file). False as well when a record could not be relinked.
bool move_node(Kvr_Tree8& tree, Base_Node* target, Base_Node* node, int mode);

// Makes a new work group right after `after` (its record stored, its node attached).
using work_group_maker = std::function<Elpz_Node*(Kvr_Tree8& tree, Elpz_Node& after)>;
// The plain maker: a new group record with the defaults, stored after `after`'s subtree.
// When the record cannot be stored the node is not made (fatal stop "insert_pos_record").
Elpz_Node* make_work_group_after(Kvr_Tree8& tree, Elpz_Node& after);

enum class move_result { moved, nothing, refused };

// Moves a group or element to the end of the work group before it. Estimates, chapters
// and positions are refused with a message box (through `sink` when given).
move_result indent_node(Kvr_Tree8& tree, Base_Node* node, shell::message_sink* sink);
// Moves a group or element out of its work group, after it; the siblings that followed it
// go into a new work group made by `maker`; when none is made nothing moves.
move_result outdent_node(Kvr_Tree8& tree, Base_Node* node, shell::message_sink* sink,
                         const work_group_maker& maker = make_work_group_after);

} // namespace kovra::document
