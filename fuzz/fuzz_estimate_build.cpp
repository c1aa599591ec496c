// Estimate build from arbitrary JSON text: either a clear error or an estimate whose dump
// builds again to the same dump.
#include "document/estimate_json.h"

#include <cstddef>
#include <cstdint>

using namespace kovra::document;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  nlohmann::json spec = nlohmann::json::parse(data, data + size, nullptr, false);
  if (spec.is_discarded()) return 0;
  json_build_result built = estimate_from_json(spec);
  if (!built.image) return 0;
  nlohmann::json first = estimate_to_json(*built.image);
  json_build_result again = estimate_from_json(first);
  if (!again.image) __builtin_trap();
  if (estimate_to_json(*again.image) != first) __builtin_trap();
  return 0;
}
