#include "shell/progress.h"

#include <gtest/gtest.h>

#include <map>

using namespace kovra::shell;

namespace {

struct fake_ui : progress_ui {
  std::vector<progress_view> shown;
  std::vector<int> positions;
  int refreshes = 0;
  int hides = 0;
  bool press_stop_at_next_refresh = false;
  void show(const progress_view& v) override { shown.push_back(v); }
  void set_position(int p) override { positions.push_back(p); }
  bool refresh() override {
    ++refreshes;
    bool stop = press_stop_at_next_refresh;
    press_stop_at_next_refresh = false;
    return stop;
  }
  void hide() override { ++hides; }
};

struct fake_timers : timer_control {
  std::map<int, bool> running;
  std::vector<int> stop_running_timers() override {
    std::vector<int> ids;
    for (auto& [id, on] : running)
      if (on) {
        on = false;
        ids.push_back(id);
      }
    return ids;
  }
  void restart_timers(const std::vector<int>& ids) override {
    for (int id : ids) running[id] = true;
  }
};

struct ProgressTest : ::testing::Test {
  fake_ui ui;
  fake_timers timers;
  int64_t now = 10'000;
  void SetUp() override {
    reset_progress();
    set_progress_ui(&ui);
    set_timer_control(&timers);
    set_progress_clock([this] { return now; });
  }
  void TearDown() override { reset_progress(); }
};

} // namespace

TEST_F(ProgressTest, OpeningEstimateAlwaysUsesTheFileSearchAnimation) {
  for (int requested : {ANIM_NONE, ANIM_SEARCH_COMPUTER, ANIM_COPY_FILE, 8}) {
    wait_open("", requested, WAIT_ANIMATION, 184);
    EXPECT_EQ(wait_view().animation, ANIM_SEARCH_FILE) << requested;
    EXPECT_EQ(wait_view().layout, progress_layout::left_animation);
    EXPECT_EQ(wait_view().text, "Inicjalizacja kosztorysu...");
    wait_close();
  }
  EXPECT_EQ(ui.shown.size(), 4u);
  EXPECT_EQ(ui.hides, 4);
}

TEST(ProgressAnimation, MessageTableOverridesTheCallersCode) {
  for (int n : {0, 102, 129, 130, 132, 146}) EXPECT_EQ(animation_for_message(n, 7), ANIM_SEARCH_COMPUTER) << n;
  for (int n : {38, 39, 96, 105, 138, 139, 140}) EXPECT_EQ(animation_for_message(n, 0), ANIM_COPY_FILE) << n;
  for (int n : {85, 136, 137, 184, 187}) EXPECT_EQ(animation_for_message(n, 5), ANIM_SEARCH_FILE) << n;
  EXPECT_EQ(animation_for_message(90, 6), 6);
  EXPECT_EQ(layout_for(6, WAIT_ANIMATION), progress_layout::top_animation);
  EXPECT_EQ(layout_for(3, WAIT_BAR), progress_layout::no_animation);
  EXPECT_EQ(layout_for(0, WAIT_ANIMATION), progress_layout::no_animation);
}

TEST_F(ProgressTest, PolishLettersOfInternalValuesShowCorrectly) {
  wait_open("Szukanie", 0, WAIT_BAR | WAIT_STOP, 146, "\x9E" "ciana \x92\x86" "czna");
  EXPECT_EQ(wait_view().text, "Wyszukiwanie wyrażenia\n\"ściana łączna\"\nw bazie RMS");
  EXPECT_EQ(wait_view().heading, "Szukanie");
  EXPECT_TRUE(wait_view().bar);
  EXPECT_TRUE(wait_view().stop_button);
}

TEST_F(ProgressTest, TightLoopRefreshesAtMostEvery200Milliseconds) {
  wait_open("", 0, 0, 102);
  for (int i = 0; i <= 1000; ++i, now += 1) EXPECT_TRUE(wait_step());
  // Refreshes at 0, 200, 400, 600, 800 and 1000 ms.
  EXPECT_EQ(ui.refreshes, 6);
  now += 198;  // 199 ms after the last refresh
  wait_step();
  EXPECT_EQ(ui.refreshes, 6);
  now += 1;
  wait_step();
  EXPECT_EQ(ui.refreshes, 7);
}

