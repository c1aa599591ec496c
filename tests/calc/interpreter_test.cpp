#include "calc/interpreter.h"

#include "shell/message_sink.h"
#include "shell/messages.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

using namespace kovra::calc;

namespace {

struct outcome {
  bool ok;
  double value;
  int code;
  std::string text;  // the error's text field
};

outcome run(VL_simp_interpret& in, const std::string& text) {
  double v = -12345.0;
  const bool ok = in.evaluate(text.c_str(), v);
  return {ok, v, in.error_code(), in.last_error().text};
}

outcome run(const std::string& text) {
  VL_simp_interpret in;
  return run(in, text);
}

double value_of(const std::string& text) {
  const outcome o = run(text);
  EXPECT_TRUE(o.ok) << text << " failed with code " << o.code;
  return o.value;
}

int code_of(const std::string& text) {
  const outcome o = run(text);
  EXPECT_FALSE(o.ok) << text << " gave " << o.value;
  EXPECT_EQ(o.value, -12345.0) << "out written on failure for " << text;
  return o.code;
}

std::string message(VL_simp_interpret& in) {
  char buffer[512];
  in.error_text(buffer, sizeof buffer);
  return buffer;
}

} // namespace

TEST(Interpreter, EmptyAndBlankTextsAreZero) {
  EXPECT_EQ(value_of(""), 0.0);
  EXPECT_EQ(value_of("    "), 0.0);
  VL_simp_interpret in;
  double v = 1.0;
  EXPECT_TRUE(in.evaluate(nullptr, v));
  EXPECT_EQ(v, 0.0);
}

TEST(Interpreter, OperatorsAndPrecedence) {
  EXPECT_EQ(value_of("2+3*4"), 14.0);
  EXPECT_EQ(value_of("2^3^2"), 512.0);
  EXPECT_EQ(value_of("2**3"), 8.0);
  EXPECT_EQ(value_of("7-2-1"), 4.0);
  EXPECT_EQ(value_of("8/2/2"), 2.0);
  EXPECT_EQ(value_of("(2+3)*4"), 20.0);
  EXPECT_EQ(value_of(" 2 * ( 3 + 1 ) "), 8.0);
}

TEST(Interpreter, Signs) {
  EXPECT_EQ(value_of("-2^2"), 4.0);
  EXPECT_EQ(value_of("-(2)^2"), -4.0);
  EXPECT_EQ(value_of("2*-3"), -6.0);
  EXPECT_EQ(value_of("2--3"), 5.0);
  EXPECT_EQ(code_of("--2"), interp_syntax);
  EXPECT_EQ(code_of("-+2"), interp_syntax);
  EXPECT_EQ(value_of("+5"), 5.0);
  const double zero = value_of("-0");
  EXPECT_EQ(zero, 0.0);
  EXPECT_FALSE(std::signbit(zero));
  EXPECT_FALSE(std::signbit(value_of("0*-3")));
  EXPECT_EQ(value_of("-sqrt(4)"), -2.0);
}

TEST(Interpreter, NumberForms) {
  EXPECT_EQ(value_of("1,5*2"), 3.0);
  EXPECT_EQ(value_of(",5"), 0.5);
  EXPECT_EQ(value_of(".5"), 0.5);
  EXPECT_EQ(value_of("1 000,25"), 1000.25);
  EXPECT_EQ(value_of("1 250,5"), 1250.5);
  EXPECT_EQ(value_of("2 3"), 23.0);
  EXPECT_EQ(code_of("1,2,3"), interp_syntax);
  EXPECT_EQ(code_of("1.2,3"), interp_syntax);
  EXPECT_EQ(code_of("."), interp_syntax);
  EXPECT_EQ(value_of("1e3"), 1000.0);
  EXPECT_DOUBLE_EQ(value_of("2E-2"), 0.02);
  EXPECT_EQ(value_of("1.5e+2"), 150.0);
  EXPECT_EQ(code_of("1e"), interp_syntax);
  EXPECT_EQ(code_of("1e+"), interp_syntax);
  EXPECT_EQ(code_of("1e 3"), interp_syntax);  // exponent digits do not skip spaces
  EXPECT_EQ(value_of("1e-400"), 0.0);         // underflow is a plain zero
}

TEST(Interpreter, DivisionByZero) {
  EXPECT_EQ(code_of("10/0"), interp_division_by_zero);
  EXPECT_EQ(code_of("10/(1-1)"), interp_division_by_zero);
  VL_simp_interpret in;
  run(in, "10/0");
  EXPECT_EQ(message(in), "Dzielenie przez zero");
}

