#pragma once
// The printed part "Przedmiar - Obmiar": every position with its description, quantity,
// multiplier and unit, without prices, optionally with its quantity survey; for estimates of
// the UPZP method followed by the list of divisions with their CPV codes when asked.
#include "printouts/estimate_printout.h"

namespace kovra::printouts {

bool print_survey_part(printout_sink& sink, print_document& doc, uint8_t* block, const stop_check& stop = {});

} // namespace kovra::printouts
