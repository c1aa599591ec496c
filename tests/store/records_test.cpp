#include "store/records.h"

#include "store/byte_order.h"
#include "store/check_block.h"
#include "store/integrity_check.h"
#include "store/log.h"
#include "store/open_files.h"
#include "store/set_checksum.h"
#include "store/trace.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "record_set_support.h"
#include "store/temp_folder_support.h"

using namespace kovra::store;
using namespace kovra::test;

namespace {

class RecordsTest : public ::testing::Test {
protected:
  void SetUp() override {
    reset_containers();
    reset_trace();
    reset_corruption_state();
    set_program_folder(dir.folder());
    set_corruption_handler(&corruption);
    path = dir.folder() + "doc.kvr";
    ASSERT_TRUE(create_test_set(path));
  }
  void TearDown() override {
    if (set) close_record_set(set);
    set_corruption_handler(nullptr);
    reset_containers();
    reset_open_files();
    reset_log_state();
  }

  void open(int storage = STORAGE_DIRECT, int mode = 0) {
    set = open_record_set(test_open_request(path, classes, storage, mode), &result);
    ASSERT_NE(set, nullptr) << int(last_open_error());
  }
  void reopen(int storage = STORAGE_DIRECT) {
    ASSERT_TRUE(close_record_set(set));
    set = nullptr;
    open(storage);
  }

  block_header header(rec_pos p) {
    block_header h;
    EXPECT_TRUE(read_block_header(set_handle(set), p, h));
    return h;
  }

  // Positions of chain k in order, walked with the cursor.
  std::vector<rec_pos> chain(int k) {
    std::vector<rec_pos> out;
    std::vector<uint8_t> buffer(65536);
    record_cursor cursor;
    for (rec_pos p = first_record(classes.c[k], buffer.data(), cursor); p != -1; p = next_record(cursor, buffer.data()))
      out.push_back(p);
    return out;
  }

  rec_pos add(int k, size_t length, uint8_t seed = 1) {
    std::vector<uint8_t> data = pattern(length, seed);
    return add_record(classes.c[k], data.data(), int32_t(length));
  }

  kovra::test::temp_folder dir;
  recording_corruption corruption;
  std::string path;
  test_classes classes;
  record_set* set = nullptr;
  int result = -1;
};

} // namespace

TEST_F(RecordsTest, FreshSetIsLaidOutAtTheStatedOffsets) {
  const std::string bytes = dir.read("doc.kvr");
  ASSERT_EQ(bytes.size(), 293u + 158 + 68 + 100);
  const uint8_t* b = reinterpret_cast<const uint8_t*>(bytes.data()) + 293;
  for (int i = 0; i < 20; ++i) EXPECT_EQ(get_i32(b + 4 * i), -1) << i;   // first and last
  for (int i = 0; i < 40; ++i) EXPECT_EQ(b[80 + i], 0) << i;             // counts and serials
  EXPECT_EQ(get_i16(b + 120), 0);
  EXPECT_EQ(get_i16(b + 122), 3);
  EXPECT_EQ(get_i16(b + 124), 100);
  EXPECT_EQ(get_i16(b + 126), 300);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(get_i32(b + 128 + 4 * i), -1);
  for (int i = 152; i < 158; ++i) EXPECT_EQ(b[i], 0);
  EXPECT_EQ(uint8_t(bytes[7]), 0);  // closed again
  EXPECT_EQ(bytes[519], 'u');
  // The checksum: 1 + every byte after the file header with the field as zero.
  uint32_t sum = 1;
  for (size_t i = 293; i < bytes.size(); ++i)
    if (i < 293 + 148 || i >= 293 + 152) sum += uint8_t(bytes[i]);
  EXPECT_EQ(get_u32(b + 148), sum);

  open();
  EXPECT_EQ(result, CHECKSUM_OK);
  EXPECT_EQ(classes.c[2].chain, 2);
  EXPECT_EQ(set_user_header_position(set), 519);
  // The first record block starts right after the user header.
  EXPECT_EQ(add(0, 50), 619);
}

