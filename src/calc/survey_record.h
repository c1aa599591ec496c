#pragma once
// The stored form of a quantity survey, packed without padding, little-endian:
//   int16 line count, then per line: description (NUL-terminated), expression
//   (NUL-terminated), value (8-byte double), flags (1 byte).
#include "calc/survey_line.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kovra::calc {

inline constexpr std::size_t survey_max_lines = 32767;  // the count is a signed 16-bit field

enum class survey_record_error {
  none,
  truncated,        // the record ends inside a field
  bad_line_count,   // negative, or more lines than the record can hold
  too_many_lines,   // more than 32 767 lines to store
  not_a_number,     // a value that is NaN or infinite
  text_with_nul,    // a text to store contains a NUL byte
};

struct survey_record_status {
  survey_record_error error = survey_record_error::none;
  int line = 0;             // 1-based line the problem was found in (0: the count)
  std::size_t offset = 0;   // byte offset in the record
  bool ok() const { return error == survey_record_error::none; }
};

const char* survey_record_error_text(survey_record_error error);

// Reads the record in [data, data + size). Bytes after the last line are ignored (the store
// may hand over a whole block). On failure `lines` is left empty.
survey_record_status decode_survey_record(const uint8_t* data, std::size_t size, survey_lines& lines);

// Writes the record; refuses lines it could not store faithfully.
survey_record_status encode_survey_record(const survey_lines& lines, std::vector<uint8_t>& out);

} // namespace kovra::calc
