#pragma once
// The catalogue basis shown before a position's description ("KNR 202/101/3 (2)").
#include "document/elpz_record.h"

#include <string>
#include <string_view>

namespace kovra::document {

// Empty for nodes other than positions, simplified positions and scaffolding. With the
// basis-as-text flag and `numeric` false: the stored basis text. Otherwise built from the
// catalogue reference; the catalogue name in the record is normalised in place first
// (upper case, `catalogue_prefix` when empty, cut to 5 characters).
std::string basis_text(elpz_record& record, bool numeric, std::string_view catalogue_prefix = "KNR");

} // namespace kovra::document
