#include "store/staged_names.h"

#include "store/container.h"
#include "store/open_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/wait.h>
#include <unistd.h>

#include "store/temp_folder_support.h"

using namespace kovra::store;
using kovra::test::temp_folder;

TEST(StagedNames, TemporariesOfProcessesThatAreGoneGoWithTheNextWrite) {
  reset_containers();
  temp_folder dir;
  const pid_t gone = fork();
  ASSERT_GE(gone, 0);
  if (gone == 0) _exit(0);
  waitpid(gone, nullptr, 0);
  const std::string dead = std::to_string(gone), live = std::to_string(::getpid());

  const std::string target = dir.folder() + "dom.kvr";
  EXPECT_EQ(staged_name(target, 3), dir.folder() + ".dom.kvr-" + live + "-3.kvr");
  for (const std::string& name : {".dom.kvr-" + dead + "-1.kvr", ".dom.kvr-" + dead + "-1.kv~",
                                 ".dom.kvr-" + dead + "-2.kv~", ".dom.kvr-" + live + "-1.kvr",
                                 ".dom.kvr-" + dead + "-7.kvr", ".inny.kvr-" + dead + "-1.kvr",
                                 ".dom.kvr-" + dead + "-x.kvr", std::string("dom.kvr")})
    dir.write(name, "x");
  // A temporary that an open holds stays, whatever its name says.
  const int held = create_container(dir.folder() + ".dom.kvr-" + dead + "-7.kvr", STORAGE_DIRECT, header_template(),
                                    FILE_TYPE_ESTIMATE, CONTAINER_VERSION);
  ASSERT_GE(held, 0);

  EXPECT_EQ(remove_stale_staged(target), 3);
  const auto there = [&](const std::string& name) { return std::filesystem::exists(dir.folder() + name); };
  EXPECT_FALSE(there(".dom.kvr-" + dead + "-1.kvr"));
  EXPECT_FALSE(there(".dom.kvr-" + dead + "-1.kv~"));
  EXPECT_FALSE(there(".dom.kvr-" + dead + "-2.kv~"));
  EXPECT_TRUE(there(".dom.kvr-" + live + "-1.kvr"));
  EXPECT_TRUE(there(".dom.kvr-" + dead + "-7.kvr"));
  EXPECT_TRUE(there(".inny.kvr-" + dead + "-1.kvr"));
  EXPECT_TRUE(there(".dom.kvr-" + dead + "-x.kvr"));
  EXPECT_TRUE(there("dom.kvr"));
  close_container(held);
  reset_containers();
  reset_open_files();
}
