// printer.dat reader: any bytes give definitions or a located error, never a crash; the
// code templates of whatever was read are formatted safely.
#include "report/printer_config.h"
#include "report/printer_dat.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  using namespace kovra::report;
  auto r = parse_printer_dat(std::string_view(reinterpret_cast<const char*>(data), size));
  if (!r.definitions) return 0;
  for (const auto& maker : r.definitions->makers) {
    for (const auto& model : maker.models) {
      printer_config config;
      config.left_margin = int(size % 200);
      config.density = int(size % 4);
      choose_printer_model(config, model, r.definitions->codes_of(model));
      build_setting_codes(config);
      auto bytes = encode_printer_config(config);
      if (!decode_printer_config(bytes.data(), bytes.size())) __builtin_trap();
    }
  }
  return 0;
}
