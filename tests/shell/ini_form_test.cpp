#include "shell/ini_form.h"

#include "shell/ini_file.h"
#include "shell/temp_folder.h"

#include <gtest/gtest.h>

using namespace kovra::shell;

namespace {
const screen_area screen_1024{1024, 768, 1024, 768};
const placement form{10, 10, 200, 150, 0};
const placement_defaults main_window{599, 432, 2, 300, 100};
} // namespace

TEST(Placement, FarAwayWindowIsPulledBackOntoTheWorkArea) {
  auto r = restore_placement("5000, 3000, 400, 300, 0", form, {}, screen_1024);
  EXPECT_EQ(r.window.left, 1024 - 51);
  EXPECT_EQ(r.window.top, 768 - 20);
  EXPECT_EQ(r.window.width, 400);
  EXPECT_EQ(r.window.height, 300);
  EXPECT_EQ(r.window.state, 0);

  r = restore_placement("-5000, -30, 400, 300", form, {}, screen_1024);
  EXPECT_EQ(r.window.left, 51 - 400);
  EXPECT_EQ(r.window.top, 0);
  // A narrow window keeps its whole width reachable.
  r = restore_placement("-5000, 10, 30, 300", form, {}, screen_1024);
  EXPECT_EQ(r.window.left, 0);
}

TEST(Placement, ShortValueKeepsTheDefaults) {
  auto r = restore_placement("100, 100", form, main_window, screen_1024);
  EXPECT_EQ(r.window.left, 100);
  EXPECT_EQ(r.window.top, 100);
  EXPECT_EQ(r.window.width, 599);
  EXPECT_EQ(r.window.height, 432);
  EXPECT_EQ(r.window.state, 2);
  EXPECT_EQ(r.rest, "");

  r = restore_placement("", form, main_window, screen_1024);
  EXPECT_EQ(r.window.left, (1024 - 599) / 2);
  EXPECT_EQ(r.window.top, (768 - 432) / 2);
  EXPECT_EQ(r.window.state, 2);
}

TEST(Placement, MinimumSizeStateAndRestItems) {
  auto r = restore_placement(" 10,20 , 50, 40, 1, 7, abc", form, main_window, screen_1024);
  EXPECT_EQ(r.window.left, 10);
  EXPECT_EQ(r.window.top, 20);
  EXPECT_EQ(r.window.width, 300);
  EXPECT_EQ(r.window.height, 100);
  EXPECT_EQ(r.window.state, 1);
  EXPECT_EQ(r.rest, " 7, abc");

  r = restore_placement("10, x, 500, 400, 9", form, {}, screen_1024);
  EXPECT_EQ(r.window.top, (768 - 150) / 2);  // not a number: kept
  EXPECT_EQ(r.window.state, 0);

  r = restore_placement("99999999999999, -99999999999, 2147483647, -2147483648, 2", form, {}, screen_1024);
  EXPECT_LE(r.window.left, 1024);
  EXPECT_GE(r.window.top, 0);
}

TEST(Placement, SerialiseAndParseBack) {
  placement p{-4, 7, 640, 480, 2};
  EXPECT_EQ(placement_value(p), "-4, 7, 640, 480, 2");
  EXPECT_EQ(placement_value(p, "3, 1"), "-4, 7, 640, 480, 2, 3, 1");
  auto r = restore_placement(placement_value(p, "3, 1"), form, {}, screen_1024);
  EXPECT_EQ(r.window.left, -4);
  EXPECT_EQ(r.window.width, 640);
  EXPECT_EQ(r.window.state, 2);
  EXPECT_EQ(r.rest, " 3, 1");
  std::string rest = " 3, 1";
  EXPECT_EQ(take_placement_item(rest), 3);
  EXPECT_EQ(take_placement_item(rest), 1);
  EXPECT_EQ(rest, "");
  EXPECT_EQ(take_placement_item(rest), std::nullopt);
}

TEST(IniFilename, SetOnceAndFormsNeedIt) {
  reset_ini_filename();
  auto e = ini_filename_ready();
  ASSERT_TRUE(e);
  EXPECT_EQ(e->source, "IniForm");
  EXPECT_EQ(e->text, "Klasa TIniForm nie została zainicjalizowana poprawnie\nWywołaj set_ini_filename() na początku programu!");

  kovra::test::temp_folder dir;
  EXPECT_FALSE(set_ini_filename(dir.path() + "kovra.ini"));
  EXPECT_FALSE(ini_filename_ready());
  auto again = set_ini_filename("/elsewhere/kovra.ini");
  ASSERT_TRUE(again);
  EXPECT_EQ(again->text, "Powtórne wywołanie set_ini_filename() w klasie TIniForm");
  EXPECT_EQ(ini_filename(), dir.path() + "kovra.ini");

  save_form_placement(main_window_key, placement{5, 6, 700, 500, 2}, "1");
  EXPECT_EQ(ini_read(ini_filename(), "Windows", "Okno glowne"), "5, 6, 700, 500, 2, 1");
  auto r = restore_form_placement(main_window_key, form, main_window, screen_1024);
  EXPECT_EQ(r.window.width, 700);
  EXPECT_EQ(r.rest, " 1");
  reset_ini_filename();
}

TEST(MinimumSize, TheDraggedEdgeGivesWay) {
  drag_rect r{100, 100, 150, 120};  // 50 x 20
  auto left = keep_min_size(r, drag_left | drag_top, 300, 100);
  EXPECT_EQ(left.left, 150 - 300);
  EXPECT_EQ(left.right, 150);
  EXPECT_EQ(left.top, 120 - 100);
  EXPECT_EQ(left.bottom, 120);
  auto right = keep_min_size(r, drag_right | drag_bottom, 300, 100);
  EXPECT_EQ(right.left, 100);
  EXPECT_EQ(right.right, 400);
  EXPECT_EQ(right.top, 100);
  EXPECT_EQ(right.bottom, 200);
  auto big = keep_min_size(drag_rect{0, 0, 500, 500}, drag_left, 300, 100);
  EXPECT_EQ(big.left, 0);
  EXPECT_EQ(big.right, 500);
}
