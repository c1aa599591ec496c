// Opening and closing simple estimates: the checks a file must pass, each with the message
// the user sees, the format upgrades of older files, passwords, editing state and titles.
#include "estimate_doc_support.h"

#include "document/build_tree.h"
#include "document/data_chain.h"
#include "document/estimate_layout.h"
#include "document/tree_moves.h"
#include "store/paths.h"
#include "tree_support.h"

#include <algorithm>
#include <cstring>

using namespace estimate_doc_test;
using kovra::store::working_copy_name;

TEST_F(EstimateDocs, SimpleEstimateOpensForWorkInMemoryAndClosesWithoutTrace) {
  const std::string path = build(simple_spec());
  const std::string before = bytes_of(path);
  estimate_doc doc;
  init_simple_doc(doc);
  ASSERT_TRUE(open_simple_estimate(doc, path));
  EXPECT_TRUE(asked().empty());
  EXPECT_EQ(doc.editing_state, EDIT_ALLOWED);
  EXPECT_TRUE(is_editable(doc));
  EXPECT_EQ(doc.print_config.size(), PRINT_CONFIG_SIZE);
  EXPECT_NE(doc.general.print_config_record(), NO_POS);
  EXPECT_NE(doc.general.standard_overheads_record(), NO_POS);
  EXPECT_TRUE(std::filesystem::exists(working_copy_name(path)));
  EXPECT_EQ(document_title(doc, path), "a.kvr (Wykopy)");
  EXPECT_EQ(doc.chapter.quantity(), 1.0);
  EXPECT_EQ(doc.chapter.precision_code(), 3);
  EXPECT_EQ(doc.chapter_pos, NO_POS);
  EXPECT_EQ(doc.storage, STORAGE_STANDALONE);
  // The program's print configuration and overhead record are stored with the document.
  EXPECT_EQ(doc.records->count(CHAIN_DATA), 2u);
  auto stored = read_print_config(*doc.records, doc.general.print_config_record(), CHAIN_DATA);
  ASSERT_TRUE(stored);
  EXPECT_TRUE(std::equal(stored->begin(), stored->end(), doc.print_config.begin()));
  ASSERT_TRUE(close_estimate(doc));
  EXPECT_FALSE(doc.is_open());
  EXPECT_FALSE(std::filesystem::exists(working_copy_name(path)));
  // Worked on in memory: closing without saving leaves the file as it was.
  EXPECT_TRUE(bytes_of(path) == before);
}

TEST_F(EstimateDocs, FileThatCannotBeOpenedIsRefusedWithMessage1OrItsErrorCode) {
  const std::string path = build(simple_spec());
  estimate_doc first, second;
  ASSERT_TRUE(open_simple_estimate(first, path));
  EXPECT_FALSE(open_simple_estimate(second, path));
  EXPECT_EQ(asked(), std::vector<int>{1});
  sink.clear();
  uint8_t error = 0;
  EXPECT_FALSE(open_simple_estimate(second, path, &error));
  EXPECT_EQ(error, kovra::store::OPEN_ACCESS_DENIED);
  EXPECT_TRUE(asked().empty());
  EXPECT_FALSE(second.is_open());
  // The first document is untouched by the refusals.
  EXPECT_TRUE(first.is_open());
  EXPECT_TRUE(std::filesystem::exists(working_copy_name(path)));

  // A missing file: the code when asked for, else message 1 (never a silent failure).
  EXPECT_FALSE(open_simple_estimate(second, dir / "missing.kvr", &error));
  EXPECT_EQ(error, kovra::store::OPEN_NOT_FOUND);
  EXPECT_TRUE(asked().empty());
  EXPECT_FALSE(open_simple_estimate(second, dir / "missing.kvr"));
  EXPECT_EQ(asked(), std::vector<int>{1});
}

TEST_F(EstimateDocs, WrongTypeAndOtherVersionAreRefusedBeforeTheFileIsOpened) {
  const std::string other = dir / "config.dat";
  const int h = kovra::store::create_container(other, kovra::store::STORAGE_DIRECT, kovra::store::header_template(),
                                               kovra::store::FILE_TYPE_CONFIG, 800);
  ASSERT_GE(h, 0);
  kovra::store::close_container(h);
  estimate_doc doc;
  EXPECT_FALSE(open_simple_estimate(doc, other));
  EXPECT_EQ(asked(), std::vector<int>{77});

  sink.clear();
  const std::string old = build(simple_spec(), "old.kvr");
  patch_i16(old, 3, 700);
  const std::string before = bytes_of(old);
  EXPECT_FALSE(open_simple_estimate(doc, old));
  ASSERT_EQ(asked(), std::vector<int>{293});
  const std::string& text = sink.requests()[0].text;
  EXPECT_NE(text.find("z wersji 7 programu"), std::string::npos) << text;
  EXPECT_NE(text.find("z wersji 8 !"), std::string::npos) << text;
  EXPECT_TRUE(bytes_of(old) == before);
  EXPECT_FALSE(std::filesystem::exists(working_copy_name(old)));
}

