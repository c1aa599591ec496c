#include "shell/messages.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace kovra::shell;

namespace {

// Installs a recording sink for one test.
struct MessagesTest : ::testing::Test {
  recording_message_sink sink;
  void SetUp() override { set_message_sink(&sink); }
  void TearDown() override { set_message_sink(nullptr); }
};

// "Zażółć.kvr" in the internal code page, as a caller would pass it.
const char* const mazovia_name = "Za\xA7\xA2\x92\x8D.kvr";

} // namespace

TEST_F(MessagesTest, SecondCopyMessageIsAnErrorWithOkAndCaptionBlad) {
  EXPECT_EQ(msg_box(182), result_ok);
  ASSERT_EQ(sink.requests().size(), 1u);
  const message_request& r = sink.requests()[0];
  EXPECT_EQ(r.number, 182);
  EXPECT_EQ(r.kind, 1);
  EXPECT_EQ(r.icon, msg_icon::error);
  EXPECT_EQ(r.buttons, msg_buttons::ok);
  EXPECT_EQ(r.caption, "Błąd");
  EXPECT_EQ(r.text, "Kovra jest już uruchomiona na tym komputerze!");
  EXPECT_FALSE(r.choice);
}

TEST_F(MessagesTest, SaveQuestionPassesNoAndCancelThrough) {
  sink.script({result_no, result_cancel, result_ok});
  EXPECT_EQ(msg_box(179, mazovia_name), result_no);
  EXPECT_EQ(msg_box(179, mazovia_name), result_cancel);
  EXPECT_EQ(msg_box(179, mazovia_name), result_ok);
  const message_request& r = sink.requests()[0];
  EXPECT_EQ(r.kind, 8);
  EXPECT_EQ(r.icon, msg_icon::question);
  EXPECT_EQ(r.buttons, msg_buttons::yes_no_cancel);
  EXPECT_EQ(r.caption, "Ostrzeżenie");
  EXPECT_EQ(r.text, "Czy zapisać kosztorys\n\"Zażółć.kvr\"?");
}

TEST_F(MessagesTest, PolishLettersOfValuesAndCatalogueShowCorrectly) {
  msg_box(1, mazovia_name);
  EXPECT_EQ(sink.requests().back().text, "Otwarcie pliku \"Zażółć.kvr\"\nnie jest możliwe.");
  msg_box(117, "\x8F\x95\x90\x9C\xA5\xA3\x98\xA0\xA1", "\x86\x8D\x91\x92\xA4\xA2\x9E\xA6\xA7");
  EXPECT_EQ(sink.requests().back().text, "Czy chcesz zamienić \"ĄĆĘŁŃÓŚŹŻ\" na \"ąćęłńóśźż\"?");
}

TEST_F(MessagesTest, NumbersAndCharactersAreFormattedPrintfStyle) {
  msg_box(4, 2, 1.5, 2, 3.25);
  EXPECT_EQ(sink.requests().back().text, "Wartość spoza przedziału <1.50 , 3.25>.");
  msg_box(38, 7);
  EXPECT_EQ(sink.requests().back().text, "Tworzenie pliku \"00007.RMS\"");
  msg_box(141, 'C');
  EXPECT_EQ(sink.requests().back().text, "Brak miejsca na dysku 'C'");
  msg_box(43, "KNR", 202L, mazovia_name);
  EXPECT_EQ(sink.requests().back().text, "Katalog o nazwie \"KNR 202\" już istnieje !\nZbiór \"Zażółć.kvr\"");
}

TEST_F(MessagesTest, OverlongValuesAreCutAtTheBuffer) {
  std::string huge(5000, '\x86');  // ą
  msg_box(1, huge.c_str());
  const std::string& text = sink.requests().back().text;
  // 999 bytes of internal text: 16 before the value, the rest ą (two bytes each in UTF-8).
  EXPECT_EQ(text.rfind("Otwarcie pliku \"", 0), 0u);
  EXPECT_EQ(text.size(), 16 + (999 - 16) * 2);
  EXPECT_EQ(format_message(1, progress_buffer_size, huge.c_str()).size(), 16 + (1023 - 16) * 2);
  EXPECT_EQ(format_message(1, 1, "x"), "");
}

TEST_F(MessagesTest, NumbersOutsideTheCatalogueShowNothing) {
  for (int n : {-1, 190, 197, 328, 1000}) EXPECT_EQ(msg_box(n), result_cancel) << n;
  EXPECT_EQ(msg_choice(328, "A", "B"), result_cancel);
  EXPECT_TRUE(sink.requests().empty());
  EXPECT_EQ(format_message(190, message_buffer_size), "");
}

