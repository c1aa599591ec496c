#include "report/printout_names.h"

#include <cctype>
#include <cstdio>
#include <filesystem>

namespace kovra::report {

std::optional<std::string> next_printout_name(const std::string& folder, const std::string& document_name,
                                              char letter) {
  namespace fs = std::filesystem;
  const std::string prefix = document_name + ".";
  long highest = 0;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (name.size() < prefix.size() + 2 || name.compare(0, prefix.size(), prefix) != 0) continue;
    const std::string ext = name.substr(prefix.size());
    if (std::toupper(static_cast<unsigned char>(ext[0])) != std::toupper(static_cast<unsigned char>(letter)))
      continue;
    if (ext.size() > 4) continue;
    long n = 0;
    bool digits = true;
    for (std::size_t i = 1; i < ext.size(); ++i) {
      if (!std::isdigit(static_cast<unsigned char>(ext[i]))) digits = false;
      n = n * 10 + (ext[i] - '0');
    }
    if (digits && n > highest) highest = n;
  }
  if (highest >= 99) return std::nullopt;
  char extension[32];
  std::snprintf(extension, sizeof extension, "%c%02ld", letter, highest + 1);
  std::string base = folder;
  if (!base.empty() && base.back() != '/') base += '/';
  return base + prefix + extension;
}

} // namespace kovra::report
