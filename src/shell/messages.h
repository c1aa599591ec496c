#pragma once
// Showing catalogue messages.
//
// Values passed into a message are internal (Mazovia) text, like everything the program
// stores. The catalogue text is turned into Mazovia, formatted with the values, and the
// result converted to UTF-8 for the screen, so Polish letters in both parts come out right.
#include "shell/message_sink.h"

#include <cstdarg>
#include <cstddef>
#include <string>

namespace kovra::shell {

inline constexpr std::size_t message_buffer_size = 1000;   // msg_box, msg_choice
inline constexpr std::size_t progress_buffer_size = 1024;  // the progress window

// Installs where messages go; nullptr restores the default (standard error, questions
// answered with result_cancel). The sink is not owned.
void set_message_sink(message_sink* sink);
message_sink& current_message_sink();

// Formats entry `number` into at most buffer_size - 1 bytes of internal text (longer results
// are cut, never overrun) and returns it as UTF-8. Empty for a number not in the catalogue.
std::string format_message(int number, std::size_t buffer_size, ...);
std::string vformat_message(int number, std::size_t buffer_size, va_list values);

// Shows entry `number` with its kind's icon, buttons and caption; returns result_ok,
// result_no or result_cancel. A number not in the catalogue is a caller error: nothing is
// shown and the result is result_cancel.
int msg_box(int number, ...);

// The same for values that are screen text (UTF-8) rather than internal text: file paths
// above all, which must show exactly as the user typed them, letters the internal code
// page lacks included. The result is cut after buffer_size - 1 characters.
std::string vformat_screen_message(int number, std::size_t buffer_size, va_list values);
int msg_box_screen(int number, ...);

// The same in a message window whose first two buttons carry the caller's texts (UTF-8).
int msg_choice(int number, const char* first_button, const char* second_button, ...);

} // namespace kovra::shell
