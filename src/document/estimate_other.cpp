#include "document/estimate_doc.h"

#include "document/estimate_layout.h"
#include "shell/messages.h"
#include "store/codepage.h"
#include "store/container.h"

#include <algorithm>
#include <cctype>

namespace kovra::document {

namespace {

bool same_path(const std::string& a, const std::string& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](unsigned char x, unsigned char y) { return std::tolower(x) == std::tolower(y); });
}

} // namespace

std::unique_ptr<estimate_doc> open_estimate_by_kind(const std::string& path, int kind, bool read_only) {
  auto doc = std::make_unique<estimate_doc>();
  bool ok;
  if (kind < KIND_COMPOUND) {
    init_simple_doc(*doc);
    ok = open_simple_estimate(*doc, path, nullptr, true, nullptr, false, read_only);
  } else {
    init_compound_doc(*doc);
    ok = open_compound_estimate(*doc, path, false, read_only);
  }
  if (!ok) return nullptr;
  return doc;
}

void free_estimate(std::unique_ptr<estimate_doc>& doc) {
  if (!doc) return;
  close_estimate(*doc);
  doc.reset();
}

std::unique_ptr<estimate_doc> open_other_estimate(const std::string& path, const estimate_doc* current,
                                                  bool as_chapter) {
  const std::string& shown = path;  // as typed
  uint8_t error = 0;
  const int kind = document_kind(path, &error);
  if (kind < 0) {
    shell::msg_box_screen(17, shown.c_str());
    return nullptr;
  }
  if (kind == KIND_COMPOUND) {
    shell::msg_box_screen(as_chapter ? 251 : 252, shown.c_str());
    return nullptr;
  }
  if (!as_chapter && current && !current->path.empty() && same_path(path, current->path)) {
    shell::msg_box(75);
    return nullptr;
  }
  auto doc = std::make_unique<estimate_doc>();
  init_simple_doc(*doc);
  // The open's own message 1 gives way to the one that says why the import failed; a
  // wrong type or version, a refused password or checksum have been told already.
  if (!open_simple_estimate(*doc, path, &error)) {
    if (error != 0 && error != store::OPEN_WRONG_TYPE && error != store::OPEN_WRONG_VERSION)
      shell::msg_box_screen(83, shown.c_str());
    return nullptr;
  }
  if (doc->general.valuation_kind() == 2) {
    shell::msg_box_screen(as_chapter ? 254 : 196, shown.c_str());
    free_estimate(doc);
    return nullptr;
  }
  if (!is_editable(*doc)) {
    shell::msg_box_screen(as_chapter ? 253 : 195, shown.c_str());
    free_estimate(doc);
    return nullptr;
  }
  return doc;
}

std::optional<estimate_settings> take_estimate_settings(const std::string& path, const estimate_doc* current) {
  auto doc = open_other_estimate(path, current, false);
  if (!doc) return std::nullopt;
  estimate_settings out{doc->general, doc->overhead};
  free_estimate(doc);
  return out;
}

} // namespace kovra::document
