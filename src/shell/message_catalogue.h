#pragma once
// The numbered message catalogue: every message the program shows about files, documents,
// price lists, printing and long operations. A message's kind fixes its icon, buttons and
// caption.
#include <cstdint>

namespace kovra::shell {

inline constexpr int message_count = 328;
inline constexpr int message_kind_count = 11;

// Answers of a message, the same for every kind (the key codes of Enter, Space and Escape).
enum msg_result : int {
  result_ok = 13,      // OK or Yes
  result_no = 32,      // No
  result_cancel = 27,  // Cancel, or the window closed
};

enum class msg_icon { none, error, question, exclamation, information };
enum class msg_buttons { ok, ok_cancel, yes_no, yes_no_cancel };

struct message_kind {
  msg_icon icon;
  msg_buttons buttons;
  bool topmost;
  const char* caption;  // UTF-8, may be empty
};

struct catalogue_entry {
  uint8_t kind;      // 0..10
  const char* text;  // printf-style format, UTF-8 (formatted in the internal code page)
};

// Presentation of kind 0..10; other kinds are shown as kind 1 (error, OK).
const message_kind& kind_style(int kind);

// Entry `number`, or nullptr for a number outside 0..327 or one this edition does not use.
const catalogue_entry* catalogue_message(int number);

} // namespace kovra::shell
