#include "document/basis_text.h"
#include "document/chapter_record.h"
#include "document/collation.h"
#include "document/data_records.h"
#include "document/elpz_record.h"
#include "document/general_data.h"
#include "document/inputs_block.h"
#include "document/scaffold_links.h"
#include "document/zest_record.h"
#include "store/codepage.h"

#include <gtest/gtest.h>

using namespace kovra::document;
using kovra::store::utf8_to_mazovia;

TEST(GeneralData, NamedFieldsSitAtTheirOffsetsAndOtherBytesStay) {
  general_data g;
  g.bytes[4313] = 0xAB;  // a byte no field names
  g.set_name("Dom");
  g.set_labour_rate(34.5);
  g.set_calc_method(2);
  g.set_coef(1, 1.25f);
  EXPECT_EQ(g.bytes[858], 'D');
  EXPECT_EQ(get_f64(g.at(4051)), 34.5);
  EXPECT_EQ(g.bytes[4110], 2);
  EXPECT_EQ(get_f32(g.at(4280)), 1.25f);
  EXPECT_EQ(get_text(g.at(4180), 48), " 1.250");
  EXPECT_EQ(g.bytes[4313], 0xAB);
  general_data copy = general_data::from_bytes(g.bytes);
  EXPECT_EQ(copy.bytes, g.bytes);
}

TEST(GeneralData, PurchaseCostRatesAreStoredAsRatePlusOne) {
  general_data g;
  EXPECT_EQ(g.kz_rate_other(), 0.0f);  // stored 0: no rate
  put_f32(g.at(gd::KZ_RATE_OTHER), 1.5f);
  EXPECT_FLOAT_EQ(g.kz_rate_other(), 0.5f);
  put_f32(g.at(gd::KZ_RATE_OTHER), 0.25f);  // below 1 reads as no rate, not negative
  EXPECT_EQ(g.kz_rate_other(), 0.0f);
  g.set_kz_rate_simplified(7.004f);
  EXPECT_FLOAT_EQ(get_f32(g.at(gd::KZ_RATE_SIMPLIFIED)), 8.0f);

  general_data h;
  h.set_kz_rate_other(3.0f);
  h.set_purchase_cost_percent(5.0f);  // only the unset rate follows
  EXPECT_FLOAT_EQ(h.kz_rate_simplified(), 5.0f);
  EXPECT_FLOAT_EQ(h.kz_rate_other(), 3.0f);
}

TEST(GeneralData, NewEstimateDefaultsAndCurrency) {
  general_data g = new_general_data();
  EXPECT_EQ(g.description_record(), -1);
  EXPECT_EQ(g.print_config_record(), -1);
  EXPECT_EQ(get_i32(g.at(gd::POS_5605)), -1);
  EXPECT_EQ(g.units_count(), 1.0);
  EXPECT_EQ(g.cpv_level(), 3);
  EXPECT_EQ(g.coef_text(2), " 1.000");
  EXPECT_EQ(currency_text(&g), "z\x92");
  g.set_currency(2);
  EXPECT_EQ(currency_text(&g), "EURO");
  EXPECT_EQ(currency_text(nullptr), "");
}

