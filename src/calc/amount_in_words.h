#pragma once
// The amount in Polish words that the title page prints after "Słownie:".
#include <cstddef>
#include <limits>
#include <string>
#include <string_view>

namespace kovra::calc {

// Largest amount that has words; above it (and for 0) the text is empty.
inline constexpr double amount_in_words_limit = 999'999'999'999.0;

// `value` in words, in the internal code page (Mazovia): "minus" for a negative amount, the
// groups of billions, millions, thousands and units each with its number words and, but for
// the units, its noun in the form the group's number takes, then the grosze as "%2d/100"
// and `currency` (internal code page, as currency_text gives it; left out when empty).
// Words are separated by blanks; a word that would make a line longer than `line_width`
// characters starts a new line ("\n"; 0 means no wrapping). A word that would make the text
// longer than `output_limit` bytes is dropped together with every word after it.
// Amounts are rounded to the grosz first, so 1.999 reads as two.
std::string amount_in_words(double value, std::size_t line_width = 0, std::string_view currency = {},
                            std::size_t output_limit = std::numeric_limits<std::size_t>::max());

} // namespace kovra::calc
