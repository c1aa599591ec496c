#include "shell/version_text.h"

#include "store/file_header.h"
#include "version.h"

#include <cstdio>

namespace kovra::shell {

int program_major_version() { return KOVRA_VERSION_MAJOR; }
int program_minor_version() { return KOVRA_VERSION_MINOR; }

std::string version_text() {
  char text[32];
  std::snprintf(text, sizeof text, "v.%d.%02d", program_major_version(), program_minor_version());
  return text;
}

std::string product_version_line() { return "Kovra - kosztorys " + version_text(); }

void stamp_version() { store::stamp_header_template(version_text(), program_minor_version()); }

} // namespace kovra::shell