TEST(Interpreter, Percent) {
  EXPECT_EQ(value_of("50%*20"), 10.0);
  EXPECT_EQ(value_of("20*50%"), 10.0);
  EXPECT_EQ(value_of("50%*200"), 100.0);
  EXPECT_EQ(value_of("200*50%"), 100.0);
  EXPECT_EQ(value_of("200*50%*2"), 200.0);
  EXPECT_EQ(code_of("50%"), interp_syntax);
  EXPECT_EQ(code_of("200/50%"), interp_syntax);
  EXPECT_EQ(code_of("(50%)"), interp_missing_close);
}

TEST(Interpreter, VariablesPersistAndIgnoreCase) {
  VL_simp_interpret in;
  outcome o = run(in, "a=3;a*2");
  EXPECT_TRUE(o.ok);
  EXPECT_EQ(o.value, 6.0);
  EXPECT_EQ(run(in, "a").value, 3.0);
  EXPECT_EQ(run(in, "A").value, 3.0);
  EXPECT_EQ(run(in, "a=3").value, 0.0);
  EXPECT_EQ(run(in, "a*2;").value, 0.0);
  EXPECT_EQ(run(in, "a=5;a*2").value, 10.0);
  EXPECT_EQ(run(in, "L[1]=2;l[1]*3").value, 6.0);
  EXPECT_EQ(run(in, "dł_1=4;dł_1").value, 4.0);  // letters from 128 up
  double v = 0;
  EXPECT_TRUE(in.get_variable("a", v));
  EXPECT_EQ(v, 5.0);
  EXPECT_EQ(in.variables().size(), 3u);
}

TEST(Interpreter, VariablesSurviveAFailure) {
  VL_simp_interpret in;
  EXPECT_FALSE(run(in, "b=7;b/0").ok);
  EXPECT_EQ(in.error_code(), interp_division_by_zero);
  EXPECT_EQ(run(in, "b").value, 7.0);
  EXPECT_EQ(in.error_code(), 0);  // each evaluate starts clean
}

TEST(Interpreter, LongNamesAreCutTo32) {
  VL_simp_interpret in;
  const std::string name32(32, 'x');
  EXPECT_TRUE(run(in, name32 + "a=1").ok);
  EXPECT_TRUE(run(in, name32 + "b=2").ok);
  EXPECT_EQ(run(in, name32).value, 2.0);
  EXPECT_EQ(in.variables().size(), 1u);
}

TEST(Interpreter, UndefinedVariable) {
  VL_simp_interpret in;
  outcome o = run(in, "x");
  EXPECT_FALSE(o.ok);
  EXPECT_EQ(o.code, interp_undefined_variable);
  EXPECT_EQ(o.text, "x");
  EXPECT_EQ(message(in), "Niezdefiniowana zmienna: x");
}

TEST(Interpreter, Functions) {
  EXPECT_EQ(value_of("sqrt(16)"), 4.0);
  EXPECT_NEAR(value_of("sin(30)"), 0.5, 1e-15);
  EXPECT_NEAR(value_of("cos(60)"), 0.5, 1e-15);
  EXPECT_NEAR(value_of("tan(45)"), 1.0, 1e-15);
  EXPECT_NEAR(value_of("ctan(45)"), 1.0, 1e-15);
  EXPECT_EQ(value_of("sqrt(2*8)+1"), 5.0);
  outcome upper = run("SQRT(16)");
  EXPECT_EQ(upper.code, interp_undefined_variable);
  EXPECT_EQ(upper.text, "SQRT");
  EXPECT_EQ(code_of("sqrt 16"), interp_missing_open);
  EXPECT_EQ(code_of("sqrt(16"), interp_missing_close);
  EXPECT_EQ(code_of("(2+3"), interp_missing_close);
}

TEST(Interpreter, LibraryErrorsAreCode8) {
  VL_simp_interpret in;
  outcome o = run(in, "sqrt(-1)");
  EXPECT_EQ(o.code, interp_bad_argument);
  EXPECT_EQ(o.text, "sqrt");
  EXPECT_EQ(message(in), "Błędny argument funkcji: sqrt(-1.000000)");
  run(in, "(-8)^(1/3)");
  EXPECT_EQ(in.error_code(), interp_bad_argument);
  EXPECT_EQ(message(in), "Błędny argument funkcji: pow(-8.000000)");
  EXPECT_EQ(code_of("0^(-1)"), interp_bad_argument);
  EXPECT_EQ(code_of("10^400"), interp_bad_argument);
  EXPECT_EQ(value_of("10^(-400)"), 0.0);
}

TEST(Interpreter, ArithmeticOverflowIsCode9) {
  EXPECT_EQ(code_of("1e308*10"), interp_unknown_error);
  EXPECT_EQ(code_of("1e308+1e308"), interp_unknown_error);
  EXPECT_EQ(code_of("1e308/1e-10"), interp_unknown_error);
  EXPECT_EQ(code_of("1e999"), interp_unknown_error);
  EXPECT_EQ(code_of("ctan(0)"), interp_unknown_error);
  VL_simp_interpret in;
  run(in, "1e999");
  EXPECT_EQ(message(in), "Nieznany błąd w wyrażeniu");
}

