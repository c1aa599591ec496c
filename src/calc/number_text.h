#pragma once
// Fixed-width texts of numbers for grids, labels and printouts.
//
// Each text function writes into the next buffer of the display ring and returns it, so
// the result stays valid until nine more texts have been made. Texts are right-aligned in
// their width unless said otherwise; a value outside a function's range shows as stars,
// a zero as blanks. Every text ends up with the user's decimal separator.
//
// Where the printed number would not fit its width, the text shows stars rather than a
// number that silently lost its sign or a digit.
#include <cstddef>

namespace kovra::calc {

// Quantity rounded to its precision code, padded to 14 characters (in front when
// right_aligned, else behind). Stars below −99 999.999999 or above 999 999.999999.
const char* text_quantity(double value, int code, bool right_aligned = true);
// As text_quantity, with the fraction's trailing zeros trimmed (one decimal kept); a whole
// number moves one place left so that it lines up with the decimals of the others.
const char* text_quantity_short(double value, int code);
// Money in 11 characters; beyond the normal range printed without decimals, then in
// exponent form (%lg for text_money, %.4lE for text_money_e).
const char* text_money(double value);
const char* text_money_e(double value);
// Prices in 9 characters: stars below 0 or above 9 999 999; whole units above 999 999.99.
const char* text_price(double value);
// As text_price, but negative prices down to −999 999 are shown (rounded to the grosz).
const char* text_price_signed(double value);
// A single-precision coefficient, "%6.3f"; zero shown only with show_zero.
const char* text_coefficient(float value, bool show_zero);
// Tenths in 9 characters; stars below 0.1 (so also for zero) or above 999 999.1.
const char* text_tenths(double value);
// A norm in 8 characters with as many decimals as its size allows, trailing zeros trimmed.
const char* text_norm(double value);
// An input quantity in 11 characters, trailing zeros trimmed; exponent form above 999 999.99.
const char* text_amount(double value);
// A percentage with two decimals in `width` characters (at least 7); negative shows as 0.
const char* text_percent(double value, int width);
// As text_percent; wider than 7 characters the number gets one character less and a
// literal "%" goes in front of it.
const char* text_percent_signed(double value, int width);
// A single-precision distance: "%5.1f km".
const char* text_distance(float value);
// A multiplier in 5 characters with 2, 1 or 0 decimals by size.
const char* text_factor(double value);
// text_factor written into the caller's buffer (at most size − 1 characters); exactly 1
// gives five spaces. Returns buffer.
char* text_factor_or_blank(double value, char* buffer, std::size_t size);
// A whole number without padding; values above 10 000 000 are divided by 10 until they
// are not.
const char* text_integer(double value);

// The common core: prints value with format (one double argument) into the next ring
// buffer; stars (width − 1) outside min..max, blanks (width − 1) for a zero unless
// show_zero; digits grouped with room width − 1; cut to at most width − 1 characters.
// The separator is still ".".
const char* format_checked(double value, double max, double min, int width, const char* format,
                           bool show_zero);

// Groups the digits before the decimal point in threes with spaces (a "," is first read as
// the point). With room > 0 grouping is skipped when the grouped number would not fit.
// text must have room for the spaces (capacity bytes in all).
void group_digits(char* text, std::size_t capacity, int room);

// Turns the trailing zeros of the fraction into spaces; a bare point becomes a space, or
// with keep_one_decimal is followed by one "0". With right_align the text is shifted right
// over the freed places.
void trim_fraction(char* text, bool right_align, bool keep_one_decimal);

} // namespace kovra::calc
