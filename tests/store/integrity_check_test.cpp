#include "store/integrity_check.h"

#include "store/byte_order.h"
#include "store/log.h"
#include "store/open_files.h"
#include "store/trace.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "record_set_support.h"
#include "store/temp_folder_support.h"

using namespace kovra::store;
using namespace kovra::test;

namespace {

class IntegrityCheckTest : public ::testing::Test {
protected:
  void SetUp() override {
    reset_containers();
    set_program_folder(dir.folder());
    path = dir.folder() + "doc.kvr";
    ASSERT_TRUE(create_test_set(path));
    test_classes classes;
    record_set* s = open_record_set(test_open_request(path, classes));
    ASSERT_NE(s, nullptr);
    std::vector<uint8_t> d = pattern(300, 1);
    a = add_record(classes.c[0], d.data(), 100);
    b = add_record(classes.c[0], d.data(), 120);
    c = add_record(classes.c[1], d.data(), 300);
    std::vector<uint8_t> big = pattern(70000, 2);
    blob = add_record(classes.c[2], big.data(), 70000);
    const rec_pos gone = add_record(classes.c[2], d.data(), 400);
    delete_record(classes.c[2], gone);
    ASSERT_TRUE(close_record_set(s));
    sound = dir.read("doc.kvr");
  }
  void TearDown() override {
    reset_containers();
    reset_open_files();
    reset_log_state();
  }

  // The report for the sound file changed by `damage`.
  integrity_report damaged(const std::function<void(uint8_t*)>& damage) {
    std::string bytes = sound;
    damage(reinterpret_cast<uint8_t*>(bytes.data()));
    const std::string p = dir.write("damaged.kvr", bytes);
    return check_container(p);
  }

  static bool mentions(const integrity_report& r, const std::string& text) {
    for (const auto& p : r.problems)
      if (p.find(text) != std::string::npos) return true;
    return false;
  }

  kovra::test::temp_folder dir;
  std::string path, sound;
  rec_pos a = -1, b = -1, c = -1, blob = -1;
};

} // namespace

TEST_F(IntegrityCheckTest, SoundFileIsReportedInFull) {
  const integrity_report r = check_container(path);
  EXPECT_TRUE(r.ok()) << (r.problems.empty() ? "" : r.problems[0]);
  EXPECT_EQ(r.checksum, "ok");
  EXPECT_EQ(r.header.file_type, 2);
  EXPECT_EQ(r.length, int64_t(sound.size()));
  EXPECT_EQ(r.free_blocks, 1);
  EXPECT_EQ(r.free_bytes, 417);
  EXPECT_EQ(r.blocks, 3 + 4 + 1);  // records a, b, c; blob header and three segments; one free
  ASSERT_EQ(r.sets.size(), 1u);
  ASSERT_EQ(r.sets[0].chains.size(), 3u);
  EXPECT_EQ(r.sets[0].chains[0].count, 2);
  EXPECT_EQ(r.sets[0].chains[0].type, 2);
  EXPECT_EQ(r.sets[0].chains[2].count, 1);
  EXPECT_EQ(dir.read("doc.kvr"), sound);  // the check changes nothing
  EXPECT_FALSE(std::filesystem::exists(dir.folder() + "doc.kv~"));
}

// Each damaged file next to the problem it must produce.
TEST_F(IntegrityCheckTest, DamagedFilesNameTheirProblem) {
  EXPECT_TRUE(mentions(damaged([&](uint8_t* f) { put_i32(f + b + 13, b); }), "chain 0"));
  EXPECT_TRUE(mentions(damaged([&](uint8_t* f) { put_i32(f + a + 9, 999); }), "does not link back"));
  EXPECT_TRUE(mentions(damaged([&](uint8_t* f) { put_u16(f + 293 + 80, 7); }), "2 records, count says 7"));
  EXPECT_TRUE(mentions(damaged([&](uint8_t* f) { put_u16(f + c + 7, 400); }), "block header unsound"));
  EXPECT_TRUE(mentions(damaged([&](uint8_t* f) { put_i32(f + blob + 17 + 2, 70001); }), "blob of 70001 bytes"));
  EXPECT_TRUE(mentions(damaged([&](uint8_t* f) { put_i32(f + 293 + 128 + 12, a); }), "free list 3"));
  EXPECT_TRUE(mentions(damaged([&](uint8_t* f) { f[a] = 3; }), "type 3 among records of type 2"));
  const integrity_report sum = damaged([&](uint8_t* f) { f[a + 40] = uint8_t(f[a + 40] + 1); });
  EXPECT_EQ(sum.checksum, "off_by_one");
  EXPECT_FALSE(sum.ok());
  EXPECT_EQ(damaged([&](uint8_t* f) { f[a + 40] = uint8_t(f[a + 40] + 9); }).checksum, "mismatch");
  // A two-block loop with consistent links is found, not followed forever.
  const integrity_report loop = damaged([&](uint8_t* f) {
    put_i32(f + a + 13, b);
    put_i32(f + b + 9, a);
  });
  EXPECT_FALSE(loop.ok());
  EXPECT_FALSE(damaged([&](uint8_t* f) { f[0] = 'X'; }).is_container);
}

TEST_F(IntegrityCheckTest, TruncatedFilesAreProblemsNotCrashes) {
  for (size_t cut : {size_t(0), size_t(100), size_t(293), size_t(400), size_t(600), sound.size() - 1}) {
    const std::string p = dir.write("cut.kvr", sound.substr(0, cut));
    const integrity_report r = check_container(p);
    EXPECT_FALSE(r.ok()) << cut;
  }
}

TEST_F(IntegrityCheckTest, DamagedCompressedBodyIsAnUnsoundContainer) {
  test_classes classes;
  record_set* s = open_record_set(test_open_request(path, classes, STORAGE_COMPRESSED));
  ASSERT_NE(s, nullptr);
  ASSERT_TRUE(close_record_set(s));  // the file is compressed from the open on
  std::string bytes = dir.read("doc.kvr");
  ASSERT_TRUE(uint8_t(bytes[8]) & 0x80);
  EXPECT_TRUE(check_container(path).ok());
  bytes.resize(bytes.size() - 20);
  const integrity_report r = check_container(dir.write("cut.kvr", bytes));
  EXPECT_TRUE(r.is_container);
  EXPECT_FALSE(r.ok());
  EXPECT_TRUE(mentions(r, "cannot be inflated"));
}
