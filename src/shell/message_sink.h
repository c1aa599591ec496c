#pragma once
// Where catalogue messages go. The windowed program shows a dialog; kovra-cli writes to
// standard error; tests record what was asked and answer from a script.
#include "shell/message_catalogue.h"

#include <deque>
#include <iosfwd>
#include <string>
#include <vector>

namespace kovra::shell {

struct message_request {
  int number = 0;
  int kind = 0;
  msg_icon icon = msg_icon::none;
  msg_buttons buttons = msg_buttons::ok;
  bool topmost = false;
  std::string caption;  // UTF-8
  std::string text;     // formatted message, UTF-8
  // msg_choice only: the texts of the first two buttons (UTF-8); empty for msg_box.
  bool choice = false;
  std::string first_button;
  std::string second_button;
};

class message_sink {
public:
  virtual ~message_sink() = default;
  // Shows the message and returns the answer: result_ok, result_no, result_cancel, or for
  // msg_choice the negated result of any other button.
  virtual int ask(const message_request& request) = 0;
};

// Writes each message to a stream (standard error by default). Nobody can answer there, so
// questions get the answer chosen at construction; a message with only an OK button gets
// result_ok, and an answer the buttons do not offer becomes result_cancel.
class console_message_sink : public message_sink {
public:
  explicit console_message_sink(int answer = result_cancel);
  console_message_sink(int answer, std::ostream& out);
  int ask(const message_request& request) override;

private:
  int answer_;
  std::ostream* out_;
};

// Keeps every request and answers from a script (then with the fallback answer).
class recording_message_sink : public message_sink {
public:
  explicit recording_message_sink(int fallback = result_ok) : fallback_(fallback) {}
  int ask(const message_request& request) override;

  void script(std::initializer_list<int> answers) { answers_.insert(answers_.end(), answers); }
  const std::vector<message_request>& requests() const { return requests_; }
  void clear() { requests_.clear(); answers_.clear(); }

private:
  int fallback_;
  std::deque<int> answers_;
  std::vector<message_request> requests_;
};

// The answer a box with these buttons can really give for `wanted` (OK-only boxes always
// give result_ok; a missing No or Cancel becomes result_cancel).
int answer_for_buttons(msg_buttons buttons, int wanted);

} // namespace kovra::shell
