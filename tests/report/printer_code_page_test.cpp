// The code pages of character printers, checked against the system's iconv.
#include "report/printer_code_page.h"
#include "store/codepage.h"

#include <gtest/gtest.h>
#include <iconv.h>

using namespace kovra::report;

namespace {

const char* const polish_utf8 = "ąćęłńóśźżĄĆĘŁŃÓŚŹŻ";

std::string iconv_to(const char* to, const std::string& utf8) {
  iconv_t cd = iconv_open(to, "UTF-8");
  std::string in = utf8, out(64, '\0');
  char* ip = in.data();
  char* op = out.data();
  size_t il = in.size(), ol = out.size();
  iconv(cd, &ip, &il, &op, &ol);
  iconv_close(cd);
  out.resize(out.size() - ol);
  return out;
}

std::string through(const code_page_table& t, const std::string& bytes) {
  std::string out;
  for (char c : bytes) out += char(translate_byte(t, static_cast<unsigned char>(c)));
  return out;
}

} // namespace

TEST(PrinterCodePage, PolishLettersInEachCodePage) {
  const std::string mazovia = kovra::store::utf8_to_mazovia(polish_utf8);
  EXPECT_EQ(through(code_page(CODE_PAGE_ASCII), mazovia), "acelnoszzACELNOSZZ");
  EXPECT_EQ(through(code_page(CODE_PAGE_MAZOVIA), mazovia), mazovia);
  EXPECT_EQ(through(code_page(CODE_PAGE_LATIN2), mazovia), iconv_to("CP852", polish_utf8));
  EXPECT_EQ(through(code_page(CODE_PAGE_WIN_ANSI), mazovia), iconv_to("CP1250", polish_utf8));
  EXPECT_EQ(code_page_name(0), "ASCII");
  EXPECT_EQ(code_page_name(3), "Win ANSI");
}

TEST(PrinterCodePage, OnlyThePolishRangeIsTranslated) {
  const std::string polish = kovra::store::utf8_to_mazovia(polish_utf8);
  for (int id = 0; id < code_page_count; ++id) {
    for (int b = 0; b < 256; ++b) {
      const bool letter = polish.find(char(b)) != std::string::npos;
      if (!letter) EXPECT_EQ(translate_byte(code_page(id), uint8_t(b)), b) << id << " " << b;
    }
  }
  EXPECT_EQ(&code_page(7), &code_page(CODE_PAGE_MAZOVIA));
}

TEST(PrinterCodePage, FontDownloadTable) {
  const std::string mazovia = kovra::store::utf8_to_mazovia("ąćĄĘęłĆŚŁśŹŻóÓńŃźż");
  const uint8_t expected[] = {204, 181, 216, 210, 193, 217, 180, 215, 211, 196, 214, 220, 206, 218, 183, 182, 205, 197};
  const code_page_table& t = font_download_code_page();
  for (std::size_t i = 0; i < mazovia.size(); ++i) EXPECT_EQ(translate_byte(t, uint8_t(mazovia[i])), expected[i]) << i;
  EXPECT_EQ(translate_byte(t, 0x87), '~');  // not a Polish letter, inside the range
  EXPECT_EQ(translate_byte(t, 0xA8), 0xA8);
  EXPECT_EQ(translate_byte(t, 'a'), 'a');
}
