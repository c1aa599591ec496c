#pragma once
// The plain view of one estimate that the calculation works on: settings from the general
// data, the overhead record, the additions, the price records and the tree of nodes with the
// fields of their records that costing reads and writes. Filled from the document (or from
// the JSON form of an estimate) and written back after a run.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "calc/overhead_table.h"
#include "document/data_records.h"
#include "document/inputs_block.h"

namespace kovra::calc {

enum input_kind : uint8_t { kind_labour = 0, kind_material = 1, kind_equipment = 2, kind_percent = 3 };

// Record types of tree nodes.
enum node_type : int16_t {
  node_element = 0, node_position = 1, node_position_plain = 2, node_one_off = 3,
  node_simplified = 4, node_simplified_plain = 5, node_scaffold = 6, node_group = 9,
};

// Node flag values.
enum node_flag : uint8_t {
  flag_no_input_totals = 2, flag_basis_text = 4, flag_not_valued_8 = 8, flag_not_valued_16 = 16,
};

enum calc_method_code : uint8_t {
  method_formula_2 = 0, method_formula_1 = 1, method_investor = 2, method_simplified = 3,
};

// Id of the percentage items inside a position.
inline constexpr uint32_t percent_item_id = 88888888;

// Inputs of a position and their variants, as the inputs block holds them.
using input_entry = document::input_entry;
using input_variant = document::input_variant;

struct one_off_line {
  double value = 0;
  double price = 0;
  double quantity = 0;
  double norm = 0;
};

struct model_node {
  int32_t pos = -1;
  int16_t type = node_position;
  uint8_t level = 0;
  uint8_t flags = 0;
  std::string number;
  std::string unit;
  std::string description;
  double net = 0;
  double gross = 0;

  // positions and simplified positions
  int16_t column_number = 0; // its low byte is the byte at 106 that a simplified position checks
  double quantity = 0;
  float multiplicity = 1.0f;
  int8_t precision_code = 0;
  std::array<float, 3> coef{1.0f, 1.0f, 1.0f}; // positions, groups and elements alike
  bool has_inputs = false;                     // the record names an inputs block
  int current_variant = 0;
  std::vector<input_variant> variants;
  std::array<double, 4> unit_price{}; // R, M, S, all-in

  // groups and elements
  float divisor = 1.0f;
  double merged_unit_price = 0;
  uint8_t merged = 0;
  int8_t merged_precision_code = 0;
  double merged_quantity = 0;

  // one-off equipment costs
  double one_off_amount = 0;
  double one_off_count = 0;
  float one_off_distance = 0;
  std::array<one_off_line, 4> lines{};

  // scaffolding
  uint32_t scaffold_input_id = 0;
  uint16_t scaffold_input_sub = 0;
  double scaffold_labour_hours = 0;
  double scaffold_w = 0;
  int16_t scaffold_s = 0;
  double scaffold_p = 1.0;
  int16_t scaffold_sets = 1;
  double scaffolds_per_set = 0;
  int32_t scaffold_k = 1;
  int8_t scaffold_count_code = 1;
  std::string unit2; // unit of the scaffolds per set
  std::vector<int> links; // indexes of the linked positions in `nodes`

  // tree, filled by build_tree
  int parent = -1;
  int depth = 0;
  std::vector<int> children;

  bool is_position_like() const { return type >= 1 && type <= 6; }
  bool is_aggregate() const { return type == node_element || type == node_group; }
  bool not_valued() const { return (flags & (flag_not_valued_8 | flag_not_valued_16)) != 0; }
  bool left_out_of_totals() const { return (flags & flag_no_input_totals) != 0; }
};

// One price record of the estimate (a labour, material or equipment input).
struct price_record {
  int32_t pos = -1;
  uint8_t kind = kind_material;
  uint32_t id = 0;
  uint16_t sub = 0;
  std::string unit;
  std::string name;
  double price = 0;
  double quantity = 0;
  double other_quantity = 0;
  double excluded_quantity = 0;
  uint8_t kz_mode = 0;
  double base_price = 0;
  double kz_value = 0;
  double investor_quantity = 0;
  uint8_t base_material = 0;
  uint8_t mp_mode = 0;
};

using addition = document::addition;

// Settings of the general data that the calculation reads.
struct estimate_settings {
  std::string name;
  uint8_t calc_method = method_formula_2;
  uint8_t overheads_per_position = 0;
  uint8_t profit_per_component = 0;
  uint8_t investor_table = 0;
  uint8_t merged_value_correction = 0;
  uint8_t multiplicity_in_unit = 0;
  uint8_t prices_with_kz = 0; // "Ceny z Kz"
  double labour_rate = 0;
  float purchase_cost_percent = 0;
  double kz_rate_simplified = 0; // purchase-cost rate of simplified positions' materials, 0 none
  double kz_rate_other = 0;      // purchase-cost rate of the other-materials items, 0 none
  std::array<float, 3> coef{1.0f, 1.0f, 1.0f};
};

struct estimate_model {
  estimate_settings settings;
  overhead_table overheads;
  std::vector<addition> additions;
  std::vector<price_record> prices;
  // Indexes into `prices` in the order of the name key (key 1) when the model was read from
  // records; empty otherwise (the summaries then sort by name themselves).
  std::vector<int> name_order;
  std::vector<model_node> nodes; // tree pre-order
  std::vector<int> roots;        // top-level nodes, filled by build_tree
  bool is_chapter = false;
  double chapter_multiplier = 1.0;
  int chapter_code = 3;
};

// Hangs the nodes together from their level bytes: groups and elements nest by level,
// every other node goes under the most recent group or element. Sets parent, depth and
// children; nodes of unknown types are left detached (parent -1, not in roots).
void build_tree(estimate_model& model);

// Scaffold links as the tree holds them (after build_tree): a link to the scaffolding
// itself, to a node that is not in the tree or repeated within one scaffolding is dropped, and a position linked
// to several scaffoldings belongs to the last one in tree order (a position serves one).
void settle_scaffold_links(estimate_model& model);

} // namespace kovra::calc
