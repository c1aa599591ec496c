// Any bytes as an estimate file, read the way kovra-cli dump reads it: an error text or a
// document, never a crash, hang or unbounded allocation, and the file left unchanged.
#include "document/estimate_file.h"
#include "store/container.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {

std::string scratch_file() {
  static std::string path = [] {
    char pattern[] = "/tmp/kovra-fuzz-doc-XXXXXX";
    const char* made = mkdtemp(pattern);
    return std::string(made ? made : "/tmp") + "/e.kvr";
  }();
  return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  kovra::store::set_disk_sync(false);
  const std::string path = scratch_file();
  if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
    std::fwrite(data, 1, size, f);
    std::fclose(f);
  }
  nlohmann::json out;
  (void)kovra::document::dump_estimate_file(path, out);
  kovra::store::reset_containers();
  return 0;
}
