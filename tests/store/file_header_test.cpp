#include "store/file_header.h"

#include <cstring>
#include <gtest/gtest.h>

using namespace kovra::store;

TEST(FileHeader, EncodesFieldsAtTheirOffsets) {
  file_header h = header_template();
  h.file_type = FILE_TYPE_ESTIMATE;
  h.revision = 0x0102;
  h.open_count = 3;
  h.flags = HEADER_COMPRESSED | 1;
  uint8_t bytes[file_header_size];
  encode_file_header(h, bytes);
  EXPECT_EQ(bytes[0], 'V');
  EXPECT_EQ(bytes[1], 'L');
  EXPECT_EQ(bytes[2], 2);
  EXPECT_EQ(bytes[3] | bytes[4] << 8, 800);
  EXPECT_EQ(bytes[5], 0x02);
  EXPECT_EQ(bytes[6], 0x01);
  EXPECT_EQ(bytes[7], 3);
  EXPECT_EQ(bytes[8], 0x81);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(bytes + 9)), "KOSZTORYS ");
  EXPECT_NE(std::string(reinterpret_cast<char*>(bytes + 28)).find("Vorlanda"), std::string::npos);

  file_header back = decode_file_header(bytes);
  EXPECT_EQ(back.revision, 0x0102);
  EXPECT_EQ(back.kind(), 1);
  EXPECT_TRUE(back.compressed());
  EXPECT_TRUE(back.magic_ok());
}

TEST(FileHeader, TemplateStampTakesVersionTextAndMinor) {
  stamp_header_template("v.8.09", 9);
  EXPECT_STREQ(header_template().label.data(), "KOSZTORYS v.8.09");
  EXPECT_EQ(header_template().revision, 9);
  // Never below the revision of the records this program writes.
  stamp_header_template("v.8.01", 1);
  EXPECT_EQ(header_template().revision, FORMAT_REVISION);
  reset_header_template();
  EXPECT_STREQ(header_template().label.data(), "KOSZTORYS ");
  EXPECT_EQ(header_template().revision, FORMAT_REVISION);
}

TEST(FileHeader, DescriptionWrapsIntoFourLinesAndJoinsBack) {
  file_header h;
  std::string words;
  for (int i = 0; i < 40; ++i) words += "slowo" + std::to_string(i) + " ";
  set_header_description(h, "ab\r\ncd");
  EXPECT_EQ(header_description(h), "ab cd");

  set_header_description(h, words);
  for (int line = 0; line < 4; ++line) {
    const char* p = h.description.data() + line * 56;
    EXPECT_LE(strnlen(p, 56), 55u);
    EXPECT_GT(strnlen(p, 56), 0u);
  }
  // Lines are joined with one blank; the words that did not fit are gone.
  std::string back = header_description(h);
  EXPECT_EQ(back.rfind("slowo0 slowo1 ", 0), 0u);
  EXPECT_EQ(back.find("  "), std::string::npos);

  // A first line without terminator is read as one 224-byte text.
  h.description.fill('x');
  EXPECT_EQ(header_description(h), std::string(224, 'x'));
}
