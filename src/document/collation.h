#pragma once
// Name order of price records: the collation table over Mazovia bytes, the key-1 entry
// built from it, and the name comparison with numeric runs.
#include "document/zest_record.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace kovra::document {

// Weight of a Mazovia byte in name order.
uint8_t collation_weight(uint8_t c);
// The name mapped through the collation table, blanks left out.
std::string collate(std::string_view name);
// Key-1 key: the kind, then the first ten non-blank characters mapped, zero-padded.
key1_t make_key1(uint8_t kind, std::string_view name);
// Orders two names: collated, then compared byte by byte, except that where both have a
// run of digits the runs (with "," read as ".") are compared as numbers. <0, 0, >0.
int compare_names(std::string_view a, std::string_view b);

} // namespace kovra::document
