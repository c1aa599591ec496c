// Any bytes as an estimate file, recalculated the way kovra-cli recalc does it: opened
// read-only, a simple estimate over its records, a compound one with its chapters (internal
// sub-sets, external files), and the results in their JSON form. An error or a result,
// never a crash, hang or unbounded allocation, and the file left unchanged.
#include "calc/recalc_json.h"
#include "calc/record_model.h"
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
  calc::recalculated_estimate r;
  std::string error;
  if (calc::recalculate_estimate_file(path, r, error)) {
    if (r.compound) (void)calc::compound_recalc_json(path, r.compound_model, r.compound_result).dump();
    else (void)calc::simple_recalc_json(path, r.model, r.result).dump();
  }
  store::reset_containers();
  return 0;
}