TEST_F(RecordsTest, InsertModesLinkTheChain) {
  open();
  // An empty chain takes a record with any mode as both first and last.
  std::vector<uint8_t> d = pattern(30, 5);
  const rec_pos only = insert_record(classes.c[2], NEXT_REC, 0, d.data(), 30);
  ASSERT_GT(only, 0);
  EXPECT_EQ(header(only).prev, -1);
  EXPECT_EQ(header(only).next, -1);
  EXPECT_EQ(set_header_of(set).first[2], only);
  EXPECT_EQ(set_header_of(set).last[2], only);

  // The first record appended is also the last; the second becomes the first.
  const rec_pos a = add(0, 40);
  EXPECT_EQ(set_header_of(set).last[0], a);
  const rec_pos b = add(0, 40);
  EXPECT_EQ(chain(0), (std::vector<rec_pos>{b, a}));
  const rec_pos last = insert_record(classes.c[0], LAST_REC, 0, d.data(), 30);
  const rec_pos before_a = insert_record(classes.c[0], PREV_REC, a, d.data(), 30);
  const rec_pos after_b = insert_record(classes.c[0], NEXT_REC, b, d.data(), 30);
  EXPECT_EQ(chain(0), (std::vector<rec_pos>{b, after_b, before_a, a, last}));
  EXPECT_EQ(record_count(classes.c[0]), 5);
  EXPECT_EQ(header(after_b).prev, b);
  EXPECT_EQ(header(after_b).next, before_a);
  // Auto-numbering writes the serial into the caller's data.
  EXPECT_EQ(get_u16(d.data()), 5);
  // A reference that is not a record of the chain locates nothing.
  EXPECT_EQ(insert_record(classes.c[0], NEXT_REC, 12345, d.data(), 30), -1);
  EXPECT_EQ(insert_record(classes.c[0], NEXT_REC, only, d.data(), 30), -1);  // another type
  EXPECT_EQ(locate_record(classes.c[0], PREV_REC, b), -1);
  EXPECT_EQ(locate_record(classes.c[0], NEXT_REC, b), after_b);
  EXPECT_EQ(locate_record(classes.c[0], LAST_REC, 0), last);
  EXPECT_EQ(locate_record(classes.c[0], THIS_REC, 0), -1);
  EXPECT_EQ(corruption.calls, 0);
  // Each insert left its steps in the trace that a corruption report would show.
  const std::string trace = trace_text();
  for (const char* step : {"inslk rec", "inslk rec wzgledny offset", "inslk rec prev", "inslk rec next",
                           "inslk rec this", "get_free_block", "offset from file"})
    EXPECT_NE(trace.find(std::string(" ") + step + "\n"), std::string::npos) << step;
  EXPECT_NE(trace.find("rec_type=2  offset=" + std::to_string(b) + "  NEXT_REC"), std::string::npos);
  EXPECT_EQ(trace_depth(), 0);

  reopen();
  EXPECT_EQ(chain(0), (std::vector<rec_pos>{b, after_b, before_a, a, last}));
  EXPECT_EQ(result, CHECKSUM_OK);
}

TEST_F(RecordsTest, RewriteKeepsOrMovesTheBlock) {
  open();
  const rec_pos a = add(2, 100, 1);
  const rec_pos b = add(2, 100, 2);
  const rec_pos c = add(2, 100, 3);
  std::vector<uint8_t> small = pattern(60, 9);
  EXPECT_EQ(rewrite_record(classes.c[2], b, small.data(), 60), b);
  EXPECT_EQ(header(b).size, 117);
  EXPECT_EQ(header(b).capacity, 100);
  EXPECT_EQ(header(b).used, 60);
  std::vector<uint8_t> buffer(200, 0xEE);
  // A plain read with length <= 0 still returns the capacity.
  EXPECT_EQ(read_record(classes.c[2], THIS_REC, b, buffer.data(), 0), b);
  EXPECT_EQ(buffer[59], small[59]);
  EXPECT_NE(buffer[99], 0xEE);
  EXPECT_EQ(buffer[100], 0xEE);
  std::vector<uint8_t> got;
  EXPECT_TRUE(read_record_new(classes.c[2], b, got));
  EXPECT_EQ(got, small);
  EXPECT_FALSE(read_record_new(classes.c[2], b, got, true));  // strict: shorter than capacity

  std::vector<uint8_t> big = pattern(500, 4);
  const rec_pos moved = rewrite_record(classes.c[2], b, big.data(), 500);
  ASSERT_GT(moved, 0);
  EXPECT_NE(moved, b);
  EXPECT_EQ(chain(2), (std::vector<rec_pos>{c, moved, a}));
  EXPECT_EQ(header(moved).capacity, 500);
  EXPECT_EQ(header(b).type, REC_TYPE_FREE);
  EXPECT_TRUE(read_record_new(classes.c[2], moved, got, true));
  EXPECT_EQ(got, big);

  std::vector<uint8_t> same = pattern(500, 7);
  EXPECT_TRUE(rewrite_keep_size(classes.c[2], same.data(), moved));
  int32_t length = 0;
  const uint8_t* shared = read_record_shared(classes.c[2], moved, &length);
  ASSERT_NE(shared, nullptr);
  EXPECT_EQ(length, 500);
  EXPECT_EQ(std::vector<uint8_t>(shared, shared + 500), same);

  // THIS_REC insert: in place when it fits, the count unchanged.
  std::vector<uint8_t> d = pattern(20, 1);
  EXPECT_EQ(insert_record(classes.c[2], THIS_REC, a, d.data(), 20), a);
  EXPECT_EQ(record_count(classes.c[2]), 3);
  EXPECT_EQ(header(a).capacity, 100);
}