TEST_F(EstimateDocs, DamagedChecksumRefusesTheFileAndLeavesItUnchanged) {
  for (auto [delta, message] : {std::pair{1, 239}, std::pair{100, 238}}) {
    sink.clear();
    const std::string path = build(uncompressed(simple_spec()), "sum" + std::to_string(delta) + ".kvr");
    shift_checksum(path, delta);
    compress(path);
    const std::string before = bytes_of(path);
    estimate_doc doc;
    int checksum = -1;
    EXPECT_FALSE(open_simple_estimate(doc, path, nullptr, true, &checksum));
    EXPECT_EQ(checksum, delta == 1 ? 3 : 4);
    EXPECT_EQ(asked(), std::vector<int>{message});
    EXPECT_FALSE(doc.is_open());
    EXPECT_TRUE(bytes_of(path) == before);
    EXPECT_FALSE(std::filesystem::exists(working_copy_name(path)));
    // Nothing of the refused open stays registered.
    EXPECT_LT(kovra::store::find_open_file(path), 0);
  }
}

TEST_F(EstimateDocs, ProtectedEstimateAsksForItsPasswordUnlessItIsTheUsers) {
  json spec = simple_spec();
  spec["general"]["password"] = kovra::shell::password_value("tajne");
  const std::string path = build(spec);
  const std::string before = bytes_of(path);
  estimate_doc doc;

  // Without a question (no login dialog) the password cannot be given: refused.
  EXPECT_FALSE(open_simple_estimate(doc, path));
  EXPECT_TRUE(bytes_of(path) == before);

  scripted_password question;
  set_password_question(&question);
  question.answers = {"zle"};
  EXPECT_FALSE(open_simple_estimate(doc, path));
  EXPECT_EQ(asked(), std::vector<int>{311});
  EXPECT_EQ(question.asked_for.size(), 2u);  // asked again after the wrong one, then refused
  EXPECT_TRUE(bytes_of(path) == before);
  EXPECT_FALSE(std::filesystem::exists(working_copy_name(path)));

  sink.clear();
  question.answers = {"zle", "tajne"};
  question.asked_for.clear();
  EXPECT_TRUE(open_simple_estimate(doc, path));
  EXPECT_EQ(question.asked_for.size(), 2u);
  EXPECT_EQ(asked(), std::vector<int>{311});
  close_estimate(doc);

  // Not asked when the caller does not want it, or when the user holds the same password.
  question.asked_for.clear();
  EXPECT_TRUE(open_simple_estimate(doc, path, nullptr, false));
  close_estimate(doc);
  kovra::shell::current_user().password_value = kovra::shell::password_value("tajne");
  EXPECT_TRUE(open_simple_estimate(doc, path));
  EXPECT_TRUE(question.asked_for.empty());
}

TEST_F(EstimateDocs, OlderRevisionsAreUpgradedAtOpen) {
  auto spec_of = [](int revision) {
    json spec = simple_spec();
    if (revision >= 0) spec["header"]["revision"] = revision;
    else spec.erase("header");  // built as this program writes: the current revision
    spec["general"]["coef_r"] = 2.0;
    spec["general"]["coef_s"] = 3.0;
    spec["general"]["multiplicity_in_unit"] = 1;
    spec["general"]["pos_5605"] = 0;
    return spec;
  };
  struct expectation {
    int revision;
    float coef_r;
    uint8_t multiplicity;
    rec_pos pos_5605;
  };
  for (const expectation e : {expectation{1, 1.0f, 0, NO_POS}, expectation{5, 1.0f, 0, NO_POS},
                              expectation{6, 2.0f, 0, 0}, expectation{7, 2.0f, 1, 0},
                              expectation{-1, 2.0f, 1, 0}}) {
    SCOPED_TRACE(e.revision);
    const std::string path = build(spec_of(e.revision), "r" + std::to_string(e.revision) + ".kvr");
    estimate_doc doc;
    ASSERT_TRUE(open_simple_estimate(doc, path));
    EXPECT_FLOAT_EQ(doc.general.coef(0), e.coef_r);
    EXPECT_FLOAT_EQ(doc.general.coef(2), e.revision >= 0 && e.revision < 6 ? 1.0f : 3.0f);
    EXPECT_EQ(doc.general.multiplicity_in_unit(), e.multiplicity);
    EXPECT_EQ(get_i32(doc.general.at(gd::POS_5605)), e.pos_5605);
    if (e.revision >= 0 && e.revision < 6) {
      EXPECT_EQ(doc.general.coef_text(0), coef_text_of(1.0f));
    }
    // The code key holds every price record after the rebuild as before it.
    EXPECT_EQ(doc.records->key_entries(KEY_BY_CODE).size(), 2u);
  }
}

