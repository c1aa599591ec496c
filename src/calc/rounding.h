#pragma once
// The program's rounding rule and the precision codes carried by quantities.
//
// Every stored or summed amount goes through these functions, so totals are sums of rounded
// parts. The rule is sign × floor(|value| / step + 0.5000001) × step: the small bias makes
// values that sit just under a half in binary (2.675 is 2.67499...) round up.
#include <cstdint>

namespace kovra::calc {

// A precision code gives 3 − code decimals (3 whole numbers ... −3 six decimals); a code
// outside −3..3 counts as 0 (three decimals).
int normalized_code(int code);
int decimals_for_code(int code);

double round_to(double value, double step);
double round_money(double value);       // to 0.01
double round_percent(float value);      // a single-precision rate, to 0.01
double round_norm(float value);         // a single-precision norm or coefficient, to 0.001
double round_tenth(float value);        // a single-precision distance in km, to 0.1
double round_by_code(double value, int code);
double round_total(double value);       // to the total-rounding step of the settings
double round_price(double value);       // whole units above 999 999.99, else 0.01
double round_amount_auto(double value); // step chosen by |value|
double round_norm_auto(double value);   // step chosen by value (negative values coarser)
double round_2(double value);           // two decimals, halves away from zero, no bias
double round_2_simple(double value);    // the same rule as the scaffolding sheet uses

// Precision code of the product of two quantities (at most six decimals).
int combine_codes(int a, int b);

// Decimals with which a value of this size is shown (5, 4, 2 or 1).
int decimals_for_magnitude(double value);

} // namespace kovra::calc
