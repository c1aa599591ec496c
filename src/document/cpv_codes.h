#pragma once
// CPV codes attached to an estimate and its nodes: the stored code text split into pairs
// of a main and a supplementary code, each resolved against the vocabulary tables.
//
// A stored code text holds items separated by the byte 0x01, alternating a main code and a
// supplementary code (an empty supplementary item means none). Only the first eight
// characters of a main item and the first four of a supplementary item name the code.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "document/cpv_table.h"

namespace kovra::document {

enum class cpv_source : uint8_t {
  vocabulary,  // a code of the vocabulary in force
  translated,  // a code of the 2003 edition, taken to its 2008 entry
  unknown,     // in neither: kept as stored
};

enum class cpv_check : uint8_t {
  absent,  // the item carries no check digit
  right,
  wrong,   // differs from the vocabulary's (or, for an unknown main code, the computed) digit
};

// One stored code item, resolved.
struct cpv_code {
  std::string stored;               // the item as stored (without blanks around it)
  const cpv_entry* entry = nullptr; // the entry shown (the 2008 one for a translated code)
  cpv_source source = cpv_source::unknown;
  cpv_check check = cpv_check::absent;

  bool empty() const { return stored.empty() && !entry; }
  // The code digits (main) or letters and digits (supplementary) that make it distinct: the
  // entry's code, else the stored item's first eight or four characters.
  std::string_view key() const;
  // What a view or printout shows: the entry's text ("45000000-7  Roboty budowlane"); an
  // unknown code as stored followed by cpv_unknown_mark; a wrong check digit adds
  // cpv_wrong_check_mark. UTF-8.
  std::string shown() const;
};

inline constexpr const char* cpv_unknown_mark = "  [kod nieznany]";
inline constexpr const char* cpv_wrong_check_mark = "  [błędna cyfra kontrolna]";

struct cpv_pair {
  cpv_code main;
  cpv_code supplementary;  // empty when none
};

// Resolving one item: main codes by the vocabulary, then by the 2003 correspondence;
// supplementary codes by their vocabulary. An empty item gives an empty code.
cpv_code resolve_main_code(const cpv_table& t, std::string_view item);
cpv_code resolve_supplementary_code(const cpv_table& t, std::string_view item);

// The pairs of a stored code text (internal code page; the codes themselves are ASCII).
// Splitting stops when the rest is empty or a pair has both items empty. No pair is
// dropped: a code the tables do not hold is kept as unknown.
std::vector<cpv_pair> parse_cpv_text(const cpv_table& t, std::string_view text);

// A main code cut to `digits` code digits (2 to 8; fewer count as 2), resolved in the
// vocabulary. A code that is not eight digits cannot be cut: none.
std::optional<cpv_code> aggregate_code(const cpv_table& t, const cpv_code& code, int digits);

// Appends `code` unless a code with the same key is already in `list`; empty codes are not
// appended. True when appended.
bool add_distinct(std::vector<cpv_code>& list, const cpv_code& code);

} // namespace kovra::document
