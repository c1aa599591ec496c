#pragma once
// The arithmetic interpreter behind quantity-survey lines: numbers (decimal point or comma),
// + - * /, powers (^ or **), a percent suffix, parentheses, sqrt/sin/cos/tan/ctan (angles in
// degrees), variables with assignment, and statements separated by ";". A failure is a
// numbered code with a Polish message; nothing is thrown to the caller.
#include "calc/interp_messages.h"
#include "calc/interp_variables.h"

#include <cstdint>
#include <memory>

namespace kovra::calc {

enum class interp_token_kind : uint8_t {
  end, plus, minus, divide, times, power, percent, assign, separator, open, close,
  fn_sqrt, fn_sin, fn_cos, fn_tan, fn_ctan, identifier, number
};

struct interp_token {
  interp_token_kind kind = interp_token_kind::end;
  char name[interp_name_length + 1] = {};  // identifiers, cut to 32 characters
  double number = 0.0;
};

// Names and numbers are collected in a scratch buffer of this size; longer ones are a
// syntax error.
inline constexpr std::size_t interp_scratch_size = 260;
// Deeper nesting (parentheses, signs, powers) is refused as a syntax error.
inline constexpr int interp_max_nesting = 200;

// Message-box styles and answers of report_error.
enum interp_box_style : int { interp_box_ok = 0, interp_box_retry_cancel = 5 };
enum interp_box_answer : int { interp_answer_ok = 1, interp_answer_cancel = 2, interp_answer_retry = 4 };

// The working interpreter.
class VL_simp_intprt {
public:
  bool evaluate(const char* text, double& out);
  const VL_interp_error& last_error() const { return error_; }
  VL_simp_intprt_var_list& variables() { return variables_; }
  const VL_simp_intprt_var_list& variables() const { return variables_; }

private:
  void next_token();
  void push_back();
  void read_name();
  void read_number();

  double program();
  double statement();
  double expression();
  double term();
  double power();
  double factor();
  double primary();
  double function(interp_token_kind fn);

  interp_token token_;
  const char* text_ = nullptr;
  const char* cursor_ = nullptr;
  interp_token pushed_;
  uint8_t pushed_flag_ = 0;
  int depth_ = 0;
  VL_interp_error error_;
  VL_simp_intprt_var_list variables_;
};

// The handle callers hold; variables persist from one evaluate to the next.
class VL_simp_interpret {
public:
  VL_simp_interpret();
  ~VL_simp_interpret();
  VL_simp_interpret(const VL_simp_interpret&) = delete;
  VL_simp_interpret& operator=(const VL_simp_interpret&) = delete;

  // Evaluates text; on success stores the value in out and returns true. On failure out is
  // untouched and the last error tells why. Variables assigned before a failure stay.
  bool evaluate(const char* text, double& out);

  // Texts evaluated are in the internal code page (Mazovia), so a name in a message is
  // converted for the screen. Off by default: the text is taken to be UTF-8.
  void set_internal_texts(bool internal) { internal_texts_ = internal; }

  // The last error's message (UTF-8), truncated to size − 1 characters, always terminated.
  void error_text(char* buffer, std::size_t size) const;
  // Shows the last error's message (caption "Błąd", stop icon) through the message sink
  // with OK (style 0) or Retry/Cancel (style 5); returns the answer.
  int report_error(int style) const;

  const VL_interp_error& last_error() const { return impl_->last_error(); }
  int error_code() const { return impl_->last_error().code; }

  const interp_variable* find_variable(const char* name) const { return impl_->variables().find_variable(name); }
  bool get_variable(const char* name, double& out) const { return impl_->variables().get_variable(name, out); }
  void set_variable(const char* name, double value) { impl_->variables().set_variable(name, value); }
  const VL_simp_intprt_var_list& variables() const { return impl_->variables(); }

private:
  std::unique_ptr<VL_simp_intprt> impl_;
  bool internal_texts_ = false;
};

} // namespace kovra::calc
