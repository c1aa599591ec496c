// The recalculation over estimate records made from arbitrary bytes, as opening an
// estimate's window runs it: model from the records, the run, the write-back, the summaries
// and the JSON form of the results. Never a crash, hang or unbounded allocation.
// Input: frames of [chain byte][16-bit length][bytes]; chain 255 is the general data.
#include "calc/one_off_sheet.h"
#include "calc/recalc_json.h"
#include "calc/record_model.h"
#include "calc/scaffold_sheet.h"
#include "calc/simplified_sheet.h"
#include "calc/summaries.h"
#include "document/collation.h"
#include "document/estimate_layout.h"
#include "document/memory_records.h"

#include <nlohmann/json.hpp>

#include <cstddef>
#include <cstdint>

using namespace kovra;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto records = document::memory_records::simple_estimate();
  document::memory_records& m = *records;
  size_t i = 0;
  int frames = 0;
  while (i + 3 <= size && frames++ < 4000) {
    const uint8_t chain = data[i];
    size_t len = size_t(data[i + 1] | (data[i + 2] << 8));
    i += 3;
    len = std::min(len, size - i);
    std::vector<uint8_t> bytes(data + i, data + i + len);
    i += len;
    if (chain == 255) m.set_user_header(bytes);
    else m.insert(chain % document::SIMPLE_CHAINS, document::LAST_REC, document::NO_POS, bytes);
  }
  calc::estimate_model model;
  calc::recalc_result r;
  std::string error;
  if (!calc::recalculate_records(m, true, model, r, error)) return 0;
  for (uint8_t kind = 0; kind < 3; ++kind) {
    (void)calc::summary_group_of(r.totals, kind);
    for (int index : calc::inputs_by_name(model.prices, kind)) (void)calc::summary_line_of(model.prices[size_t(index)]);
  }
  const calc::costing_context ctx = calc::make_costing_context(model, calc::options_from_settings(model.settings));
  for (size_t n = 0; n < model.nodes.size(); ++n) {
    const calc::model_node& node = model.nodes[n];
    if (node.type == calc::node_scaffold) (void)calc::scaffold_sheet_of(ctx, int(n), r.table);
    if (node.type == calc::node_simplified || node.type == calc::node_simplified_plain)
      (void)calc::simplified_sheet_of(model, node);
    if (node.type == calc::node_one_off) (void)calc::one_off_sheet_of(model, node);
  }
  (void)calc::simple_recalc_json("fuzz", model, r).dump();
  return 0;
}
