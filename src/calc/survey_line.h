#pragma once
// One line of a quantity survey: a description, an expression and its last value.
#include <cstdint>
#include <string>
#include <vector>

namespace kovra::calc {

inline constexpr uint8_t survey_kind_mask = 0x0F;  // 0 computed, anything else a comment
inline constexpr uint8_t survey_failed_bit = 0x10; // the expression failed last time
// The survey window offers an empty line for typing while there are fewer lines than this.
inline constexpr std::size_t survey_typing_line_limit = 100;

struct survey_line {
  std::string description;  // internal code page (Mazovia)
  std::string expression;   // internal code page (Mazovia)
  double value = 0.0;
  uint8_t flags = 0;

  bool is_comment() const { return (flags & survey_kind_mask) != 0; }
  bool failed() const { return (flags & survey_failed_bit) != 0; }
  bool operator==(const survey_line&) const = default;
};

using survey_lines = std::vector<survey_line>;

// The window's empty typing line: appended while there are fewer than 100 lines, dropped
// again (when both its texts are empty) before saving.
void add_typing_line(survey_lines& lines);
void drop_typing_line(survey_lines& lines);

} // namespace kovra::calc
