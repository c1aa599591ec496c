#include "store/paths.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "store/log.h"
#include "store/temp_folder_support.h"

using namespace kovra::store;
using kovra::test::temp_folder;

namespace {

// Runs a test body with the current directory moved into a folder.
class current_dir_guard {
public:
  explicit current_dir_guard(const std::filesystem::path& to) : old_(std::filesystem::current_path()) {
    std::filesystem::current_path(to);
  }
  ~current_dir_guard() { std::filesystem::current_path(old_); }

private:
  std::filesystem::path old_;
};

} // namespace

TEST(Paths, MakeAbsoluteFoldsDotStepsAgainstTheCurrentFolder) {
  temp_folder dir;
  std::filesystem::create_directory(dir.path() / "x");
  current_dir_guard cwd(dir.path() / "x");
  const std::string here = std::filesystem::current_path().string() + "/";
  EXPECT_EQ(make_absolute("a/./b/../c"), here + "a/c/");
  EXPECT_EQ(make_absolute("a/./b/../c/"), here + "a/c/");
  EXPECT_EQ(make_absolute(""), here);
  EXPECT_EQ(make_absolute(".."), folder_part(here.substr(0, here.size() - 1)));
}

TEST(Paths, MakeAbsoluteOfAbsoluteFolders) {
  EXPECT_EQ(make_absolute("/x"), "/x/");
  EXPECT_EQ(make_absolute("/x/y/z/../../w/"), "/x/w/");
  EXPECT_EQ(make_absolute("/x//y/./"), "/x/y/");
  EXPECT_EQ(make_absolute("/a/b/../../.."), "/");
  EXPECT_EQ(make_absolute("/../etc"), "/etc/");
  EXPECT_EQ(make_absolute("/"), "/");
  // Names that merely start with dots are folder names.
  EXPECT_EQ(make_absolute("/x/...y/.z/.."), "/x/...y/");
}

TEST(Paths, StoredPathsWithBackslashes) {
  EXPECT_EQ(from_stored_path("kosztorysy\\rozdz\\r1.kvr"), "kosztorysy/rozdz/r1.kvr");
  EXPECT_EQ(from_stored_path("C:\\kovra_p\\"), "C:/kovra_p/");
  EXPECT_EQ(make_absolute(from_stored_path("\\a\\.\\b\\..\\c")), "/a/c/");
}

TEST(Paths, AddBackslash) {
  EXPECT_EQ(add_backslash("/x"), "/x/");
  EXPECT_EQ(add_backslash("/x/"), "/x/");
  EXPECT_EQ(add_backslash("dane"), "dane/");
  EXPECT_EQ(add_backslash(""), "");
}

TEST(Paths, PartsOfAPath) {
  EXPECT_EQ(folder_part("/x/y/doc.kvr"), "/x/y/");
  EXPECT_EQ(name_part("/x/y/doc.kvr"), "doc");
  EXPECT_EQ(extension_part("/x/y/doc.kvr"), ".kvr");
  EXPECT_EQ(extension_part("/x.d/doc"), "");
  EXPECT_EQ(name_part("/x.d/doc"), "doc");
  EXPECT_EQ(name_part("/x/a.b.c"), "a.b");
  EXPECT_EQ(folder_part("doc.kvr"), "");
}

TEST(Paths, JoinTakesMissingPartsFromTheFolderPath) {
  EXPECT_EQ(join("/x/", "doc", ".kvr"), "/x/doc.kvr");
  EXPECT_EQ(join("/x/", "doc", "kvr"), "/x/doc.kvr");
  EXPECT_EQ(join("/x/doc.kvr", "", ".bak"), "/x/doc.bak");
  EXPECT_EQ(join("/x/doc.kvr", "new", ""), "/x/new.kvr");
  EXPECT_EQ(join("/x/doc.kvr", "", ""), "/x/doc.kvr");
  EXPECT_EQ(join("/x/", "kovra", ".cfg"), "/x/kovra.cfg");
}

