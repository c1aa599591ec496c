// Another estimate opened to take data from it: the refusals in their order, each with its
// message, and the settings taken from it.
#include "estimate_doc_support.h"

#include "document/estimate_layout.h"
#include "store/codepage.h"
#include "store/paths.h"

using namespace estimate_doc_test;
using compound_test::compound_spec;

TEST_F(EstimateDocs, AnotherEstimateIsRefusedWithTheMessageOfItsReason) {
  const std::string compound = build(compound_spec(json::array()), "z.kvr");
  json offer = simple_spec();
  offer["general"]["valuation_flag"] = 1;
  offer["general"]["valuation_kind"] = 2;
  const std::string offer_path = build(offer, "oferta.kvr");
  json locked = simple_spec();
  locked["general"]["valuation_lock"] = 1;
  const std::string locked_path = build(locked, "zablokowany.kvr");
  const std::string current_path = build(simple_spec("Bieżący"), "biezacy.kvr");

  estimate_doc current;
  ASSERT_TRUE(open_simple_estimate(current, current_path));
  struct refusal {
    std::string path;
    bool as_chapter;
    int message;
  };
  for (const refusal& r : {refusal{compound, true, 251}, refusal{compound, false, 252},
                           refusal{current_path, false, 75}, refusal{offer_path, true, 254},
                           refusal{offer_path, false, 196}, refusal{locked_path, true, 253},
                           refusal{locked_path, false, 195}, refusal{dir / "brak.kvr", false, 17},
                           // Wanted as a chapter, the current file is opened, and is in use.
                           refusal{current_path, true, 83}}) {
    SCOPED_TRACE(r.path + (r.as_chapter ? " as chapter" : ""));
    sink.clear();
    EXPECT_EQ(open_other_estimate(r.path, &current, r.as_chapter), nullptr);
    EXPECT_EQ(asked(), std::vector<int>{r.message});
    // A refused estimate is closed again.
    if (r.path != current_path) EXPECT_LT(kovra::store::find_open_file(r.path), 0);
  }
  EXPECT_TRUE(current.is_open());
}

TEST_F(EstimateDocs, SettingsOfAnotherEstimateAreTakenAndItIsClosedAgain) {
  json spec = simple_spec("Źródło");
  spec["general"]["calc_method"] = 1;
  spec["overheads"] = {{"rows", {{{"name", "Koszty pośrednie"}, {"rates", {61}}}}}};
  const std::string path = build(spec, "zrodlo.kvr");
  auto doc = open_other_estimate(path, nullptr, true);
  ASSERT_TRUE(doc);
  EXPECT_TRUE(is_editable(*doc));
  free_estimate(doc);
  EXPECT_EQ(doc, nullptr);
  EXPECT_FALSE(std::filesystem::exists(kovra::store::working_copy_name(path)));

  auto taken = take_estimate_settings(path, nullptr);
  ASSERT_TRUE(taken);
  EXPECT_EQ(kovra::store::mazovia_to_utf8(taken->general.name()), "Źródło");
  EXPECT_EQ(taken->general.calc_method(), 1);
  EXPECT_FLOAT_EQ(taken->overhead.rate(0, 0), 61.0f);
  EXPECT_LT(kovra::store::find_open_file(path), 0);
  EXPECT_TRUE(asked().empty());
}

TEST_F(EstimateDocs, EstimatesOpenByTheirKind) {
  const std::string simple = build(simple_spec(), "a.kvr");
  const std::string compound = build(compound_spec(json::array()), "z.kvr");
  EXPECT_EQ(document_kind(simple), KIND_SIMPLE);
  EXPECT_EQ(document_kind(compound), KIND_COMPOUND);
  uint8_t error = 0;
  EXPECT_EQ(document_kind(dir / "brak.kvr", &error), -1);
  EXPECT_EQ(error, kovra::store::OPEN_NOT_FOUND);

  auto a = open_estimate_by_kind(simple, document_kind(simple));
  ASSERT_TRUE(a);
  EXPECT_EQ(a->structure_kind, LAYOUT_SIMPLE);
  auto z = open_estimate_by_kind(compound, document_kind(compound));
  ASSERT_TRUE(z);
  EXPECT_EQ(z->structure_kind, LAYOUT_COMPOUND);
  // The wrong layout for the file fails and leaves nothing open.
  free_estimate(z);
  EXPECT_EQ(open_estimate_by_kind(simple, KIND_COMPOUND), nullptr);
  EXPECT_EQ(asked(), std::vector<int>{172});
}
