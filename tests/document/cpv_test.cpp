#include <map>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "document/cpv_codes.h"
#include "document/cpv_collect.h"
#include "document/cpv_table.h"

namespace kovra::document {
namespace {

// The vocabularies as shipped. Expected texts below are read from the published tables.
const cpv_table& tables() {
  static const std::shared_ptr<const cpv_table> t = [] {
    std::string error;
    auto loaded = load_cpv_tables(KOVRA_SOURCE_DIR "/data/cpv/", error);
    EXPECT_EQ(error, "");
    return loaded;
  }();
  return *t;
}

const std::string nbsp = "\u00a0";

TEST(CpvTable, HoldsBothVocabulariesSortedWithTheirLevels) {
  const cpv_table& t = tables();
  EXPECT_EQ(t.main().size(), 9454u);
  EXPECT_EQ(t.supplementary().size(), 903u);
  EXPECT_EQ(t.translations(), 8323u);
  ASSERT_TRUE(t.find_main("45000000"));
  EXPECT_EQ(t.find_main("45000000")->text, "45000000-7  Roboty budowlane");
  EXPECT_EQ(t.find_main("45000000-7")->level, 1);
  EXPECT_EQ(t.find_main("45100000")->level, 2);
  EXPECT_EQ(t.find_main("45210000")->level, 3);
  const cpv_entry* e = t.find_main("45111200");
  ASSERT_TRUE(e);
  EXPECT_EQ(e->level, 5);
  EXPECT_EQ(e->code(), "45111200");
  EXPECT_EQ(e->check_digit(), '0');
  EXPECT_EQ(e->description(), "Roboty w" + nbsp + "zakresie przygotowania terenu pod budowę i" + nbsp + "roboty ziemne");
  EXPECT_FALSE(t.find_main("4511120"));    // too short to name a code
  EXPECT_FALSE(t.find_main("02000000"));   // a code of the older edition only
  ASSERT_TRUE(t.find_supplementary("FF01"));
  EXPECT_EQ(t.find_supplementary("FF01-1")->text, "FF01-1  Do czyszczenia");
  EXPECT_EQ(t.find_supplementary("GB03")->description(), "Miesięcznie");
  EXPECT_FALSE(t.find_supplementary("E001"));

  // Search by code prefix and by words, letter case and no-break spaces aside.
  auto codes = [](const std::vector<const cpv_entry*>& v) {
    std::string s;
    for (const cpv_entry* e : v) s += std::string(e->code()) + " ";
    return s;
  };
  EXPECT_EQ(codes(t.search("451112")), "45111200 45111210 45111211 45111212 45111213 45111214 45111220 45111230 "
                                       "45111240 45111250 45111260 45111290 45111291 ");
  EXPECT_EQ(codes(t.search("45111200-0")), "45111200 ");
  EXPECT_EQ(codes(t.search("ROBOTY W ZAKRESIE przygotowania terenu pod budowę i roboty ZIEMNE")), "45111200 ");
  EXPECT_EQ(codes(t.search("LEŚNICTWO")), codes(t.search("leśnictwo")));
}

TEST(CpvTable, RefusesMalformedLinesWithTheirNumber) {
  cpv_table t;
  std::string error;
  EXPECT_FALSE(t.read_main("45000000-7\tRoboty\n4500000-7\tKrótki\n", error));
  EXPECT_EQ(error, "line 2: not a main code (dddddddd-d)");
  EXPECT_FALSE(t.read_supplementary("FF01-1 Do czyszczenia", error));
  EXPECT_EQ(error, "line 1: no tab between code and text");
  // Unsorted and repeated lines are put in order, the first of a code kept.
  EXPECT_TRUE(t.read_main("45100000-8\tB\r\n45000000-7\tA\n45100000-8\tC", error));
  ASSERT_EQ(t.main().size(), 2u);
  EXPECT_EQ(t.find_main("45100000")->description(), "B");
  // A correspondence line whose new code the table lacks is left out.
  EXPECT_TRUE(t.read_correspondence("02000000-4\t03400000-4\n01000000-7\t45000000-7(1)\n", error));
  EXPECT_EQ(t.translations(), 1u);
  EXPECT_EQ(t.find_2003("01000000")->entry->text, "45000000-7  A");
}

TEST(CpvCodes, ResolveThroughBothEditionsAndVerifyCheckDigits) {
  const cpv_table& t = tables();
  cpv_code c = resolve_main_code(t, "45111200-0");
  EXPECT_EQ(c.source, cpv_source::vocabulary);
  EXPECT_EQ(c.check, cpv_check::right);
  EXPECT_EQ(resolve_main_code(t, "45111200").check, cpv_check::absent);
  EXPECT_EQ(resolve_main_code(t, "45111200-1").check, cpv_check::wrong);
  EXPECT_EQ(resolve_main_code(t, "45111200-1").shown(),
            t.find_main("45111200")->text + "  [błędna cyfra kontrolna]");
  // The published digit holds where the rule gives another: 03300000 carries 2, the rule
  // gives 3·7 + 3·1 = 24 → 4.
  EXPECT_EQ(cpv_computed_check_digit("03300000"), '4');
  EXPECT_EQ(resolve_main_code(t, "03300000-2").check, cpv_check::right);
  EXPECT_EQ(resolve_main_code(t, "03300000-4").check, cpv_check::wrong);

  // A 2003 code is shown with the 2008 entry it became.
  c = resolve_main_code(t, " 02000000-4 ");
  EXPECT_EQ(c.source, cpv_source::translated);
  EXPECT_EQ(c.check, cpv_check::right);
  EXPECT_EQ(c.stored, "02000000-4");
  EXPECT_EQ(c.shown(), "03400000-4  Leśnictwo i" + nbsp + "pozyskiwanie drewna");
  EXPECT_EQ(c.key(), "03400000");
  EXPECT_EQ(resolve_main_code(t, "02000000-5").check, cpv_check::wrong);
  // 35113110 names different things in the two editions: the check digit tells which.
  EXPECT_EQ(resolve_main_code(t, "35113110-0").shown(), "35113110-0  System ochrony reaktora jądrowego");
  EXPECT_EQ(resolve_main_code(t, "35113110-3").shown(), t.find_main("34513100")->text);
  EXPECT_EQ(resolve_main_code(t, "35113110").source, cpv_source::vocabulary);

  // In neither edition: kept as stored, marked, its digit checked by the rule
  // (9 · (3+7+1+3+7+1+3+7) = 288 → 8).
  c = resolve_main_code(t, "99999999-8");
  EXPECT_EQ(c.source, cpv_source::unknown);
  EXPECT_EQ(c.check, cpv_check::right);
  EXPECT_EQ(c.shown(), "99999999-8  [kod nieznany]");
  EXPECT_EQ(resolve_main_code(t, "99999999-9").check, cpv_check::wrong);
  EXPECT_EQ(resolve_main_code(t, "Roboty").shown(), "Roboty  [kod nieznany]");
  EXPECT_EQ(cpv_computed_check_digit("45000000"), '7');  // 4·3 + 5·7 = 47

  EXPECT_EQ(resolve_supplementary_code(t, "GB03-4").check, cpv_check::right);
  EXPECT_EQ(resolve_supplementary_code(t, "GB03-5").check, cpv_check::wrong);
  c = resolve_supplementary_code(t, "E001-0");  // the older edition's "Do czyszczenia"
  EXPECT_EQ(c.source, cpv_source::unknown);
  EXPECT_EQ(c.shown(), "E001-0  [kod nieznany]");
  EXPECT_TRUE(resolve_supplementary_code(t, "").empty());
}

TEST(CpvCodes, SplitsCodeTextsIntoPairs) {
  const cpv_table& t = tables();
  auto pairs = parse_cpv_text(t, "45111200\x01");
  ASSERT_EQ(pairs.size(), 1u);
  EXPECT_EQ(pairs[0].main.entry, t.find_main("45111200"));
  EXPECT_TRUE(pairs[0].supplementary.empty());
  EXPECT_TRUE(parse_cpv_text(t, "").empty());
  // Two pairs (the second unknown, kept), then an empty pair ends the text.
  pairs = parse_cpv_text(t, std::string("45111200-0\x01" "FF01-1\x01" "12345678\x01\x01\x01\x01" "45000000", 37));
  ASSERT_EQ(pairs.size(), 2u);
  EXPECT_EQ(pairs[0].supplementary.shown(), "FF01-1  Do czyszczenia");
  EXPECT_EQ(pairs[1].main.shown(), "12345678  [kod nieznany]");
  // A pair with only a supplementary code is kept too.
  pairs = parse_cpv_text(t, "\x01GB03-4");
  ASSERT_EQ(pairs.size(), 1u);
  EXPECT_TRUE(pairs[0].main.empty());
  EXPECT_EQ(pairs[0].supplementary.entry->description(), "Miesięcznie");
}

TEST(CpvCodes, CutToALevel) {
  const cpv_table& t = tables();
  const cpv_code code = resolve_main_code(t, "45111200-0");
  auto cut = [&](const cpv_code& c, int digits) { return aggregate_code(t, c, digits)->shown(); };
  EXPECT_EQ(cut(code, 4), "45110000-1  Roboty w" + nbsp + "zakresie burzenia i" + nbsp +
                              "rozbiórki obiektów budowlanych; roboty ziemne");
  EXPECT_EQ(cut(code, 8), t.find_main("45111200")->text);
  EXPECT_EQ(cut(code, 0), "45000000-7  Roboty budowlane");
  EXPECT_EQ(cut(code, 1), "45000000-7  Roboty budowlane");
  // A 2003 code is cut as the 2008 code it became (03400000 → division 03).
  EXPECT_EQ(cut(resolve_main_code(t, "02000000-4"), 2), t.find_main("03000000")->text);
  // An unknown code is cut all the same and stays unknown when the cut code is too.
  EXPECT_EQ(cut(resolve_main_code(t, "99999999-8"), 4), "99990000  [kod nieznany]");
  EXPECT_FALSE(aggregate_code(t, resolve_main_code(t, "Roboty"), 4));
}

// An in-memory tree whose code texts and levels come from two maps.
class map_reader : public cpv_node_reader {
public:
  std::map<const Base_Node*, std::string> texts;
  std::map<const Base_Node*, int> levels;
  std::optional<std::string> code_text(Base_Node& n) override {
    auto it = texts.find(&n);
    return it == texts.end() ? std::nullopt : std::optional(it->second);
  }
  int level(const Base_Node& n) override { return levels.count(&n) ? levels.at(&n) : 0; }
};

std::string keys(const std::vector<cpv_code>& v) {
  std::string s;
  for (const cpv_code& c : v) s += std::string(c.key()) + " ";
  return s;
}

TEST(CpvCollect, CollectsSubtreesAndAggregatesToEachLevel) {
  Kvr_Tree8 tree;
  map_reader r;
  auto add = [&](Base_Node* parent, uint8_t kind, int level, const std::string& text) {
    auto* n = new Base_Node;
    n->kind = kind;
    append_child(tree, parent, n);
    r.levels[n] = level;
    if (!text.empty()) r.texts[n] = text;
    return n;
  };
  Base_Node* estimate = add(nullptr, KIND_ESTIMATE, 1, "45000000-7");
  Base_Node* group = add(estimate, KIND_WORK_GROUP, 4, "");
  Base_Node* element = add(group, KIND_ELEMENT, 5, "");
  Base_Node* p1 = add(element, KIND_POSITION, 6, "45111200-0\x01" "FF01-1");
  add(element, KIND_POSITION, 6, "45111200");
  Base_Node* p3 = add(element, KIND_POSITION, 6, "45210000-2\x01\x01" "02000000-4\x01");
  Base_Node* other = add(estimate, KIND_WORK_GROUP, 8, "99999999-8");
  collect_cpv_node(*estimate, tables(), r);

  EXPECT_EQ(p1->cpv_own.size(), 1u);
  EXPECT_EQ(p3->cpv_own.size(), 2u);  // the view shows the first; the parent collects both
  EXPECT_TRUE(p1->cpv_aggregated.empty());
  EXPECT_EQ(keys(element->cpv_collected), "45111200 45210000 03400000 ");
  EXPECT_EQ(keys(element->cpv_aggregated), "45111000 45210000 03400000 ");
  EXPECT_EQ(keys(group->cpv_collected), "45111200 45210000 03400000 ");
  EXPECT_EQ(keys(group->cpv_aggregated), "45110000 45210000 03400000 ");
  EXPECT_EQ(keys(other->cpv_collected), "");
  EXPECT_EQ(keys(other->cpv_aggregated), "99999999 ");  // its own code, unknown, kept
  EXPECT_EQ(keys(estimate->cpv_collected), "45111200 45210000 03400000 99999999 ");
  // Level 1 counts as 2: divisions, the estimate's own 45000000 already among them.
  EXPECT_EQ(keys(estimate->cpv_aggregated), "45000000 03000000 99000000 ");
  EXPECT_EQ(estimate->cpv_aggregated[2].source, cpv_source::unknown);

  // Collecting again starts afresh.
  r.texts.erase(p3);
  collect_cpv_node(*estimate, tables(), r);
  EXPECT_EQ(keys(group->cpv_aggregated), "45110000 ");
}

} // namespace
} // namespace kovra::document
