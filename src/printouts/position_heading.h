#pragma once
// The heading block of a node as the bill of quantities and the tables of elements print it:
// number (and catalogue basis), description and the requested extra lines.
#include "calc/estimate_model.h"
#include "printouts/node_texts.h"

#include <string>

namespace kovra::printouts {

struct heading_lines {
  bool bases = false, note = false, cpv = false, stwior = false, individual_code = false;
};

// Number [two blanks, basis] on the first line, the description, then the note, "Nr STWiOR: ",
// "Kod ind.: " and "Kody CPV: " lines when present and asked for ('\n' between lines).
std::string position_heading_text(const calc::model_node& n, const node_texts& t, const heading_lines& lines,
                                  bool position);

// A position quantity in 14 characters, "~" before its first digit when it comes from the
// survey lines (never for precision code −3, nor when the program's settings turn the marks off).
std::string marked_quantity(double q, int precision_code, bool from_survey);

// Blanks cut at both ends.
std::string trimmed_text(std::string s);

} // namespace kovra::printouts
