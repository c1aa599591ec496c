// Every page view of the program, by the class name its page window asks for.
#include "views/view_factory.h"

namespace kovra::views {

void register_views() {
  static bool done = false;
  if (done) return;
  done = true;
  // One line per view: register_view("Tfrm_...", make_...);
}

} // namespace kovra::views
