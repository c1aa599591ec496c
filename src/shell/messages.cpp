#include "shell/messages.h"

#include "store/codepage.h"

#include <cstdio>
#include <vector>

namespace kovra::shell {
namespace {

message_sink* installed_sink = nullptr;

message_request make_request(int number, const catalogue_entry& entry, std::string text) {
  const message_kind& style = kind_style(entry.kind);
  message_request r;
  r.number = number;
  r.kind = entry.kind;
  r.icon = style.icon;
  r.buttons = style.buttons;
  r.topmost = style.topmost;
  r.caption = style.caption;
  r.text = std::move(text);
  return r;
}

} // namespace

void set_message_sink(message_sink* sink) { installed_sink = sink; }

message_sink& current_message_sink() {
  static console_message_sink console;
  return installed_sink ? *installed_sink : console;
}

std::string vformat_message(int number, std::size_t buffer_size, va_list values) {
  const catalogue_entry* entry = catalogue_message(number);
  if (!entry || buffer_size == 0) return {};
  // Format in the internal code page, where the values live.
  const std::string format = store::utf8_to_mazovia(entry->text);
  std::vector<char> buffer(buffer_size);
  int n = std::vsnprintf(buffer.data(), buffer.size(), format.c_str(), values);
  if (n < 0) return {};
  std::size_t length = std::min<std::size_t>(std::size_t(n), buffer_size - 1);
  return store::mazovia_to_utf8(std::string_view(buffer.data(), length));
}

std::string vformat_screen_message(int number, std::size_t buffer_size, va_list values) {
  const catalogue_entry* entry = catalogue_message(number);
  if (!entry || buffer_size == 0) return {};
  // A character takes up to four bytes here, where the internal code page has one.
  std::vector<char> buffer(4 * buffer_size);
  int n = std::vsnprintf(buffer.data(), buffer.size(), entry->text, values);
  if (n < 0) return {};
  std::size_t length = std::min<std::size_t>(std::size_t(n), buffer.size() - 1);
  // Cut after buffer_size - 1 characters, never inside one.
  std::size_t characters = 0, end = 0;
  while (end < length) {
    if (characters == buffer_size - 1) break;
    std::size_t next = end + 1;
    while (next < length && (uint8_t(buffer[next]) & 0xC0) == 0x80) ++next;
    if ((uint8_t(buffer[end]) & 0xC0) != 0x80) ++characters;
    end = next;
  }
  return std::string(buffer.data(), end);
}

std::string format_message(int number, std::size_t buffer_size, ...) {
  va_list values;
  va_start(values, buffer_size);
  std::string text = vformat_message(number, buffer_size, values);
  va_end(values);
  return text;
}

int msg_box(int number, ...) {
  const catalogue_entry* entry = catalogue_message(number);
  if (!entry) return result_cancel;
  va_list values;
  va_start(values, number);
  std::string text = vformat_message(number, message_buffer_size, values);
  va_end(values);
  return current_message_sink().ask(make_request(number, *entry, std::move(text)));
}

int msg_box_screen(int number, ...) {
  const catalogue_entry* entry = catalogue_message(number);
  if (!entry) return result_cancel;
  va_list values;
  va_start(values, number);
  std::string text = vformat_screen_message(number, message_buffer_size, values);
  va_end(values);
  return current_message_sink().ask(make_request(number, *entry, std::move(text)));
}

int msg_choice(int number, const char* first_button, const char* second_button, ...) {
  const catalogue_entry* entry = catalogue_message(number);
  if (!entry) return result_cancel;
  va_list values;
  va_start(values, second_button);
  std::string text = vformat_message(number, message_buffer_size, values);
  va_end(values);
  message_request r = make_request(number, *entry, std::move(text));
  r.choice = true;
  r.first_button = first_button ? first_button : "";
  r.second_button = second_button ? second_button : "";
  return current_message_sink().ask(r);
}

} // namespace kovra::shell
