// The screen look in kovra.ini: defaults, reading with its rules, writing and reading back.
#include "controls/apply_look.h"
#include "controls/screen_look.h"
#include "controls/standard_edit.h"
#include "controls/std_grid.h"
#include "controls/sum_panel.h"
#include "shell/ini_file.h"
#include "shell/temp_folder.h"

#include <QApplication>
#include <QLabel>
#include <QPalette>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace kovra::controls {
namespace {

using shell::ini_file;
using shell::screen_look_section;

TEST(ScreenLook, DefaultsAsWrittenToTheIniFile) {
  ini_file ini;
  write_screen_design(ini, default_screen_design());
  // white on RGB 80 40 40; colours are 0x00BBGGRR
  EXPECT_EQ(ini.read(screen_look_section, "Element4"), "0,16777215,4210816,Pole aktywne");
  // RGB 7F 00 7F on the system's button face (index 15 with the top bit)
  EXPECT_EQ(ini.read(screen_look_section, "Element2"), "2,8323199,2147483663,Nagłówek tabeli");
  EXPECT_EQ(ini.read(screen_look_section, "Element15"), "4,16711680,2147483653,Nazwa grupy");
  EXPECT_EQ(ini.read(screen_look_section, "Czcionka5"), "11,0,1,DejaVu Sans,238");
  EXPECT_EQ(ini.read(screen_look_section, "Czcionka7"), "8,0,2,DejaVu Sans,238");
  EXPECT_EQ(ini.read(screen_look_section, "Czcionka4"), "8,1,0,DejaVu Sans Mono,238");
  EXPECT_FALSE(ini.read(screen_look_section, "Element16"));
  EXPECT_FALSE(ini.read(screen_look_section, "Czcionka8"));
}

TEST(ScreenLook, ReadingKeepsDefaultsForBadLinesAndMapsOddValues) {
  ini_file ini;
  ini.parse("[Ustawienie elementow i czcionek ekranowych]\n"
            "Element1=1,0,0,Inna nazwa\n"            // another name: ignored
            "Element7=9,255,65280,Opis opcji\n"      // font 9 does not exist: font 0
            "Element10=3,255,16777215,Pole podstawowe\n"
            "Czcionka2=10,0,2,DejaVu Serif,0\n"      // character set 0 is 238
            "Czcionka3=abc\n");
  shell::design_look look = default_screen_design();
  read_screen_design(ini, look);
  const shell::design_look def = default_screen_design();
  EXPECT_EQ(look.elements[0].font, def.elements[0].font);
  EXPECT_EQ(look.elements[0].colour, def.elements[0].colour);
  EXPECT_EQ(look.elements[6].font, 0);
  EXPECT_EQ(look.elements[6].colour, 255u);
  EXPECT_EQ(look.elements[6].third, 65280u);
  EXPECT_EQ(look.elements[9].font, 3);
  EXPECT_EQ(look.fonts[1].face, "DejaVu Serif");
  EXPECT_EQ(look.fonts[1].size, 10);
  EXPECT_EQ(look.fonts[1].style, shell::font_italic);
  EXPECT_EQ(look.fonts[1].charset, 238);
  EXPECT_EQ(look.fonts[2].face, def.fonts[2].face);

  // The resolved tables: 255 is pure red, 65280 pure green.
  set_screen_design(look);
  EXPECT_EQ(screen_elements()[6].text, QColor(255, 0, 0));
  EXPECT_EQ(screen_elements()[6].background, QColor(0, 255, 0));
  EXPECT_EQ(screen_elements()[9].background, QColor(255, 255, 255));
  EXPECT_TRUE(screen_fonts()[1].font.italic());
  EXPECT_GT(screen_fonts()[1].line_height, 0);
  reset_screen_look();
}

TEST(ScreenLook, SystemColoursFollowThePalette) {
  const QPalette pal = QApplication::palette();
  EXPECT_EQ(platform_colour(clr_highlight), pal.color(QPalette::Highlight));
  EXPECT_EQ(platform_colour(clr_window), pal.color(QPalette::Base));
  EXPECT_EQ(platform_colour(rgb_colour(0x80, 0x40, 0x40)), QColor(0x80, 0x40, 0x40));
  EXPECT_EQ(screen_elements()[elem_active].background, QColor(0x80, 0x40, 0x40));
  EXPECT_EQ(screen_elements()[elem_marked].text, pal.color(QPalette::HighlightedText));
  EXPECT_TRUE(screen_fonts()[4].font.bold());
  EXPECT_EQ(screen_fonts()[4].font.pointSize(), 11);
  EXPECT_EQ(screen_elements()[elem_group_name].font, 4);
}

TEST(ScreenLook, SavedAndLoadedThroughTheIniFileKeepingItsOtherSections) {
  test::temp_folder dir;
  const std::string ini_path = dir.path() + "kovra.ini";
  std::ofstream(ini_path) << "[Windows]\nOkno glowne=1, 2, 300, 400, 0\n";

  shell::design_look look = default_screen_design();
  look.elements[elem_element_name].font = 4;
  look.elements[elem_element_name].colour = rgb_colour(0x11, 0x22, 0x33);
  look.fonts[3] = shell::look_font{9, 1, shell::font_bold | shell::font_underline, "Liberation Mono", 238};
  set_screen_design(look);
  ASSERT_TRUE(save_screen_look(ini_path));

  reset_screen_look();
  load_screen_look(ini_path);
  EXPECT_EQ(screen_design().elements[elem_element_name].font, 4);
  EXPECT_EQ(screen_design().elements[elem_element_name].colour, 0x332211u);
  EXPECT_EQ(screen_design().fonts[3].face, "Liberation Mono");
  EXPECT_EQ(screen_design().fonts[3].style, shell::font_bold | shell::font_underline);
  EXPECT_EQ(screen_elements()[elem_element_name].text, QColor(0x11, 0x22, 0x33));
  EXPECT_EQ(shell::ini_read(ini_path, "Windows", "Okno glowne"), "1, 2, 300, 400, 0");

  // No INI file at all: the defaults.
  load_screen_look(dir.path() + "missing.ini");
  EXPECT_EQ(screen_design().elements[elem_element_name].font, 5);

  // An old binary design beside the INI file wins, goes into the INI file and is deleted.
  const std::string des = dir.path() + "kovra.des";
  {
    std::ofstream f(des, std::ios::binary);
    const char version[4] = {1, 0, 0, 0};
    f.write(version, 4);
    const std::string body(1015, '\0');  // every element font 0 in black on black
    f.write(body.data(), std::streamsize(body.size()));
  }
  load_screen_look(ini_path);
  EXPECT_FALSE(std::ifstream(des).good());
  EXPECT_EQ(screen_design().elements[elem_element_name].font, 0);
  EXPECT_EQ(screen_elements()[elem_basic].background, QColor(0, 0, 0));
  EXPECT_EQ(shell::ini_read(ini_path, screen_look_section, "Element6"), "0,0,0,Nazwa elementu");
  reset_screen_look();
}

TEST(ScreenLook, AppliedToAFormByTheKindOfEachControl) {
  QWidget form;
  auto* layout = new QVBoxLayout(&form);
  auto* edit = new VL_line_edit;
  auto* grid = new VL_std_grid;
  auto* label = new QLabel("Nazwa:");
  auto* panel = new VL_sum_panel;
  for (QWidget* w : {static_cast<QWidget*>(edit), static_cast<QWidget*>(grid), static_cast<QWidget*>(label),
                     static_cast<QWidget*>(panel)})
    layout->addWidget(w);
  apply_screen_look(&form);
  const auto& el = screen_elements();
  const auto& fonts = screen_fonts();
  EXPECT_EQ(edit->height(), 24);
  EXPECT_EQ(edit->font(), fonts[std::size_t(el[elem_basic].font)].font);
  EXPECT_EQ(edit->ColorNormBkgr, el[elem_basic].background);
  EXPECT_EQ(edit->ColorActvBkgr, el[elem_edited].background);  // "Pole edytowane" while focused
  EXPECT_TRUE(grid->has_look());
  EXPECT_EQ(grid->line_color(), el[elem_basic].text);
  EXPECT_EQ(label->palette().color(QPalette::WindowText), el[elem_fixed_text].text);
  EXPECT_EQ(panel->font(), fonts[std::size_t(el[elem_element_name].font)].font);
  EXPECT_EQ(panel->palette().color(QPalette::Window), el[elem_highlighted].background);
}

} // namespace
} // namespace kovra::controls
