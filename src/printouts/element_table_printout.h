#pragma once
// The printed part "Tabela elementów scalonych": one row per work group and element with its
// values in one of four layouts, the sums and the closing values of each estimate, and for a
// compound estimate a closing table of its constituents.
#include "printouts/estimate_printout.h"

namespace kovra::printouts {

void print_element_table(printout_sink& sink, print_document& doc, uint8_t* block);

} // namespace kovra::printouts
