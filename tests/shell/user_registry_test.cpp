#include "shell/user_registry.h"

#include "shell/config_file_support.h"
#include "shell/ini_file.h"
#include "shell/temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace kovra::shell;
using namespace kovra::test;

TEST(UserRegistry, LastUserAndProgramPathRoundTrip) {
  temp_folder dir;
  registry_folders f{dir.path() + "config", dir.path() + "data"};
  std::string name;
  EXPECT_FALSE(registry_last_user(f, name, false).key_opened);

  name = "Kowalski";
  auto w = registry_last_user(f, name, true, "/opt/kovra", "/opt/kovra/kovra");
  EXPECT_TRUE(w.key_opened);
  EXPECT_FALSE(w.error) << *w.error;
  EXPECT_TRUE(w.association_written);
  std::string back;
  EXPECT_TRUE(registry_last_user(f, back, false).key_opened);
  EXPECT_EQ(back, "Kowalski");
  EXPECT_EQ(ini_read(program_settings_path(f), "Kovra8", "ApplicationPath"), "/opt/kovra/");
  EXPECT_NE(program_settings_path(f).find("/kovra/Kovra8.conf"), std::string::npos);
}

TEST(UserRegistry, AssociationIsWrittenOnlyWhenMissing) {
  temp_folder dir;
  registry_folders f{dir.path() + "config", dir.path() + "data"};
  ASSERT_TRUE(write_kvr_association(f, "/opt/my \"kovra\"/kovra"));
  auto mime = read_file(mime_package_path(f));
  std::string mime_text(mime.begin(), mime.end());
  EXPECT_NE(mime_text.find("<glob pattern=\"*.kvr\"/>"), std::string::npos);
  auto desk = read_file(desktop_entry_path(f));
  std::string desk_text(desk.begin(), desk.end());
  EXPECT_NE(desk_text.find("MimeType=application/x-kovra-kosztorys;"), std::string::npos);
  EXPECT_NE(desk_text.find("Exec=\"/opt/my \\\\\"kovra\\\\\"/kovra\" %f"), std::string::npos);

  // An association already present (say, edited by the user) is left unchanged.
  write_file(mime_package_path(f), {'x'});
  EXPECT_FALSE(write_kvr_association(f, "/other/kovra"));
  EXPECT_EQ(read_file(mime_package_path(f)), std::vector<uint8_t>{'x'});
  std::string name = "A";
  EXPECT_FALSE(registry_last_user(f, name, true, "/p/", "/p/kovra").association_written);
}
