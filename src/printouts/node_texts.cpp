#include "printouts/node_texts.h"

#include "calc/survey_record.h"
#include "document/basis_text.h"
#include "document/data_records.h"
#include "document/elpz_chain.h"
#include "document/node_blocks.h"

#include <algorithm>
#include <cstdlib>

namespace kovra::printouts {
namespace {

std::string trimmed(std::string s) {
  s.erase(0, s.find_first_not_of(' '));
  s.erase(s.find_last_not_of(' ') + 1);
  return s;
}

// A coefficient's text names it unless it is empty or a number.
std::string coefficient_name(const std::string& text) {
  std::string t = trimmed(text);
  if (t.empty()) return t;
  std::string number = t;
  std::replace(number.begin(), number.end(), ',', '.');
  char* end = nullptr;
  std::strtod(number.c_str(), &end);
  return end && *end == '\0' ? std::string() : t;
}

} // namespace

node_texts read_node_texts(const document::record_source& records, int32_t pos) {
  node_texts t;
  document::elpz_record r;
  if (pos < 0 || document::read_elpz(records, document::THIS_REC, pos, r) < 0) return t;
  t.basis = trimmed(document::basis_text(r, false));
  const std::vector<uint8_t> survey = document::read_survey_bytes(records, r);
  if (!survey.empty()) calc::decode_survey_record(survey.data(), survey.size(), t.survey);
  if (auto note = document::read_node_text_raw(records, r, 0)) t.note = *note;
  if (auto cpv = document::read_node_text_raw(records, r, 1)) {
    t.cpv = *cpv;
    std::replace(t.cpv.begin(), t.cpv.end(), '\x01', ' ');
    t.cpv = trimmed(t.cpv);
  }
  if (auto spec = document::read_node_text_raw(records, r, 2)) t.specification = trimmed(document::specification_number(*spec));
  t.individual_code = trimmed(document::individual_code_of(r));
  for (int i = 0; i < 3; ++i) t.coefficient_names[i] = coefficient_name(r.coef_text(i));
  return t;
}

} // namespace kovra::printouts