TEST(ElpzRecord, NewRecordDefaultsPerType) {
  elpz_record e = new_elpz_record(NODE_ELEMENT);
  EXPECT_EQ(e.description(), "ELEMENT");
  EXPECT_EQ(e.i32(ep::ELEMENT_SURVEY), -1);
  EXPECT_EQ(e.cpv_level(), 5);
  EXPECT_EQ(e.divisor(), 1.0f);
  EXPECT_EQ(e.unit(), "???    ");
  EXPECT_EQ(new_elpz_record(NODE_WORK_GROUP).cpv_level(), 4);
  elpz_record p = new_elpz_record(NODE_POSITION);
  EXPECT_EQ(p.variant_count(), 1);
  EXPECT_EQ(p.inputs_pos(), -1);
  EXPECT_EQ(p.survey_pos(), -1);
  EXPECT_EQ(p.scaffold_link(), -1);
  EXPECT_EQ(p.multiplicity(), 1.0f);
  EXPECT_EQ(p.level(), 1);
  EXPECT_EQ(p.description(), " ");
  EXPECT_EQ(p.used_length(), 443u);
  EXPECT_EQ(p.note_pos(), -1);
  EXPECT_EQ(p.coef_text(0), " 1.000");
  elpz_record o = new_elpz_record(NODE_ONE_OFF);
  EXPECT_EQ(o.line_norm(0), 1.0);
  EXPECT_EQ(o.line_norm(3), 5.0);
  EXPECT_EQ(o.survey_pos(), -1);
  EXPECT_EQ(o.description(), utf8_to_mazovia("Dowóz sprzętu na odległość"));
  elpz_record s = new_elpz_record(NODE_SCAFFOLD);
  EXPECT_EQ(s.scaffold_p(), 1.0);
  EXPECT_EQ(s.scaffold_k(), 1);
  EXPECT_EQ(s.scaffold_links_pos(), -1);
  EXPECT_EQ(s.scaffold_count_code(), 1);
  EXPECT_EQ(s.unit2(), "???    ");
  EXPECT_EQ(new_elpz_record(NODE_TYPE_7).description(), "");
}

TEST(ElpzRecord, LongDescriptionIsCutAt676Bytes) {
  elpz_record p = new_elpz_record(NODE_POSITION);
  p.set_description(std::string(400, 'x'));
  EXPECT_EQ(p.used_length(), 676u);
  EXPECT_EQ(p.description().size(), 675u - 441u);
  // A stored record without terminator is cut, never read past.
  std::vector<uint8_t> damaged(700, 'y');
  put_i16(damaged.data() + 2, NODE_WORK_GROUP);
  elpz_record d = elpz_record::from_bytes(damaged);
  EXPECT_EQ(d.used_length(), 676u);
  EXPECT_EQ(d.description().size(), 675u - 308u);
  EXPECT_EQ(individual_code_of(d).size(), 28u);
}

TEST(ElpzRecord, OneOffDistanceIsAFloatBeforeTheFirstLine) {
  elpz_record o = new_elpz_record(NODE_ONE_OFF);
  o.set_f32(ep::ONE_OFF_DISTANCE, 17.0f);
  o.set_line_value(0, 200.0);
  EXPECT_EQ(o.one_off_distance(), 17.0f);
  EXPECT_EQ(o.line_value(0), 200.0);
}

TEST(InputsBlock, RoundTripsWithNamesAndCutsDamage) {
  inputs_block b;
  b.named = true;
  b.variants.push_back({"a", "Wariant pierwszy", {{0, 999, 0, 1.5, 1.0f, 0, 0, 0}, {1, 17, 2, 0.3, 1.1f, 1, 2, 1}}});
  b.variants.push_back({"b", "Drugi", {{2, 5, 0, 2.0, 1.0f, 0, 0, 0}}});
  std::vector<uint8_t> bytes = encode_inputs_block(b);
  EXPECT_EQ(bytes.size(), 2 * 3 + 3 * 22 + 2 * 10 + 17 + 6u);
  EXPECT_EQ(decode_inputs_block(bytes, 2, true), b);

  std::vector<uint8_t> v = inputs_variant_bytes(bytes, 2, 1);
  ASSERT_EQ(v.size(), 3 + 22u);
  EXPECT_EQ(v[2], 1);
  EXPECT_EQ(decode_input_entry(v.data() + 3).id, 5u);
  EXPECT_TRUE(inputs_variant_bytes(bytes, 2, 2).empty());
  EXPECT_TRUE(inputs_variant_bytes(bytes, 0, 0).empty());

  // A row pointing past the entries keeps only what exists; a huge variant count is cut.
  std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + 6 + 22 * 2);
  inputs_block d = decode_inputs_block(cut, 2, false);
  ASSERT_EQ(d.variants.size(), 2u);
  EXPECT_EQ(d.variants[0].entries.size(), 2u);
  EXPECT_TRUE(d.variants[1].entries.empty());
  EXPECT_EQ(decode_inputs_block(cut, 30000, true).variants.size(), cut.size() / 3);
}

