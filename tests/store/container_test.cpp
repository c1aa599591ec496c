#include "store/container.h"

#include "store/byte_order.h"
#include "store/compressed_image.h"
#include "store/copy_container.h"
#include "store/log.h"
#include "store/open_files.h"
#include "store/share_lock.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sched.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>
#include <zlib.h>

#include "store/temp_folder_support.h"

using namespace kovra::store;
using kovra::test::temp_folder;

namespace {

class ContainerTest : public ::testing::Test {
protected:
  void SetUp() override {
    reset_containers();
    reset_open_files();
  }
  void TearDown() override {
    reset_containers();
    reset_open_files();
  }

  // A closed container of `extra` bytes after the header, filled with a pattern.
  std::string make_file(const std::string& name, int extra = 1000, int storage = STORAGE_DIRECT) {
    const std::string path = dir.folder() + name;
    const int h = create_container(path, storage, header_template(), FILE_TYPE_ESTIMATE, CONTAINER_VERSION);
    EXPECT_GE(h, 0);
    std::vector<uint8_t> body(static_cast<size_t>(extra));
    for (size_t i = 0; i < body.size(); ++i) body[i] = uint8_t(i * 7 + i / 251);
    EXPECT_TRUE(write_at(h, file_header_size, body.data(), int64_t(body.size())));
    EXPECT_TRUE(flush_container(h));
    EXPECT_TRUE(close_container(h));
    return path;
  }

  std::string disk(const std::string& path) {
    return dir.read(std::filesystem::path(path).filename().string());
  }

  temp_folder dir;
};

int open_plain(const std::string& path, int mode, int checks = 0, int storage = STORAGE_DIRECT) {
  return open_container(path, storage, mode, FILE_TYPE_ESTIMATE, CONTAINER_VERSION, checks, nullptr);
}

} // namespace

TEST_F(ContainerTest, FreshContainerHeaderIsLaidOutByteByByte) {
  const std::string path = dir.folder() + "new.kvr";
  file_header t = header_template();
  t.flags = 0x61;  // kind 1 and the preserved bits 5-6
  const int h = create_container(path, STORAGE_DIRECT, t, FILE_TYPE_CONFIG, 800);
  ASSERT_GE(h, 0);
  EXPECT_EQ(last_open_error(), OPEN_OK);
  const std::string open_bytes = disk(path);
  ASSERT_EQ(open_bytes.size(), 293u);
  EXPECT_EQ(open_bytes.substr(0, 2), "VL");
  EXPECT_EQ(uint8_t(open_bytes[2]), 41);
  EXPECT_EQ(uint8_t(open_bytes[3]), 0x20);  // 800 little-endian
  EXPECT_EQ(uint8_t(open_bytes[4]), 0x03);
  EXPECT_EQ(uint8_t(open_bytes[7]), 1);  // the creator holds it open
  EXPECT_EQ(uint8_t(open_bytes[8]), 0x61);
  EXPECT_EQ(open_bytes.substr(9, 10), "KOSZTORYS ");
  EXPECT_NE(open_bytes.substr(28, 41).find("Vorlanda"), std::string::npos);
  ASSERT_TRUE(close_container(h));
  EXPECT_EQ(uint8_t(disk(path)[7]), 0);
}

