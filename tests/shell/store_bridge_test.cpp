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

TEST(StoreBridgeTest, PathsShowAsTheUserTypedThem) {
  shell::recording_message_sink sink;
  shell::set_message_sink(&sink);
  shell::catalogue_store_notices notices;
  notices.notice(180, "/dom/łódź.kvr");
  notices.notice(180, "/dom/Dvořák дом.kvr");  // letters the internal code page lacks
  shell::catalogue_corruption_handler handler;
  handler.corrupted("/żółw/opis.err", true);
  // A path longer than the message buffer is cut after whole characters.
  std::string long_path = "/" + std::string(900, 'a');
  for (int i = 0; i < 200; ++i) long_path += "ę";
  notices.notice(180, long_path);
  shell::set_message_sink(nullptr);
  ASSERT_EQ(sink.requests().size(), 4u);
  EXPECT_NE(sink.requests()[0].text.find("\"/dom/łódź.kvr\""), std::string::npos) << sink.requests()[0].text;
  EXPECT_NE(sink.requests()[1].text.find("\"/dom/Dvořák дом.kvr\""), std::string::npos) << sink.requests()[1].text;
  EXPECT_NE(sink.requests()[2].text.find("/żółw/opis.err"), std::string::npos);
  const std::string& cut = sink.requests()[3].text;
  std::size_t characters = 0;
  for (unsigned char c : cut) characters += (c & 0xC0) != 0x80;
  EXPECT_EQ(characters, 999u);
  EXPECT_EQ(cut.compare(cut.size() - 2, 2, "ę"), 0);
}