TEST(ScaffoldLinks, CountLargerThanTheBlockIsCut) {
  std::vector<rec_pos> links = {100, 200, 300};
  std::vector<uint8_t> bytes = encode_scaffold_links(links);
  EXPECT_EQ(decode_scaffold_links(bytes), links);
  put_i32(bytes.data(), 1000);
  EXPECT_EQ(decode_scaffold_links(bytes), links);
  put_i32(bytes.data(), -5);
  EXPECT_TRUE(decode_scaffold_links(bytes).empty());
}

TEST(PriceRecords, StoredLengthAndSummaryAverages) {
  zest_record z;
  z.set_name("Cement");
  z.set_key(1900201, 3);
  EXPECT_EQ(z.used_length(), 124 + 6u);
  EXPECT_EQ(z.key0(), make_key0(1900201, 3));
  chpt_zest_record c = new_chpt_zest_record(1, 7, 0, "t", "Cement");
  EXPECT_EQ(c.used_length(), 187 + 6u);
  c.set_f64(82, 10.0);
  c.set_f64(90, 20.0);
  EXPECT_EQ(average_price(c), 15.0);  // no price-basis quantity: the midpoint
  c.set_f64(122, 500.0);
  c.set_f64(130, 10.0);
  EXPECT_EQ(average_price(c), 20.0);  // 50 held within the extremes
  EXPECT_EQ(average_base_price(c), 0.0);
}

TEST(Collation, NameOrder) {
  EXPECT_LT(compare_names("Cement 4", "Cement 32,5"), 0);
  EXPECT_GT(compare_names("Cement 32,5", "Cement 4"), 0);
  EXPECT_LT(compare_names(utf8_to_mazovia("Żwir"), utf8_to_mazovia("Źródło")), 0);
  EXPECT_LT(compare_names(utf8_to_mazovia("Łata"), "Mata"), 0);
  EXPECT_LT(compare_names(utf8_to_mazovia("Lina"), utf8_to_mazovia("Łata")), 0);
  EXPECT_EQ(compare_names("pre t 1", "PRET1"), 0);  // case and blanks do not count
  EXPECT_LT(compare_names("Pret 1,5", "Pret 1.75"), 0);
  // The six characters after "Z" sort after "ź", each on its own, before the bytes above "z".
  const std::string after_z = "[\\]^_`";
  EXPECT_NE(compare_names("[A", "TA"), 0);
  EXPECT_NE(make_key1(1, "_A"), make_key1(1, "XA"));
  std::string previous = utf8_to_mazovia("ź");
  for (char c : after_z) {
    EXPECT_GT(compare_names(std::string(1, c), previous), 0) << c;
    previous = std::string(1, c);
  }
  EXPECT_LT(compare_names("`", "{"), 0);
  key1_t k = make_key1(1, "a b c d e f g h i j k l");
  EXPECT_EQ(k[0], 1);
  EXPECT_EQ(k[1], 0x41);
  EXPECT_EQ(k[10], collation_weight('J'));
  key1_t shortk = make_key1(2, "Ab");
  EXPECT_EQ(shortk[3], 0);
}

