#include "store/open_files.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <sys/wait.h>
#include <unistd.h>

#include "store/temp_folder_support.h"

using namespace kovra::store;
using kovra::test::temp_folder;

namespace {

class OpenFilesTest : public ::testing::Test {
protected:
  void SetUp() override { reset_open_files(); }
  void TearDown() override { reset_open_files(); }
  temp_folder dir;
};

} // namespace

TEST_F(OpenFilesTest, EntriesAreKeptByHandle) {
  const std::string path = dir.write("a.kvr");
  ASSERT_TRUE(register_file(7, path, 2, 249));
  EXPECT_EQ(file_path(7), path);
  EXPECT_EQ(file_open_mode(7), 2);
  EXPECT_EQ(file_open_error(7), 249);
  EXPECT_EQ(find_open_file(path), 7);

  release_file(7);
  EXPECT_EQ(file_path(7), "");
  EXPECT_EQ(file_open_mode(7), -1);
  EXPECT_EQ(file_open_error(7), 0);
  EXPECT_EQ(find_open_file(path), -1);
}

TEST_F(OpenFilesTest, HandlesOutsideTheTableAreRefused) {
  EXPECT_TRUE(register_file(99, dir.write("last.kvr")));
  EXPECT_FALSE(register_file(100, dir.write("over.kvr")));
  EXPECT_FALSE(register_file(-1, dir.write("neg.kvr")));
  EXPECT_FALSE(register_file(3, ""));
  EXPECT_EQ(file_path(100), "");
  EXPECT_EQ(file_open_mode(-1), -1);
  EXPECT_EQ(find_open_file(dir.folder() + "over.kvr"), -1);
  release_file(100);  // harmless
}

TEST_F(OpenFilesTest, LookupFindsOtherSpellingsOfTheSamePathButIsCaseSensitive) {
  std::filesystem::create_directory(dir.path() / "sub");
  const std::string path = dir.write("sub/Doc.kvr");
  ASSERT_TRUE(register_file(4, path));
  EXPECT_EQ(find_open_file(dir.folder() + "sub/./../sub/Doc.kvr"), 4);
  EXPECT_EQ(find_open_file(dir.folder() + "sub/doc.kvr"), -1);
  EXPECT_EQ(find_open_file(""), -1);
}

TEST_F(OpenFilesTest, HeldFilesAreWritableOnlyInReadWriteModes) {
  const std::string path = dir.write("held.kvr", "data");
  for (int mode : {0, 1, 8, 9}) {
    register_file(5, path, mode);
    EXPECT_TRUE(is_writable(path)) << mode;
  }
  for (int mode : {2, 3, 10, 11}) {
    register_file(5, path, mode);
    EXPECT_FALSE(is_writable(path)) << mode;
  }
}

TEST_F(OpenFilesTest, WritableTestDeletesAFileItCreated) {
  const std::string path = dir.folder() + "new.kvr";
  EXPECT_TRUE(is_writable(path));
  EXPECT_FALSE(std::filesystem::exists(path));

  const std::string existing = dir.write("old.kvr", "keep");
  EXPECT_TRUE(is_writable(existing));
  EXPECT_EQ(dir.read("old.kvr"), "keep");
}

TEST_F(OpenFilesTest, NotWritableCases) {
  EXPECT_FALSE(is_writable(dir.folder() + "missing/x.kvr"));
  EXPECT_FALSE(is_writable(dir.folder()));  // a folder
  EXPECT_FALSE(is_writable(""));
  if (geteuid() != 0) {  // root writes anyway
    const std::string ro = dir.write("ro.kvr", "x");
    std::filesystem::permissions(ro, std::filesystem::perms::owner_read);
    EXPECT_FALSE(is_writable(ro));
  }
}

TEST_F(OpenFilesTest, ALockOfAnotherProcessMakesTheFileNotWritable) {
  const std::string path = dir.write("locked.kvr", "x");
  int ready[2];
  int release[2];
  ASSERT_EQ(pipe(ready), 0);
  ASSERT_EQ(pipe(release), 0);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    // A reader that lets nobody write (open mode 2) holds a read lock.
    const int fd = open(path.c_str(), O_RDONLY);
    struct flock lock {};
    lock.l_type = F_RDLCK;
    lock.l_whence = SEEK_SET;
    fcntl(fd, F_OFD_SETLK, &lock);
    char c = 1;
    (void)!write(ready[1], &c, 1);
    (void)!read(release[0], &c, 1);
    _exit(0);
  }
  char c;
  ASSERT_EQ(read(ready[0], &c, 1), 1);
  EXPECT_FALSE(is_writable(path));
  (void)!write(release[1], &c, 1);
  int status = 0;
  waitpid(child, &status, 0);
  EXPECT_TRUE(is_writable(path));
  for (int fd : {ready[0], ready[1], release[0], release[1]}) close(fd);
}
