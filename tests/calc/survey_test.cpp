#include "calc/survey.h"
#include "calc/survey_display.h"

#include "calc/decimal_separator.h"
#include "calc/rounding.h"
#include "calc/survey_test_support.h"
#include "shell/message_sink.h"
#include "shell/messages.h"
#include "store/codepage.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace kovra::calc;
using kovra::test::memory_survey_store;

namespace {

survey_line computed(std::string expression, double value = 0.0) { return {"", std::move(expression), value, 0}; }
survey_line comment(std::string expression) { return {"", std::move(expression), 0.0, 1}; }

// Every test answers the interpreter's questions from a script.
class Survey : public ::testing::Test {
protected:
  void SetUp() override {
    kovra::shell::set_message_sink(&sink);
    set_system_decimal_separator('.');
  }
  void TearDown() override {
    kovra::shell::set_message_sink(nullptr);
    reset_system_decimal_separator();
  }
  kovra::shell::recording_message_sink sink{kovra::shell::result_cancel};
};

} // namespace

TEST_F(Survey, VariablesCarryFromLineToLine) {
  survey_lines lines = {computed("a=2,5"), computed("a*4"), computed("a*2")};
  EXPECT_EQ(evaluate_survey(lines), 0);
  EXPECT_EQ(lines[0].value, 0.0);
  EXPECT_EQ(lines[1].value, 10.0);
  EXPECT_EQ(lines[2].value, 5.0);
  EXPECT_EQ(survey_total(lines), 15.0);
  EXPECT_TRUE(sink.requests().empty());
}

TEST_F(Survey, CommentLinesAreNotEvaluatedOrSummed) {
  survey_lines lines = {comment("12"), computed("3"), {"", "x=", 7.0, 2}};
  EXPECT_EQ(evaluate_survey(lines), 0);
  EXPECT_EQ(lines[0].value, 0.0);
  EXPECT_EQ(lines[2].value, 0.0);
  EXPECT_EQ(survey_total(lines), 3.0);
}

TEST_F(Survey, CancelMarksTheFailedLineAndTheTotalLeavesItOut) {
  survey_lines lines = {computed("2"), computed("1/0", 9.0), computed("5", 4.0)};
  sink.script({kovra::shell::result_cancel});
  EXPECT_EQ(evaluate_survey(lines), 2);
  ASSERT_EQ(sink.requests().size(), 1u);
  EXPECT_EQ(sink.requests()[0].text, "Dzielenie przez zero");
  EXPECT_EQ(sink.requests()[0].caption, "Błąd");
  EXPECT_TRUE(lines[1].failed());
  EXPECT_EQ(lines[1].value, 0.0);
  EXPECT_EQ(lines[2].value, 4.0);  // after the stop: the stored value stays
  EXPECT_EQ(survey_total(lines), 6.0);

  // Failing again: no second message, still marked.
  EXPECT_EQ(evaluate_survey(lines), 2);
  EXPECT_EQ(sink.requests().size(), 1u);
  EXPECT_TRUE(lines[1].failed());

  // Corrected: evaluated, unmarked, counted.
  lines[1].expression = "1/2";
  EXPECT_EQ(evaluate_survey(lines), 0);
  EXPECT_FALSE(lines[1].failed());
  EXPECT_EQ(lines[2].value, 5.0);
  EXPECT_EQ(survey_total(lines), 7.5);
}

TEST_F(Survey, RetryLeavesTheLineUnmarkedForCorrection) {
  survey_lines lines = {computed("1"), computed("sqrt(-4)")};
  sink.script({kovra::shell::result_ok});
  EXPECT_EQ(evaluate_survey(lines), -2);
  EXPECT_FALSE(lines[1].failed());
  EXPECT_EQ(lines[1].value, 0.0);
  EXPECT_EQ(sink.requests()[0].text, "Błędny argument funkcji: sqrt(-4.000000)");
}

TEST_F(Survey, NamesInMessagesAreShownInUtf8) {
  survey_lines lines = {computed(kovra::store::utf8_to_mazovia("długość*2"))};
  EXPECT_EQ(evaluate_survey(lines), 1);
  EXPECT_EQ(sink.requests()[0].text, "Niezdefiniowana zmienna: długość");
}

