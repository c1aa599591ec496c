#include "document/estimate_generator.h"

#include "document/chapter_record.h"
#include "document/data_records.h"
#include "document/elpz_record.h"
#include "document/estimate_layout.h"
#include "document/general_data.h"
#include "document/inputs_block.h"
#include "document/price_records.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace kovra::document {

namespace {
// xorshift32: the same numbers on every platform (the standard distributions are not).
struct rng {
  uint32_t s;
  explicit rng(uint32_t seed) : s(seed ? seed : 0x9E3779B9u) {}
  uint32_t next() {
    s ^= s << 13;
    s ^= s >> 17;
    s ^= s << 5;
    return s;
  }
  int below(int n) { return n <= 0 ? 0 : int(next() % uint32_t(n)); }
  double unit() { return double(next() % 1000000) / 1000000.0; }
};

const char* const kind_names[3] = {"Robotnicy kat.", "Materiał", "Sprzęt"};
const char* const kind_units[3] = {"r-g", "kg", "m-g"};

void fill_simple(memory_records& m, const generator_options& o) {
  rng r(o.seed);
  general_data g = new_general_data();
  g.set_name("Kosztorys testowy");
  g.set_labour_rate(35.0);
  overhead_record over = new_overhead_record();
  over.set_row_name(1, "Koszty pośrednie");
  over.set_rate(1, 0, 65.0f);
  over.set_row_name(2, "Zysk");
  over.set_rate(2, 0, 12.0f);
  g.set_standard_overheads_record(m.insert(CHAIN_DATA, LAST_REC, NO_POS, over.bytes));

  int distinct = std::max(o.distinct_inputs, 1);
  for (int i = 0; i < distinct; ++i) {
    zest_record z;
    int kind = i % 3;
    z.set_kind(uint8_t(kind));
    z.set_key(uint32_t(100000 + i), 0);
    z.set_unit(kind_units[kind]);
    char name[64];
    std::snprintf(name, sizeof name, "%s %d", kind_names[kind], 1 + r.below(9999));
    z.set_name(name);
    z.set_price(1.0 + 99.0 * r.unit());
    z.set_base_price(z.price());
    write_zestaw_record(m, z, NO_POS);
  }

  // A position names each input once, as a priced estimate does (drawn from a deck that is
  // shuffled as far as one position needs); only a position asked to hold more inputs than
  // there are repeats them.
  const bool unique = o.inputs_per_position <= distinct;
  std::vector<int> deck(std::size_t(unique ? distinct : 0));
  for (std::size_t i = 0; i < deck.size(); ++i) deck[i] = int(i);

  int per_element = std::max(o.positions_per_element, 1);
  int per_group = std::max(o.elements_per_group, 1);
  int element = 0;
  for (int p = 0; p < o.positions; ++p) {
    if (p % per_element == 0) {
      if (element % per_group == 0) {
        elpz_record grp = new_elpz_record(NODE_WORK_GROUP);
        grp.set_level(0);
        grp.set_number(std::to_string(element / per_group + 1));
        grp.set_description("Grupa robót " + std::to_string(element / per_group + 1));
        m.insert(CHAIN_ELPZ, LAST_REC, NO_POS, std::span(grp.bytes.data(), grp.used_length()));
      }
      elpz_record el = new_elpz_record(NODE_ELEMENT);
      el.set_level(1);
      el.set_number(std::to_string(element / per_group + 1) + "." + std::to_string(element % per_group + 1));
      el.set_description("Element " + std::to_string(element + 1));
      m.insert(CHAIN_ELPZ, LAST_REC, NO_POS, std::span(el.bytes.data(), el.used_length()));
      ++element;
    }
    elpz_record pos = new_elpz_record(NODE_POSITION);
    pos.set_level(2);
    pos.set_number(std::to_string(p + 1));
    pos.set_catalogue_name("KNR");
    pos.set_i16(ep::CATALOGUE_NUMBER, int16_t(200 + r.below(30)));
    pos.set_i16(ep::TABLE_NUMBER, int16_t(100 + r.below(900)));
    pos.set_i16(ep::COLUMN_NUMBER, int16_t(1 + r.below(9)));
    pos.set_unit("m3");
    pos.set_quantity(double(1 + r.below(50000)) / 100.0);
    pos.set_precision_code(1);
    pos.set_description("Pozycja kosztorysowa numer " + std::to_string(p + 1) + " - roboty budowlane");
    inputs_block block;
    input_variant v;
    for (int k = 0; k < o.inputs_per_position; ++k) {
      input_entry e;
      int i;
      if (unique) {
        // The first k places of the deck hold this position's inputs so far.
        std::swap(deck[std::size_t(k)], deck[std::size_t(k + r.below(distinct - k))]);
        i = deck[std::size_t(k)];
      } else {
        i = r.below(distinct);
      }
      e.kind = uint8_t(i % 3);
      e.id = uint32_t(100000 + i);
      e.norm = 0.001 + 5.0 * r.unit();
      v.entries.push_back(e);
    }
    block.variants.push_back(std::move(v));
    std::vector<uint8_t> bytes = encode_inputs_block(block);
    pos.set_inputs_pos(m.insert(CHAIN_RMS_BLK, LAST_REC, NO_POS, bytes));
    m.insert(CHAIN_ELPZ, LAST_REC, NO_POS, std::span(pos.bytes.data(), pos.used_length()));
  }
  m.set_user_header(g.bytes);
  m.set_modified(false);
}

store::file_header estimate_header(int kind) {
  store::file_header h = store::header_template();
  h.file_type = store::FILE_TYPE_ESTIMATE;
  h.version = store::CONTAINER_VERSION;
  h.flags = uint8_t(kind | store::HEADER_COMPRESSED);
  return h;
}
} // namespace

