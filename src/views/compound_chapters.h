#pragma once
// A compound estimate's run keeps each chapter's model with its chapter node (the pages of a
// constituent read it there), so the compound model's own chapter list is left without them.
// The compound summaries that walk the chapters (overhead titles, formula texts) need them
// back: this gives a copy of the compound model whose chapters hold their models again.
#include "calc/compound_recalc.h"

namespace kovra::views {

struct compound_values;

calc::compound_model compound_with_chapters(const compound_values& values);

} // namespace kovra::views