TEST(BasisText, BuiltFromTheCatalogueReference) {
  elpz_record p = new_elpz_record(NODE_POSITION);
  p.set_catalogue_name("knr");
  p.set_i16(ep::CATALOGUE_NUMBER, 202);
  p.set_i16(ep::TABLE_NUMBER, 101);
  p.set_i16(ep::COLUMN_NUMBER, 3);
  EXPECT_EQ(basis_text(p, false), "KNR 202/101/3");
  EXPECT_EQ(p.catalogue_name(), "KNR");
  p.set_i16(ep::VARIANT_COUNT, 3);
  p.set_i16(ep::CURRENT_VARIANT, 1);
  EXPECT_EQ(basis_text(p, false), "KNR 202/101/3 (2)");

  elpz_record s = new_elpz_record(NODE_SIMPLIFIED);
  s.set_i16(ep::CATALOGUE_NUMBER, 202);
  s.set_i16(ep::TABLE_NUMBER, 101);
  s.set_i16(ep::COLUMN_NUMBER, 3);
  s.bytes[ep::REF_STYLE] = 1;
  EXPECT_EQ(basis_text(s, false, "knnr-w"), "KNNR- 202/0101-0301");

  elpz_record f = new_elpz_record(NODE_POSITION);
  f.set_i16(ep::CATALOGUE_NUMBER, 0);
  f.set_i16(ep::TABLE_NUMBER, 5);
  EXPECT_EQ(basis_text(f, false), "");
  f.set_flags(FLAG_BASIS_AS_TEXT);
  f.set_text(ep::POSITION_BASIS_TEXT, 26, "Kalkulacja");
  EXPECT_EQ(basis_text(f, false), "Kalkulacja");
  f.set_i16(ep::CATALOGUE_NUMBER, 7);
  f.set_i16(ep::TABLE_NUMBER, 0);
  f.set_i16(ep::FURTHER_NUMBER, 4);
  EXPECT_EQ(basis_text(f, true), "KNR 7/4");
  EXPECT_EQ(basis_text(p = new_elpz_record(NODE_ELEMENT), false), "");
}

TEST(DataRecords, AdditionsAuthorsDescriptionTexts) {
  std::vector<addition> adds = {{"Zaplecze", 2500.0}, {"Kierownik", 3200.0}};
  std::vector<uint8_t> a = encode_additions(adds);
  EXPECT_EQ(a.size(), 2 + 2 * 259u);
  EXPECT_EQ(decode_additions(a), adds);
  put_u16(a.data(), 50);
  EXPECT_EQ(decode_additions(a).size(), 2u);

  std::vector<author> people = {{"Jan Nowak", "kosztorysant"}, {"Ewa Kot", "inspektor"}};
  std::vector<uint8_t> b = encode_authors(people);
  EXPECT_EQ(decode_authors(b), people);
  b.pop_back();  // the last text loses its terminator: it ends at the record's end
  EXPECT_EQ(decode_authors(b), people);
  put_u16(b.data(), 9);  // more pairs announced than stored
  EXPECT_EQ(decode_authors(b).size(), 2u);
  b.resize(b.size() - 10);  // the second pair loses its function: dropped
  EXPECT_EQ(decode_authors(b).size(), 1u);

  auto parts = split_description(join_description("jeden", "dwa", "trzy"));
  EXPECT_EQ(*parts[0], "jeden");
  EXPECT_EQ(*parts[2], "trzy");
  auto whole = split_description("bez separatora");
  EXPECT_EQ(*whole[0], "bez separatora");
  EXPECT_FALSE(whole[1]);
  EXPECT_FALSE(whole[2]);

  EXPECT_EQ(specification_number("D-01.01\x01reszta"), "D-01.01");
  EXPECT_EQ(decode_text_record(encode_text_record("notatka")), "notatka");
  std::vector<uint8_t> open = {'a', 'b'};
  EXPECT_EQ(decode_text_record(open), "ab");
  overhead_record o = new_overhead_record();
  o.set_rate(11, 6, 8.0f);
  EXPECT_EQ(get_f32(o.bytes.data() + 2 + 58 * 11 + 30 + 24), 8.0f);
  EXPECT_EQ(o.head(), 5);
  EXPECT_EQ(o.tail(), 1.0);
}

TEST(ChapterRecord, Defaults) {
  chapter_record c = new_chapter_record();
  EXPECT_EQ(c.subset_pos(), -1);
  EXPECT_EQ(c.quantity(), 1.0);
  EXPECT_EQ(c.precision_code(), 3);
  EXPECT_FALSE(c.internal());
}