TEST_F(ContainerTest, HeaderChecksFailInOrderWithTheirCodes) {
  const std::string good = make_file("good.kvr");
  std::string bytes = disk(good);

  // Bad magic comes before every other check.
  std::string bad = bytes;
  bad[0] = 'X';
  bad[2] = 9;
  bad[7] = 3;
  const std::string bad_path = dir.write("bad.kvr", bad);
  EXPECT_EQ(open_container(bad_path, STORAGE_DIRECT, 0, 2, 800, 7, nullptr), -1);
  EXPECT_EQ(last_open_error(), OPEN_BAD_MAGIC);
  EXPECT_EQ(find_open_file(bad_path), -1);  // the handle was released

  EXPECT_EQ(open_container(good, STORAGE_DIRECT, 0, 41, 800, CHECK_FILE_TYPE, nullptr), -1);
  EXPECT_EQ(last_open_error(), OPEN_WRONG_TYPE);
  EXPECT_EQ(open_container(good, STORAGE_DIRECT, 0, 2, 700, CHECK_VERSION, nullptr), -1);
  EXPECT_EQ(last_open_error(), OPEN_WRONG_VERSION);

  std::string in_use = bytes;
  in_use[7] = 2;
  const std::string used_path = dir.write("used.kvr", in_use);
  EXPECT_EQ(open_container(used_path, STORAGE_DIRECT, 0, 2, 700, CHECK_VERSION | CHECK_NOT_OPEN, nullptr), -1);
  EXPECT_EQ(last_open_error(), OPEN_WRONG_VERSION_IN_USE);
  EXPECT_EQ(open_container(used_path, STORAGE_DIRECT, 0, 2, 700, CHECK_VERSION, nullptr), -1);
  EXPECT_EQ(last_open_error(), OPEN_WRONG_VERSION);
  EXPECT_EQ(open_container(used_path, STORAGE_DIRECT, 0, 2, 800, CHECK_NOT_OPEN, nullptr), -1);
  EXPECT_EQ(last_open_error(), OPEN_COUNT_NOT_ZERO);
  EXPECT_EQ(uint8_t(disk(used_path)[7]), 2);  // a refused open changes nothing

  const std::string tiny = dir.write("tiny.kvr", "VL");
  EXPECT_EQ(open_plain(tiny, 3), -1);
  EXPECT_EQ(last_open_error(), OPEN_BAD_MAGIC);

  EXPECT_EQ(open_plain(dir.folder() + "missing.kvr", 3), -1);
  EXPECT_EQ(last_open_error(), OPEN_NOT_FOUND);
  EXPECT_EQ(open_plain(dir.folder() + "missing.kvr", 0), -1);
  EXPECT_EQ(last_open_error(), OPEN_FAILED);

  const int h = open_container(good, STORAGE_DIRECT, 0, 2, 800, 7, nullptr);
  EXPECT_GE(h, 0);
  EXPECT_EQ(last_open_error(), OPEN_OK);
}

TEST_F(ContainerTest, ReadOnlyFileIsNotWritableForReadWriteModes) {
  const std::string path = make_file("ro.kvr");
  std::filesystem::permissions(path, std::filesystem::perms::owner_read, std::filesystem::perm_options::replace);
  if (::access(path.c_str(), W_OK) == 0) GTEST_SKIP() << "running with rights that ignore file modes";
  EXPECT_EQ(open_plain(path, 0), -1);
  EXPECT_EQ(last_open_error(), OPEN_NOT_WRITABLE);
  EXPECT_GE(open_plain(path, 3), 0);
}

TEST_F(ContainerTest, OpenCountFollowsWritersOnly) {
  const std::string path = make_file("count.kvr");
  auto count = [&] { return uint8_t(disk(path)[7]); };
  file_header h{};
  const int a = open_container(path, STORAGE_COMPRESSED, 0, 2, 800, 0, &h);
  ASSERT_GE(a, 0);
  EXPECT_EQ(h.open_count, 1);
  EXPECT_EQ(count(), 1);
  const int b = open_plain(path, 0);
  EXPECT_EQ(count(), 2);
  const int keep = open_plain(path, 0 | OPEN_KEEP_COUNT);
  const int reader = open_plain(path, 3);
  EXPECT_EQ(count(), 2);
  EXPECT_EQ(open_plain(path, 0, CHECK_NOT_OPEN), -1);
  EXPECT_EQ(last_open_error(), OPEN_COUNT_NOT_ZERO);
  close_container(keep);
  close_container(reader);
  EXPECT_EQ(count(), 2);
  close_container(b);
  close_container(a);
  EXPECT_EQ(count(), 0);
}

TEST_F(ContainerTest, OpenCountStaysWithinItsByte) {
  std::string bytes = disk(make_file("full.kvr"));
  bytes[7] = char(255);
  const std::string path = dir.write("full2.kvr", bytes);
  const int h = open_plain(path, 0);
  ASSERT_GE(h, 0);
  EXPECT_EQ(uint8_t(disk(path)[7]), 255);  // not wrapped to 0, which would read as closed
  close_container(h);
  EXPECT_EQ(uint8_t(disk(path)[7]), 255);  // and the close does not lower what it did not raise
}

TEST_F(ContainerTest, OldVersionCounterCharacterIsRepaired) {
  std::string bytes = disk(make_file("old.kvr"));
  put_i16(reinterpret_cast<uint8_t*>(bytes.data()) + 3, 104);
  bytes[7] = '4';
  bytes[8] = 18;
  const std::string path = dir.write("old2.kvr", bytes);
  file_header h{};
  const int handle = open_container(path, STORAGE_DIRECT, 0, 2, 104, CHECK_NOT_OPEN, &h);
  ASSERT_GE(handle, 0);
  EXPECT_EQ(h.open_count, 1);
  close_container(handle);
  EXPECT_EQ(uint8_t(disk(path)[7]), 0);
}

