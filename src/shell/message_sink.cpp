#include "shell/message_sink.h"

#include <iostream>

namespace kovra::shell {

int answer_for_buttons(msg_buttons buttons, int wanted) {
  switch (buttons) {
  case msg_buttons::ok:
    return result_ok;
  case msg_buttons::ok_cancel:
    return wanted == result_ok ? result_ok : result_cancel;
  case msg_buttons::yes_no:  // without a Cancel button, closing the box still gives result_cancel
  case msg_buttons::yes_no_cancel:
    return wanted == result_ok || wanted == result_no ? wanted : result_cancel;
  }
  return result_cancel;
}

console_message_sink::console_message_sink(int answer) : answer_(answer), out_(&std::cerr) {}
console_message_sink::console_message_sink(int answer, std::ostream& out) : answer_(answer), out_(&out) {}

int console_message_sink::ask(const message_request& r) {
  std::ostream& os = *out_;
  if (!r.caption.empty()) os << r.caption << ": ";
  os << r.text << "\n";
  int answer = r.choice ? answer_ : answer_for_buttons(r.buttons, answer_);
  if (r.choice || r.buttons != msg_buttons::ok) {
    const char* label = answer == result_ok ? "OK" : answer == result_no ? "Nie" : "Anuluj";
    if (r.choice && answer == result_ok && !r.first_button.empty()) label = r.first_button.c_str();
    if (r.choice && answer == result_no && !r.second_button.empty()) label = r.second_button.c_str();
    os << "  -> " << label << "\n";
  }
  os.flush();
  return answer;
}

int recording_message_sink::ask(const message_request& request) {
  requests_.push_back(request);
  if (answers_.empty()) return fallback_;
  int a = answers_.front();
  answers_.pop_front();
  return a;
}

} // namespace kovra::shell
