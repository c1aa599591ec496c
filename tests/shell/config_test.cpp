#include "shell/config.h"

#include "shell/messages.h"
#include "shell/overhead_defaults.h"
#include "shell/print_block.h"
#include "shell/config_file_support.h"
#include "shell/temp_folder.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace kovra::shell;
using namespace kovra::test;

namespace {

constexpr std::size_t ogol_size = 13 + 294 + 3;
constexpr std::size_t opis_size = 13 + 2 + 15;
constexpr std::size_t ovrh_size = 13 + 2 + 20 + 717;
constexpr std::size_t prnt_size = 13 + 2 + 20 + 10907;
constexpr std::size_t cenn_size = 13 + 12 * 3 + 4 * 2 + 1 + 8 + 1;

struct ConfigTest : ::testing::Test {
  temp_folder dir;
  std::string path = dir.path() + "kovra.cfg";
  recording_message_sink sink;
  void SetUp() override { set_message_sink(&sink); }
  void TearDown() override { set_message_sink(nullptr); }

  std::vector<uint8_t> default_body() {
    Config c;
    set_config_defaults(c);
    return encode_config_sections(c);
  }
};

uint32_t tag_at(const std::vector<uint8_t>& b, std::size_t at) { return get_u32(b.data() + at); }

} // namespace

// ---- creating the file ----

TEST_F(ConfigTest, MissingFileIsCreatedWithTheSevenSectionsAndDefaults) {
  general_record g;
  g.block.fill(0xEE);
  EXPECT_TRUE(load_general_settings(g, path));
  EXPECT_TRUE(sink.requests().empty());
  EXPECT_EQ(g.catalogue_prefix(), "KNR");
  EXPECT_DOUBLE_EQ(g.total_rounding_step(), 0.01);
  EXPECT_TRUE(g.show_hints());
  EXPECT_TRUE(g.autosave());
  EXPECT_EQ(g.new_estimate_kind(), 1);
  EXPECT_EQ(g.trailing_flag_1, 1);
  EXPECT_EQ(g.trailing_byte, 6);

  auto bytes = read_file(path);
  ASSERT_EQ(bytes.size(), 293 + ogol_size + opis_size + 2 * ovrh_size + 2 * prnt_size + cenn_size);
  auto header = kovra::store::decode_file_header(bytes.data());
  EXPECT_EQ(header.file_type, 41);
  EXPECT_EQ(header.version, 800);
  EXPECT_EQ(header.open_count, 0);  // closed properly
  EXPECT_EQ(kovra::store::header_description(header), "Konfiguracja programu");

  std::size_t at = 293;
  const std::pair<uint32_t, std::size_t> layout[] = {{TAG_OGOL, ogol_size}, {TAG_OPIS, opis_size},
                                                     {TAG_OVRH, ovrh_size}, {TAG_OVRI, ovrh_size},
                                                     {TAG_PRNT, prnt_size}, {TAG_PRNI, prnt_size},
                                                     {TAG_CENN, cenn_size}};
  for (auto [tag, size] : layout) {
    EXPECT_EQ(tag_at(bytes, at), tag) << tag_text(tag);
    at += size;
  }
  EXPECT_EQ(tag_at(bytes, 293), 0x4C4F474Fu);
  EXPECT_EQ(bytes[293 + 4], 3);  // OGOL version
  std::size_t prnt = 293 + ogol_size + opis_size + 2 * ovrh_size;
  EXPECT_EQ(bytes[prnt + 4], 2);
  EXPECT_EQ(get_i16(bytes.data() + prnt + 9), 0);   // current
  EXPECT_EQ(get_i16(bytes.data() + prnt + 11), 1);  // count
  // The description: three empty parts.
  std::size_t opis = 293 + ogol_size;
  EXPECT_EQ(get_u16(bytes.data() + opis + 13), 14);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(bytes.data() + opis + 15), 14), default_description());
}

TEST_F(ConfigTest, CreatingCallFindsNoCurrentVariantLaterCallsFindTheDefault) {
  print_block out{};
  EXPECT_FALSE(get_current_print_options(out.data(), false, path));
  ASSERT_TRUE(get_current_print_options(out.data(), false, path));
  EXPECT_EQ(out, default_print_block());

  overhead_block ovr{};
  ASSERT_TRUE(get_current_overheads(ovr.data(), true, path));
  overhead_block expected{};
  investor_overhead_defaults(expected.data());
  EXPECT_EQ(ovr, expected);
  ASSERT_TRUE(get_current_overheads(ovr.data(), false, path));
  standard_overhead_defaults(expected.data());
  EXPECT_EQ(ovr, expected);
}