TEST_F(ContainerTest, SharingFollowsTheOpenModeTable) {
  const std::string path = make_file("share.kvr");
  // allowed[first][second]: may a second open in mode `second` follow one in `first`?
  const bool allowed[4][4] = {
      {true, false, false, true},
      {false, false, false, false},
      {false, false, true, true},
      {true, false, true, true},
  };
  for (int first = 0; first < 4; ++first) {
    for (int second = 0; second < 4; ++second) {
      const int a = open_plain(path, first | OPEN_KEEP_COUNT);
      ASSERT_GE(a, 0) << first;
      const int b = open_plain(path, second | OPEN_KEEP_COUNT);
      EXPECT_EQ(b >= 0, allowed[first][second]) << "first " << first << " second " << second;
      if (b < 0) {
        EXPECT_EQ(last_open_error(), OPEN_ACCESS_DENIED);
      } else {
        close_container(b);
      }
      close_container(a);
    }
  }
}

TEST_F(ContainerTest, AnotherProcessHoldingTheFileExclusivelyLocksUsOut) {
  const std::string path = make_file("proc.kvr");
  int ready[2], release[2];
  ASSERT_EQ(pipe(ready), 0);
  ASSERT_EQ(pipe(release), 0);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    const int h = open_plain(path, OPEN_EXCLUSIVE | OPEN_KEEP_COUNT);
    char c = h >= 0 ? 1 : 0;
    (void)!write(ready[1], &c, 1);
    (void)!read(release[0], &c, 1);
    _exit(0);
  }
  char c = 0;
  ASSERT_EQ(read(ready[0], &c, 1), 1);
  ASSERT_EQ(c, 1);
  EXPECT_EQ(open_plain(path, 3), -1);
  EXPECT_EQ(last_open_error(), OPEN_ACCESS_DENIED);
  EXPECT_FALSE(is_writable(path));
  // Creating over it must not destroy the other program's file.
  const std::string before = disk(path);
  EXPECT_EQ(create_container(path, STORAGE_DIRECT, header_template(), 2, 800), -1);
  EXPECT_EQ(last_open_error(), OPEN_FAILED);
  EXPECT_EQ(disk(path), before);
  (void)!write(release[1], &c, 1);
  int status = 0;
  waitpid(child, &status, 0);
  const int h = open_plain(path, 3);
  EXPECT_GE(h, 0);
  for (int fd : {ready[0], ready[1], release[0], release[1]}) close(fd);
}

TEST_F(ContainerTest, TwoProcessesRacingForExclusiveUseNeverBothGetIt) {
  const std::string path = make_file("race.kvr");
  // Shared between the two processes: a barrier that starts each round together, the number
  // of current holders, and the number of rounds in which both held the file.
  struct shared_state {
    std::atomic<int> arrived[2];
    std::atomic<int> holders;
    std::atomic<int> both;
    std::atomic<int> taken;
  };
  void* memory = mmap(nullptr, sizeof(shared_state), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
  ASSERT_NE(memory, MAP_FAILED);
  auto* st = new (memory) shared_state{};
  constexpr int rounds = 3000;
  const auto race = [&](int me) {
    for (int round = 1; round <= rounds; ++round) {
      const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
      st->arrived[me].store(round);
      for (int spins = 0; st->arrived[1 - me].load() < round;)
        if (++spins > 20000) sched_yield();  // the other process is not running just now
      // Start apart by a varying few microseconds, so that the steps of the two opens
      // interleave in every way over the rounds.
      for (int i = (round * (me ? 7 : 13)) % 64 * 100; i > 0; --i) std::atomic_signal_fence(std::memory_order_seq_cst);
      if (fd >= 0 && take_share_locks(fd, share_access::read_write, share_deny::read_write)) {
        st->taken.fetch_add(1);
        if (st->holders.fetch_add(1) != 0) st->both.fetch_add(1);
        for (int i = 0; i < 200; ++i) std::atomic_signal_fence(std::memory_order_seq_cst);
        st->holders.fetch_sub(1);
      }
      if (fd >= 0) ::close(fd);
    }
  };
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    race(1);
    _exit(0);
  }
  race(0);
  int status = 0;
  waitpid(child, &status, 0);
  EXPECT_EQ(st->both.load(), 0);
  EXPECT_GT(st->taken.load(), rounds / 10);  // both refused only where the two really met
  munmap(memory, sizeof(shared_state));
}