TEST_F(RecordsTest, BlobsAreSplitInto32KSegments) {
  open();
  std::vector<uint8_t> exact = pattern(64512, 1);
  const rec_pos one = add_record(classes.c[0], exact.data(), 64512);
  ASSERT_GT(one, 0);
  EXPECT_EQ(header(one).type, REC_TYPE_ELPZ);
  EXPECT_EQ(header(one).size, 64529);

  std::vector<uint8_t> data = pattern(64513, 2);
  const rec_pos blob = add_record(classes.c[0], data.data(), 64513);
  ASSERT_GT(blob, 0);
  const block_header bh = header(blob);
  EXPECT_EQ(bh.type, REC_TYPE_BLOB);
  EXPECT_EQ(bh.used, 18);
  uint8_t head[18];
  ASSERT_EQ(read_at(set_handle(set), blob + 17, head, 18), 18);
  EXPECT_EQ(get_u16(head), 2);          // the blob header got the serial...
  EXPECT_EQ(get_u16(data.data()), 2);   // ...and so did the caller's data
  EXPECT_EQ(get_i32(head + 2), 64513);
  EXPECT_EQ(get_i32(head + 6), 2);
  const rec_pos s0 = get_i32(head + 10), s1 = get_i32(head + 14);
  EXPECT_EQ(header(s0).type, REC_TYPE_BLOB_SEGMENT);
  EXPECT_EQ(header(s0).capacity, 32768);
  EXPECT_EQ(header(s1).capacity, 31745);
  EXPECT_EQ(header(s0).prev, -1);
  EXPECT_EQ(header(s1).next, -1);
  std::vector<uint8_t> back;
  ASSERT_TRUE(read_record_new(classes.c[0], blob, back, true));
  EXPECT_EQ(back, data);  // serial included
  EXPECT_EQ(chain(0), (std::vector<rec_pos>{blob, one}));

  ASSERT_TRUE(delete_record(classes.c[0], blob));
  EXPECT_EQ(header(s0).type, REC_TYPE_FREE);
  EXPECT_EQ(header(s1).type, REC_TYPE_FREE);
  EXPECT_EQ(chain(0), (std::vector<rec_pos>{one}));
  reopen();
  EXPECT_EQ(result, CHECKSUM_OK);
}

TEST_F(RecordsTest, BlobRewritesKeepTheSerialAndFailedBlobInsertsFreeTheirSegments) {
  open();
  add(0, 10);
  std::vector<uint8_t> data = pattern(70000, 3);
  const rec_pos blob = add_record(classes.c[0], data.data(), 70000);
  ASSERT_GT(blob, 0);
  ASSERT_EQ(get_u16(data.data()), 2);
  // Read, change, write back: blob to a longer blob, to a plain record, and to a blob again.
  const auto rewritten = [&](rec_pos at, size_t length) {
    std::vector<uint8_t> now;
    EXPECT_TRUE(read_record_new(classes.c[0], at, now));
    now.resize(length, 0x5A);
    now[length - 1] ^= 1;
    const rec_pos moved = rewrite_record(classes.c[0], at, now.data(), int32_t(length));
    EXPECT_GT(moved, 0);
    std::vector<uint8_t> back;
    EXPECT_TRUE(read_record_new(classes.c[0], moved, back));
    EXPECT_EQ(back, now);
    EXPECT_EQ(get_u16(back.data()), 2) << "after a rewrite to " << length << " bytes";
    return moved;
  };
  rec_pos at = rewritten(blob, 140000);
  at = rewritten(at, 200);
  at = rewritten(at, 66000);
  EXPECT_EQ(set_header_of(set).serial[0], 2);

  // A linked insert refused after the segments were written gives them back.
  std::vector<uint8_t> more = pattern(70000, 4);
  EXPECT_EQ(insert_record(classes.c[0], 9, 0, more.data(), 70000), -1);
  ASSERT_TRUE(close_record_set(set));
  set = nullptr;
  const integrity_report report = check_container(path);
  EXPECT_TRUE(report.ok()) << (report.problems.empty() ? "" : report.problems[0]);
}

