#include "store/document_texts.h"

#include "store/codepage.h"

#include <gtest/gtest.h>

using namespace kovra::store;

TEST(DocumentTexts, SampleTextsInBothForms) {
  EXPECT_STREQ(document_text_utf8(0), "K O S Z T O R Y S");
  EXPECT_EQ(document_text(1), "O R Y G I N A \x9C");  // Ł in Mazovia
  EXPECT_STREQ(document_text_utf8(4), "Każde następne [km]");
  EXPECT_EQ(document_text(4), "Ka\xA7" "de nast\x91pne [km]");
  EXPECT_STREQ(document_text_utf8(54), "       Data: ");
  EXPECT_STREQ(document_text_utf8(99), ". Ceny materiałów");
  EXPECT_STREQ(document_text_utf8(125), "K O S Z T Y   B E Z P O Ś R E D N I E");
}

TEST(DocumentTexts, TextWithLineFeedKeepsIt) {
  EXPECT_EQ(document_text(47), "K A L K U L A C J E   S Z C Z E G \xA3 \x9C O W E\nC E N   J E D N O S T K O W Y C H");
}

TEST(DocumentTexts, EmptyTextsAndNumbersOutsideTheTable) {
  for (int n : {12, 30, 32, 44, 97}) {
    EXPECT_EQ(document_text(n), "") << n;
    EXPECT_STREQ(document_text_utf8(n), "") << n;
  }
  EXPECT_EQ(document_text(-1), "");
  EXPECT_EQ(document_text(126), "");
  EXPECT_STREQ(document_text_utf8(126), "");
}

TEST(DocumentTexts, EveryTextSurvivesTheConversionToMazovia) {
  int non_empty = 0;
  for (int n = 0; n < document_text_count; ++n) {
    EXPECT_EQ(mazovia_to_utf8(document_text(n)), document_text_utf8(n)) << n;
    EXPECT_EQ(document_text(n).find('?'), std::string::npos) << n;
    non_empty += !document_text(n).empty();
  }
  EXPECT_EQ(non_empty, 121);
}
