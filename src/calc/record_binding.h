#pragma once
// Between the stored records of an estimate and the calculation's model: node records,
// inputs blocks, scaffold links, price records, summary records, the general data and the
// overhead record in; the results of a run back into the records.
#include <span>
#include <vector>

#include "calc/compound_recalc.h"
#include "calc/estimate_model.h"
#include "document/data_records.h"
#include "document/elpz_record.h"
#include "document/general_data.h"
#include "document/inputs_block.h"
#include "document/zest_record.h"

namespace kovra::calc {

estimate_settings settings_from_general(const document::general_data& g);
overhead_table overhead_table_from(const document::overhead_record& r);

// A node of the model from its record; `inputs` is the decoded inputs block of a position
// (null when it has none). Scaffold links are resolved separately.
model_node node_from_record(const document::elpz_record& r, document::rec_pos pos, const document::inputs_block* inputs);

// Resolves the stored links of a scaffolding (record positions) to node indexes; links to
// positions that are not in the model are skipped.
void resolve_scaffold_links(estimate_model& model, int scaffold_index, std::span<const document::rec_pos> links);

// Writes what a run computed into the node's record: net and gross, the scaffolding's
// labour hours, the one-off lines and amount, a merged element's unit price and quantity.
void write_node_results(const model_node& n, document::elpz_record& r);

price_record price_from_zest(const document::zest_record& z, document::rec_pos pos);
// Writes prices, purchase-cost mode and value, investor mode and the run's quantities.
void write_price_results(const price_record& p, document::zest_record& z);

summary_record summary_from_record(const document::chpt_zest_record& z, document::rec_pos pos);
void write_summary_results(const summary_record& s, document::chpt_zest_record& z);

} // namespace kovra::calc
