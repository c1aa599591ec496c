// Every page view of the program, by the class name its page window asks for.
#include "views/view_factory.h"
#include "views/define_view.h"

namespace kovra::views {

void register_views() {
  static bool done = false;
  if (done) return;
  done = true;
  // One line per view: register_view("Tfrm_...", make_...);
  register_view("Tfrm_define", [](view_host& h, const QString&) { return new Tfrm_define(h); });
}

} // namespace kovra::views
