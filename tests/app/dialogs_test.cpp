// Message boxes with the catalogue's kinds, the progress window's rules and the three
// modes of the login dialog.
#include "app/app_support.h"
#include "app/login_dialog.h"
#include "app/message_box.h"
#include "app/progress_window.h"
#include "shell/messages.h"
#include "shell/progress.h"
#include "shell/users.h"
#include "store/codepage.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace kovra;
using namespace kovra::app;
using kovra::test::test_app;

namespace {

// Shows message `number` through the boxes and presses the button of `role`.
int answer(int number, QMessageBox::ButtonRole role, QMessageBox::Icon* icon = nullptr, QString* caption = nullptr,
           int* buttons = nullptr, bool* topmost = nullptr) {
  gui_message_sink boxes;
  boxes.on_show = [&](QMessageBox& box) {
    if (icon) *icon = box.icon();
    if (caption) *caption = box.windowTitle();
    if (buttons) *buttons = int(box.buttons().size());
    if (topmost) *topmost = box.windowFlags().testFlag(Qt::WindowStaysOnTopHint);
    QTimer::singleShot(0, &box, [&box, role] {
      for (QAbstractButton* b : box.buttons())
        if (box.buttonRole(b) == role) return b->click();
      box.reject();
    });
  };
  shell::set_message_sink(&boxes);
  int r = shell::msg_box(number, "x");
  shell::set_message_sink(nullptr);
  return r;
}

} // namespace

