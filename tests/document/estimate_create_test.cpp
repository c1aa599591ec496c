// Compound estimates opened as documents, and new estimate files: the checks of the
// compound open and the starting contents of a created file.
#include "estimate_doc_support.h"

#include "document/data_chain.h"
#include "document/chapter_open.h"
#include "document/estimate_layout.h"
#include "shell/general_settings.h"
#include "store/paths.h"
#include "store/record_set.h"
#include "store/container.h"

#include <cstring>

using namespace estimate_doc_test;
using compound_test::compound_spec;
using compound_test::internal_chapter;
using kovra::store::working_copy_name;

TEST_F(EstimateDocs, CompoundEstimateOpensOnlyWhenItComesFromTheMaker) {
  json spec = compound_spec(json::array({internal_chapter("1")}));
  const std::string good = build(spec, "z.kvr");
  estimate_doc doc;
  init_compound_doc(doc);
  ASSERT_TRUE(open_compound_estimate(doc, good, true));
  EXPECT_TRUE(asked().empty());
  EXPECT_EQ(doc.structure_kind, LAYOUT_COMPOUND);
  EXPECT_TRUE(doc.as_chapter_source);
  EXPECT_EQ(doc.print_config.size(), PRINT_CONFIG_SIZE);
  EXPECT_EQ(document_title(doc, good), "z.kvr (Złożony)");
  EXPECT_TRUE(std::filesystem::exists(working_copy_name(good)));
  close_estimate(doc);
  EXPECT_FALSE(std::filesystem::exists(working_copy_name(good)));

  // Another maker's creator line: refused even though its checksum is right, unchanged.
  spec["header"]["creator"] = "Inny program";
  const std::string foreign = build(spec, "obcy.kvr");
  const std::string before = bytes_of(foreign);
  EXPECT_FALSE(open_compound_estimate(doc, foreign));
  EXPECT_EQ(asked(), std::vector<int>{237});
  EXPECT_FALSE(doc.is_open());
  EXPECT_TRUE(bytes_of(foreign) == before);
  EXPECT_FALSE(std::filesystem::exists(working_copy_name(foreign)));
  EXPECT_LT(kovra::store::find_open_file(foreign), 0);

  // The simple open does not look at the creator line; the compound open wants kind 2.
  sink.clear();
  json simple = simple_spec();
  simple["header"]["creator"] = "Inny program";
  const std::string plain = build(simple, "prosty.kvr");
  EXPECT_FALSE(open_compound_estimate(doc, plain));
  EXPECT_EQ(asked(), std::vector<int>{172});
  estimate_doc other;
  EXPECT_TRUE(open_simple_estimate(other, plain));
}

TEST_F(EstimateDocs, CompoundEstimateRefusesOtherVersionsPasswordsAndSecondOpens) {
  const std::string path = build(compound_spec(json::array({internal_chapter("1")})), "z.kvr");
  estimate_doc first, second;
  ASSERT_TRUE(open_compound_estimate(first, path));
  EXPECT_FALSE(open_compound_estimate(second, path));
  EXPECT_EQ(asked(), std::vector<int>{1});
  close_estimate(first);

  sink.clear();
  json spec = compound_spec(json::array());
  spec["general"]["password"] = kovra::shell::password_value("tajne");
  const std::string locked = build(spec, "haslo.kvr");
  const std::string before = bytes_of(locked);
  EXPECT_FALSE(open_compound_estimate(second, locked));  // no one to ask: refused
  EXPECT_TRUE(bytes_of(locked) == before);
  scripted_password question;
  question.answers = {"tajne"};
  set_password_question(&question);
  EXPECT_TRUE(open_compound_estimate(second, locked));
  close_estimate(second);

  std::string bytes = bytes_of(path);
  const int16_t v700 = 700;
  std::memcpy(bytes.data() + 3, &v700, 2);
  write_bytes(path, bytes);
  EXPECT_FALSE(open_compound_estimate(second, path));
  EXPECT_EQ(asked(), std::vector<int>{293});
}

