#include "calc/survey_record.h"

#include <cmath>
#include <cstring>

namespace kovra::calc {
namespace {

constexpr std::size_t min_line_size = 1 + 1 + 8 + 1;  // two empty texts, value, flags

survey_record_status failure(survey_record_error e, int line, std::size_t offset) {
  return {e, line, offset};
}

// A NUL-terminated text inside [pos, size): its length, or false when unterminated.
bool text_length(const uint8_t* data, std::size_t size, std::size_t pos, std::size_t& length) {
  const void* nul = std::memchr(data + pos, 0, size - pos);
  if (!nul) return false;
  length = static_cast<std::size_t>(static_cast<const uint8_t*>(nul) - (data + pos));
  return true;
}

double read_double(const uint8_t* p) {
  uint64_t bits = 0;
  for (int i = 7; i >= 0; --i) bits = (bits << 8) | p[i];
  double v;
  std::memcpy(&v, &bits, sizeof v);
  return v;
}

void write_double(std::vector<uint8_t>& out, double v) {
  uint64_t bits;
  std::memcpy(&bits, &v, sizeof bits);
  for (int i = 0; i < 8; ++i) out.push_back(static_cast<uint8_t>(bits >> (8 * i)));
}

} // namespace

const char* survey_record_error_text(survey_record_error error) {
  switch (error) {
  case survey_record_error::none: return "ok";
  case survey_record_error::truncated: return "survey record ends inside a line";
  case survey_record_error::bad_line_count: return "survey record has an impossible line count";
  case survey_record_error::too_many_lines: return "survey has more lines than a record can hold";
  case survey_record_error::not_a_number: return "survey line value is not a finite number";
  case survey_record_error::text_with_nul: return "survey line text contains a NUL byte";
  }
  return "unknown survey record error";
}

survey_record_status decode_survey_record(const uint8_t* data, std::size_t size, survey_lines& lines) {
  lines.clear();
  if (!data || size < 2) return failure(survey_record_error::truncated, 0, 0);
  const auto count = static_cast<int16_t>(static_cast<uint16_t>(data[0] | (data[1] << 8)));
  // Every line needs at least 11 bytes: a count the record cannot hold is refused before
  // anything is allocated for it.
  if (count < 0 || static_cast<std::size_t>(count) > (size - 2) / min_line_size)
    return failure(survey_record_error::bad_line_count, 0, 0);
  survey_lines result;
  result.reserve(static_cast<std::size_t>(count));
  std::size_t pos = 2;
  for (int i = 1; i <= count; ++i) {
    survey_line line;
    std::size_t length = 0;
    if (!text_length(data, size, pos, length)) return failure(survey_record_error::truncated, i, pos);
    line.description.assign(reinterpret_cast<const char*>(data + pos), length);
    pos += length + 1;
    if (pos >= size || !text_length(data, size, pos, length)) return failure(survey_record_error::truncated, i, pos);
    line.expression.assign(reinterpret_cast<const char*>(data + pos), length);
    pos += length + 1;
    if (size - pos < 9) return failure(survey_record_error::truncated, i, pos);
    line.value = read_double(data + pos);
    if (!std::isfinite(line.value)) return failure(survey_record_error::not_a_number, i, pos);
    pos += 8;
    line.flags = data[pos++];
    result.push_back(std::move(line));
  }
  lines = std::move(result);
  return {};
}

survey_record_status encode_survey_record(const survey_lines& lines, std::vector<uint8_t>& out) {
  out.clear();
  if (lines.size() > survey_max_lines) return failure(survey_record_error::too_many_lines, 0, 0);
  std::size_t total = 2;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const survey_line& l = lines[i];
    const int n = static_cast<int>(i + 1);
    if (l.description.find('\0') != std::string::npos || l.expression.find('\0') != std::string::npos)
      return failure(survey_record_error::text_with_nul, n, 0);
    if (!std::isfinite(l.value)) return failure(survey_record_error::not_a_number, n, 0);
    total += l.description.size() + l.expression.size() + min_line_size;
  }
  out.reserve(total);
  out.push_back(static_cast<uint8_t>(lines.size() & 0xFF));
  out.push_back(static_cast<uint8_t>(lines.size() >> 8));
  for (const survey_line& l : lines) {
    out.insert(out.end(), l.description.begin(), l.description.end());
    out.push_back(0);
    out.insert(out.end(), l.expression.begin(), l.expression.end());
    out.push_back(0);
    write_double(out, l.value);
    out.push_back(l.flags);
  }
  return {};
}

} // namespace kovra::calc