estimate_image generate_simple_estimate(const generator_options& options) {
  estimate_image image;
  image.header = estimate_header(KIND_SIMPLE);
  image.records = memory_records::simple_estimate();
  fill_simple(*image.records, options);
  return image;
}

std::string external_chapter_path(int index) {
  char name[32];
  std::snprintf(name, sizeof name, "rozdzial_%03d.kvr", index + 1);
  return name;
}

estimate_image generate_compound_estimate(uint32_t seed, int chapters, const generator_options& per_chapter,
                                          int external_chapters) {
  estimate_image image;
  image.header = estimate_header(KIND_COMPOUND);
  image.records = memory_records::compound_estimate();
  memory_records& m = *image.records;
  general_data g = new_general_data();
  g.set_name("Kosztorys");
  m.set_user_header(g.bytes);
  const int internal = std::max(chapters, 0), external = std::max(external_chapters, 0);
  const int total = internal + external;
  int externals_made = 0;
  for (int c = 0; c < total; ++c) {
    generator_options o = per_chapter;
    o.seed = seed + uint32_t(c) * 7919u;
    chapter_record rec = new_chapter_record();
    rec.set_number(std::to_string(c + 1));
    // Chapter c is external when the share of external chapters grows past it.
    if ((c + 1) * external / total > c * external / total) {
      const std::string path = external_chapter_path(externals_made++);
      rec.set_path(path);
      m.insert(CHAIN_CHPT_NODE, LAST_REC, NO_POS, rec.bytes);
      auto doc = memory_records::simple_estimate();
      fill_simple(*doc, o);
      image.external_headers[path] = estimate_header(KIND_SIMPLE);
      image.externals[path] = std::move(doc);
      continue;
    }
    rec.set_storage(CHAPTER_INTERNAL);
    rec_pos at = m.insert(CHAIN_CHPT_NODE, LAST_REC, NO_POS, rec.bytes);
    rec_pos sub = m.create_subset(rec.serial());
    fill_simple(*m.subset(sub), o);
    rec.set_subset_pos(sub);
    m.rewrite(CHAIN_CHPT_NODE, at, rec.bytes);
  }
  m.set_modified(false);
  return image;
}

} // namespace kovra::document
