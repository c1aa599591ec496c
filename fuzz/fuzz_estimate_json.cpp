// Estimates in JSON form: loading and a full recalculation must never crash or hang.
#include <cstddef>
#include <cstdint>
#include <string>

#include <nlohmann/json.hpp>

#include "calc/compound_recalc.h"
#include "calc/estimate_json.h"
#include "calc/recalc_json.h"
#include "calc/recalculation.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto doc = nlohmann::json::parse(data, data + size, nullptr, false);
  if (doc.is_discarded()) return 0;
  std::string error;
  if (kovra::calc::json_is_compound(doc)) {
    kovra::calc::compound_model m;
    if (!kovra::calc::compound_from_json(doc, m, error)) return 0;
    const auto r = kovra::calc::recalculate_compound(m);
    (void)kovra::calc::compound_recalc_json("f", m, r).dump();
    return 0;
  }
  kovra::calc::estimate_model m;
  if (!kovra::calc::estimate_from_json(doc, m, error)) return 0;
  const auto r = kovra::calc::recalculate(m);
  (void)kovra::calc::simple_recalc_json("f", m, r).dump();
  return 0;
}
