// The survey record on any bytes: decoding never reads past the record, a decoded survey
// encodes back and decodes to the same lines, and evaluating it is safe.
#include "calc/survey.h"
#include "calc/survey_display.h"
#include "calc/survey_record.h"
#include "shell/message_sink.h"
#include "shell/messages.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace kovra::calc;
  // An exact-size copy, so that reading one byte too far is caught.
  std::vector<uint8_t> record(data, data + size);
  survey_lines lines;
  const survey_record_status status = decode_survey_record(record.data(), record.size(), lines);
  if (!status.ok()) {
    if (!lines.empty()) std::abort();
    return 0;
  }
  std::vector<uint8_t> again;
  if (!encode_survey_record(lines, again).ok()) std::abort();
  survey_lines back;
  if (!decode_survey_record(again.data(), again.size(), back).ok() || back != lines) std::abort();

  static kovra::shell::recording_message_sink sink(kovra::shell::result_cancel);
  kovra::shell::set_message_sink(&sink);
  if (lines.size() <= 200) {
    const int result = evaluate_survey(lines);
    if (result < 0 || result > static_cast<int>(lines.size())) std::abort();
    const survey_totals t = survey_totals_for(lines, survey_owner_kind::position, size % 7 - 3, 1.5, 1);
    (void)t;
  }
  sink.clear();
  kovra::shell::set_message_sink(nullptr);
  return 0;
}
