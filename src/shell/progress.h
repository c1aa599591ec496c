#pragma once
// The progress window of long operations: a catalogue message, an optional animation, an
// optional bar and an optional stop button. The window itself is behind `progress_ui` (the
// GUI provides it; without one the calls only keep their state), timers of open windows
// behind `timer_control`, and time behind an injectable clock.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace kovra::shell {

// wait_open flags
inline constexpr int WAIT_ANIMATION = 0x01;  // show the animation panel
inline constexpr int WAIT_BAR = 0x04;        // show the progress bar
inline constexpr int WAIT_STOP = 0x08;       // show the stop button "&Przerwij"

// Animation codes (1..8 name the standard system animations by role).
inline constexpr int ANIM_NONE = 0;
inline constexpr int ANIM_SEARCH_FILE = 2;
inline constexpr int ANIM_SEARCH_COMPUTER = 3;
inline constexpr int ANIM_COPY_FILE = 5;

inline constexpr int64_t wait_refresh_interval_ms = 200;

// Some messages always use their own animation, whatever the caller asked for.
int animation_for_message(int number, int requested);

enum class progress_layout { left_animation, top_animation, no_animation };
// Codes 1-3 sit left of the message, 4-8 above it; none without the animation flag.
progress_layout layout_for(int animation, int flags);

// Sizes in pixels that only the window system knows (text heights after word wrap, frames).
struct progress_metrics {
  int message_height = 0;   // the word-wrapped message
  int heading_height = 0;   // the word-wrapped heading, 0 when the heading is empty
  int panel_frame = 0;      // border + bevel of the message panel
  int main_frame = 0;       // border + bevel of the main panel
  int spacer = 0;           // between heading and content
  int bar_height = 0;
  int stop_panel_height = 0;
};

struct progress_size {
  int content_width = 0;
  int content_height = 0;
  int client_width = 0;
  int client_height = 0;
};

progress_size progress_window_size(const progress_metrics& m, progress_layout layout, bool bar, bool stop);

// What the window shows.
struct progress_view {
  std::string heading;  // UTF-8, empty hides its line
  std::string text;     // formatted catalogue message, UTF-8
  int animation = ANIM_NONE;
  progress_layout layout = progress_layout::no_animation;
  bool bar = false;
  bool stop_button = false;
};

class progress_ui {
public:
  virtual ~progress_ui() = default;
  // Shows the window without waiting: remembers the active window and disables the others.
  virtual void show(const progress_view& view) = 0;
  virtual void set_position(int position) = 0;  // 0..100
  // Keeps the animation going, repaints and processes pending window events; returns true
  // when the user pressed the stop button since the last call.
  virtual bool refresh() = 0;
  // Re-enables the disabled windows, reactivates the remembered one and hides the window.
  virtual void hide() = 0;
};

// Timers of the open windows: those running are stopped while the progress window is shown
// and exactly those are started again when it closes.
class timer_control {
public:
  virtual ~timer_control() = default;
  virtual std::vector<int> stop_running_timers() = 0;  // ids of the timers it stopped
  virtual void restart_timers(const std::vector<int>& ids) = 0;
};

// Installs the pieces (not owned; nullptr: none). The clock returns milliseconds of a
// monotonic time; the default is the steady clock.
void set_progress_ui(progress_ui* ui);
void set_timer_control(timer_control* timers);
void set_progress_clock(std::function<int64_t()> clock);
// Closes any open window state and restores the defaults (tests).
void reset_progress();

// heading: UTF-8; values as for msg_box (internal text).
void wait_open(const char* heading, int animation, int flags, int number, ...);
void wait_set_position(int position);
// At most one refresh per 200 ms; false once the user asked to stop.
bool wait_step();
void wait_close();

// State of the open window (tests, and the GUI's repaint).
bool wait_is_open();
const progress_view& wait_view();
int wait_position();

} // namespace kovra::shell
