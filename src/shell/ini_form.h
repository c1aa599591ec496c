#pragma once
// Window placement kept in kovra.ini: the value under a form's key is "left, top, width,
// height, state" (state 0 normal, 1 minimized, 2 maximized), optionally followed by items
// of the form's own. Pure functions of the stored value, the form's defaults and the screen,
// so the window classes stay thin.
#include <optional>
#include <string>

namespace kovra::shell {

inline constexpr const char* default_placement_section = "Windows";
inline constexpr const char* main_window_key = "Okno glowne";

struct placement {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  int state = 0;  // 0 normal, 1 minimized, 2 maximized
};

struct placement_defaults {
  int default_width = 0;   // 0: keep the form's width
  int default_height = 0;  // 0: keep the form's height
  int default_state = 0;
  int min_width = 0;
  int min_height = 0;
};

struct screen_area {
  int screen_width = 0;  // for centring
  int screen_height = 0;
  int work_width = 0;    // full-screen work area, for keeping the window reachable
  int work_height = 0;
};

struct restored_placement {
  placement window;
  std::string rest;  // the stored items after the five placement numbers
};

// Takes the next item: a decimal integer at the start of `text` (leading blanks skipped),
// then drops the text up to and including the next ","; with no "," the text becomes empty.
// Nothing when the text is empty or the item holds no number (the caller keeps its value).
// Numbers are limited to +-1,000,000 so that the arithmetic on them cannot overflow.
std::optional<int> take_placement_item(std::string& text);

// Applies the defaults (centred on the screen), then the stored value, keeps the window
// reachable on the work area, applies the stored state and the minimum size.
restored_placement restore_placement(const std::string& stored, const placement& current,
                                     const placement_defaults& defaults, const screen_area& screen);

// "left, top, width, height, state", then ", " and `rest` when given.
std::string placement_value(const placement& p, const std::string& rest = "");

// Minimum size while the user drags a window edge: a rectangle narrower or lower than the
// minimum is corrected by moving the edge being dragged (the left edge for the left side or a
// left corner, else the right edge; the top edge for the top side or a top corner, else the
// bottom edge).
struct drag_rect {
  int left = 0, top = 0, right = 0, bottom = 0;
};
enum drag_edge : int { drag_left = 1, drag_right = 2, drag_top = 4, drag_bottom = 8 };
drag_rect keep_min_size(drag_rect r, int dragged_edges, int min_width, int min_height);

// The path of kovra.ini for every form, set once per run before the first form.
struct ini_form_error {
  std::string source;  // "IniForm"
  std::string text;    // UTF-8
};
// Nothing on success; the error of a second call (the first path stays).
std::optional<ini_form_error> set_ini_filename(const std::string& path);
// The path, or the error of a form created before set_ini_filename.
std::optional<ini_form_error> ini_filename_ready();
const std::string& ini_filename();
void reset_ini_filename();  // tests

// Reading and storing through kovra.ini. A value that cannot be stored is silently dropped.
restored_placement restore_form_placement(const std::string& key, const placement& current,
                                          const placement_defaults& defaults, const screen_area& screen,
                                          const std::string& section = default_placement_section);
void save_form_placement(const std::string& key, const placement& p, const std::string& rest = "",
                         const std::string& section = default_placement_section);

} // namespace kovra::shell
