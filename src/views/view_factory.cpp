#include "views/view_factory.h"

#include <map>

namespace kovra::views {

namespace {
std::map<QString, view_maker>& makers() {
  static std::map<QString, view_maker> table;
  return table;
}
} // namespace

void register_view(const QString& view_class, view_maker maker) { makers()[view_class] = std::move(maker); }

bool has_view(const QString& view_class) { return makers().count(view_class) != 0; }

TTabForm* make_view(const QString& view_class, const QString& caption, view_host& host) {
  auto it = makers().find(view_class);
  TTabForm* view = it != makers().end() ? it->second(host, caption) : nullptr;
  if (!view) view = new Tfrm_pending_view(view_class, caption);
  return view;
}

} // namespace kovra::views
