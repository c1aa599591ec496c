// The model built from stored records and the results written back into them.
#include <gtest/gtest.h>

#include "calc/record_binding.h"
#include "calc/recalculation.h"
#include "calc/summaries.h"
#include "document/scaffold_links.h"

using namespace kovra::calc;
namespace doc = kovra::document;

namespace {

doc::zest_record zest(uint8_t kind, uint32_t id, double price, double base_price) {
  doc::zest_record z;
  z.set_kind(kind);
  z.set_key(id, 0);
  z.set_unit("r-g");
  z.set_name("x");
  z.set_price(price);
  z.set_base_price(base_price);
  return z;
}

} // namespace

TEST(RecordBinding, PositionFromRecordsAndResultsBack) {
  // The first position of the demo house as records: 144 m2, labour 0.0053 r-g at 34.00,
  // equipment 0.0034 m-g at 150.00: 25.95 + 73.44 = 99.39.
  estimate_model m;
  m.settings = settings_from_general(doc::new_general_data());
  m.overheads = default_standard_overheads();
  std::vector<doc::zest_record> zests = {zest(0, 999, 34.0, 34.0), zest(2, 3940, 150.0, 150.0)};
  for (size_t i = 0; i < zests.size(); ++i) m.prices.push_back(price_from_zest(zests[i], static_cast<int32_t>(100 + i)));

  doc::elpz_record element = doc::new_elpz_record(doc::NODE_ELEMENT);
  doc::elpz_record position = doc::new_elpz_record(doc::NODE_POSITION);
  position.set_quantity(144);
  position.set_precision_code(1);
  position.set_inputs_pos(500);
  position.set_level(1);
  doc::inputs_block block;
  block.variants.resize(1);
  block.variants[0].entries = {{0, 999, 0, 0.0053, 1.0f, 0, 0, 0}, {2, 3940, 0, 0.0034, 1.0f, 0, 0, 0}};
  doc::elpz_record scaffold = doc::new_elpz_record(doc::NODE_SCAFFOLD);
  scaffold.set_level(1);
  m.nodes.push_back(node_from_record(element, 10, nullptr));
  m.nodes.push_back(node_from_record(position, 20, &block));
  m.nodes.push_back(node_from_record(scaffold, 30, nullptr));
  const std::vector<doc::rec_pos> links = {20, 999};
  resolve_scaffold_links(m, 2, links);
  EXPECT_EQ(m.nodes[2].links, (std::vector<int>{1})); // the unknown position is skipped

  const recalc_result r = recalculate(m);
  write_node_results(m.nodes[1], position);
  write_node_results(m.nodes[2], scaffold);
  EXPECT_DOUBLE_EQ(position.net(), 99.39);
  // A new estimate has VAT 0 %.
  EXPECT_DOUBLE_EQ(position.gross(), 99.39);
  // The scaffolding (no input) still counts its linked labour: 0.7632 r-g.
  EXPECT_DOUBLE_EQ(scaffold.scaffold_labour_hours(), 0.7632);
  for (size_t i = 0; i < zests.size(); ++i) write_price_results(m.prices[i], zests[i]);
  EXPECT_DOUBLE_EQ(zests[0].quantity(), 0.7632);
  EXPECT_DOUBLE_EQ(zests[1].quantity(), 0.4896);
  EXPECT_DOUBLE_EQ(r.totals.labour, 25.95);
}

TEST(RecordBinding, SummaryRecordRoundTrip) {
  summary_record s;
  s.value = 470;
  s.quantity = 40;
  s.price_low = 11;
  s.price_high = 12;
  s.basis_value = 470;
  s.basis_quantity = 40;
  s.kz_mode = 0x87;
  doc::chpt_zest_record z = doc::new_chpt_zest_record(1, 5, 0, "t", "Cement");
  write_summary_results(s, z);
  const summary_record back = summary_from_record(z, 7);
  EXPECT_EQ(back.pos, 7);
  EXPECT_EQ(back.id, 5u);
  EXPECT_DOUBLE_EQ(back.value, 470);
  EXPECT_EQ(back.kz_mode, 0x87);
  // The document layer and the calculation agree on the average price.
  EXPECT_DOUBLE_EQ(doc::average_price(z), back.average_price());
}
