#pragma once
// Large estimates made from a fixed seed, for benchmarks: the same seed gives the same
// records, so figures compare between runs and machines.
#include "document/estimate_json.h"

#include <cstdint>
#include <string>

namespace kovra::document {

struct generator_options {
  uint32_t seed = 1;
  int positions = 10000;         // spread over work groups and elements
  int inputs_per_position = 10;
  int distinct_inputs = 2000;
  int positions_per_element = 20;
  int elements_per_group = 10;
};

// A simple estimate: groups, elements, positions with inputs (no input twice in one
// position unless it asks for more inputs than there are) and surveys left out, and one
// price record per distinct input (in name order, with both keys).
estimate_image generate_simple_estimate(const generator_options& options);

// A compound estimate of `chapters` internal and `external_chapters` external chapters,
// each a simple estimate generated with `per_chapter` (its seed advanced per chapter).
// External chapters are spread evenly among the internal ones; their documents are kept
// in `externals` under the relative path their record names (`external_chapter_path`).
estimate_image generate_compound_estimate(uint32_t seed, int chapters, const generator_options& per_chapter,
                                          int external_chapters = 0);

// The path the generator gives the external chapter at `index` (from 0, in chapter order).
std::string external_chapter_path(int index);

} // namespace kovra::document
