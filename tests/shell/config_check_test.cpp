#include "shell/config_check.h"

#include "shell/config.h"
#include "shell/config_file_support.h"
#include "shell/temp_folder.h"
#include "shell/users.h"

#include <gtest/gtest.h>

using namespace kovra::shell;
using namespace kovra::test;

TEST(ConfigCheck, NewConfigurationHasItsSevenSectionsInOrder) {
  temp_folder dir;
  std::string path = dir.path() + "kovra.cfg";
  general_record g;
  ASSERT_TRUE(load_general_settings(g, path));
  auto before = read_file(path);
  auto r = check_config_file(path);
  ASSERT_TRUE(r.ok()) << (r.problems.empty() ? r.open_problem : r.problems[0]);
  EXPECT_FALSE(r.users_file);
  EXPECT_EQ(r.file_type, 41);
  EXPECT_EQ(r.length, 24088u);
  ASSERT_EQ(r.sections.size(), 7u);
  const char* tags[] = {"OGOL", "OPIS", "OVRH", "OVRI", "PRNT", "PRNI", "CENN"};
  uint64_t offset = 293;
  for (int i = 0; i < 7; ++i) {
    EXPECT_EQ(r.sections[i].tag, tags[i]);
    EXPECT_EQ(r.sections[i].offset, offset);
    offset += r.sections[i].size;
  }
  EXPECT_EQ(r.sections[4].size, 10942u);
  EXPECT_EQ(read_file(path), before);
}

TEST(ConfigCheck, ProblemsAreLocated) {
  Config c;
  set_config_defaults(c);
  auto body = encode_config_sections(c);
  config_check_report cut;
  check_config_sections(body.data(), body.size() - 1, cut);
  ASSERT_EQ(cut.problems.size(), 1u);
  EXPECT_EQ(cut.problems[0], "offset " + std::to_string(293 + body.size() - 67) + ": section \"CENN\" is cut short");

  auto extra = body;
  extra.insert(extra.end(), {'A', 'B'});
  config_check_report tail;
  check_config_sections(extra.data(), extra.size(), tail);
  ASSERT_EQ(tail.problems.size(), 1u);
  EXPECT_NE(tail.problems[0].find("2 bytes after the last section"), std::string::npos);

  body[310] = 'X';
  config_check_report unknown;
  check_config_sections(body.data(), body.size(), unknown);
  ASSERT_EQ(unknown.problems.size(), 1u);
  EXPECT_EQ(unknown.problems[0], "offset 603: unknown section \"XPIS\"");
}

TEST(ConfigCheck, UsersFileAndForeignFiles) {
  temp_folder dir;
  std::string path = dir.path() + "kovra.psd";
  Cfg_Psd psd;
  ASSERT_EQ(psd.read(path, user_record{}), psd_ok);
  psd.close();
  auto r = check_config_file(path);
  ASSERT_TRUE(r.ok());
  EXPECT_TRUE(r.users_file);
  ASSERT_EQ(r.sections.size(), 2u);
  EXPECT_EQ(r.sections[1].tag, "USER");
  EXPECT_EQ(r.sections[1].count, 1);

  write_file(path, std::vector<uint8_t>(500, 'q'));
  auto foreign = check_config_file(path);
  EXPECT_FALSE(foreign.readable);
  EXPECT_EQ(foreign.open_problem, "not a configuration file of this program");
  EXPECT_EQ(check_config_file(dir.path() + "none").open_problem, "no such file");
}
