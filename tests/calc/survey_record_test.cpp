#include "calc/survey_record.h"

#include "store/codepage.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

using namespace kovra::calc;

namespace {

survey_line line(std::string description, std::string expression, double value, uint8_t flags = 0) {
  return {std::move(description), std::move(expression), value, flags};
}

std::vector<uint8_t> encoded(const survey_lines& lines) {
  std::vector<uint8_t> out;
  EXPECT_TRUE(encode_survey_record(lines, out).ok());
  return out;
}

} // namespace

TEST(SurveyRecord, PackedLittleEndianLayout) {
  const std::vector<uint8_t> bytes = encoded({line("A", "2*3", 6.0, 0x10)});
  const std::vector<uint8_t> expected = {
      0x01, 0x00,                                      // one line
      'A', 0x00, '2', '*', '3', 0x00,                  // texts
      0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x18, 0x40,  // 6.0
      0x10};                                           // failed
  EXPECT_EQ(bytes, expected);
}

TEST(SurveyRecord, RoundTripKeepsMazoviaTextsValuesAndFlags) {
  const std::string polish = kovra::store::utf8_to_mazovia("Ściana działowa łazienki");
  const survey_lines lines = {line(polish, "dł=2,5", 0.0), line("", kovra::store::utf8_to_mazovia("dł*4"), 10.0),
                              line("uwaga", "12", 0.0, 1), line("", "1/0", 0.0, 0x10),
                              line(std::string(3000, 'x'), "", -1.25e-7, 0xFF)};
  const std::vector<uint8_t> bytes = encoded(lines);
  survey_lines back;
  ASSERT_TRUE(decode_survey_record(bytes.data(), bytes.size(), back).ok());
  EXPECT_EQ(back, lines);
  EXPECT_EQ(kovra::store::mazovia_to_utf8(back[0].description), "Ściana działowa łazienki");
}

TEST(SurveyRecord, EmptyListIsJustTheCount) {
  const std::vector<uint8_t> bytes = encoded({});
  EXPECT_EQ(bytes, (std::vector<uint8_t>{0, 0}));
  survey_lines back = {line("x", "1", 1)};
  EXPECT_TRUE(decode_survey_record(bytes.data(), bytes.size(), back).ok());
  EXPECT_TRUE(back.empty());
}

TEST(SurveyRecord, EveryTruncationIsRefused) {
  const std::vector<uint8_t> bytes = encoded({line("opis", "a=1", 0.0), line("", "a*2", 2.0)});
  for (std::size_t n = 0; n < bytes.size(); ++n) {
    survey_lines back;
    const auto status = decode_survey_record(bytes.data(), n, back);
    EXPECT_FALSE(status.ok()) << n;
    EXPECT_TRUE(back.empty());
  }
  survey_lines back;
  EXPECT_EQ(decode_survey_record(nullptr, 0, back).error, survey_record_error::truncated);
}

TEST(SurveyRecord, BadCountsAndValues) {
  survey_lines back;
  const uint8_t negative[] = {0xFF, 0xFF};
  EXPECT_EQ(decode_survey_record(negative, sizeof negative, back).error, survey_record_error::bad_line_count);
  const uint8_t huge[] = {0xFF, 0x7F, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  EXPECT_EQ(decode_survey_record(huge, sizeof huge, back).error, survey_record_error::bad_line_count);
  std::vector<uint8_t> bytes = encoded({line("", "1", 1.0)});
  const double nan_value = std::numeric_limits<double>::quiet_NaN();
  std::memcpy(bytes.data() + 5, &nan_value, 8);
  const auto status = decode_survey_record(bytes.data(), bytes.size(), back);
  EXPECT_EQ(status.error, survey_record_error::not_a_number);
  EXPECT_EQ(status.line, 1);
  EXPECT_EQ(status.offset, 5u);
}

TEST(SurveyRecord, BytesAfterTheLastLineAreIgnored) {
  std::vector<uint8_t> bytes = encoded({line("a", "1", 1.0)});
  bytes.insert(bytes.end(), 20, 0xAB);
  survey_lines back;
  ASSERT_TRUE(decode_survey_record(bytes.data(), bytes.size(), back).ok());
  EXPECT_EQ(back, survey_lines{line("a", "1", 1.0)});
}

TEST(SurveyRecord, EncodingRefusesWhatCannotBeStored) {
  std::vector<uint8_t> out;
  EXPECT_EQ(encode_survey_record({line("", "1", std::numeric_limits<double>::infinity())}, out).error,
            survey_record_error::not_a_number);
  EXPECT_EQ(encode_survey_record({line("", "1", std::nan(""))}, out).error, survey_record_error::not_a_number);
  EXPECT_EQ(encode_survey_record({line(std::string("a\0b", 3), "1", 1.0)}, out).error,
            survey_record_error::text_with_nul);
  EXPECT_TRUE(out.empty());
  survey_lines many(survey_max_lines + 1);
  EXPECT_EQ(encode_survey_record(many, out).error, survey_record_error::too_many_lines);
  many.pop_back();
  EXPECT_TRUE(encode_survey_record(many, out).ok());
  survey_lines back;
  ASSERT_TRUE(decode_survey_record(out.data(), out.size(), back).ok());
  EXPECT_EQ(back.size(), survey_max_lines);
}
