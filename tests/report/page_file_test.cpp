// The page file, its buffered reader and the replay of damaged page files.
#include "report/buffered_file.h"
#include "report/page_file.h"
#include "report/page_opcodes.h"
#include "report/page_replay.h"
#include "report/raport_buffer.h"
#include "report/recording_canvas.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <numeric>
#include <unistd.h>

namespace kovra::report {
namespace {

TEST(raport_buffer, grows_by_at_least_500_bytes_and_keeps_what_it_holds) {
  VL_raport_buffer b;
  b.put_i32(-2);
  EXPECT_GE(b.capacity(), 500);
  EXPECT_EQ(load_i32(b.data()), -2);
  std::vector<uint8_t> big(2000, 7);
  b.append(big.data(), big.size());
  EXPECT_EQ(b.length(), 2004);
  EXPECT_GE(b.capacity(), 2004);
  b.height = 30;
  b.clear();
  EXPECT_EQ(b.length(), 0);
  EXPECT_EQ(b.height, 0);
}

TEST(page_file, has_no_name_in_its_folder_and_goes_away_with_its_handle) {
  const auto folder = std::filesystem::temp_directory_path() / ("kovra_pf_" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder);
  {
    auto f = page_file::create_in(folder.string());
    ASSERT_TRUE(f);
    f->append_i32(42);
    EXPECT_EQ(f->size(), 4);
    EXPECT_TRUE(std::filesystem::is_empty(folder));
    int32_t v = 0;
    uint8_t b[4];
    ASSERT_EQ(f->read_at(0, b, 4), 4u);
    v = load_i32(b);
    EXPECT_EQ(v, 42);
    f->rewind();
    EXPECT_EQ(f->size(), 0);
    EXPECT_EQ(f->read_at(0, b, 4), 0u);
    EXPECT_FALSE(f->write_failed());
  }
  std::filesystem::remove_all(folder);
  EXPECT_EQ(page_file::create_in("/nonexistent/kovra/folder"), nullptr);
}

TEST(buffered_file, reads_across_the_32k_buffer_and_fails_past_the_end) {
  auto f = page_file::create();
  ASSERT_TRUE(f);
  const int count = 20000;  // 80000 bytes: more than two buffers
  for (int i = 0; i < count; ++i) f->append_i32(i);
  VL_buffered_file in(*f);
  uint8_t odd[3];
  ASSERT_TRUE(in.read(odd, 3));  // misalign every later read against the buffer
  in.seek(0);
  for (int i = 0; i < count; ++i) {
    int32_t v = -1;
    ASSERT_TRUE(in.read_i32(v)) << i;
    ASSERT_EQ(v, i);
  }
  int32_t v = 0;
  EXPECT_FALSE(in.read_i32(v));
  in.seek(4 * count - 2);
  EXPECT_FALSE(in.read_i32(v));  // two bytes left
  in.seek(8);
  std::vector<uint8_t> large(VL_buffered_file::BUFFER_SIZE + 100);
  ASSERT_TRUE(in.read(large.data(), large.size()));
  EXPECT_EQ(load_i32(large.data()), 2);
  ASSERT_TRUE(in.read_i32(v));
  EXPECT_EQ(v, static_cast<int32_t>((8 + large.size()) / 4));
}

// Builds page files by hand.
struct file_builder {
  std::unique_ptr<page_file> f = page_file::create();
  void put(std::initializer_list<int32_t> values) {
    for (int32_t v : values) f->append_i32(v);
  }
  void text(int32_t format, const std::string& t) {
    put({OP_TEXT, format, 0, 0, static_cast<int32_t>(t.size() + 1), 0, 0, 100, 100});
    f->append(t.c_str(), t.size() + 1);
  }
};

TEST(page_replay, damaged_files_end_the_replay_without_harm) {
  {
    // A chain that points back to itself is counted once and replays once.
    file_builder b;
    b.put({OP_PAGE, 1, -1, 0});
    b.text(0, "a");
    b.put({OP_END});
    EXPECT_EQ(count_pages_in(*b.f, 0), 1);
    test::recording_canvas c;
    const auto r = replay_pages(*b.f, 0, {}, c);
    EXPECT_EQ(c.texts_on(1), (std::vector<std::string>{"a"}));
    EXPECT_FALSE(r.damaged);
  }
  {
    // A text longer than the file.
    file_builder b;
    b.put({OP_PAGE, 1, -1, -1, OP_TEXT, 0, 0, 0, 1 << 30, 0, 0, 1, 1});
    test::recording_canvas c;
    const auto r = replay_pages(*b.f, 0, {}, c);
    EXPECT_TRUE(r.damaged);
    EXPECT_TRUE(c.items.empty());
  }
  {
    // An unknown command and a file without its end.
    file_builder b;
    b.put({OP_PAGE, 1, -1, -1, OP_LINE, 0, 0, 1, 1, 99});
    test::recording_canvas c;
    EXPECT_TRUE(replay_pages(*b.f, 0, {}, c).damaged);
    EXPECT_EQ(c.items.size(), 1u);
    file_builder t;
    t.put({OP_PAGE, 1, -1, -1, OP_LINE, 0, 0});
    EXPECT_TRUE(replay_pages(*t.f, 0, {}, c).damaged);
  }
  {
    // First offset not at a page record, or outside the file.
    file_builder b;
    b.put({OP_LINE, 0, 0, 1, 1, OP_END});
    test::recording_canvas c;
    EXPECT_TRUE(replay_pages(*b.f, 0, {}, c).damaged);
    EXPECT_EQ(count_pages_in(*b.f, 0), 0);
    EXPECT_EQ(count_pages_in(*b.f, 1000), 0);
    EXPECT_EQ(count_pages_in(*b.f, -1), 0);
  }
  {
    // A text without its zero stops at the recorded length; one with an early zero stops there.
    file_builder b;
    b.put({OP_PAGE, 7, -1, -1, OP_TEXT, 0, 0, 0, 3, 0, 0, 9, 9});
    b.f->append("abc", 3);
    b.put({OP_TEXT_VCENTRED, 0, 0, 9, 9, 4});
    b.f->append("d\0ef", 4);
    b.put({OP_END});
    test::recording_canvas c;
    replay_request req;
    req.first_page_no = 7;
    EXPECT_FALSE(replay_pages(*b.f, 0, req, c).damaged);
    ASSERT_EQ(c.items.size(), 2u);
    EXPECT_EQ(c.items[0].text, "abc");
    EXPECT_EQ(c.items[1].text, "d");
  }
}

} // namespace
} // namespace kovra::report
