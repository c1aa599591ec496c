#pragma once
// What the survey window shows besides the texts of the lines: each line's value, the
// total, and for a chapter of a compound estimate the chapter multiplier and the
// multiplied quantity.
#include "calc/survey.h"

#include <string>

namespace kovra::calc {

inline constexpr const char* survey_total_label = "Razem: ";
inline constexpr const char* survey_multiplier_label = "Mnożnik dla rozdziału: ";
inline constexpr const char* survey_multiplied_label = "Wartość obmiaru: ";

// Column "Ilość" of a line: its value to six decimals, trailing zeros trimmed.
std::string survey_line_quantity_text(const survey_line& line);
// A line that assigns a variable is drawn in its own style.
bool survey_line_is_assignment(const survey_line& line);
// Comment and failed lines are shaded, and every line of an owner that is not valued.
bool survey_line_shaded(const survey_line& line, bool owner_not_valued);

struct survey_totals {
  double total = 0.0;      // survey_total of the lines
  double quantity = 0.0;   // the total rounded to the owner's precision
  std::string total_text;  // shown after "Razem: "
  // Chapter of a compound estimate whose multiplier is not 1:
  bool show_multiplier = false;
  std::string multiplier_text;   // the multiplier with its own precision code
  double multiplied = 0.0;       // the multiplied quantity
  std::string multiplied_text;
};

// code is the owner's precision (survey_precision); multiplier and multiplier_code those of
// the chapter (pass 1 for an estimate that is not a chapter).
survey_totals survey_totals_for(const survey_lines& lines, survey_owner_kind kind, int code,
                                double multiplier = 1.0, int multiplier_code = 0);

} // namespace kovra::calc