TEST_F(ConfigTest, CurrentIndexOutsideTheVariantsFindsNone) {
  auto body = default_body();
  std::size_t prnt = ogol_size + opis_size + 2 * ovrh_size;
  put_i16(body.data() + prnt + 9, 5);
  write_file(path, concat(config_header_bytes(), body));
  print_block out{};
  EXPECT_FALSE(get_current_print_options(out.data(), false, path));
  put_i16(body.data() + prnt + 9, -1);
  write_file(path, concat(config_header_bytes(), body));
  EXPECT_FALSE(get_current_print_options(out.data(), false, path));
}

// ---- section versions ----

TEST_F(ConfigTest, PrintSectionOfVersionOneIsReadShortAndWrittenBackAsVersionTwo) {
  byte_writer w;
  section_header h{TAG_PRNT, 1, 0, 0, 2};
  w.header(h);
  std::vector<uint8_t> block(print_block_v1_size, 0x5A);
  w.optional_text(std::string("Pierwszy"));
  w.raw(block.data(), block.size());
  w.optional_text(std::nullopt);
  w.raw(block.data(), block.size());
  write_file(path, concat(config_header_bytes(), w.bytes()));

  print_block out{};
  ASSERT_TRUE(get_current_print_options(out.data(), false, path));
  for (std::size_t i = 0; i < print_block_v1_size; ++i) ASSERT_EQ(out[i], 0x5A) << i;
  for (std::size_t i = print_block_v1_size; i < print_block_size; ++i) EXPECT_EQ(out[i], 0) << i;

  general_record g = default_general_record();
  ASSERT_TRUE(save_general_settings(g, path));
  Config c;
  auto bytes = read_file(path);
  ASSERT_TRUE(read_config_sections(c, bytes.data() + 293, bytes.size() - 293));
  EXPECT_EQ(c.prnt.header.version, 2);
  ASSERT_EQ(c.prnt.entries.size(), 2u);
  EXPECT_EQ(c.prnt.entries[0].name, std::optional<std::string>("Pierwszy"));
  EXPECT_FALSE(c.prnt.entries[1].name.has_value());
  EXPECT_EQ(c.prnt.entries[1].data.size(), print_block_size);
  EXPECT_EQ(c.prnt.entries[1].data[print_block_size - 1], 0);
  // OGOL first (310 bytes), then two 10,907-byte blocks after the print header.
  // OPIS with an absent text, OVRH and OVRI without variants.
  std::size_t prnt = 293 + ogol_size + (13 + 2) + 13 + 13;
  EXPECT_EQ(tag_at(bytes, prnt), TAG_PRNT) << tag_text(tag_at(bytes, prnt));
  EXPECT_EQ(bytes[prnt + 4], 2);
}

TEST_F(ConfigTest, GeneralSectionVersionsFillTheTrailingValues) {
  general_record g = default_general_record();
  g.set_catalogue_prefix("KNNR");
  for (uint8_t version : {1, 2, 3}) {
    byte_writer w;
    w.header(section_header{TAG_OGOL, version, 0, 0, 1});
    w.raw(g.block.data(), general_block_size);
    if (version > 1) {
      w.u8(0);
      w.u8(9);
    }
    if (version > 2) w.u8(1);
    write_file(path, concat(config_header_bytes(), w.bytes()));

    general_record r;
    r.trailing_flag_2 = 7;
    ASSERT_TRUE(load_general_settings(r, path)) << int(version);
    EXPECT_EQ(r.catalogue_prefix(), "KNNR");
    EXPECT_EQ(r.trailing_flag_1, version == 1 ? 1 : 0);
    EXPECT_EQ(r.trailing_byte, version == 1 ? 6 : 9);
    EXPECT_EQ(r.trailing_flag_2, version == 3 ? 1 : 0);

    ASSERT_TRUE(save_general_settings(r, path));
    auto bytes = read_file(path);
    EXPECT_EQ(bytes[293 + 4], 3);
  }
}

// ---- text forms ----

TEST(ConfigTexts, EmptyNameIsTwoZeroBytesAndReadsBackAbsentEmptyFixedTextHasItsTerminator) {
  byte_writer w;
  w.optional_text(std::string());
  w.optional_text(std::nullopt);
  w.fixed_text("");
  EXPECT_EQ(w.bytes(), (std::vector<uint8_t>{0, 0, 0, 0, 0, 0, 0}));

  byte_reader r(w.bytes().data(), w.bytes().size());
  std::optional<std::string> name = "x";
  ASSERT_TRUE(r.optional_text(name));
  EXPECT_FALSE(name.has_value());
  ASSERT_TRUE(r.optional_text(name));
  std::string fixed = "x";
  ASSERT_TRUE(r.fixed_text(fixed));
  EXPECT_EQ(fixed, "");
  EXPECT_EQ(r.remaining(), 0u);
}

