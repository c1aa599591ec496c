#include "document/document_settings.h"

#include "document/estimate_layout.h"
#include "document/price_records.h"
#include "shell/config.h"
#include "shell/general_settings.h"
#include "shell/overhead_defaults.h"
#include "shell/print_block.h"

#include <algorithm>

namespace kovra::document {

namespace {

// The program configuration is consulted only once start-up has named it; without one
// (tests, tools) the built-in defaults stand in, and nothing is created on disk.
bool configured() { return !shell::config_path().empty(); }

} // namespace

void upgrade_document(record_source& records, general_data& g, const store::file_header& header) {
  if (header.version != 800) return;
  if (header.revision < 2) rebuild_key0(records);
  if (header.revision < 6) {
    for (int i = 0; i < 3; ++i) g.set_coef(i, 1.0f);
    put_i32(g.at(gd::WORD_AFTER_COEFS), 0);
    if (get_i32(g.at(gd::POS_5605)) == 0) put_i32(g.at(gd::POS_5605), NO_POS);
  }
  if (header.revision < 7) g.set_multiplicity_in_unit(0);
}

std::vector<uint8_t> load_print_config(record_source& records, general_data& g, int data_chain) {
  if (auto stored = read_print_config(records, g.print_config_record(), data_chain)) {
    stored->resize(PRINT_CONFIG_SIZE, 0);  // a shorter record leaves the rest zero, a longer one is cut
    return *stored;
  }
  std::vector<uint8_t> out(PRINT_CONFIG_SIZE, 0);
  // Investor estimates too take the standard print options ("PRNT"): this edition never
  // asks for the investor variant.
  if (!configured() || !shell::get_current_print_options(out.data(), false))
    shell::default_print_block(out.data());
  g.set_print_config_record(store_data_record(records, NO_POS, out, data_chain));
  return out;
}

overhead_record read_or_current_overheads(const record_source& records, general_data& g, int data_chain,
                                          bool* stored_out) {
  const bool investor = g.investor_table() != 0;
  const rec_pos at = investor ? g.investor_overheads_record() : g.standard_overheads_record();
  if (stored_out) *stored_out = true;
  if (auto stored = read_overhead_record(records, at, data_chain)) return *stored;
  if (stored_out) *stored_out = false;

  shell::overhead_block block{};
  if (!configured() || !shell::get_current_overheads(block.data(), investor)) {
    if (investor) shell::investor_overhead_defaults(block.data());
    else shell::standard_overhead_defaults(block.data());
  }
  g.set_calc_method(block[shell::overhead_calc_method_offset]);
  g.set_overheads_per_position(block[shell::overhead_per_position_offset]);
  g.set_profit_per_component(block[shell::overhead_profit_per_component_offset]);
  return overhead_record::from_bytes({block.data(), OVERHEAD_RECORD_SIZE});
}

overhead_record load_overhead_record(record_source& records, general_data& g, int data_chain) {
  bool stored = false;
  overhead_record r = read_or_current_overheads(records, g, data_chain, &stored);
  if (stored) return r;
  const rec_pos p = store_data_record(records, NO_POS, r.bytes, data_chain);
  if (g.investor_table()) g.set_investor_overheads_record(p);
  else g.set_standard_overheads_record(p);
  return r;
}

general_data new_estimate_general_data(float purchase_cost_percent) {
  const shell::general_record& s = shell::general_settings();
  general_data g = new_general_data();
  const uint16_t method = uint16_t(s.new_calculation_method());
  g.set_calc_method(uint8_t(method & 0xFF));
  g.set_overheads_per_position(uint8_t(method >> 8));
  g.set_profit_per_component(s.new_method_option());
  g.set_investor_table(g.calc_method() == 2 ? 1 : 0);
  g.bytes[gd::MERGED_VALUE_CORRECTION] = s.new_flag();
  for (int k = 0; k < 3; ++k) g.set_hidden_columns(k, s.hidden_columns(k));
  // Written as it stands: a new estimate has no purchase-cost rates yet.
  put_f32(g.at(gd::PURCHASE_COST_PERCENT), purchase_cost_percent);
  return g;
}

} // namespace kovra::document