TEST_F(ContainerTest, ImageModesKeepChangesUntilFlush) {
  const std::string path = make_file("image.kvr");
  const std::string before = disk(path);
  int h = open_plain(path, OPEN_KEEP_COUNT, 0, STORAGE_IMAGE);
  ASSERT_GE(h, 0);
  EXPECT_EQ(file_length(h), int64_t(before.size()));
  const uint8_t data[3] = {1, 2, 3};
  EXPECT_TRUE(write_at(h, file_length(h) + 10, data, 3));  // past the end lengthens the image
  EXPECT_EQ(file_length(h), int64_t(before.size()) + 13);
  EXPECT_TRUE(container_modified(h));
  uint8_t back[20] = {};
  EXPECT_EQ(read_at(h, int64_t(before.size()) + 5, back, 20), 8);  // short read at the end
  EXPECT_EQ(back[5], 1);
  EXPECT_EQ(disk(path), before);
  close_container(h);  // without a flush the change is gone
  EXPECT_EQ(disk(path), before);

  h = open_plain(path, OPEN_KEEP_COUNT, 0, STORAGE_IMAGE);
  EXPECT_TRUE(write_at(h, 300, data, 3));
  EXPECT_EQ(expand_file(h, 100), int64_t(before.size()));
  EXPECT_TRUE(flush_container(h));
  EXPECT_FALSE(container_modified(h));
  EXPECT_TRUE(container_saved(h));
  const std::string after = disk(path);
  EXPECT_EQ(after.size(), before.size() + 100);
  EXPECT_EQ(after[300], 1);
  EXPECT_EQ(after[302], 3);
}

TEST_F(ContainerTest, CompressedImageIsScrambledDeflateAfterTheHeader) {
  const std::string path = make_file("packed.kvr", 50000, STORAGE_COMPRESSED);
  const std::string bytes = disk(path);
  ASSERT_GT(bytes.size(), 297u);
  EXPECT_TRUE(uint8_t(bytes[8]) & 0x80);
  EXPECT_LT(bytes.size(), 293u + 50000u);
  // Undo the scrambling word: what remains is a plain zlib stream at level 1.
  std::vector<uint8_t> stream(bytes.begin() + 293, bytes.end());
  put_u32(stream.data(), get_u32(stream.data()) ^ 0x5E8A4F17u);
  EXPECT_EQ(stream[0], 0x78);
  EXPECT_EQ(stream[1], 0x01);
  std::vector<uint8_t> plain(50000);
  uLongf plain_len = plain.size();
  ASSERT_EQ(uncompress(plain.data(), &plain_len, stream.data(), stream.size()), Z_OK);
  ASSERT_EQ(plain_len, 50000u);
  EXPECT_EQ(plain[7], uint8_t(7 * 7));

  // It reopens as the same image; it cannot be held as a plain image.
  const int h = open_plain(path, 3, 0, STORAGE_COMPRESSED);
  ASSERT_GE(h, 0);
  EXPECT_EQ(file_length(h), 293 + 50000);
  EXPECT_EQ(std::memcmp(container_image(h) + 293, plain.data(), 50000), 0);
  EXPECT_EQ(open_plain(path, 3, 0, STORAGE_IMAGE), -1);
  EXPECT_EQ(last_open_error(), OPEN_FAILED);
}

TEST_F(ContainerTest, BrokenOrTruncatedStreamFailsTheOpen) {
  const std::string bytes = disk(make_file("whole.kvr", 100000, STORAGE_COMPRESSED));
  const std::string cut = dir.write("cut.kvr", bytes.substr(0, bytes.size() - 10));
  EXPECT_EQ(open_plain(cut, 3, 0, STORAGE_COMPRESSED), -1);
  EXPECT_EQ(last_open_error(), OPEN_FAILED);
  std::string flipped = bytes;
  flipped[400] = char(flipped[400] ^ 0x55);
  const std::string bad = dir.write("flip.kvr", flipped);
  EXPECT_EQ(open_plain(bad, 3, 0, STORAGE_COMPRESSED), -1);
  const std::string header_only = dir.write("hdr.kvr", bytes.substr(0, 293));
  EXPECT_EQ(open_plain(header_only, 3, 0, STORAGE_COMPRESSED), -1);
}

TEST_F(ContainerTest, UncompressedFileOpenedForWorkIsStoredCompressedAtOnce) {
  const std::string path = make_file("plain.kvr", 20000);
  const std::string plain = disk(path);
  const int reader = open_plain(path, 3, 0, STORAGE_COMPRESSED);  // reading never rewrites
  ASSERT_GE(reader, 0);
  close_container(reader);
  EXPECT_EQ(disk(path), plain);

  const int h = open_plain(path, 0, 0, STORAGE_COMPRESSED);
  ASSERT_GE(h, 0);
  EXPECT_FALSE(container_modified(h));
  const std::string now = disk(path);
  EXPECT_TRUE(uint8_t(now[8]) & 0x80);
  EXPECT_LT(now.size(), plain.size());
  close_container(h);
  const int again = open_plain(path, 3, 0, STORAGE_COMPRESSED);
  ASSERT_GE(again, 0);
  EXPECT_EQ(std::memcmp(container_image(again) + 293, plain.data() + 293, plain.size() - 293), 0);

  // A file that is not a container is never rewritten.
  const std::string junk = dir.write("junk.kvr", std::string(500, 'x'));
  EXPECT_EQ(open_plain(junk, 0, 0, STORAGE_COMPRESSED), -1);
  EXPECT_EQ(disk(junk), std::string(500, 'x'));
}

