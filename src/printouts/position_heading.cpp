#include "printouts/position_heading.h"

#include "calc/number_text.h"
#include "shell/general_settings.h"
#include "store/codepage.h"

namespace kovra::printouts {

std::string trimmed_text(std::string s) {
  s.erase(0, s.find_first_not_of(' '));
  s.erase(s.find_last_not_of(' ') + 1);
  return s;
}

std::string position_heading_text(const calc::model_node& n, const node_texts& t, const heading_lines& lines,
                                  bool position) {
  std::string first = trimmed_text(n.number);
  if (position && lines.bases && !t.basis.empty()) first += " " + t.basis;
  std::string text = first + "\n" + trimmed_text(n.description);
  if (lines.note && !t.note.empty()) text += "\n" + t.note;
  if (lines.stwior && !t.specification.empty()) text += "\n" + store::utf8_to_mazovia("Nr STWiOR: ") + t.specification;
  if (lines.individual_code && !t.individual_code.empty())
    text += "\n" + store::utf8_to_mazovia("Kod ind.: ") + t.individual_code;
  if (lines.cpv && !t.cpv.empty()) text += "\n" + store::utf8_to_mazovia("Kody CPV: ") + t.cpv;
  return text;
}

std::string marked_quantity(double q, int precision_code, bool from_survey) {
  std::string t = calc::text_quantity(q, precision_code);
  if (from_survey && precision_code != -3 && !shell::general_settings().no_tilde_marks()) {
    const std::size_t first = t.find_first_not_of(' ');
    if (first != std::string::npos && first > 0) t[first - 1] = '~';
  }
  return t;
}

} // namespace kovra::printouts