TEST_F(MessagesTest, ChoiceCarriesTheButtonTextsAndAnyAnswer) {
  sink.script({result_no, -3});
  EXPECT_EQ(msg_choice(148, "Usuń", "Zostaw", mazovia_name), result_no);
  EXPECT_EQ(msg_choice(148, "Usuń", nullptr, mazovia_name), -3);
  const message_request& r = sink.requests()[0];
  EXPECT_TRUE(r.choice);
  EXPECT_EQ(r.first_button, "Usuń");
  EXPECT_EQ(r.second_button, "Zostaw");
  EXPECT_EQ(r.icon, msg_icon::question);
  EXPECT_EQ(r.text, "Czy na pewno chcesz usunąć pozycję:\n\"Zażółć.kvr\"?");
  EXPECT_EQ(sink.requests()[1].second_button, "");
}

TEST(MessageCatalogue, EveryEntryHasAKnownKindAndText) {
  int used = 0;
  for (int n = 0; n < message_count; ++n) {
    const catalogue_entry* e = catalogue_message(n);
    if (!e) continue;
    ++used;
    EXPECT_LE(e->kind, 10) << n;
    ASSERT_NE(e->text, nullptr) << n;
    EXPECT_GT(std::string(e->text).size(), 0u) << n;
  }
  EXPECT_EQ(used, 326);
  EXPECT_EQ(catalogue_message(0)->kind, 6);
  EXPECT_EQ(catalogue_message(84)->kind, 0);
  EXPECT_EQ(catalogue_message(131)->kind, 7);
  EXPECT_EQ(catalogue_message(327)->kind, 9);
  EXPECT_STREQ(catalogue_message(186)->text, "Usuwanie pozycji...\n");
  EXPECT_STREQ(catalogue_message(227)->text,
               "Brak plików \"%s\" w folderze KATALOG\\BAZA_ORG\nNaprawa bazy RMS nie może zostać "
               "przeprowadzona.\nZainstaluj ponownie program z oryginalnego nośnika.");
}

TEST(MessageCatalogue, DamageMessagesAskTheUserToContactTheMaker) {
  for (int n : {2, 239, 277}) {
    std::string text = catalogue_message(n)->text;
    EXPECT_NE(text.find("\nProsimy o kontakt z producentem programu."), std::string::npos) << n;
  }
  EXPECT_EQ(format_message(2, message_buffer_size, "opis.err"),
            "Znaleziono błąd.\nProsimy o kontakt z producentem programu.\nOpis błędu w zbiorze opis.err");
}

TEST(MessageCatalogue, KindsFixIconButtonsAndCaption) {
  EXPECT_EQ(kind_style(0).caption, std::string("Błąd Fatalny"));
  EXPECT_EQ(kind_style(7).caption, std::string(""));
  EXPECT_EQ(kind_style(8).buttons, msg_buttons::yes_no_cancel);
  EXPECT_EQ(kind_style(9).buttons, msg_buttons::yes_no);
  EXPECT_EQ(kind_style(9).caption, std::string(""));
  EXPECT_EQ(kind_style(3).icon, msg_icon::exclamation);
  EXPECT_EQ(kind_style(5).buttons, msg_buttons::ok_cancel);
  EXPECT_FALSE(kind_style(2).topmost);
  EXPECT_TRUE(kind_style(10).topmost);
}

TEST(ConsoleMessageSink, WritesCaptionAndTextAndAnswersWithItsDefault) {
  std::ostringstream out;
  console_message_sink no_sayer(result_no, out);
  set_message_sink(&no_sayer);
  EXPECT_EQ(msg_box(182), result_ok);  // OK is the only answer an OK box has
  EXPECT_EQ(msg_box(157, "a.kvr"), result_no);
  EXPECT_EQ(msg_box(179, "a.kvr"), result_no);  // the save question can be answered No
  set_message_sink(nullptr);
  EXPECT_NE(out.str().find("Błąd: Kovra jest już uruchomiona na tym komputerze!\n"), std::string::npos);
  EXPECT_NE(out.str().find("Ostrzeżenie: Plik \"a.kvr\" został zmieniony.\nCzy zapisać zmiany?\n  -> Nie\n"),
            std::string::npos);

  std::ostringstream out2;
  console_message_sink canceller(result_cancel, out2);
  set_message_sink(&canceller);
  EXPECT_EQ(msg_box(157, "a.kvr"), result_cancel);
  EXPECT_EQ(msg_box(60), result_cancel);
  set_message_sink(nullptr);
}
