#include "shell/command_line.h"

#include <gtest/gtest.h>

using namespace kovra::shell;

TEST(CommandLine, OptionLettersTakeTheRestOfTheWord) {
  folder_options o = parse_folder_options({"-s/opt/shared/", "-d/home/a/dane", "-urel/user", "-i/tmp/ini/"});
  EXPECT_EQ(o.shared, "/opt/shared/");
  EXPECT_EQ(o.data, "/home/a/dane");
  EXPECT_EQ(o.user, "rel/user");
  EXPECT_EQ(o.ini, "/tmp/ini/");
}

TEST(CommandLine, FirstMatchingWordWinsAndOtherWordsAreIgnored) {
  folder_options o = parse_folder_options({"plik.kvr", "-d/first/", "-x/nothing/", "-d/second/", "--d"});
  EXPECT_EQ(o.data, "/first/");
  EXPECT_FALSE(o.shared);
  EXPECT_FALSE(o.user);
  EXPECT_FALSE(o.ini);
}

TEST(CommandLine, CapitalsAndSlashAreNotOptions) {
  folder_options o = parse_folder_options({"-D/capital/", "/d/slash/", "-S/x/", "/u"});
  EXPECT_FALSE(o.data);
  EXPECT_FALSE(o.shared);
  EXPECT_FALSE(o.user);
}

TEST(CommandLine, WordWithoutValueIsNoOption) {
  folder_options o = parse_folder_options({"-d", "-d/later/"});
  EXPECT_EQ(o.data, "/later/");
}

TEST(CommandLine, QuotedWordsKeepTheirBlanks) {
  auto words = split_command_line("kovra  \"-d/home/jan/moje dane/\" -u/u/\t\"x y\"z \"open");
  ASSERT_EQ(words.size(), 6u);
  EXPECT_EQ(words[0], "kovra");
  EXPECT_EQ(words[1], "-d/home/jan/moje dane/");
  EXPECT_EQ(words[2], "-u/u/");
  EXPECT_EQ(words[3], "x y");
  EXPECT_EQ(words[4], "z");
  EXPECT_EQ(words[5], "open");
  EXPECT_TRUE(split_command_line("   ").empty());

  folder_options o = parse_folder_options({"\"-d/moje dane/\"", "\"-u/a b/\"tail"});
  EXPECT_EQ(o.data, "/moje dane/");
  EXPECT_EQ(o.user, "/a b/");
  EXPECT_EQ(unquote_word("\"unterminated"), "unterminated");
}

TEST(OpenCommand, PathTakenFromTheRequestAndFilesFromTheWords) {
  EXPECT_EQ(open_command_text("/dane/dom.kvr"), "[open(\"/dane/dom.kvr\")]");
  EXPECT_EQ(open_command_path(open_command_text("/dane/dom (2).kvr")), "/dane/dom (2).kvr");
  EXPECT_EQ(open_command_path("xx[open(\"/a/łódź.kvr\")]yy"), "/a/łódź.kvr");
  EXPECT_FALSE(open_command_path("[print(\"/a.kvr\")]"));  // no "open"
  EXPECT_FALSE(open_command_path("[open(/a.kvr)]"));       // no quoted path
  EXPECT_FALSE(open_command_path("open(\"/a.kvr\")"));     // no brackets
  EXPECT_FALSE(open_command_path("[open(\"\")]"));
  EXPECT_EQ(file_arguments({"-d/dane/", "/x/dom.kvr", "\"/x/a b.kvr\""}),
            (std::vector<std::string>{"/x/dom.kvr", "/x/a b.kvr"}));
}
