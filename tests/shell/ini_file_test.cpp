#include "shell/ini_file.h"

#include "shell/config_file_support.h"
#include "shell/temp_folder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace kovra::shell;
using namespace kovra::test;

TEST(IniFile, PathKeysCommentsAndHandWrittenLinesSurviveARewrite) {
  ini_file f;
  f.parse("; written by hand\r\n"
          "[Ostatnio otwarte kosztorysy]\r\n"
          "/home/ala/kosztorysy/dom.kvr=1\n"
          "  /home/ala/Kosztorysy/Dom.kvr = 1  \n"
          "\n"
          "[Uzytkownik]\n"
          "Login=Kowalski\n"
          "# another comment\n"
          "no equals sign here\n");
  EXPECT_EQ(f.sections(), (std::vector<std::string>{"Ostatnio otwarte kosztorysy", "Uzytkownik"}));
  EXPECT_EQ(f.keys("Ostatnio otwarte kosztorysy"),
            (std::vector<std::string>{"/home/ala/kosztorysy/dom.kvr", "/home/ala/Kosztorysy/Dom.kvr"}));
  EXPECT_EQ(f.read("ostatnio OTWARTE kosztorysy", "/home/ala/Kosztorysy/Dom.kvr"), "1");
  EXPECT_EQ(f.read("Uzytkownik", "login"), std::nullopt);  // keys match exactly

  f.write("Ostatnio otwarte kosztorysy", "/tmp/a b/c=d.kvr", "1");  // "=" ends the key when read back
  f.write("Uzytkownik", "Login", "Nowak");
  f.write("Windows", "Okno glowne", "1, 2, 3, 4, 2");
  ini_file back;
  back.parse(f.text());
  EXPECT_EQ(back.read("Uzytkownik", "Login"), "Nowak");
  EXPECT_EQ(back.read("Windows", "Okno glowne"), "1, 2, 3, 4, 2");
  EXPECT_EQ(back.keys("Ostatnio otwarte kosztorysy").size(), 3u);
  std::string text = f.text();
  EXPECT_NE(text.find("; written by hand\r\n"), std::string::npos);
  EXPECT_NE(text.find("# another comment\r\n"), std::string::npos);
  EXPECT_NE(text.find("no equals sign here\r\n"), std::string::npos);
  // The new recent file goes after the existing ones, before the blank line.
  EXPECT_LT(text.find("c=d.kvr"), text.find("[Uzytkownik]"));
  EXPECT_LT(text.find("Dom.kvr"), text.find("c=d.kvr"));
}

TEST(IniFile, NumbersEraseAndMissingValues) {
  ini_file f;
  f.parse("[A]\nn= -42x\nbad=abc\n[B]\nk=v\n");
  EXPECT_EQ(f.read_int("A", "n", 7), -42);
  EXPECT_EQ(f.read_int("A", "bad", 7), 7);
  EXPECT_EQ(f.read_int("A", "none", 7), 7);
  EXPECT_EQ(f.read_string("C", "k", "def"), "def");
  EXPECT_TRUE(f.erase_key("A", "n"));
  EXPECT_FALSE(f.erase_key("A", "n"));
  f.erase_section("b");
  EXPECT_FALSE(f.has_section("B"));
  EXPECT_TRUE(f.has_section("A"));
}

TEST(IniFile, FileRoundTripAndUnreadableFileIsNotOverwritten) {
  temp_folder dir;
  std::string path = dir.path() + "kovra.ini";
  EXPECT_EQ(ini_read(path, "Uzytkownik", "Login"), std::nullopt);
  ASSERT_TRUE(ini_write(path, "Uzytkownik", "Login", "Administrator"));
  ASSERT_TRUE(ini_write(path, "Windows", "Logowanie", "1, 2, 3, 4, 0"));
  EXPECT_EQ(ini_read(path, "Uzytkownik", "Login"), "Administrator");
  EXPECT_EQ(ini_read(path, "Windows", "Logowanie"), "1, 2, 3, 4, 0");

  int err = 0;
  EXPECT_FALSE(ini_write(dir.path() + "no/such/folder/kovra.ini", "A", "b", "c", &err));
  EXPECT_NE(err, 0);

  if (::geteuid() != 0) {
    ::chmod(path.c_str(), 0);
    EXPECT_FALSE(ini_write(path, "A", "b", "c"));
    ::chmod(path.c_str(), 0644);
    EXPECT_EQ(ini_read(path, "Uzytkownik", "Login"), "Administrator");
  }
}
