#pragma once
// One table of hints and keyboard shortcuts for every window: menu items take the hint
// sentence and the shortcut; tool buttons and grids take "caption  (shortcut)|hint", the
// part before "|" being the tooltip and the part after it the status-line text.
#include <string>

namespace kovra::shell {

inline constexpr int hint_row_count = 356;

struct hint_row {
  const char* shortcut;  // e.g. "Ctrl+O", "Alt+PgDn"; empty for none
  const char* hint;      // UTF-8
  const char* caption;   // tool-button caption, may be empty
};

// Row `row`; an empty row for a number outside the table.
const hint_row& hint(int row);
// The hint of a tool button, speed button or grid.
std::string button_hint(int row);

} // namespace kovra::shell
