#pragma once
// What a printout shows of a node beyond its values: the catalogue basis, the survey lines
// and the extra lines of the position heading, read from the node's record and the records
// it points at. Internal code page.
#include "calc/survey_line.h"
#include "document/record_source.h"

#include <string>

namespace kovra::printouts {

struct node_texts {
  std::string basis;            // the catalogue basis
  calc::survey_lines survey;    // the quantity survey
  std::string note;
  std::string specification;    // the STWiOR number
  std::string individual_code;
  std::string cpv;              // the CPV codes, separated by blanks
  // The texts beside the R, M and S coefficients when they name them (a text that is only
  // the coefficient's number is no name): empty otherwise.
  std::string coefficient_names[3];
};

// Empty texts when the record cannot be read.
node_texts read_node_texts(const document::record_source& records, int32_t pos);

} // namespace kovra::printouts
