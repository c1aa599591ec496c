// Protected external chapters: opened for their password like any estimate; a refused
// password leaves the chapter out and takes its record out of the compound (not of one
// opened read-only), and a protected file picked for a moved chapter must be unlocked too.
#include "compound_support.h"

#include "document/estimate_doc.h"
#include "document/estimate_layout.h"
#include "shell/users.h"
#include "store/open_files.h"
#include "store/paths.h"

#include <fstream>
#include <iterator>

using namespace compound_test;
using kovra::shell::result_ok;

namespace {

std::string bytes_of(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

struct scripted_password : password_question {
  std::deque<std::string> answers;
  std::vector<std::string> asked_for;
  std::optional<std::string> ask(const std::string& path) override {
    asked_for.push_back(path);
    if (answers.empty()) return std::nullopt;
    std::string a = answers.front();
    answers.pop_front();
    return a;
  }
};

json protected_chapter(const std::string& number, const std::string& path) {
  json c = external_chapter(number, path);
  c["document"]["general"]["password"] = kovra::shell::password_value("tajne");
  return c;
}

class ProtectedChapters : public CompoundFiles {
protected:
  void SetUp() override {
    CompoundFiles::SetUp();
    kovra::shell::reset_current_user();
    set_password_question(&question);
  }
  void TearDown() override {
    set_password_question(nullptr);
    kovra::shell::reset_current_user();
    CompoundFiles::TearDown();
  }
  scripted_password question;
};

} // namespace

TEST_F(ProtectedChapters, RightPasswordOpensTheChapterAfterAWrongOne) {
  const std::string path = build(compound_spec(json::array({protected_chapter("1", "a.kvr"), internal_chapter("2")})));
  open_compound c;
  ASSERT_TRUE(c.open(path));
  question.answers = {"zle", "tajne"};
  open_all_result r;
  EXPECT_TRUE(open_all_chapters(c.tree, *c.estimate, *c.compound, {}, &r));
  EXPECT_EQ(r.attached, 2);
  EXPECT_EQ(question.asked_for, (std::vector<std::string>{dir / "a.kvr", dir / "a.kvr"}));
  EXPECT_EQ(asked(), std::vector<int>{311});
  EXPECT_EQ(c.compound->chapters().size(), 2u);
  EXPECT_FALSE(c.file->set->modified());
}

TEST_F(ProtectedChapters, RefusedPasswordLeavesTheChapterOutButKeepsItsRecordAndFile) {
  const std::string path = build(compound_spec(json::array({protected_chapter("1", "a.kvr"), internal_chapter("2")})));
  const std::string chapter_before = bytes_of(dir / "a.kvr");
  open_compound c;
  ASSERT_TRUE(c.open(path));
  open_all_result r;
  EXPECT_TRUE(open_all_chapters(c.tree, *c.estimate, *c.compound, {}, &r));
  EXPECT_EQ(question.asked_for.size(), 1u);
  EXPECT_TRUE(sink.requests().empty());  // no question about locating it
  EXPECT_EQ(r.attached, 1);
  ASSERT_EQ(c.compound->chapters().size(), 2u);
  EXPECT_FALSE(c.file->set->modified());
  // The chapter's own file is closed as it was found, without its working copy.
  EXPECT_EQ(bytes_of(dir / "a.kvr"), chapter_before);
  EXPECT_FALSE(std::filesystem::exists(kovra::store::working_copy_name(dir / "a.kvr")));
  EXPECT_LT(kovra::store::find_open_file(dir / "a.kvr"), 0);
}

TEST_F(ProtectedChapters, ReadOnlyCompoundAsksTooButKeepsTheRecord) {
  const std::string path = build(compound_spec(json::array({protected_chapter("1", "a.kvr"), internal_chapter("2")})));
  const std::string before = bytes_of(path);
  {
    open_compound c;
    ASSERT_TRUE(c.open(path, true));
    open_all_result r;
    EXPECT_TRUE(open_all_chapters(c.tree, *c.estimate, *c.compound, {}, &r));
    EXPECT_EQ(question.asked_for.size(), 1u);
    EXPECT_EQ(r.attached, 1);
    EXPECT_EQ(c.compound->chapters().size(), 2u);
  }
  EXPECT_EQ(bytes_of(path), before);
  // The walk without questions (an iterator) cannot ask and takes the chapter as it opens.
  question.asked_for.clear();
  open_compound c;
  ASSERT_TRUE(c.open(path, true));
  Compound_Iterator it(*c.compound);
  EXPECT_TRUE(it.first_chapter());
  EXPECT_TRUE(question.asked_for.empty());
}

TEST_F(ProtectedChapters, ProtectedPickForAMovedChapterNeedsItsPassword) {
  const std::string path = build(compound_spec(json::array({external_chapter("1", "a.kvr")})));
  std::filesystem::remove(dir / "a.kvr");
  json locked = chapter_estimate("Chroniony");
  locked["general"]["password"] = kovra::shell::password_value("tajne");
  ASSERT_EQ(build_estimate_file(locked, dir / "chroniony.kvr"), "");
  open_compound c;
  ASSERT_TRUE(c.open(path));
  scripted_chooser chooser;
  chapter_open_options o;
  o.chooser = &chooser;
  chapter_record record = c.compound->chapters()[0].record;
  const rec_pos at = c.compound->chapters()[0].pos;

  // Without the password the pick is refused and the dialog offered again.
  chooser.picks = {dir / "chroniony.kvr"};
  sink.script({result_ok});
  chapter_open_result r = open_chapter(*c.compound, record, at, {}, o);
  EXPECT_FALSE(r.chapter);
  EXPECT_FALSE(r.path_changed);
  EXPECT_EQ(chooser.folders.size(), 2u);
  EXPECT_EQ(record.path(), "a.kvr");
  EXPECT_EQ(c.compound->chapters().size(), 1u);

  // With it (after a wrong answer) the pick passes, and the chapter opens for it again.
  sink.clear();
  chooser.folders.clear();
  chooser.picks = {dir / "chroniony.kvr"};
  question.answers = {"zle", "tajne", "tajne"};
  sink.script({result_ok});
  r = open_chapter(*c.compound, record, at, {}, o);
  ASSERT_TRUE(r.chapter);
  EXPECT_TRUE(r.path_changed);
  EXPECT_EQ(record.path(), dir / "chroniony.kvr");
  EXPECT_EQ(chooser.folders.size(), 1u);
  EXPECT_EQ(asked(), (std::vector<int>{294, 311}));
  EXPECT_TRUE(question.answers.empty());
}