TEST_F(ProgressTest, StopButtonEndsTheLoopUntilTheNextWindow) {
  wait_open("", 0, WAIT_STOP, 102);
  EXPECT_TRUE(wait_step());
  ui.press_stop_at_next_refresh = true;
  EXPECT_TRUE(wait_step());  // within 200 ms: the press is not seen yet
  now += 200;
  EXPECT_FALSE(wait_step());
  now += 200;
  EXPECT_FALSE(wait_step());
  wait_close();
  wait_open("", 0, WAIT_STOP, 102);
  EXPECT_TRUE(wait_step());
}

TEST_F(ProgressTest, PositionMovesOnlyAVisibleBarAndOnlyWhenChanged) {
  wait_open("", 0, 0, 90);
  wait_set_position(10);
  EXPECT_TRUE(ui.positions.empty());
  wait_close();
  wait_open("", 0, WAIT_BAR, 90);
  int refreshes_before = ui.refreshes;
  wait_set_position(10);
  wait_set_position(10);
  now += 300;
  wait_set_position(20);
  EXPECT_EQ(ui.positions, (std::vector<int>{10, 20}));
  EXPECT_EQ(wait_position(), 20);
  EXPECT_EQ(ui.refreshes - refreshes_before, 2);  // each call steps; the second came too soon
}

TEST_F(ProgressTest, TimersStoppedWhileShownRunAgainAfterwards) {
  timers.running = {{1, true}, {2, false}, {3, true}};
  wait_open("", 0, 0, 187);
  EXPECT_FALSE(timers.running[1]);
  EXPECT_FALSE(timers.running[3]);
  wait_close();
  EXPECT_TRUE(timers.running[1]);
  EXPECT_FALSE(timers.running[2]);  // was stopped before: stays stopped
  EXPECT_TRUE(timers.running[3]);
  wait_close();  // closing twice changes nothing
  EXPECT_EQ(ui.hides, 1);
}

TEST_F(ProgressTest, ReopeningClosesThePreviousWindowFirst) {
  timers.running = {{1, true}};
  wait_open("", 0, 0, 187);
  wait_open("", 0, 0, 184);
  EXPECT_EQ(ui.hides, 1);
  wait_close();
  EXPECT_TRUE(timers.running[1]);
}

TEST(ProgressWithoutWindow, CallsKeepStateAndNeverStop) {
  reset_progress();
  wait_open(nullptr, 0, WAIT_BAR, 90);
  EXPECT_TRUE(wait_is_open());
  wait_set_position(50);
  EXPECT_TRUE(wait_step());
  wait_close();
  EXPECT_FALSE(wait_is_open());
  reset_progress();
}

TEST(ProgressLayout, SizesFollowTheTextHeightAndFlags) {
  progress_metrics m;
  m.message_height = 30;
  m.heading_height = 16;
  m.panel_frame = 2;
  m.main_frame = 3;
  m.spacer = 4;
  m.bar_height = 20;
  m.stop_panel_height = 40;

  // Left animation: short text takes the animation's 50.
  progress_size s = progress_window_size(m, progress_layout::left_animation, false, false);
  EXPECT_EQ(s.content_width, 254);
  EXPECT_EQ(s.content_height, 54);
  EXPECT_EQ(s.client_width, 260);
  EXPECT_EQ(s.client_height, 16 + 4 + 54 + 6);
  m.message_height = 80;
  s = progress_window_size(m, progress_layout::left_animation, false, false);
  EXPECT_EQ(s.content_height, 84);

  s = progress_window_size(m, progress_layout::top_animation, false, true);
  EXPECT_EQ(s.content_width, 300);
  EXPECT_EQ(s.content_height, 80 + 8 + 50);
  EXPECT_EQ(s.client_height, 16 + 4 + 138 + 6 + 40);

  s = progress_window_size(m, progress_layout::no_animation, true, false);
  EXPECT_EQ(s.content_width, 200);
  EXPECT_EQ(s.content_height, 88);
  EXPECT_EQ(s.client_width, 500);  // never narrower with a bar
  EXPECT_EQ(s.client_height, 16 + 4 + 88 + 20 + 6);

  m.heading_height = 0;
  s = progress_window_size(m, progress_layout::no_animation, false, false);
  EXPECT_EQ(s.client_width, 206);
  EXPECT_EQ(s.client_height, 4 + 88 + 6);
}
