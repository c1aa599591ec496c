#pragma once
// CSV for spreadsheets (RFC 4180): fields separated by commas, records ended by CR LF, a
// field quoted (its quotes doubled) when it holds a comma, a quote, a CR or a LF. Numbers
// with "." and no thousands separators.
#include <string>
#include <string_view>
#include <vector>

namespace kovra::cli {

std::string csv_field(std::string_view text);
// The fields of one record, with its CR LF.
std::string csv_record(const std::vector<std::string>& fields);
// `value` with `decimals` decimals ("-0.00" shows as "0.00"); empty when not finite.
std::string csv_fixed(double value, int decimals);
// A quantity as the summaries show it: rounded to 5 decimals below 1 000, 4 below 10 000,
// 3 below 100 000, else 2, with trailing zeros (and a bare ".") dropped.
std::string csv_quantity(double value);

} // namespace kovra::cli
