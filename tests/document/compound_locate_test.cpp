// Files picked for a moved external chapter that cannot become the chapter: the user is
// told why once, with the message of the check the file fails, and offered the dialog again.
#include "estimate_doc_support.h"

#include "document/estimate_layout.h"
#include "store/paths.h"

using namespace compound_test;
using estimate_doc_test::bytes_of;
using kovra::shell::result_ok;

TEST_F(CompoundFiles, OlderOrDamagedPicksAreToldOnceWithTheirOwnMessage) {
  const std::string path = build(compound_spec(json::array({external_chapter("1", "a.kvr")})));
  std::filesystem::remove(dir / "a.kvr");
  // A file of an older version of the program.
  ASSERT_EQ(build_estimate_file(chapter_estimate("Stary"), dir / "old.kvr"), "");
  estimate_doc_test::patch_i16(dir / "old.kvr", 3, 700);
  // Files whose checksum is off by one and by more.
  for (int delta : {1, 100}) {
    const std::string p = dir / ("sum" + std::to_string(delta) + ".kvr");
    ASSERT_EQ(build_estimate_file(estimate_doc_test::uncompressed(chapter_estimate("Suma")), p), "");
    estimate_doc_test::shift_checksum(p, delta);
    estimate_doc_test::compress(p);
  }
  const std::string old_before = bytes_of(dir / "old.kvr");
  const std::string sum_before = bytes_of(dir / "sum100.kvr");

  open_compound c;
  ASSERT_TRUE(c.open(path));
  scripted_chooser chooser;
  chooser.picks = {dir / "old.kvr", dir / "sum1.kvr", dir / "sum100.kvr"};
  chapter_open_options o;
  o.chooser = &chooser;
  sink.script({result_ok});
  chapter_record record = c.compound->chapters()[0].record;
  chapter_open_result r = open_chapter(*c.compound, record, c.compound->chapters()[0].pos, {}, o);
  EXPECT_FALSE(r.chapter);
  EXPECT_FALSE(r.path_changed);
  EXPECT_EQ(asked(), (std::vector<int>{294, 293, 239, 238}));
  ASSERT_GE(sink.requests().size(), 2u);
  EXPECT_NE(sink.requests()[1].text.find("z wersji 7 programu"), std::string::npos) << sink.requests()[1].text;
  EXPECT_EQ(chooser.folders.size(), 4u);
  EXPECT_EQ(record.path(), "a.kvr");
  // The refused files are left as they were.
  EXPECT_TRUE(bytes_of(dir / "old.kvr") == old_before);
  EXPECT_TRUE(bytes_of(dir / "sum100.kvr") == sum_before);
  EXPECT_FALSE(std::filesystem::exists(kovra::store::working_copy_name(dir / "sum100.kvr")));
}
