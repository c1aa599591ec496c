#pragma once
// The control codes of one character printer: 22 numbered slots of up to 19 bytes each.
// Spool files refer to codes by slot; what a slot sends is the printer definition's business.
#include <array>
#include <cstddef>
#include <string>

namespace kovra::report {

inline constexpr int printer_code_slots = 22;
inline constexpr std::size_t printer_code_max_bytes = 19;

// A code is raw bytes (a zero byte is a valid code byte), at most printer_code_max_bytes.
using printer_codes = std::array<std::string, printer_code_slots>;

// Slots the program itself uses.
enum printer_slot : int {
  SLOT_PAGE_END = 1,         // form feed; also the page separator inside spool files
  SLOT_EMPHASIS_ON = 4,
  SLOT_EMPHASIS_OFF = 5,
  SLOT_MODE_HEADING = 6,
  SLOT_MODE_NORMAL = 8,      // also part of the initialisation
  SLOT_LEFT_MARGIN = 9,      // built from the format in slot 10
  SLOT_LEFT_MARGIN_FORMAT = 10,
  SLOT_DOCUMENT_END = 12,
  SLOT_LINE_SPACING = 14,    // built from the format in slot 15
  SLOT_LINE_SPACING_FORMAT = 15,
  SLOT_RESET = 16,
  SLOT_BARS_ON = 17,
  SLOT_BARS_OFF = 18,
};

} // namespace kovra::report