TEST_F(Survey, LinesKeepSixDecimalsAndTheTotalThePrecision) {
  survey_lines lines = {computed("1.005"), computed("1.005")};
  EXPECT_EQ(evaluate_survey(lines), 0);
  EXPECT_DOUBLE_EQ(round_by_code(survey_total(lines), 1), 2.01);
  survey_lines fine = {computed("0.0000004"), computed("0.0000004")};
  EXPECT_EQ(evaluate_survey(fine), 0);
  EXPECT_EQ(survey_total(fine), 0.0);  // each line is 0 to six decimals
}

TEST_F(Survey, EmptySurveyIsNoRecord) {
  memory_survey_store store;
  survey_lines none;
  EXPECT_EQ(survey_total(none), 0.0);
  auto saved = save_survey(store, none, -1);
  EXPECT_TRUE(saved.ok());
  EXPECT_EQ(saved.position, -1);
  EXPECT_TRUE(store.records.empty());
  // An existing record goes when its last line is removed.
  const auto first = save_survey(store, {computed("1")}, -1);
  ASSERT_TRUE(first.ok());
  EXPECT_EQ(store.records.size(), 1u);
  saved = save_survey(store, {survey_line{}}, first.position);  // only the typing line
  EXPECT_TRUE(saved.ok());
  EXPECT_EQ(saved.position, -1);
  EXPECT_TRUE(store.records.empty());
  auto loaded = load_survey(store, -1);
  EXPECT_TRUE(loaded.ok());
  EXPECT_TRUE(loaded.lines.empty());
}

TEST_F(Survey, SaveAndLoadRoundTrip) {
  memory_survey_store store;
  survey_lines lines = {{"ściana", "4*2,5", 10.0, 0}, comment("uwaga")};
  add_typing_line(lines);
  ASSERT_EQ(lines.size(), 3u);
  auto saved = save_survey(store, lines, -1);
  ASSERT_TRUE(saved.ok());
  auto loaded = load_survey(store, saved.position);
  ASSERT_TRUE(loaded.ok());
  lines.pop_back();
  EXPECT_EQ(loaded.lines, lines);

  lines[0].value = 11.0;
  store.move_on_rewrite = true;
  auto moved = save_survey(store, lines, saved.position);
  ASSERT_TRUE(moved.ok());
  EXPECT_NE(moved.position, saved.position);
  EXPECT_EQ(load_survey(store, moved.position).lines, lines);
}

TEST_F(Survey, TypingLineOnlyBelowAHundredLines) {
  survey_lines lines(99, computed("1"));
  add_typing_line(lines);
  EXPECT_EQ(lines.size(), 100u);
  add_typing_line(lines);
  EXPECT_EQ(lines.size(), 100u);
  drop_typing_line(lines);
  EXPECT_EQ(lines.size(), 99u);
  drop_typing_line(lines);  // a line with text stays
  EXPECT_EQ(lines.size(), 99u);
}

TEST_F(Survey, StoreFailuresAreReported) {
  memory_survey_store store;
  EXPECT_EQ(load_survey(store, -7).error, survey_io_error::bad_position);
  EXPECT_EQ(load_survey(store, 5000).error, survey_io_error::read_failed);
  store.records[200] = {0x05, 0x00, 'x'};
  const auto damaged = load_survey(store, 200);
  EXPECT_EQ(damaged.error, survey_io_error::bad_record);
  EXPECT_EQ(damaged.record.error, survey_record_error::bad_line_count);
  store.fail_writes = true;
  auto saved = save_survey(store, {computed("1")}, 200);
  EXPECT_EQ(saved.error, survey_io_error::write_failed);
  EXPECT_EQ(saved.position, 200);
  EXPECT_EQ(save_survey(store, {}, 200).error, survey_io_error::write_failed);
  store.fail_writes = false;
  saved = save_survey(store, {computed("1", std::nan(""))}, 200);
  EXPECT_EQ(saved.error, survey_io_error::bad_record);
  EXPECT_EQ(store.records[200].size(), 3u);  // untouched
}

