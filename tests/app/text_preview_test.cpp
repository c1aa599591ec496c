// The text preview over a spool file: pages of the range found by their separators, search in
// the internal code page both ways, page jumps that wrap, the line limit and a range past the
// last page.
#include "app/app_support.h"
#include "app/text_preview.h"
#include "shell/messages.h"
#include "store/codepage.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace kovra;
using namespace kovra::app;

namespace {

// Three pages, each begun by the separator and holding five lines; page 3 line 4 reads "Łódź"
// (stored in the internal code page) and is emphasised.
std::string write_spool(const std::string& folder) {
  const std::string path = folder + "wydruk.prn";
  std::ofstream out(path, std::ios::binary);
  for (int page = 1; page <= 3; ++page) {
    out << "\x1b\x01";
    for (int line = 1; line <= 5; ++line) {
      if (page == 3 && line == 4) out << '\x04' << store::utf8_to_mazovia("Łódź") << "\r\n";
      else out << "Strona " << page << " wiersz " << line << "\n";
    }
  }
  return path;
}

TEST(TextPreview, RangeSearchAndPageJumps) {
  test::program_fixture f;
  test::test_app();
  shell::set_message_sink(&f.sink);
  const std::string spool = write_spool(f.tmp.path());
  {
    Tdlg_preview d(spool, 1, 2, 3);
    ASSERT_TRUE(d.ready());
    // Pages 2 and 3: a separator line and five lines each.
    EXPECT_EQ(d.index().offsets.size(), 12u);
    EXPECT_EQ(d.index().page_lines, (std::vector<int>{0, 6}));
    EXPECT_EQ(d.index().first_page, 2);
    EXPECT_EQ(d.lines()->raw_line(1), "Strona 2 wiersz 1");
    EXPECT_TRUE(std::filesystem::exists(f.tmp.path() + "wydruk.$pv"));

    EXPECT_EQ(d.search("Strona 3 wiersz 2", true), 8);
    EXPECT_EQ(d.search("Łódź", true), 10);
    EXPECT_EQ(d.search("Strona 2 wiersz 1", false), 1);
    EXPECT_EQ(d.search("Strona 1", true), -1);  // outside the range

    d.go_to_page(3);
    EXPECT_EQ(d.lines()->current_line(), 6);
    EXPECT_EQ(d.current_page(), 3);
    d.go_to_page(4);  // past the last page: the first
    EXPECT_EQ(d.current_page(), 2);
    d.go_to_page(1);  // below the first: the last
    EXPECT_EQ(d.current_page(), 3);
  }
  EXPECT_FALSE(std::filesystem::exists(f.tmp.path() + "wydruk.$pv"));  // removed on closing

  // First page number 10: the file's pages are 10 to 12; page 13 lies past them.
  f.sink.clear();
  Tdlg_preview past(spool, 10, 13, 0);
  EXPECT_FALSE(past.ready());
  ASSERT_EQ(f.sink.requests().size(), 1u);
  EXPECT_NE(f.sink.requests()[0].text.find("Ilość stron wydruku: 3."), std::string::npos);

  // Only the first lines up to the limit are indexed.
  spool_index idx;
  ASSERT_TRUE(index_spool(spool, 1, 1, 0, idx, 10));
  EXPECT_TRUE(idx.truncated);
  EXPECT_EQ(idx.offsets.size(), 10u);
  shell::set_message_sink(nullptr);
}

} // namespace
