#pragma once
// The overhead summary of a compound estimate and the results by component ("Składnik").
// Texts are in the internal code page.
#include <array>
#include <string>
#include <vector>

#include "calc/compound_recalc.h"
#include "calc/estimate_totals.h"
#include "calc/overhead_table.h"

namespace kovra::calc {

// "Narzut własny #" with "#" replaced by the character 44 + row (rows 5 to 9 give 1 to 5).
std::string own_overhead_title(int row);

struct overhead_summary_line {
  int row = 0;
  std::string title;
  double amount = 0;
};

// One line per overhead row 1 to 11, summed over the chapters.
std::vector<overhead_summary_line> compound_overhead_summary(const compound_model& model, const compound_result& r);

struct chapter_formula_line {
  std::string chapter_number;
  std::string chapter_name;
  std::string formula;   // at most 70 characters
  std::string row_name;  // rows 5 to 9: the chapter's own row name, at most 30 characters
  double amount = 0;     // the chapter's total of the row
};

// Chapters whose formula text for the row is not empty.
std::vector<chapter_formula_line> chapter_formulas(const compound_model& model, const compound_result& r, int row);

struct component_line {
  std::string title;
  double value = 0;
  double share = 0; // percent of the gross total, 0 when that is 0
};

// Titles of the overhead rows 0 to 11 as the results show them.
using overhead_titles = std::array<std::string, overhead_rows>;
overhead_titles titles_of(const overhead_table& t);
overhead_titles titles_of(const compound_model& model, const compound_result& r);

std::vector<component_line> results_by_component(const estimate_totals& t, bool formula_2, const overhead_titles& titles);

} // namespace kovra::calc
