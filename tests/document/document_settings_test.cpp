// The parts of a document loaded at open: format upgrades of older revisions, and the
// print configuration and overhead record, taken from the records or stored there.
#include "document/document_settings.h"

#include "document/estimate_layout.h"
#include "document/memory_records.h"
#include "shell/config.h"
#include "shell/general_settings.h"
#include "shell/overhead_defaults.h"
#include "shell/print_block.h"
#include "shell/temp_folder.h"

#include <gtest/gtest.h>

using namespace kovra::document;

namespace {

kovra::store::file_header header_of(int revision) {
  kovra::store::file_header h;
  h.version = 800;
  h.revision = int16_t(revision);
  return h;
}

general_data old_general() {
  general_data g = new_general_data();
  g.set_coef(0, 2.5f);
  put_i32(g.at(gd::WORD_AFTER_COEFS), 77);
  put_i32(g.at(gd::POS_5605), 0);
  g.set_multiplicity_in_unit(1);
  return g;
}

} // namespace

TEST(DocumentSettings, UpgradesFollowTheRevisionOfTheHoldingFile) {
  auto m = memory_records::simple_estimate();
  general_data g = old_general();
  upgrade_document(*m, g, header_of(5));
  EXPECT_FLOAT_EQ(g.coef(0), 1.0f);
  EXPECT_EQ(g.coef_text(0), " 1.000");
  EXPECT_EQ(get_i32(g.at(gd::WORD_AFTER_COEFS)), 0);
  EXPECT_EQ(get_i32(g.at(gd::POS_5605)), NO_POS);
  EXPECT_EQ(g.multiplicity_in_unit(), 0);

  g = old_general();
  upgrade_document(*m, g, header_of(6));
  EXPECT_FLOAT_EQ(g.coef(0), 2.5f);
  EXPECT_EQ(get_i32(g.at(gd::POS_5605)), 0);
  EXPECT_EQ(g.multiplicity_in_unit(), 0);

  g = old_general();
  upgrade_document(*m, g, header_of(7));
  EXPECT_EQ(g.bytes, old_general().bytes);
}

TEST(DocumentSettings, StoredRecordsAreTakenMissingOnesStoredOnce) {
  auto m = memory_records::simple_estimate();
  general_data g = new_general_data();
  std::vector<uint8_t> print = load_print_config(*m, g, CHAIN_DATA);
  ASSERT_EQ(print.size(), PRINT_CONFIG_SIZE);
  ASSERT_NE(g.print_config_record(), NO_POS);
  overhead_record o = load_overhead_record(*m, g, CHAIN_DATA);
  ASSERT_NE(g.standard_overheads_record(), NO_POS);
  EXPECT_EQ(g.investor_overheads_record(), NO_POS);
  EXPECT_EQ(m->count(CHAIN_DATA), 2u);

  // The second open finds them and adds nothing.
  const general_data first = g;
  EXPECT_EQ(load_print_config(*m, g, CHAIN_DATA), print);
  EXPECT_EQ(load_overhead_record(*m, g, CHAIN_DATA).bytes, o.bytes);
  EXPECT_EQ(g.bytes, first.bytes);
  EXPECT_EQ(m->count(CHAIN_DATA), 2u);

  // A short stored print configuration reads as the whole block, the rest zero.
  general_data h = new_general_data();
  std::vector<uint8_t> shorter(100, 7);
  h.set_print_config_record(m->insert(CHAIN_DATA, LAST_REC, NO_POS, shorter));
  std::vector<uint8_t> got = load_print_config(*m, h, CHAIN_DATA);
  ASSERT_EQ(got.size(), PRINT_CONFIG_SIZE);
  EXPECT_EQ(got[99], 7);
  EXPECT_EQ(got[100], 0);
}

TEST(DocumentSettings, InvestorEstimateTakesTheStandardPrintOptions) {
  kovra::test::temp_folder dir;
  const std::string path = dir.path() + "kovra.cfg";
  kovra::shell::print_block block{};
  kovra::shell::get_current_print_options(block.data(), false, path);  // creates the file
  {
    // The investor variant differs from the standard one.
    kovra::shell::Config c;
    ASSERT_TRUE(kovra::shell::open_config(c, path));
    for (auto& e : c.prni.entries) e.data[100] = uint8_t(e.data[100] ^ 0x5A);
    ASSERT_TRUE(kovra::shell::write_config(c));
    kovra::shell::close_config(c);
  }
  kovra::shell::set_config_path(path);
  auto m = memory_records::simple_estimate();
  general_data g = new_general_data();
  g.set_investor_table(1);
  const std::vector<uint8_t> got = load_print_config(*m, g, CHAIN_DATA);
  kovra::shell::reset_config_path();
  const kovra::shell::print_block standard = kovra::shell::default_print_block();
  EXPECT_EQ(got, std::vector<uint8_t>(standard.begin(), standard.end()));
}

TEST(DocumentSettings, InvestorTableTakesTheInvestorDefaultsAndTheirSettingBytes) {
  auto m = memory_records::simple_estimate();
  general_data g = new_general_data();
  g.set_investor_table(1);
  overhead_record o = load_overhead_record(*m, g, CHAIN_DATA);
  kovra::shell::overhead_block expected{};
  kovra::shell::investor_overhead_defaults(expected.data());
  EXPECT_TRUE(std::equal(o.bytes.begin(), o.bytes.end(), expected.begin()));
  EXPECT_EQ(g.calc_method(), expected[kovra::shell::overhead_calc_method_offset]);
  EXPECT_EQ(g.overheads_per_position(), expected[kovra::shell::overhead_per_position_offset]);
  EXPECT_NE(g.investor_overheads_record(), NO_POS);
  EXPECT_EQ(g.standard_overheads_record(), NO_POS);
}

TEST(DocumentSettings, NewEstimateTakesTheSettingsAndTheGivenPercentage) {
  kovra::shell::reset_general_settings();
  kovra::shell::general_record& s = kovra::shell::general_settings();
  put_i16(s.block.data() + 51, int16_t(0x0102));  // method 2, overheads per position
  s.block[53] = 1;
  s.block[69] = 1;
  s.set_hidden_columns(1, 5);
  general_data g = new_estimate_general_data(4.5f);
  kovra::shell::reset_general_settings();
  EXPECT_EQ(g.calc_method(), 2);
  EXPECT_EQ(g.overheads_per_position(), 1);
  EXPECT_EQ(g.profit_per_component(), 1);
  EXPECT_EQ(g.investor_table(), 1);
  EXPECT_EQ(g.merged_value_correction(), 1);
  EXPECT_EQ(g.hidden_columns(1), 5);
  EXPECT_FLOAT_EQ(g.purchase_cost_percent(), 4.5f);
  EXPECT_FLOAT_EQ(g.kz_rate_simplified(), 0.0f);
  EXPECT_FLOAT_EQ(g.kz_rate_other(), 0.0f);
  EXPECT_EQ(g.print_config_record(), NO_POS);
  EXPECT_DOUBLE_EQ(g.units_count(), 1.0);
}