TEST(ConfigTexts, FixedTextLongerThanItsFieldIsRefusedAndTruncatedTextsFail) {
  std::vector<uint8_t> b = {4, 1};  // 260 characters
  b.resize(2 + 261, 'a');
  byte_reader r(b.data(), b.size());
  std::string s;
  EXPECT_FALSE(r.fixed_text(s));

  std::vector<uint8_t> ok = {3, 0, 'a', 'b', 'c', 0};
  for (std::size_t cut = 0; cut < ok.size(); ++cut) {
    byte_reader c(ok.data(), cut);
    EXPECT_FALSE(c.fixed_text(s)) << cut;
    byte_reader o(ok.data(), cut);
    std::optional<std::string> t;
    EXPECT_FALSE(o.optional_text(t)) << cut;
  }
}

// ---- failures ----

TEST_F(ConfigTest, TrailingFragmentShorterThanAHeaderIsReadSuccessfully) {
  auto body = default_body();
  for (int extra = 1; extra < 13; ++extra) {
    auto b = body;
    b.insert(b.end(), std::size_t(extra), 0x41);
    Config c;
    EXPECT_TRUE(read_config_sections(c, b.data(), b.size())) << extra;
  }
  auto b = body;
  b.insert(b.end(), 13, 0x41);  // a whole header with an unknown tag
  Config c;
  EXPECT_FALSE(read_config_sections(c, b.data(), b.size()));
}

TEST_F(ConfigTest, EveryCutPositionEitherReadsWholeSectionsOrFails) {
  auto body = default_body();
  std::vector<std::size_t> boundaries = {0};
  for (std::size_t s : {ogol_size, opis_size, ovrh_size, ovrh_size, prnt_size, prnt_size, cenn_size})
    boundaries.push_back(boundaries.back() + s);
  ASSERT_EQ(boundaries.back(), body.size());
  std::size_t next = 1;
  for (std::size_t cut = 0; cut <= body.size(); ++cut) {
    while (next < boundaries.size() && boundaries[next] <= cut) ++next;
    bool whole = cut - boundaries[next - 1] < section_header_size;
    Config c;
    EXPECT_EQ(read_config_sections(c, body.data(), cut), whole) << cut;
  }
}

TEST_F(ConfigTest, CutFileFallsBackToDefaultsAndIsNotChanged) {
  auto full = concat(config_header_bytes(), default_body());
  general_record stored = default_general_record();
  stored.set_catalogue_prefix("XYZ");
  std::memcpy(full.data() + 293 + 13, stored.block.data(), general_block_size);
  for (std::size_t cut = 293 + 14; cut < full.size(); cut += 211) {
    std::vector<uint8_t> bytes(full.begin(), full.begin() + std::ptrdiff_t(cut));
    write_file(path, bytes);
    general_record g;
    bool ok = load_general_settings(g, path);
    if (cut < 293 + ogol_size) {
      EXPECT_FALSE(ok) << cut;
      EXPECT_EQ(g.catalogue_prefix(), "KNR");
    }
    EXPECT_FALSE(save_general_settings(default_general_record(), path) && !ok) << cut;
    if (!ok) EXPECT_EQ(read_file(path), bytes) << cut;
  }
  EXPECT_TRUE(sink.requests().empty());
}

TEST_F(ConfigTest, UnknownSectionMakesTheReadFailAndLeavesTheFile) {
  auto bytes = concat(config_header_bytes(), default_body());
  bytes[293 + ogol_size] = 'X';  // OPIS becomes XPIS
  write_file(path, bytes);
  general_record g;
  EXPECT_FALSE(load_general_settings(g, path));
  EXPECT_FALSE(save_general_settings(g, path));
  EXPECT_EQ(read_file(path), bytes);
}

TEST_F(ConfigTest, FileOfAnotherProgramGetsMessage16AndIsNotChanged) {
  std::vector<std::vector<uint8_t>> files = {
      concat(config_header_bytes(2), default_body()),  // an estimate
      {'V', 'L', 41},                                   // shorter than a header
      std::vector<uint8_t>(400, 'x'),                   // no magic
  };
  for (const auto& bytes : files) {
    write_file(path, bytes);
    sink.clear();
    general_record g;
    EXPECT_FALSE(load_general_settings(g, path));
    EXPECT_EQ(g.catalogue_prefix(), "KNR");
    ASSERT_EQ(sink.requests().size(), 1u);
    EXPECT_EQ(sink.requests()[0].number, 16);
    EXPECT_NE(sink.requests()[0].text.find(path), std::string::npos);
    EXPECT_EQ(read_file(path), bytes);
  }
}

