#include "shell/store_bridge.h"

#include "shell/messages.h"

namespace kovra::shell {

void catalogue_store_notices::notice(int number, const std::string& value) { msg_box_screen(number, value.c_str()); }

void catalogue_corruption_handler::corrupted(const std::string& report_path, bool report_written) {
  msg_box_screen(report_written ? 2 : 1, report_path.c_str());
  if (end_program_) end_program_(1);
}

} // namespace kovra::shell
