// What the windowed program does when the core calls it: corruption, fatal errors, store
// notices, and the help opened at its context numbers.
#include "app/app_support.h"
#include "app/help_window.h"
#include "app/main_window.h"
#include "app/message_box.h"
#include "store/corruption.h"
#include "store/log.h"
#include "store/store_notice.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <gtest/gtest.h>

using namespace kovra;
using namespace kovra::app;

TEST(CoreHandlers, CorruptionEndsTheProgramAndNoticesAndFatalErrorsAreBoxes) {
  test::program_fixture f;
  f.program = std::make_unique<kovra_program>();
  f.program->messages = &f.sink;
  f.program->login = &f.login;
  f.program->socket_name = QString::fromStdString(f.socket());
  std::vector<int> ended;
  f.program->end_program = [&](int code) { ended.push_back(code); };
  ASSERT_EQ(f.program->start(f.input()), -1);

  // A store notice is a box.
  store::store_notice(180, "dom.kvr");
  ASSERT_EQ(f.sink.requests().size(), 1u);
  EXPECT_EQ(f.sink.requests()[0].number, 180);
  EXPECT_EQ(f.sink.requests()[0].caption, "Ostrzeżenie");

  // The corruption report: message 2 naming it, then the end with exit code 1; message 1
  // when the report could not be written.
  ASSERT_NE(f.program->corruption(), nullptr);
  f.program->corruption()->corrupted("/prog/opis_bledu_multi_zbioru.err", true);
  f.program->corruption()->corrupted("/prog/opis_bledu_multi_zbioru.err", false);
  ASSERT_EQ(f.sink.requests().size(), 3u);
  EXPECT_EQ(f.sink.requests()[1].number, 2);
  EXPECT_NE(f.sink.requests()[1].text.find("/prog/opis_bledu_multi_zbioru.err"), std::string::npos);
  EXPECT_EQ(f.sink.requests()[2].number, 1);
  EXPECT_EQ(ended, (std::vector<int>{1, 1}));

  // fatal_error: an "Error Exit" box, then the message loop ends with exit code 1.
  QString caption;
  QTimer::singleShot(0, [] { store::fatal_error("expand_file"); });
  QTimer::singleShot(50, [&] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      caption = box->windowTitle();
      box->accept();
    }
  });
  EXPECT_EQ(QApplication::exec(), 1);
  EXPECT_EQ(caption, "Error Exit");
  store::reset_log_state();

  // Help: the bundled file, at the contents or at a context number's anchor.
  f.main().show_help(78);
  auto* help = f.main().findChild<Tfrm_help*>();
  ASSERT_NE(help, nullptr);
  EXPECT_TRUE(help->isVisible());
  EXPECT_EQ(help->source().fragment(), "k78");
  EXPECT_TRUE(help->toPlainText().contains("Drukowanie"));
  f.main().item_help_topics->trigger();
  EXPECT_TRUE(help->source().fragment().isEmpty());
}
