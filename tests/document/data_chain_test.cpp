#include "document/data_chain.h"
#include "document/elpz_chain.h"
#include "document/estimate_layout.h"
#include "document/memory_records.h"
#include "document/node_blocks.h"

#include <gtest/gtest.h>

using namespace kovra::document;

TEST(DataChain, AuthorsPositionZeroIsNoneAndAnEmptyListDeletesTheRecord) {
  auto m = memory_records::simple_estimate();
  general_data g = new_general_data();
  g.set_authors_record(0);
  EXPECT_TRUE(read_authors(*m, g, CHAIN_DATA).empty());
  EXPECT_EQ(g.authors_record(), -1);

  std::vector<author> people = {{"Jan Nowak", "kosztorysant"}};
  write_authors(*m, g, people, CHAIN_DATA);
  ASSERT_NE(g.authors_record(), -1);
  EXPECT_EQ(read_authors(*m, g, CHAIN_DATA), people);
  people.push_back({"Ewa Kot", "sprawdzający"});
  write_authors(*m, g, people, CHAIN_DATA);
  EXPECT_EQ(read_authors(*m, g, CHAIN_DATA), people);
  EXPECT_EQ(m->count(CHAIN_DATA), 1u);
  write_authors(*m, g, {}, CHAIN_DATA);
  EXPECT_EQ(g.authors_record(), -1);
  EXPECT_EQ(m->count(CHAIN_DATA), 0u);
}

TEST(DataChain, DescriptionSplitsAfterConversion) {
  auto m = memory_records::simple_estimate();
  general_data g = new_general_data();
  EXPECT_FALSE(read_description(*m, g, CHAIN_DATA)[0]);
  std::string text = std::string("Opis") + "\r\n\xFA\xFA\xFA\r\n" + "Za" + "\x92" + "o" + "\r\n\xB7\xB7\xB7\r\n" + "Klauzula";
  g.set_description_record(store_data_record(*m, NO_POS, encode_text_record(text), CHAIN_DATA));
  auto parts = read_description(*m, g, CHAIN_DATA);
  ASSERT_TRUE(parts[2]);
  EXPECT_EQ(*parts[0], "Opis");
  EXPECT_EQ(*parts[1], "Za\xB3o");  // converted to Windows-1250
  EXPECT_EQ(*parts[2], "Klauzula");
}

TEST(DataChain, EstimateTextsAndNodeTexts) {
  auto m = memory_records::simple_estimate();
  general_data g = new_general_data();
  put_i32(g.at(gd::NOTE_TEXT), 0);
  EXPECT_FALSE(read_estimate_text(*m, g, 0));
  EXPECT_EQ(g.note_text(), -1);
  g.set_cpv_text(store_data_record(*m, NO_POS, encode_text_record("45000000-7"), CHAIN_DATA));
  EXPECT_EQ(read_estimate_text(*m, g, 1), "45000000-7");
  // Converted as the node texts are ("ł": Mazovia 0x92, Windows-1250 0xB3).
  g.set_note_text(store_data_record(*m, NO_POS, encode_text_record("Uwaga \x92"), CHAIN_DATA));
  EXPECT_EQ(read_estimate_text(*m, g, 0), "Uwaga \xB3");
  EXPECT_EQ(read_estimate_text_raw(*m, g, 0), "Uwaga \x92");

  elpz_record r = new_elpz_record(NODE_POSITION);
  std::vector<uint8_t> t = encode_text_record("Uwaga \x92");
  r.set_text_pos(0, m->insert(CHAIN_TEXT, LAST_REC, NO_POS, t));
  EXPECT_EQ(read_node_text(*m, r, 0), "Uwaga \xB3");
  EXPECT_FALSE(read_node_text(*m, r, 2));
  r.set_text_pos(2, 123456);  // names no record
  EXPECT_FALSE(read_node_text(*m, r, 2));
}

TEST(ElpzChain, InsertReadRewrite) {
  auto m = memory_records::simple_estimate();
  elpz_record a = new_elpz_record(NODE_WORK_GROUP);
  elpz_record b = new_elpz_record(NODE_POSITION);
  b.set_description(std::string(400, 'x'));
  rec_pos pa = insert_elpz_record8(*m, a, LAST_REC, NO_POS);
  rec_pos pb = insert_elpz_record8(*m, b, LAST_REC, NO_POS);
  EXPECT_EQ(a.serial(), 1);
  EXPECT_EQ(b.serial(), 2);
  std::vector<uint8_t> stored;
  m->read(CHAIN_ELPZ, pb, stored);
  EXPECT_EQ(stored.size(), 676u);
  elpz_record r;
  EXPECT_EQ(read_elpz(*m, FIRST_REC, NO_POS, r), pa);
  EXPECT_EQ(r.description(), "GRUPA");
  EXPECT_EQ(read_elpz(*m, NEXT_REC, pa, r), pb);
  EXPECT_EQ(read_elpz(*m, NEXT_REC, pb, r), NO_POS);
  a.set_net(1234.5);
  EXPECT_TRUE(rewrite_elpz(*m, a, pa));
  read_elpz(*m, THIS_REC, pa, r);
  EXPECT_EQ(r.net(), 1234.5);
}