TEST_F(ContainerTest, IncompressibleImageStillCompresses) {
  // Random bytes grow under deflate; the buffer must be sized for that.
  const std::string path = dir.folder() + "noise.kvr";
  const int h = create_container(path, STORAGE_COMPRESSED, header_template(), 2, 800);
  std::vector<uint8_t> noise(300000);
  uint32_t x = 12345;
  for (auto& b : noise) {
    x = x * 1103515245u + 12345u;
    b = uint8_t(x >> 23);
  }
  ASSERT_TRUE(write_at(h, 293, noise.data(), int64_t(noise.size())));
  ASSERT_TRUE(flush_container(h));
  close_container(h);
  const int r = open_plain(path, 3, 0, STORAGE_COMPRESSED);
  ASSERT_GE(r, 0);
  ASSERT_EQ(file_length(r), 293 + 300000);
  EXPECT_EQ(std::memcmp(container_image(r) + 293, noise.data(), noise.size()), 0);
}

TEST_F(ContainerTest, CopyReportsProgressAndCanBeStopped) {
  const std::string src_path = make_file("src.kvr", 200000);
  const int src = open_plain(src_path, 3, 0, STORAGE_IMAGE);
  const int dst = create_container(dir.folder() + "dst.kvr", STORAGE_DIRECT, header_template(), 2, 800);
  std::vector<std::pair<int64_t, int64_t>> steps;
  EXPECT_EQ(copy_container(dst, src, [&](int64_t w, int64_t r) {
              steps.emplace_back(w, r);
              return true;
            }),
            COPY_OK);
  EXPECT_EQ(steps.size(), 4u);  // 200,293 bytes in 64 KB steps
  EXPECT_EQ(steps.back().first, 200293);
  close_container(dst);
  std::string copied = disk(dir.folder() + "dst.kvr");
  std::string original = disk(src_path);
  copied[7] = original[7];
  EXPECT_EQ(copied, original);

  const int dst2 = create_container(dir.folder() + "dst2.kvr", STORAGE_DIRECT, header_template(), 2, 800);
  EXPECT_EQ(copy_container(dst2, src, [](int64_t, int64_t) { return false; }), COPY_STOPPED);

  const int packed = open_plain(make_file("p.kvr", 70000, STORAGE_COMPRESSED), 3, 0, STORAGE_COMPRESSED);
  const int dst3 = create_container(dir.folder() + "dst3.kvr", STORAGE_DIRECT, header_template(), 2, 800);
  EXPECT_EQ(copy_container(dst3, packed), COPY_OK);
  close_container(dst3);
  const int back = open_plain(dir.folder() + "dst3.kvr", 3, 0, STORAGE_COMPRESSED);
  ASSERT_GE(back, 0);
  EXPECT_EQ(file_length(back), 293 + 70000);
}

TEST_F(ContainerTest, HandlesRunOutAtOneHundred) {
  const std::string path = make_file("many.kvr");
  std::vector<int> handles;
  for (int i = 0; i < 100; ++i) {
    const int h = open_plain(path, 3);
    ASSERT_GE(h, 0) << i;
    handles.push_back(h);
  }
  EXPECT_EQ(open_plain(path, 3), -1);
  EXPECT_EQ(last_open_error(), OPEN_TOO_MANY);
}

TEST_F(ContainerTest, GrowthPastTheAddressableSizeIsFatal) {
  kovra::store::set_program_folder(dir.folder());
  const int h = create_container(dir.folder() + "grow.kvr", STORAGE_IMAGE, header_template(), 2, 800);
  ASSERT_GE(h, 0);
  EXPECT_EQ(expand_file(h, 100), 293);
  EXPECT_EQ(file_length(h), 393);
  EXPECT_EQ(expand_file(h, max_container_length), -1);
  EXPECT_TRUE(kovra::store::fatal_error_raised());
  EXPECT_EQ(kovra::store::last_fatal_text(), "expand_file");
  EXPECT_EQ(file_length(h), 393);
  kovra::store::reset_log_state();
}
