#pragma once
// The built-in screen look: 15 text elements and 7 fonts, as the grids and editors start
// with before kovra.ini is read (kept in the same form as the print look).
#include "shell/print_look.h"

namespace kovra::shell {

inline constexpr int screen_element_count = 15;
inline constexpr int screen_font_count = 7;
// Colours with the top bit set name a system colour (its number in the low byte).
inline constexpr uint32_t system_colour = 0x80000000u;

design_look default_screen_look();

} // namespace kovra::shell
