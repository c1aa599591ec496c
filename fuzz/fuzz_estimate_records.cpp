// Estimate records from arbitrary bytes: builds the tree, links scaffoldings, reads every
// block a node points at, dumps the whole document as JSON and moves nodes around.
// Input: frames of [chain byte][16-bit length][bytes]; chain 255 is the general data.
#include "document/basis_text.h"
#include "document/build_tree.h"
#include "document/collation.h"
#include "document/data_chain.h"
#include "document/estimate_json.h"
#include "document/estimate_layout.h"
#include "document/node_blocks.h"
#include "document/price_records.h"
#include "document/tree_moves.h"

#include <cstddef>
#include <cstdint>

using namespace kovra::document;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  estimate_image image;
  image.header.flags = KIND_SIMPLE;
  image.records = memory_records::simple_estimate();
  memory_records& m = *image.records;
  std::vector<uint32_t> choices;
  size_t i = 0;
  int frames = 0;
  while (i + 3 <= size && frames++ < 4000) {
    uint8_t chain = data[i];
    size_t len = size_t(data[i + 1] | (data[i + 2] << 8));
    i += 3;
    len = std::min(len, size - i);
    std::vector<uint8_t> bytes(data + i, data + i + len);
    i += len;
    if (chain == 255) m.set_user_header(bytes);
    else if (chain == 254) choices.push_back(bytes.empty() ? 0 : bytes[0]);
    else m.insert(chain % SIMPLE_CHAINS, LAST_REC, NO_POS, bytes);
  }
  // Key entries for the price records that are there, as a sound file has them.
  std::vector<uint8_t> rec;
  for (rec_pos p = m.locate(CHAIN_ZEST, FIRST_REC, NO_POS); p != NO_POS; p = m.locate(CHAIN_ZEST, NEXT_REC, p)) {
    m.read(CHAIN_ZEST, p, rec);
    zest_record z = zest_record::from_bytes(rec);
    m.key_insert(KEY_BY_CODE, z.key0(), p, FIRST_REC, NO_POS);
    m.key_insert(KEY_BY_NAME, make_key1(z.kind(), z.name()), p, LAST_REC, NO_POS);
  }

  Kvr_Tree8 tree;
  auto root = new Koszt_Node();
  attach_last(tree, nullptr, root, 0, "Kosztorys");
  build_tree(m, tree, *root);

  std::vector<Elpz_Node*> nodes;
  for (Smp_Node* n = tree.first; n; n = next_in_preorder(n))
    if (auto e = dynamic_cast<Elpz_Node*>(n)) nodes.push_back(e);
  for (Elpz_Node* e : nodes) {
    (void)e->caption();
    (void)basis_text(e->record, false);
    (void)read_inputs(m, e->record);
    (void)read_inputs_variant(m, e->record, e->record.current_variant());
    for (int w = 0; w < 3; ++w) (void)read_node_text(m, e->record, w);
  }
  general_data g = general_data::from_bytes(m.user_header());
  (void)read_authors(m, g, CHAIN_DATA);
  (void)read_description(m, g, CHAIN_DATA);
  (void)estimate_to_json(image);
  (void)rebuild_key0(m);

  for (size_t k = 0; k + 2 < choices.size() && !nodes.empty(); k += 3) {
    Elpz_Node* a = nodes[choices[k] % nodes.size()];
    Elpz_Node* b = nodes[choices[k + 1] % nodes.size()];
    switch (choices[k + 2] % 4) {
    case 0: move_node(tree, a, b, int(choices[k + 2] / 4 % 5)); break;
    case 1: indent_node(tree, b, nullptr); break;
    case 2: outdent_node(tree, b, nullptr); break;
    default: break;
    }
  }
  if (recount(tree) != tree.count) __builtin_trap();
  return 0;
}
