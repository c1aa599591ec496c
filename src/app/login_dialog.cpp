#include "app/login_dialog.h"

#include "shell/ini_form.h"
#include "shell/messages.h"
#include "shell/users.h"
#include "store/codepage.h"

#include <QApplication>
#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace kovra::app {

Tdlg_login::Tdlg_login(int mode, shell::login_start* start, const std::string& file_name, QWidget* parent)
    : QDialog(parent), mode_(mode), start_(start) {
  setObjectName("Tdlg_login");
  setWindowTitle(QString::fromUtf8(shell::login_dialog_caption(mode)));
  lbl_user = new QLabel("Użytkownik:", this);
  edt_user = new QLineEdit(this);
  edt_user->setEchoMode(QLineEdit::Password);
  combo_user = new QComboBox(this);
  lbl_pswrd = new QLabel("Hasło:", this);
  edt_pswrd = new QLineEdit(this);
  edt_pswrd->setEchoMode(QLineEdit::Password);
  lbl_top = new QLabel("Zbiór:", this);
  lbl_centre = new QLabel(this);
  lbl_bottom = new QLabel("jest zabezpieczony hasłem.", this);
  for (QLabel* l : {lbl_top, lbl_centre, lbl_bottom}) l->setAlignment(Qt::AlignCenter);
  btn_ok = new QPushButton("&OK", this);
  btn_cancel = new QPushButton("&Anuluj", this);
  btn_delete = new QPushButton("Usuń", this);
  btn_ok->setDefault(true);

  auto* rows = new QGridLayout;
  rows->addWidget(lbl_user, 0, 0);
  rows->addWidget(edt_user, 0, 1);
  rows->addWidget(combo_user, 0, 1);
  rows->addWidget(lbl_pswrd, 1, 0);
  rows->addWidget(edt_pswrd, 1, 1);
  auto* texts = new QVBoxLayout;
  for (QLabel* l : {lbl_top, lbl_centre, lbl_bottom}) texts->addWidget(l);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  for (QPushButton* b : {btn_ok, btn_cancel, btn_delete}) buttons->addWidget(b);
  auto* all = new QVBoxLayout(this);
  all->addLayout(texts);
  all->addLayout(rows);
  all->addLayout(buttons);
  all->setSizeConstraint(QLayout::SetFixedSize);

  connect(btn_ok, &QPushButton::clicked, this, [this] { btn_ok_click(); });
  connect(btn_cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(btn_delete, &QPushButton::clicked, this, [this] { btn_delete_click(); });

  switch (mode) {
  case mode_login:
    for (QWidget* w : {static_cast<QWidget*>(lbl_top), static_cast<QWidget*>(lbl_centre),
                       static_cast<QWidget*>(lbl_bottom), static_cast<QWidget*>(edt_user),
                       static_cast<QWidget*>(btn_delete)})
      w->hide();
    if (start_) {
      for (const auto& login : start_->plan.logins)
        combo_user->addItem(QString::fromStdString(store::mazovia_to_utf8(login)));
      combo_user->setCurrentIndex(start_->plan.selected);
    }
    break;
  case mode_check:
    for (QWidget* w : {static_cast<QWidget*>(lbl_user), static_cast<QWidget*>(edt_user),
                       static_cast<QWidget*>(combo_user), static_cast<QWidget*>(btn_delete)})
      w->hide();
    lbl_centre->setText(QFileInfo(QString::fromStdString(file_name)).fileName());
    break;
  default:  // mode_choose
    lbl_top->hide();
    lbl_bottom->hide();
    combo_user->hide();
    lbl_centre->setText("Zapis zbioru zabezpieczonego hasłem.");
    lbl_user->setText(lbl_pswrd->text());
    lbl_pswrd->setText("Powtórz hasło:");
    edt_user->installEventFilter(this);
    edt_pswrd->installEventFilter(this);
    break;
  }
  (mode == mode_choose ? edt_user : edt_pswrd)->setFocus();
}

QString Tdlg_login::typed_password() const { return edt_pswrd->text(); }

void Tdlg_login::showEvent(QShowEvent* event) {
  // The placement of its mode, when one was stored; the size follows the visible rows.
  if (shell::ini_filename_ready()) {
    QDialog::showEvent(event);
    return;
  }
  const shell::placement now{x(), y(), width(), height(), 0};
  const QRect all = screen() ? screen()->geometry() : QRect(0, 0, 1024, 768);
  const QRect work = screen() ? screen()->availableGeometry() : all;
  shell::restored_placement p = shell::restore_form_placement(shell::login_dialog_key(mode_), now, {},
                                                              {all.width(), all.height(), work.width(), work.height()});
  move(p.window.left, p.window.top);
  QDialog::showEvent(event);
}

void Tdlg_login::done(int result) {
  if (shell::login_dialog_stores_placement(mode_) && !shell::ini_filename_ready())
    shell::save_form_placement(shell::login_dialog_key(mode_), {x(), y(), width(), height(), 0});
  QDialog::done(result);
}

bool Tdlg_login::eventFilter(QObject* watched, QEvent* event) {
  // Choosing a password: capitals folded, only a-z, 0-9 and Backspace accepted.
  if (event->type() != QEvent::KeyPress) return QDialog::eventFilter(watched, event);
  auto* key = static_cast<QKeyEvent*>(event);
  if (key->key() == Qt::Key_Backspace || key->text().isEmpty() || key->key() == Qt::Key_Return ||
      key->key() == Qt::Key_Enter || key->key() == Qt::Key_Tab || key->key() == Qt::Key_Escape)
    return false;
  const QString text = key->text();
  const char16_t c = text.size() == 1 ? text[0].unicode() : 0;
  std::optional<char> kept = c && c < 128 ? shell::password_key(char(c)) : std::nullopt;
  if (kept && *kept != char(c)) {
    static_cast<QLineEdit*>(watched)->insert(QString(QChar(*kept)));
    return true;
  }
  return !kept;  // refused keys are eaten
}

void Tdlg_login::btn_ok_click() {
  const std::string typed = edt_pswrd->text().toStdString();
  switch (mode_) {
  case mode_login: {
    if (!start_) return;
    const std::string chosen = store::utf8_to_mazovia(combo_user->currentText().toStdString());
    if (shell::answer_login(*start_, chosen, typed) == shell::login_answer::accepted)
      accept();
    else
      edt_pswrd->setFocus();
    return;
  }
  case mode_check:
    accept();  // the opening checks the value and asks again when it is wrong
    return;
  default: {
    shell::chosen_password p = shell::choose_password(edt_user->text().toStdString(), typed);
    if (p.message == 0) {
      chosen_value_ = p.value;
      accept();
      return;
    }
    shell::msg_box(p.message);
    QLineEdit* wrong = p.message == 312 ? edt_user : edt_pswrd;
    wrong->clear();
    wrong->setFocus();
  }
  }
}

void Tdlg_login::btn_delete_click() {
  chosen_value_ = 0;
  accept();
}

bool gui_login_question::ask(shell::login_start& start) {
  Tdlg_login dialog(mode_login, &start, "", QApplication::activeWindow());
  if (on_show) on_show(dialog);
  return dialog.exec() == QDialog::Accepted;
}

std::optional<std::string> gui_password_question::ask(const std::string& path) {
  Tdlg_login dialog(mode_check, nullptr, path, QApplication::activeWindow());
  if (on_show) on_show(dialog);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.typed_password().toStdString();
}

} // namespace kovra::app