TEST_F(Survey, ApplyWritesTheRoundedTotalIntoTheOwner) {
  memory_survey_store store;
  survey_owner owner;
  owner.kind = survey_owner_kind::position;
  survey_lines lines = {computed("1.004"), computed("2.0031")};
  int refreshed = 0;
  auto r = apply_survey(store, owner, lines, 1, [&] { ++refreshed; });
  EXPECT_TRUE(r.applied);
  EXPECT_DOUBLE_EQ(r.total, 3.0071);
  EXPECT_DOUBLE_EQ(owner.quantity, 3.01);
  EXPECT_EQ(owner.precision_code, 1);
  EXPECT_GE(owner.survey_position, 0);
  EXPECT_EQ(refreshed, 1);
  EXPECT_EQ(load_survey(store, owner.survey_position).lines, lines);

  survey_owner one_off;
  one_off.kind = survey_owner_kind::one_off;
  survey_lines units = {computed("2.6")};
  apply_survey(store, one_off, units, -3);
  EXPECT_EQ(one_off.quantity, 3.0);
  EXPECT_EQ(one_off.precision_code, 3);
}

TEST_F(Survey, ApplyWaitsWhenTheUserCorrects) {
  memory_survey_store store;
  survey_owner owner;
  owner.quantity = 7.0;
  survey_lines lines = {computed("1/0")};
  sink.script({kovra::shell::result_ok});
  int refreshed = 0;
  auto r = apply_survey(store, owner, lines, 1, [&] { ++refreshed; });
  EXPECT_EQ(r.evaluation, -1);
  EXPECT_FALSE(r.applied);
  EXPECT_EQ(owner.quantity, 7.0);
  EXPECT_EQ(refreshed, 0);
  EXPECT_TRUE(store.records.empty());
}

TEST_F(Survey, DisplayedValues) {
  survey_lines lines = {computed("a=2,5"), computed("a*4"), computed("a*2,0123")};
  ASSERT_EQ(evaluate_survey(lines), 0);
  EXPECT_EQ(survey_line_quantity_text(lines[0]), std::string(14, ' '));
  EXPECT_EQ(survey_line_quantity_text(lines[1]), "          10.0");
  EXPECT_EQ(survey_line_quantity_text(lines[2]), "       5.03075");
  EXPECT_TRUE(survey_line_is_assignment(lines[0]));
  EXPECT_FALSE(survey_line_is_assignment(lines[1]));
  EXPECT_FALSE(survey_line_shaded(lines[1], false));
  EXPECT_TRUE(survey_line_shaded(lines[1], true));
  EXPECT_TRUE(survey_line_shaded(comment("1"), false));
  EXPECT_TRUE(survey_line_shaded({"", "1/0", 0.0, 0x10}, false));

  const auto plain = survey_totals_for(lines, survey_owner_kind::position, 1);
  EXPECT_DOUBLE_EQ(plain.total, 15.03075);
  EXPECT_DOUBLE_EQ(plain.quantity, 15.03);
  EXPECT_EQ(plain.total_text, "         15.03");
  EXPECT_FALSE(plain.show_multiplier);

  const auto chapter = survey_totals_for(lines, survey_owner_kind::position, 1, 1.5, 1);
  EXPECT_TRUE(chapter.show_multiplier);
  EXPECT_EQ(chapter.multiplier_text, "          1.50");
  EXPECT_DOUBLE_EQ(chapter.multiplied, 22.5461);  // 22.546125 to four decimals
  EXPECT_EQ(chapter.multiplied_text, "       22.5461");
}

TEST_F(Survey, OneOffCountsMultiplyToWholeUnits) {
  survey_lines lines = {computed("3")};
  ASSERT_EQ(evaluate_survey(lines), 0);
  const auto t = survey_totals_for(lines, survey_owner_kind::one_off, 3, 1.5, 1);
  EXPECT_EQ(t.multiplied, 5.0);  // 4.5 makes 5 units
  EXPECT_EQ(t.multiplied_text, "             5");
  survey_lines negative = {computed("-3")};
  ASSERT_EQ(evaluate_survey(negative), 0);
  EXPECT_EQ(survey_totals_for(negative, survey_owner_kind::one_off, 3, 1.1, 2).multiplied, -4.0);
}
