// CPV table files: any bytes give a table or a located error, never a crash; whatever was
// read is searched and resolved, and a stored code text made of the same bytes is split.
#include "document/cpv_codes.h"
#include "document/cpv_table.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  using namespace kovra::document;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  cpv_table t;
  std::string error;
  const bool main_read = t.read_main(text, error);
  if (!main_read && error.rfind("line ", 0) != 0) __builtin_trap();
  t.read_supplementary(text, error);
  t.read_correspondence(text, error);
  for (const cpv_entry& e : t.main())
    if (t.find_main(e.code()) == nullptr || e.level < 1 || e.level > 7) __builtin_trap();
  t.search(text.substr(0, 40));
  for (const cpv_pair& p : parse_cpv_text(t, text)) {
    p.main.shown();
    p.supplementary.shown();
    for (int digits = 0; digits <= 9; ++digits) aggregate_code(t, p.main, digits);
  }
  return 0;
}
