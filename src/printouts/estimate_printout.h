#pragma once
// The printed part "Kosztorys": every element, work group and position of the estimate with
// its quantities and values, in the unit-price or the full layout, closed by the summary
// tables the options ask for. A compound estimate prints one walk per constituent estimate.
#include "printouts/print_document.h"
#include "printouts/printout_sink.h"

#include <cstdint>
#include <functional>

namespace kovra::printouts {

// Called once per printed position; true stops the printout.
using stop_check = std::function<bool()>;

// Prints the part with the options of `block` (a title left empty there is stored).
// Returns false when stopped.
// `detail_annex`: printed as the annex of detailed calculations (merged elements as containers).
bool print_estimate_part(printout_sink& sink, print_document& doc, uint8_t* block, const stop_check& stop = {},
                         bool detail_annex = false);

} // namespace kovra::printouts