TEST(Paths, WithSubfolder) {
  EXPECT_EQ(with_subfolder("/prog/", "dane"), "/prog/dane/");
  EXPECT_EQ(with_subfolder("/prog/dane/", "wydruki"), "/prog/dane/wydruki/");
  EXPECT_EQ(with_subfolder("/prog/kovra", "pdf"), "/prog/pdf/");
}

TEST(Paths, ProgramFolderFromTheFirstCommandWord) {
  temp_folder dir;
  std::filesystem::create_directory(dir.path() / "bin");
  {
    current_dir_guard cwd(dir.path());
    set_program_folder_from_command("./bin/../bin/kovra");
  }
  EXPECT_EQ(program_folder(), std::filesystem::canonical(dir.path()).string() + "/bin/");
  EXPECT_EQ(program_file("kovra.cfg"), program_folder() + "kovra.cfg");

  // A bare name was found through the search path: the executable's own folder.
  set_program_folder_from_command("kovra");
  EXPECT_EQ(program_folder(),
            std::filesystem::read_symlink("/proc/self/exe").parent_path().string() + "/");
  set_program_folder("");
}

TEST(Paths, WorkingCopyName) {
  EXPECT_EQ(working_copy_name("/x/dom.kvr"), "/x/dom.kv~");
  EXPECT_EQ(working_copy_name("/x/dom.k"), "/x/dom.k~~");
  EXPECT_EQ(working_copy_name("/x/dom."), "/x/dom.~~~");
  EXPECT_EQ(working_copy_name("/x/dom"), "/x/dom.~~~");
  EXPECT_EQ(working_copy_name("/x.d/dom"), "/x.d/dom.~~~");
  EXPECT_EQ(working_copy_name("/x/dom.long"), "/x/dom.lo~");
}

TEST(Paths, ForceDirectoriesCreatesEveryMissingParent) {
  temp_folder dir;
  const std::string deep = dir.folder() + "a/b/c/";
  EXPECT_TRUE(force_directories(deep));
  EXPECT_TRUE(std::filesystem::is_directory(deep));
  EXPECT_TRUE(force_directories(deep));  // already there
  dir.write("file");
  EXPECT_FALSE(force_directories(dir.folder() + "file/sub"));
  EXPECT_FALSE(force_directories(""));
}

TEST(NumberedName, FollowsTheHighestExistingNumber) {
  temp_folder dir;
  dir.write("P01.prn");
  dir.write("P07.prn");
  dir.write("P5x.prn");   // not digits
  dir.write("P50.txt");   // other extension
  dir.write("Q90.prn");   // other prefix
  EXPECT_EQ(numbered_name(dir.folder() + ".prn", "P"), dir.folder() + "P08.prn");
}

TEST(NumberedName, EmptyFolderStartsAtZero) {
  temp_folder dir;
  EXPECT_EQ(numbered_name(dir.folder() + ".prn", "P"), dir.folder() + "P00.prn");
  EXPECT_EQ(numbered_name(dir.folder() + ".prn", ""), dir.folder() + "000.prn");
  EXPECT_EQ(numbered_name(dir.folder() + ".prn", "WY"), dir.folder() + "WY0.prn");
  EXPECT_EQ(numbered_name(dir.folder(), "P"), dir.folder() + "P00");
}

TEST(NumberedName, FailsWhenTheNextNumberDoesNotFit) {
  temp_folder dir;
  dir.write("P99.prn");
  EXPECT_EQ(numbered_name(dir.folder() + ".prn", "P"), std::nullopt);
  dir.write("WY9.prn");
  EXPECT_EQ(numbered_name(dir.folder() + ".prn", "WY"), std::nullopt);
  dir.write("998.prn");
  EXPECT_EQ(numbered_name(dir.folder() + ".prn", ""), dir.folder() + "999.prn");
  dir.write("999.prn");
  EXPECT_EQ(numbered_name(dir.folder() + ".prn", ""), std::nullopt);
  EXPECT_EQ(numbered_name(dir.folder() + ".prn", "ABC"), std::nullopt);
  dir.write("R12345678901234567890.prn");
  EXPECT_EQ(numbered_name(dir.folder() + ".prn", "R"), std::nullopt);
}
