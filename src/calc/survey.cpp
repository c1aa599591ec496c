#include "calc/survey.h"

#include "calc/interpreter.h"
#include "calc/rounding.h"

namespace kovra::calc {

void add_typing_line(survey_lines& lines) {
  if (lines.size() < survey_typing_line_limit) lines.push_back(survey_line{});
}

void drop_typing_line(survey_lines& lines) {
  if (!lines.empty() && lines.back().description.empty() && lines.back().expression.empty()) lines.pop_back();
}

const char* survey_io_error_text(survey_io_error error) {
  switch (error) {
  case survey_io_error::none: return "ok";
  case survey_io_error::bad_position: return "survey record position is not valid";
  case survey_io_error::read_failed: return "survey record cannot be read";
  case survey_io_error::bad_record: return "survey record is damaged";
  case survey_io_error::write_failed: return "survey record cannot be written";
  }
  return "unknown survey error";
}

survey_load_result load_survey(survey_record_store& doc, store::rec_pos position) {
  survey_load_result r;
  if (position == -1) return r;
  if (position < 0) {
    r.error = survey_io_error::bad_position;
    return r;
  }
  std::vector<uint8_t> bytes;
  if (!doc.read_record(position, bytes)) {
    r.error = survey_io_error::read_failed;
    return r;
  }
  r.record = decode_survey_record(bytes.data(), bytes.size(), r.lines);
  if (!r.record.ok()) r.error = survey_io_error::bad_record;
  return r;
}

survey_save_result save_survey(survey_record_store& doc, const survey_lines& lines, store::rec_pos position) {
  survey_save_result r;
  r.position = position;
  survey_lines stored = lines;
  drop_typing_line(stored);
  if (stored.empty()) {
    if (position >= 0 && !doc.delete_record(position)) {
      r.error = survey_io_error::write_failed;
      return r;
    }
    r.position = -1;
    return r;
  }
  std::vector<uint8_t> bytes;
  r.record = encode_survey_record(stored, bytes);
  if (!r.record.ok()) {
    r.error = survey_io_error::bad_record;
    return r;
  }
  const store::rec_pos written = position >= 0 ? doc.rewrite_record(position, bytes) : doc.insert_record(bytes);
  if (written < 0) {
    r.error = survey_io_error::write_failed;
    return r;
  }
  r.position = written;
  return r;
}

int evaluate_survey(survey_lines& lines) {
  VL_simp_interpret interpreter;
  interpreter.set_internal_texts(true);  // names in the expressions are Mazovia text
  for (std::size_t i = 0; i < lines.size(); ++i) {
    survey_line& line = lines[i];
    const int number = static_cast<int>(i + 1);
    line.value = 0.0;
    if (line.is_comment()) continue;
    double value = 0.0;
    if (interpreter.evaluate(line.expression.c_str(), value)) {
      line.value = value;
      line.flags &= static_cast<uint8_t>(~survey_failed_bit);
      continue;
    }
    if (line.failed()) return number;  // still failing: no second message
    if (interpreter.report_error(interp_box_retry_cancel) == interp_answer_retry) return -number;
    line.flags |= survey_failed_bit;
    return number;
  }
  return 0;
}

double survey_total(const survey_lines& lines) {
  double total = 0.0;
  for (const survey_line& line : lines)
    if (!line.is_comment() && !line.failed()) total += round_by_code(line.value, -3);
  return total;
}

int survey_precision(const survey_owner& owner, int chosen_code) {
  return owner.kind == survey_owner_kind::one_off ? 3 : normalized_code(chosen_code);
}

survey_apply_result apply_survey(survey_record_store& doc, survey_owner& owner, survey_lines& lines,
                                 int chosen_code, const std::function<void()>& refresh_views) {
  survey_apply_result r;
  r.evaluation = evaluate_survey(lines);
  r.save.position = owner.survey_position;
  if (r.evaluation < 0) return r;
  r.total = survey_total(lines);
  const int code = survey_precision(owner, chosen_code);
  owner.precision_code = code;
  owner.quantity = round_by_code(r.total, code);
  r.save = save_survey(doc, lines, owner.survey_position);
  if (r.save.ok()) owner.survey_position = r.save.position;
  r.applied = true;
  if (refresh_views) refresh_views();
  return r;
}

} // namespace kovra::calc
