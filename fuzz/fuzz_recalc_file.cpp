// Any bytes as an estimate file, recalculated the way kovra-cli recalc does it: opened
// read-only, a simple estimate over its records, a compound one with its chapters (internal
// sub-sets, external files), and the results in their JSON form. An error or a result,
// never a crash, hang or unbounded allocation, and the file left unchanged.
#include "calc/recalc_json.h"
#include "calc/record_model.h"
#include "document/estimate_file.h"
#include "document/estimate_layout.h"
#include "store/container.h"

#include <nlohmann/json.hpp>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {

std::string scratch_file() {
  static std::string path = [] {
    char pattern[] = "/tmp/kovra-fuzz-recalc-XXXXXX";
    const char* made = mkdtemp(pattern);
    return std::string(made ? made : "/tmp") + "/e.kvr";
  }();
  return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace kovra;
  store::set_disk_sync(false);
  const std::string path = scratch_file();
  if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
    std::fwrite(data, 1, size, f);
    std::fclose(f);
  }
  if (auto set = document::open_estimate_set(path, true)) {
    std::string error;
    if (set->chain_count() == document::COMPOUND_CHAINS) {
      calc::compound_records c;
      if (calc::compound_from_records(*set, path, true, c, error)) {
        const calc::compound_result r = calc::recalculate_compound_records(c, *set, false);
        (void)calc::compound_recalc_json(path, c.model, r).dump();
      }
      calc::close_chapters(c);
    } else {
      calc::estimate_model model;
      calc::recalc_result r;
      if (calc::recalculate_records(*set, false, model, r, error)) (void)calc::simple_recalc_json(path, model, r).dump();
    }
    set->close();
  }
  store::reset_containers();
  return 0;
}