TEST_F(EstimateDocs, ReadOnlyOpenOnPurposeWritesNothing) {
  const std::string path = build(simple_spec());
  const std::string before = bytes_of(path);
  estimate_doc doc;
  ASSERT_TRUE(open_simple_estimate(doc, path, nullptr, true, nullptr, false, true));
  EXPECT_TRUE(is_read_only(doc));
  EXPECT_FALSE(is_editable(doc));
  // The program's settings are used in memory, not stored in the file.
  EXPECT_EQ(doc.print_config.size(), PRINT_CONFIG_SIZE);
  EXPECT_EQ(doc.general.print_config_record(), NO_POS);
  EXPECT_EQ(doc.general.standard_overheads_record(), NO_POS);
  EXPECT_FALSE(std::filesystem::exists(working_copy_name(path)));
  EXPECT_EQ(document_title(doc, path), "a.kvr (Tylko do odczytu) (Wykopy)");
  set_valuation_lock(doc, 1);
  EXPECT_TRUE(is_read_only(doc));
  EXPECT_EQ(doc.general.valuation_lock(), 0);
  EXPECT_TRUE(close_estimate(doc));
  EXPECT_TRUE(bytes_of(path) == before);
}

TEST_F(EstimateDocs, ReadOnlyFileOpensSharedForReading) {
  const std::string path = build(simple_spec());
  std::filesystem::permissions(path, std::filesystem::perms::owner_read, std::filesystem::perm_options::replace);
  if (::access(path.c_str(), W_OK) == 0) GTEST_SKIP() << "running with rights that ignore file modes";
  const std::string before = bytes_of(path);
  estimate_doc doc;
  ASSERT_TRUE(open_simple_estimate(doc, path));
  EXPECT_TRUE(is_read_only(doc));
  EXPECT_EQ(document_title(doc, path), "a.kvr (Tylko do odczytu) (Wykopy)");
  close_estimate(doc);
  EXPECT_TRUE(bytes_of(path) == before);
}

TEST_F(EstimateDocs, ValuationsAreTitledByKindAndLockedUntilUnlocked) {
  struct kind_title {
    int kind;
    const char* note;
  };
  for (const kind_title k : {kind_title{1, " (Wycena - oryginał)"}, kind_title{2, " (Wycena - oferta)"},
                             kind_title{3, " (Wycena)"}}) {
    json spec = simple_spec("Hala");
    spec["general"]["valuation_flag"] = 1;
    spec["general"]["valuation_kind"] = k.kind;
    const std::string path = build(spec, "w" + std::to_string(k.kind) + ".kvr");
    estimate_doc doc;
    // Read-only or not, a valuation's note replaces the read-only one.
    ASSERT_TRUE(open_simple_estimate(doc, path, nullptr, true, nullptr, false, true));
    EXPECT_EQ(document_title(doc, path), "w" + std::to_string(k.kind) + ".kvr" + k.note + " (Hala)");
  }

  json locked = simple_spec("");
  locked["general"]["valuation_lock"] = 1;
  const std::string path = build(locked, "locked.kvr");
  estimate_doc doc;
  ASSERT_TRUE(open_simple_estimate(doc, path));
  EXPECT_EQ(doc.editing_state, EDIT_VALUATION_LOCKED);
  EXPECT_FALSE(is_editable(doc));
  EXPECT_FALSE(is_read_only(doc));
  EXPECT_EQ(document_title(doc, path), "locked.kvr (Tylko do odczytu)");
  set_valuation_lock(doc, 0);
  EXPECT_TRUE(is_editable(doc));
  EXPECT_EQ(document_title(doc, path), "locked.kvr");
  set_valuation_lock(doc, 1);
  EXPECT_EQ(doc.general.valuation_lock(), 1);
  EXPECT_TRUE(is_editable(doc));  // locking again takes effect at the next open
}

TEST_F(EstimateDocs, ChapterDocumentShowsItsNameOnlyUnderItsCompound) {
  const std::string path = build(simple_spec("Rozdział"));
  estimate_doc doc;
  ASSERT_TRUE(open_simple_estimate(doc, path, nullptr, true, nullptr, true));
  EXPECT_TRUE(doc.as_chapter_source);
  doc.storage = STORAGE_EXTERNAL;
  EXPECT_EQ(document_title(doc, path), "a.kvr");
  estimate_doc compound;
  doc.parent = &compound;
  EXPECT_EQ(document_title(doc, path), "a.kvr (Rozdział)");
}

