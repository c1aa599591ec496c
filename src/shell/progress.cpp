#include "shell/progress.h"

#include "shell/messages.h"

#include <algorithm>
#include <chrono>
#include <cstdarg>

namespace kovra::shell {
namespace {

int64_t steady_ms() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

struct wait_state {
  progress_ui* ui = nullptr;
  timer_control* timers = nullptr;
  std::function<int64_t()> clock = steady_ms;

  bool open = false;
  progress_view view;
  int position = 0;
  bool stop_requested = false;
  bool refreshed = false;  // no refresh yet since the window opened
  int64_t last_refresh = 0;
  std::vector<int> stopped_timers;
};

wait_state& state() {
  static wait_state s;
  return s;
}

} // namespace

int animation_for_message(int number, int requested) {
  switch (number) {
  case 0: case 102: case 129: case 130: case 132: case 146:
    return ANIM_SEARCH_COMPUTER;
  case 38: case 39: case 96: case 105: case 138: case 139: case 140:
    return ANIM_COPY_FILE;
  case 85: case 136: case 137: case 184: case 187:
    return ANIM_SEARCH_FILE;
  default:
    return requested;
  }
}

progress_layout layout_for(int animation, int flags) {
  if (!(flags & WAIT_ANIMATION)) return progress_layout::no_animation;
  if (animation >= 1 && animation <= 3) return progress_layout::left_animation;
  if (animation >= 4 && animation <= 8) return progress_layout::top_animation;
  return progress_layout::no_animation;
}

progress_size progress_window_size(const progress_metrics& m, progress_layout layout, bool bar, bool stop) {
  constexpr int animation_size = 50;
  progress_size s;
  switch (layout) {
  case progress_layout::left_animation:
    s.content_width = 200 + animation_size + 2 * m.panel_frame;
    s.content_height = std::max(animation_size, m.message_height) + 2 * m.panel_frame;
    break;
  case progress_layout::top_animation:
    s.content_width = 300;
    s.content_height = m.message_height + 4 * m.panel_frame + animation_size;
    break;
  case progress_layout::no_animation:
    s.content_width = 200;
    s.content_height = m.message_height + 4 * m.panel_frame;
    break;
  }
  s.client_height = m.heading_height + m.spacer + s.content_height + (bar ? m.bar_height : 0) +
                    2 * m.main_frame + (stop ? m.stop_panel_height : 0);
  s.client_width = s.content_width + 2 * m.main_frame;
  if (bar) s.client_width = std::max(s.client_width, 500);
  return s;
}

void set_progress_ui(progress_ui* ui) { state().ui = ui; }
void set_timer_control(timer_control* timers) { state().timers = timers; }
void set_progress_clock(std::function<int64_t()> clock) { state().clock = clock ? std::move(clock) : steady_ms; }

void reset_progress() {
  if (state().open) wait_close();
  state() = wait_state{};
}

void wait_open(const char* heading, int animation, int flags, int number, ...) {
  wait_state& s = state();
  if (s.open) wait_close();  // one window per long operation

  va_list values;
  va_start(values, number);
  std::string text = vformat_message(number, progress_buffer_size, values);
  va_end(values);

  s.view = progress_view{};
  s.view.heading = heading ? heading : "";
  s.view.text = std::move(text);
  s.view.animation = animation_for_message(number, animation);
  s.view.layout = layout_for(s.view.animation, flags);
  s.view.bar = (flags & WAIT_BAR) != 0;
  s.view.stop_button = (flags & WAIT_STOP) != 0;
  s.position = 0;
  s.stop_requested = false;
  s.refreshed = false;
  s.open = true;

  s.stopped_timers = s.timers ? s.timers->stop_running_timers() : std::vector<int>{};
  if (s.ui) s.ui->show(s.view);
}

bool wait_step() {
  wait_state& s = state();
  if (!s.open) return !s.stop_requested;
  int64_t now = s.clock();
  if (!s.refreshed || now - s.last_refresh >= wait_refresh_interval_ms) {
    s.refreshed = true;
    s.last_refresh = now;
    if (s.ui && s.ui->refresh()) s.stop_requested = true;
  }
  return !s.stop_requested;
}

void wait_set_position(int position) {
  wait_state& s = state();
  if (s.open && s.view.bar && position != s.position) {
    s.position = position;
    if (s.ui) s.ui->set_position(position);
  }
  wait_step();
}

void wait_close() {
  wait_state& s = state();
  if (!s.open) return;
  s.open = false;
  if (s.ui) s.ui->hide();
  if (s.timers) s.timers->restart_timers(s.stopped_timers);
  s.stopped_timers.clear();
}

bool wait_is_open() { return state().open; }
const progress_view& wait_view() { return state().view; }
int wait_position() { return state().position; }

} // namespace kovra::shell
