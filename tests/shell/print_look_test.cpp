#include "shell/print_look.h"

#include "shell/config_file_support.h"
#include "shell/ini_file.h"
#include "shell/section_codec.h"
#include "shell/temp_folder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

using namespace kovra::shell;
using namespace kovra::test;

TEST(PrintLook, DefaultsEightElementsAndRules) {
  print_look look = default_print_look();
  ASSERT_EQ(look.design.elements.size(), 8u);
  ASSERT_EQ(look.design.fonts.size(), 8u);
  for (int i = 0; i < 8; ++i) EXPECT_EQ(look.design.elements[i].font, i);
  EXPECT_EQ(look.design.elements[1].name, "Tytuł wydruku");
  EXPECT_EQ(look.design.elements[7].name, "Nazwa/numer grupy");
  EXPECT_EQ(look.inner_rule, 1);
  EXPECT_EQ(look.outer_rule, 5);
  EXPECT_EQ(look.line_spacing, 0);
  EXPECT_EQ(look.design.fonts[3].charset, 238);
}

TEST(PrintLook, IniLinesWithWrongNamesOrValuesKeepTheDefault) {
  ini_file ini;
  ini.parse("[Ustawienie elementow i czcionek drukarkowych]\n"
            "Element2=3,255,0,Tytuł wydruku\n"
            "Element3=1,255,0,Inna nazwa\n"
            "Element4=99,16711680,0,Tekst podstawowy\n"
            "Element5=x,1,2,Nazwa/numer elementu\n"
            "Czcionka1=11,1,3,Liberation Mono,0\n"
            "Czcionka2=12,0,1\n"
            "ElementWydruku1=1001\n"
            "ElementWydruku2=7\n"
            "ElementWydruku3=2,3\n"
            "ElementWydruku4=28\n");
  print_look look = default_print_look();
  const print_look defaults = look;
  read_print_look(ini, look);
  EXPECT_EQ(look.design.elements[1].font, 3);
  EXPECT_EQ(look.design.elements[1].colour, 255u);
  EXPECT_EQ(look.design.elements[2].font, defaults.design.elements[2].font);  // another name
  EXPECT_EQ(look.design.elements[2].colour, 0u);
  // A font outside the font table: the whole line is left out, the element keeps its default.
  EXPECT_EQ(look.design.elements[3].font, defaults.design.elements[3].font);
  EXPECT_EQ(look.design.elements[3].colour, defaults.design.elements[3].colour);
  EXPECT_NE(defaults.design.elements[3].font, 0);
  EXPECT_EQ(look.design.elements[4].font, 4);  // not a number
  EXPECT_EQ(look.design.fonts[0].size, 11);
  EXPECT_EQ(look.design.fonts[0].face, "Liberation Mono");
  EXPECT_EQ(look.design.fonts[0].charset, 238);
  EXPECT_EQ(look.design.fonts[0].style, 3);
  EXPECT_EQ(look.design.fonts[1].face, defaults.design.fonts[1].face);  // too few values
  EXPECT_EQ(look.inner_rule, 1);
  EXPECT_EQ(look.outer_rule, 7);
  EXPECT_EQ(look.page_number_1, 2);
  EXPECT_EQ(look.page_number_2, 3);
  EXPECT_EQ(look.line_spacing, 28);
}

TEST(PrintLook, WrittenLookReadsBackTheSame) {
  print_look look = default_print_look();
  look.design.elements[5].colour = 0x00112233;
  look.design.fonts[6] = look_font{9, 2, font_italic, "Liberation Serif", 238};
  look.inner_rule = 3;
  look.line_spacing = 4;
  ini_file ini;
  write_print_look(ini, look);
  ini_file back;
  back.parse(ini.text());
  print_look r = default_print_look();
  read_print_look(back, r);
  EXPECT_EQ(r.design.elements[5].colour, 0x00112233u);
  EXPECT_EQ(r.design.fonts[6].face, "Liberation Serif");
  EXPECT_EQ(r.design.fonts[6].size, 9);
  EXPECT_EQ(r.inner_rule, 3);
  EXPECT_EQ(r.line_spacing, 4);
}

TEST(DesignFile, VersionOneIsConvertedIntoTheIniAndDeleted) {
  temp_folder dir;
  std::string des = dir.path() + "kovra.des", ini = dir.path() + "kovra.ini";
  design_look look;
  for (int i = 0; i < 15; ++i) look.elements.push_back(look_element{0, 0, 0, "E" + std::to_string(i)});
  look.fonts.resize(7, look_font{8, 0, 0, "DejaVu Sans", 238});

  std::vector<uint8_t> bytes(4 + 1015, 0);
  put_u32(bytes.data(), 1);
  put_u32(bytes.data() + 4, 2);           // element 0: font 2
  put_u32(bytes.data() + 8, 0x0000FF);    // red
  put_u32(bytes.data() + 12, 0x80000005); // a system colour
  uint8_t* font0 = bytes.data() + 4 + 15 * 12;
  put_u32(font0, uint32_t(-16));           // 16 px = 12 pt
  put_u32(font0 + 16, 700);
  font0[20] = 1;
  std::memcpy(font0 + 28, "Tahoma", 6);
  write_file(des, bytes);
  ASSERT_TRUE(convert_design_file(des, ini, screen_look_section, look));
  EXPECT_FALSE(std::filesystem::exists(des));
  EXPECT_EQ(look.elements[0].font, 2);
  EXPECT_EQ(look.elements[0].third, 0x80000005u);
  EXPECT_EQ(look.fonts[0].size, 12);
  EXPECT_EQ(look.fonts[0].style, font_bold | font_italic);
  EXPECT_EQ(look.fonts[0].face, "Tahoma");
  EXPECT_EQ(look.fonts[1].face, "DejaVu Sans");  // an empty record keeps the default
  EXPECT_EQ(ini_read(ini, screen_look_section, "Element1"), "2,255,2147483653,E0");

  // Another version, or a short file, stays where it is.
  put_u32(bytes.data(), 2);
  write_file(des, bytes);
  EXPECT_FALSE(convert_design_file(des, ini, screen_look_section, look));
  EXPECT_TRUE(std::filesystem::exists(des));
  put_u32(bytes.data(), 1);
  bytes.resize(500);
  write_file(des, bytes);
  EXPECT_FALSE(convert_design_file(des, ini, screen_look_section, look));
}

TEST(PrintLook, ProcessWideLookIsLoadedAndSaved) {
  temp_folder dir;
  std::string ini = dir.path() + "kovra.ini";
  reset_print_look();
  current_print_look().outer_rule = 9;
  ASSERT_TRUE(save_print_look(ini));
  reset_print_look();
  EXPECT_EQ(current_print_look().outer_rule, 5);
  load_print_look(ini);
  EXPECT_EQ(current_print_look().outer_rule, 9);
  load_print_look(dir.path() + "missing.ini");
  EXPECT_EQ(current_print_look().outer_rule, 5);
  reset_print_look();
}
