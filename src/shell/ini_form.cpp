#include "shell/ini_form.h"

#include "shell/ini_file.h"

#include <algorithm>

namespace kovra::shell {
namespace {

constexpr long placement_limit = 1000000;

struct ini_name_state {
  std::string path;
  bool set = false;
};

ini_name_state& ini_name() {
  static ini_name_state s;
  return s;
}

} // namespace

std::optional<int> take_placement_item(std::string& text) {
  if (text.empty()) return std::nullopt;
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  long n = 0;
  bool digits = false;
  while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
    digits = true;
    n = std::min(n * 10 + (text[i++] - '0'), placement_limit);
  }
  std::size_t comma = text.find(',');
  text = comma == std::string::npos ? std::string() : text.substr(comma + 1);
  if (!digits) return std::nullopt;
  return int(negative ? -n : n);
}

restored_placement restore_placement(const std::string& stored, const placement& current,
                                     const placement_defaults& d, const screen_area& screen) {
  placement p = current;
  if (d.default_width != 0) p.width = d.default_width;
  if (d.default_height != 0) p.height = d.default_height;
  p.left = (screen.screen_width - p.width) / 2;
  p.top = (screen.screen_height - p.height) / 2;
  p.state = d.default_state;

  std::string rest = stored;
  for (int* field : {&p.left, &p.top, &p.width, &p.height})
    if (auto v = take_placement_item(rest)) *field = *v;

  const int W = screen.work_width, H = screen.work_height;
  const int vw = std::min(p.width, W * 5 / 100);
  const int vh = std::min(p.height, 20);
  if (p.left > W - vw) p.left = W - vw;
  if (p.top > H - vh) p.top = H - vh;
  if (p.left < vw - p.width) p.left = vw - p.width;
  if (p.top < 0) p.top = 0;

  if (auto v = take_placement_item(rest)) p.state = (*v == 1 || *v == 2) ? *v : 0;

  p.width = std::max(p.width, d.min_width);
  p.height = std::max(p.height, d.min_height);
  return {p, rest};
}

std::string placement_value(const placement& p, const std::string& rest) {
  std::string v = std::to_string(p.left) + ", " + std::to_string(p.top) + ", " + std::to_string(p.width) + ", " +
                  std::to_string(p.height) + ", " + std::to_string(p.state);
  if (!rest.empty()) v += ", " + rest;
  return v;
}

drag_rect keep_min_size(drag_rect r, int edges, int min_width, int min_height) {
  if (r.right - r.left < min_width) {
    if (edges & drag_left)
      r.left = r.right - min_width;
    else
      r.right = r.left + min_width;
  }
  if (r.bottom - r.top < min_height) {
    if (edges & drag_top)
      r.top = r.bottom - min_height;
    else
      r.bottom = r.top + min_height;
  }
  return r;
}

std::optional<ini_form_error> set_ini_filename(const std::string& path) {
  if (ini_name().set)
    return ini_form_error{"IniForm", "Powtórne wywołanie set_ini_filename() w klasie TIniForm"};
  ini_name().path = path;
  ini_name().set = true;
  return std::nullopt;
}

std::optional<ini_form_error> ini_filename_ready() {
  if (ini_name().set) return std::nullopt;
  return ini_form_error{"IniForm",
                        "Klasa TIniForm nie została zainicjalizowana poprawnie\nWywołaj set_ini_filename() na "
                        "początku programu!"};
}

const std::string& ini_filename() { return ini_name().path; }

void reset_ini_filename() { ini_name() = ini_name_state{}; }

restored_placement restore_form_placement(const std::string& key, const placement& current,
                                          const placement_defaults& defaults, const screen_area& screen,
                                          const std::string& section) {
  std::string stored;
  if (ini_name().set) stored = ini_read(ini_name().path, section, key).value_or("");
  return restore_placement(stored, current, defaults, screen);
}

void save_form_placement(const std::string& key, const placement& p, const std::string& rest,
                         const std::string& section) {
  if (!ini_name().set) return;
  ini_write(ini_name().path, section, key, placement_value(p, rest));
}

} // namespace kovra::shell
