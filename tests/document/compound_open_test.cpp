// Chapters of compound estimate files opened for a window and walked without one: the
// progress window of long walks, internal chapters created on first open, and what the
// user is asked about external chapters that are read-only, moved or refused.
#include "compound_support.h"

#include "document/estimate_doc.h"
#include "document/estimate_layout.h"
#include "store/paths.h"

#include <fstream>
#include <iterator>

using namespace compound_test;
using kovra::shell::result_cancel;
using kovra::shell::result_ok;

namespace {

std::string bytes_of(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

json internal_chapters(int n) {
  json list = json::array();
  for (int i = 1; i <= n; ++i) list.push_back(internal_chapter(std::to_string(i)));
  return list;
}

} // namespace

TEST_F(CompoundFiles, MoreThanTwentyChaptersShowTheProgressWindow) {
  for (int n : {20, 21}) {
    recording_progress ui;
    kovra::shell::set_progress_ui(&ui);
    const std::string path = build(compound_spec(internal_chapters(n)), "p" + std::to_string(n) + ".kvr");
    open_compound c;
    ASSERT_TRUE(c.open(path));
    open_all_result r;
    EXPECT_TRUE(open_all_chapters(c.tree, *c.estimate, *c.compound, {}, &r));
    EXPECT_EQ(r.chapters, n);
    EXPECT_EQ(r.attached, n);
    ASSERT_EQ(c.chapter_nodes().size(), std::size_t(n));
    EXPECT_EQ(c.chapter_nodes()[1]->caption(), "2  Rozdzia\xB3 2");
    // Every chapter brings its group and position along.
    EXPECT_EQ(c.tree.count, 1 + 3 * n);
    if (n == 20) {
      EXPECT_TRUE(ui.shown.empty());
    } else {
      ASSERT_EQ(ui.shown.size(), 1u);
      EXPECT_EQ(ui.shown[0].text, "Przeliczanie kosztorysu.");
      EXPECT_TRUE(ui.shown[0].bar);
      ASSERT_FALSE(ui.positions.empty());
      EXPECT_EQ(ui.positions.front(), 100 / 21);
      EXPECT_EQ(ui.positions.back(), 100);
      EXPECT_EQ(ui.hides, 1);
    }
    EXPECT_FALSE(kovra::shell::wait_is_open());
    // Building the chapters' nodes is no change to save.
    EXPECT_FALSE(c.file->set->modified());
    kovra::shell::set_progress_ui(nullptr);
  }
  EXPECT_TRUE(sink.requests().empty());
}

TEST_F(CompoundFiles, InternalChapterWithoutSubsetGetsOneNumberedWithItsSerial) {
  json chapters = json::array({internal_chapter("1"), internal_chapter("2", false)});
  const std::string path = build(compound_spec(chapters));
  rec_pos created = NO_POS;
  {
    open_compound c;
    ASSERT_TRUE(c.open(path));
    std::vector<chapter_entry> entries = c.compound->chapters();
    ASSERT_EQ(entries.size(), 2u);
    ASSERT_EQ(entries[1].record.subset_pos(), NO_POS);
    chapter_record record = entries[1].record;
    chapter_open_result r = open_chapter(*c.compound, record, entries[1].pos, "Instalacje", {});
    ASSERT_TRUE(r.chapter);
    EXPECT_TRUE(r.compound_changed);
    created = record.subset_pos();
    ASSERT_NE(created, NO_POS);
    EXPECT_EQ(r.chapter->chapter.subset_pos(), created);
    EXPECT_EQ(r.chapter->storage, STORAGE_INTERNAL);
    EXPECT_EQ(kovra::store::set_header_of(r.chapter->set().set()).set_no, int16_t(record.serial()));

    // The new chapter takes the compound's shared settings; its purchase-cost rates stay unset.
    const general_data& g = r.chapter->general();
    EXPECT_FLOAT_EQ(g.purchase_cost_percent(), 7.5f);
    EXPECT_FLOAT_EQ(g.kz_rate_other(), 0.0f);
    EXPECT_DOUBLE_EQ(g.labour_rate(), 33.25);
    EXPECT_EQ(g.labour_rate_switch(), 1);
    EXPECT_EQ(g.price_list_file(0), "R.cen");
    EXPECT_EQ(g.name(), "Instalacje");
    EXPECT_FLOAT_EQ(g.coef(0), 1.0f);
    EXPECT_EQ(r.chapter->overhead.bytes, c.compound->overhead().bytes);
    EXPECT_FLOAT_EQ(r.chapter->overhead.rate(0, 0), 65.0f);
    EXPECT_EQ(r.chapter->print_config.size(), PRINT_CONFIG_SIZE);

    // The record in the file names the sub-set.
    chapter_record stored = chapter_record::from_bytes(read_or_empty(c.compound->set(), CHAIN_CHPT_NODE, entries[1].pos));
    EXPECT_EQ(stored.subset_pos(), created);
    EXPECT_TRUE(c.file->set->modified());
    r.chapter.reset();
    ASSERT_TRUE(c.save());
  }
  // Opened again, the chapter is the one made before, with what it was given.
  open_compound c;
  ASSERT_TRUE(c.open(path));
  std::vector<chapter_entry> entries = c.compound->chapters();
  ASSERT_EQ(entries[1].record.subset_pos(), created);
  chapter_record record = entries[1].record;
  chapter_open_result r = open_chapter(*c.compound, record, entries[1].pos, "Inna", {});
  ASSERT_TRUE(r.chapter);
  EXPECT_FALSE(r.compound_changed);
  EXPECT_EQ(r.chapter->general().name(), "Instalacje");
  EXPECT_DOUBLE_EQ(r.chapter->general().labour_rate(), 33.25);
  EXPECT_EQ(r.chapter->overhead.bytes, c.compound->overhead().bytes);
}

TEST_F(CompoundFiles, GivenNameFillsOnlyAnEmptyChapterNameCutTo55Characters) {
  json chapters = json::array({internal_chapter("1"), internal_chapter("2")});
  chapters[1]["document"]["general"]["name"] = "";
  const std::string path = build(compound_spec(chapters));
  open_compound c;
  ASSERT_TRUE(c.open(path));
  std::vector<chapter_entry> entries = c.compound->chapters();
  const std::string long_name(60, 'x');
  chapter_record r0 = entries[0].record, r1 = entries[1].record;
  auto named = open_chapter(*c.compound, r0, entries[0].pos, long_name, {});
  auto empty = open_chapter(*c.compound, r1, entries[1].pos, long_name, {});
  ASSERT_TRUE(named.chapter && empty.chapter);
  EXPECT_EQ(named.chapter->general().name(), "Rozdzia\x92 1");
  EXPECT_EQ(empty.chapter->general().name(), std::string(55, 'x'));
  // The chapter document carries its whole record and where it is.
  EXPECT_EQ(empty.chapter->chapter.bytes, entries[1].record.bytes);
  EXPECT_EQ(empty.chapter->chapter_pos, entries[1].pos);
}

TEST_F(CompoundFiles, ReadOnlyCompoundCreatesNothingAndDeletesNothing) {
  json chapters = json::array({internal_chapter("1", false), external_chapter("2", "e.kvr"), internal_chapter("3")});
  const std::string path = build(compound_spec(chapters));
  const std::string before = bytes_of(path);
  const std::string ext_before = bytes_of(dir / "e.kvr");
  {
    open_compound c;
    ASSERT_TRUE(c.open(path, true));
    // Even a chapter refused without an error keeps its record.
    c.compound->opener = [](const std::string&, bool) -> std::unique_ptr<store_chapter> {
      kovra::store::set_last_open_error(kovra::store::OPEN_OK);
      return nullptr;
    };
    open_all_result r;
    EXPECT_TRUE(open_all_chapters(c.tree, *c.estimate, *c.compound, {}, &r));
    EXPECT_EQ(r.attached, 1);  // only the internal chapter that exists
    EXPECT_EQ(r.left_out, 2);
    EXPECT_EQ(c.compound->chapters().size(), 3u);
  }
  {
    // The external chapter opens read-only along with its compound, without question 269.
    open_compound c;
    ASSERT_TRUE(c.open(path, true));
    open_all_result r;
    EXPECT_TRUE(open_all_chapters(c.tree, *c.estimate, *c.compound, {}, &r));
    EXPECT_EQ(r.attached, 2);
  }
  EXPECT_TRUE(sink.requests().empty());
  EXPECT_EQ(bytes_of(path), before);
  EXPECT_EQ(bytes_of(dir / "e.kvr"), ext_before);
  EXPECT_FALSE(std::filesystem::exists(kovra::store::working_copy_name(dir / "e.kvr")));
}

TEST_F(CompoundFiles, LocatedMovedChapterIsStoredAndFoundNextTimeWithoutAsking) {
  json chapters = json::array({external_chapter("1", "a.kvr"), internal_chapter("2")});
  const std::string path = build(compound_spec(chapters));
  std::filesystem::create_directory(dir / "nowe");
  std::filesystem::rename(dir / "a.kvr", dir / "nowe/a2.kvr");
  {
    open_compound c;
    ASSERT_TRUE(c.open(path));
    scripted_chooser chooser;
    chooser.picks = {dir / "nowe/a2.kvr"};
    sink.script({result_ok});
    chapter_open_options o;
    o.chooser = &chooser;
    open_all_result r;
    EXPECT_TRUE(open_all_chapters(c.tree, *c.estimate, *c.compound, o, &r));
    EXPECT_EQ(asked(), std::vector<int>{294});
    ASSERT_EQ(chooser.folders.size(), 1u);
    EXPECT_EQ(chooser.folders[0] + "/", dir / "");
    EXPECT_EQ(r.attached, 2);
    ASSERT_EQ(c.chapter_nodes().size(), 2u);
    EXPECT_EQ(c.chapter_nodes()[0]->chapter()->chapter.path(), dir / "nowe/a2.kvr");
    EXPECT_EQ(c.compound->chapters()[0].record.path(), dir / "nowe/a2.kvr");
    // The new path is a change of the compound that must not be lost.
    EXPECT_TRUE(c.file->set->modified());
    ASSERT_TRUE(c.save());
  }
  sink.clear();
  open_compound c;
  ASSERT_TRUE(c.open(path));
  scripted_chooser chooser;
  chapter_open_options o;
  o.chooser = &chooser;
  open_all_result r;
  EXPECT_TRUE(open_all_chapters(c.tree, *c.estimate, *c.compound, o, &r));
  EXPECT_EQ(r.attached, 2);
  EXPECT_TRUE(sink.requests().empty());
  EXPECT_TRUE(chooser.folders.empty());
}

TEST_F(CompoundFiles, MissingChapterAnswersDecideBetweenStoppingAndLeavingItOut) {
  json chapters = json::array({external_chapter("1", "a.kvr"), internal_chapter("2")});
  const std::string path = build(compound_spec(chapters));
  std::filesystem::remove(dir / "a.kvr");
  {
    // Cancel on 294: the compound is not opened further.
    open_compound c;
    ASSERT_TRUE(c.open(path));
    sink.script({result_cancel});
    open_all_result r;
    EXPECT_FALSE(open_all_chapters(c.tree, *c.estimate, *c.compound, {}, &r));
    EXPECT_TRUE(r.stopped);
    EXPECT_EQ(r.attached, 0);
    EXPECT_EQ(asked(), std::vector<int>{294});
    EXPECT_EQ(sink.requests()[0].text.find("Plik rozdziału zewnętrznego: " + dir / "a.kvr"), 0u);
  }
  sink.clear();
  {
    // OK, then the dialog is cancelled: the chapter is left out and its record kept.
    open_compound c;
    ASSERT_TRUE(c.open(path));
    scripted_chooser chooser;
    chapter_open_options o;
    o.chooser = &chooser;
    sink.script({result_ok});
    open_all_result r;
    EXPECT_TRUE(open_all_chapters(c.tree, *c.estimate, *c.compound, o, &r));
    EXPECT_EQ(r.attached, 1);
    EXPECT_EQ(r.left_out, 1);
    EXPECT_EQ(chooser.folders.size(), 1u);
    EXPECT_EQ(c.compound->chapters().size(), 2u);
    EXPECT_FALSE(c.file->set->modified());
  }
}

TEST_F(CompoundFiles, LocatedChapterWithAnotherMethodNeedsTheUsersConsent) {
  json chapters = json::array({external_chapter("1", "a.kvr")});
  const std::string path = build(compound_spec(chapters));
  std::filesystem::remove(dir / "a.kvr");
  ASSERT_EQ(build_estimate_file(chapter_estimate("Inna metoda", 2), dir / "m2.kvr"), "");
  ASSERT_EQ(build_estimate_file(chapter_estimate("Ta sama", 1), dir / "m1.kvr"), "");
  ASSERT_EQ(build_estimate_file(compound_spec(json::array()), dir / "zz.kvr"), "");
  for (int answer : {result_cancel, result_ok}) {
    sink.clear();
    open_compound c;
    ASSERT_TRUE(c.open(path));
    scripted_chooser chooser;
    // A compound estimate cannot be a chapter; the other method is refused or accepted; the
    // same method needs no question.
    chooser.picks = {dir / "zz.kvr", dir / "m2.kvr", dir / "m1.kvr"};
    chapter_open_options o;
    o.chooser = &chooser;
    sink.script({result_ok, result_ok, answer});
    chapter_record record = c.compound->chapters()[0].record;
    chapter_open_result r = open_chapter(*c.compound, record, c.compound->chapters()[0].pos, {}, o);
    ASSERT_TRUE(r.chapter);
    EXPECT_TRUE(r.path_changed);
    if (answer == result_ok) {
      EXPECT_EQ(asked(), (std::vector<int>{294, 251, 296}));
      EXPECT_EQ(record.path(), dir / "m2.kvr");
      EXPECT_EQ(r.chapter->general().name(), "Inna metoda");
    } else {
      EXPECT_EQ(asked(), (std::vector<int>{294, 251, 296}));
      EXPECT_EQ(record.path(), dir / "m1.kvr");
      EXPECT_EQ(r.chapter->general().name(), "Ta sama");
    }
  }
}

TEST_F(CompoundFiles, WalkWithoutAWindowOnlyReadsAndEndsAtAChapterThatDoesNotOpen) {
  json chapters = json::array({internal_chapter("1"), internal_chapter("2", false), internal_chapter("3")});
  const std::string path = build(compound_spec(chapters));
  open_compound c;
  ASSERT_TRUE(c.open(path));
  Compound_Iterator it(*c.compound);
  std::vector<std::string> seen;
  for (chapter_document* d = it.first_chapter(); d; d = it.next_chapter()) seen.push_back(d->chapter.number());
  // The chapter without a sub-set is not made here: the walk ends there.
  EXPECT_EQ(seen, std::vector<std::string>{"1"});
  EXPECT_EQ(it.failed(), 1);
  EXPECT_EQ(c.compound->chapters()[1].record.subset_pos(), NO_POS);
}

TEST_F(CompoundFiles, ReadOnlyChapterIsLeftOutAndCancelStopsTheWalk) {
  json chapters = json::array({external_chapter("1", "a.kvr"), internal_chapter("2")});
  chapters[0]["document"]["general"]["valuation_lock"] = 1;
  const std::string path = build(compound_spec(chapters));
  for (int answer : {result_ok, result_cancel}) {
    sink.clear();
    sink.script({answer});
    open_compound c;
    ASSERT_TRUE(c.open(path));
    open_all_result r;
    EXPECT_EQ(open_all_chapters(c.tree, *c.estimate, *c.compound, {}, &r), answer == result_ok);
    EXPECT_EQ(asked(), std::vector<int>{269});
    EXPECT_EQ(r.attached, answer == result_ok ? 1 : 0);
    // The chapter was closed again: its working copy is gone and its record stays.
    EXPECT_FALSE(std::filesystem::exists(kovra::store::working_copy_name(dir / "a.kvr")));
    EXPECT_EQ(c.compound->chapters().size(), 2u);
  }
  // A compound opened read-only reads its chapters read-only, yet a locked one is still
  // told with 269 and left out.
  sink.clear();
  sink.script({result_ok});
  {
    open_compound c;
    ASSERT_TRUE(c.open(path, true));
    open_all_result r;
    EXPECT_TRUE(open_all_chapters(c.tree, *c.estimate, *c.compound, {}, &r));
    EXPECT_EQ(asked(), std::vector<int>{269});
    EXPECT_EQ(r.attached, 1);
  }
  // A walk without a window asks nothing and takes the locked chapter as it is.
  sink.clear();
  open_compound c;
  ASSERT_TRUE(c.open(path));
  Compound_Iterator it(*c.compound);
  chapter_document* d = it.first_chapter();
  ASSERT_TRUE(d);
  EXPECT_EQ(d->general().valuation_lock(), 1);
  EXPECT_TRUE(sink.requests().empty());
}

TEST_F(CompoundFiles, ChapterRefusedWithoutAnErrorIsLeftOutButKeepsItsRecord) {
  json chapters = json::array({external_chapter("1", "a.kvr"), internal_chapter("2")});
  const std::string path = build(compound_spec(chapters));
  open_compound c;
  ASSERT_TRUE(c.open(path));
  // As a refused password does: the file is fine, the open fails, no open error is left.
  c.compound->opener = [](const std::string& p, bool read_only) -> std::unique_ptr<store_chapter> {
    if (p.ends_with("a.kvr")) {
      kovra::store::set_last_open_error(kovra::store::OPEN_OK);
      return nullptr;
    }
    return open_chapter_file(p, read_only);
  };
  open_all_result r;
  EXPECT_TRUE(open_all_chapters(c.tree, *c.estimate, *c.compound, {}, &r));
  EXPECT_TRUE(sink.requests().empty());
  EXPECT_EQ(r.attached, 1);
  // The refusal may pass (a password typed wrong): the compound keeps its chapter list.
  ASSERT_EQ(c.compound->chapters().size(), 2u);
  EXPECT_EQ(c.compound->chapters()[0].record.path(), "a.kvr");
  EXPECT_FALSE(c.file->set->modified());
}

TEST_F(CompoundFiles, FailedWorkingCopyAsksWithMessage274) {
  json chapters = json::array({external_chapter("1", "a.kvr")});
  const std::string path = build(compound_spec(chapters));
  // Nothing can be written where the chapter's working copy belongs.
  std::filesystem::create_directory(kovra::store::working_copy_name(dir / "a.kvr"));
  open_compound c;
  ASSERT_TRUE(c.open(path));
  scripted_chooser chooser;
  chapter_open_options o;
  o.chooser = &chooser;
  open_all_result r;
  open_all_chapters(c.tree, *c.estimate, *c.compound, o, &r);
  ASSERT_FALSE(sink.requests().empty());
  EXPECT_EQ(sink.requests().back().number, 274);
  // 274 only offers OK, which leads to the open dialog (cancelled here).
  EXPECT_EQ(chooser.folders.size(), 1u);
  EXPECT_FALSE(r.stopped);
  EXPECT_EQ(r.attached, 0);
  EXPECT_EQ(c.compound->chapters().size(), 1u);
}

TEST_F(CompoundFiles, IteratorClosesEachChapterBeforeOpeningTheNext) {
  json chapters = json::array({external_chapter("1", "a.kvr"), external_chapter("2", "b.kvr"), internal_chapter("3")});
  const std::string path = build(compound_spec(chapters));
  const std::string copy_a = kovra::store::working_copy_name(dir / "a.kvr");
  const std::string copy_b = kovra::store::working_copy_name(dir / "b.kvr");
  open_compound c;
  ASSERT_TRUE(c.open(path));
  Compound_Iterator it(*c.compound);
  chapter_document* d = it.first_chapter();
  ASSERT_TRUE(d);
  EXPECT_EQ(d->general().name(), "Zewn\x91trzny 1");
  EXPECT_TRUE(std::filesystem::exists(copy_a));
  EXPECT_FALSE(std::filesystem::exists(copy_b));
  d = it.next_chapter();
  ASSERT_TRUE(d);
  EXPECT_EQ(d->general().name(), "Zewn\x91trzny 2");
  EXPECT_FALSE(std::filesystem::exists(copy_a));
  EXPECT_TRUE(std::filesystem::exists(copy_b));
  // The first file is free again: it opens on its own.
  EXPECT_TRUE(open_chapter_file(dir / "a.kvr", false));
  d = it.next_chapter();
  ASSERT_TRUE(d);
  EXPECT_EQ(d->storage, STORAGE_INTERNAL);
  EXPECT_FALSE(std::filesystem::exists(copy_b));
  EXPECT_EQ(it.next_chapter(), nullptr);
  EXPECT_EQ(it.failed(), -1);
}

TEST_F(CompoundFiles, ChapterAttachedBeforeAnotherTakesItsPlace) {
  json chapters = json::array({internal_chapter("1"), internal_chapter("2")});
  const std::string path = build(compound_spec(chapters));
  open_compound c;
  ASSERT_TRUE(c.open(path));
  std::vector<chapter_entry> entries = c.compound->chapters();
  chapter_record r1 = entries[1].record, r0 = entries[0].record;
  Rozdz_Node* second = attach_chapter(c.tree, *c.estimate, *c.compound, r1, {}, entries[1].pos, nullptr, {});
  ASSERT_TRUE(second);
  Rozdz_Node* first = attach_chapter(c.tree, *c.estimate, *c.compound, r0, {}, entries[0].pos, second, {});
  ASSERT_TRUE(first);
  EXPECT_EQ(c.chapter_nodes(), (std::vector<Rozdz_Node*>{first, second}));
  EXPECT_EQ(chapter_picture(*first), 1);
  ASSERT_TRUE(first->first_child);
  EXPECT_EQ(first->first_child->depth, 2);
}

TEST_F(CompoundFiles, SubsetThatCannotBeNamedInItsRecordIsFreedAgain) {
  json chapters = json::array({internal_chapter("1", false), internal_chapter("2")});
  const std::string path = build(compound_spec(chapters));
  // Where the sub-set goes once the first record is gone: a live sub-set there.
  rec_pos at = NO_POS;
  {
    open_compound c;
    ASSERT_TRUE(c.open(path));
    ASSERT_TRUE(c.compound->set().remove(CHAIN_CHPT_NODE, c.compound->chapters()[0].pos));
    at = create_chapter_subset(c.compound->set(), 99);
    ASSERT_NE(at, NO_POS);
    EXPECT_TRUE(kovra::store::delete_subset(c.compound->set().classes()[CHAIN_CHPT_NODE], at));
  }
  open_compound c;
  ASSERT_TRUE(c.open(path));
  std::vector<chapter_entry> entries = c.compound->chapters();
  // The record went away after the list was read: it cannot be rewritten.
  ASSERT_TRUE(c.compound->set().remove(CHAIN_CHPT_NODE, entries[0].pos));
  chapter_record record = entries[0].record;
  chapter_open_result r = open_chapter(*c.compound, record, entries[0].pos, {}, {});
  EXPECT_FALSE(r.chapter);
  EXPECT_FALSE(r.compound_changed);
  EXPECT_EQ(record.subset_pos(), NO_POS);
  // The block made for it is no sub-set any more: it went back to the free space.
  EXPECT_FALSE(kovra::store::delete_subset(c.compound->set().classes()[CHAIN_CHPT_NODE], at));
  EXPECT_EQ(c.compound->chapters().size(), 1u);
}

TEST_F(CompoundFiles, OffersAndLockedFilesCannotReplaceAMovedChapter) {
  json chapters = json::array({external_chapter("1", "a.kvr")});
  const std::string path = build(compound_spec(chapters));
  std::filesystem::remove(dir / "a.kvr");
  json offer = chapter_estimate("Oferta");
  offer["general"]["valuation_kind"] = 2;
  json locked = chapter_estimate("Zablokowany");
  locked["general"]["valuation_lock"] = 1;
  ASSERT_EQ(build_estimate_file(offer, dir / "offer.kvr"), "");
  ASSERT_EQ(build_estimate_file(locked, dir / "locked.kvr"), "");
  open_compound c;
  ASSERT_TRUE(c.open(path));
  scripted_chooser chooser;
  chooser.picks = {dir / "offer.kvr", dir / "locked.kvr", dir / "missing.kvr", std::string(300, 'x')};
  chapter_open_options o;
  o.chooser = &chooser;
  sink.script({result_ok});
  chapter_record record = c.compound->chapters()[0].record;
  chapter_open_result r = open_chapter(*c.compound, record, c.compound->chapters()[0].pos, {}, o);
  EXPECT_FALSE(r.chapter);
  EXPECT_FALSE(r.path_changed);
  // The over-long pick is passed over without a word: it could not be stored.
  EXPECT_EQ(asked(), (std::vector<int>{294, 254, 253, 17}));
  EXPECT_EQ(chooser.folders.size(), 5u);
  EXPECT_EQ(record.path(), "a.kvr");
}

TEST_F(CompoundFiles, CompoundDocumentOpenedForWorkIsItsChaptersSource) {
  json chapters = json::array({internal_chapter("1"), external_chapter("2", "e.kvr")});
  const std::string path = build(compound_spec(chapters));
  estimate_doc doc;
  ASSERT_TRUE(open_compound_estimate(doc, path));
  store_compound compound(doc);
  EXPECT_FLOAT_EQ(compound.overhead().rate(0, 0), 65.0f);
  Kvr_Tree8 tree;
  auto* estimate = new Koszt_Node;
  attach_last(tree, nullptr, estimate, 0, "Złożony");
  open_all_result r;
  EXPECT_TRUE(open_all_chapters(tree, *estimate, compound, {}, &r));
  EXPECT_EQ(r.attached, 2);
  EXPECT_TRUE(sink.requests().empty());
  clear(tree);
  EXPECT_TRUE(close_estimate(doc));
  EXPECT_FALSE(std::filesystem::exists(kovra::store::working_copy_name(dir / "e.kvr")));
}