TEST_F(EstimateDocs, ChangeFlagsFollowTheContainer) {
  const std::string path = build(simple_spec());
  estimate_doc doc;
  ASSERT_TRUE(open_simple_estimate(doc, path));
  clear_modified(doc);
  set_changed(doc, false);
  EXPECT_FALSE(is_modified(doc));
  EXPECT_FALSE(is_changed(doc));
  set_changed(doc, true);
  EXPECT_TRUE(is_modified(doc));
  EXPECT_TRUE(is_changed(doc));
  clear_modified(doc);
  EXPECT_FALSE(is_modified(doc));
  // Unsaved changes alone make the document changed: a window must ask about saving.
  set_changed(doc, false);
  doc.records->set_modified(true);
  EXPECT_TRUE(is_changed(doc));
  close_estimate(doc);
  EXPECT_FALSE(is_modified(doc));  // a closed document has nothing to save
}

namespace {
// A work group "2" with four elements, each holding one position.
json group_of_four_elements() {
  json nodes = json::array({{{"type", 9}, {"level", 0}, {"number", "2"}}});
  for (int i = 1; i <= 4; ++i) {
    nodes.push_back({{"type", 0}, {"level", 1}, {"number", "2." + std::to_string(i)}});
    nodes.push_back({{"type", 1}, {"level", 2}, {"number", "p" + std::to_string(i)}, {"quantity", i}});
  }
  return {{"general", {{"name", "Ruchy"}}}, {"nodes", nodes}};
}

// The file opened for work with its tree, and the tree as it stands after a reopen.
struct tree_on_file {
  estimate_doc doc;
  Kvr_Tree8 tree;
  bool open(const std::string& path) {
    if (!open_simple_estimate(doc, path)) return false;
    auto root = new Koszt_Node;
    attach_last(tree, nullptr, root, 0, "Kosztorys");
    build_tree(*doc.records, tree, *root, &doc);
    return true;
  }
  Elpz_Node* node(const std::string& number) {
    for (Smp_Node* n = tree.first; n; n = next_in_preorder(n))
      if (auto e = dynamic_cast<Elpz_Node*>(n); e && e->record.number() == number) return e;
    return nullptr;
  }
  // Saved (the document is worked on in memory), then closed.
  bool close() {
    clear(tree);
    const bool saved = kovra::store::flush_record_set(doc.records->set()) &&
                       kovra::store::flush_container(kovra::store::set_handle(doc.records->set()));
    return close_estimate(doc) && saved;
  }
};
} // namespace

TEST_F(EstimateDocs, MovesKeepTheChainInTreeOrderInTheFile) {
  using kovra::document::testing::tree_numbers;
  using strings = std::vector<std::string>;
  const std::string path = build(group_of_four_elements());
  const strings outdented = {"2@1", "2.1@2", "p1@3", "2.2@1", "p2@2", "@1", "2.3@2", "p3@3", "2.4@2", "p4@3"};
  const strings indented = {"2@1", "2.1@2", "p1@3", "2.2@2", "p2@3", "@1", "2.3@2", "p3@3", "2.4@2", "p4@3"};
  const strings moved = {"2@1", "2.1@2", "p1@3", "2.2@2", "p2@3", "@1", "2.4@2", "p4@3", "2.3@2", "p3@3"};
  {
    tree_on_file f;
    ASSERT_TRUE(f.open(path));
    // Out of the group: the elements after it go into a new group behind it.
    ASSERT_EQ(outdent_node(f.tree, f.node("2.2"), nullptr), move_result::moved);
    EXPECT_EQ(tree_numbers(f.tree), outdented);
    ASSERT_TRUE(f.close());
  }
  {
    tree_on_file f;
    ASSERT_TRUE(f.open(path));
    EXPECT_EQ(tree_numbers(f.tree), outdented);
    // Back into the group before it, at its end.
    ASSERT_EQ(indent_node(f.tree, f.node("2.2"), nullptr), move_result::moved);
    ASSERT_TRUE(f.close());
  }
  {
    tree_on_file f;
    ASSERT_TRUE(f.open(path));
    EXPECT_EQ(tree_numbers(f.tree), indented);
    ASSERT_TRUE(move_node(f.tree, f.node("2.3"), f.node("2.4"), MOVE_BEFORE));
    ASSERT_TRUE(f.close());
  }
  tree_on_file f;
  ASSERT_TRUE(f.open(path));
  EXPECT_EQ(tree_numbers(f.tree), moved);
  f.close();
}
