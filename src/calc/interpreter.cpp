#include "calc/interpreter.h"

#include "shell/message_sink.h"
#include "shell/messages.h"
#include "store/codepage.h"

#include <cerrno>
#include <cfenv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <locale.h>

namespace kovra::calc {
namespace {

using tk = interp_token_kind;

constexpr double pi = 3.141592653589793;

[[noreturn]] void fail(uint8_t code, std::string text = {}, double argument = 0.0) {
  throw VL_interp_error{code, std::move(text), argument};
}

bool is_letter(char c) {
  const auto u = static_cast<unsigned char>(c);
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || u >= 128;
}
bool is_digit(char c) { return c >= '0' && c <= '9'; }
bool is_name_char(char c) { return is_letter(c) || is_digit(c) || c == '_' || c == '[' || c == ']'; }

// Arithmetic that overflows or has no value (inf − inf) is a fault of the expression.
double checked(double v) {
  if (!std::isfinite(v)) fail(interp_unknown_error);
  return v;
}

// A library function's domain, singularity or overflow error is code 8. Both the error
// indicators and the result are checked, so the outcome does not depend on whether the
// compiler kept errno handling.
constexpr int library_faults = FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW;

double library_call(const char* name, double (*f)(double), double x) {
  errno = 0;
  std::feclearexcept(FE_ALL_EXCEPT);
  const double r = f(x);
  if (errno == EDOM || std::fetestexcept(library_faults) || !std::isfinite(r)) fail(interp_bad_argument, name, x);
  return r;
}

double library_pow(double base, double exponent) {
  errno = 0;
  std::feclearexcept(FE_ALL_EXCEPT);
  const double r = std::pow(base, exponent);
  if (errno == EDOM || std::fetestexcept(library_faults) || !std::isfinite(r)) fail(interp_bad_argument, "pow", base);
  return r;
}

double lib_sqrt(double x) { return std::sqrt(x); }
double lib_sin(double x) { return std::sin(x); }
double lib_cos(double x) { return std::cos(x); }
double lib_tan(double x) { return std::tan(x); }

// Numbers are read in the "C" locale whatever locale the program runs in.
locale_t c_locale() {
  static locale_t loc = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  return loc;
}

struct nesting_guard {
  int& depth;
  explicit nesting_guard(int& d) : depth(d) {
    if (++depth > interp_max_nesting) {
      --depth;
      fail(interp_syntax);
    }
  }
  ~nesting_guard() { --depth; }
};

} // namespace

// ---- lexer ----

void VL_simp_intprt::push_back() {
  pushed_ = token_;
  pushed_flag_ = 1;
}

void VL_simp_intprt::next_token() {
  if (pushed_flag_) {
    token_ = pushed_;
    pushed_flag_ = 0;
    return;
  }
  while (*cursor_ == ' ') ++cursor_;
  token_.name[0] = '\0';
  token_.number = 0.0;
  const char c = *cursor_;
  switch (c) {
  case '\0': token_.kind = tk::end; return;
  case '+': token_.kind = tk::plus; ++cursor_; return;
  case '-': token_.kind = tk::minus; ++cursor_; return;
  case '/': token_.kind = tk::divide; ++cursor_; return;
  case '*':
    ++cursor_;
    if (*cursor_ == '*') {
      ++cursor_;
      token_.kind = tk::power;
    } else {
      token_.kind = tk::times;
    }
    return;
  case '^': token_.kind = tk::power; ++cursor_; return;
  case '%': token_.kind = tk::percent; ++cursor_; return;
  case '=': token_.kind = tk::assign; ++cursor_; return;
  case ';': token_.kind = tk::separator; ++cursor_; return;
  case '(': token_.kind = tk::open; ++cursor_; return;
  case ')': token_.kind = tk::close; ++cursor_; return;
  default: break;
  }
  if (is_letter(c)) return read_name();
  if (is_digit(c) || c == '.' || c == ',') return read_number();
  fail(interp_unknown_operator, std::string(1, c));
}

void VL_simp_intprt::read_name() {
  const char* start = cursor_;
  while (is_name_char(*cursor_)) ++cursor_;
  const std::size_t length = static_cast<std::size_t>(cursor_ - start);
  if (length >= interp_scratch_size) fail(interp_syntax);
  struct { const char* name; tk kind; } static const functions[] = {
      {"sqrt", tk::fn_sqrt}, {"sin", tk::fn_sin}, {"cos", tk::fn_cos}, {"tan", tk::fn_tan}, {"ctan", tk::fn_ctan}};
  for (const auto& f : functions) {
    if (std::strlen(f.name) == length && std::memcmp(f.name, start, length) == 0) {
      token_.kind = f.kind;
      std::memcpy(token_.name, start, length);
      token_.name[length] = '\0';
      return;
    }
  }
  token_.kind = tk::identifier;
  const std::size_t kept = length < interp_name_length ? length : interp_name_length;
  std::memcpy(token_.name, start, kept);
  token_.name[kept] = '\0';
}

void VL_simp_intprt::read_number() {
  char scratch[interp_scratch_size];
  std::size_t n = 0;
  auto append = [&](char c) {
    if (n + 1 >= interp_scratch_size) fail(interp_syntax);
    scratch[n++] = c;
  };
  bool separator_seen = false;
  for (;; ++cursor_) {
    const char c = *cursor_;
    if (is_digit(c)) {
      append(c);
    } else if (c == '.' || c == ',') {
      if (separator_seen) fail(interp_syntax);
      separator_seen = true;
      append('.');
    } else if (c != ' ') {
      break;
    }
  }
  if (*cursor_ == 'e' || *cursor_ == 'E') {
    append('e');
    ++cursor_;
    if (*cursor_ == '+' || *cursor_ == '-') append(*cursor_++);
    if (!is_digit(*cursor_)) fail(interp_syntax);
    while (is_digit(*cursor_)) append(*cursor_++);
  }
  scratch[n] = '\0';
  char* end = nullptr;
  const double v = strtod_l(scratch, &end, c_locale());
  if (end != scratch + n) fail(interp_syntax);  // a separator with no digits
  token_.kind = tk::number;
  token_.number = checked(v);
}

// ---- grammar ----

double VL_simp_intprt::program() {
  next_token();
  double v = statement();
  while (token_.kind == tk::separator) {
    next_token();
    v = statement();
  }
  if (token_.kind != tk::end) fail(interp_syntax);
  return v;
}

double VL_simp_intprt::statement() {
  if (token_.kind == tk::end) return 0.0;
  if (token_.kind == tk::identifier) {
    const interp_token identifier = token_;
    next_token();
    if (token_.kind == tk::assign) {
      next_token();
      const double v = expression();
      variables_.set_variable(identifier.name, v);
      return 0.0;
    }
    push_back();
    token_ = identifier;
  }
  return expression();
}

double VL_simp_intprt::expression() {
  double v = term();
  while (token_.kind == tk::plus || token_.kind == tk::minus) {
    const bool add = token_.kind == tk::plus;
    next_token();
    const double r = term();
    v = checked(add ? v + r : v - r);
  }
  return v;
}

double VL_simp_intprt::term() {
  double v = power();
  if (token_.kind == tk::percent) {
    next_token();
    if (token_.kind == tk::times) {
      v *= 0.01;
    } else {
      push_back();
      token_.kind = tk::percent;  // stays current: ends the term, rejected by the caller
    }
  }
  while (token_.kind == tk::times || token_.kind == tk::divide) {
    const bool multiply = token_.kind == tk::times;
    next_token();
    double r = power();
    if (multiply) {
      if (token_.kind == tk::percent) {
        r *= 0.01;
        next_token();
      }
      v = checked(v * r);
    } else {
      if (r == 0.0) fail(interp_division_by_zero);
      v = checked(v / r);
    }
  }
  return v;
}

double VL_simp_intprt::power() {
  nesting_guard guard(depth_);
  const double base = factor();
  if (token_.kind != tk::power) return base;
  next_token();
  const double exponent = power();
  return library_pow(base, exponent);
}

double VL_simp_intprt::factor() {
  if (token_.kind != tk::open) return primary();
  next_token();
  const double v = expression();
  if (token_.kind != tk::close) fail(interp_missing_close);
  next_token();
  return v;
}

double VL_simp_intprt::primary() {
  nesting_guard guard(depth_);
  switch (token_.kind) {
  case tk::minus:
  case tk::plus: {
    const bool negate = token_.kind == tk::minus;
    next_token();
    double v;
    switch (token_.kind) {
    case tk::fn_sqrt: case tk::fn_sin: case tk::fn_cos: case tk::fn_tan: case tk::fn_ctan:
    case tk::identifier: case tk::number:
      v = primary();
      break;
    case tk::open:
      v = power();
      break;
    default:
      fail(interp_syntax);
    }
    return negate && v != 0.0 ? -v : v;
  }
  case tk::number: {
    const double v = token_.number;
    next_token();
    return v;
  }
  case tk::identifier: {
    double v = 0.0;
    if (!variables_.get_variable(token_.name, v)) fail(interp_undefined_variable, token_.name);
    next_token();
    return v;
  }
  case tk::fn_sqrt: case tk::fn_sin: case tk::fn_cos: case tk::fn_tan: case tk::fn_ctan:
    return function(token_.kind);
  default:
    fail(interp_syntax);
  }
}

double VL_simp_intprt::function(interp_token_kind fn) {
  next_token();
  if (token_.kind != tk::open) fail(interp_missing_open);
  next_token();
  const double x = expression();
  if (token_.kind != tk::close) fail(interp_missing_close);
  next_token();
  const double radians = x * pi / 180.0;
  switch (fn) {
  case tk::fn_sqrt: return library_call("sqrt", lib_sqrt, x);
  case tk::fn_sin: return library_call("sin", lib_sin, radians);
  case tk::fn_cos: return library_call("cos", lib_cos, radians);
  case tk::fn_tan: return library_call("tan", lib_tan, radians);
  default: return checked(1.0 / library_call("tan", lib_tan, radians));
  }
}

bool VL_simp_intprt::evaluate(const char* text, double& out) {
  error_ = VL_interp_error{};
  pushed_flag_ = 0;
  depth_ = 0;
  text_ = text ? text : "";
  cursor_ = text_;
  try {
    const double v = program();
    out = v + 0.0;  // never hand out a negative zero
    return true;
  } catch (const VL_interp_error& e) {
    error_ = e;
  } catch (...) {
    error_ = VL_interp_error{interp_unknown_error, {}, 0.0};
  }
  return false;
}

// ---- handle ----

VL_simp_interpret::VL_simp_interpret() : impl_(std::make_unique<VL_simp_intprt>()) {}
VL_simp_interpret::~VL_simp_interpret() = default;

bool VL_simp_interpret::evaluate(const char* text, double& out) { return impl_->evaluate(text, out); }

void VL_simp_interpret::error_text(char* buffer, std::size_t size) const {
  if (!internal_texts_) return format_interp_error(impl_->last_error(), buffer, size);
  VL_interp_error shown = impl_->last_error();
  shown.text = store::mazovia_to_utf8(shown.text);
  format_interp_error(shown, buffer, size);
}

int VL_simp_interpret::report_error(int style) const {
  char text[512];
  error_text(text, sizeof text);
  shell::message_request r;
  r.number = -1;  // not a catalogue message
  r.icon = shell::msg_icon::error;
  r.topmost = true;
  r.caption = "Błąd";
  r.text = text;
  if (style == interp_box_retry_cancel) {
    r.buttons = shell::msg_buttons::ok_cancel;
    r.choice = true;
    r.first_button = "Ponów";
    r.second_button = "Anuluj";
    const int answer = shell::current_message_sink().ask(r);
    return answer == shell::result_ok ? interp_answer_retry : interp_answer_cancel;
  }
  r.buttons = shell::msg_buttons::ok;
  shell::current_message_sink().ask(r);
  return interp_answer_ok;
}

} // namespace kovra::calc