TEST(Interpreter, UnknownCharacters) {
  VL_simp_interpret in;
  outcome o = run(in, "2#3");
  EXPECT_EQ(o.code, interp_unknown_operator);
  EXPECT_EQ(o.text, "#");
  EXPECT_EQ(message(in), "Nieznany operator arytmetyczny: #");
  EXPECT_EQ(code_of("2\t+3"), interp_unknown_operator);
}

TEST(Interpreter, TextLeftAfterAStatement) {
  EXPECT_EQ(code_of("2(3)"), interp_syntax);
  EXPECT_EQ(code_of("a=2 b=3"), interp_syntax);
  EXPECT_EQ(code_of("2)"), interp_syntax);
  EXPECT_EQ(code_of("1;;2"), interp_syntax);
  EXPECT_EQ(code_of("="), interp_syntax);
  EXPECT_EQ(code_of("a="), interp_syntax);
  EXPECT_EQ(value_of("1;2;3"), 3.0);
}

TEST(Interpreter, ScratchLimitRefusesLongTokens) {
  EXPECT_EQ(value_of(std::string(250, '1') + "e-240"), std::stod(std::string(250, '1') + "e-240"));
  EXPECT_EQ(value_of(std::string(259, '0')), 0.0);
  EXPECT_EQ(code_of(std::string(260, '0')), interp_syntax);
  EXPECT_EQ(code_of(std::string(259, 'a')), interp_undefined_variable);
  EXPECT_EQ(code_of(std::string(260, 'a')), interp_syntax);
  EXPECT_EQ(code_of(std::string(300, '1')), interp_syntax);
  EXPECT_EQ(code_of(std::string(300, 'a')), interp_syntax);
  EXPECT_EQ(code_of(std::string(10000, '9')), interp_syntax);
}

TEST(Interpreter, DeepNestingIsASyntaxError) {
  const int n = interp_max_nesting / 2;
  EXPECT_EQ(value_of(std::string(n, '(') + "1" + std::string(n, ')')), 1.0);
  const std::string deep = std::string(100000, '(') + "1" + std::string(100000, ')');
  EXPECT_EQ(code_of(deep), interp_syntax);
  std::string powers = "2";
  for (int i = 0; i < 5000; ++i) powers += "^1";
  EXPECT_EQ(code_of(powers), interp_syntax);
  std::string signs;
  for (int i = 0; i < 5000; ++i) signs += "-(";
  EXPECT_EQ(code_of(signs + "1"), interp_syntax);
}

TEST(Interpreter, ErrorTextIsTruncatedAndTerminated) {
  VL_simp_interpret in;
  run(in, "zmienna");
  char small[8];
  in.error_text(small, sizeof small);
  EXPECT_EQ(std::string(small), "Niezdef");
  char none[1] = {'x'};
  in.error_text(none, 1);
  EXPECT_EQ(none[0], '\0');
  run(in, "1");
  in.error_text(small, sizeof small);
  EXPECT_EQ(std::string(small), "");
  EXPECT_STREQ(interp_message(3), "Nieznana funkcja: %s");
  EXPECT_STREQ(interp_message(10), "Redefiniowana zmienna: %s");
  EXPECT_STREQ(interp_message(11), "");
}

TEST(Interpreter, ReportErrorGoesThroughTheMessageSink) {
  kovra::shell::recording_message_sink sink;
  kovra::shell::set_message_sink(&sink);
  VL_simp_interpret in;
  run(in, "1/0");
  sink.script({kovra::shell::result_ok, kovra::shell::result_cancel});
  EXPECT_EQ(in.report_error(interp_box_retry_cancel), interp_answer_retry);
  EXPECT_EQ(in.report_error(interp_box_retry_cancel), interp_answer_cancel);
  EXPECT_EQ(in.report_error(interp_box_ok), interp_answer_ok);
  ASSERT_EQ(sink.requests().size(), 3u);
  const auto& r = sink.requests()[0];
  EXPECT_EQ(r.caption, "Błąd");
  EXPECT_EQ(r.text, "Dzielenie przez zero");
  EXPECT_EQ(r.icon, kovra::shell::msg_icon::error);
  EXPECT_TRUE(r.choice);
  EXPECT_EQ(sink.requests()[2].buttons, kovra::shell::msg_buttons::ok);
  kovra::shell::set_message_sink(nullptr);
}

TEST(Interpreter, ArgumentShownWithAPointInAnyLocale) {
  VL_interp_error e{interp_bad_argument, "pow", -2.5};
  char buffer[128];
  format_interp_error(e, buffer, sizeof buffer);
  EXPECT_EQ(std::string(buffer), "Błędny argument funkcji: pow(-2.500000)");
  format_interp_error(e, buffer, 20);
  EXPECT_EQ(std::string(buffer), "Błędny argument f");  // 19 bytes, "ę" counts two
}
