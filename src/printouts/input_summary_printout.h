#pragma once
// The summaries of inputs: "Zestawienie robocizny" (45), "Zestawienie materiałów" (50),
// "Zestawienie sprzętu" (55) and "Materiały inwestora" (60), for the whole estimate and, in a
// compound estimate, per constituent (their codes + 100).
#include "printouts/estimate_printout.h"

namespace kovra::printouts {

// `code` is 45, 50, 55 or 60. A compound estimate prints the whole summary when the block
// includes the part (or not its per-chapter variant either) and the per-chapter one when it
// includes code + 100.
bool print_input_summary(printout_sink& sink, print_document& doc, uint8_t* block, int code);

} // namespace kovra::printouts
