#include "cli/survey_codec.h"

#include "calc/survey_record.h"
#include "store/codepage.h"

#include <cmath>

namespace kovra::cli {

using nlohmann::json;

namespace {

json lines_json(std::span<const uint8_t> record) {
  calc::survey_lines lines;
  json out = json::array();
  if (!calc::decode_survey_record(record.data(), record.size(), lines).ok()) return out;
  for (const auto& l : lines)
    out.push_back({{"description", store::mazovia_to_utf8(l.description)},
                   {"expression", store::mazovia_to_utf8(l.expression)},
                   {"value", std::isfinite(l.value) ? json(l.value) : json(nullptr)},
                   {"flags", l.flags}});
  return out;
}

std::optional<std::vector<uint8_t>> lines_record(const json& j) {
  if (!j.is_array()) return std::nullopt;
  calc::survey_lines lines;
  for (const json& l : j) {
    if (!l.is_object()) return std::nullopt;
    calc::survey_line s;
    if (l.contains("description") && l["description"].is_string())
      s.description = store::utf8_to_mazovia(l["description"].get<std::string>());
    if (l.contains("expression") && l["expression"].is_string())
      s.expression = store::utf8_to_mazovia(l["expression"].get<std::string>());
    if (l.contains("value") && l["value"].is_number()) s.value = l["value"].get<double>();
    if (l.contains("flags") && l["flags"].is_number_integer()) s.flags = uint8_t(l["flags"].get<int>());
    lines.push_back(std::move(s));
  }
  if (lines.empty()) return std::vector<uint8_t>{};
  std::vector<uint8_t> out;
  if (!calc::encode_survey_record(lines, out).ok()) return std::nullopt;
  return out;
}

} // namespace

const document::survey_json_codec& survey_codec() {
  static const document::survey_json_codec codec{lines_json, lines_record};
  return codec;
}

const document::json_options& document_json_options() {
  static const document::json_options options{&survey_codec()};
  return options;
}

} // namespace kovra::cli