TEST_F(EstimateDocs, NewSimpleEstimateStartsFromTheProgramSettings) {
  kovra::shell::reset_general_settings();
  auto& settings = kovra::shell::general_settings();
  settings.block[51] = 2;  // method 2 (investor table), overheads per position 1
  settings.block[52] = 1;
  settings.block[53] = 1;
  settings.block[69] = 1;
  settings.set_hidden_columns(1, 0x0A);
  const std::string path = dir / "nowy.kvr";
  {
    estimate_doc doc;
    int checksum = -1;
    ASSERT_TRUE(create_simple_estimate(doc, path, &checksum));
    EXPECT_EQ(checksum, 0);
    EXPECT_TRUE(is_editable(doc));
    EXPECT_EQ(doc.header.kind(), KIND_SIMPLE);
  }
  kovra::shell::reset_general_settings();

  // Created and closed without saving: the starting contents are in the file.
  estimate_doc doc;
  ASSERT_TRUE(open_simple_estimate(doc, path));
  EXPECT_TRUE(asked().empty());
  const general_data& g = doc.general;
  for (int at : {914, 918, 4114, 4118, 4122, 4128, 5582, 5605, 5600})
    EXPECT_EQ(get_i32(g.at(at)), NO_POS) << at;
  EXPECT_NE(g.investor_overheads_record(), NO_POS);
  EXPECT_NE(g.print_config_record(), NO_POS);
  EXPECT_EQ(g.calc_method(), 2);
  EXPECT_EQ(g.investor_table(), 1);
  EXPECT_EQ(g.merged_value_correction(), 1);
  EXPECT_EQ(g.hidden_columns(1), 0x0A);
  EXPECT_EQ(g.units_count(), 1.0);
  EXPECT_EQ(get_f64(g.at(gd::DOUBLE_4075)), 1.0);
  EXPECT_EQ(g.currency(), 1);
  EXPECT_EQ(g.cpv_level(), 3);
  for (int i = 0; i < 3; ++i) EXPECT_FLOAT_EQ(g.coef(i), 1.0f);
  EXPECT_EQ(g.coef_text(0), coef_text_of(1.0f));
  EXPECT_EQ(g.kz_rate_other(), 0.0f);  // no purchase-cost rates yet
  EXPECT_TRUE(read_overhead_record(*doc.records, g.investor_overheads_record(), CHAIN_DATA));
  EXPECT_EQ(doc.records->count(CHAIN_ELPZ), 0u);
}

// A new file carries the format revision whose records it holds, whatever minor number the
// program was stamped with and whatever the replaced file carried: a lower revision would make
// the next open "upgrade" it and reset the coefficients and the multiplicity switch.
TEST_F(EstimateDocs, NewFileCarriesTheCurrentFormatRevision) {
  kovra::store::stamp_header_template("v.8.01", 1);
  json old = simple_spec();
  old["header"]["revision"] = 1;
  old["header"]["description"] = "stary opis";
  const std::string replaced = build(old, "stary.kvr");
  for (const std::string& path : {std::string(dir / "rewizja.kvr"), replaced}) {
    SCOPED_TRACE(path);
    {
      estimate_doc doc;
      ASSERT_TRUE(create_simple_estimate(doc, path));
      EXPECT_EQ(doc.header.revision, kovra::store::FORMAT_REVISION);
      doc.general.set_multiplicity_in_unit(1);
      doc.records->set_user_header(doc.general.bytes);
      ASSERT_TRUE(kovra::store::flush_record_set(doc.records->set()));
      ASSERT_TRUE(kovra::store::flush_container(kovra::store::set_handle(doc.records->set())));
      ASSERT_TRUE(close_estimate(doc));
    }
    estimate_doc doc;
    ASSERT_TRUE(open_simple_estimate(doc, path));
    EXPECT_EQ(doc.header.revision, kovra::store::FORMAT_REVISION);
    EXPECT_EQ(doc.general.multiplicity_in_unit(), 1);
  }
  // The replaced file's own header lines stay.
  estimate_doc doc;
  ASSERT_TRUE(open_simple_estimate(doc, replaced));
  EXPECT_EQ(kovra::store::header_description(doc.header), "stary opis");
  kovra::store::reset_header_template();
}