TEST_F(RecordsTest, SerialsAreNeverReused) {
  open();
  const rec_pos a = add(1, 20);
  const rec_pos b = add(1, 20);
  ASSERT_TRUE(delete_record(classes.c[1], b));
  ASSERT_TRUE(delete_record(classes.c[1], a));
  EXPECT_EQ(set_header_of(set).first[1], -1);
  EXPECT_EQ(set_header_of(set).last[1], -1);
  EXPECT_EQ(record_count(classes.c[1]), 0);
  EXPECT_EQ(set_header_of(set).serial[1], 2);
  std::vector<uint8_t> d(20, 0);
  add_record(classes.c[1], d.data(), 20);
  EXPECT_EQ(get_u16(d.data()), 3);
  EXPECT_FALSE(delete_record(classes.c[1], a));  // a is free space now
}

TEST_F(RecordsTest, DeletedSpaceIsReusedFromTheFreeLists) {
  open();
  const rec_pos big = add(2, 2000);
  add(2, 10);
  ASSERT_TRUE(delete_record(classes.c[2], big));
  const int64_t length = file_length(set_handle(set));
  const rec_pos small = add(2, 100);
  EXPECT_EQ(small, big + 2017 - 117);  // cut from the tail of the freed block
  EXPECT_EQ(file_length(set_handle(set)), length);
}

TEST_F(RecordsTest, ChecksumResultsTellOneOffFromDamage) {
  open();
  add(0, 100);
  ASSERT_TRUE(close_record_set(set));
  set = nullptr;
  std::string bytes = dir.read("doc.kvr");
  const size_t data_at = 619 + 17 + 50;
  bytes[data_at] = char(uint8_t(bytes[data_at]) + 1);
  dir.write("doc.kvr", bytes);
  open();
  EXPECT_EQ(result, CHECKSUM_OFF_BY_ONE);
  close_record_set(set);
  set = nullptr;
  // Closing stored a fresh checksum.
  open();
  EXPECT_EQ(result, CHECKSUM_OK);
  close_record_set(set);
  set = nullptr;
  bytes = dir.read("doc.kvr");
  bytes[data_at] = char(uint8_t(bytes[data_at]) + 7);
  dir.write("doc.kvr", bytes);
  open();
  EXPECT_EQ(result, CHECKSUM_MISMATCH);
}

TEST_F(RecordsTest, FlushStoresTheChecksumAndImagesNeedAFlushToLast) {
  open(STORAGE_COMPRESSED);
  const rec_pos a = add(0, 300);
  ASSERT_TRUE(flush_record_set(set));
  ASSERT_TRUE(flush_container(set_handle(set)));
  EXPECT_EQ(verify_checksum(set_handle(set), 293 + 148), 0);
  add(0, 300);  // never flushed
  // A crash now: the disk holds the flushed state, whose checksum matches.
  const std::string saved = dir.read("doc.kvr");
  kovra::test::temp_folder other;
  const std::string copy = other.write("crash.kvr", saved);
  test_classes c2;
  int r = -1;
  record_set* s2 = open_record_set(test_open_request(copy, c2, STORAGE_COMPRESSED, 3), &r);
  ASSERT_NE(s2, nullptr);
  EXPECT_EQ(r, CHECKSUM_OK);
  EXPECT_EQ(record_count(c2.c[0]), 1);
  EXPECT_EQ(locate_record(c2.c[0], FIRST_REC, 0), a);
  close_record_set(s2);
}

