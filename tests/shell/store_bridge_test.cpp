#include "shell/store_bridge.h"

#include "shell/messages.h"

#include <gtest/gtest.h>

using namespace kovra;

TEST(StoreBridgeTest, StoreMessagesReachTheCatalogue) {
  shell::recording_message_sink sink;
  shell::set_message_sink(&sink);
  shell::catalogue_store_notices notices;
  notices.notice(180, "/x/doc.kvr");
  int ended = -1;
  shell::catalogue_corruption_handler handler([&](int code) { ended = code; });
  handler.corrupted("/p/opis_bledu_multi_zbioru.err", true);
  handler.corrupted("/p/opis_bledu_multi_zbioru.err", false);
  shell::set_message_sink(nullptr);
  ASSERT_EQ(sink.requests().size(), 3u);
  EXPECT_EQ(sink.requests()[0].number, 180);
  EXPECT_NE(sink.requests()[0].text.find("/x/doc.kvr"), std::string::npos);
  EXPECT_NE(sink.requests()[0].text.find("nie został poprawnie zapisany"), std::string::npos);
  EXPECT_EQ(sink.requests()[1].number, 2);
  EXPECT_NE(sink.requests()[1].text.find("/p/opis_bledu_multi_zbioru.err"), std::string::npos);
  EXPECT_EQ(sink.requests()[2].number, 1);
  EXPECT_EQ(ended, 1);
}
