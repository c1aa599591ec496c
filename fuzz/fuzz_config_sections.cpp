// Section reader of kovra.cfg and kovra.psd: any bytes after the header either read or fail
// cleanly; what reads is written back and must read again to the same bytes.
#include "shell/config.h"
#include "shell/users.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace kovra::shell;
  {
    Config c;
    if (read_config_sections(c, data, size)) {
      std::vector<uint8_t> once = encode_config_sections(c);
      Config back;
      if (!read_config_sections(back, once.data(), once.size())) std::abort();
      if (encode_config_sections(back) != once) std::abort();
    }
  }
  {
    Cfg_Psd psd;
    read_users_sections(psd, data, size);
  }
  return 0;
}