TEST_F(EstimateDocs, NewChapterTakesItsCompoundsPurchaseCostPercentage) {
  estimate_doc compound;
  compound.general.set_purchase_cost_percent(7.5f);
  estimate_doc chapter;
  chapter.parent = &compound;
  ASSERT_TRUE(create_simple_estimate(chapter, dir / "r.kvr"));
  EXPECT_FLOAT_EQ(chapter.general.purchase_cost_percent(), 7.5f);
  EXPECT_EQ(chapter.general.kz_rate_other(), 0.0f);
}

TEST_F(EstimateDocs, NewCompoundEstimateAndFilesThatCannotBeCreated) {
  const std::string path = dir / "zlozony.kvr";
  {
    estimate_doc doc;
    ASSERT_TRUE(create_compound_estimate(doc, path));
  }
  estimate_doc doc;
  ASSERT_TRUE(open_compound_estimate(doc, path));
  EXPECT_EQ(doc.general.name(), "Kosztorys");
  EXPECT_NE(doc.general.print_config_record(), NO_POS);
  EXPECT_EQ(document_title(doc, path), "zlozony.kvr (Kosztorys)");
  EXPECT_EQ(document_kind(path), KIND_COMPOUND);

  // A file replaced by a new estimate keeps its header's description.
  close_estimate(doc);
  json spec = simple_spec();
  spec["header"]["description"] = "Opis zbioru";
  const std::string old = build(spec, "stary.kvr");
  ASSERT_TRUE(create_compound_estimate(doc, old));
  EXPECT_EQ(kovra::store::header_description(doc.header), "Opis zbioru");
  EXPECT_EQ(doc.header.kind(), KIND_COMPOUND);
  EXPECT_EQ(doc.records->count(CHAIN_CHPT_NODE), 0u);

  EXPECT_FALSE(create_simple_estimate(doc, dir / "brak/nowy.kvr"));
  EXPECT_EQ(asked(), std::vector<int>{79});
  EXPECT_FALSE(doc.is_open());
}

TEST_F(EstimateDocs, CompoundDocumentClosesWithItsChaptersAttached) {
  json chapters = json::array({internal_chapter("1"), compound_test::external_chapter("2", "r2.kvr")});
  const std::string path = build(compound_spec(chapters), "z.kvr");
  for (bool read_only : {true, false}) {
    SCOPED_TRACE(read_only);
    auto doc = open_estimate_by_kind(path, KIND_COMPOUND, read_only);
    ASSERT_TRUE(doc);
    doc->tree = std::make_unique<Kvr_Tree8>();
    auto* root = new Koszt_Node;
    attach_last(*doc->tree, nullptr, root, 0, "");
    store_compound compound(*doc->records, path, doc->header, doc->general, doc->overhead);
    chapter_open_options quiet;
    quiet.quiet = true;
    open_all_result r;
    ASSERT_TRUE(open_all_chapters(*doc->tree, *root, compound, quiet, &r));
    EXPECT_EQ(r.attached, 2);
    EXPECT_TRUE(std::filesystem::exists(working_copy_name(dir / "r2.kvr")) != read_only);
    // The tree (and the chapters it owns) goes first, then the compound's set.
    EXPECT_TRUE(close_estimate(*doc));
    EXPECT_EQ(doc->tree, nullptr);
    EXPECT_FALSE(std::filesystem::exists(working_copy_name(dir / "r2.kvr")));
    EXPECT_LT(kovra::store::find_open_file(dir / "r2.kvr"), 0);
    EXPECT_LT(kovra::store::find_open_file(path), 0);
  }
}