TEST_F(RecordsTest, SubsetsLiveInType100BlocksAndCloseFirst) {
  open();
  std::vector<std::string> order;
  const rec_pos sub = create_subset(classes.c[0], 7, 2, 40, {}, [](int handle, int32_t position) {
    uint8_t user[40] = {'s'};
    return write_at(handle, position, user, 40);
  });
  ASSERT_GT(sub, 0);
  const block_header bh = header(sub);
  EXPECT_EQ(bh.type, REC_TYPE_SUBFILE_HDR);
  EXPECT_EQ(bh.set_no, 7);
  EXPECT_EQ(bh.capacity, 40 + 68 + 158);
  EXPECT_EQ(bh.used, bh.capacity);
  uint8_t sh[158];
  ASSERT_EQ(read_at(set_handle(set), sub + 17, sh, 158), 158);
  EXPECT_EQ(get_i16(sh + 120), 7);
  EXPECT_EQ(get_i16(sh + 122), 2);
  EXPECT_EQ(get_i16(sh + 124), 40);
  EXPECT_EQ(get_i16(sh + 126), 300);
  EXPECT_EQ(get_i32(sh + 128), 0);
  uint8_t user = 0;
  read_at(set_handle(set), sub + 243, &user, 1);
  EXPECT_EQ(user, 's');

  record_class sub_classes[2] = {{REC_TYPE_ELPZ, 1}, {REC_TYPE_ZEST, 1}};
  auto log_writer = [&order](const char* name) {
    return [&order, name](int, int32_t) {
      order.push_back(name);
      return true;
    };
  };
  record_set* s = open_subset(classes.c[0], sub, sub_classes, 2, {}, {}, log_writer("sub"));
  ASSERT_NE(s, nullptr);
  std::vector<uint8_t> d = pattern(50, 3);
  const rec_pos r = add_record(sub_classes[0], d.data(), 50);
  ASSERT_GT(r, 0);
  EXPECT_EQ(header(r).set_no, 7);
  EXPECT_EQ(get_u16(d.data()), 1);
  EXPECT_EQ(record_count(sub_classes[0]), 1);
  EXPECT_EQ(record_count(classes.c[0]), 0);

  // Closing the main set writes the open sub-set's headers before its own: the main set's
  // writer, installed here, runs after the sub-set's.
  ASSERT_TRUE(close_record_set(set));
  set = nullptr;
  EXPECT_EQ(order, (std::vector<std::string>{"sub"}));
  order.clear();
  {
    test_classes c3;
    open_set_request r = test_open_request(path, c3);
    r.writer = log_writer("main");
    record_set* m = open_record_set(r);
    ASSERT_NE(m, nullptr);
    record_class sc[2] = {{REC_TYPE_ELPZ, 1}, {REC_TYPE_ZEST, 1}};
    ASSERT_NE(open_subset(c3.c[0], sub, sc, 2, {}, {}, log_writer("sub")), nullptr);
    ASSERT_TRUE(close_record_set(m));
    EXPECT_EQ(order, (std::vector<std::string>{"sub", "main"}));
    EXPECT_EQ(sc[0].set, nullptr);
  }
  EXPECT_EQ(sub_classes[0].set, nullptr);
  open();
  record_set* again = open_subset(classes.c[0], sub, sub_classes, 2, {}, {}, {});
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(record_count(sub_classes[0]), 1);
  EXPECT_EQ(locate_record(sub_classes[0], FIRST_REC, 0), r);
  EXPECT_EQ(result, CHECKSUM_OK);
  ASSERT_TRUE(delete_record(sub_classes[0], r));
  ASSERT_TRUE(close_subset(sub_classes));
  EXPECT_TRUE(delete_subset(classes.c[0], sub));
  EXPECT_EQ(header(sub).type, REC_TYPE_FREE);
}

TEST_F(RecordsTest, LoopingChainEndsOnTheCorruptionPath) {
  open();
  const rec_pos a = add(2, 30);
  const rec_pos b = add(2, 30);  // chain: b, a
  ASSERT_TRUE(close_record_set(set));
  set = nullptr;
  // Make a consistent two-block ring: a.next = b, b.prev = a.
  std::string bytes = dir.read("doc.kvr");
  auto* raw = reinterpret_cast<uint8_t*>(bytes.data());
  put_i32(raw + a + 13, b);
  put_i32(raw + b + 9, a);
  dir.write("doc.kvr", bytes);
  open();
  record_cursor cursor;
  uint8_t buffer[64];
  int steps = 0;
  for (rec_pos p = first_record(classes.c[2], buffer, cursor); p != -1 && steps < 100000;
       p = next_record(cursor, buffer))
    ++steps;
  EXPECT_LT(steps, 100000);
  EXPECT_GE(corruption.calls, 1);
  EXPECT_TRUE(std::filesystem::exists(dir.folder() + corruption_report_name));
}

TEST_F(RecordsTest, ReadOnlyOpenChangesNothing) {
  open();
  add(0, 100);
  close_record_set(set);
  set = nullptr;
  const std::string before = dir.read("doc.kvr");
  open(STORAGE_COMPRESSED, 3);
  std::vector<uint8_t> d = pattern(10, 1);
  EXPECT_EQ(add_record(classes.c[0], d.data(), 10), -1);
  ASSERT_TRUE(close_record_set(set));
  set = nullptr;
  EXPECT_EQ(dir.read("doc.kvr"), before);
}