TEST_F(ConfigTest, WrongFormatVersionGetsMessage76AndIsNotChanged) {
  auto bytes = concat(config_header_bytes(41, 700), default_body());
  write_file(path, bytes);
  general_record g;
  EXPECT_FALSE(save_general_settings(g, path));
  ASSERT_EQ(sink.requests().size(), 1u);
  EXPECT_EQ(sink.requests()[0].number, 76);
  EXPECT_EQ(read_file(path), bytes);
}

TEST_F(ConfigTest, SecondOpenerWhileTheFileIsHeldFallsBackToDefaults) {
  general_record g = default_general_record();
  g.set_catalogue_prefix("ABC");
  ASSERT_TRUE(save_general_settings(g, path));
  section_open_status status;
  auto held = open_section_file(path, section_access::write_exclusive, status);
  ASSERT_TRUE(held);
  general_record r;
  EXPECT_FALSE(load_general_settings(r, path));
  EXPECT_EQ(r.catalogue_prefix(), "KNR");
  held.reset();
  EXPECT_TRUE(load_general_settings(r, path));
  EXPECT_EQ(r.catalogue_prefix(), "ABC");
}

// ---- saving ----

TEST_F(ConfigTest, SavingKeepsEveryOtherSectionAndThePriceListValues) {
  Config c;
  set_config_defaults(c);
  c.cenn.price_list_files[0] = "R1.cen";
  c.cenn.price_list_files[11] = std::string(259, 'z');
  c.cenn.price_list_flags = {1, 2, 3, 65535};
  c.cenn.price_list_byte = 0x81;
  c.cenn.labour_rate = 23.45;
  c.cenn.price_list_flag = 1;
  c.cenn_header.reserved = 0;
  c.ovrh.entries[0].is_current = 1;
  variant_entry extra;
  extra.name = "Drugi";
  extra.data = c.ovrh.new_data();
  extra.data[5] = 0x77;
  c.ovrh.entries.push_back(extra);
  c.ovrh.header.current = 1;
  write_file(path, concat(config_header_bytes(), encode_config_sections(c)));
  auto before = read_file(path);

  general_record g = default_general_record();
  g.set_hidden_columns(1, 0x2A);
  ASSERT_TRUE(save_general_settings(g, path));
  auto after = read_file(path);
  ASSERT_EQ(after.size(), before.size());
  for (std::size_t i = 0; i < after.size(); ++i) {
    if (i == 293 + 13 + 57 || i == 293 + 13 + 58) continue;  // hidden_columns of materials
    ASSERT_EQ(after[i], before[i]) << i;
  }
  general_record r;
  ASSERT_TRUE(load_general_settings(r, path));
  EXPECT_EQ(r.hidden_columns(1), 0x2A);

  overhead_block ovr{};
  ASSERT_TRUE(get_current_overheads(ovr.data(), false, path));
  EXPECT_EQ(ovr[5], 0x77);
}

TEST_F(ConfigTest, SectionCountFollowsTheEntriesWhenWritten) {
  Config c;
  set_config_defaults(c);
  c.prni.header.count = 7;  // as a damaged or hand-made header might say
  auto body = encode_config_sections(c);
  Config back;
  ASSERT_TRUE(read_config_sections(back, body.data(), body.size()));
  EXPECT_EQ(back.prni.entries.size(), 1u);
}

// ---- rounding ----

TEST(RoundTotal, StepsAtOrBelowOneCentUseOneCent) {
  EXPECT_DOUBLE_EQ(round_total(12.344, 0.005), 12.34);
  EXPECT_DOUBLE_EQ(round_total(12.345, 0.0), 12.35);
  EXPECT_DOUBLE_EQ(round_total(12.346, -1.0), 12.35);
  EXPECT_DOUBLE_EQ(round_total(12.37, 0.05), 12.35);
  EXPECT_DOUBLE_EQ(round_total(12.38, 0.05), 12.40);
  EXPECT_DOUBLE_EQ(round_total(-12.38, 0.05), -12.40);
  EXPECT_DOUBLE_EQ(round_total(1234.4, 1.0), 1234.0);
  EXPECT_DOUBLE_EQ(round_total(1234.5, 1.0), 1235.0);
}