TEST(MessageBoxes, KindsGiveIconButtonsCaptionAndResults) {
  test_app();
  QMessageBox::Icon icon;
  QString caption;
  int buttons = 0;
  bool topmost = true;
  // 182, kind 1: error, OK, "Błąd"; OK gives 13.
  EXPECT_EQ(answer(182, QMessageBox::AcceptRole, &icon, &caption, &buttons, &topmost), 13);
  EXPECT_EQ(icon, QMessageBox::Critical);
  EXPECT_EQ(caption, "Błąd");
  EXPECT_EQ(buttons, 1);
  EXPECT_FALSE(topmost);
  // 157, kind 8: question, Yes/No/Cancel, "Ostrzeżenie": No 32, Cancel 27, Yes 13.
  EXPECT_EQ(answer(157, QMessageBox::NoRole, &icon, &caption, &buttons), 32);
  EXPECT_EQ(icon, QMessageBox::Question);
  EXPECT_EQ(caption, "Ostrzeżenie");
  EXPECT_EQ(buttons, 3);
  EXPECT_EQ(answer(157, QMessageBox::RejectRole), 27);
  EXPECT_EQ(answer(157, QMessageBox::YesRole), 13);
  // Kind 10: OK/Cancel on top of every window, "Autozapis - Kovra".
  const shell::message_kind& autosave = shell::kind_style(10);
  shell::message_request r10;
  r10.icon = autosave.icon;
  r10.buttons = autosave.buttons;
  r10.topmost = autosave.topmost;
  r10.caption = autosave.caption;
  auto box10 = make_message_box(r10);
  EXPECT_EQ(box10->windowTitle(), "Autozapis - Kovra");
  EXPECT_TRUE(box10->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_EQ(box10->buttons().size(), 2);
  // 131, kind 7: information without a caption.
  EXPECT_EQ(answer(131, QMessageBox::AcceptRole, &icon, &caption), 13);
  EXPECT_EQ(icon, QMessageBox::Information);
  EXPECT_TRUE(caption.isEmpty());
  // A box closed without a button (Escape on Yes/No) counts as Cancel.
  EXPECT_EQ(answer(60, QMessageBox::InvalidRole), 27);

  // msg_choice: the caller's texts on the first two buttons.
  gui_message_sink boxes;
  QStringList texts;
  boxes.on_show = [&](QMessageBox& box) {
    for (QAbstractButton* b : box.buttons()) texts << b->text();
    QTimer::singleShot(0, &box, [&box] {
      for (QAbstractButton* b : box.buttons())
        if (b->text() == "Zostaw") b->click();
    });
  };
  shell::set_message_sink(&boxes);
  const std::string path = store::utf8_to_mazovia("łódź.kvr");
  EXPECT_EQ(shell::msg_choice(10, "Zastąp", "Zostaw", path.c_str()), 32);
  shell::set_message_sink(nullptr);
  EXPECT_TRUE(texts.contains("Zastąp"));
  EXPECT_TRUE(texts.contains("Zostaw"));
}

TEST(ProgressWindow, AnimationLayoutRefreshLimitTimersAndStop) {
  test_app();
  Tdlg_wait_bar bar;
  qt_timer_control timers;
  int64_t now = 1000;
  shell::set_progress_ui(&bar);
  shell::set_timer_control(&timers);
  shell::set_progress_clock([&] { return now; });
  QWidget other;
  other.show();
  QTimer running(&other), idle(&other);
  running.start(5000);

  const std::string name = store::utf8_to_mazovia("Wycena żółwia");
  shell::wait_open(nullptr, shell::ANIM_COPY_FILE, shell::WAIT_ANIMATION | shell::WAIT_BAR | shell::WAIT_STOP, 184,
                   name.c_str());
  // 184 always searches for a file, whatever the caller asked; the text is shown as typed.
  EXPECT_EQ(shell::wait_view().animation, shell::ANIM_SEARCH_FILE);
  EXPECT_TRUE(bar.isVisible());
  EXPECT_TRUE(bar.animation()->isVisible());
  EXPECT_TRUE(bar.bar()->isVisible());
  EXPECT_GE(bar.width(), 500);  // never narrower with a bar
  EXPECT_FALSE(other.isEnabled());
  EXPECT_FALSE(running.isActive());

  // At most one refresh per 200 ms however often the loop steps.
  for (int i = 0; i < 50; ++i) EXPECT_TRUE(shell::wait_step());
  EXPECT_EQ(bar.refresh_count(), 1);
  now += 199;
  shell::wait_step();
  EXPECT_EQ(bar.refresh_count(), 1);
  now += 1;
  shell::wait_set_position(40);
  EXPECT_EQ(bar.refresh_count(), 2);
  EXPECT_EQ(bar.bar()->value(), 40);
  // The animation runs three rounds, then stands.
  for (int i = 0; i < 100; ++i) bar.animation()->advance();
  EXPECT_EQ(bar.animation()->frame(), wait_animation::rounds * wait_animation::frames_per_round);

  // The stop button ends the loop at its next refresh.
  bar.stop_button()->click();
  now += 200;
  EXPECT_FALSE(shell::wait_step());
  shell::wait_close();
  EXPECT_FALSE(bar.isVisible());
  EXPECT_TRUE(other.isEnabled());
  EXPECT_TRUE(running.isActive());  // restarted
  EXPECT_FALSE(idle.isActive());    // was stopped, stays stopped

  // Without animation nor bar the window is as narrow as its text.
  shell::wait_open("Nagłówek", shell::ANIM_NONE, 0, 89);
  EXPECT_FALSE(bar.animation()->isVisible());
  EXPECT_FALSE(bar.bar()->isVisible());
  EXPECT_TRUE(bar.heading_label()->isVisible());
  EXPECT_EQ(bar.message_label()->text(), "Drukowanie...");
  EXPECT_LT(bar.width(), 500);
  shell::wait_close();
  shell::reset_progress();
}

TEST(LoginDialog, ThreeModes) {
  test_app();
  shell::recording_message_sink sink;
  shell::set_message_sink(&sink);

  // Mode 0: the users in file order, the planned one selected; a wrong password keeps the
  // dialog open with message 311, the right one logs the user in.
  shell::login_start start;
  for (auto [login, password] : {std::pair{"Kowalski", "abcdef"}, std::pair{"Nowak", ""}}) {
    shell::user_entry e;
    e.user.login = login;
    e.user.password_value = shell::password_value(password);
    start.users.entries.push_back(e);
    start.plan.logins.push_back(login);
  }
  start.plan.selected = 0;
  Tdlg_login login(mode_login, &start);
  EXPECT_EQ(login.windowTitle(), "Logowanie");
  EXPECT_EQ(login.combo_user->currentText(), "Kowalski");
  EXPECT_TRUE(login.edt_user->isHidden());
  EXPECT_TRUE(login.btn_delete->isHidden());
  login.edt_pswrd->setText("abcdeg");
  login.btn_ok->click();
  EXPECT_EQ(login.result(), QDialog::Rejected);
  ASSERT_EQ(sink.requests().size(), 1u);
  EXPECT_EQ(sink.requests()[0].number, 311);
  login.edt_pswrd->setText("abcdef");
  login.btn_ok->click();
  EXPECT_EQ(login.result(), QDialog::Accepted);
  EXPECT_EQ(shell::current_user().login, "Kowalski");

  // Mode 1: the file named in the centre; the typed text goes back to the opening.
  gui_password_question question;
  question.on_show = [](Tdlg_login& d) {
    EXPECT_EQ(d.windowTitle(), "Sprawdzenie hasła");
    EXPECT_EQ(d.lbl_centre->text(), "dom.kvr");
    EXPECT_TRUE(d.combo_user->isHidden());
    QTimer::singleShot(0, &d, [&d] {
      d.edt_pswrd->setText("tajne1");
      d.btn_ok->click();
    });
  };
  EXPECT_EQ(question.ask("/x/dom.kvr"), std::optional<std::string>("tajne1"));
  question.on_show = [](Tdlg_login& d) { QTimer::singleShot(0, &d, [&d] { d.btn_cancel->click(); }); };
  EXPECT_FALSE(question.ask("/x/dom.kvr"));

  // Mode 2: capitals folded and other keys refused while typing; five characters give
  // 312, entries that differ 313; "Usuń" gives 0.
  sink.clear();
  Tdlg_login choose(mode_choose);
  EXPECT_EQ(choose.windowTitle(), "Zmiana hasła");
  EXPECT_EQ(choose.lbl_pswrd->text(), "Powtórz hasło:");
  EXPECT_FALSE(choose.btn_delete->isHidden());
  QTest::keyClicks(choose.edt_user, "AbC-d e");
  EXPECT_EQ(choose.edt_user->text(), "abcde");
  choose.btn_ok->click();
  ASSERT_EQ(sink.requests().size(), 1u);
  EXPECT_EQ(sink.requests()[0].number, 312);
  EXPECT_TRUE(choose.edt_user->text().isEmpty());
  QTest::keyClicks(choose.edt_user, "abcdef");
  QTest::keyClicks(choose.edt_pswrd, "abcdeg");
  choose.btn_ok->click();
  EXPECT_EQ(sink.requests().back().number, 313);
  EXPECT_TRUE(choose.edt_pswrd->text().isEmpty());
  QTest::keyClicks(choose.edt_pswrd, "abcdef");
  choose.btn_ok->click();
  EXPECT_EQ(choose.result(), QDialog::Accepted);
  EXPECT_EQ(choose.chosen_value(), shell::password_value("abcdef"));
  Tdlg_login remove(mode_choose);
  remove.btn_delete->click();
  EXPECT_EQ(remove.result(), QDialog::Accepted);
  EXPECT_EQ(remove.chosen_value(), 0u);

  shell::set_message_sink(nullptr);
  shell::reset_current_user();
}
